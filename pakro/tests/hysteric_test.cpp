#include "pakro/shell/hysteric.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pakro {
namespace {

// Parameters with a stable integration: a, c, k, Ms all distinct.
constexpr double kA = 1000, kC = 0.2, kK = 500, kMs = 1.2E6, kB = 0.01;

TEST(THysteric, ValueTakesItsArgumentsInOtherOrderThanBuild) {
  THysteric h;
  h.Value(0, kA, kC, kK, kMs, kB);
  EXPECT_EQ(h.a, kA);
  EXPECT_EQ(h.c, kC);
  EXPECT_EQ(h.k, kK);
  EXPECT_EQ(h.Ms, kMs);
  EXPECT_EQ(h.b, kB);
  EXPECT_DOUBLE_EQ(h.Hmax, 99 * kA);
  EXPECT_DOUBLE_EQ(h.HStep, 2 * 99 * kA / 1024);

  THysteric g;
  g.Build(kMs, kA, kK, kC, kB);
  for (int i = 0; i < THysteric::Points; i += 97) EXPECT_EQ(g.M[i], h.M[i]) << i;
}

TEST(THysteric, TableFollowsTheEulerIntegrationOfTheRisingBranch) {
  THysteric h;
  h.Build(kMs, kA, kK, kC, kB);
  // The same integration written out independently.
  const double hmax = kA * (1 - kB) / kB, step = 2 * hmax / 1024;
  auto man = [](double H) { return kMs * H / (std::fabs(H) + kA); };
  auto dman = [](double H) { return kMs * kA / ((std::fabs(H) + kA) * (std::fabs(H) + kA)); };
  double H = -hmax;
  double M = man(H) + kK * kC * kMs * kA / ((hmax + kA) * (hmax + kA));
  EXPECT_NEAR(h.M[0], M, 1E-9 * kMs);
  for (int i = 1; i < THysteric::Points; ++i) {
    M += ((man(H) - M) / kK / (1 + kC) + kC / (1 + kC) * dman(H)) * step;
    H += step;
    ASSERT_NEAR(h.M[i], M, 1E-9 * kMs) << i;
  }
  EXPECT_FALSE(h.Overflowed());
  // the rising branch ends near saturation and starts near -saturation
  EXPECT_GT(h.M[1023], 0.9 * kMs);
  EXPECT_LT(h.M[0], -0.9 * kMs);
}

TEST(THysteric, ValueInterpolatesAndHoldsTheEnds) {
  THysteric h;
  const double mid = h.Value(0, kA, kC, kK, kMs, kB);
  (void)mid;
  const double hmax = h.Hmax, step = h.HStep;
  EXPECT_EQ(h.Value(-hmax, kA, kC, kK, kMs, kB), h.M[0]);
  EXPECT_EQ(h.Value(hmax, kA, kC, kK, kMs, kB), h.M[1023]);
  EXPECT_EQ(h.Value(-1E9, kA, kC, kK, kMs, kB), h.M[0]);
  EXPECT_EQ(h.Value(1E9, kA, kC, kK, kMs, kB), h.M[1023]);
  // a third of the way from point 300 to 301
  const double H300 = -hmax + 300 * step;
  EXPECT_NEAR(h.Value(H300 + step / 3, kA, kC, kK, kMs, kB), h.M[300] + (h.M[301] - h.M[300]) / 3, 1E-6);
  // 0.4 step below point 300 rounds to 300 and extends its segment downward
  EXPECT_NEAR(h.Value(H300 - 0.4 * step, kA, kC, kK, kMs, kB), h.M[300] - 0.4 * (h.M[301] - h.M[300]), 1E-6);
}

TEST(THysteric, BuildsOncePerParameterSetAndNotForBAlone) {
  THysteric h;
  h.Value(0, kA, kC, kK, kMs, kB);
  h.M[512] = 12345;  // a mark a rebuild would wipe out
  const double at512 = -h.Hmax + 512 * h.HStep;
  EXPECT_EQ(h.Value(at512, kA, kC, kK, kMs, kB), 12345);
  EXPECT_EQ(h.Value(at512, kA, kC, kK, kMs, 0.5), 12345);  // b alone: no rebuild
  EXPECT_EQ(h.b, kB);
  EXPECT_NE(h.Value(at512, kA, kC, kK * 2, kMs, kB), 12345);  // k changed: rebuilt
  EXPECT_EQ(h.k, kK * 2);
}

TEST(THysteric, SlopeWithoutReversibility) {
  THysteric h;
  h.Build(kMs, kA, kK, 0, kB);
  for (double H : {-5000.0, -10.0, 0.0, 700.0})
    for (double M : {-1E5, 0.0, 3E5})
      EXPECT_DOUBLE_EQ(h.Slope(H, M), (kMs * H / (std::fabs(H) + kA) - M) / kK);
  double H = 100, M = 50;
  h.Step(H, M, 2);
  EXPECT_EQ(H, 102);
  EXPECT_DOUBLE_EQ(M, 50 + 2 * ((kMs * 100 / (100 + kA) - 50) / kK));
}

TEST(THysteric, RunawayIntegrationGivesTheHugeValueNotInfinity) {
  // a = 100 and k = 5: steps of about 19 A/m against a pinning of 5 A/m.
  THysteric h;
  EXPECT_EQ(h.Value(0, 100, 0.1, 5, 1E6, kB), THysteric::Diverged);
  EXPECT_TRUE(h.Overflowed());
  for (double m : h.M) ASSERT_TRUE(std::isfinite(m));
  // a sound parameter set afterwards is sound again
  EXPECT_LT(std::fabs(h.Value(0, kA, kC, kK, kMs, kB)), kMs);
  EXPECT_FALSE(h.Overflowed());
}

}  // namespace
}  // namespace pakro
