#include "MNE_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPainter>
#include <QVBoxLayout>

#include "frame_state.h"
#include "iteration.h"
#include "main_form.h"
#include "model_compute.h"
#include "scaled_string_grid.h"

namespace pakro {

namespace {

enum Curve { kVGSID, kVDSCRSS, kVDSCOSS, kCurves };

struct PolarityTexts {
  const char* title;
  const char* vgs;
  const char* id;
  const char* vds;
  // Labels of EdVDS1, EdVDS2, EdQ0, EdQ1, EdQ2, EdVG.
  const char* charge[6];
  const char* leakageGroup;
  const char* conductanceCurrent;
  const char* rdsName;
  const char* addCaption;
};

constexpr PolarityTexts kN{"N-channel  MOSFET Data Sheet",
                           " VGS [V]",
                           " ID [A]",
                           " VDS [V]",
                           {"Vds1:", "Vds2:", "1st breakpoint :  Q [nC]:", "2nd breakpoint at Vds1 :  Q1 [nC]:",
                            "2nd breakpoint at Vds2 :  Q2 [nC]:", "Gate volt. at breakpoints:  Vgs [V]:"},
                           "Drain-source leakage current",
                           "ID [mA]:",
                           "EdRDS",
                           "Add new  ..."};
constexpr PolarityTexts kP{"P-channel  MOSFET Data Sheet",
                           "-VGS [V]",
                           "-ID [A]",
                           "-VDS [V]",
                           {"- Vds1:", "- Vds2:", "1st breakpoint :  - Q [nC]:",
                            "2nd breakpoint at Vds1 :  - Q1 [nC]:", "2nd breakpoint at Vds2 :  - Q2 [nC]:",
                            "Gate volt. at breakpoints:  - Vgs [V]:"},
                           "Drain cut-off current",
                           "IC [mA]:",
                           "EdRds",
                           "Add new ..."};

// The record's datasheet values and texts in edit order.
struct MosfetValue {
  double TCatMOSFET::*value;
  ShortString<12> TCatMOSFET::*text;
};
constexpr MosfetValue kValueFields[TBlankMOSFET::kValues] = {
    {&TCatMOSFET::Q0, &TCatMOSFET::TextQ0},     {&TCatMOSFET::Q1, &TCatMOSFET::TextQ1},
    {&TCatMOSFET::Q2, &TCatMOSFET::TextQ2},     {&TCatMOSFET::VG, &TCatMOSFET::TextVG},
    {&TCatMOSFET::VDS1, &TCatMOSFET::TextVDS1}, {&TCatMOSFET::VDS2, &TCatMOSFET::TextVDS2},
    {&TCatMOSFET::VDS, &TCatMOSFET::TextVDS},   {&TCatMOSFET::IDSS, &TCatMOSFET::TextIDSS}};

// The model values the parameter edits show, in edit order.
constexpr double TCatMOSFET::*kParams[11] = {&TCatMOSFET::VTO, &TCatMOSFET::KP,   &TCatMOSFET::L,
                                             &TCatMOSFET::W,   &TCatMOSFET::RS,   &TCatMOSFET::RDS,
                                             &TCatMOSFET::VJ,  &TCatMOSFET::CJBD, &TCatMOSFET::MJ,
                                             &TCatMOSFET::CGSO, &TCatMOSFET::CGDO};

// The picture beside the gate-charge values: the gate voltage rises with
// the charge to the first breakpoint, stays on its plateau up to the second
// breakpoint of each drain-source voltage, then rises again.
class GateChargePicture final : public QWidget {
 public:
  explicit GateChargePicture(QWidget* parent) : QWidget(parent) {
    setObjectName("ImGateCharge");
    setFixedSize(220, 150);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QPoint origin(30, height() - 25);
    p.drawLine(origin, QPoint(30, 10));
    p.drawLine(origin, QPoint(width() - 10, origin.y()));
    p.drawText(QPoint(34, 20), "Vgs");
    p.drawText(QPoint(width() - 22, origin.y() - 5), "Q");
    const QPoint q0(75, 70), q1(120, 70), q2(160, 70);
    p.setPen(QPen(Qt::blue, 2));
    p.drawLine(origin, q0);
    p.drawLine(q0, q2);
    p.drawLine(q1, QPoint(185, 25));
    p.drawLine(q2, QPoint(205, 35));
    p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
    for (const QPoint& q : {q0, q1, q2}) p.drawLine(q, QPoint(q.x(), origin.y()));
    p.drawLine(q0, QPoint(30, q0.y()));
    p.setPen(Qt::black);
    p.drawText(QPoint(q0.x() - 8, origin.y() + 15), "Q");
    p.drawText(QPoint(q1.x() - 8, origin.y() + 15), "Q1");
    p.drawText(QPoint(q2.x() - 8, origin.y() + 15), "Q2");
    p.drawText(QPoint(4, q0.y() + 4), "VG");
    p.drawText(QPoint(q1.x() - 10, q1.y() - 8), "Vds1");
    p.drawText(QPoint(q2.x() + 2, q2.y() + 14), "Vds2");
  }
};

}  // namespace

TBlankMOSFET::TBlankMOSFET(Polarity polarity) : polarity_(polarity) { FormCreate(); }

int TBlankMOSFET::Module() const { return polarity_ == Polarity::N ? kNChannelMosfet : kPChannelMosfet; }

void TBlankMOSFET::FormCreate() {
  const bool n = polarity_ == Polarity::N;
  const PolarityTexts& t = n ? kN : kP;
  setObjectName(n ? "BlankMNE" : "BlankMPE");
  BuildNotebook();

  auto curve = [this](FormPage& page, int which, const char* name, const char* group, const char* caption,
                      const char* x, const char* y) {
    auto curveOf = [this, which](int r) -> TGraph& {
      TCatMOSFET& record = Records().Items(r);
      TGraph* curves[kCurves] = {&record.IdVgs, &record.Crss, &record.Coss};
      return *curves[which];
    };
    auto templateOf = [this, which](int r) {
      const TCatMOSFET& record = Records().Items(r);
      const ShortString<24>* refs[kCurves] = {&record.IdVgsTemplate, &record.CrssTemplate, &record.CossTemplate};
      return refs[which]->str();
    };
    AddCurve(page, {name, group, caption, x, y}, curveOf, templateOf);
  };
  auto param = [this](FormPage& page, int index, const char* name, const char* caption) {
    params_[static_cast<std::size_t>(index)] = AddParamEdit(page, name, caption);
  };

  FormPage& a = AddPage("A : VGS - ID", "LbNumberA", "/ A");
  AddIdentification(a, "LbDataSheetTitle", t.title, true);
  auto* mode = new QLabel("(Enhancement and depletion mode)", a.widget);
  a.content->insertWidget(1, mode);
  curve(a, kVGSID, "VGSID", "Gb1", "Drain Current vs. Gate-Source voltage ", t.vgs, t.id);
  param(a, 0, "EdVTO", "VTO:");
  param(a, 1, "EdKP", "KP:");
  param(a, 4, "EdRS", "RS:");
  param(a, 2, "EdL", "L:");
  param(a, 3, "EdW", "W:");

  FormPage& b = AddPage("B : VDS - CRS", "LbNumberB", "/ B");
  AddComponentLabel(b, "LbComponentB");
  curve(b, kVDSCRSS, "VDSCRSS", "Gb2", "Feedback Capacitance vs. Drain-Source voltage ", t.vds, "CRS [pF]");
  b.parameters->addWidget(new QLabel("See page D", b.widget), 0, 0, 1, 2, Qt::AlignHCenter);

  FormPage& c = AddPage("C : VDS - COS", "LbNumberC", "/ C ");
  AddComponentLabel(c, "LbComponentC");
  curve(c, kVDSCOSS, "VDSCOSS", "Gb3", "Output Capacitance vs. Drain-Source voltage ", t.vds, "COS [pF]");
  param(c, 6, "EdVJ", "BP:");
  param(c, 7, "EdCJBD", "CJBD:");
  param(c, 8, "EdMJ", "MJ:");

  FormPage& d = AddPage("D : Gate charge", "LbNumberD", "/ D ");
  AddComponentLabel(d, "LbComponentD");
  QGroupBox* charge =
      AddGroup(d, "GroupBox9", "Gate voltage vs. gate charge at different drain-source voltages ");
  static_cast<QFormLayout*>(charge->layout())->addRow(new GateChargePicture(charge));
  values_[VDS1] = AddValueEdit(charge, "EdVDS1", t.charge[0]);
  values_[VDS2] = AddValueEdit(charge, "EdVDS2", t.charge[1]);
  values_[Q0] = AddValueEdit(charge, "EdQ0", t.charge[2]);
  values_[Q1] = AddValueEdit(charge, "EdQ1", t.charge[3]);
  values_[Q2] = AddValueEdit(charge, "EdQ2", t.charge[4]);
  values_[VG] = AddValueEdit(charge, "EdVG", t.charge[5]);
  QPushButton* def1 = AddDefaultButton(charge, "BBDef1");
  d.content->addStretch();
  param(d, 9, "EdCGSO", "CGSO:");
  param(d, 10, "EdCGDO", "CGDO:");

  FormPage& e = AddPage("E : Cut-off current", "LbNumberE", "/ E ");
  AddComponentLabel(e, "LbComponentE");
  QGroupBox* leakage = AddGroup(e, "GroupBox7", t.leakageGroup);
  values_[VDS] = AddValueEdit(leakage, "EdVDS", "VDS [V]:");
  values_[IDSS] = AddValueEdit(leakage, "EdIDSS", "IDSS [nA]:");
  QPushButton* def2 = AddDefaultButton(leakage, "BBDef2");
  // The output conductance is neither read nor shown.
  QGroupBox* conductance = AddGroup(e, "GroupBox6", "Output conductance");
  AddValueEdit(conductance, "EdGOSID", t.conductanceCurrent);
  AddValueEdit(conductance, "EdGOS", "Gos:");
  conductance->hide();
  e.content->addStretch();
  param(e, 5, t.rdsName, " RDS:");
  AddParamEdit(e, "EdLAMBDA", "LAMBDA:", false);
  QPushButton* add = AddNewButton(e);
  add->setText(t.addCaption);
  connect(def1, &QPushButton::clicked, this, [this, def1] { BBDef1Click(def1); });
  connect(def2, &QPushButton::clicked, this, [this, def2] { BBDef2Click(def2); });
  FinishPages();

  std::function<void()> loadDefaults;
  list_ = MakePolarLibrary<TCatListMNE, TCatListMPE, TCatMOSFET>(polarity_, &ComputeMOSFET, loadDefaults);
  StartEngineAndLoadDefaults(loadDefaults);
  SetHelpContexts(add, {def1, def2});
}

void TBlankMOSFET::GetData(QObject* sender, bool all) { GetDataMNE(Records().CurrentItem(), sender, all, *this); }

void GetDataMNE(TCatMOSFET& record, QObject* sender, bool all, TBlankMOSFET& form) {
  record.Name = RecordText(form.CbComponent()->text());
  record.Usage = RecordText(form.CbUsage()->currentText());
  record.IdVgsTemplate = RecordText(form.PanelVGSID().Template()->currentText());
  record.CrssTemplate = RecordText(form.PanelVDSCRSS().Template()->currentText());
  record.CossTemplate = RecordText(form.PanelVDSCOSS().Template()->currentText());
  const std::pair<CurvePanel*, TGraph*> curves[] = {
      {&form.PanelVGSID(), &record.IdVgs}, {&form.PanelVDSCRSS(), &record.Crss}, {&form.PanelVDSCOSS(), &record.Coss}};
  for (const auto& [panel, curve] : curves)
    if (all || sender == panel->Grid()) panel->ReadPoints(*curve);
  for (int i = 0; i < TBlankMOSFET::kValues; ++i)
    TakeValue(form.Edit(static_cast<TBlankMOSFET::Value>(i))->text(), record.*kValueFields[i].text,
              record.*kValueFields[i].value);
}

void TBlankMOSFET::ShowData() {
  const int current = List().Current();
  if (current < 0 || current >= List().Count()) return;
  TCatMOSFET& r = Records().Items(current);

  ShowPageNumbers(current);
  ShowIdentification(r.Name.str(), r.Usage.str());
  const std::pair<CurvePanel*, const ShortString<24>*> refs[] = {
      {&PanelVGSID(), &r.IdVgsTemplate}, {&PanelVDSCRSS(), &r.CrssTemplate}, {&PanelVDSCOSS(), &r.CossTemplate}};
  for (const auto& [panel, ref] : refs) panel->ShowTemplate(FormText(ref->str()));
  // Set from code, so no edit stores the form while the others still show
  // the previous component.
  for (int i = 0; i < kValues; ++i) values_[static_cast<std::size_t>(i)]->setText(FormText((r.*kValueFields[i].text).str()));

  TGraph* curves[kCurves] = {&r.IdVgs, &r.Crss, &r.Coss};
  for (int i = 0; i < kCurves; ++i) Curves()[i]->ScalesFromTab(*curves[i]);
  for (int i = 0; i < kCurves; ++i) Curves()[i]->ShowTab(*curves[i]);
  for (const auto& panel : Curves()) panel->ClearRows();
  for (int i = 0; i < kCurves; ++i) {
    Curves()[i]->ShowPoints(*curves[i], kParamPrecision);
    Curves()[i]->Redraw(*curves[i]);
  }
  for (int i = 0; i < 11; ++i) ShowParam(params_[static_cast<std::size_t>(i)], r.Computed, r.*kParams[i]);

  FillDropDowns([this](int i) { return Records().Items(i).Usage.str(); });
}

void TBlankMOSFET::BBDef1Click(QObject* sender) {
  const TCatMOSFET& d = Records().Items(0);
  DefaultClick(sender, {{values_[Q0], d.Q0},
                        {values_[Q1], d.Q1},
                        {values_[Q2], d.Q2},
                        {values_[VG], d.VG},
                        {values_[VDS1], d.VDS1},
                        {values_[VDS2], d.VDS2}});
}

void TBlankMOSFET::BBDef2Click(QObject* sender) {
  const TCatMOSFET& d = Records().Items(0);
  DefaultClick(sender, {{values_[VDS], d.VDS}, {values_[IDSS], d.IDSS}});
}

}  // namespace pakro
