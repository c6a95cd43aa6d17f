#include "pakro/devices/MNE_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPainter>
#include <QVBoxLayout>

#include "pakro/shell/frame_state.h"
#include "pakro/shell/iteration.h"
#include "pakro/shell/main_form.h"
#include "pakro/devices/model_compute.h"
#include "pakro/shell/scaled_string_grid.h"

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
  using M = TCatMOSFET;

  FormPage& a = AddPage("A : VGS - ID", "LbNumberA", "/ A");
  AddIdentification(a, "LbDataSheetTitle", t.title, true);
  auto* mode = new QLabel("(Enhancement and depletion mode)", a.widget);
  a.content->insertWidget(1, mode);
  curve(a, kVGSID, "VGSID", "Gb1", "Drain Current vs. Gate-Source voltage ", t.vgs, t.id);
  AddParams(a, params_,
            {BoundParam<&M::VTO>("EdVTO", "VTO:"), BoundParam<&M::KP>("EdKP", "KP:"),
             BoundParam<&M::RS>("EdRS", "RS:"), BoundParam<&M::L>("EdL", "L:"), BoundParam<&M::W>("EdW", "W:")});

  FormPage& b = AddPage("B : VDS - CRS", "LbNumberB", "/ B");
  AddComponentLabel(b, "LbComponentB");
  curve(b, kVDSCRSS, "VDSCRSS", "Gb2", "Feedback Capacitance vs. Drain-Source voltage ", t.vds, "CRS [pF]");
  b.parameters->addWidget(new QLabel("See page D", b.widget), 0, 0, 1, 2, Qt::AlignHCenter);

  FormPage& c = AddPage("C : VDS - COS", "LbNumberC", "/ C ");
  AddComponentLabel(c, "LbComponentC");
  curve(c, kVDSCOSS, "VDSCOSS", "Gb3", "Output Capacitance vs. Drain-Source voltage ", t.vds, "COS [pF]");
  AddParams(c, params_,
            {BoundParam<&M::VJ>("EdVJ", "BP:"), BoundParam<&M::CJBD>("EdCJBD", "CJBD:"),
             BoundParam<&M::MJ>("EdMJ", "MJ:")});

  FormPage& d = AddPage("D : Gate charge", "LbNumberD", "/ D ");
  AddComponentLabel(d, "LbComponentD");
  auto defaults = [this]() -> const M& { return Records().Items(0); };
  QPushButton* def1 = AddValueGroup<M>(
      d, values_,
      {"GroupBox9",
       "Gate voltage vs. gate charge at different drain-source voltages ",
       "BBDef1",
       {BoundValue<&M::TextVDS1, &M::VDS1>("EdVDS1", t.charge[0]),
        BoundValue<&M::TextVDS2, &M::VDS2>("EdVDS2", t.charge[1]),
        BoundValue<&M::TextQ0, &M::Q0>("EdQ0", t.charge[2]), BoundValue<&M::TextQ1, &M::Q1>("EdQ1", t.charge[3]),
        BoundValue<&M::TextQ2, &M::Q2>("EdQ2", t.charge[4]), BoundValue<&M::TextVG, &M::VG>("EdVG", t.charge[5])},
       [](QGroupBox* group) {
         static_cast<QFormLayout*>(group->layout())->addRow(new GateChargePicture(group));
       }},
      defaults);
  d.content->addStretch();
  AddParams(d, params_, {BoundParam<&M::CGSO>("EdCGSO", "CGSO:"), BoundParam<&M::CGDO>("EdCGDO", "CGDO:")});

  FormPage& e = AddPage("E : Cut-off current", "LbNumberE", "/ E ");
  AddComponentLabel(e, "LbComponentE");
  QPushButton* def2 = AddValueGroup<M>(e, values_,
                                       {"GroupBox7",
                                        t.leakageGroup,
                                        "BBDef2",
                                        {BoundValue<&M::TextVDS, &M::VDS>("EdVDS", "VDS [V]:"),
                                         BoundValue<&M::TextIDSS, &M::IDSS>("EdIDSS", "IDSS [nA]:")}},
                                       defaults);
  // The output conductance is neither read nor shown.
  QGroupBox* conductance = AddGroup(e, "GroupBox6", "Output conductance");
  AddValueEdit(conductance, "EdGOSID", t.conductanceCurrent);
  AddValueEdit(conductance, "EdGOS", "Gos:");
  conductance->hide();
  e.content->addStretch();
  AddParams(e, params_, {BoundParam<&M::RDS>(t.rdsName, " RDS:")});
  AddParamEdit(e, "EdLAMBDA", "LAMBDA:", false);
  QPushButton* add = AddNewButton(e);
  add->setText(t.addCaption);
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
  form.Values().Read(record);
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
  values_.Show(r);

  TGraph* curves[kCurves] = {&r.IdVgs, &r.Crss, &r.Coss};
  for (int i = 0; i < kCurves; ++i) Curves()[i]->ScalesFromTab(*curves[i]);
  for (int i = 0; i < kCurves; ++i) Curves()[i]->ShowTab(*curves[i]);
  for (const auto& panel : Curves()) panel->ClearRows();
  for (int i = 0; i < kCurves; ++i) {
    Curves()[i]->ShowPoints(*curves[i], kParamPrecision);
    Curves()[i]->Redraw(*curves[i]);
  }
  params_.Show(r, r.Computed);

  FillDropDowns([this](int i) { return Records().Items(i).Usage.str(); });
}

}  // namespace pakro
