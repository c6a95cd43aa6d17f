#pragma once
// Records of every device kind whose datasheet curves are computed from
// known model parameters, for the computation tests and the benchmark.
#include <string>
#include <vector>

#include "pakro/devices/COR_.h"
#include "pakro/devices/DIO_.h"
#include "pakro/devices/JFN_.h"
#include "pakro/devices/MNE_.h"
#include "pakro/devices/TRN_.h"
#include "pakro/shell/hysteric.h"
#include "pakro/shell/iteration.h"
#include "pakro/shell/number_text.h"

namespace pakro::synthetic {

// The points of a curve: the model of `kind` with `truth` at the abscissae.
inline void FillCurve(TGraph& curve, std::uint8_t kind, const ParamVector& truth, const std::vector<double>& x,
                      const TFitInputs& in = {}) {
  THysteric table;
  curve.Count = static_cast<int>(x.size());
  for (int i = 0; i < curve.Count; ++i) {
    curve.X[i] = x[i];
    curve.Y[i] = static_cast<double>(ModelValue(truth, kind, x[i], in, table));
  }
}

// A datasheet value with its text.
template <class Text>
void SetValue(Text& text, double& value, double v) {
  text = FloatToText(FloatFormat::General, 6, 2, v);
  value = v;
}

// A curve parameter with its text.
inline void SetCurveParam(TGraph& curve, double v) {
  curve.CurveParamText = FloatToText(FloatFormat::General, 6, 2, v);
  curve.CurveParam = v;
}

// --- diode: RS 2 ohm, N 1.6, IS 5e-9 A; CJ 40 pF, VJ 0.7, MJ 0.45 -----------
struct DiodeTruth {
  ParamVector forward{0.002L, 1.6L * 0.02586L, 5e-6L};  // kΩ, N·Vt, mA
  ParamVector capacitance{40, 0.7L, 0.45L};             // pF, V, -
};

inline void FillDiode(TCatDIO& r, const std::string& name, const DiodeTruth& t = {}) {
  r.Name = name;
  FillCurve(r.VDID, KindDiodeForward, t.forward, {0.01, 0.1, 1, 10, 100, 500, 1000});
  FillCurve(r.VRCJ, KindJunctionCap, t.capacitance, {0, 1, 2, 5, 10, 20, 50});
  SetValue(r.BreakdownVoltText, r.BreakdownVolt, 100);
  SetValue(r.BreakdownCurrText, r.BreakdownCurr, 5);
  SetValue(r.ZenerResistText, r.ZenerResist, 10);
  SetValue(r.ForwCurrText, r.ForwCurr, 10);
  SetValue(r.RevForwRatioText, r.RevForwRatio, 1);
  SetValue(r.RecoveryTimeText, r.RecoveryTime, 100);
}

// --- bipolar ---------------------------------------------------------------
struct BipolarTruth {
  ParamVector baseEmitter{0.001L, 0.02586L, 1e-11L};  // RSP 1 ohm in kΩ, NF 1, IS 1e-14 A in mA
  ParamVector gain{150, 0.2L, 1.5L, 1e-13L};          // BF, IKF (A), NE, ISE (A)
  ParamVector saturation{1e-12L, 2, 1.5L};            // ISC (A), RSAT (ohm), NC = NE
  ParamVector cob{10, 0.75L, 0.33L};                  // pF
  ParamVector cib{25, 0.8L, 0.4L};                    // pF
  double vce = 5;                                     // of the gain curve
  double icib = 10;                                   // of the saturation curve
  // The fixed inputs that the gain and saturation curves read: what the
  // computation derives from the stages before them.
  TFitInputs Inputs() const {
    TFitInputs in;
    in.IS = static_cast<double>(baseEmitter[2] / 1000);
    in.NF = in.NR = static_cast<double>(baseEmitter[1] / Vt);
    in.VAF = 95;  // Hoe 10 micromhos at 1 mA and 5 V
    in.VAR = 47.5;
    in.BR = 5;
    in.VCE = vce;
    in.BF = static_cast<double>(gain[0]);
    in.IKF = in.IKR = static_cast<double>(gain[1]);
    in.NE = static_cast<double>(gain[2]);
    in.ISE = static_cast<double>(gain[3]);
    in.ICIB = icib;
    return in;
  }
};

inline void FillBipolar(TCatBipolar& r, const std::string& name, const BipolarTruth& t = {}) {
  namespace D = BipolarData;
  const TFitInputs in = t.Inputs();
  r.Name = name;
  FillCurve(r.ICVBE, KindBaseEmitter, t.baseEmitter, {0.01, 0.1, 1, 10, 100, 300});
  FillCurve(r.ICBETA, KindCurrentGain, t.gain, {0.01, 0.1, 1, 10, 50, 100, 300}, in);
  SetCurveParam(r.ICBETA, t.vce);
  FillCurve(r.ICVCE, KindSaturation, t.saturation, {0.1, 1, 10, 50, 100}, in);
  SetCurveParam(r.ICVCE, t.icib);
  FillCurve(r.VCBCOBO, KindJunctionCap, t.cob, {0.1, 1, 2, 5, 10, 20, 30});
  FillCurve(r.VEBCIBO, KindJunctionCap, t.cib, {0.1, 0.5, 1, 2, 3, 4});
  SetValue(r.DataText[D::Hoe], r.DataValue[D::Hoe], 10);
  SetValue(r.DataText[D::HoeIC], r.DataValue[D::HoeIC], 1);
  SetValue(r.DataText[D::HoeVCE], r.DataValue[D::HoeVCE], 5);
  SetValue(r.DataText[D::FT], r.DataValue[D::FT], 100);
  SetValue(r.DataText[D::ICIB], r.DataValue[D::ICIB], 10);
  SetValue(r.DataText[D::TS], r.DataValue[D::TS], 200);
}

// --- JFET: VTO -2 V, BETA 1 mA/V², RS 50 ohm; CGD 5 pF, CGS 8 pF, VJ 0.8 ----
struct JfetTruth {
  ParamVector drain{-2, 1, 0.05L};  // V, mA/V², kΩ
  ParamVector feedback{5, 0.8L, 0.5L};
  ParamVector input{8, 0.8L, 0.5L};
  double bias32 = 5, bias33 = 10;
};

inline void FillJfet(TCatJFET& r, const std::string& name, const JfetTruth& t = {}) {
  r.Name = name;
  FillCurve(r.CurveVGSID, KindJfetDrain, t.drain, {0, 0.25, 0.5, 0.75, 1, 1.25, 1.5});
  TFitInputs in;
  in.Bias32 = t.bias32;
  in.Bias33 = t.bias33;
  in.CGD33 = static_cast<double>(t.feedback[0] * 1e-12L);
  FillCurve(r.CurveVXSCRSS, KindJfetBiasedCap, t.feedback, {0, 1, 2, 5, 10, 15, 20}, in);
  SetCurveParam(r.CurveVXSCRSS, t.bias32);
  FillCurve(r.CurveVGSCISS, KindJfetTwoJunctions, t.input, {0, 1, 2, 5, 10, 15, 20}, in);
  SetCurveParam(r.CurveVGSCISS, t.bias33);
  SetValue(r.GosText, r.Gos, 10);
  SetValue(r.GosIDText, r.GosID, 1);
}

// --- MOSFET: threshold 2 V, gain 0.1 (W 0.02 m), RS 1 ohm ------------------
struct MosfetTruth {
  ParamVector drain{2, 0.1L, 1};
  ParamVector coss{300, 0.7L, 0.4L};
  ParamVector crss{50, 0.6L, 0.5L};
};

inline void FillMosfet(TCatMOSFET& r, const std::string& name, const MosfetTruth& t = {}) {
  r.Name = name;
  FillCurve(r.IdVgs, KindMosfetDrain, t.drain, {2.5, 3, 4, 5, 7, 10});
  FillCurve(r.Coss, KindJunctionCap, t.coss, {0, 1, 2, 5, 10, 20, 50});
  FillCurve(r.Crss, KindJunctionCap, t.crss, {0, 1, 2, 5, 10, 20, 50});
  SetValue(r.TextQ0, r.Q0, 20);
  SetValue(r.TextQ1, r.Q1, 5);
  SetValue(r.TextQ2, r.Q2, 15);
  SetValue(r.TextVG, r.VG, 10);
  SetValue(r.TextVDS1, r.VDS1, 10);
  SetValue(r.TextVDS2, r.VDS2, 40);
  SetValue(r.TextVDS, r.VDS, 100);
  SetValue(r.TextIDSS, r.IDSS, 100);
}

// --- magnetic core: a 1000, c 0.2, k 500, Ms 1.2e6 A/m ------------------------
struct CoreTruth {
  ParamVector loop{1000, 0.2L, 500, 1.2e6L};
};

inline void FillCore(TCatCOR& r, const std::string& name, const CoreTruth& t = {}) {
  r.Name = name;
  FillCurve(r.BH, KindFluxDensity, t.loop, {-20000, -5000, -1000, -200, 0, 200, 1000, 5000, 20000});
  SetValue(r.DsAreaText, r.DsArea, 1.5);
  SetValue(r.DsLengthText, r.DsLength, 8);
  SetValue(r.DsGapText, r.DsGap, 0.5);
  SetValue(r.DsPackText, r.DsPack, 0.95);
}

}  // namespace pakro::synthetic
