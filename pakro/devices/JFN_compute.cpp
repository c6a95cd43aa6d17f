// The JFET model: fits of the drain current, the feedback capacitance and
// the input capacitance, the channel-length modulation from the output
// conductance, and fixed values. The P-channel differs in the sign of VTO
// and of value 13 only.
#include <cmath>

#include "pakro/devices/compute_engine.h"
#include "pakro/devices/model_compute.h"

namespace pakro {

namespace {

void JfetStages(TCatJFET& r, TIteration& engine) {
  const bool nChannel = r.polarity() == Polarity::N;
  ShowProgress(r.Name.str());

  // Drain current in mA: threshold (V), gain (mA/V²), source resistance (kΩ).
  // The gain starts at the largest extended value below 2.
  const long double belowTwo = 2.0L - std::ldexp(1.0L, -63);
  const ParamVector& id = FitCurve(engine, r.CurveVGSID, KindJfetDrain, 3, 0.001, {-1.0L, belowTwo, 0.001L});
  r.VTO = Stored(nChannel ? id[0] : -id[0], "VTO");
  r.BETA = Stored(id[1] / 1000, "BETA");
  r.RS = Stored(id[2] * 1000, "RS");
  ShowFittedModel(r.CurveVGSID, engine);
  ShowProgress(r.Name.str());

  r.LAMBDA = Stored(JfetLambda(r.Gos, r.GosID), "LAMBDA");
  ShowProgress(r.Name.str());

  // Feedback capacitance in pF; the grading coefficient is held at 0.5.
  engine.Bias32 = r.CurveVXSCRSS.CurveParam;
  const ParamVector& crs = FitCurve(engine, r.CurveVXSCRSS, KindJfetBiasedCap, 2, 0.01, {30, 0.75L, 0.5L});
  r.CGD = Stored(crs[0] * 1e-12L, "CGD");
  r.VJ = Stored(crs[1], "VJ");
  r.MJ = Stored(crs[2], "MJ");
  ShowFittedModel(r.CurveVXSCRSS, engine);
  ShowProgress(r.Name.str());

  // Input capacitance: the gate-source junction beside the gate-drain one
  // just fitted.
  engine.Bias33 = r.CurveVGSCISS.CurveParam;
  engine.CGD33 = r.CGD;
  const ParamVector& cis = FitCurve(engine, r.CurveVGSCISS, KindJfetTwoJunctions, 1, 0.01, {30, r.VJ, r.MJ});
  r.CGS = Stored(cis[0] * 1e-12L, "CGS");
  ShowFittedModel(r.CurveVGSCISS, engine);
  ShowProgress(r.Name.str());

  r.RD = 1.0;
  r.IS = 1e-14;
  r.Value11 = 1.11;
  r.Value12 = -0.0025;
  r.Value13 = nChannel ? -0.5 : 0.5;
  r.Value14 = 0;
  r.Value15 = 1.0;

  // A model no real JFET has is not stored.
  NotBelowZero(r.RS, "RS");
  NotBelowZero(r.CGD, "CGD");
  NotBelowZero(r.CGS, "CGS");
}

void TakeJfet(TCatJFET& record, const TCatJFET& work) {
  for (auto field : {&TCatJFET::VTO, &TCatJFET::BETA, &TCatJFET::LAMBDA, &TCatJFET::RD, &TCatJFET::RS,
                     &TCatJFET::CGD, &TCatJFET::CGS, &TCatJFET::MJ, &TCatJFET::VJ, &TCatJFET::IS,
                     &TCatJFET::Value11, &TCatJFET::Value12, &TCatJFET::Value13, &TCatJFET::Value14,
                     &TCatJFET::Value15})
    record.*field = work.*field;
  TakeFittedModel(record.CurveVGSID, work.CurveVGSID);
  TakeFittedModel(record.CurveVXSCRSS, work.CurveVXSCRSS);
  TakeFittedModel(record.CurveVGSCISS, work.CurveVGSCISS);
}

}  // namespace

long double JfetLambda(double gos, double gosID) { return Quotient(gos, gosID * 1000.0L, "LAMBDA"); }

bool CheckDataJFN(const TCatJFET& r) {
  DatasheetCheck check(r.polarity() == Polarity::P);
  check.Curve(r.CurveVGSID, "VGS - ID");
  check.Curve(r.CurveVXSCRSS, "Crs");
  check.Curve(r.CurveVGSCISS, "VGS - Cis");
  check.CurveParam(r.CurveVXSCRSS, "Crs");
  check.CurveParam(r.CurveVGSCISS, "VGS - Cis");
  check.Value(r.GosText.str(), "Gos");
  check.Value(r.GosIDText.str(), "ID of Gos");
  return check.Complete();
}

bool ComputeJFET(TCatJFET& record) {
  return RunComputation<TCatJFET>(record, CheckDataJFN(record), JfetStages, TakeJfet);
}

}  // namespace pakro
