// The bipolar transistor model: five curve fits and the closed formulas of
// the Gummel-Poon parameters. The PNP record holds the magnitudes of its
// currents and voltages, so the same computation serves both polarities.
#include <algorithm>

#include "pakro/devices/compute_engine.h"
#include "pakro/devices/model_compute.h"

namespace pakro {

namespace {

namespace P = BipolarParam;
namespace D = BipolarData;

constexpr long double TwoPi = 6.283185307179586L;

void BipolarStages(TCatBipolar& r, TIteration& engine) {
  auto& par = r.Param;
  const auto& data = r.DataValue;
  auto store = [&](int slot, long double value, const char* name) { par[slot] = Stored(value, name); };
  ShowProgress(r.Name.str());

  // Base-emitter diode, in mA and kilohms.
  const ParamVector& be = FitCurve(engine, r.ICVBE, KindBaseEmitter, 3, 0.01, {0.002L, 0.02586L, 1e-13L});
  const long double RSP = Finite(be[0] * 1000, "RE");
  store(P::NF, be[1] / 0.02586L, "NF");
  store(P::IS, be[2] / 1000, "IS");
  ShowFittedModel(r.ICVBE, engine);
  par[P::NR] = par[P::NF];
  ShowProgress(r.Name.str());

  const EarlyVoltages early = BipolarEarlyVoltages(data[D::Hoe], data[D::HoeIC], data[D::HoeVCE]);
  store(P::VAF, early.VAF, "VAF");
  store(P::VAR, early.VAR, "VAR");
  ShowProgress(r.Name.str());

  // Current gain.
  par[P::BR] = 5.0;
  const int gainPoints = std::clamp(r.ICBETA.Count, 0, TGraph::MaxPoints);
  long double sum = 0;
  for (int i = 0; i < gainPoints; ++i) sum += r.ICBETA.Y[i];
  const long double betaMean = Quotient(sum, gainPoints, "RE");
  SetGainFitInputs(engine, r);
  const ParamVector& gain = FitCurve(engine, r.ICBETA, KindCurrentGain, 4, 0.01, {20, 1.0L, 1.5L, 1e-14L});
  store(P::BF, gain[0], "BF");
  store(P::IKF, gain[1], "IKF");
  store(P::NE, gain[2], "NE");
  store(P::ISE, gain[3], "ISE");
  ShowFittedModel(r.ICBETA, engine);
  par[P::ISC] = par[P::ISE];
  par[P::NC] = par[P::NE];
  par[P::IKR] = par[P::IKF];
  ShowProgress(r.Name.str());

  // Saturation voltage; IS, VAF, VAR and NR stay from the gain fit.
  SetSaturationFitInputs(engine, r);
  const ParamVector& sat = FitCurve(engine, r.ICVCE, KindSaturation, 2, 0.01, {1e-10L, 0.5L, par[P::NC]});
  const long double RSAT = sat[1];
  store(P::ISC, sat[0], "ISC");
  ShowFittedModel(r.ICVCE, engine);

  const BipolarResistances res = BipolarResistancesFrom(RSP, RSAT, betaMean);
  store(P::RE, res.RE, "RE");
  store(P::RB, res.RB, "RB");
  store(P::RC, res.RC, "RC");
  ShowProgress(r.Name.str());

  // Junction capacitances, in pF.
  const JunctionFit cob = FitJunctionCapacitance(engine, r.VCBCOBO, 0.01);
  store(P::CJC, cob.C0, "CJC");
  store(P::VJC, cob.VJ, "VJC");
  store(P::MJC, cob.MJ, "MJC");
  ShowFittedModel(r.VCBCOBO, engine);
  ShowProgress(r.Name.str());

  const JunctionFit cib = FitJunctionCapacitance(engine, r.VEBCIBO, 0.01);
  store(P::CJE, cib.C0, "CJE");
  store(P::VJE, cib.VJ, "VJE");
  store(P::MJE, cib.MJ, "MJE");
  ShowFittedModel(r.VEBCIBO, engine);

  par[P::KF] = 0.0;
  par[P::AF] = 1.0;
  par[P::EG] = 1.11;
  const long double TF = ForwardTransitTime(data[D::FT], par[P::CJC], par[P::RC]);
  store(P::TF, TF, "TF");
  store(P::TR, ReverseTransitTime(data[D::TS], data[D::ICIB], par[P::BF], par[P::BR], TF), "TR");
  ShowProgress(r.Name.str());

  // A model no real transistor has is not stored.
  const std::pair<int, const char*> physical[] = {{P::RE, "RE"},   {P::RB, "RB"}, {P::RC, "RC"}, {P::CJC, "CJC"},
                                                  {P::CJE, "CJE"}, {P::TF, "TF"}, {P::TR, "TR"}};
  for (const auto& [slot, name] : physical) NotBelowZero(par[slot], name);
}

void TakeBipolar(TCatBipolar& record, const TCatBipolar& work) {
  record.Param = work.Param;
  TakeFittedModel(record.ICVBE, work.ICVBE);
  TakeFittedModel(record.ICBETA, work.ICBETA);
  TakeFittedModel(record.ICVCE, work.ICVCE);
  TakeFittedModel(record.VCBCOBO, work.VCBCOBO);
  TakeFittedModel(record.VEBCIBO, work.VEBCIBO);
}

}  // namespace

EarlyVoltages BipolarEarlyVoltages(double hoe, double hoeIC, double hoeVCE) {
  const long double VAF = Finite(Quotient(1000.0L * hoeIC, hoe, "VAF") - hoeVCE, "VAF");
  return {VAF, VAF / 2};
}

BipolarResistances BipolarResistancesFrom(long double RSP, long double RSAT, long double betaMean) {
  const long double RE = Quotient(RSP, Quotient(40, betaMean + 1, "RE") + 1, "RE");
  const long double RB = Finite(40 * RE, "RB");
  const long double RC = Finite(RSAT - (Quotient(1, betaMean, "RC") + 1) * RE, "RC");
  return {RE, RB, RC};
}

long double ForwardTransitTime(double fT, long double CJC, long double RC) {
  return Finite(Quotient(1, fT * 1e6L * TwoPi, "TF") - CJC * RC, "TF");
}

long double ReverseTransitTime(double ts, double icib, long double BF, long double BR, long double TF) {
  const long double alphaF = Quotient(BF, BF + 1, "TR");
  const long double alphaR = Quotient(BR, BR + 1, "TR");
  const long double L = Ln(Quotient(2, Quotient(icib, BF, "TR") + 1, "TR"), "TR");
  const long double tau = Quotient(ts * 1e-9L, L, "TR");
  return Finite(Quotient(tau * (1 - alphaF * alphaR), alphaR, "TR") - Quotient(alphaF, alphaR, "TR") * TF,
                "TR");
}

bool CheckDataTRN(const TCatBipolar& r) {
  DatasheetCheck check(r.polarity() == Polarity::P);
  const std::pair<const TGraph*, const char*> curves[] = {
      {&r.ICVBE, "IC - VBE"}, {&r.ICVCE, "IC - VCE(sat)"}, {&r.ICBETA, "IC - hFE"},
      {&r.VCBCOBO, "VCB - Cob"}, {&r.VEBCIBO, "VEB - Cib"}};
  for (const auto& [curve, what] : curves) check.Curve(*curve, what);
  check.CurveParam(r.ICBETA, "IC - hFE");
  check.CurveParam(r.ICVCE, "IC - VCE(sat)");
  const std::pair<int, const char*> values[] = {{D::Hoe, "Hoe"}, {D::HoeIC, "IC of Hoe"}, {D::HoeVCE, "VCE of Hoe"},
                                                {D::FT, "fT"},   {D::ICIB, "IC/IB"},     {D::TS, "ts"}};
  for (const auto& [slot, what] : values) check.Value(r.DataText[slot].str(), what);
  return check.Complete();
}

bool ComputeBipolar(TCatBipolar& record) {
  return RunComputation<TCatBipolar>(record, CheckDataTRN(record), BipolarStages, TakeBipolar);
}

}  // namespace pakro
