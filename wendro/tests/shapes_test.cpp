// Editable shape objects: loading from and storing into a drawing, hit
// tests, handles, dragging, rotation and the property exchange.
#include <gtest/gtest.h>

#include <functional>

#include "C_Shapes.h"
#include "drawing_fixture.h"
#include "fake_metrics.h"
#include "platform/recording_canvas.h"

using namespace wendro;
using wendro::testing::FakeMetrics;

namespace {

const FakeMetrics kMetrics;

template <class T>
T* Find(const TShapeList& items, int nth = 0) {
  for (const auto& item : items)
    if (auto* p = dynamic_cast<T*>(item.get()); p && nth-- == 0) return p;
  return nullptr;
}

// A pin record whose unused name bytes are not zero and that carries four
// bytes more than today's pins: both must survive an untouched store.
TItemRecord OddPin() {
  const TItemRecord plain = MakePinItem({"Q", 1, 1, 0x20, 2, 40, 8, 0, 0, 0, 8.0});
  TItemRecord odd(kItemPin, kPinSize + 4);
  std::copy(plain.Payload(), plain.Payload() + kPinSize, odd.Payload());
  for (int i = 2; i < 17; ++i) odd.Payload()[i] = 'x';
  for (int i = kPinSize; i < kPinSize + 4; ++i) odd.Payload()[i] = 0xAB;
  return odd;
}

TEST(ShapeObjects, ADrawingComesBackByteIdenticalWhenUntouched) {
  TDShape drawing = wendro::testing::EveryItemDrawing();
  drawing.pins.push_back(OddPin());
  const TShapeList items = ExplodeDShape(drawing, kMetrics);

  // Markers first, then one object per pin and per graphic.
  ASSERT_EQ(items.size(), 4u + 5u + 8u);
  EXPECT_NE(dynamic_cast<TOrigo*>(items[0].get()), nullptr);
  EXPECT_NE(dynamic_cast<TCOR*>(items[1].get()), nullptr);
  EXPECT_NE(dynamic_cast<TDefLabelPos*>(items[2].get()), nullptr);
  EXPECT_NE(dynamic_cast<TSensingRect*>(items[3].get()), nullptr);
  EXPECT_EQ(Find<TPin>(items, 4)->index, 4);
  EXPECT_EQ(Find<TCOR>(items)->position, (TPointL{128, 96}));
  // The connectors are shown but not edited.
  const TXShape* connector = items.back().get();
  EXPECT_FALSE(connector->CanSelect());
  EXPECT_FALSE(connector->HitTest(120 + 30, 96 + 25));

  TDShape stored;
  stored.key = drawing.key;
  stored.spare = drawing.spare;
  StoreDShape(items, stored);
  EXPECT_EQ(stored.pins, drawing.pins);
  EXPECT_EQ(stored.graphics, drawing.graphics);
  EXPECT_EQ(stored.origin, drawing.origin);
  EXPECT_EQ(stored.corOffset, drawing.corOffset);
  EXPECT_EQ(stored.labelOffset, drawing.labelOffset);
  EXPECT_EQ(stored.sensing, drawing.sensing);
  EXPECT_EQ(stored.spare, (TRectS{1, 2, 3, 4}));

  // A drawing the editor stored loads and stores to the same bytes, bounds
  // included.
  TDShape again;
  again.spare = stored.spare;
  StoreDShape(ExplodeDShape(stored, kMetrics), again);
  EXPECT_EQ(again.Size(), stored.Size());
  EXPECT_EQ(again.bounds, stored.bounds);
  EXPECT_EQ(again.pins, stored.pins);
  EXPECT_EQ(again.graphics, stored.graphics);
}

TEST(ShapeObjects, StoringAfterEdits) {
  const TDShape drawing = wendro::testing::EveryItemDrawing();
  TShapeList items = ExplodeDShape(drawing, kMetrics);

  // A moved line is written anew, keeping its caps.
  TSegLine* line = Find<TSegLine>(items);
  line->position.x += 4;
  // Moving the origin keeps every object where it is on screen: the
  // records change by the opposite amount, the connector's too.
  Find<TOrigo>(items)->position.x += 8;
  TDShape stored;
  StoreDShape(items, stored);
  const TLineData was = LineOf(drawing.graphics[3]);
  const TLineData now = LineOf(stored.graphics[3]);
  EXPECT_EQ(now.x1, was.x1 + 4 - 8);
  EXPECT_EQ(now.x2, was.x2 - 8);
  EXPECT_EQ(now.startCap, was.startCap);
  EXPECT_EQ(now.endCap, was.endCap);
  EXPECT_EQ(ConnectorOf(stored.graphics[6]).x1, ConnectorOf(drawing.graphics[6]).x1 - 8);
  EXPECT_EQ(PinOf(stored.pins[0]).x, -40 - 8);
  EXPECT_EQ(stored.origin, (TPointS{128, 96}));

  // Only the selected objects, and never the markers.
  for (auto& item : items) item->selected = item->IsMarker() || dynamic_cast<TXText*>(item.get());
  TDShape some;
  StoreDShape(items, some, true);
  EXPECT_TRUE(some.pins.empty());
  ASSERT_EQ(some.graphics.size(), 1u);
  EXPECT_EQ(some.graphics[0].Type(), kItemText);

  // Without markers: origin (80, 56), offsets 0.
  TShapeList bare;
  auto pin = std::make_unique<TPin>(kMetrics);
  pin->position = {88, 56};
  bare.push_back(std::move(pin));
  TDShape fromBare;
  StoreDShape(bare, fromBare);
  EXPECT_EQ(fromBare.origin, (TPointS{80, 56}));
  EXPECT_EQ(fromBare.corOffset, (TPointS{0, 0}));
  EXPECT_EQ(PinOf(fromBare.pins.at(0)).x, 8);
  EXPECT_EQ(fromBare.bounds, (TRectS{5, -3, 19, 3}));
}

// Every kind of object at a known place.
struct Board {
  TShapeList items;
  Board() {
    auto pin = std::make_unique<TPin>(kMetrics);
    pin->name = "NAME";
    pin->position = {100, 100};
    items.push_back(std::move(pin));
    auto line = std::make_unique<TSegLine>();
    line->position = {0, 0};
    line->x2 = 40, line->y2 = 20;
    items.push_back(std::move(line));
    for (int kind = 0; kind < 3; ++kind) {
      auto shape = std::make_unique<TSegShape>();
      shape->kind = kind;
      shape->position = {200 + 100 * kind, 200};
      shape->x2 = kind == 2 ? 420 : 240 + 100 * kind;
      shape->y2 = kind == 1 ? 220 : kind == 2 ? 220 : 230;
      items.push_back(std::move(shape));
    }
    auto polygon = std::make_unique<TSegPolygon>();
    for (TPointL p : {TPointL{0, 100}, TPointL{40, 100}, TPointL{20, 140}}) polygon->AddPoint(p);
    items.push_back(std::move(polygon));
    auto text = std::make_unique<TXText>(kMetrics);
    text->text = "HELLO";
    text->position = {300, 50};
    items.push_back(std::move(text));
    auto label = std::make_unique<TDefLabelPos>(kMetrics);
    label->position = {0, 300};
    items.push_back(std::move(label));
    for (int k = 0; k < 2; ++k) {  // radii of 1 and less
      auto tiny = std::make_unique<TSegShape>();
      tiny->kind = 1 + k;
      tiny->position = {500 + 100 * k, 500 + 100 * k};
      tiny->x2 = 501 + 100 * k, tiny->y2 = 501 + 100 * k;
      items.push_back(std::move(tiny));
    }
  }
};

TEST(ShapeObjects, HitTestsDoNotDependOnTheZoomOrTheLastPaint) {
  struct Case {
    int item;
    TPointL at;
    bool hit;
  };
  const Case cases[] = {
      {0, {100, 100}, true},   {0, {110, 102}, true},  {0, {120, 100}, true},  // pin, its name
      {0, {140, 100}, false},  {0, {100, 110}, false},
      {1, {20, 10}, true},     {1, {20, 11}, true},    {1, {20, 13}, false},   // line
      {1, {44, 22}, false},    {1, {-1, 0}, false},
      {2, {220, 215}, false},  {2, {201, 215}, true},  {2, {198, 215}, true},  // rectangle
      {2, {197, 215}, false},
      {3, {340, 210}, true},   {3, {341, 210}, true},  {3, {342, 210}, false}, // ellipse
      {3, {320, 210}, false},
      {4, {414, 206}, true},   {4, {420, 220}, true},  {4, {405, 215}, false}, // arc
      {5, {20, 100}, true},    {5, {20, 140}, true},   {5, {20, 113}, false},  // polygon
      {6, {315, 57}, true},    {6, {331, 57}, false},                          // text
      {7, {10, 305}, true},    {7, {10, 299}, false},                          // label marker
      {8, {500, 500}, true},   {9, {600, 600}, true},  {9, {603, 600}, false}, // tiny ellipse, arc
  };
  for (int zoom : {1, 8, 1}) {
    Board board;
    platform::RecordingCanvas recording;
    TDirCanvas canvas(&recording, kMetrics, zoom);
    for (const auto& item : board.items) item->Draw(canvas, TPenMode::Normal);
    for (const Case& c : cases)
      EXPECT_EQ(board.items[std::size_t(c.item)]->HitTest(c.at.x, c.at.y), c.hit)
          << "item " << c.item << " at " << c.at.x << "," << c.at.y << " zoom " << zoom;
  }
}

TEST(ShapeObjects, Handles) {
  Board board;
  TPin& pin = dynamic_cast<TPin&>(*board.items[0]);
  // The name's anchor is the pin's handle, but only while it is selected.
  EXPECT_EQ(pin.HandlePoint(0), (TPointL{110, 100}));
  EXPECT_EQ(pin.HandleAt(110, 100, 1), -1);
  pin.selected = true;
  EXPECT_EQ(pin.HandleAt(110, 100, 1), 0);
  EXPECT_EQ(pin.CursorAt(110, 100, 1), kCursorSizeAll);
  EXPECT_EQ(pin.CursorAt(100, 100, 1), kCursorDrag);

  // The square round a handle shrinks with the zoom: 3 before and 4 after
  // at zoom 1, one unit each way at zoom 8.
  TSegShape& rect = dynamic_cast<TSegShape&>(*board.items[2]);
  rect.selected = true;
  struct Case {
    TPointL at;
    int zoom, handle;
  };
  const Case cases[] = {{{197, 197}, 1, 0}, {{196, 197}, 1, -1}, {{203, 203}, 1, 0}, {{204, 203}, 1, -1},
                        {{199, 199}, 8, 0}, {{198, 199}, 8, -1}, {{200, 200}, 8, 0}, {{201, 200}, 8, -1},
                        {{220, 200}, 1, 1}, {{240, 215}, 1, 4}, {{240, 230}, 8, 7}, {{220, 230}, 2, 6}};
  for (const Case& c : cases)
    EXPECT_EQ(rect.HandleAt(c.at.x, c.at.y, c.zoom), c.handle) << c.at.x << "," << c.at.y << " zoom " << c.zoom;
  EXPECT_EQ(rect.CursorAt(240, 200, 1), kCursorSizeNESW);
  EXPECT_EQ(rect.CursorAt(220, 230, 1), kCursorSizeNS);
  EXPECT_EQ(rect.CursorAt(220, 215, 1), kCursorDrag);
}

TEST(ShapeObjects, PinsAndMarkersSnapToTheGridOutsideADrag) {
  struct Case {
    TPointL to, at;
  };
  const Case cases[] = {{{13, 21}, {16, 24}}, {{-13, 4}, {-8, 8}}, {{3, -4}, {0, 0}}, {{-4, -13}, {0, -8}}};
  for (const Case& c : cases) {
    TPin pin(kMetrics);
    pin.SetPosition(c.to);
    EXPECT_EQ(pin.position, c.at);
    TCOR cor;
    cor.SetPosition(c.to);
    EXPECT_EQ(cor.position, c.at);
    pin.dragging = true;
    pin.SetPosition(c.to);
    EXPECT_EQ(pin.position, c.to);
  }
  TDefLabelPos label(kMetrics);
  label.SetPosition({13, 21});
  EXPECT_EQ(label.position, (TPointL{13, 21}));
}

TPointL TurnRight(TPointL p, int times) {
  for (int i = 0; i < times; ++i) p = {-p.y, p.x};
  return p;
}

TEST(ShapeObjects, EveryKindRotatesByOneTwoAndThreeQuarterTurns) {
  for (int turns = 1; turns <= 4; ++turns) {
    Board board;
    std::vector<std::unique_ptr<TXShape>>& items = board.items;
    for (auto& item : items) {
      TPointL pivot{0, 0};
      for (int i = 0; i < turns; ++i) item->RotateRight(pivot);
    }
    const std::string what = "turns " + std::to_string(turns);
    const auto& pin = dynamic_cast<TPin&>(*items[0]);
    EXPECT_EQ(pin.position, TurnRight({100, 100}, turns)) << what;
    EXPECT_EQ(pin.direction, turns % 4) << what;

    const auto& line = dynamic_cast<TSegLine&>(*items[1]);
    EXPECT_EQ(line.position, TurnRight({0, 0}, turns)) << what;
    EXPECT_EQ(line.Second(), TurnRight({40, 20}, turns)) << what;

    for (int kind = 0; kind < 2; ++kind) {
      const auto& s = dynamic_cast<TSegShape&>(*items[std::size_t(2 + kind)]);
      const TPointL a{200 + 100 * kind, 200}, b{240 + 100 * kind, kind == 1 ? 220 : 230};
      EXPECT_EQ(s.position, TurnRight(a, turns)) << what;
      EXPECT_EQ(s.Second(), TurnRight(b, turns)) << what;
    }

    // The arc turns: its centre (x1, y2) and both ends go round the pivot,
    // the corners trading places on every odd turn.
    const auto& arc = dynamic_cast<TSegShape&>(*items[4]);
    EXPECT_EQ((TPointL{arc.position.x, arc.y2}), TurnRight({400, 220}, turns)) << what;
    const TPointL a = TurnRight({400, 200}, turns), b = TurnRight({420, 220}, turns);
    if (turns % 2 == 1) {
      EXPECT_EQ(arc.position, b) << what;
      EXPECT_EQ(arc.Second(), a) << what;
    } else {
      EXPECT_EQ(arc.position, a) << what;
      EXPECT_EQ(arc.Second(), b) << what;
    }

    const auto& polygon = dynamic_cast<TSegPolygon&>(*items[5]);
    std::vector<TPointL> vertices;
    for (std::size_t k = 0; k < polygon.points.size(); ++k) vertices.push_back(polygon.Vertex(k));
    EXPECT_EQ(vertices, (std::vector<TPointL>{TurnRight({0, 100}, turns), TurnRight({40, 100}, turns),
                                              TurnRight({20, 140}, turns)}))
        << what;
    EXPECT_EQ(polygon.position, (TPointL{polygon.GetBounds().left, polygon.GetBounds().top})) << what;

    // A text keeps its size; its centre goes round ("HELLO" is 30 × 14).
    const auto& text = dynamic_cast<TXText&>(*items[6]);
    const TPointL centre = TurnRight({315, 57}, turns);
    EXPECT_EQ(text.position, (TPointL{centre.x - 15, centre.y - 7})) << what;

    // Markers stay.
    EXPECT_EQ(items[7]->position, (TPointL{0, 300})) << what;
  }

  // Left undoes right, and moves the drag start along.
  TSegShape arc;
  arc.kind = 2;
  arc.position = {0, 0};
  arc.x2 = 10, arc.y2 = 10;
  arc.dragStart = {0, 0};
  TPointL pivot{5, 5};
  arc.RotateLeft(pivot);
  EXPECT_EQ(arc.dragStart, arc.position);
  arc.RotateRight(pivot);
  EXPECT_EQ(arc.position, (TPointL{0, 0}));
  EXPECT_EQ(arc.Second(), (TPointL{10, 10}));
}

TEST(ShapeObjects, AnUnsetPivotIsTheFirstObjectsReferencePoint) {
  TSegLine line;
  line.position = {0, 0};
  line.x2 = 16, line.y2 = 0;
  TPin pin(kMetrics);
  pin.position = {32, 0};
  TSegShape rect;
  rect.position = {0, 16};
  rect.x2 = 16, rect.y2 = 32;
  TPointL pivot{kNoPivot, 0};
  line.RotateRight(pivot);
  pin.RotateRight(pivot);
  rect.RotateRight(pivot);
  EXPECT_EQ(pivot, (TPointL{8, 0}));
  EXPECT_EQ(line.position, (TPointL{8, -8}));
  EXPECT_EQ(line.Second(), (TPointL{8, 8}));
  EXPECT_EQ(pin.position, (TPointL{8, 24}));
  EXPECT_EQ(rect.position, (TPointL{-8, -8}));
  EXPECT_EQ(rect.Second(), (TPointL{-24, 8}));

  // One object alone turns about its own reference point.
  TPointL alone{kNoPivot, 0};
  TPin single(kMetrics);
  single.position = {40, 40};
  single.RotateLeft(alone);
  EXPECT_EQ(single.position, (TPointL{40, 40}));
  EXPECT_EQ(single.direction, 3);
}

TEST(ShapeObjects, Dragging) {
  platform::RecordingCanvas recording;
  TDirCanvas canvas(&recording, kMetrics, 2);

  // A line end moves alone; cancel restores it.
  TSegLine line;
  line.x2 = 40, line.y2 = 20;
  line.BeginDrag(canvas, 1);
  EXPECT_TRUE(line.dragging);
  line.DragTo(canvas, 5, -3);
  EXPECT_EQ(line.position, (TPointL{0, 0}));
  EXPECT_EQ(line.Second(), (TPointL{45, 17}));
  line.CancelDrag(canvas);
  EXPECT_FALSE(line.dragging);
  EXPECT_EQ(line.Second(), (TPointL{40, 20}));

  // The outline is drawn in not-XOR mode, each time twice over.
  std::size_t outlines = 0;
  for (const auto& op : recording.Ops()) outlines += op.mode == platform::RasterMode::NotXor;
  EXPECT_EQ(outlines % 2, 0u);
  EXPECT_GT(outlines, 0u);

  // Handle 2 of a shape: the first corner's y and the second's x.
  TSegShape rect;
  rect.x2 = 20, rect.y2 = 20;
  rect.BeginDrag(canvas, 2);
  rect.DragTo(canvas, 3, 4);
  rect.EndDrag(canvas);
  EXPECT_EQ(rect.position, (TPointL{0, 4}));
  EXPECT_EQ(rect.Second(), (TPointL{23, 20}));

  // A pin's name moves in the pin's own axes; the pin snaps when dropped.
  TPin pin(kMetrics);
  pin.position = {16, 16};
  pin.direction = 1;
  pin.BeginDrag(canvas, 0);
  pin.DragTo(canvas, 5, 3);
  EXPECT_EQ(pin.nameOffset, (TPointL{3, -5}));
  pin.CancelDrag(canvas);
  EXPECT_EQ(pin.nameOffset, (TPointL{0, 0}));
  pin.BeginDrag(canvas, -1);
  pin.DragTo(canvas, 5, 3);
  EXPECT_EQ(pin.position, (TPointL{21, 19}));
  pin.EndDrag(canvas);
  EXPECT_EQ(pin.position, (TPointL{24, 16}));

  // A vertex dragged past the box: the box starts again at the top-left.
  TSegPolygon polygon;
  for (TPointL p : {TPointL{0, 0}, TPointL{20, 0}, TPointL{10, 20}}) polygon.AddPoint(p);
  polygon.BeginDrag(canvas, 0);
  polygon.DragTo(canvas, -10, -5);
  polygon.EndDrag(canvas);
  EXPECT_EQ(polygon.position, (TPointL{-10, -5}));
  EXPECT_EQ(polygon.Second(), (TPointL{20, 20}));
  EXPECT_EQ(polygon.points, (std::vector<TPointL>{{0, 0}, {30, 5}, {20, 25}}));
  polygon.BeginDrag(canvas, 1);
  polygon.DragTo(canvas, 7, 7);
  polygon.CancelDrag(canvas);
  EXPECT_EQ(polygon.points, (std::vector<TPointL>{{0, 0}, {30, 5}, {20, 25}}));
}

class ScriptedEditor : public TPropertyEditor {
 public:
  bool confirm = true;
  std::function<void(TPinProperties&)> pin;
  std::function<void(TTextProperties&)> text;
  bool EditPin(TPinProperties& p) override {
    if (pin) pin(p);
    return confirm;
  }
  bool EditText(TTextProperties& p) override {
    if (text) text(p);
    return confirm;
  }
};

TEST(ShapeObjects, Properties) {
  TPin pin(kMetrics);
  pin.name = "A";
  pin.fontSize = 8.0;
  pin.nameOffset = {4, 4};
  ScriptedEditor editor;
  editor.pin = [](TPinProperties& p) {
    p.name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    p.fontSize = "9,5";
    p.length = 4;
    p.shape = 2;
    p.direction = 3;
    p.resetNamePosition = true;
  };
  ASSERT_TRUE(pin.EditProperties(editor));
  EXPECT_EQ(pin.name, "ABCDEFGHIJKLMNOP");  // 16 characters, as stored
  EXPECT_EQ(pin.fontSize, 9.5);
  EXPECT_EQ(pin.shapeAndLength, 0x42);
  EXPECT_EQ(pin.direction, 3);
  EXPECT_EQ(pin.nameOffset, (TPointL{0, 0}));
  for (const char* unreadable : {"abc", "", "0", "-3", "8x"}) {
    editor.pin = [&](TPinProperties& p) { p.fontSize = unreadable; };
    ASSERT_TRUE(pin.EditProperties(editor));
    EXPECT_EQ(pin.fontSize, 9.5) << unreadable;
  }
  editor.confirm = false;
  editor.pin = [](TPinProperties& p) { p.name = "OTHER"; };
  EXPECT_FALSE(pin.EditProperties(editor));
  EXPECT_EQ(pin.name, "ABCDEFGHIJKLMNOP");

  // A text's size shows as round(factor × 14); an OK without a change keeps
  // the factor.
  TXText text(kMetrics);
  text.sizeFactor = 1.2;
  ScriptedEditor textEditor;
  int shown = 0;
  textEditor.text = [&](TTextProperties& p) {
    shown = p.fontSize;
    p.text = "T";
  };
  ASSERT_TRUE(text.EditProperties(textEditor));
  EXPECT_EQ(shown, 17);
  EXPECT_EQ(text.sizeFactor, 1.2);
  EXPECT_EQ(text.text, "T");
  textEditor.text = [](TTextProperties& p) { p.fontSize = 21; };
  ASSERT_TRUE(text.EditProperties(textEditor));
  EXPECT_DOUBLE_EQ(text.sizeFactor, 1.5);

  // Style controls.
  TSegShape shape;
  shape.StyleFromEditor({3, RGB(1, 2, 3), kNoColour});
  TStyle style;
  shape.StyleToEditor(style);
  EXPECT_EQ(style.penWidth, 3);
  EXPECT_EQ(style.penColour, RGB(1, 2, 3));
  EXPECT_EQ(style.fillColour, kNoColour);
}

}  // namespace
