#include "pakro/devices/DIO_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "pakro/shell/frame_state.h"
#include "pakro/shell/iteration.h"
#include "pakro/shell/main_form.h"
#include "pakro/devices/model_compute.h"
#include "pakro/devices/model_output.h"
#include "pakro/shell/scaled_string_grid.h"

namespace pakro {

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
  AddParams(a, params_,
            {BoundParam<&TCatDIO::N>("EdN", "N:"), BoundParam<&TCatDIO::IS>("EdIS", "IS:"),
             BoundParam<&TCatDIO::RS>("EdRS", "RS:")});

  FormPage& b = AddPage("B: Capacitance", "LbNumberB", "/ B");
  AddComponentLabel(b, "LbComponentB");
  AddCurve(b, {"VRCJ", "GbVRCJ", "Capacitance", "  VR [V]", "  CD [pF]"},
           [this](int r) -> TGraph& { return Records().Items(r).VRCJ; },
           [this](int r) { return Records().Items(r).VRCJRef.str(); });
  AddParams(b, params_,
            {BoundParam<&TCatDIO::CJ>("EdCJ", "CJ:"), BoundParam<&TCatDIO::VJ>("EdVJ", "VJ:"),
             BoundParam<&TCatDIO::MJ>("EdMJ", "MJ:")});
  AddStars(b);

  FormPage& c = AddPage("C: Reverse parameters ", "LbNumberC", "/ C");
  AddComponentLabel(c, "LbComponentC");
  auto defaults = [this]() -> const TCatDIO& { return Records().Items(0); };
  QPushButton* def1 = AddValueGroup<TCatDIO>(
      c, values_,
      {"GroupBox4", "Breakdown point", "BBDef1",
       {BoundValue<&TCatDIO::BreakdownVoltText, &TCatDIO::BreakdownVolt>("EdBreakdownVolt",
                                                                         "Breakdown voltage [ V ]:"),
        BoundValue<&TCatDIO::BreakdownCurrText, &TCatDIO::BreakdownCurr>("EdBreakdownCurr",
                                                                         "Breakdown current [mA]: ")}},
      defaults);
  QPushButton* def2 = AddValueGroup<TCatDIO>(
      c, values_,
      {"GroupBox1", "Zener  ", "BBDef2",
       {BoundValue<&TCatDIO::ZenerResistText, &TCatDIO::ZenerResist>("EdZenerResist",
                                                                     QString::fromUtf8("resistance [\u03A9]:"))}},
      defaults);
  QPushButton* def3 = AddValueGroup<TCatDIO>(
      c, values_,
      {"GroupBox6", "Reverse recovery time", "BBDef3",
       {BoundValue<&TCatDIO::ForwCurrText, &TCatDIO::ForwCurr>("EdForwCurr", "Forward current [mA]:"),
        BoundValue<&TCatDIO::RevForwRatioText, &TCatDIO::RevForwRatio>("EdRevForwRatio",
                                                                       "Rev. curr./ forw. c. ratio:"),
        BoundValue<&TCatDIO::RecoveryTimeText, &TCatDIO::RecoveryTime>("EdRecoveryTime",
                                                                       "Rev. recovery time [ns]:")}},
      defaults);
  c.content->addStretch();
  AddParams(c, params_,
            {BoundParam<&TCatDIO::BV>("EdBV", "BV:"), BoundParam<&TCatDIO::IBV>("EdRP", "IBV:"),
             BoundParam<&TCatDIO::RZ>("EdRZ", "RZ:"), BoundParam<&TCatDIO::TT>("EdTT", "TT:")});
  AddParamEdit(c, "EdEG", "EG:", false);
  QPushButton* add = AddNewButton(c);
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
  form.Values().Read(record);
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
  values_.Show(r);

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
  params_.Show(r, r.Computed);

  FillDropDowns([this](int i) { return Records().Items(i).Usage.str(); });
}

}  // namespace pakro
