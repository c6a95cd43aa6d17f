// The drawing context and the rendering of stored items, read back from a
// recording canvas (device = world at scale 1 unless a test says otherwise).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "drawing_fixture.h"
#include "fake_metrics.h"
#include "platform/recording_canvas.h"

using namespace wendro;
using platform::CanvasOp;
using platform::Point;
using platform::RecordingCanvas;
using wendro::testing::FakeMetrics;

namespace {

struct Scene {
  RecordingCanvas canvas;
  FakeMetrics metrics;
  TDrawContext context{&canvas, metrics};
  Scene() {
    context.Init({0, 0, 200, 200}, {0, 0, 200, 200});
    context.SetItemTransform({50, 50}, {0, 0}, 0, 0, false);
  }
};

TEST(DrawContext, ArcsInEveryQuadrantAndMirrored) {
  // The arc is the quarter of the ellipse centred at (x1, y2) between the
  // two stored points, counter-clockwise; mirroring swaps its ends.
  struct Case {
    TRectS corners;
    bool mirrored;
    platform::Rect box;
    Point start, end;
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, false, {40, 50, 61, 71}, {60, 60}, {50, 50}},
      {{0, 0, -10, 10}, false, {40, 50, 61, 71}, {50, 50}, {40, 60}},
      {{0, 0, -10, -10}, false, {40, 30, 61, 51}, {40, 40}, {50, 50}},
      {{0, 0, 10, -10}, false, {40, 30, 61, 51}, {50, 50}, {60, 40}},
      {{0, 0, 10, 10}, true, {40, 50, 61, 71}, {50, 50}, {40, 60}},
      {{0, 0, 10, -10}, true, {40, 30, 61, 51}, {40, 40}, {50, 50}},
  };
  for (const Case& c : cases) {
    Scene s;
    s.context.SetItemTransform({50, 50}, {0, 0}, 0, 0, c.mirrored);
    DrawItem(s.context, MakeShapeItem({2, c.corners, RGB(0, 0, 0), kNoColour, 1}));
    const auto arcs = s.canvas.Of(CanvasOp::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    const std::string what = ::testing::PrintToString(std::vector<int>{c.corners.left, c.corners.top,
                                                                       c.corners.right, c.corners.bottom, c.mirrored});
    EXPECT_EQ(arcs[0].points[0], (Point{c.box.left, c.box.top})) << what;
    EXPECT_EQ(arcs[0].points[1], (Point{c.box.right, c.box.bottom})) << what;
    EXPECT_EQ(arcs[0].points[2], c.start) << what;
    EXPECT_EQ(arcs[0].points[3], c.end) << what;
    EXPECT_TRUE(s.canvas.Of(CanvasOp::Pie).empty()) << "unfilled";
  }

  // A filled arc fills its pie first, without a pen.
  Scene s;
  DrawItem(s.context, MakeShapeItem({2, {0, 0, 10, 10}, RGB(0, 0, 0), RGB(0, 255, 0), 1}));
  ASSERT_EQ(s.canvas.Ops().size(), 2u);
  EXPECT_EQ(s.canvas.Ops()[0].kind, CanvasOp::Pie);
  EXPECT_EQ(s.canvas.Ops()[0].pen.style, platform::PenStyle::None);
  EXPECT_EQ(s.canvas.Ops()[0].brush, (platform::Brush{true, RGB(0, 255, 0)}));
  EXPECT_EQ(s.canvas.Ops()[1].kind, CanvasOp::Arc);
  EXPECT_FALSE(s.canvas.Ops()[1].brush.solid);
}

TEST(DrawContext, LineCapsPointAlongTheLineInTheirColour) {
  Scene s;
  DrawItem(s.context, MakeLineItem({0, 0, 20, 0, RGB(0, 0, 255), 1, {1, 100, kNoColour}, {3, 150, RGB(255, 0, 0)}}));
  const auto polygons = s.canvas.Of(CanvasOp::Polygon);
  ASSERT_EQ(polygons.size(), 2u);
  // Start cap: a triangle at (0, 0) pointing away from the end, in the line's colour.
  EXPECT_EQ(polygons[0].points, (std::vector<Point>{{50, 50}, {58, 46}, {58, 54}}));
  EXPECT_EQ(polygons[0].pen.colour, RGB(0, 0, 255));
  EXPECT_EQ(polygons[0].brush, (platform::Brush{true, RGB(0, 0, 255)}));
  // End cap: a barbed arrow 1.5 times as large, in its own colour.
  EXPECT_EQ(polygons[1].points, (std::vector<Point>{{70, 50}, {58, 56}, {65, 50}, {58, 44}}));
  EXPECT_EQ(polygons[1].pen.colour, RGB(255, 0, 0));
  EXPECT_EQ(polygons[1].brush.colour, RGB(255, 0, 0));

  // No cap (kind 0) draws nothing beyond the line.
  Scene plain;
  DrawItem(plain.context, MakeLineItem({0, 0, 0, 20, RGB(0, 0, 0), 1, {}, {}}));
  EXPECT_TRUE(plain.canvas.Of(CanvasOp::Polygon).empty());
  const auto lines = plain.canvas.Of(CanvasOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{50, 50}, {50, 70}}));
  // The canvas leaves out a line's end pixel: the context sets it.
  ASSERT_EQ(plain.canvas.Of(CanvasOp::Pixel).size(), 1u);
  EXPECT_EQ(plain.canvas.Of(CanvasOp::Pixel)[0].points[0], (Point{50, 70}));
}

TEST(DrawContext, Overbars) {
  // Fake metrics: 6 pixels per character at height 14.
  struct Case {
    const char* text;
    const char* shown;
    std::vector<std::pair<int, int>> bars;  // from x, to x
  };
  const Case cases[] = {
      {"~A~BC", "ABC", {{10, 16}}},
      {"A~BC~D", "ABCD", {{16, 28}}},
      {"~A~B~C~", "ABC", {{10, 16}, {22, 28}}},
      {"A~BC", "ABC", {}},       // a single '~' bars nothing
      {"~AB~C~", "ABC", {}},     // an odd count bars nothing
      {"PLAIN", "PLAIN", {}},
  };
  for (const Case& c : cases) {
    Scene s;
    TTextStyle style;
    style.colour = RGB(1, 2, 3);
    s.context.DrawText(10, 10, c.text, style);
    const auto texts = s.canvas.Of(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 1u) << c.text;
    EXPECT_EQ(texts[0].text, c.shown) << c.text;
    EXPECT_EQ(texts[0].pen.colour, RGB(1, 2, 3));
    std::vector<std::pair<int, int>> bars;
    for (const CanvasOp& line : s.canvas.Of(CanvasOp::Line)) {
      EXPECT_EQ(line.points[0].y, 10) << c.text;
      EXPECT_EQ(line.points[1].y, 10) << c.text;
      bars.emplace_back(line.points[0].x, line.points[1].x);
    }
    EXPECT_EQ(bars, c.bars) << c.text;
  }
}

TEST(DrawContext, TextAlignmentAndVerticalText) {
  // "ABCD" is 24 × 14 at factor 1.
  struct Case {
    int h, v;
    TRectL rect;
  };
  const Case cases[] = {
      {0, 0, {50, 50, 74, 64}}, {1, 0, {38, 50, 62, 64}}, {2, 0, {26, 50, 50, 64}},
      {0, 1, {50, 43, 74, 57}}, {1, 1, {38, 43, 62, 57}}, {2, 2, {26, 36, 50, 50}},
  };
  for (const Case& c : cases) {
    Scene s;
    TTextStyle style;
    style.hAlign = c.h;
    style.vAlign = c.v;
    EXPECT_EQ(s.context.DrawText(50, 50, "ABCD", style), c.rect) << c.h << " " << c.v;
    EXPECT_EQ(s.canvas.Of(CanvasOp::Text).at(0).points[0], (Point{c.rect.left, c.rect.top}));
  }

  // Vertical text runs upwards from its anchor, 15 % smaller.
  Scene s;
  TTextStyle style;
  style.orientation = 1;
  const TRectL r = s.context.DrawText(50, 50, "ABCD", style);
  const CanvasOp text = s.canvas.Of(CanvasOp::Text).at(0);
  EXPECT_EQ(text.font.escapement, 900);
  EXPECT_EQ(text.font.height, 12);  // round(14 × 0.85)
  EXPECT_EQ(r, (TRectL{50, 29, 62, 50}));  // 21 wide at height 12
  EXPECT_EQ(text.points[0], (Point{50, 50}));
  style.orientation = 3;
  style.hAlign = 2;  // the whole width below the anchor
  Scene s3;
  EXPECT_EQ(s3.context.DrawText(50, 50, "ABCD", style), (TRectL{50, 50, 62, 71}));
  EXPECT_EQ(s3.canvas.Of(CanvasOp::Text).at(0).font.escapement, 900);
}

TEST(DrawContext, PinNamesAreAlignedByDirection) {
  // A normal pin (8 units) at (0, 0) of item space, i.e. (50, 50): the name
  // "AB" (11 × 13 at factor 0.9) starts 2 units past the pin's inner end.
  const Point at[4] = {{60, 44}, {45, 60}, {29, 44}, {45, 27}};
  for (int d = 0; d < 4; ++d) {
    Scene s;
    DrawPin(s.context, {"AB", 1, 4, 0x20, std::uint8_t(d), 0, 0, 0, 0, 0, 8.0});
    const auto texts = s.canvas.Of(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].points[0], at[d]) << "direction " << d;
    EXPECT_EQ(texts[0].pen.colour, ColourRoles()[kRolePinName].colour);
  }
  // Turning the context by a quarter turn turns the alignment with it.
  Scene turned;
  turned.context.SetItemTransform({50, 50}, {0, 0}, 1, 0, false);
  DrawPin(turned.context, {"AB", 1, 4, 0x20, 0, 0, 0, 0, 0, 0, 8.0});
  EXPECT_EQ(turned.canvas.Of(CanvasOp::Text).at(0).points[0], (Point{45, 27}));  // now North
}

TEST(DrawContext, PinGeometry) {
  // Length 0: no line and no clock, the name at (2, 0) whatever its offset,
  // and the end marker.
  Scene zero;
  zero.context.flags = kDrawPinMarkers;
  DrawPin(zero.context, {"A", 1, 4, 0x02, 0, 0, 0, 0, 30, 30, 8.0});
  const auto lines = zero.canvas.Of(CanvasOp::Line);
  ASSERT_EQ(lines.size(), 2u);  // the marker's cross only
  for (const auto& l : lines) EXPECT_EQ(l.pen.colour, ColourRoles()[kRolePinEndMarker].colour);
  EXPECT_EQ(zero.canvas.Of(CanvasOp::Text).at(0).points[0], (Point{52, 44}));

  // Clock and dot on a normal pin pointing South: the line is shortened by
  // the dot's 4 units, the dot follows it.
  Scene both;
  DrawPin(both.context, {"A", 0, 4, 0x23, 1, 0, 0, 0, 0, 0, 8.0});
  const auto l = both.canvas.Of(CanvasOp::Line);
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[0].points, (std::vector<Point>{{53, 58}, {50, 61}}));  // clock
  EXPECT_EQ(l[2].points, (std::vector<Point>{{50, 50}, {50, 54}}));  // the pin, 8 - 4
  const auto dots = both.canvas.Of(CanvasOp::Ellipse);
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_EQ(dots[0].points, (std::vector<Point>{{48, 54}, {53, 59}}));
  EXPECT_TRUE(both.canvas.Of(CanvasOp::Text).empty()) << "name not shown";

  // Shape bit 3 leaves out the line and the dot, not the clock.
  Scene noLine;
  DrawPin(noLine.context, {"A", 0, 4, 0x2B, 1, 0, 0, 0, 0, 0, 8.0});
  EXPECT_EQ(noLine.canvas.Of(CanvasOp::Line).size(), 2u);
  EXPECT_TRUE(noLine.canvas.Of(CanvasOp::Ellipse).empty());

  // A hidden name shows with supplementary data, beyond the end point.
  Scene hidden;
  hidden.context.flags = kDrawSupplementary;
  DrawPin(hidden.context, {"AB", 0, 4, 0x20, 0, 0, 0, 0, 0, 0, 8.0});
  EXPECT_EQ(hidden.canvas.Of(CanvasOp::Text).at(0).points[0], (Point{46 - 11, 44}));
}

TEST(DrawContext, FillsAndColours) {
  Scene s;
  DrawItem(s.context, MakeShapeItem({0, {0, 0, 10, 10}, RGB(1, 1, 1), kNoColour, 1}));
  DrawItem(s.context, MakeShapeItem({1, {0, 0, 10, 10}, RGB(1, 1, 1), RGB(0, 0, 200), 1}));
  const auto& ops = s.canvas.Ops();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_FALSE(ops[0].brush.solid);
  EXPECT_EQ(ops[0].points, (std::vector<Point>{{50, 50}, {61, 61}}));
  EXPECT_EQ(ops[1].brush, (platform::Brush{true, RGB(0, 0, 200)}));

  // Item colours are colours, even those that look like role numbers.
  Scene low;
  DrawItem(low.context, MakeShapeItem({0, {0, 0, 10, 10}, 3, kNoColour, 1}));
  EXPECT_EQ(low.canvas.Ops().at(0).pen.colour, 3u);

  // Selected, dragged, erased.
  struct Mode {
    std::int16_t flags;
    int role;
  };
  for (const Mode m : {Mode{kDrawSelected, 3}, Mode{kDrawSelected | kDrawLabelSelected, 22},
                       Mode{kDrawDragged, 2}, Mode{kDrawErase | kDrawSelected, 0}}) {
    Scene f;
    f.context.flags = m.flags;
    DrawItem(f.context, MakeShapeItem({0, {0, 0, 10, 10}, RGB(1, 1, 1), RGB(9, 9, 9), 1}));
    EXPECT_EQ(f.canvas.Ops().at(0).pen.colour, ColourRoles()[std::size_t(m.role)].colour) << m.flags;
  }
}

TEST(DrawContext, RoleColoursAndMonochrome) {
  Scene s;
  EXPECT_EQ(s.context.RoleColour(30), s.context.RoleColour(26));
  EXPECT_EQ(s.context.RoleColour(45), s.context.RoleColour(26));
  EXPECT_EQ(s.context.RoleColour(200), 200u);
  EXPECT_EQ(s.context.RoleColour(23), RGB(0, 128, 0));
  EXPECT_EQ(ColourRoles()[24].name, "Pin name");
  s.context.monochrome = true;
  EXPECT_EQ(s.context.RoleColour(0), RGB(255, 255, 255));
  EXPECT_EQ(s.context.RoleColour(23), 0u);
  EXPECT_EQ(s.context.RoleColour(200), 200u);
}

TEST(DrawContext, MeasuringDrawsNothingButExtendsTheBounds) {
  Scene s;
  s.context.noOutput = true;
  s.context.ResetBounds();
  const TDShape drawing = wendro::testing::EveryItemDrawing();
  DrawDShape(drawing, s.context, {100, 100}, 0, 0, false, kDrawPinMarkers);
  EXPECT_TRUE(s.canvas.Ops().empty());
  ASSERT_TRUE(s.context.HasBounds());
  const TRectL b = s.context.Bounds();
  // Items sit at position + COR offset (8, 0).
  EXPECT_LE(b.left, 108 - 40);  // the IN pin's end
  EXPECT_GE(b.right, 108 + 48);  // the OUT pin's end
  EXPECT_LE(b.top, 100 - 32);
  EXPECT_GE(b.bottom, 100 + 32);
}

TEST(DrawContext, EveryItemTypeIsDrawnAndTheRecordsStayAsTheyAre) {
  Scene s;
  const TDShape drawing = wendro::testing::EveryItemDrawing();
  const TDShape before = drawing;
  DrawDShape(drawing, s.context, {100, 100}, 1, 0, true, kDrawPinMarkers | kDrawSupplementary);
  for (auto kind : {CanvasOp::Line, CanvasOp::Rectangle, CanvasOp::Ellipse, CanvasOp::Arc, CanvasOp::Pie,
                    CanvasOp::Polygon, CanvasOp::Text})
    EXPECT_FALSE(s.canvas.Of(kind).empty()) << kind;
  EXPECT_EQ(drawing.pins, before.pins);
  EXPECT_EQ(drawing.graphics, before.graphics);

  // Pin lines first, names last: the first op is a pin line, the last texts
  // are pin names.
  EXPECT_EQ(s.canvas.Ops().front().kind, CanvasOp::Line);
  const auto texts = s.canvas.Of(CanvasOp::Text);
  EXPECT_EQ(texts.back().text, "VCC");
  // Each pin name once, shown or hidden, though pins are drawn in two passes.
  for (const char* name : {"IN", "CLK", "OUT", "VCC"})
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [&](const CanvasOp& t) { return t.text == name; }), 1)
        << name;
  // The item text turns with the drawing.
  bool turnedText = false;
  for (const auto& t : texts) turnedText |= t.text == "AMP1" && t.font.escapement == 900 && t.font.weight == 700;
  EXPECT_TRUE(turnedText);
}

TEST(DrawPreview, FitsClipsAndDropsTextsTooSmallToShow) {
  TDevice device;
  device.ReplaceShape(std::make_unique<TDShape>(wendro::testing::EveryItemDrawing()));
  FakeMetrics metrics;

  RecordingCanvas big;
  DrawPreview(big, {10, 10, 210, 110}, device, 0, metrics);
  ASSERT_FALSE(big.Ops().empty());
  for (const CanvasOp& op : big.Ops()) {
    ASSERT_TRUE(op.clip.has_value());
    EXPECT_EQ(*op.clip, (platform::Rect{10, 10, 210, 110}));
  }
  // A symbol smaller than the target is drawn at scale 1, its bounds
  // centred; the items sit at the COR offset (8, 0).
  const auto rects = big.Of(CanvasOp::Rectangle);
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects[0].points, (std::vector<Point>{{110 - 24, 60 - 24}, {110 + 41, 60 + 25}}));

  // At this scale the fonts round to height 0: no text at all.
  RecordingCanvas tiny;
  DrawPreview(tiny, {0, 0, 2, 2}, device, 1, metrics);
  EXPECT_FALSE(tiny.Of(CanvasOp::Rectangle).empty());
  EXPECT_TRUE(tiny.Of(CanvasOp::Text).empty());

  // Sizes that are no number, not positive or beyond any screen draw no
  // text either.
  for (double factor : {-1.0, -5e9, 1e9, std::nan(""), 0.0}) {
    Scene s;
    TTextStyle style;
    style.factor = factor;
    s.context.DrawText(10, 10, "~A~B", style);
    EXPECT_TRUE(s.canvas.Ops().empty()) << factor;
  }

  // No drawing: nothing.
  TDevice none;
  RecordingCanvas empty;
  DrawPreview(empty, {0, 0, 100, 100}, none, 0, metrics);
  EXPECT_TRUE(empty.Ops().empty());
}

}  // namespace
