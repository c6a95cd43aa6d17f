#include "pakro/devices/JFN_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "pakro/shell/frame_state.h"
#include "pakro/shell/iteration.h"
#include "pakro/shell/main_form.h"
#include "pakro/devices/model_compute.h"
#include "pakro/shell/scaled_string_grid.h"

namespace pakro {

namespace {

enum Curve { kVGSID, kVXSCRSS, kVGSCISS, kCurves };

struct Titles {
  const char* x;
  const char* y;
};

// Row-0 titles of the curve grids and column 0 of the one-row grids.
struct PolarityTexts {
  const char* title;
  const char* componentLabel;
  Titles curves[kCurves];
  const char* sg2VXSCRSS;
  const char* sg2VGSCISS;
  // The abscissa choice of the feedback capacitance: grid column 0, the
  // one-row grid's title and the curve's x title; gate-source, then
  // drain-source.
  struct Abscissa {
    const char* grid;
    const char* param;
    const char* xTitle;
  } abscissa[2];
};

constexpr PolarityTexts kN{"N-channel  JFET Data Sheet",
                           "Component:",
                           {{"-VGS [V]", " ID [mA]"}, {"-VGS [V]", "CRS [pF]"}, {"-VGS [V]", " CIS [pF]"}},
                           " VDS [V]:",
                           " VDS [V]:",
                           {{"-VGS [V]", " VDS [V]", "-VGS [V]"}, {" VDS [V]", "-VGS [V]", " VDS [V]"}}};
constexpr PolarityTexts kP{"P-channel  JFET Data Sheet",
                           "Component name:",
                           {{" VGS [V]", "-ID [mA]"}, {" VGS [V]", "CRS [pF]"}, {" VGS [V]", " CIS [pF]"}},
                           "-VDS [V]:",
                           " -VDS [V]:",
                           {{" VGS [V]", "-VDS [V]", " VGS [V]"}, {"-VDS [V]", " VGS [V]", "-VDS [V]"}}};

const PolarityTexts& TextsOf(Polarity p) { return p == Polarity::N ? kN : kP; }

// Puts a control above the template combo of a curve group.
void InsertAboveTemplate(CurvePanel& panel, QWidget* widget, int position) {
  auto* columns = static_cast<QHBoxLayout*>(panel.Group()->layout());
  auto* left = static_cast<QVBoxLayout*>(columns->itemAt(0)->layout());
  widget->setParent(panel.Group());
  left->insertWidget(position, widget);
}

}  // namespace

TBlankJFET::TBlankJFET(Polarity polarity) : polarity_(polarity) { FormCreate(); }

int TBlankJFET::Module() const { return polarity_ == Polarity::N ? kNChannelJfet : kPChannelJfet; }

void TBlankJFET::FormCreate() {
  const bool n = polarity_ == Polarity::N;
  const PolarityTexts& texts = TextsOf(polarity_);
  setObjectName(n ? "BlankJFN" : "BlankJFP");
  BuildNotebook();

  auto curve = [this, &texts](FormPage& page, int which, const char* name, const char* group, const char* caption,
                              const char* paramGrid = nullptr, const char* paramTitle = nullptr) -> CurvePanel& {
    auto curveOf = [this, which](int r) -> TGraph& {
      TCatJFET& record = Records().Items(r);
      TGraph* curves[kCurves] = {&record.CurveVGSID, &record.CurveVXSCRSS, &record.CurveVGSCISS};
      return *curves[which];
    };
    auto templateOf = [this, which](int r) {
      const TCatJFET& record = Records().Items(r);
      const ShortString<24>* refs[kCurves] = {&record.RefVGSID, &record.RefVXSCRSS, &record.RefVGSCISS};
      return refs[which]->str();
    };
    return AddCurve(page, {name, group, caption, texts.curves[which].x, texts.curves[which].y, paramGrid, paramTitle},
                    curveOf, templateOf);
  };

  FormPage& a = AddPage("A: VGS - ID", "LbNumberA", "/ A");
  AddIdentification(a, "LbDataSheetTitle", texts.title, true);
  if (auto* form = CbComponent()->parentWidget()->findChild<QFormLayout*>())
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(CbComponent()))) label->setText(texts.componentLabel);
  curve(a, kVGSID, "VGSID", "GroupBox1", "Drain Current vs. Gate-Source voltage ");
  using J = TCatJFET;
  AddParams(a, params_,
            {BoundParam<&J::BETA>("EdBETA", "B:"), BoundParam<&J::VTO>("EdVTO", "VTO:"),
             BoundParam<&J::RS>("EdRS", "RS:")});

  FormPage& b = AddPage("B: VGS/VDS - CRS", "LbNumberB", "/ B");
  AddComponentLabel(b, "LbComponentB");
  CurvePanel& crs = curve(b, kVXSCRSS, "VXSCRSS", "GroupBox2", "Feedback capacitance", "sg2VXSCRSS",
                          texts.sg2VXSCRSS);
  rbvsVGS_ = new QRadioButton(" ... vs Gate-Source voltage   or");
  rbvsVGS_->setObjectName("rbvsVGS");
  rbvsVDS_ = new QRadioButton(" ... vs Drain-Source voltage    or");
  rbvsVDS_->setObjectName("rbvsVDS");
  InsertAboveTemplate(crs, rbvsVGS_, 0);
  InsertAboveTemplate(crs, rbvsVDS_, 1);
  rbvsVGS_->setChecked(true);
  connect(rbvsVGS_, &QRadioButton::clicked, this, [this] { rbvsVGSClick(true); });
  connect(rbvsVDS_, &QRadioButton::clicked, this, [this] { rbvsVDSClick(true); });
  AddParams(b, params_,
            {BoundParam<&J::CGD>("EdCGD", "CGD:"), BoundParam<&J::VJ>("EdVJ", "VJ:"),
             BoundParam<&J::MJ>("EdMJ", "MJ:")});

  FormPage& c = AddPage("C: VGS - CIS", "LbNumberC", "/ C");
  AddComponentLabel(c, "LbComponentC");
  curve(c, kVGSCISS, "VGSCISS", "GroupBox3", "Input Capacitance vs. Gate-Source voltage ", "Sg2VGSCISS",
        texts.sg2VGSCISS);
  AddParams(c, params_, {BoundParam<&J::CGS>("EdCGS", "CGS:")});

  FormPage& d = AddPage("D: Gos", "LbNumberG", "/ D");
  AddComponentLabel(d, "LbComponentG");
  QPushButton* def1 = AddValueGroup<J>(d, values_,
                                       {"GroupBox4",
                                        "Output conductance",
                                        "BBDef1",
                                        {BoundValue<&J::GosIDText, &J::GosID>("EdGOSID", "ID [mA]:"),
                                         BoundValue<&J::GosText, &J::Gos>(
                                             "EdGOS", QString::fromUtf8("Gos [\u00B5A/V]:"))}},
                                       [this]() -> const J& { return Records().Items(0); });
  d.content->addStretch();
  AddParams(d, params_, {BoundParam<&J::LAMBDA>("EdLAMBDA", "")});
  QLineEdit* lambda = params_.At(params_.size() - 1);
  for (QLabel* label : d.widget->findChildren<QLabel*>())
    if (label->buddy() == lambda) label->setText(QString::fromUtf8("\u03BB:"));
  QPushButton* add = AddNewButton(d);
  FinishPages();
  // The notebook opens on the page it was left on when the form was laid out.
  TabSet()->setCurrentIndex(n ? 3 : 1);

  std::function<void()> loadDefaults;
  list_ = MakePolarLibrary<TCatListJFN, TCatListJFP, TCatJFET>(polarity_, &ComputeJFET, loadDefaults);
  StartEngineAndLoadDefaults(loadDefaults);
  SetHelpContexts(add, {def1});
}

void TBlankJFET::GetData(QObject* sender, bool all) { GetDataJFN(Records().CurrentItem(), sender, all, *this); }

void GetDataJFN(TCatJFET& record, QObject* sender, bool all, TBlankJFET& form) {
  record.Name = RecordText(form.CbComponent()->text());
  record.Usage = RecordText(form.CbUsage()->currentText());
  record.RefVGSID = RecordText(form.PanelVGSID().Template()->currentText());
  record.RefVXSCRSS = RecordText(form.PanelVXSCRSS().Template()->currentText());
  record.RefVGSCISS = RecordText(form.PanelVGSCISS().Template()->currentText());
  record.CrsVs = form.RbvsVDS()->isChecked() ? "vsVDS" : "vsVGS";
  const std::pair<CurvePanel*, TGraph*> curves[] = {{&form.PanelVGSID(), &record.CurveVGSID},
                                                    {&form.PanelVXSCRSS(), &record.CurveVXSCRSS},
                                                    {&form.PanelVGSCISS(), &record.CurveVGSCISS}};
  for (const auto& [panel, curve] : curves)
    if (all || sender == panel->Grid()) panel->ReadPoints(*curve);
  for (const auto& [panel, curve] : {curves[1], curves[2]}) panel->ReadParam(*curve);
  form.Values().Read(record);
}

void TBlankJFET::FeedbackAbscissa(bool drainSource, bool byUser, bool retitle) {
  const int current = List().Current();
  if (current < 0 || current >= List().Count()) return;
  TCatJFET& r = Records().Items(current);
  const std::string choice = drainSource ? "vsVDS" : "vsVGS";
  // Clicking the button already chosen changes nothing.
  if (byUser && r.CrsVs == choice) return;
  const auto& texts = TextsOf(polarity_).abscissa[drainSource ? 1 : 0];
  // Showing a record keeps its text as read; only a choice replaces it.
  if (byUser) r.CrsVs = choice;
  if (retitle) {
    PanelVXSCRSS().Grid()->SetCells(0, 0, texts.grid);
    PanelVXSCRSS().ParamGrid()->SetCells(0, 0, texts.param);
  }
  r.CurveVXSCRSS.XTitle = texts.xTitle;
  PanelVXSCRSS().Redraw(r.CurveVXSCRSS);
  // The choice is part of the library: it must not be lost on closing.
  if (byUser) List().SetModified(true);
}

void TBlankJFET::rbvsVGSClick(bool byUser) { FeedbackAbscissa(false, byUser); }
void TBlankJFET::rbvsVDSClick(bool byUser) { FeedbackAbscissa(true, byUser); }

void TBlankJFET::ShowData() {
  const int current = List().Current();
  if (current < 0 || current >= List().Count()) return;
  TCatJFET& r = Records().Items(current);

  if (Iteration) {
    Iteration->Bias33 = r.CurveVGSCISS.CurveParam;
    Iteration->Bias32 = r.CurveVXSCRSS.CurveParam;
    Iteration->CGD33 = r.CGD;
  }
  ShowPageNumbers(current);
  // The abscissa of the feedback capacitance: the button and the titles
  // that go with it, also on the record's curve.
  const bool drainSource = r.CrsVsDrainSource();
  // Selecting the button that is already selected leaves the grid titles as
  // they are (the form's own, with their colon, until a choice changes them).
  const bool choiceChanges = !(drainSource ? rbvsVDS_ : rbvsVGS_)->isChecked();
  {
    const QSignalBlocker quietVGS(rbvsVGS_);
    const QSignalBlocker quietVDS(rbvsVDS_);
    (drainSource ? rbvsVDS_ : rbvsVGS_)->setChecked(true);
  }
  FeedbackAbscissa(drainSource, false, choiceChanges);

  ShowIdentification(r.Name.str(), r.Usage.str());
  const std::pair<CurvePanel*, const ShortString<24>*> refs[] = {
      {&PanelVGSID(), &r.RefVGSID}, {&PanelVXSCRSS(), &r.RefVXSCRSS}, {&PanelVGSCISS(), &r.RefVGSCISS}};
  for (const auto& [panel, ref] : refs) panel->ShowTemplate(FormText(ref->str()));
  values_.Show(r);

  TGraph* curves[kCurves] = {&r.CurveVGSID, &r.CurveVXSCRSS, &r.CurveVGSCISS};
  for (int i = 0; i < kCurves; ++i) Curves()[i]->ScalesFromTab(*curves[i]);
  for (int i = 0; i < kCurves; ++i) Curves()[i]->ShowTab(*curves[i]);
  for (const auto& panel : Curves()) panel->ClearRows();
  PanelVXSCRSS().SetParamText(FormText(r.CurveVXSCRSS.CurveParamText.str()));
  PanelVGSCISS().SetParamText(FormText(r.CurveVGSCISS.CurveParamText.str()));
  for (int i = 0; i < kCurves; ++i) {
    Curves()[i]->ShowPoints(*curves[i], kParamPrecision);
    Curves()[i]->Redraw(*curves[i]);
  }
  params_.Show(r, r.Computed);

  FillDropDowns([this](int i) { return Records().Items(i).Usage.str(); });
}

}  // namespace pakro
