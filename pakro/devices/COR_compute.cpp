// The magnetic core model: the Jiles-Atherton parameters fitted to one
// branch of the hysteresis loop, first a, c and k with the saturation
// magnetisation held at its start value, then all four; and the geometry in
// SI units.
#include "pakro/devices/compute_engine.h"
#include "pakro/devices/model_compute.h"
#include "pakro/shell/number_text.h"

namespace pakro {

namespace {

constexpr double Mu0 = 1.25664e-6;  // vacuum permeability, V·s/(A·m)

// Start value of the saturation magnetisation: the largest |B| of the loop
// taken as µ0·Ms.
double SaturationStart(const TCatCOR& r) { return MaxAbsOfArray(r.BH.Y, r.BH.Count) / Mu0; }

void CoreStages(TCatCOR& r, TIteration& engine) {
  ShowProgress(r.Name.str());
  FitCurve(engine, r.BH, KindFluxDensity, 3, 0.01, {1000, 0.2L, 500, SaturationStart(r)});
  ShowProgress(r.Name.str());
  engine.NParams = 4;
  engine.Fit();
  for (int i = 0; i < 4; ++i) Finite(engine.P[i], "a fitted parameter");
  r.A = engine.P[0];
  r.C = engine.P[1];
  r.K = engine.P[2];
  r.MS = engine.P[3];
  ShowFittedModel(r.BH, engine);
  ShowProgress(r.Name.str());

  r.Area = Finite(r.DsArea / 10000.0L, "Area");
  r.Length = Finite(r.DsLength / 100.0L, "Length");
  r.Gap = Finite(r.DsGap / 1000.0L, "Gap");
  r.Pack = Finite(r.DsPack, "Pack");
}

void TakeCore(TCatCOR& record, const TCatCOR& work) {
  for (auto field : {&TCatCOR::Area, &TCatCOR::Length, &TCatCOR::Gap, &TCatCOR::Pack, &TCatCOR::A, &TCatCOR::C,
                     &TCatCOR::K, &TCatCOR::MS})
    record.*field = work.*field;
  TakeFittedModel(record.BH, work.BH);
}

}  // namespace

bool CheckDataCOR(const TCatCOR& r) {
  DatasheetCheck check;
  check.Curve(r.BH, "H - B");
  check.Require(SaturationStart(r) >= 1);
  const std::pair<const ShortString<12>*, const char*> values[] = {
      {&r.DsAreaText, "the area"}, {&r.DsLengthText, "the length"}, {&r.DsGapText, "the gap"},
      {&r.DsPackText, "the pack"}};
  for (const auto& [text, what] : values) check.Value(text->str(), what);
  return check.Complete();
}

bool ComputeCOR(TCatCOR& record) {
  return RunComputation<TCatCOR>(record, CheckDataCOR(record), CoreStages, TakeCore);
}

}  // namespace pakro
