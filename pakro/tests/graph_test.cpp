#include "pakro/shell/graph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace pakro {
namespace {

TGraph MakeGraph() { return TGraph("IC [mA]", "VBE [V]", "Log", "Lin"); }

TEST(TGraph, CreateCutsTextsAndStartsEmpty) {
  TGraph g("A very long x title", "Y", "Logarithmic", "Lin");
  EXPECT_EQ(g.XTitle.str(), "A very long ");
  EXPECT_EQ(g.YTitle.str(), "Y");
  EXPECT_EQ(g.XScale.str(), "Logari");
  EXPECT_EQ(g.Count, 0);
  EXPECT_FALSE(g.ShowFitted);
  EXPECT_FALSE(g.XNonPositive);
  EXPECT_FALSE(g.YNonPositive);
  g.CurveParamText = "1234567890123456";
  EXPECT_EQ(g.CurveParamText.str(), "123456789012");
}

TEST(TGraph, ClearResetsOnlyPointsAndShowFitted) {
  TGraph g = MakeGraph();
  g.Count = 2;
  g.X[0] = 1;
  g.Y[1] = 2;
  g.ShowFitted = true;
  g.CurveParam = 5;
  g.CurveParamText = "5";
  g.XNonPositive = true;
  g.SetModel({1, 2, 3}, KindDiodeForward, TFitInputs{});
  g.Clear();
  EXPECT_EQ(g.Count, 0);
  EXPECT_FALSE(g.ShowFitted);
  EXPECT_EQ(g.X[0], 0);
  EXPECT_EQ(g.Y[1], 0);
  EXPECT_EQ(g.CurveParam, 5);
  EXPECT_EQ(g.CurveParamText.str(), "5");
  EXPECT_TRUE(g.XNonPositive);
  EXPECT_EQ(g.FitKind, KindDiodeForward);
  EXPECT_EQ(g.FitParams[2], 3);
  EXPECT_EQ(g.XTitle.str(), "IC [mA]");
}

TEST(TGraph, ScalesFromTab) {
  struct Row {
    int tab;
    bool xNonPositive, yNonPositive;
    const char* x;
    const char* y;
  };
  const Row rows[] = {
      {0, false, false, "Lin", "Lin"}, {1, false, false, "Log", "Lin"}, {2, false, false, "Lin", "Log"},
      {3, false, false, "Log", "Log"}, {3, true, false, "Lin", "Log"},  {3, false, true, "Log", "Lin"},
      {3, true, true, "Lin", "Lin"},   {-1, false, false, "Log", "Lin"},  // no tab: scales kept
      {-1, true, false, "Lin", "Lin"}, {4, false, false, "Log", "Lin"},
  };
  for (const Row& r : rows) {
    TGraph g = MakeGraph();  // "Log" / "Lin"
    g.XNonPositive = r.xNonPositive;
    g.YNonPositive = r.yNonPositive;
    g.ScalesFromTab(r.tab);
    EXPECT_EQ(g.XScale.str(), r.x) << "tab " << r.tab;
    EXPECT_EQ(g.YScale.str(), r.y) << "tab " << r.tab;
  }
}

TEST(TGraph, TabFromScales) {
  struct Row {
    const char* x;
    const char* y;
    int tab;
  };
  const Row rows[] = {{"Lin", "Lin", 0}, {"Log", "Lin", 1}, {"Lin", "Log", 2},
                      {"Log", "Log", 3}, {"", "Lin", 1},    {"lin", "Lin", 1}};
  for (const Row& r : rows) {
    TGraph g("x", "y", r.x, r.y);
    EXPECT_EQ(g.TabFromScales(), r.tab) << '"' << r.x << "\" \"" << r.y << '"';
  }
  for (int tab = 0; tab < 4; ++tab) {
    TGraph g("x", "y", "Lin", "Lin");
    g.ScalesFromTab(tab);
    EXPECT_EQ(g.TabFromScales(), tab);
  }
}

TEST(TGraph, SortPointsMovesYAlongAndKeepsEqualXInOrder) {
  TGraph g = MakeGraph();
  g.Count = 3;
  g.X = {3, 1, 2};
  g.Y = {30, 10, 20};
  g.SortPoints();
  EXPECT_EQ(g.X[0], 1);
  EXPECT_EQ(g.X[1], 2);
  EXPECT_EQ(g.X[2], 3);
  EXPECT_EQ(g.Y[0], 10);
  EXPECT_EQ(g.Y[1], 20);
  EXPECT_EQ(g.Y[2], 30);

  g.Count = 4;
  g.X = {2, 1, 2, 0.5, -7};  // the fifth point is not in use
  g.Y = {1, 2, 3, 4, 5};
  g.SortPoints();
  EXPECT_EQ(g.X[0], 0.5);
  EXPECT_EQ(g.X[1], 1);
  EXPECT_EQ(g.Y[2], 1);  // the first of the two points with X = 2
  EXPECT_EQ(g.Y[3], 3);
  EXPECT_EQ(g.X[4], -7);
}

// Kind 11 with P1 = 0.001, P2 = 0.03, P3 = 1e-10.
const ParamVector kDiode = {0.001L, 0.03L, 1E-10L};

long double DiodeByHand(long double x) { return 0.03L * std::log(x / 1E-10L) + 0.001L * x; }

TEST(TGraph, ComputeCurveWithOnePoint) {
  TGraph g = MakeGraph();
  g.Count = 1;
  g.X[0] = 10;
  g.SetModel(kDiode, KindDiodeForward, TFitInputs{});
  FittedCurve c;
  c.X.fill(-1);
  g.ComputeCurve(c);
  EXPECT_NEAR(c.X[0], 1.0L, 1E-15L);
  EXPECT_NEAR(c.X[50], 10 - 0.9L * 10 / 51, 1E-14L);
  EXPECT_NEAR(c.X[51], 10, 1E-15L);
  for (int k = 52; k < 100; ++k) EXPECT_NEAR(c.X[k] - c.X[k - 1], 1.3L * 10 / 51, 1E-13L) << k;
  for (int k = 0; k < 100; ++k) EXPECT_NEAR(c.Y[k], DiodeByHand(c.X[k]), 1E-12L) << k;
}

TEST(TGraph, ComputeCurveSpreadsAbscissaeEvenlyPerInterval) {
  // points per interval for 1..12 points
  const int m[] = {51, 34, 26, 21, 18, 15, 14, 12, 11, 10, 9, 9};
  for (int n = 1; n <= 12; ++n) {
    TGraph g = MakeGraph();
    g.Count = n;
    for (int i = 0; i < n; ++i) g.X[i] = 2.0 * (i + 1) + (i % 2) * 0.5;
    g.SetModel(kDiode, KindDiodeForward, TFitInputs{});
    FittedCurve c;
    g.ComputeCurve(c);
    const int per = m[n - 1];
    // each point opens an interval of its own
    for (int i = 0; i < n && (i + 1) * per < 100; ++i)
      EXPECT_DOUBLE_EQ(static_cast<double>(c.X[(i + 1) * per]), g.X[i]) << n << " points, point " << i;
    EXPECT_LT(c.X[per - 1], g.X[0]);
    for (int k = 1; k < 100; ++k) EXPECT_GT(c.X[k], c.X[k - 1]) << n << " points, k " << k;
  }
}

TEST(TGraph, ComputeCurveWithoutPointsGivesNothingToDraw) {
  TGraph g = MakeGraph();
  g.SetModel(kDiode, KindDiodeForward, TFitInputs{});
  FittedCurve c;
  g.ComputeCurve(c);
  for (int k = 0; k < 100; ++k) EXPECT_EQ(c.Y[k], OutOfWindow);
}

TEST(TGraph, FittedCurveKeepsTheInputsItWasFittedWith) {
  Iteration = std::make_unique<TIteration>();
  Iteration->Bias32 = 1.5;
  TGraph g("V [V]", "C [pF]", "Lin", "Lin");
  g.Count = 3;
  g.X = {1, 5, 10};
  const ParamVector p = {40, 0.8L, 0.4L};
  g.SetModel(p, KindJfetBiasedCap);  // takes the engine's inputs now
  FittedCurve before;
  g.ComputeCurve(before);

  // another record is computed: the engine holds other inputs
  Iteration = std::make_unique<TIteration>();
  Iteration->Bias32 = 7;
  FittedCurve after;
  g.ComputeCurve(after);
  for (int k = 0; k < 100; ++k) EXPECT_EQ(before.Y[k], after.Y[k]) << k;

  // and it is the curve of the inputs it was fitted with
  TFitInputs in;
  in.Bias32 = 1.5;
  THysteric table;
  for (int k = 0; k < 100; k += 9)
    EXPECT_EQ(after.Y[k], ModelValue(p, KindJfetBiasedCap, after.X[k], in, table));
  Iteration->Bias32 = 1.5;
  EXPECT_EQ(after.Y[40], Iteration->Evaluate(p, KindJfetBiasedCap, after.X[40]));
  Iteration.reset();
}

}  // namespace
}  // namespace pakro
