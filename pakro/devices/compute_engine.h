#pragma once
// What the model computations of all device kinds share: the progress mark,
// the fit of one datasheet curve, and the guarded arithmetic of the closed
// formulas.
#include <stdexcept>
#include <string>
#include <string_view>

#include "pakro/shell/frame_state.h"
#include "pakro/shell/graph.h"
#include "pakro/shell/iteration.h"

namespace pakro {

// One progress mark for the component being computed, through the compute
// progress seam.
void ShowProgress(std::string_view componentName);

// A closed formula that has no finite value for the component's data.
class ComputeFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Guarded arithmetic of the closed formulas; each raises ComputeFault naming
// the model value `what` whose formula failed.
//   a / b, refused when b is 0 or the quotient is not finite.
long double Quotient(long double a, long double b, std::string_view what);
//   ln x, refused when x is not greater than 0.
long double Ln(long double x, std::string_view what);
//   x itself, refused when it is not a finite number.
long double Finite(long double x, std::string_view what);

// The message a computation shows when a closed formula fails for the
// component `name`.
std::string ComputeFaultText(std::string_view name, std::string_view fault);

// The completeness check of one record: curves that must hold points and
// values that must be given. A value or point that was typed but is no
// number counts as missing, and so does a negative one where the record
// holds magnitudes (the P-type kinds); the check dialog names the first of
// these. Names are in the legacy code page.
class DatasheetCheck {
 public:
  // Values and points must not be negative (a P-type record).
  explicit DatasheetCheck(bool magnitudes = false) : magnitudes_(magnitudes) {}

  void Curve(const TGraph& curve, std::string_view what);
  void Value(std::string_view text, std::string_view what);
  // The curve's parameter, where one was typed, is a number.
  void CurveParam(const TGraph& curve, std::string_view what);
  // Another condition the kind puts on the record; it names nothing.
  void Require(bool condition) { complete_ = complete_ && condition; }

  // True when the record may be fitted; otherwise the check dialog is shown.
  bool Complete() const;
  // What the dialog names; empty when values are only missing.
  const std::string& Fault() const { return fault_; }

 private:
  void Refuse(std::string fault);
  bool magnitudes_;
  bool complete_ = true;
  std::string fault_;
};

// A model value that no real component has is refused (ComputeFault naming
// it): a resistance, capacitance or time below zero.
long double NotBelowZero(long double value, std::string_view what);
// Shows the message of a failed formula and ends a running series, as an
// incomplete datasheet does (CheckFailed := 1).
void ReportComputeFault(std::string_view name, const ComputeFault& fault);

// A value kept as it is, refused when it is not a finite number or lies
// beyond the range of a double (the library file would read it back as no
// number).
long double Storable(long double value, std::string_view what);
// A value converted to the double a record keeps, refused as Storable
// refuses it.
double Stored(long double value, std::string_view what);

// One fit stage: the engine takes the curve's points, the model kind, the
// number of varied parameters, the tolerance and the start values, and
// fits. The fixed inputs of the kind must be set on the engine before.
// Returns the fitted parameters, each checked to be finite.
const ParamVector& FitCurve(TIteration& engine, const TGraph& curve, std::uint8_t kind, int nParams,
                            double tolerance, const ParamVector& start);

// A junction capacitance (model kind 12) fitted to a curve of pF against
// reverse voltage, from the start values all kinds use: the zero-bias
// capacitance in F, the junction potential and the grading coefficient.
struct JunctionFit {
  long double C0, VJ, MJ;
};
JunctionFit FitJunctionCapacitance(TIteration& engine, const TGraph& curve, double tolerance);

// The curve shows its fitted model: the engine's parameters, kind and
// fixed inputs as they are now.
void ShowFittedModel(TGraph& curve, const TIteration& engine);

// Copies what a computation gives a curve (the fitted model and its show
// flag) from the working copy into the record.
void TakeFittedModel(TGraph& target, const TGraph& computed);

// Runs one computation. The stages work on a copy of the record, taken
// after the completeness check, and on an engine of their own; only when
// they complete does `take` store their results into the record, which
// then is computed. A ComputeFault is shown and leaves the record as it was.
template <class Record>
bool RunComputation(Record& record, bool complete, void (*stages)(Record& work, TIteration& engine),
                    void (*take)(Record& record, const Record& work)) {
  if (!complete) {
    CheckFailed = 1;
    return false;
  }
  Record work = record;
  TIteration engine;
  try {
    stages(work, engine);
  } catch (const ComputeFault& fault) {
    ReportComputeFault(work.Name.str(), fault);
    return false;
  }
  take(record, work);
  record.Computed = true;
  CheckFailed = 0;
  return true;
}

}  // namespace pakro
