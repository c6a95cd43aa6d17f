// The model computations of every device kind: the closed formulas on
// worked numbers, the fixed values and progress marks of a complete
// computation, curves generated from known parameters fitted back, the
// completeness checks and the formulas that have no value.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "pakro/devices/compute_engine.h"
#include "pakro/shell/compute_progress.h"
#include "pakro/shell/frame_state.h"
#include "pakro/tests/library_test_support.h"
#include "pakro/devices/model_compute.h"
#include "platform/scripted_dialogs.h"
#include "pakro/tests/synthetic_records.h"

namespace pakro {
namespace {

using platform::Answer;
using platform::MessageKind;
using platform::testing::ScriptedMessages;
namespace P = BipolarParam;
namespace D = BipolarData;

// Records what a computation tells the dialogs; `onMark` runs inside every
// progress mark, where the real dialog lets queued input run.
class RecordingReport final : public ComputeProgress {
 public:
  RecordingReport() : previous_(setComputeProgress(this)) {}
  ~RecordingReport() override { setComputeProgress(previous_); }
  void Mark(std::string_view name) override {
    marks.emplace_back(name);
    if (onMark) onMark(static_cast<int>(marks.size()));
  }
  void ShowCheck(std::string_view fault) override {
    ++checkDialogs;
    lastFault = std::string(fault);
  }

  std::vector<std::string> marks;
  int checkDialogs = 0;
  std::string lastFault;
  std::function<void(int mark)> onMark;

 private:
  ComputeProgress* previous_;
};

// Everything a record holds, as its library lines plus the fitted models of
// its curves, so that "nothing changed" can be compared whole.
void AddCurve(std::ostringstream& out, const TGraph& g) {
  out << "fitted " << g.ShowFitted << " kind " << int(g.FitKind);
  for (long double p : g.FitParams) out << ' ' << static_cast<double>(p);
  out << '\n';
}

template <class Rec>
std::string Snapshot(const Rec& r, void (*write)(const Rec&, platform::TextFileWriter&),
                     std::initializer_list<const TGraph*> curves) {
  testing::ScratchDir dir;
  const std::string path = dir.Path("record.lbr");
  {
    platform::TextFileWriter out(path);
    write(r, out);
    out.commit();
  }
  std::ostringstream text;
  text << testing::ReadBytes(path);
  for (const TGraph* g : curves) AddCurve(text, *g);
  return text.str();
}

std::string Snapshot(const TCatDIO& r) { return Snapshot<TCatDIO>(r, WriteCatDIO, {&r.VDID, &r.VRCJ}); }
std::string Snapshot(const TCatBipolar& r) {
  return Snapshot<TCatBipolar>(r, WriteCatBipolar, {&r.ICVBE, &r.ICBETA, &r.ICVCE, &r.VCBCOBO, &r.VEBCIBO});
}
std::string Snapshot(const TCatJFET& r) {
  return Snapshot<TCatJFET>(r, WriteCatJFET, {&r.CurveVGSID, &r.CurveVXSCRSS, &r.CurveVGSCISS});
}
std::string Snapshot(const TCatMOSFET& r) {
  return Snapshot<TCatMOSFET>(r, WriteCatMOSFET, {&r.IdVgs, &r.Crss, &r.Coss});
}
std::string Snapshot(const TCatCOR& r) { return Snapshot<TCatCOR>(r, WriteCatCOR, {&r.BH}); }

class ModelCompute : public ::testing::Test {
 protected:
  void SetUp() override { resetFrameState(); }
  ScriptedMessages messages;
  RecordingReport report;
};

// The truths of the synthetic records, chosen where the fits of the
// computations (with their own start values and tolerances) find them.
synthetic::JfetTruth Jfet() {
  synthetic::JfetTruth t;
  t.bias32 = 0;  // with a bias the feedback curve hardly tells C0 from VJ
  t.bias33 = 5;
  return t;
}
synthetic::MosfetTruth Mosfet() {
  synthetic::MosfetTruth t;
  t.drain = {2, 0.003L, 1};
  return t;
}

// ---- closed formulas on worked numbers -------------------------------------

TEST(ClosedFormulas, WorkedNumbers) {
  struct Row {
    const char* what;
    long double got, expected, relative;
  };
  const EarlyVoltages early = BipolarEarlyVoltages(10, 1, 5);
  const BipolarResistances res = BipolarResistancesFrom(10, 20, 99);
  const OverlapCapacitances overlap = MosfetOverlapCapacitances(20, 5, 15, 10, 10, 40, 0.02L);
  const Row rows[] = {
      {"VAF", early.VAF, 95, 1e-15L},
      {"VAR", early.VAR, 47.5L, 1e-15L},
      {"RE", res.RE, 10 / 1.4L, 1e-15L},
      {"RB", res.RB, 285.7142857142857L, 1e-15L},
      {"RC", res.RC, 12.784992784992784L, 1e-15L},
      // 1 / (2π fT) - CJC·RC
      {"TF", ForwardTransitTime(100, 10e-12L, 12.785L), 1.4636994309189536e-09L, 1e-12L},
      {"TR", ReverseTransitTime(200, 10, 150, 5, 1.4636994309189536e-09L), 6.399482690889102e-08L, 1e-12L},
      {"diode TT", DiodeTransitTime(100, 1), 1.4426950408889633e-07L, 1e-12L},
      {"LAMBDA", JfetLambda(10, 1), 0.01L, 1e-15L},
      {"CGDO", overlap.CGDO, 10e-9L / 30 / 0.02L, 1e-12L},
      {"CGSO", overlap.CGSO, (2e-9L - 10e-9L / 30) / 0.02L, 1e-12L},
      {"RDS", MosfetLeakageResistance(100, 100), 1e9L, 1e-15L},
  };
  for (const Row& r : rows) EXPECT_NEAR(r.got, r.expected, std::fabs(r.expected) * r.relative) << r.what;
}

TEST(ClosedFormulas, RefuseWhatHasNoValue) {
  struct Row {
    const char* what;
    std::function<long double()> formula;
    const char* fault;
  };
  const Row rows[] = {
      {"Hoe 0", [] { return BipolarEarlyVoltages(0, 1, 5).VAF; }, "division by zero in the formula of VAF"},
      {"mean gain -1", [] { return BipolarResistancesFrom(10, 20, -1).RE; }, "division by zero in the formula of RE"},
      {"mean gain -41", [] { return BipolarResistancesFrom(10, 20, -41).RE; }, "division by zero in the formula of RE"},
      {"mean gain 0", [] { return BipolarResistancesFrom(10, 20, 0).RC; }, "division by zero in the formula of RC"},
      {"fT 0", [] { return ForwardTransitTime(0, 1e-11L, 10); }, "division by zero in the formula of TF"},
      {"BF 0", [] { return ReverseTransitTime(200, 10, 0, 5, 1e-9L); }, "division by zero in the formula of TR"},
      {"BF -1", [] { return ReverseTransitTime(200, 10, -1, 5, 1e-9L); }, "division by zero in the formula of TR"},
      {"IC/IB = -BF", [] { return ReverseTransitTime(200, -150, 150, 5, 1e-9L); },
       "division by zero in the formula of TR"},
      {"IC/IB = BF", [] { return ReverseTransitTime(200, 150, 150, 5, 1e-9L); }, "division by zero in the formula of TR"},
      {"IC/IB < -BF", [] { return ReverseTransitTime(200, -1000, 150, 5, 1e-9L); },
       "logarithm of a value not greater than 0 in the formula of TR"},
      {"ratio 0", [] { return DiodeTransitTime(100, 0); }, "division by zero in the formula of TT"},
      {"ratio -0.5", [] { return DiodeTransitTime(100, -0.5); },
       "logarithm of a value not greater than 0 in the formula of TT"},
      {"ratio -1", [] { return DiodeTransitTime(100, -1); }, "logarithm of a value not greater than 0 in the formula of TT"},
      {"GosID 0", [] { return JfetLambda(10, 0); }, "division by zero in the formula of LAMBDA"},
      {"VDS2 = VDS1", [] { return MosfetOverlapCapacitances(20, 5, 15, 10, 10, 10, 0.02L).CGDO; },
       "division by zero in the formula of CGDO"},
      {"VG 0", [] { return MosfetOverlapCapacitances(20, 5, 15, 0, 10, 40, 0.02L).CGSO; },
       "division by zero in the formula of CGSO"},
      {"W 0", [] { return MosfetOverlapCapacitances(20, 5, 15, 10, 10, 40, 0).CGSO; },
       "division by zero in the formula of CGSO"},
      {"IDSS 0", [] { return MosfetLeakageResistance(100, 0); }, "division by zero in the formula of RDS"},
      {"VAF beyond a double", [] { return static_cast<long double>(Stored(BipolarEarlyVoltages(1e-300, 1e10, 5).VAF, "VAF")); },
       "the formula of VAF gives no finite number"},
  };
  for (const Row& r : rows) {
    try {
      const long double value = r.formula();
      ADD_FAILURE() << r.what << " gave " << static_cast<double>(value);
    } catch (const ComputeFault& fault) {
      EXPECT_STREQ(fault.what(), r.fault) << r.what;
    }
  }
}

// ---- complete computations: fixed values, progress marks, results ---------

TEST_F(ModelCompute, DiodeSetsItsFixedValuesAndMakesThreeMarks) {
  TCatDIO r;
  synthetic::FillDiode(r, "1N4148");
  r.Value7 = r.Value8 = r.Value9 = r.EG = r.Value15 = 99;
  CheckFailed = 1;
  ASSERT_TRUE(ComputeDIO(r));
  EXPECT_TRUE(r.Computed);
  EXPECT_EQ(CheckFailed, 0);
  EXPECT_EQ(report.marks, std::vector<std::string>(3, "1N4148"));
  EXPECT_EQ(r.Value7, 0.5L);
  EXPECT_EQ(r.Value8, 0);
  EXPECT_EQ(r.Value9, 1.0L);
  EXPECT_EQ(r.EG, 1.11L);
  EXPECT_EQ(r.Value15, 3.0L);
  EXPECT_EQ(r.BV, 100);
  EXPECT_EQ(r.RZ, 10);
  EXPECT_NEAR(r.IBV, 0.005L, 1e-18L);
  EXPECT_NEAR(r.TT, 1.4426950408889633e-07L, 1e-19L);
  // each curve shows the model fitted to it, in the units of its points
  ASSERT_TRUE(r.VDID.ShowFitted && r.VRCJ.ShowFitted);
  EXPECT_EQ(r.VDID.FitKind, KindDiodeForward);
  EXPECT_EQ(r.VRCJ.FitKind, KindJunctionCap);
  EXPECT_NEAR(r.RS, r.VDID.FitParams[0] * 1000, 1e-12L);
  EXPECT_NEAR(r.N, r.VDID.FitParams[1] / 0.02586L, 1e-12L);
  EXPECT_NEAR(r.CJ, r.VRCJ.FitParams[0] * 1e-12L, 1e-24L);
}

TEST_F(ModelCompute, BipolarSetsItsFixedValuesAndMakesSevenMarks) {
  TCatTRN r;
  synthetic::FillBipolar(r, "BC547");
  for (int slot : {P::KF, P::AF, P::EG, P::BR}) r.Param[slot] = 99;
  ASSERT_TRUE(ComputeTRN(r));
  EXPECT_TRUE(r.Computed);
  EXPECT_EQ(CheckFailed, 0);
  EXPECT_EQ(report.marks, std::vector<std::string>(7, "BC547"));
  const auto& p = r.Param;
  EXPECT_EQ(p[P::KF], 0.0);
  EXPECT_EQ(p[P::AF], 1.0);
  EXPECT_EQ(p[P::EG], 1.11);
  EXPECT_EQ(p[P::BR], 5.0);
  EXPECT_EQ(p[P::VAF], 95);
  EXPECT_EQ(p[P::VAR], 47.5);
  EXPECT_EQ(p[P::NR], p[P::NF]);
  EXPECT_EQ(p[P::NC], p[P::NE]);
  EXPECT_EQ(p[P::IKR], p[P::IKF]);
  // ISC is the saturation fit's own, not the copy of ISE
  EXPECT_EQ(r.ICVCE.FitKind, KindSaturation);
  EXPECT_EQ(p[P::ISC], static_cast<double>(r.ICVCE.FitParams[0]));
  EXPECT_NE(p[P::ISC], p[P::ISE]);
  // the resistances and transit times follow from the fits by the formulas
  double sum = 0;
  for (int i = 0; i < r.ICBETA.Count; ++i) sum += r.ICBETA.Y[i];
  const BipolarResistances res =
      BipolarResistancesFrom(r.ICVBE.FitParams[0] * 1000, r.ICVCE.FitParams[1], sum / r.ICBETA.Count);
  EXPECT_DOUBLE_EQ(p[P::RE], static_cast<double>(res.RE));
  EXPECT_DOUBLE_EQ(p[P::RC], static_cast<double>(res.RC));
  EXPECT_DOUBLE_EQ(p[P::RB], 40 * p[P::RE]);
  EXPECT_DOUBLE_EQ(p[P::TF], static_cast<double>(ForwardTransitTime(100, p[P::CJC], p[P::RC])));
  EXPECT_DOUBLE_EQ(p[P::TR], static_cast<double>(ReverseTransitTime(200, 10, p[P::BF], 5, p[P::TF])));
  // the gain and saturation curves keep the inputs they were fitted with
  EXPECT_EQ(r.ICBETA.FitInputs.VCE, 5);
  EXPECT_EQ(r.ICBETA.FitInputs.VAF, 95);
  EXPECT_EQ(r.ICVCE.FitInputs.ICIB, 10);
  EXPECT_EQ(r.ICVCE.FitInputs.BF, p[P::BF]);
  EXPECT_EQ(r.ICVCE.FitParams[2], p[P::NC]);
}

TEST_F(ModelCompute, JfetSetsItsFixedValuesAndMakesFiveMarks) {
  TCatJFN n;
  synthetic::FillJfet(n, "2N5457", Jfet());
  ASSERT_TRUE(ComputeJFN(n));
  EXPECT_EQ(report.marks, std::vector<std::string>(5, "2N5457"));
  EXPECT_EQ(CheckFailed, 0);
  EXPECT_EQ(n.MJ, 0.5);
  EXPECT_EQ(n.RD, 1.0);
  EXPECT_EQ(n.IS, 1e-14);
  EXPECT_EQ((std::vector<double>{n.Value11, n.Value12, n.Value13, n.Value14, n.Value15}),
            (std::vector<double>{1.11, -0.0025, -0.5, 0, 1.0}));
  EXPECT_DOUBLE_EQ(n.LAMBDA, 0.01);
  // the input capacitance is fitted beside the gate-drain junction just found
  EXPECT_EQ(n.CurveVGSCISS.FitInputs.CGD33, n.CGD);
  EXPECT_EQ(n.CurveVGSCISS.FitInputs.Bias33, 5);
  EXPECT_EQ(n.CurveVGSCISS.FitParams[1], n.VJ);

  // the P-channel: the same points give the opposite VTO and value 13, and
  // its curve keeps the threshold as fitted
  TCatJFP p;
  synthetic::FillJfet(p, "2N5460", Jfet());
  ASSERT_TRUE(ComputeJFP(p));
  EXPECT_EQ(p.VTO, -n.VTO);
  EXPECT_LT(n.VTO, 0);
  EXPECT_EQ(p.Value13, 0.5);
  EXPECT_EQ(p.CurveVGSID.FitParams[0], n.CurveVGSID.FitParams[0]);
  EXPECT_EQ(p.BETA, n.BETA);
  EXPECT_EQ(p.CGS, n.CGS);
}

TEST_F(ModelCompute, MosfetSetsItsFixedValuesAndMakesFourMarks) {
  TCatMNE n;
  synthetic::FillMosfet(n, "IRF540", Mosfet());
  ASSERT_TRUE(ComputeMNE(n));
  EXPECT_EQ(report.marks, std::vector<std::string>(4, "IRF540"));
  EXPECT_EQ(CheckFailed, 0);
  EXPECT_EQ(n.KP, 2e-5);
  EXPECT_EQ(n.L, 2e-6);
  EXPECT_DOUBLE_EQ(n.W, static_cast<double>(0.2L * n.IdVgs.FitParams[1]));
  EXPECT_EQ(n.RD, n.RS);
  EXPECT_EQ(n.N, 1.0);
  EXPECT_EQ(n.Extra2, 1.0);
  EXPECT_EQ((std::vector<double>{n.PHI, n.GAMMA, n.TOX, n.UO, n.VMAX, n.DELTA, n.THETA, n.ETA, n.RG, n.RB,
                                 n.ISAT, n.CBS, n.TT, n.CGBO, n.Extra1}),
            (std::vector<double>{0.6, 0, 1e-7, 600, 0, 0, 0, 0, 5, 0, 1e-14, 0, 2e-9, 0, 0}));
  const OverlapCapacitances overlap = MosfetOverlapCapacitances(20, 5, 15, 10, 10, 40, n.W);
  EXPECT_DOUBLE_EQ(n.CGDO, static_cast<double>(overlap.CGDO));
  EXPECT_DOUBLE_EQ(n.CGSO, static_cast<double>(overlap.CGSO));
  EXPECT_DOUBLE_EQ(n.RDS, 1e9);
  // the drain-bulk junction: fitted output less fitted feedback capacitance
  EXPECT_GT(n.CJBD, 0);
  EXPECT_LT(n.CJBD, n.CossC0);

  TCatMPE p;
  synthetic::FillMosfet(p, "IRF9540", Mosfet());
  ASSERT_TRUE(ComputeMPE(p));
  EXPECT_EQ(p.VTO, -n.VTO);
  EXPECT_GT(n.VTO, 0);
  EXPECT_EQ(static_cast<double>(p.IdVgs.FitParams[0]), n.VTO);  // the curve keeps the fitted threshold
  EXPECT_EQ(p.W, n.W);
}

TEST_F(ModelCompute, MosfetJunctionUsesTheLongerCapacitanceCurve) {
  // The fit of the fitted output less the fitted feedback capacitance, at
  // the abscissae of `source`.
  auto junctionFit = [](const TCatMOSFET& r, const TGraph& source) {
    THysteric table;
    const ParamVector coss = {r.CossC0 * 1e12L, r.CossVJ, r.CossMJ};
    const ParamVector crss = {r.CrssC0 * 1e12L, r.CrssVJ, r.CrssMJ};
    TIteration engine;
    engine.X = source.X;
    engine.Count = source.Count;
    for (int i = 0; i < source.Count; ++i)
      engine.Y[i] = static_cast<double>(ModelValue(coss, KindJunctionCap, source.X[i], {}, table) -
                                        ModelValue(crss, KindJunctionCap, source.X[i], {}, table));
    engine.Kind = KindJunctionCap;
    engine.NParams = 3;
    engine.Tolerance = 0.01;
    engine.P = {30, 0.75L, 0.33L};
    engine.Fit();
    return static_cast<double>(engine.P[0] / 1e12L);
  };
  struct Case {
    int crssPoints, cossPoints;
    bool fromCrss;
  };
  for (const Case c : {Case{7, 5, true}, Case{5, 7, false}, Case{6, 6, false}}) {
    TCatMNE r;
    synthetic::FillMosfet(r, "M", Mosfet());
    synthetic::FillCurve(r.Crss, KindJunctionCap, Mosfet().crss, {0.5, 1.5, 3, 6, 12, 25, 40});
    r.Crss.Count = c.crssPoints;
    r.Coss.Count = c.cossPoints;
    ASSERT_TRUE(ComputeMNE(r));
    const double viaCrss = junctionFit(r, r.Crss), viaCoss = junctionFit(r, r.Coss);
    ASSERT_NE(viaCrss, viaCoss);
    EXPECT_EQ(r.CJBD, c.fromCrss ? viaCrss : viaCoss) << c.crssPoints << " and " << c.cossPoints << " points";
  }
}

TEST_F(ModelCompute, CoreConvertsItsGeometryAndMakesThreeMarks) {
  TCatCOR r;
  synthetic::FillCore(r, "N87");
  ASSERT_TRUE(ComputeCOR(r));
  EXPECT_EQ(report.marks, std::vector<std::string>(3, "N87"));
  EXPECT_EQ(CheckFailed, 0);
  EXPECT_NEAR(r.Area, 1.5e-4L, 1e-18L);
  EXPECT_NEAR(r.Length, 0.08L, 1e-17L);
  EXPECT_NEAR(r.Gap, 5e-4L, 1e-18L);
  EXPECT_EQ(r.Pack, r.DsPack);
  EXPECT_EQ(r.BH.FitKind, KindFluxDensity);
  EXPECT_EQ((std::vector<long double>{r.A, r.C, r.K, r.MS}),
            (std::vector<long double>(r.BH.FitParams.begin(), r.BH.FitParams.begin() + 4)));
}

TEST_F(ModelCompute, PnpGivesTheParametersOfTheSameNpnDatasheet) {
  TCatTRN n;
  TCatTRP p;
  synthetic::FillBipolar(n, "Q");
  synthetic::FillBipolar(p, "Q");
  ASSERT_TRUE(ComputeTRN(n));
  ASSERT_TRUE(ComputeTRP(p));
  EXPECT_EQ(n.Param, p.Param);
}

// A computed record written to a library and read back draws the same fitted
// curves: the reader arms each curve from the stored values with the model,
// parameters and inputs that the computation gave it (the P-channel MOSFET
// and JFET with the threshold as fitted, not the stored VTO).
template <class List, class Rec, class Fill>
void ExpectReadBackCurves(Fill fill, bool (*compute)(Rec&), std::initializer_list<TGraph Rec::*> curves) {
  testing::ScratchDir dir;
  List list;
  list.AddItem();
  list.AddItem();
  auto& computed = list.Items(1);
  fill(computed);
  ASSERT_TRUE(compute(computed));
  list.WriteLibrary(dir.Path("lib.lbr"));
  List back;
  LibraryFile file(dir.Path("lib.lbr"));
  back.ReadLibrary(file);
  const auto& read = back.Items(1);
  ASSERT_TRUE(read.Computed);
  for (auto curve : curves) {
    const TGraph& a = computed.*curve;
    const TGraph& b = read.*curve;
    EXPECT_TRUE(b.ShowFitted);
    EXPECT_EQ(b.FitKind, a.FitKind);
    // the library keeps six digits
    for (int i = 0; i < 4; ++i)
      EXPECT_NEAR(b.FitParams[i], a.FitParams[i], std::fabs(a.FitParams[i]) * 1e-5L)
          << "kind " << int(a.FitKind) << ", P" << i + 1;
    FittedCurve ca, cb;
    a.ComputeCurve(ca);
    b.ComputeCurve(cb);
    for (int k = 0; k < FittedCurve::Points; ++k)
      EXPECT_NEAR(cb.Y[k], ca.Y[k], std::fabs(ca.Y[k]) * 1e-3L + 1e-9L) << "kind " << int(a.FitKind) << ", x " << double(ca.X[k]);
  }
}

TEST_F(ModelCompute, CurvesReadBackAsComputed) {
  ExpectReadBackCurves<TCatListDIO, TCatDIO>([](TCatDIO& r) { synthetic::FillDiode(r, "D"); }, ComputeDIO,
                                    {&TCatDIO::VDID, &TCatDIO::VRCJ});
  ExpectReadBackCurves<TCatListTRP, TCatTRP>([](TCatTRP& r) { synthetic::FillBipolar(r, "Q"); }, ComputeTRP,
                                    {&TCatTRP::ICVBE, &TCatTRP::ICBETA, &TCatTRP::ICVCE, &TCatTRP::VCBCOBO,
                                     &TCatTRP::VEBCIBO});
  ExpectReadBackCurves<TCatListJFP, TCatJFP>([](TCatJFP& r) { synthetic::FillJfet(r, "J", Jfet()); }, ComputeJFP,
                                    {&TCatJFP::CurveVGSID, &TCatJFP::CurveVXSCRSS, &TCatJFP::CurveVGSCISS});
  ExpectReadBackCurves<TCatListMPE, TCatMPE>([](TCatMPE& r) { synthetic::FillMosfet(r, "M", Mosfet()); }, ComputeMPE,
                                    {&TCatMPE::IdVgs, &TCatMPE::Crss, &TCatMPE::Coss});
  ExpectReadBackCurves<TCatListCOR, TCatCOR>([](TCatCOR& r) { synthetic::FillCore(r, "C"); }, ComputeCOR, {&TCatCOR::BH});
}

// ---- fitting back curves of known parameters -------------------------------

// Each curve's fitted model passes within `curveTolerance` of the curve's
// largest value at every point; the parameters that the data determine come
// back within their stated relative tolerance.
double CurveDeviation(const TGraph& g) {
  THysteric table;
  double scale = 0, worst = 0;
  for (int i = 0; i < g.Count; ++i) scale = std::max(scale, std::fabs(g.Y[i]));
  for (int i = 0; i < g.Count; ++i) {
    const long double fitted = ModelValue(g.FitParams, g.FitKind, g.X[i], g.FitInputs, table);
    worst = std::max(worst, static_cast<double>(std::fabs(fitted - g.Y[i])) / scale);
  }
  return worst;
}

struct Recovered {
  const char* what;
  long double got, truth, relative;
};

void ExpectRecovered(const std::vector<Recovered>& rows, std::initializer_list<const TGraph*> curves) {
  constexpr double curveTolerance = 0.01;
  for (const Recovered& r : rows)
    EXPECT_NEAR(r.got, r.truth, std::fabs(r.truth) * r.relative) << r.what;
  int index = 0;
  for (const TGraph* g : curves) EXPECT_LT(CurveDeviation(*g), curveTolerance) << "curve " << index++;
}

TEST_F(ModelCompute, FitsBackDiodeCurves) {
  TCatDIO r;
  synthetic::FillDiode(r, "D");
  ASSERT_TRUE(ComputeDIO(r));
  ExpectRecovered({{"RS", r.RS, 2, 0.02L},
                   {"N", r.N, 1.6L, 0.05L},
                   {"CJ", r.CJ, 40e-12L, 1e-4L},
                   {"VJ", r.VJ, 0.7L, 1e-4L},
                   {"MJ", r.MJ, 0.45L, 1e-4L}},
                  {&r.VDID, &r.VRCJ});
}

TEST_F(ModelCompute, FitsBackBipolarCurves) {
  TCatTRN r;
  synthetic::FillBipolar(r, "Q");
  ASSERT_TRUE(ComputeTRN(r));
  const auto& p = r.Param;
  // The forward gain is IC/IB at the collector current, so the fit finds
  // BF itself (not BF - 1).
  ExpectRecovered({{"NF", p[P::NF], 1, 0.01L},
                   {"IS", p[P::IS], 1e-14L, 0.02L},
                   {"BF", p[P::BF], 150, 0.005L},
                   {"IKF", p[P::IKF], 0.2L, 0.01L},
                   {"NE", p[P::NE], 1.5L, 0.01L},
                   {"ISE", p[P::ISE], 1e-13L, 0.02L},
                   {"RSAT", r.ICVCE.FitParams[1], 2, 0.01L},
                   {"CJC", p[P::CJC], 10e-12L, 0.01L},
                   {"MJC", p[P::MJC], 0.33L, 0.02L},
                   {"CJE", p[P::CJE], 25e-12L, 0.01L},
                   {"VJE", p[P::VJE], 0.8L, 0.1L}},
                  {&r.ICVBE, &r.ICBETA, &r.ICVCE, &r.VCBCOBO, &r.VEBCIBO});
}

TEST_F(ModelCompute, FitsBackJfetCurves) {
  TCatJFN r;
  synthetic::FillJfet(r, "J", Jfet());
  ASSERT_TRUE(ComputeJFN(r));
  ExpectRecovered({{"VTO", r.VTO, -2, 0.05L},
                   {"CGD", r.CGD, 5e-12L, 0.002L},
                   {"VJ", r.VJ, 0.8L, 0.005L},
                   {"CGS", r.CGS, 8e-12L, 0.002L}},
                  {&r.CurveVGSID, &r.CurveVXSCRSS, &r.CurveVGSCISS});
}

TEST_F(ModelCompute, FitsBackMosfetCurves) {
  TCatMNE r;
  synthetic::FillMosfet(r, "M", Mosfet());
  ASSERT_TRUE(ComputeMNE(r));
  ExpectRecovered({{"VTO", r.VTO, 2, 0.05L},
                   {"W", r.W, 0.2L * 0.003L, 0.05L},
                   {"CossC0", r.CossC0, 300e-12L, 0.01L},
                   {"CrssC0", r.CrssC0, 50e-12L, 0.01L},
                   {"CrssMJ", r.CrssMJ, 0.5L, 0.05L}},
                  {&r.IdVgs, &r.Coss, &r.Crss});
}

TEST_F(ModelCompute, FitsBackCoreLoop) {
  TCatCOR r;
  synthetic::FillCore(r, "C");
  ASSERT_TRUE(ComputeCOR(r));
  ExpectRecovered({{"a", r.A, 1000, 0.01L}, {"c", r.C, 0.2L, 0.05L}, {"k", r.K, 500, 0.01L}, {"Ms", r.MS, 1.2e6L, 0.01L}},
                  {&r.BH});
}

// ---- incomplete datasheets --------------------------------------------------

// A computation refused by its check: the check dialog, CheckFailed 1, no
// mark, and the record as it was (an earlier computation's results kept).
template <class Rec>
void ExpectRefused(RecordingReport& report, Rec& r, bool (*compute)(Rec&), const char* what) {
  const std::string before = Snapshot(r);
  const bool wasComputed = r.Computed;
  report.marks.clear();
  report.checkDialogs = 0;
  CheckFailed = 0;
  EXPECT_FALSE(compute(r)) << what;
  EXPECT_EQ(report.checkDialogs, 1) << what;
  EXPECT_EQ(CheckFailed, 1) << what;
  EXPECT_TRUE(report.marks.empty()) << what;
  EXPECT_EQ(r.Computed, wasComputed) << what;
  EXPECT_EQ(Snapshot(r), before) << what;
}

TEST_F(ModelCompute, IncompleteDatasheetsAreNotFitted) {
  {
    TCatDIO computed;
    synthetic::FillDiode(computed, "D");
    ASSERT_TRUE(ComputeDIO(computed));
    const std::vector<std::pair<const char*, std::function<void(TCatDIO&)>>> cases = {
        {"no forward point", [](TCatDIO& r) { r.VDID.Count = 0; }},
        {"no capacitance point", [](TCatDIO& r) { r.VRCJ.Count = 0; }},
        {"forward current empty", [](TCatDIO& r) { r.ForwCurrText = ""; }},
        {"recovery time empty", [](TCatDIO& r) { r.RecoveryTimeText = ""; }},
    };
    for (const auto& [what, spoil] : cases) {
      TCatDIO r = computed;
      spoil(r);
      ExpectRefused<TCatDIO>(report, r, ComputeDIO, what);
    }
  }
  {
    TCatTRN computed;
    synthetic::FillBipolar(computed, "Q");
    ASSERT_TRUE(ComputeTRN(computed));
    for (TGraph TCatBipolar::*curve :
         {&TCatBipolar::ICVBE, &TCatBipolar::ICBETA, &TCatBipolar::ICVCE, &TCatBipolar::VCBCOBO, &TCatBipolar::VEBCIBO}) {
      TCatTRN r = computed;
      (r.*curve).Count = 0;
      ExpectRefused<TCatTRN>(report, r, ComputeTRN, "a bipolar curve without points");
    }
    for (int slot : {D::Hoe, D::HoeIC, D::HoeVCE, D::FT, D::ICIB, D::TS}) {
      TCatTRN r = computed;
      r.DataText[slot] = "";
      ExpectRefused<TCatTRN>(report, r, ComputeTRN, "a bipolar value text empty");
    }
  }
  {
    TCatJFN r;
    synthetic::FillJfet(r, "J", Jfet());
    r.GosIDText = "";
    ExpectRefused<TCatJFN>(report, r, ComputeJFN, "GosID empty");
    synthetic::FillJfet(r, "J", Jfet());
    r.CurveVGSCISS.Count = 0;
    ExpectRefused<TCatJFN>(report, r, ComputeJFN, "no input capacitance point");
  }
  {
    TCatMPE r;
    synthetic::FillMosfet(r, "M", Mosfet());
    r.TextIDSS = "";
    ExpectRefused<TCatMPE>(report, r, ComputeMPE, "IDSS empty");
    synthetic::FillMosfet(r, "M", Mosfet());
    r.Crss.Count = 0;
    ExpectRefused<TCatMPE>(report, r, ComputeMPE, "no feedback capacitance point");
  }
  {
    TCatCOR computed;
    synthetic::FillCore(computed, "C");
    ASSERT_TRUE(ComputeCOR(computed));
    const std::vector<std::pair<const char*, std::function<void(TCatCOR&)>>> cases = {
        {"no loop point", [](TCatCOR& r) { r.BH.Count = 0; }},
        {"gap empty", [](TCatCOR& r) { r.DsGapText = ""; }},
        {"every B 0", [](TCatCOR& r) { r.BH.Y.fill(0); }},
        {"every B below µ0", [](TCatCOR& r) { r.BH.Y.fill(-1e-6); }},
    };
    for (const auto& [what, spoil] : cases) {
      TCatCOR r = computed;
      spoil(r);
      ExpectRefused<TCatCOR>(report, r, ComputeCOR, what);
    }
  }
}

// A value or point typed but no number, and a negative one where the record
// holds magnitudes (the P-type kinds), count as missing: the component is
// not computed and the check dialog names what it could not take.
TEST_F(ModelCompute, ValuesThatCannotBeTakenAreNamedByTheCheck) {
  struct Case {
    const char* what;
    std::function<bool()> compute;  // spoils a computable record and computes it
    const char* fault;
  };
  auto diode = [](std::function<void(TCatDIO&)> spoil) {
    return [spoil] {
      TCatDIO r;
      synthetic::FillDiode(r, "D");
      spoil(r);
      return ComputeDIO(r);
    };
  };
  auto bipolar = [](bool pnp, std::function<void(TCatBipolar&)> spoil) {
    return [pnp, spoil] {
      TCatTRN n;
      TCatTRP p;
      TCatBipolar& r = pnp ? static_cast<TCatBipolar&>(p) : n;
      synthetic::FillBipolar(r, "Q");
      spoil(r);
      return ComputeBipolar(r);
    };
  };
  auto mosfet = [](std::function<void(TCatMOSFET&)> spoil) {
    return [spoil] {
      TCatMPE r;
      synthetic::FillMosfet(r, "M", Mosfet());
      spoil(r);
      return ComputeMOSFET(r);
    };
  };
  auto jfet = [](std::function<void(TCatJFET&)> spoil) {
    return [spoil] {
      TCatJFP r;
      synthetic::FillJfet(r, "J", Jfet());
      spoil(r);
      return ComputeJFET(r);
    };
  };
  const Case cases[] = {
      {"a value with its unit", diode([](TCatDIO& r) { r.ForwCurrText = "10mA"; }),
       "The value of the forward current is no number: \"10mA\"."},
      {"a point with its unit", diode([](TCatDIO& r) { r.VDID.NotNumber = "0.9V"; }),
       "A point of the curve IF - VF is no number: \"0.9V\"."},
      {"the first of two", diode([](TCatDIO& r) {
         r.VRCJ.NotNumber = "x";
         r.RecoveryTimeText = "";
       }),
       "A point of the curve VR - CD is no number: \"x\"."},
      {"only missing", diode([](TCatDIO& r) { r.RecoveryTimeText = ""; }), ""},
      {"a bipolar value", bipolar(false, [](TCatBipolar& r) { r.DataText[D::Hoe] = "abc"; }),
       "The value of Hoe is no number: \"abc\"."},
      {"a curve parameter", bipolar(false, [](TCatBipolar& r) { r.ICBETA.CurveParamText = "5 V"; }),
       "The parameter of the curve IC - hFE is no number: \"5 V\"."},
      {"a negative PNP value", bipolar(true, [](TCatBipolar& r) { r.DataText[D::HoeVCE] = "-5"; }),
       "The value of VCE of Hoe is negative (\"-5\"): the values of a P-type component are typed as "
       "magnitudes, without their sign."},
      {"a negative PNP point", bipolar(true, [](TCatBipolar& r) { r.ICVCE.Y[1] = -0.2; }),
       "A point of the curve IC - VCE(sat) is negative: the values of a P-type component are typed as "
       "magnitudes, without their sign."},
      {"a negative P-MOSFET value", mosfet([](TCatMOSFET& r) { r.TextVG = "-10"; }),
       "The value of VG is negative (\"-10\"): the values of a P-type component are typed as magnitudes, "
       "without their sign."},
      {"a negative P-JFET value", jfet([](TCatJFET& r) { r.GosIDText = "-1,5"; }),
       "The value of ID of Gos is negative (\"-1,5\"): the values of a P-type component are typed as "
       "magnitudes, without their sign."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    report.checkDialogs = 0;
    report.lastFault = "?";
    CheckFailed = 0;
    EXPECT_FALSE(c.compute());
    EXPECT_EQ(report.checkDialogs, 1);
    EXPECT_EQ(report.lastFault, c.fault);
    EXPECT_EQ(CheckFailed, 1);
  }
  // Negative values of an N-type record are its own business.
  EXPECT_TRUE(bipolar(false, [](TCatBipolar& r) { r.ICVBE.X[0] = -1e-3; })());
}

// A computation refused after its fits: the record as it was, not computed,
// and a series ends (CheckFailed 1).
template <class Rec>
void ExpectUnchangedWhenRefused(Rec& r, bool (*compute)(Rec&)) {
  const std::string before = Snapshot(r);
  CheckFailed = 0;
  EXPECT_FALSE(compute(r));
  EXPECT_EQ(CheckFailed, 1);
  EXPECT_FALSE(r.Computed);
  EXPECT_EQ(Snapshot(r), before);
}

// A fit that ends in a model no real component has stores nothing: the
// component is not computed and the message names the parameter.
TEST_F(ModelCompute, ImpossibleModelsAreNotStored) {
  {
    // Drain current that flows from VGS = 0 on: a threshold below zero.
    TCatMNE r;
    synthetic::FillMosfet(r, "M", Mosfet());
    synthetic::MosfetTruth depletion;
    depletion.drain = {-1, 0.1L, 1};
    synthetic::FillCurve(r.IdVgs, KindMosfetDrain, depletion.drain, {0, 0.5, 1, 2, 4, 6});
    messages.expect(ComputeFaultText("M", "its VTO would be -0.162, which makes the enhancement MOSFET conduct at VGS = 0"),
                    Answer::Ok, MessageKind::Error);
    ExpectUnchangedWhenRefused(r, ComputeMNE);
    // The same data of a P-channel part: a threshold above zero.
    TCatMPE p;
    synthetic::FillMosfet(p, "P", Mosfet());
    p.IdVgs = r.IdVgs;
    messages.expect(ComputeFaultText("P", "its VTO would be 0.162, which makes the enhancement MOSFET conduct at VGS = 0"),
                    Answer::Ok, MessageKind::Error);
    ExpectUnchangedWhenRefused(p, ComputeMPE);
  }
  {
    // A gate charge that falls between the breakpoints: CGDO below zero.
    TCatMNE r;
    synthetic::FillMosfet(r, "M", Mosfet());
    r.Q2 = 1;
    messages.expect(ComputeFaultText("M", "its CGDO would be -2.33E-7, below zero, which no real component has"),
                    Answer::Ok, MessageKind::Error);
    ExpectUnchangedWhenRefused(r, ComputeMNE);
  }
  {
    // A storage time the forward transit time alone exceeds: TR below zero.
    TCatTRN r;
    synthetic::FillBipolar(r, "Q");
    r.DataValue[D::TS] = 1e-3;
    r.DataValue[D::FT] = 1;
    messages.expect(ComputeFaultText("Q", "its TR would be -1.9E-7, below zero, which no real component has"),
                    Answer::Ok, MessageKind::Error);
    ExpectUnchangedWhenRefused(r, ComputeTRN);
  }
  EXPECT_TRUE(messages.allAnswered());
}

// ---- formulas without a value ---------------------------------------------

// A computation stopped by a formula: one error message naming the
// component and the formula, CheckFailed 1 (a series ends), and the record
// as it was.
template <class Rec>
void ExpectStopped(ScriptedMessages& messages, Rec& r, bool (*compute)(Rec&), const std::string& fault) {
  const std::string before = Snapshot(r);
  const bool wasComputed = r.Computed;
  CheckFailed = 0;
  messages.expect(ComputeFaultText(r.Name.str(), fault), Answer::Ok, MessageKind::Error, platform::Buttons::Ok);
  EXPECT_FALSE(compute(r)) << fault;
  EXPECT_TRUE(messages.allAnswered()) << fault;
  EXPECT_EQ(CheckFailed, 1) << fault;
  EXPECT_EQ(r.Computed, wasComputed) << fault;
  EXPECT_EQ(Snapshot(r), before) << fault;
}

TEST_F(ModelCompute, FormulasWithoutValueStopTheComponent) {
  {
    TCatTRN computed;
    synthetic::FillBipolar(computed, "Q1");
    ASSERT_TRUE(ComputeTRN(computed));
    struct Case {
      std::function<void(TCatTRN&)> spoil;
      const char* fault;
    };
    const Case cases[] = {
        {[](TCatTRN& r) { r.DataValue[D::Hoe] = 0; }, "division by zero in the formula of VAF"},
        {[](TCatTRN& r) { r.DataValue[D::FT] = 0; }, "division by zero in the formula of TF"},
        {[](TCatTRN& r) { r.DataValue[D::ICIB] = -1000; },
         "logarithm of a value not greater than 0 in the formula of TR"},
        {[](TCatTRN& r) { r.DataValue[D::HoeIC] = 1e307; }, "the formula of VAF gives no finite number"},
        {[](TCatTRN& r) { r.ICBETA.Y.fill(-1); }, "division by zero in the formula of RE"},
        {[](TCatTRN& r) { r.ICBETA.Y.fill(0); }, "division by zero in the formula of RC"},
    };
    for (const Case& c : cases) {
      TCatTRN r = computed;
      c.spoil(r);
      ExpectStopped<TCatTRN>(messages, r, ComputeTRN, c.fault);
    }
  }
  {
    TCatDIO r;
    synthetic::FillDiode(r, "D1");
    r.RevForwRatio = 0;
    ExpectStopped<TCatDIO>(messages, r, ComputeDIO, "division by zero in the formula of TT");
    r.RevForwRatio = -0.5;
    ExpectStopped<TCatDIO>(messages, r, ComputeDIO, "logarithm of a value not greater than 0 in the formula of TT");
    // finite as an extended value, but beyond a double: the library file
    // would read it back as no number
    r.RecoveryTime = 1.5e308;
    r.RevForwRatio = 1e10;
    ExpectStopped<TCatDIO>(messages, r, ComputeDIO, "the formula of TT gives no finite number");
  }
  {
    TCatJFP r;
    synthetic::FillJfet(r, "J1", Jfet());
    r.GosID = 0;
    ExpectStopped<TCatJFP>(messages, r, ComputeJFP, "division by zero in the formula of LAMBDA");
  }
  {
    TCatMNE computed;
    synthetic::FillMosfet(computed, "M1", Mosfet());
    ASSERT_TRUE(ComputeMNE(computed));
    TCatMNE r = computed;
    r.VDS2 = r.VDS1;
    ExpectStopped<TCatMNE>(messages, r, ComputeMNE, "division by zero in the formula of CGDO");
    r = computed;
    r.VG = 0;
    ExpectStopped<TCatMNE>(messages, r, ComputeMNE, "division by zero in the formula of CGSO");
    r = computed;
    r.IDSS = 0;
    ExpectStopped<TCatMNE>(messages, r, ComputeMNE, "division by zero in the formula of RDS");
  }
}

// Data no datasheet would show still ends each computation, with finite
// values or a message; nothing is left NaN or infinite.
TEST_F(ModelCompute, HostileCurvesEndWithFiniteValues) {
  auto finite = [](std::initializer_list<long double> values) {
    for (long double v : values)
      if (!std::isfinite(v)) return false;
    return true;
  };
  {
    TCatTRN r;
    synthetic::FillBipolar(r, "Q");
    for (int i = 0; i < r.ICBETA.Count; ++i) r.ICBETA.X[i] = 1e6 * (i + 1);  // kA of collector current
    for (int i = 0; i < r.ICVCE.Count; ++i) r.ICVCE.X[i] = 1e6 * (i + 1);
    r.ICVBE.X[0] = -1;
    // The fit ends, but with a collector resistance no transistor has.
    messages.expect(ComputeFaultText("Q", "its RC would be -0.713, below zero, which no real component has"),
                    Answer::Ok, MessageKind::Error);
    EXPECT_FALSE(ComputeTRN(r));
    for (double v : r.Param) EXPECT_TRUE(std::isfinite(v));
  }
  {
    TCatDIO r;
    synthetic::FillDiode(r, "D");
    r.VDID.Y.fill(1e300);
    r.VRCJ.Y.fill(-5);
    ASSERT_TRUE(ComputeDIO(r));
    EXPECT_TRUE(finite({r.IS, r.N, r.RS, r.CJ, r.VJ, r.MJ}));
  }
  {
    TCatJFN r;
    synthetic::FillJfet(r, "J", Jfet());
    r.CurveVGSID.X.fill(-3);  // outside the model's window everywhere
    r.CurveVXSCRSS.Y.fill(1e300);
    ASSERT_TRUE(ComputeJFN(r));
    EXPECT_TRUE(finite({r.VTO, r.BETA, r.RS, r.CGD, r.VJ, r.CGS}));
  }
  {
    TCatMNE r;
    synthetic::FillMosfet(r, "M", Mosfet());
    r.IdVgs.Y.fill(1e9);
    r.Coss.Y.fill(0);
    // The fit ends, but with a drain current that flows at VGS = 0.
    messages.expect(ComputeFaultText("M", "its VTO would be -4, which makes the enhancement MOSFET conduct at VGS = 0"),
                    Answer::Ok, MessageKind::Error);
    EXPECT_FALSE(ComputeMNE(r));
    EXPECT_TRUE(finite({r.VTO, r.W, r.RS, r.CJBD, r.VJ, r.MJ, r.CGSO, r.CGDO}));
  }
  {
    TCatCOR r;
    synthetic::FillCore(r, "C");
    r.BH.Y[0] = 1e300;
    // the start value of Ms lies outside the model's window: the fit cannot
    // move, and the computation ends with the start values
    ASSERT_TRUE(ComputeCOR(r));
    EXPECT_TRUE(finite({r.A, r.C, r.K, r.MS}));
  }
}

// A curve holds 12 points; a count that claims more takes those 12 and
// reads nothing beside them.
TEST_F(ModelCompute, ACountBeyondTheCurveTakesItsTwelvePoints) {
  TCatTRN twelve;
  synthetic::FillBipolar(twelve, "Q");
  TGraph& gain = twelve.ICBETA;
  for (int i = gain.Count; i < TGraph::MaxPoints; ++i) {
    gain.X[i] = gain.X[i - 1] * 1.5;
    gain.Y[i] = gain.Y[i - 1] * 0.9;
  }
  gain.Count = TGraph::MaxPoints;
  TCatTRN claimed = twelve;
  claimed.ICBETA.Count = TGraph::MaxPoints + 1;
  ASSERT_TRUE(ComputeTRN(twelve));
  ASSERT_TRUE(ComputeTRN(claimed));
  EXPECT_EQ(claimed.Param, twelve.Param);
}

// ---- the engine of a computation is its own --------------------------------

TEST_F(ModelCompute, WhatRunsDuringProgressMarksCannotChangeTheInputs) {
  TCatTRN undisturbed;
  synthetic::FillBipolar(undisturbed, "Q");
  ASSERT_TRUE(ComputeTRN(undisturbed));

  // During every mark another library is opened (a new global engine with
  // other inputs) and the user types into the datasheet being computed.
  TCatTRN r;
  synthetic::FillBipolar(r, "Q");
  report.onMark = [&](int) {
    Iteration = std::make_unique<TIteration>();
    Iteration->IS = 1;
    Iteration->VAF = -1;
    Iteration->ICIB = 1000;
    Iteration->P.fill(7);
    r.DataValue[D::Hoe] = 1;
    r.ICBETA.Y.fill(33);
  };
  ASSERT_TRUE(ComputeTRN(r));
  Iteration.reset();
  EXPECT_EQ(r.Param, undisturbed.Param);
  EXPECT_EQ(r.ICBETA.FitParams, undisturbed.ICBETA.FitParams);
  // what was typed meanwhile stays in the record
  EXPECT_EQ(r.DataValue[D::Hoe], 1);
  EXPECT_EQ(r.ICBETA.Y[0], 33);
}

}  // namespace
}  // namespace pakro
