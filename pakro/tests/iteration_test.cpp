#include "pakro/shell/iteration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "pakro/tests/known_curves.h"

namespace pakro {
namespace {

constexpr double kVt = 0.02586;

using testing::BipolarInputs;
using testing::JfetInputs;

long double Eval(const ParamVector& p, std::uint8_t kind, long double x, const TFitInputs& in = {}) {
  THysteric table;
  return ModelValue(p, kind, x, in, table);
}

// Root of an increasing function on [lo, hi] by bisection.
double Bisect(const std::function<double(double)>& f, double lo, double hi) {
  for (int i = 0; i < 200; ++i) {
    const double mid = (lo + hi) / 2;
    (f(mid) < 0 ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

// ---- windows ---------------------------------------------------------------

struct Bound {
  std::uint8_t kind;
  ParamVector base;
  int index;
  long double bound;
  bool upper;
  bool strict;
  bool insideIsFinite = true;  // some bounds admit values the model cannot use
};

TEST(ModelWindows, JustInsideAndJustOutsideEveryBound) {
  const ParamVector diode = {0.001L, 0.03L, 1E-10L}, be = {0.001L, 0.03L, 1E-11L}, cap = {30, 0.75L, 0.4L},
                    jcap = {30, 0.8L, 0.4L}, gain = {100, 0.1L, 1.5L, 1E-13L}, sat = {1E-13L, 2, 2},
                    jfet = {-2, 1, 0.01L}, mos = {2, 0.01L, 1}, core = {1000, 0.2L, 500, 1.2E6L},
                    coreStiff = {1000, 0.2L, 1E9L, 1.2E6L};
  const std::vector<Bound> bounds = {
      {11, diode, 0, 0, false, true},
      {11, diode, 1, 0.002586L, false, true},
      {11, diode, 1, 0.07758L, true, true},
      {11, diode, 2, 1E-19L, false, true},
      {11, diode, 2, 1E-4L, true, true},
      {21, be, 0, 0, false, false},
      {21, be, 1, 0.018102L, false, false},
      {21, be, 1, 0.07758L, true, false},
      {21, be, 2, 1E-19L, false, false},
      {21, be, 2, 1E-7L, true, false},
      {12, cap, 0, 0, false, false},
      {12, cap, 0, 100000, true, false},
      {12, cap, 1, 0.3L, false, false},
      {12, cap, 1, 2, true, false},
      {12, cap, 2, 0.2L, false, false},
      {12, cap, 2, 5, true, false},
      {32, jcap, 0, 0, false, false},
      {32, jcap, 0, 10000, true, false},
      {32, jcap, 1, 0.01L, false, false},
      {32, jcap, 1, 100, true, false},
      {32, jcap, 2, 0.01L, false, false},
      {32, jcap, 2, 100, true, false},
      {33, jcap, 0, 10000, true, false},
      {33, jcap, 1, 0.01L, false, false},
      {33, jcap, 2, 100, true, false},
      {22, gain, 0, -10000, false, false},
      {22, gain, 0, 10000, true, false},
      {22, gain, 1, 0, false, false, false},  // no knee current: no finite gain
      {22, gain, 1, 5000, true, false},
      {22, gain, 2, 0.7L, false, false},
      {22, gain, 2, 2, true, false},
      {22, gain, 3, 1E-24L, false, false},
      {22, gain, 3, 1E-7L, true, false},
      {23, sat, 0, 0, false, false},
      {23, sat, 1, 0, false, false},
      {31, jfet, 0, -10, false, false},
      {31, jfet, 0, 0, true, true},
      {31, jfet, 1, 0, false, true},
      {31, jfet, 1, 100, true, false},
      {31, jfet, 2, 1E-4L, false, false},
      {31, jfet, 2, 100, true, false},
      {41, mos, 0, -4, false, true},
      {41, mos, 0, 10, true, false},
      {41, mos, 1, 0, false, true},
      {41, mos, 1, 1, true, false},
      {41, mos, 2, 0.5L, false, false},
      {41, mos, 2, 100000, true, false},
      {51, core, 0, 1, false, false},
      {51, coreStiff, 0, 1E9L, true, false},
      {51, core, 1, 1E-6L, false, false},
      {51, core, 1, 100, true, false},
      {51, core, 2, 0.001L, false, false, false},  // so little pinning always runs away
      {51, core, 2, 1E9L, true, false},
      {51, core, 3, 1, false, false},
      {51, core, 3, 1E9L, true, false},
  };
  const TFitInputs bipolar = BipolarInputs(), jfetIn = JfetInputs();
  for (const Bound& b : bounds) {
    const TFitInputs& in = (b.kind == 22 || b.kind == 23) ? bipolar : jfetIn;
    const long double x = b.kind == 11 || b.kind == 21 || b.kind == 31 ? 1 : b.kind == 51 ? 100 : 5;
    const long double eps = b.bound == 0 ? 1E-30L : std::fabs(b.bound) * 1E-9L;
    const long double dir = b.upper ? 1 : -1;
    ParamVector inside = b.base, outside = b.base;
    inside[b.index] = b.strict ? b.bound - dir * eps : b.bound;
    outside[b.index] = b.strict ? b.bound : b.bound + dir * eps;
    const long double vin = Eval(inside, b.kind, x, in), vout = Eval(outside, b.kind, x, in);
    const auto where = ::testing::Message() << "kind " << int(b.kind) << " P" << b.index + 1 << " bound "
                                            << static_cast<double>(b.bound);
    EXPECT_EQ(vout, OutOfWindow) << where;
    if (b.insideIsFinite) {
      EXPECT_NE(vin, OutOfWindow) << where;
    }
    EXPECT_TRUE(std::isfinite(vin)) << where;
  }
}

TEST(ModelWindows, AbscissaWindowsAndOtherFixedValues) {
  const ParamVector diode = {0.001L, 0.03L, 1E-10L};
  EXPECT_EQ(Eval(diode, 11, 0), NonPositiveX);
  EXPECT_EQ(Eval(diode, 11, -3), NonPositiveX);
  EXPECT_EQ(Eval({0.001L, 0.03L, 1E-11L}, 21, 0), NonPositiveX);
  EXPECT_EQ(Eval({0.001L, 0.002586L, 1E-10L}, 11, 0), OutOfWindow);  // the window comes first
  EXPECT_EQ(Eval({-2, 1, 0.01L}, 31, 0), Eval({-2, 1, 0.01L}, 31, 0));
  EXPECT_NE(Eval({-2, 1, 0.01L}, 31, 0), OutOfWindow);
  EXPECT_EQ(Eval({-2, 1, 0.01L}, 31, -1E-12L), OutOfWindow);
  EXPECT_NE(Eval({2, 0.01L, 1}, 41, 0), OutOfWindow);
  EXPECT_EQ(Eval({2, 0.01L, 1}, 41, -1E-12L), OutOfWindow);
  EXPECT_EQ(Eval({1000, 0.2L, 500, 0.5L}, 51, 0), OutOfWindow);
  for (std::uint8_t kind : {0, 13, 24, 42, 52, 255}) EXPECT_EQ(Eval(diode, kind, 1), OutOfWindow) << int(kind);
  EXPECT_EQ(Eval({2, 0.01L, 1}, 41, std::numeric_limits<long double>::quiet_NaN()), OutOfWindow);
}

// ---- values against computations written out here ------------------------

TEST(ModelValues, DiodeAndBaseEmitterVoltage) {
  for (double x : {0.01, 1.0, 250.0}) {
    EXPECT_NEAR(Eval({0.002L, 0.031L, 1E-9L}, 11, x), 0.031 * std::log(x / 1E-9) + 0.002 * x, 1E-12);
    EXPECT_NEAR(Eval({0.5L, 0.04L, 1E-12L}, 21, x), 0.04 * std::log(x / 1E-12) + 0.5 * x, 1E-12);
  }
}

double CapByHand(double V, double c0, double vj, double m) {
  return V <= vj / 2 ? c0 / std::pow(1 - V / vj, m) : c0 * std::pow(2, m) * (1 - m + 2 * m * V / vj);
}

TEST(ModelValues, JunctionCapacitances) {
  const TFitInputs in = JfetInputs();
  for (double x : {-0.5, -0.3, 0.0, 1.0, 7.5, 40.0}) {
    EXPECT_NEAR(Eval({30, 0.75L, 0.4L}, 12, x), CapByHand(-x, 30, 0.75, 0.4), 1E-9) << x;
    EXPECT_NEAR(Eval({30, 0.8L, 0.4L}, 32, x, in), CapByHand(-x - 2, 30, 0.8, 0.4), 1E-9) << x;
    EXPECT_NEAR(Eval({30, 0.8L, 0.4L}, 33, x, in), CapByHand(-x, 30, 0.8, 0.4) + CapByHand(-x - 3, 5, 0.8, 0.4), 1E-9)
        << x;
  }
  // V = Vj/2 takes the power branch; the linear branch continues it.
  const ParamVector p = {30, 0.75L, 0.4L};
  const long double atHalf = Eval(p, 12, -0.375L);
  EXPECT_NEAR(atHalf, 30 / std::pow(0.5, 0.4), 1E-12);
  EXPECT_NEAR(Eval(p, 12, -0.375L - 1E-9L), atHalf, 1E-6);
  EXPECT_GT(Eval(p, 12, -0.375L - 1E-9L), atHalf);
}

TEST(ModelValues, FetDrainCurrentsResolvedToATenThousandth) {
  for (double x : {0.0, 0.3, 1.0, 1.7, 1.99}) {
    const double P1 = -2, P2 = 1, P3 = 0.01;
    const double exact = x >= -P1 ? 0 : Bisect([&](double i) { return x + P1 + P3 * i + std::sqrt(i / P2); }, 0, 100);
    const long double v = Eval({P1, P2, P3}, 31, x);
    EXPECT_LE(v, exact + 1E-12) << x;
    EXPECT_GT(v, exact - 1E-4) << x;
  }
  for (double x : {1.0, 2.5, 5.0, 10.0}) {
    const double P1 = 2, P2 = 0.01, P3 = 1;
    const double exact = x <= P1 ? 0 : Bisect([&](double i) { return P1 + P3 * i + std::sqrt(i / P2) - x; }, 0, 100);
    const long double v = Eval({P1, P2, P3}, 41, x);
    EXPECT_LE(v, exact + 1E-12) << x;
    EXPECT_GT(v, exact - 1E-4) << x;
  }
}

// Gummel-Poon transport current in double precision.
double Transport(const TFitInputs& in, double vbe, double vbc, double ka, double kb) {
  const double q1 = 1 / (1 - vbc / in.VAF - vbe / in.VAR);
  const double xf = std::expm1(vbe / (in.NF * kVt)), xr = std::expm1(vbc / (in.NR * kVt));
  const double qb = q1 * (1 + std::sqrt(1 + 4 * (in.IS * xf / ka + in.IS * xr / kb))) / 2;
  return in.IS * (xf - xr) / qb;
}

double GainByHand(const TFitInputs& in, double bf, double ik, double ne, double ise, double xmA) {
  const double I = xmA / 1000;
  const double vbe = Bisect([&](double v) { return Transport(in, v, v - in.VCE, ik, ik) - I; }, 0, 1.5);
  const double vbc = vbe - in.VCE;
  const double ict = Transport(in, vbe, vbc, ik, ik);
  const double ib1 = ise * std::expm1(vbe / (ne * kVt)) + in.IS * std::expm1(vbe / (in.NF * kVt)) / bf;
  const double ib2 = ise * std::expm1(vbc / (ne * kVt)) + in.IS * std::expm1(vbc / (in.NR * kVt)) / in.BR;
  return (ict - ib2) / (ib1 + ib2);
}

TEST(ModelValues, CurrentGainIsCollectorOverBaseCurrent) {
  const TFitInputs in = BipolarInputs();
  for (double x : {0.05, 1.0, 20.0, 300.0}) {
    const double byHand = GainByHand(in, 150, 0.2, 1.5, 1E-13, x);
    EXPECT_NEAR(Eval({150, 0.2L, 1.5L, 1E-13L}, 22, x, in), byHand, 0.01 * byHand) << x;
  }
  // Without leakage, knee or Early effect the gain is the forward gain
  // itself, not one more.
  TFitInputs ideal = in;
  ideal.VAF = ideal.VAR = 1E12;
  EXPECT_NEAR(Eval({100, 1000, 1.5L, 1E-24L}, 22, 1, ideal), 100, 0.05);
}

double SaturationByHand(const TFitInputs& in, double isc, double rc, double nc, double xmA) {
  const double I = xmA / 1000;
  auto ib2 = [&](double vbc) {
    return isc * std::expm1(vbc / (nc * kVt)) + in.IS * std::expm1(vbc / (in.NR * kVt)) / in.BR;
  };
  auto ib1 = [&](double vbe) {
    return in.ISE * std::expm1(vbe / (in.NE * kVt)) + in.IS * std::expm1(vbe / (in.NF * kVt)) / in.BF;
  };
  auto ic = [&](double vbe, double vbc) { return Transport(in, vbe, vbc, in.IKF, in.IKR) - ib2(vbc); };
  auto vbeFor = [&](double vbc) { return Bisect([&](double v) { return ic(v, vbc) - I; }, 0, 1.5); };
  // the gain falls as VBC rises
  const double vbc = Bisect(
      [&](double c) {
        const double e = vbeFor(c);
        return in.ICIB - ic(e, c) / (ib1(e) + ib2(c));
      },
      0, 1.2);
  return rc * I + vbeFor(vbc) - vbc;
}

TEST(ModelValues, SaturationVoltage) {
  const TFitInputs in = BipolarInputs();
  for (double x : {1.0, 10.0, 50.0}) {
    const double byHand = SaturationByHand(in, 1E-13, 1.5, 2, x);
    const long double v = Eval({1E-13L, 1.5L, 2}, 23, x, in);
    EXPECT_NEAR(v, byHand, 1E-3) << x;
    EXPECT_LT(v, byHand + 1E-6) << x;  // the searches stop short, never beyond
  }
}

TEST(ModelValues, FluxDensityFromTheHysteresisTable) {
  const ParamVector p = {1000, 0.2L, 500, 1.2E6L};
  THysteric table;
  for (double H : {-20000.0, -500.0, 0.0, 800.0, 50000.0}) {
    const double M = table.Value(H, 1000, 0.2, 500, 1.2E6, 0.01);
    EXPECT_NEAR(Eval(p, 51, H), (H + M) * 1.25664E-6, 1E-12) << H;
  }
  // a parameter set whose integration runs away
  EXPECT_EQ(Eval({100, 0.1L, 5, 1E6L}, 51, 10), OutOfWindow);
}

// ---- Fit --------------------------------------------------------------------

struct Recovery {
  testing::KnownCurve curve;
  int nParams;
  ParamVector lo, hi;  // window of the varied parameters, to keep a start inside
  double accuracy;     // relative error allowed on every varied parameter
};

// The search moves one parameter at a time and shrinks its steps every
// cycle, so it recovers what the points determine: where parameters are
// strongly coupled (the leakage pair of the gain curve, the source
// resistance of the FET curves, the saturation magnetisation) or a curve is
// resolved only in steps of 0.0001 (the FET currents), the cases vary the
// leading parameters and hold the others at their true values.
std::vector<Recovery> Recoveries() {
  using testing::KnownCurveOf;
  return {
      {KnownCurveOf(11), 3, {1E-9L, 0.0026L, 1E-18L}, {1, 0.0775L, 9E-5L}, 1E-3},
      {KnownCurveOf(21), 3, {0, 0.0182L, 1E-18L}, {1, 0.0775L, 1E-7L}, 1E-2},
      {KnownCurveOf(12), 3, {0, 0.3L, 0.2L}, {1E5L, 2, 5}, 1E-3},
      {KnownCurveOf(32), 3, {0, 0.01L, 0.01L}, {1E4L, 100, 100}, 1E-3},
      {KnownCurveOf(33), 1, {0}, {1E4L}, 1E-3},
      {KnownCurveOf(31), 2, {-10, 1E-9L}, {-1E-9L, 100}, 2E-2},
      {KnownCurveOf(41), 2, {-3.99L, 1E-9L}, {10, 1}, 1E-2},
      {KnownCurveOf(22), 2, {-1E4L, 1E-9L}, {1E4L, 5000}, 1E-3},
      {KnownCurveOf(23), 2, {0, 0}, {1, 1E6L}, 1E-3},
      {KnownCurveOf(51), 3, {1, 1E-6L, 1E-3L}, {1E9L, 100, 1E9L}, 1E-3},
  };
}

class FitRecovery : public ::testing::TestWithParam<Recovery> {};

TEST_P(FitRecovery, FromTwiceAndHalfTheTrueValues) {
  const Recovery& r = GetParam();
  for (long double factor : {2.0L, 0.5L}) {
    TIteration it;
    testing::LoadKnownCurve(it, r.curve);
    for (int i = 0; i < it.Count; ++i) ASSERT_NE(it.Y[i], OutOfWindow) << "point " << i;
    it.P = r.curve.truth;
    for (int i = 0; i < r.nParams; ++i) it.P[i] = std::clamp(r.curve.truth[i] * factor, r.lo[i], r.hi[i]);
    it.NParams = r.nParams;
    it.Tolerance = 1E-7;
    it.Fit();
    for (int i = 0; i < r.nParams; ++i)
      EXPECT_NEAR(it.P[i], r.curve.truth[i], std::fabs(r.curve.truth[i]) * r.accuracy)
          << "kind " << int(r.curve.kind) << ", start factor " << static_cast<double>(factor) << ", P" << i + 1;
    for (int i = r.nParams; i < 8; ++i) EXPECT_EQ(it.P[i], r.curve.truth[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FitRecovery, ::testing::ValuesIn(Recoveries()),
                         [](const auto& info) { return "kind" + std::to_string(info.param.curve.kind); });

TIteration CapacitanceEngine(const ParamVector& truth) {
  TIteration it;
  it.Kind = KindJunctionCap;
  it.Count = 5;
  const double x[] = {0.5, 1, 3, 10, 30};
  for (int i = 0; i < 5; ++i) {
    it.X[i] = x[i];
    it.Y[i] = static_cast<double>(it.Evaluate(truth, KindJunctionCap, x[i]));
  }
  return it;
}

TEST(Fit, DataMatchedFromTheStartStopsAfterTheToleranceCycles) {
  const ParamVector truth = {30, 0.75L, 0.4L};
  for (auto [tolerance, cycles] : {std::pair{0.01, 9}, std::pair{0.001, 13}}) {
    TIteration it = CapacitanceEngine(truth);
    it.P = truth;
    it.NParams = 3;
    it.Tolerance = tolerance;
    EXPECT_TRUE(it.Fit());
    EXPECT_EQ(it.LastCycles(), cycles) << tolerance;
    EXPECT_EQ(it.P, truth);
  }
}

TEST(Fit, VariesOnlyTheLeadingParameters) {
  TIteration it = CapacitanceEngine({30, 0.75L, 0.4L});
  it.P = {15, 0.9L, 0.5L, 7, -1, 2.5L, 1E30L, 0};
  it.NParams = 1;
  it.Tolerance = 1E-6;
  EXPECT_TRUE(it.Fit());
  EXPECT_NE(it.P[0], 15);
  const ParamVector rest = {0, 0.9L, 0.5L, 7, -1, 2.5L, 1E30L, 0};
  for (int i = 1; i < 8; ++i) EXPECT_EQ(it.P[i], rest[i]) << i;
}

// Points no capacitance curve meets, from a start where stepping Vj either
// way lowers the residual: the fit ends where trying the minus step before
// the plus step, and widening a successful step fourfold, lead. Either order
// reversed, or another widening factor, ends elsewhere in the fourth digit
// of Vj, so the values are pinned far closer than that.
TEST(Fit, PatternSearchTriesTheMinusStepFirstAndWidensFourfold) {
  TIteration it;
  it.Kind = KindJunctionCap;
  it.Count = 3;
  const double x[] = {1.113, -0.254, 0.63}, y[] = {16.5, 20.0, 14.8};
  for (int i = 0; i < 3; ++i) {
    it.X[i] = x[i];
    it.Y[i] = y[i];
  }
  it.P = {26, 0.75L, 0.235L};
  it.NParams = 2;
  it.Tolerance = 1E-3;
  EXPECT_TRUE(it.Fit());
  EXPECT_EQ(it.LastCycles(), 13);
  EXPECT_NEAR(static_cast<double>(it.P[0]), 18.361072528716442, 1E-11);
  EXPECT_NEAR(static_cast<double>(it.P[1]), 0.90881905417372499, 1E-12);
  EXPECT_EQ(it.P[2], 0.235L);
}

// Guard cases: each ends with a defined, finite result (a hang is caught by
// the test runner's time limit, not measured here).
class FitGuard : public ::testing::Test {};

TEST_F(FitGuard, ZeroOrNonFiniteStartIsRefused) {
  for (long double bad : {0.0L, std::numeric_limits<long double>::quiet_NaN(),
                          std::numeric_limits<long double>::infinity()}) {
    TIteration it = CapacitanceEngine({30, 0.75L, 0.4L});
    it.P = {20, bad, 0.5L};
    it.NParams = 3;
    it.Tolerance = 0.01;
    EXPECT_FALSE(it.Fit());
    EXPECT_EQ(it.P[0], 20);
    EXPECT_EQ(it.P[2], 0.5L);
  }
}

TEST_F(FitGuard, NonFiniteDataEndsWithoutNaN) {
  TIteration it = CapacitanceEngine({30, 0.75L, 0.4L});
  it.Y[2] = std::numeric_limits<double>::quiet_NaN();
  it.P = {20, 0.5L, 0.5L};
  it.NParams = 3;
  it.Tolerance = 0.01;
  EXPECT_EQ(it.Residual(it.P), OutOfWindow);
  it.Fit();
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isfinite(it.P[i]));
}

TEST_F(FitGuard, ToleranceThatCanNeverBeMetEndsAtTheCycleBound) {
  for (double tolerance : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
    TIteration it = CapacitanceEngine({30, 0.75L, 0.4L});
    it.P = {20, 0.5L, 0.5L};
    it.NParams = 3;
    it.Tolerance = tolerance;
    EXPECT_FALSE(it.Fit());
    EXPECT_EQ(it.LastCycles(), TIteration::MaxCycles);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isfinite(it.P[i]));
  }
}

TEST_F(FitGuard, CurrentsBeyondTheTransportCeilingEndTheSearches) {
  // With a small reverse Early voltage the base charge loses its positive
  // value at about 0.5 V, where the transport current stands at 100 A: a
  // larger data current could never be reached.
  TFitInputs in = BipolarInputs();
  in.VAR = 0.5;
  const ParamVector gain = {150, 0.2L, 1.5L, 1E-13L}, saturation = {1E-13L, 1.5L, 2};
  EXPECT_EQ(Eval(gain, 22, 150000, in), OutOfWindow);
  EXPECT_EQ(Eval(saturation, 23, 100000, in), OutOfWindow);
  EXPECT_EQ(Eval(saturation, 23, 150000, in), OutOfWindow);
  EXPECT_NE(Eval(gain, 22, 1, in), OutOfWindow);
  EXPECT_NE(Eval(saturation, 23, 1, in), OutOfWindow);
  // Early voltages that give no base charge at all
  TFitInputs none = BipolarInputs();
  none.VAF = none.VAR = 0;
  EXPECT_EQ(Eval(gain, 22, 150000, none), OutOfWindow);
  EXPECT_TRUE(std::isfinite(Eval(gain, 22, 1, none)));
  // a current the model reaches before the ceiling is an ordinary value
  EXPECT_NE(Eval(gain, 22, 100000, BipolarInputs()), OutOfWindow);
  // a gate voltage no staircase reaches
  EXPECT_EQ(Eval({2, 0.01L, 1}, 41, 1E30L), OutOfWindow);

  TIteration it;
  static_cast<TFitInputs&>(it) = in;
  it.Kind = KindCurrentGain;
  it.Count = 3;
  it.X = {1, 10, 150000};
  it.Y = {150, 140, 20};
  it.P = {20, 1, 1.5L, 1E-14L};
  it.NParams = 4;
  it.Tolerance = 0.01;
  it.Fit();
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(std::isfinite(it.P[i]));

  it.Kind = KindSaturation;
  it.X = {1, 10, 150000};
  it.Y = {0.1, 0.2, 5};
  it.P = {1E-10L, 0.5L, 2};
  it.NParams = 2;
  it.Fit();
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(std::isfinite(it.P[i]));
}

TEST(TIteration, CreationZeroesThePointsAndMakesTheTable) {
  Hysteric.reset();
  TIteration it;
  ASSERT_NE(Hysteric, nullptr);
  for (int i = 0; i < TIteration::MaxPoints; ++i) {
    EXPECT_EQ(it.X[i], 0);
    EXPECT_EQ(it.Y[i], 0);
  }
  // kind 51 of the engine works on the global table
  it.Evaluate({1000, 0.2L, 500, 1.2E6L}, KindFluxDensity, 0);
  EXPECT_EQ(Hysteric->Ms, 1.2E6);
  EXPECT_EQ(Hysteric->k, 500);
}

}  // namespace
}  // namespace pakro
