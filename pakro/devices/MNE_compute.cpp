// The MOSFET model: fits of the drain current and of the output and
// feedback capacitances, a fit of the drain-bulk junction derived from the
// two capacitance fits, the gate overlap capacitances from the gate charge,
// the leakage resistance, and fixed values. The P-channel curves hold the
// magnitudes of its voltages and currents, so only the sign of VTO differs.
#include "pakro/devices/compute_engine.h"
#include "pakro/devices/model_compute.h"

namespace pakro {

namespace {

constexpr double FixedKP = 2e-5;  // transconductance parameter
constexpr double FixedL = 2e-6;   // channel length, m
constexpr long double PicoFarad = 1e12L;

void MosfetStages(TCatMOSFET& r, TIteration& engine) {
  ShowProgress(r.Name.str());
  r.KP = FixedKP;
  r.L = FixedL;

  // Drain current: threshold, gain (gives W) and source resistance. The
  // curve keeps the threshold as fitted.
  const ParamVector& id = FitCurve(engine, r.IdVgs, KindMosfetDrain, 3, 1e-4, {1.0L, 0.002L, 3.0L});
  r.VTO = Stored(r.polarity() == Polarity::N ? id[0] : -id[0], "VTO");
  r.W = Stored(2 * r.L / r.KP * id[1], "W");
  r.RS = Stored(id[2], "RS");
  ShowFittedModel(r.IdVgs, engine);
  ShowProgress(r.Name.str());

  const JunctionFit coss = FitJunctionCapacitance(engine, r.Coss, 0.01);
  r.CossC0 = Stored(coss.C0, "CossC0");
  r.CossVJ = Stored(coss.VJ, "CossVJ");
  r.CossMJ = Stored(coss.MJ, "CossMJ");
  ShowFittedModel(r.Coss, engine);
  ShowProgress(r.Name.str());

  const JunctionFit crss = FitJunctionCapacitance(engine, r.Crss, 0.01);
  r.CrssC0 = Stored(crss.C0, "CrssC0");
  r.CrssVJ = Stored(crss.VJ, "CrssVJ");
  r.CrssMJ = Stored(crss.MJ, "CrssMJ");
  ShowFittedModel(r.Crss, engine);

  // Drain-bulk junction: the fitted output capacitance less the fitted
  // feedback capacitance, at the abscissae of the longer curve.
  const TGraph& longer = r.Crss.Count > r.Coss.Count ? r.Crss : r.Coss;
  TGraph junction = longer;
  const ParamVector outputCap = {r.CossC0 * PicoFarad, r.CossVJ, r.CossMJ};
  const ParamVector feedbackCap = {r.CrssC0 * PicoFarad, r.CrssVJ, r.CrssMJ};
  for (int i = 0; i < junction.Count && i < TGraph::MaxPoints; ++i)
    junction.Y[i] = static_cast<double>(engine.Evaluate(outputCap, KindJunctionCap, junction.X[i]) -
                                        engine.Evaluate(feedbackCap, KindJunctionCap, junction.X[i]));
  const JunctionFit cbd = FitJunctionCapacitance(engine, junction, 0.01);
  r.CJBD = Stored(cbd.C0, "CJBD");
  r.VJ = Stored(cbd.VJ, "VJ");
  r.MJ = Stored(cbd.MJ, "MJ");
  ShowProgress(r.Name.str());

  const OverlapCapacitances overlap = MosfetOverlapCapacitances(r.Q0, r.Q1, r.Q2, r.VG, r.VDS1, r.VDS2, r.W);
  r.CGDO = Stored(overlap.CGDO, "CGDO");
  r.CGSO = Stored(overlap.CGSO, "CGSO");
  r.RDS = Stored(MosfetLeakageResistance(r.VDS, r.IDSS), "RDS");

  r.PHI = 0.6;
  r.GAMMA = 0;
  r.TOX = 1e-7;
  r.UO = 600;
  r.VMAX = 0;
  r.DELTA = 0;
  r.THETA = 0;
  r.ETA = 0;
  r.RD = r.RS;
  r.RG = 5;
  r.RB = 0;
  r.ISAT = 1e-14;
  r.N = 1.0;
  r.CBS = 0;
  r.TT = 2e-9;
  r.CGBO = 0;
  r.Extra1 = 0;
  r.Extra2 = 1.0;

  // A model no real MOSFET has is not stored: these are enhancement
  // transistors, off at VGS = 0, and none of their resistances and
  // capacitances is below zero.
  if (r.polarity() == Polarity::N ? !(r.VTO > 0) : !(r.VTO < 0))
    throw ComputeFault("its VTO would be " + FloatToText(FloatFormat::General, 3, 2, r.VTO) +
                       ", which makes the enhancement MOSFET conduct at VGS = 0");
  for (const auto& [value, name] : {std::pair{r.RS, "RS"}, {r.RDS, "RDS"}, {r.CossC0, "CossC0"},
                                    {r.CrssC0, "CrssC0"}, {r.CJBD, "CJBD"}, {r.CGSO, "CGSO"}, {r.CGDO, "CGDO"}})
    NotBelowZero(value, name);
}

void TakeMosfet(TCatMOSFET& record, const TCatMOSFET& work) {
  using M = TCatMOSFET;
  for (auto field : {&M::VTO,  &M::KP,     &M::PHI,    &M::GAMMA,  &M::TOX,    &M::UO,     &M::VMAX,
                     &M::DELTA, &M::THETA, &M::ETA,    &M::L,      &M::W,      &M::RD,     &M::RS,
                     &M::RG,   &M::RB,     &M::RDS,    &M::ISAT,   &M::N,      &M::VJ,     &M::CJBD,
                     &M::CBS,  &M::MJ,     &M::TT,     &M::CGSO,   &M::CGDO,   &M::CGBO,   &M::Extra1,
                     &M::Extra2, &M::CrssC0, &M::CossC0, &M::CrssVJ, &M::CossVJ, &M::CrssMJ, &M::CossMJ})
    record.*field = work.*field;
  TakeFittedModel(record.IdVgs, work.IdVgs);
  TakeFittedModel(record.Crss, work.Crss);
  TakeFittedModel(record.Coss, work.Coss);
}

}  // namespace

OverlapCapacitances MosfetOverlapCapacitances(double q0, double q1, double q2, double vg, double vds1,
                                              double vds2, long double W) {
  const long double cgdo = Quotient((static_cast<long double>(q2) - q1) * 1e-9L,
                                    static_cast<long double>(vds2) - vds1, "CGDO");
  const long double cgso = Finite(Quotient(q0 * 1e-9L, vg, "CGSO") - cgdo, "CGSO");
  return {Quotient(cgso, W, "CGSO"), Quotient(cgdo, W, "CGDO")};
}

long double MosfetLeakageResistance(double vds, double idss) { return Quotient(vds, idss * 1e-9L, "RDS"); }

bool CheckDataMNE(const TCatMOSFET& r) {
  DatasheetCheck check(r.polarity() == Polarity::P);
  check.Curve(r.IdVgs, "VGS - ID");
  check.Curve(r.Crss, "VDS - Crss");
  check.Curve(r.Coss, "VDS - Coss");
  const std::pair<const ShortString<12>*, const char*> values[] = {
      {&r.TextQ0, "Q of the 1st breakpoint"}, {&r.TextQ1, "Q1"},   {&r.TextQ2, "Q2"},
      {&r.TextVG, "VG"},                      {&r.TextVDS1, "Vds1"}, {&r.TextVDS2, "Vds2"},
      {&r.TextVDS, "VDS of IDSS"},            {&r.TextIDSS, "IDSS"}};
  for (const auto& [text, what] : values) check.Value(text->str(), what);
  return check.Complete();
}

bool ComputeMOSFET(TCatMOSFET& record) {
  return RunComputation<TCatMOSFET>(record, CheckDataMNE(record), MosfetStages, TakeMosfet);
}

}  // namespace pakro
