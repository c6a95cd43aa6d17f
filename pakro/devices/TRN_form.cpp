#include "pakro/devices/TRN_form.h"

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

namespace {

namespace P = BipolarParam;
namespace D = BipolarData;

enum Curve { kICVBE, kICBETA, kICVCE, kVCBCOBO, kVEBCIBO, kCurves };

// Row-0 titles of the curve grids: NPN, then PNP (the negated quantities).
struct Titles {
  const char* x;
  const char* y;
};
constexpr Titles kTitlesN[kCurves] = {{" IC [mA]", " VBE [V]"},
                                      {" IC[mA]", " BETA"},
                                      {" IC [mA]", " VCE [V]"},
                                      {" VCB [V]", " Cob [pF]"},
                                      {" VEB [V]", " Cib [pF]"}};
constexpr Titles kTitlesP[kCurves] = {{"-IC [mA]", "-VBE [V]"},
                                      {" IC[mA]", " BETA"},
                                      {"-IC [mA]", "-VCE [V]"},
                                      {"-VCB [V]", " Cob [pF]"},
                                      {"-VEB [V]", " Cib [pF]"}};

// The value edit of a datasheet value slot.
template <int Slot>
ValueField<TCatBipolar> DataField(const char* name, const QString& caption) {
  return {name, caption,
          [](const QString& text, TCatBipolar& r) { TakeValue(text, r.DataText[Slot], r.DataValue[Slot]); },
          [](const TCatBipolar& r) { return FormText(r.DataText[Slot].str()); },
          [](const TCatBipolar& r) { return r.DataValue[Slot]; }};
}

}  // namespace

TBlankBipolar::TBlankBipolar(Polarity polarity) : polarity_(polarity) { FormCreate(); }

int TBlankBipolar::Module() const { return polarity_ == Polarity::N ? kNpnTransistor : kPnpTransistor; }

TGraph& TBlankBipolar::CurveOf(int record, int which) {
  TCatBipolar& r = Records().Items(record);
  TGraph* curves[kCurves] = {&r.ICVBE, &r.ICBETA, &r.ICVCE, &r.VCBCOBO, &r.VEBCIBO};
  return *curves[which];
}

std::string TBlankBipolar::TemplateOf(int record, int which) {
  const TCatBipolar& r = Records().Items(record);
  const ShortString<24>* refs[kCurves] = {&r.ICVBERef, &r.ICBETARef, &r.ICVCERef, &r.VCBCOBORef, &r.VEBCIBORef};
  return refs[which]->str();
}

void TBlankBipolar::FormCreate() {
  const bool npn = polarity_ == Polarity::N;
  setObjectName(npn ? "BlankTRN" : "BlankTRP");
  const Titles* titles = npn ? kTitlesN : kTitlesP;
  BuildNotebook();

  auto curve = [this, titles](FormPage& page, int which, const char* name, const char* group, const char* caption,
                              const char* paramGrid = nullptr, const char* paramTitle = nullptr,
                              bool keyPressSetsTemplate = true) -> CurvePanel& {
    CurveSpec spec{name, group, caption, titles[which].x, titles[which].y, paramGrid, paramTitle,
                   keyPressSetsTemplate};
    CurvePanel& panel = AddCurve(page, spec, [this, which](int r) -> TGraph& { return CurveOf(r, which); },
                                 [this, which](int r) { return TemplateOf(r, which); });
    panels_[static_cast<std::size_t>(which)] = &panel;
    return panel;
  };
  auto param = [this](FormPage& page, const char* name, const char* caption, int slot, bool visible = true) {
    params_.emplace_back(AddParamEdit(page, name, caption, visible), slot);
  };

  // Page 0: identification and the base-emitter curve.
  FormPage& a = AddPage("A: Id.,  IC-VBE", "LbNumberA", "/ A");
  AddIdentification(a, "LbDataSheetTitle", npn ? " NPN Transistor Data Sheet" : " PNP Transistor Data Sheet",
                    true);
  curve(a, kICVBE, "ICVBE", "Gb1", "Base-Emitter voltage vs. Collector Current");
  param(a, "EdISAT", "IS:", P::IS);
  param(a, "EdNF", "NF:", P::NF);
  param(a, "EdRE", "RE:", P::RE);
  param(a, "EdNR", "NR:", P::NR, false);
  param(a, "EdRB", "RB:", P::RB);
  param(a, "EdRC", "RC:", P::RC, false);

  // Page 1: saturation voltage.
  FormPage& c = AddPage("C: IC-VCE", "LbNumberE", "/ C");
  AddComponentLabel(c, "LbComponentE");
  curve(c, kICVCE, "ICVCE", "GroupBox2", "Collector-Emitter Saturation Voltage vs. Collector Current", "Sg2ICVCE",
        " IC/IB:", false);
  param(c, "EdRC2", "RC", P::RC);
  param(c, "EdISC2", "ISC", P::ISC);
  param(c, "EdNC", "NC", P::NC);
  AddStars(c);

  // Page 2: current gain.
  FormPage& b = AddPage("B: IC-BETA", "LbNumberB", "/ B");
  AddComponentLabel(b, "LbComponentB");
  curve(b, kICBETA, "ICBETA", "Gb2", "Forward Current Gain  vs. Collector Current", "Sg2ICBETA",
        npn ? " VCE [V]:" : "-VCE [V]:");
  param(b, "EdISE", "ISE:", P::ISE);
  param(b, "EdISC", "ISC:", P::ISC, false);
  param(b, "EdNE", "NE:", P::NE);
  param(b, "EdBF", "BF:", P::BF);
  param(b, "EdBR", "BR:", P::BR, false);
  param(b, "EdIKF", "IKF:", P::IKF);
  param(b, "EdIKR", "IKR:", P::IKR, false);
  AddStars(b);

  // Pages 3 and 4: the capacitances.
  FormPage& d = AddPage("D: VCB-Cob", "LbNumberC", "/ C");
  AddComponentLabel(d, "LbComponentC");
  curve(d, kVCBCOBO, "VCBCOBO", "Gb3", "Collector-Base  Capacitance vs. Collector-Base Voltage");
  param(d, "EdCJC", "CJC:", P::CJC);
  param(d, "EdVJC", "VJC:", P::VJC);
  param(d, "EdMJC", "MJC:", P::MJC);
  FormPage& e = AddPage("E: VEB Cib", "LbNumberD", "/ D");
  AddComponentLabel(e, "LbComponentD");
  curve(e, kVEBCIBO, "VEBCIBO", "Gb4", "Emitter-Base  Capacitance vs. Emitter-Base Voltage");
  param(e, "EdCJE", "CJE:", P::CJE);
  param(e, "EdVJE", "VJE:", P::VJE);
  param(e, "EdMJE", "MJE:", P::MJE);

  // Page 5: the single values.
  FormPage& f = AddPage("F: Hoe, Bandwidth, ...", "LbNumberG", "/ E");
  AddComponentLabel(f, "LbComponentG");
  auto defaults = [this]() -> const TCatBipolar& { return Records().Items(0); };
  QPushButton* def1 = AddValueGroup<TCatBipolar>(
      f, values_,
      {"GroupBox6", "Output admittance", "BBDef1",
       {DataField<D::HoeIC>("EdHoeIC", "IC [mA]:"), DataField<D::HoeVCE>("EdHoeVCE", "VCE[V]:"),
        DataField<D::Hoe>("EdHoe", QString::fromUtf8("Hoe [\u00B5mhos]:"))}},
      defaults);
  QPushButton* def2 = AddValueGroup<TCatBipolar>(
      f, values_, {"GroupBox10", "Unity-gain bandwidth", "BBDef2", {DataField<D::FT>("EdBandwidth", "[MHz]:")}},
      defaults);
  AddValueGroup<TCatBipolar>(f, values_,
                             {"GroupBox1",
                              "Turn-Off Time",
                              "BBDef3",
                              {DataField<D::ICIB>("EdICpIB", "IC/IB:"), DataField<D::TS>("EdStorTim", "ts [nsec]:")}},
                             defaults);
  f.content->addStretch();
  param(f, "EdVAF", "VAF:", P::VAF);
  param(f, "EdVRA", "VAR:", P::VAR, false);
  param(f, "EdEG", "EG:", P::EG, false);
  param(f, "EDKF", "KF:", P::KF, false);
  param(f, "EdAF", "AF:", P::AF, false);
  param(f, "EdTF", "TF:", P::TF);
  param(f, "EdTR", "TR:", P::TR);
  QPushButton* add = AddNewButton(f);
  AddStars(f);
  FinishPages();

  // Every bipolar form that opens starts a fresh fitting engine.
  std::function<void()> loadDefaults;
  list_ = MakePolarLibrary<TCatListTRN, TCatListTRP, TCatBipolar>(polarity_, &ComputeBipolar, loadDefaults);
  StartEngineAndLoadDefaults(loadDefaults);

  SetHelpContext(this, 21);
  for (CurvePanel* panel : {&PanelICVBE(), &PanelICBETA(), &PanelVCBCOBO(), &PanelVEBCIBO()}) {
    SetHelpContext(panel->Template(), 47);
    SetHelpContext(panel->Group(), 46);
  }
  SetHelpContext(add, 45);
  SetHelpContext(def1, 49);
  SetHelpContext(def2, 49);
}

void TBlankBipolar::GetData(QObject* sender, bool all) {
  GetDataTRN(Records().CurrentItem(), sender, all, *this);
}

void GetDataTRN(TCatBipolar& record, QObject* sender, bool all, TBlankBipolar& form) {
  record.Name = RecordText(form.CbComponent()->text());
  record.Usage = RecordText(form.CbUsage()->currentText());
  ShortString<24>* refs[kCurves] = {&record.ICVBERef, &record.ICBETARef, &record.ICVCERef, &record.VCBCOBORef,
                                    &record.VEBCIBORef};
  TGraph* curves[kCurves] = {&record.ICVBE, &record.ICBETA, &record.ICVCE, &record.VCBCOBO, &record.VEBCIBO};
  for (int i = 0; i < kCurves; ++i) *refs[i] = RecordText(form.Panel(i).Template()->currentText());
  for (int i = 0; i < kCurves; ++i) {
    CurvePanel& panel = form.Panel(i);
    if (all || sender == panel.Grid()) panel.ReadPoints(*curves[i]);
  }
  form.PanelICBETA().ReadParam(record.ICBETA);
  form.PanelICVCE().ReadParam(record.ICVCE);
  form.Values().Read(record);
}

void TBlankBipolar::ShowData() {
  const int current = List().Current();
  if (current < 0 || current >= List().Count()) return;
  TCatBipolar& r = Records().Items(current);

  // The fitted curves drawn below are this record's.
  if (Iteration) {
    TIteration& it = *Iteration;
    it.IS = r.Param[P::IS];
    it.ISE = r.Param[P::ISE];
    it.ISC = r.Param[P::ISC];
    it.VAF = r.Param[P::VAF];
    it.VAR = r.Param[P::VAR];
    it.NF = r.Param[P::NF];
    it.NR = r.Param[P::NR];
    it.NE = r.Param[P::NE];
    it.BR = r.Param[P::BR];
    it.BF = r.Param[P::BF];
    it.IKF = r.Param[P::IKF];
    it.IKR = r.Param[P::IKR];
    it.VCE = r.ICBETA.CurveParam;
    it.ICIB = r.ICVCE.CurveParam;
  }

  ShowPageNumbers(current);
  ShowIdentification(r.Name.str(), r.Usage.str());
  for (int i = 0; i < kCurves; ++i) Panel(i).ShowTemplate(FormText(TemplateOf(current, i)));
  values_.Show(r);

  for (int i = 0; i < kCurves; ++i) Panel(i).ScalesFromTab(CurveOf(current, i));
  for (int i = 0; i < kCurves; ++i) Panel(i).ShowTab(CurveOf(current, i));
  for (const auto& panel : Curves()) panel->ClearRows();
  PanelICBETA().SetParamText(FormText(r.ICBETA.CurveParamText.str()));
  PanelICVCE().SetParamText(FormText(r.ICVCE.CurveParamText.str()));
  for (int i = 0; i < kCurves; ++i) {
    CurvePanel& panel = Panel(i);
    panel.ShowPoints(CurveOf(current, i), kParamPrecision);
    panel.Redraw(CurveOf(current, i));
  }
  for (const auto& [edit, slot] : params_) ShowParam(edit, r.Computed, r.Param[static_cast<std::size_t>(slot)]);

  FillDropDowns([this](int i) { return Records().Items(i).Usage.str(); });
}

}  // namespace pakro
