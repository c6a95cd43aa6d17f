#include "pakro/devices/compute_engine.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "pakro/shell/compute_progress.h"
#include "pakro/shell/frame_state.h"
#include "platform/dialogs.h"

namespace pakro {

void ShowProgress(std::string_view componentName) { computeProgress().Mark(componentName); }

long double Quotient(long double a, long double b, std::string_view what) {
  if (b == 0) throw ComputeFault("division by zero in the formula of " + std::string(what));
  return Finite(a / b, what);
}

long double Ln(long double x, std::string_view what) {
  if (!(x > 0))
    throw ComputeFault("logarithm of a value not greater than 0 in the formula of " + std::string(what));
  return Finite(std::log(x), what);
}

long double Finite(long double x, std::string_view what) {
  if (!std::isfinite(x)) throw ComputeFault("the formula of " + std::string(what) + " gives no finite number");
  return x;
}

std::string ComputeFaultText(std::string_view name, std::string_view fault) {
  return "The component \"" + std::string(name) + "\" was not computed: " + std::string(fault) +
         ". Please check its data sheet.";
}

void ReportComputeFault(std::string_view name, const ComputeFault& fault) {
  CheckFailed = 1;
  platform::messages().show(platform::MessageKind::Error, ComputeFaultText(name, fault.what()),
                            platform::Buttons::Ok);
}

void DatasheetCheck::Refuse(std::string fault) {
  if (complete_) fault_ = std::move(fault);
  complete_ = false;
}

void DatasheetCheck::Curve(const TGraph& curve, std::string_view what) {
  if (curve.Count == 0) {
    complete_ = false;
  } else if (!curve.NotNumber.empty()) {
    Refuse("A point of the curve " + std::string(what) + " is no number: \"" + curve.NotNumber.str() + "\".");
  } else if (magnitudes_) {
    for (int i = 0; i < std::clamp(curve.Count, 0, TGraph::MaxPoints); ++i)
      if (curve.X[static_cast<std::size_t>(i)] < 0 || curve.Y[static_cast<std::size_t>(i)] < 0) {
        Refuse("A point of the curve " + std::string(what) +
               " is negative: the values of a P-type component are typed as magnitudes, without their sign.");
        break;
      }
  }
}

void DatasheetCheck::Value(std::string_view text, std::string_view what) {
  if (text.empty()) {
    complete_ = false;
    return;
  }
  double value = 0;
  int code = 0;
  if (!TextToFloat(text, value, code)) {
    Refuse("The value of " + std::string(what) + " is no number: \"" + std::string(text) + "\".");
  } else if (magnitudes_ && value < 0) {
    Refuse("The value of " + std::string(what) + " is negative (\"" + std::string(text) +
           "\"): the values of a P-type component are typed as magnitudes, without their sign.");
  }
}

void DatasheetCheck::CurveParam(const TGraph& curve, std::string_view what) {
  double value = 0;
  int code = 0;
  const std::string& text = curve.CurveParamText.str();
  if (!text.empty() && !TextToFloat(text, value, code))
    Refuse("The parameter of the curve " + std::string(what) + " is no number: \"" + text + "\".");
}

bool DatasheetCheck::Complete() const {
  if (!complete_) computeProgress().ShowCheck(fault_);
  return complete_;
}

long double NotBelowZero(long double value, std::string_view what) {
  if (value < 0)
    throw ComputeFault("its " + std::string(what) + " would be " + FloatToText(FloatFormat::General, 3, 2, value) +
                       ", below zero, which no real component has");
  return value;
}

long double Storable(long double value, std::string_view what) {
  if (!(std::fabs(Finite(value, what)) <= std::numeric_limits<double>::max()))
    throw ComputeFault("the formula of " + std::string(what) + " gives no finite number");
  return value;
}

double Stored(long double value, std::string_view what) { return static_cast<double>(Storable(value, what)); }

const ParamVector& FitCurve(TIteration& engine, const TGraph& curve, std::uint8_t kind, int nParams,
                            double tolerance, const ParamVector& start) {
  engine.X = curve.X;
  engine.Y = curve.Y;
  engine.Count = curve.Count;
  engine.Kind = kind;
  engine.NParams = nParams;
  engine.Tolerance = tolerance;
  engine.P = start;
  // A fit that cannot approach the data still leaves usable parameters; the
  // computation goes on with them.
  engine.Fit();
  for (int i = 0; i < nParams; ++i) Finite(engine.P[i], "a fitted parameter");
  return engine.P;
}

JunctionFit FitJunctionCapacitance(TIteration& engine, const TGraph& curve, double tolerance) {
  const ParamVector& p = FitCurve(engine, curve, KindJunctionCap, 3, tolerance, {30, 0.75L, 0.33L});
  return {p[0] * 1e-12L, p[1], p[2]};
}

void ShowFittedModel(TGraph& curve, const TIteration& engine) {
  curve.ShowFitted = true;
  curve.SetModel(engine.P, engine.Kind, engine.Inputs());
}

void TakeFittedModel(TGraph& target, const TGraph& computed) {
  target.ShowFitted = computed.ShowFitted;
  target.SetModel(computed.FitParams, computed.FitKind, computed.FitInputs);
}

}  // namespace pakro
