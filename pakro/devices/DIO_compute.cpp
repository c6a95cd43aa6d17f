// The diode model: a fit of the forward characteristic, a fit of the
// junction capacitance and the closed formulas of the breakdown and
// recovery values.
#include "pakro/devices/compute_engine.h"
#include "pakro/devices/model_compute.h"

namespace pakro {

namespace {

void DiodeStages(TCatDIO& r, TIteration& engine) {
  ShowProgress(r.Name.str());

  // Forward characteristic, in mA and kilohms.
  const ParamVector& fwd = FitCurve(engine, r.VDID, KindDiodeForward, 3, 0.01, {0.002L, 0.02586L, 1e-11L});
  r.RS = Storable(fwd[0] * 1000, "RS");
  r.N = Storable(fwd[1] / 0.02586L, "N");
  r.IS = Storable(fwd[2] / 1000, "IS");
  ShowFittedModel(r.VDID, engine);
  ShowProgress(r.Name.str());

  // Junction capacitance, in pF.
  const JunctionFit cap = FitJunctionCapacitance(engine, r.VRCJ, 1e-6);
  r.CJ = Storable(cap.C0, "CJ");
  r.VJ = cap.VJ;
  r.MJ = cap.MJ;
  ShowFittedModel(r.VRCJ, engine);
  ShowProgress(r.Name.str());

  r.EG = 1.11L;
  r.Value8 = 0;
  r.Value9 = 1.0L;
  r.BV = Storable(r.BreakdownVolt, "BV");
  r.IBV = Storable(r.BreakdownCurr * 0.001L, "IBV");
  r.RZ = Storable(r.ZenerResist, "RZ");
  r.Value15 = 3.0L;
  r.Value7 = 0.5L;
  r.TT = Storable(DiodeTransitTime(r.RecoveryTime, r.RevForwRatio), "TT");

  // A model no real diode has is not stored.
  NotBelowZero(r.RS, "RS");
  NotBelowZero(r.CJ, "CJ");
  NotBelowZero(r.TT, "TT");
}

void TakeDiode(TCatDIO& record, const TCatDIO& work) {
  for (auto field : {&TCatDIO::IS, &TCatDIO::N, &TCatDIO::RS, &TCatDIO::CJ, &TCatDIO::VJ, &TCatDIO::MJ,
                     &TCatDIO::Value7, &TCatDIO::Value8, &TCatDIO::Value9, &TCatDIO::BV, &TCatDIO::IBV,
                     &TCatDIO::RZ, &TCatDIO::EG, &TCatDIO::TT, &TCatDIO::Value15})
    record.*field = work.*field;
  TakeFittedModel(record.VDID, work.VDID);
  TakeFittedModel(record.VRCJ, work.VRCJ);
}

}  // namespace

long double DiodeTransitTime(double recoveryTime, double revForwRatio) {
  const long double ln = Ln(Quotient(1, revForwRatio, "TT") + 1, "TT");
  return Quotient(recoveryTime * 1e-9L, ln, "TT");
}

bool CheckDataDIO(const TCatDIO& r) {
  DatasheetCheck check;
  check.Curve(r.VDID, "IF - VF");
  check.Curve(r.VRCJ, "VR - CD");
  const std::pair<const ShortString<12>*, const char*> values[] = {
      {&r.BreakdownVoltText, "the breakdown voltage"}, {&r.BreakdownCurrText, "the breakdown current"},
      {&r.ZenerResistText, "the zener resistance"},    {&r.ForwCurrText, "the forward current"},
      {&r.RevForwRatioText, "the reverse to forward current ratio"},
      {&r.RecoveryTimeText, "the reverse recovery time"}};
  for (const auto& [text, what] : values) check.Value(text->str(), what);
  return check.Complete();
}

bool ComputeDIO(TCatDIO& record) {
  return RunComputation<TCatDIO>(record, CheckDataDIO(record), DiodeStages, TakeDiode);
}

}  // namespace pakro
