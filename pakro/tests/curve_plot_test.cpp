// The curve plot drawn on a recording canvas: axis layout, labels, points,
// the fitted curve and what the plot must survive.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "pakro/shell/curve_plot.h"
#include "pakro/shell/graph.h"
#include "pakro/tests/plot_recording_canvas.h"

namespace pakro {
namespace {

// Plot area 300 x 200 pixels.
constexpr int W = 360;
constexpr int H = 245;

TGraph MakeGraph(std::initializer_list<double> xs, std::initializer_list<double> ys, const char* xScale = "Lin",
                 const char* yScale = "Lin") {
  TGraph g("X title", "Y title", xScale, yScale);
  int i = 0;
  for (double x : xs) g.X[static_cast<std::size_t>(i++)] = x;
  i = 0;
  for (double y : ys) g.Y[static_cast<std::size_t>(i++)] = y;
  g.Count = i;
  return g;
}

struct Tick {
  int at;             // x of a horizontal tick, y of a vertical one
  std::string label;  // "" when unlabelled
  friend bool operator==(const Tick&, const Tick&) = default;
};

void PrintTo(const Tick& t, std::ostream* os) { *os << "{" << t.at << ", \"" << t.label << "\"}"; }

// The ticks of one axis with the label written right after each.
std::vector<Tick> Ticks(const RecordingCanvas& c, bool horizontal) {
  std::vector<Tick> ticks;
  const auto& ops = c.ops();
  for (std::size_t i = 0; i < ops.size(); ++i) {
    const PlotOp& op = ops[i];
    if (op.kind != PlotOp::Line || op.pen != kPlotBlack) continue;
    const PlotPoint a = op.points[0];
    const PlotPoint b = op.points[1];
    const bool isTick = horizontal ? (a.y == H - 20 && b.y == H - 25 && a.x == b.x)
                                   : (a.x == 25 && b.x == 30 && a.y == b.y);
    if (!isTick) continue;
    std::string label = "<none>";
    for (std::size_t j = i + 1; j < ops.size(); ++j) {
      if (ops[j].kind != PlotOp::Text) continue;
      const PlotPoint at = ops[j].points[0];
      const bool here = horizontal ? (at.x == a.x - 3 && at.y == H - 17) : (at.x == 6 && at.y == a.y - 5);
      if (here) label = ops[j].text;
      break;
    }
    ticks.push_back({horizontal ? a.x : a.y, label});
  }
  return ticks;
}

int GridLines(const RecordingCanvas& c) {
  int n = 0;
  for (const PlotOp& op : c.Of(PlotOp::Line))
    if (op.pen == kPlotGrey && op.style == PenStyle::Dot) ++n;
  return n;
}

std::vector<PlotOp> BlueLines(const RecordingCanvas& c) {
  std::vector<PlotOp> lines;
  for (const PlotOp& op : c.Of(PlotOp::Line))
    if (op.pen == kPlotBlue) lines.push_back(op);
  return lines;
}

FittedCurve Curve(double (*f)(double), double from, double to) {
  FittedCurve curve;
  for (int k = 0; k < FittedCurve::Points; ++k) {
    const double x = from + (to - from) * k / (FittedCurve::Points - 1);
    curve.X[static_cast<std::size_t>(k)] = x;
    curve.Y[static_cast<std::size_t>(k)] = f(x);
  }
  return curve;
}

TEST(AxisNumberText, Labels) {
  struct Row {
    double v;
    const char* label;
    const char* signedLabel;
  };
  const Row rows[] = {
      {0, "0", "0"},           {0.37, "0.4", "0.4"},     {0.25, "0.2", "0.2"},  // halves to even
      {0.35, "0.4", "0.4"},    {1, "1", "1"},            {25, "25", "25"},
      {37.5, "38", "38"},      {100, "100", "100"},      {1000, "1E3", "1E3"},
      {0.005, "5E-3", "5E-3"}, {0.02, "0.02", "0.02"},   {0.01, "1E-2", "1E-2"},
      {0.0095, "1E-2", "1E-2"}, {1E-7, "1E-7", "1E-7"},  {-0.37, "-0.4", "-0.4"},
      {-0.005, "-5E-3", "-5E-3"}, {-40, "-40", "-40"},   {1E-13, "1E-13", "0"},
      {-5E-13, "-5E-13", "0"},  {1E-300, "1E-300", "0"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(AxisNumberText(r.v), r.label) << r.v;
    EXPECT_EQ(SignedAxisNumberText(r.v), r.signedLabel) << r.v;
  }
}

TEST(CurvePlot, FrameAxesAndTitlesFirst) {
  TGraph g = MakeGraph({1, 2}, {1, 2});
  RecordingCanvas c(W, H);
  g.Draw(c, FittedCurve{});
  const auto& ops = c.ops();
  ASSERT_GE(ops.size(), 3u);
  EXPECT_EQ(ops[0].kind, PlotOp::Rectangle);
  EXPECT_EQ(ops[0].points, (std::vector<PlotPoint>{{0, 0}, {W, H}}));
  EXPECT_EQ(ops[0].font, "Arial 8");
  EXPECT_EQ(ops[0].pen, kPlotBlack);
  EXPECT_EQ(ops[0].brush, kPlotWindow);
  EXPECT_EQ(ops[1].points, (std::vector<PlotPoint>{{30, 10}, {30, H - 20}}));
  EXPECT_EQ(ops[2].points, (std::vector<PlotPoint>{{25, H - 25}, {W - 15, H - 25}}));
  bool yTitle = false, xTitle = false;
  for (const PlotOp& op : c.Of(PlotOp::Text)) {
    if (op.text == "Y title") yTitle = op.points[0] == PlotPoint{34, 10};
    if (op.text == "X title") xTitle = op.points[0] == PlotPoint{W - 57, H - 38};
  }
  EXPECT_TRUE(yTitle);
  EXPECT_TRUE(xTitle);
}

TEST(CurvePlot, LinearHorizontalAxis) {
  struct Row {
    const char* what;
    std::initializer_list<double> xs;
    std::vector<Tick> ticks;
  };
  const Row rows[] = {
      {"three points between 1 and 10: step 1, top 4, every tick labelled",
       {1.5, 2.5, 3.2},
       {{30, "0"}, {105, "1"}, {180, "2"}, {255, "3"}, {330, "4"}}},
      {"largest 37: step 10, top 40", {5, 37}, {{30, "0"}, {105, "10"}, {180, "20"}, {255, "30"}, {330, "40"}}},
      {"largest 900: step 100, top 900, every other label",
       {100, 900},
       {{30, "0"},
        {63, ""},
        {97, "200"},
        {130, ""},
        {163, "400"},
        {197, ""},
        {230, "600"},
        {263, ""},
        {297, "800"},
        {330, ""}}},
      {"largest 0.37: step 0.1", {0.1, 0.37}, {{30, "0"}, {105, "0.1"}, {180, "0.2"}, {255, "0.3"}, {330, "0.4"}}},
      {"largest 10: step 1, top 10", {10}, {{30, "0"}, {60, "1"}, {90, "2"}, {120, "3"}, {150, "4"}, {180, "5"},
                                            {210, "6"}, {240, "7"}, {270, "8"}, {300, "9"}, {330, "10"}}},
      {"all zero: one step of 1", {0, 0}, {{30, "0"}, {330, "1"}}},
      {"all negative: one step of 1", {-3, -1}, {{30, "0"}, {330, "1"}}},
  };
  for (const Row& r : rows) {
    std::vector<double> ys(r.xs.size(), 1.0);
    TGraph g("X", "Y", "Lin", "Lin");
    int i = 0;
    for (double x : r.xs) {
      g.X[static_cast<std::size_t>(i)] = x;
      g.Y[static_cast<std::size_t>(i++)] = 1;
    }
    g.Count = i;
    RecordingCanvas c(W, H);
    g.Draw(c, FittedCurve{});
    EXPECT_EQ(Ticks(c, true), r.ticks) << r.what;
  }
}

TEST(CurvePlot, LinearVerticalAxisLabelsEveryTickUpToSevenSteps) {
  struct Row {
    double ymax;
    std::vector<Tick> ticks;
  };
  const Row rows[] = {
      {7, {{220, "0"}, {191, "1"}, {163, "2"}, {134, "3"}, {106, "4"}, {77, "5"}, {49, "6"}, {20, "7"}}},
      {8, {{220, "0"}, {195, ""}, {170, "2"}, {145, ""}, {120, "4"}, {95, ""}, {70, "6"}, {45, ""}, {20, "8"}}},
  };
  for (const Row& r : rows) {
    TGraph g = MakeGraph({1, 2}, {1, r.ymax});
    RecordingCanvas c(W, H);
    g.Draw(c, FittedCurve{});
    EXPECT_EQ(Ticks(c, false), r.ticks) << r.ymax;
  }
}

TEST(CurvePlot, LogAxes) {
  {  // 0.5 to 20: the decades 0.1 to 100, 100 pixels each; no grid line at the lowest
    TGraph g = MakeGraph({0.5, 20}, {1, 2}, "Log", "Lin");
    RecordingCanvas c(W, H);
    g.Draw(c, FittedCurve{});
    EXPECT_EQ(Ticks(c, true), (std::vector<Tick>{{30, "0.1"}, {130, "1"}, {230, "10"}, {330, "100"}}));
    // 3 on the log axis, 2 on the linear vertical one (1 to 2: top 2)
    EXPECT_EQ(GridLines(c), 3 + 2);
  }
  {  // all within one decade: lo 1, hi 10
    TGraph g = MakeGraph({2, 5}, {1, 2}, "Log", "Lin");
    RecordingCanvas c(W, H);
    g.Draw(c, FittedCurve{});
    EXPECT_EQ(Ticks(c, true), (std::vector<Tick>{{30, "1"}, {330, "10"}}));
  }
  {  // the vertical axis rounds with 0.499: 9.9885 gives the decade 10 to 100
    TGraph g = MakeGraph({9.9885}, {9.9885}, "Log", "Log");
    RecordingCanvas c(W, H);
    g.Draw(c, FittedCurve{});
    EXPECT_EQ(Ticks(c, true), (std::vector<Tick>{{30, "1"}, {330, "10"}}));
    EXPECT_EQ(Ticks(c, false), (std::vector<Tick>{{220, "10"}, {20, "100"}}));
    // the point lies just below the bottom decade of the vertical axis
    const auto squares = c.Of(PlotOp::Rectangle);
    ASSERT_EQ(squares.size(), 2u);  // frame and the point
    EXPECT_EQ(squares[1].points[0].x, 327);  // x = 30 + 300 * log10(9.9885) = 329.85
    EXPECT_EQ(squares[1].points[0].y, 217);  // y = 220.1
  }
}

TEST(CurvePlot, PointsAreSquaresOnTheMapping) {
  TGraph g = MakeGraph({1, 3}, {2, 4});  // x top 3 (100 px per unit), y top 4 (50 px per unit)
  RecordingCanvas c(W, H);
  g.Draw(c, FittedCurve{});
  const auto rects = c.Of(PlotOp::Rectangle);
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_EQ(rects[1].points, (std::vector<PlotPoint>{{127, 117}, {133, 123}}));  // (130, 120)
  EXPECT_EQ(rects[2].points, (std::vector<PlotPoint>{{327, 17}, {333, 23}}));    // (330, 20)
  for (std::size_t i = 1; i < rects.size(); ++i) {
    EXPECT_EQ(rects[i].pen, kPlotBlack);
    EXPECT_EQ(rects[i].style, PenStyle::Solid);
    EXPECT_EQ(rects[i].brush, kPlotWindow);
  }
}

TEST(CurvePlot, NonPositiveDataForceLinearScalesThatStay) {
  TGraph g = MakeGraph({0, 2}, {1, 10}, "Log", "Log");
  g.XNonPositive = true;
  RecordingCanvas c(W, H);
  g.Draw(c, FittedCurve{});
  EXPECT_EQ(g.XScale.str(), "Lin");
  EXPECT_EQ(g.YScale.str(), "Log");
  EXPECT_EQ(Ticks(c, true).front(), (Tick{30, "0"}));
  EXPECT_EQ(Ticks(c, false), (std::vector<Tick>{{220, "1"}, {20, "10"}}));

  // Data not greater than 0 under a log scale whose flag was never set are
  // drawn on a linear axis too, and nothing is drawn from a logarithm of 0.
  TGraph h = MakeGraph({0, 2}, {-1, 10}, "Log", "Log");
  RecordingCanvas d(W, H);
  h.Draw(d, FittedCurve{});
  EXPECT_EQ(Ticks(d, true).front(), (Tick{30, "0"}));
  EXPECT_EQ(Ticks(d, false).front(), (Tick{220, "0"}));
  EXPECT_EQ(d.Of(PlotOp::Rectangle).size(), 3u);
}

TEST(CurvePlot, FittedCurveIsBlueAndClippedToThePlotArea) {
  // x from 0 to 4 on an axis that ends at 2, y = x * x up to 16 on an
  // axis that ends at 4.
  TGraph g = MakeGraph({1, 2}, {1, 4});
  g.ShowFitted = true;
  const FittedCurve curve = Curve([](double x) { return x * x; }, 0.0, 4.0);
  RecordingCanvas c(W, H);
  g.Draw(c, curve);
  const auto blue = BlueLines(c);
  ASSERT_FALSE(blue.empty());
  for (const PlotOp& op : blue) {
    for (const PlotPoint& p : op.points) {
      EXPECT_GT(p.x, 25);
      EXPECT_LT(p.x, W - 15);
      EXPECT_GT(p.y, 10);
      EXPECT_LT(p.y, H - 20);
    }
    EXPECT_EQ(op.style, PenStyle::Solid);
  }
  // It starts at the origin (30, 220) and ends where y passes 4.2, the top
  // of the area (x = 2.05).
  EXPECT_EQ(blue.front().points[0], (PlotPoint{30, 220}));
  EXPECT_LE(blue.back().points[1].x, 30 + 2.05 * 150);
  EXPECT_GT(blue.back().points[1].x, 30 + 1.9 * 150);
}

TEST(CurvePlot, CurveThatLeavesAndReentersStartsAgainInside) {
  TGraph g = MakeGraph({1, 4}, {1, 4});  // top 4 on both axes
  g.ShowFitted = true;
  // up to 8 around x = 2, back to 1 at the end
  const FittedCurve curve = Curve([](double x) { return x > 1.5 && x < 2.5 ? 8.0 : 1.0; }, 0.1, 3.9);
  RecordingCanvas c(W, H);
  g.Draw(c, curve);
  const auto blue = BlueLines(c);
  ASSERT_FALSE(blue.empty());
  for (const PlotOp& op : blue) {
    EXPECT_EQ(op.points[0].y, op.points[1].y);  // no line climbs out to the peak
    EXPECT_EQ(op.points[0].y, 220 - 50);
  }
}

TEST(CurvePlot, OneValueOutOfWindowOmitsTheWholeCurve) {
  TGraph g = MakeGraph({1, 2}, {1, 2});
  g.ShowFitted = true;
  FittedCurve curve = Curve([](double x) { return x; }, 0.5, 2.0);
  {
    RecordingCanvas c(W, H);
    g.Draw(c, curve);
    EXPECT_FALSE(BlueLines(c).empty());
  }
  curve.Y[57] = 1E100L;
  RecordingCanvas c(W, H);
  g.Draw(c, curve);
  EXPECT_TRUE(BlueLines(c).empty());
  EXPECT_EQ(c.Of(PlotOp::Rectangle).size(), 3u);  // the points still are

  g.ShowFitted = false;
  curve.Y[57] = 1;
  RecordingCanvas d(W, H);
  g.Draw(d, curve);
  EXPECT_TRUE(BlueLines(d).empty());
}

TEST(CurvePlot, FittedValuesNotAboveZeroOnALogAxisAreSkipped) {
  TGraph g = MakeGraph({1, 10}, {1, 10}, "Log", "Log");
  g.ShowFitted = true;
  const FittedCurve curve = Curve([](double x) { return x < 5 ? x : -1.0; }, 1.0, 10.0);
  RecordingCanvas c(W, H);
  g.Draw(c, curve);
  const auto blue = BlueLines(c);
  ASSERT_FALSE(blue.empty());
  for (const PlotOp& op : blue)
    for (const PlotPoint& p : op.points) {
      EXPECT_LT(p.x, 30 + 300 * std::log10(5.0) + 1);
      EXPECT_GT(p.y, 10);
      EXPECT_LT(p.y, H - 20);
    }
}

TEST(CurvePlot, CoordinatesFarOutsideAreHeld) {
  TGraph g = MakeGraph({-1E250, 1}, {1E-200, 1});
  g.ShowFitted = true;
  const FittedCurve curve = Curve([](double x) { return x > 0.5 ? 1E90 : -1E90; }, -1E200, 1E200);
  RecordingCanvas c(W, H);
  g.Draw(c, curve);
  for (const PlotOp& op : c.ops())
    for (const PlotPoint& p : op.points) {
      EXPECT_LE(std::abs(p.x), 100000 + 10);
      EXPECT_LE(std::abs(p.y), 100000 + 10);
    }
  EXPECT_EQ(c.Of(PlotOp::Rectangle)[1].points[0].x, -100000);
}

TEST(CurvePlot, WithoutPointsOnlyFrameAxesAndTitles) {
  TGraph g("X title", "Y title", "Log", "Log");
  g.ShowFitted = true;
  RecordingCanvas c(W, H);
  g.Draw(c, Curve([](double x) { return x; }, 1, 2));
  ASSERT_EQ(c.ops().size(), 5u);
  EXPECT_EQ(c.Of(PlotOp::Line).size(), 2u);
  EXPECT_EQ(c.Of(PlotOp::Text).size(), 2u);
}

TEST(CurvePlot, LoopAroundTheOrigin) {
  TGraph g = MakeGraph({10, 40}, {0.5, 1.5}, "Log", "Log");
  g.ShowFitted = true;
  const FittedCurve curve = Curve([](double x) { return x / 40; }, 1.0, 40.0);
  RecordingCanvas c(W, H);
  g.DrawLoop(c, curve);
  // The loop leaves both scales linear.
  EXPECT_EQ(g.XScale.str(), "Lin");
  EXPECT_EQ(g.YScale.str(), "Lin");
  EXPECT_TRUE(g.XNonPositive);
  EXPECT_TRUE(g.YNonPositive);
  // Log scales on entry do not move the origin: drawn again, the picture is
  // the same, centred.
  RecordingCanvas d(W, H);
  g.DrawLoop(d, curve);
  ASSERT_EQ(c.ops().size(), d.ops().size());
  for (std::size_t i = 0; i < c.ops().size(); ++i) {
    EXPECT_EQ(c.ops()[i].points, d.ops()[i].points) << i;
    EXPECT_EQ(c.ops()[i].text, d.ops()[i].text) << i;
  }
  const int x0 = 180, y0 = 122;  // 122.5 rounds to even
  EXPECT_EQ(d.ops()[1].points, (std::vector<PlotPoint>{{x0, 8}, {x0, H - 18}}));
  EXPECT_EQ(d.ops()[2].points, (std::vector<PlotPoint>{{15, H - y0}, {W - 15, H - y0}}));
  // Horizontal: vmax 40, step 10, top 40, (360 - 180 - 30) / 40 px per unit,
  // labels every 20 from -40 to 40.
  std::vector<std::string> labels;
  std::vector<std::string> vertical;
  for (const PlotOp& op : d.Of(PlotOp::Text)) {
    if (op.points[0].y == H - 15) labels.push_back(op.text);
    if (op.points[0].x == 6) vertical.push_back(op.text);
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"-40", "-20", "0", "20", "40"}));
  // Vertical: vmax 1.5, step 1, top 2, ticks -2 to 2 every step.
  EXPECT_EQ(vertical, (std::vector<std::string>{"-2", "-1", "0", "1", "2"}));
  // Each point a triangle, its reflection a square.
  const auto triangles = d.Of(PlotOp::Polygon);
  ASSERT_EQ(triangles.size(), 2u);
  const double ppuX = 150.0 / 40, ppuY = (H - y0 - 16) / 2.0;
  const double px = x0 + 10 * ppuX, py = (H - y0) - 0.5 * ppuY;
  EXPECT_EQ(triangles[0].points,
            (std::vector<PlotPoint>{{static_cast<int>(std::nearbyint(px - 3)), static_cast<int>(std::nearbyint(py + std::sqrt(3.0)))},
                                    {static_cast<int>(std::nearbyint(px)), static_cast<int>(std::nearbyint(py - 2 * std::sqrt(3.0)))},
                                    {static_cast<int>(std::nearbyint(px + 3)), static_cast<int>(std::nearbyint(py + std::sqrt(3.0)))}}));
  const auto squares = d.Of(PlotOp::Rectangle);
  ASSERT_EQ(squares.size(), 3u);
  const double rx = x0 - 10 * ppuX, ry = (H - y0) + 0.5 * ppuY;
  EXPECT_EQ(squares[1].points[0], (PlotPoint{static_cast<int>(std::nearbyint(rx - 3)), static_cast<int>(std::nearbyint(ry - 3))}));
  // Both branches of the fitted loop, one on each side of the origin.
  const auto blue = BlueLines(d);
  int right = 0, left = 0;
  for (const PlotOp& op : blue) (op.points[1].x > x0 ? right : left)++;
  EXPECT_GT(right, 50);
  EXPECT_GT(left, 50);
}

}  // namespace
}  // namespace pakro
