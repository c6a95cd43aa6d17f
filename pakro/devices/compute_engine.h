#pragma once
// What the model computations of all device kinds share: how a computation
// reports to the compute and check dialogs, the fit of one datasheet curve,
// and the guarded arithmetic of the closed formulas.
#include <stdexcept>
#include <string>
#include <string_view>

#include "frame_state.h"
#include "graph.h"
#include "iteration.h"

namespace pakro {

// What a computation tells the user interface. The frame installs one that
// drives the compute dialog and the check dialog; without one, nothing is
// shown (a computation run headless).
class ComputeReport {
 public:
  virtual ~ComputeReport() = default;
  // One progress mark after a stage of the fit: the compute dialog names the
  // component, appends a mark to its row and lets queued input be handled
  // (the moment at which its Cancel button can be pressed).
  virtual void ProgressMark(std::string_view componentName) = 0;
  // The datasheet is incomplete: the check dialog is shown, not modal.
  virtual void ShowCheckDialog() = 0;
};

// The installed report (a silent one by default).
ComputeReport& computeReport();
// Installs a report; nullptr restores the silent one. Returns the previous
// one so a scope can put it back.
ComputeReport* setComputeReport(ComputeReport* report);

// One progress mark for the component being computed.
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

// The answer of a completeness check: when the datasheet is incomplete the
// check dialog is shown.
bool DatasheetComplete(bool complete);
// Shows the message of a failed formula and ends a running series, as an
// incomplete datasheet does (CheckFailed := 1).
void ReportComputeFault(std::string_view name, const ComputeFault& fault);

// A value converted to the double a record keeps, refused when it is not a
// finite number there.
double Stored(long double value, std::string_view what);

// One fit stage: the engine takes the curve's points, the model kind, the
// number of varied parameters, the tolerance and the start values, and
// fits. The fixed inputs of the kind must be set on the engine before.
// Returns the fitted parameters, each checked to be finite.
const ParamVector& FitCurve(TIteration& engine, const TGraph& curve, std::uint8_t kind, int nParams,
                            double tolerance, const ParamVector& start);

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
