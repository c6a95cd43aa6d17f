#include "DIO_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "frame_state.h"
#include "iteration.h"
#include "main_form.h"
#include "model_compute.h"
#include "model_output.h"
#include "scaled_string_grid.h"

namespace pakro {

namespace {

// The record's six datasheet values in edit order.
struct DiodeValue {
  ShortString<12> TCatDIO::*text;
  double TCatDIO::*value;
};
constexpr DiodeValue kValues[6] = {
    {&TCatDIO::BreakdownVoltText, &TCatDIO::BreakdownVolt},
    {&TCatDIO::BreakdownCurrText, &TCatDIO::BreakdownCurr},
    {&TCatDIO::ZenerResistText, &TCatDIO::ZenerResist},
    {&TCatDIO::ForwCurrText, &TCatDIO::ForwCurr},
    {&TCatDIO::RevForwRatioText, &TCatDIO::RevForwRatio},
    {&TCatDIO::RecoveryTimeText, &TCatDIO::RecoveryTime},
};

// The model values the parameter edits show, in edit order.
constexpr long double TCatDIO::*kParams[10] = {&TCatDIO::IS, &TCatDIO::N,  &TCatDIO::RS,  &TCatDIO::CJ,
                                               &TCatDIO::VJ, &TCatDIO::MJ, &TCatDIO::BV,  &TCatDIO::IBV,
                                               &TCatDIO::RZ, &TCatDIO::TT};

}  // namespace

TBlankDIO::TBlankDIO() { FormCreate(); }

int TBlankDIO::Module() const { return kDiode; }

void TBlankDIO::FormCreate() {
  setObjectName("BlankDIO");
  BuildNotebook();

  FormPage& a = AddPage("A: Identification  and Characteristic", "LbNumberA", "/ A");
  AddIdentification(a, "LbDataSheetTitle", "Diode Data Sheet", false);
  AddCurve(a, {"VDID", "GbVDID", "Diode characteristics", "  IF [mA]", "  VF [V]"},
           [this](int r) -> TGraph& { return Records().Items(r).VDID; },
           [this](int r) { return Records().Items(r).VDIDRef.str(); });
  params_[1] = AddParamEdit(a, "EdN", "N:");
  params_[0] = AddParamEdit(a, "EdIS", "IS:");
  params_[2] = AddParamEdit(a, "EdRS", "RS:");

  FormPage& b = AddPage("B: Capacitance", "LbNumberB", "/ B");
  AddComponentLabel(b, "LbComponentB");
  AddCurve(b, {"VRCJ", "GbVRCJ", "Capacitance", "  VR [V]", "  CD [pF]"},
           [this](int r) -> TGraph& { return Records().Items(r).VRCJ; },
           [this](int r) { return Records().Items(r).VRCJRef.str(); });
  params_[3] = AddParamEdit(b, "EdCJ", "CJ:");
  params_[4] = AddParamEdit(b, "EdVJ", "VJ:");
  params_[5] = AddParamEdit(b, "EdMJ", "MJ:");
  AddStars(b);

  FormPage& c = AddPage("C: Reverse parameters ", "LbNumberC", "/ C");
  AddComponentLabel(c, "LbComponentC");
  QGroupBox* breakdown = AddGroup(c, "GroupBox4", "Breakdown point");
  values_[0] = AddValueEdit(breakdown, "EdBreakdownVolt", "Breakdown voltage [ V ]:");
  values_[1] = AddValueEdit(breakdown, "EdBreakdownCurr", "Breakdown current [mA]: ");
  QPushButton* def1 = AddDefaultButton(breakdown, "BBDef1");
  QGroupBox* zener = AddGroup(c, "GroupBox1", "Zener  ");
  values_[2] = AddValueEdit(zener, "EdZenerResist", QString::fromUtf8("resistance [\u03A9]:"));
  QPushButton* def2 = AddDefaultButton(zener, "BBDef2");
  QGroupBox* recovery = AddGroup(c, "GroupBox6", "Reverse recovery time");
  values_[3] = AddValueEdit(recovery, "EdForwCurr", "Forward current [mA]:");
  values_[4] = AddValueEdit(recovery, "EdRevForwRatio", "Rev. curr./ forw. c. ratio:");
  values_[5] = AddValueEdit(recovery, "EdRecoveryTime", "Rev. recovery time [ns]:");
  QPushButton* def3 = AddDefaultButton(recovery, "BBDef3");
  c.content->addStretch();
  params_[6] = AddParamEdit(c, "EdBV", "BV:");
  params_[7] = AddParamEdit(c, "EdRP", "IBV:");
  params_[8] = AddParamEdit(c, "EdRZ", "RZ:");
  params_[9] = AddParamEdit(c, "EdTT", "TT:");
  AddParamEdit(c, "EdEG", "EG:", false);
  QPushButton* add = AddNewButton(c);
  connect(def1, &QPushButton::clicked, this, [this, def1] { BBDef1Click(def1); });
  connect(def2, &QPushButton::clicked, this, [this, def2] { BBDef2Click(def2); });
  connect(def3, &QPushButton::clicked, this, [this, def3] { BBDef3Click(def3); });
  FinishPages();

  std::function<void()> loadDefaults;
  list_ = MakeListLibrary<TCatListDIO, TCatDIO>(&ComputeDIO, loadDefaults);
  StartEngineAndLoadDefaults(loadDefaults);

  SetHelpContext(this, 21);
  for (const auto& panel : Curves()) {
    SetHelpContext(panel->Template(), 47);
    SetHelpContext(panel->Group(), 46);
  }
  SetHelpContext(add, 45);
  for (QPushButton* def : {def1, def2, def3}) SetHelpContext(def, 49);
}

void TBlankDIO::GetData(QObject* sender, bool all) { GetDataDIO(Records().CurrentItem(), sender, all, *this); }

void GetDataDIO(TCatDIO& record, QObject* sender, bool all, TBlankDIO& form) {
  record.Name = RecordText(form.CbComponent()->text());
  record.VDIDRef = record.Name.str();
  record.VRCJRef = record.Name.str();
  record.Usage = RecordText(form.CbUsage()->currentText());
  record.VDIDRef = RecordText(form.PanelVDID().Template()->currentText());
  record.VRCJRef = RecordText(form.PanelVRCJ().Template()->currentText());
  const QLineEdit* edits[6] = {form.EdBreakdownVolt(), form.EdBreakdownCurr(), form.EdZenerResist(),
                               form.EdForwCurr(),      form.EdRevForwRatio(),  form.EdRecoveryTime()};
  for (int i = 0; i < 6; ++i) TakeValue(edits[i]->text(), record.*kValues[i].text, record.*kValues[i].value);
  if (all || sender == form.PanelVDID().Grid()) form.PanelVDID().ReadPoints(record.VDID);
  if (all || sender == form.PanelVRCJ().Grid()) form.PanelVRCJ().ReadPoints(record.VRCJ);
}

void TBlankDIO::ShowData() {
  const int current = List().Current();
  if (current < 0 || current >= List().Count()) return;
  TCatDIO& r = Records().Items(current);

  ShowPageNumbers(current);
  ShowIdentification(r.Name.str(), r.Usage.str());
  PanelVDID().ShowTemplate(FormText(r.VDIDRef.str()));
  PanelVRCJ().ShowTemplate(FormText(r.VRCJRef.str()));
  for (int i = 0; i < 6; ++i) values_[static_cast<std::size_t>(i)]->setText(FormText((r.*kValues[i].text).str()));

  PanelVDID().ScalesFromTab(r.VDID);
  PanelVRCJ().ScalesFromTab(r.VRCJ);
  PanelVDID().ShowTab(r.VDID);
  PanelVRCJ().ShowTab(r.VRCJ);
  PanelVDID().ClearRows();
  PanelVRCJ().ClearRows();
  // The diode shows its points at full copy precision.
  PanelVDID().ShowPoints(r.VDID, kCopyPrecision);
  PanelVDID().Redraw(r.VDID);
  PanelVRCJ().ShowPoints(r.VRCJ, kCopyPrecision);
  PanelVRCJ().Redraw(r.VRCJ);
  for (int i = 0; i < 10; ++i) ShowParam(params_[static_cast<std::size_t>(i)], r.Computed, r.*kParams[i]);

  FillDropDowns([this](int i) { return Records().Items(i).Usage.str(); });
}

void TBlankDIO::BBDef1Click(QObject* sender) {
  const TCatDIO& d = Records().Items(0);
  DefaultClick(sender, {{EdBreakdownVolt(), d.BreakdownVolt}, {EdBreakdownCurr(), d.BreakdownCurr}});
}

void TBlankDIO::BBDef2Click(QObject* sender) {
  DefaultClick(sender, {{EdZenerResist(), Records().Items(0).ZenerResist}});
}

void TBlankDIO::BBDef3Click(QObject* sender) {
  const TCatDIO& d = Records().Items(0);
  DefaultClick(sender,
               {{EdForwCurr(), d.ForwCurr}, {EdRevForwRatio(), d.RevForwRatio}, {EdRecoveryTime(), d.RecoveryTime}});
}

}  // namespace pakro
