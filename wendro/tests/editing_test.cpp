// The editing states driven as the form drives them: scripted presses,
// moves, releases, keys and timer ticks on a manual clock, each script
// ending in the objects it should leave.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "edit_script.h"

using namespace wendro;
using wendro::testing::ScriptView;
using wendro::testing::ScriptedDialogs;

namespace {

const wendro::testing::FakeMetrics kMetrics;

std::string Pt(TPointL p) { return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; }

// One line per object, in list order; a star marks the selected ones.
std::vector<std::string> Describe(const TShapeList& items) {
  std::vector<std::string> out;
  for (const auto& item : items) {
    std::string d;
    if (auto* pin = dynamic_cast<TPin*>(item.get()))
      d = "pin " + pin->name + " " + Pt(pin->position);
    else if (auto* line = dynamic_cast<TSegLine*>(item.get()))
      d = "line " + Pt(line->position) + "-" + Pt(line->Second());
    else if (auto* poly = dynamic_cast<TSegPolygon*>(item.get())) {
      d = "polygon";
      for (std::size_t k = 0; k < poly->points.size(); ++k) d += " " + Pt(poly->Vertex(k));
    } else if (auto* shape = dynamic_cast<TSegShape*>(item.get()))
      d = "shape" + std::to_string(shape->kind) + " " + Pt(shape->position) + "-" + Pt(shape->Second());
    else if (auto* text = dynamic_cast<TXText*>(item.get()))
      d = "text " + text->text + " " + Pt(text->position);
    else if (dynamic_cast<TOrigo*>(item.get()))
      d = "origin " + Pt(item->position);
    else
      d = "other";
    if (item->selected) d += " *";
    out.push_back(d);
  }
  return out;
}

// A script step; coordinates are world units, sent as pixels at the zoom.
struct Ev {
  enum Kind { Down, Up, Move, Dbl, Click, Wait, Key, Tool, Pin, SnapOff, Zoom, NoTimers } kind;
  int x = 0, y = 0;
  unsigned shift = 0;
};
Ev Down(int x, int y, unsigned shift = 0) { return {Ev::Down, x, y, shift}; }
Ev Up(int x, int y) { return {Ev::Up, x, y}; }
Ev Move(int x, int y) { return {Ev::Move, x, y}; }
Ev Click(int x, int y, unsigned shift = 0) { return {Ev::Click, x, y, shift}; }
Ev Dbl(int x, int y) { return {Ev::Dbl, x, y}; }
Ev Wait(int ms) { return {Ev::Wait, ms}; }
Ev KeyEv(TEditKey k) { return {Ev::Key, int(k)}; }
Ev ToolEv(TTool t) { return {Ev::Tool, int(t)}; }
Ev PinEv(int shapeAndLength) { return {Ev::Pin, shapeAndLength}; }
Ev SnapOff() { return {Ev::SnapOff}; }
Ev ZoomEv(int index) { return {Ev::Zoom, index}; }
Ev NoTimers() { return {Ev::NoTimers}; }

struct Fixture {
  ScriptView view;
  ScriptedDialogs dialogs;
  TSymbolEditor editor{view, kMetrics, dialogs};

  Fixture() {
    view.editor = &editor;
    TShapeList items;
    auto origin = std::make_unique<TOrigo>();
    origin->SetPosition({80, 56});
    items.push_back(std::move(origin));
    auto line = std::make_unique<TSegLine>();
    line->SetPosition({8, 40});
    line->x2 = 48, line->y2 = 40;
    items.push_back(std::move(line));
    auto pin = std::make_unique<TPin>(kMetrics);
    pin->name = "7";
    pin->SetPosition({160, 160});
    items.push_back(std::move(pin));
    editor.SetItems(std::move(items));
  }

  void Run(const std::vector<Ev>& script) {
    for (const Ev& e : script) {
      const int z = editor.Zoom();
      switch (e.kind) {
        // A press comes where the mouse has moved to.
        case Ev::Down:
          editor.MouseMove(e.x * z, e.y * z);
          editor.MouseDown(1, e.x * z, e.y * z, e.shift); break;
        case Ev::Up: editor.MouseUp(1, e.x * z, e.y * z, e.shift); break;
        case Ev::Move: editor.MouseMove(e.x * z, e.y * z); break;
        case Ev::Click:
          editor.MouseMove(e.x * z, e.y * z);
          editor.MouseDown(1, e.x * z, e.y * z, e.shift);
          editor.MouseUp(1, e.x * z, e.y * z, e.shift);
          break;
        case Ev::Dbl:  // as the window delivers it
          editor.MouseMove(e.x * z, e.y * z);
          editor.MouseDown(1, e.x * z, e.y * z, 0);
          editor.MouseUp(1, e.x * z, e.y * z, 0);
          editor.DoubleClick(e.x * z, e.y * z);
          editor.MouseUp(1, e.x * z, e.y * z, 0);
          break;
        case Ev::Wait: view.clock.advance(e.x); break;
        case Ev::Key: editor.Key(TEditKey(e.x)); break;
        case Ev::Tool: editor.ChooseTool(TTool(e.x)); break;
        case Ev::Pin: editor.NewPin(std::uint8_t(e.x)); break;
        case Ev::SnapOff: editor.snap = false; break;
        case Ev::Zoom: editor.SetZoomIndex(e.x); break;
        case Ev::NoTimers: view.timersWork = false; break;
      }
    }
  }
};

const std::string kOrigin = "origin (80,56)";
const std::string kPin = "pin 7 (160,160)";

struct Row {
  const char* name;
  std::vector<Ev> script;
  std::vector<std::string> expected;
  bool modified;
};

}  // namespace

TEST(EditingStates, ScriptsEndInTheExpectedObjects) {
  const std::vector<Row> rows = {
      {"quick press and release moves nothing",
       {Down(20, 40), Move(27, 43), Up(27, 43)},
       {kOrigin, "line (8,40)-(48,40) *", kPin}, true},
      {"moves in the first 200 ms are ignored",
       {Down(20, 40), Wait(100), Move(27, 43), Wait(50), Up(27, 43)},
       {kOrigin, "line (8,40)-(48,40) *", kPin}, true},
      {"a drag after 200 ms moves in steps of 4 with snap on",
       {Down(20, 40), Wait(200), Move(27, 43), Up(27, 43)},
       {kOrigin, "line (16,44)-(56,44) *", kPin}, true},
      {"and in steps of 1 with snap off",
       {SnapOff(), Down(20, 40), Wait(200), Move(27, 43), Up(27, 43)},
       {kOrigin, "line (15,43)-(55,43) *", kPin}, true},
      {"the end handle of a selected line moves alone",
       {Click(20, 40), Down(48, 40), Wait(200), Move(51, 50), Up(51, 50)},
       {kOrigin, "line (8,40)-(52,52) *", kPin}, true},
      {"a whole pin moves in steps of 8 with snap off",
       {SnapOff(), Down(160, 160), Wait(200), Move(165, 163), Up(165, 163)},
       {kOrigin, "line (8,40)-(48,40)", "pin 7 (168,160) *"}, true},
      {"without a timer the drag follows at once",
       {NoTimers(), Down(20, 40), Move(28, 44), Up(28, 44)},
       {kOrigin, "line (16,44)-(56,44) *", kPin}, true},
      {"Esc puts a drag back",
       {Down(20, 40), Wait(200), Move(40, 60), KeyEv(TEditKey::Escape), Up(40, 60)},
       {kOrigin, "line (8,40)-(48,40) *", kPin}, false},
      {"a carried new pin lands on the grid under the cursor, then at the press",
       {PinEv(32), Wait(700), Move(101, 43), Down(50, 61), Up(50, 61)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "pin 8 (48,64) *"}, true},
      {"a carried pin put down before any tick lands at the press",
       {PinEv(32), Down(35, 21), Up(35, 21)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "pin 8 (32,24) *"}, true},
      {"Esc drops a carried pin",
       {PinEv(32), Wait(700), Move(100, 40), KeyEv(TEditKey::Escape)},
       {kOrigin, "line (8,40)-(48,40)", kPin}, false},
      {"line tool",
       {ToolEv(TTool::Line), Down(10, 10), Wait(200), Move(40, 20), Up(40, 20)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "line (12,12)-(40,20) *"}, true},
      {"a quick click with the line tool adds nothing",
       {ToolEv(TTool::Line), Click(10, 10)},
       {kOrigin, "line (8,40)-(48,40)", kPin}, false},
      {"rectangle tool",
       {ToolEv(TTool::Rectangle), Down(100, 100), Wait(200), Move(120, 130), Up(120, 130)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "shape0 (100,100)-(120,132) *"}, true},
      {"ellipse tool",
       {ToolEv(TTool::Ellipse), Down(100, 100), Wait(200), Move(120, 130), Up(120, 130)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "shape1 (100,100)-(120,132) *"}, true},
      {"arc tool, each tool draws one item",
       {ToolEv(TTool::Arc), Down(100, 100), Wait(200), Move(120, 120), Up(120, 120), Click(0, 200)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "shape2 (100,100)-(120,120)"}, true},
      {"text tool",
       {ToolEv(TTool::Text), Click(30, 30)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "text Hello (32,32) *"}, true},
      {"polygon closed on its first point keeps the points before",
       {ToolEv(TTool::Polygon), Click(0, 0), Move(40, 0), Click(40, 0), Move(40, 40), Click(40, 40),
        Move(1, 1), Click(1, 1)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "polygon (0,0) (40,0) (40,40) *"}, true},
      {"Ctrl at the first point adds a vertex",
       {SnapOff(), ToolEv(TTool::Polygon), Click(0, 0), Click(40, 0), Click(40, 40), Click(1, 1, kCtrl),
        Click(1, 0)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "polygon (0,0) (40,0) (40,40) (1,1) *"}, true},
      {"a last vertex on the first one is dropped",
       {SnapOff(), ToolEv(TTool::Polygon), Click(0, 0), Click(40, 0), Click(40, 40), Click(0, 0, kCtrl),
        Click(0, 0)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "polygon (0,0) (40,0) (40,40) *"}, true},
      {"a double-click ends the polygon",
       {ToolEv(TTool::Polygon), Click(0, 0), Click(40, 0), Move(20, 40), Dbl(20, 40)},
       {kOrigin, "line (8,40)-(48,40)", kPin, "polygon (0,0) (40,0) (20,40) *"}, true},
      {"a double-click after one click gives no polygon",
       {ToolEv(TTool::Polygon), Click(0, 0), Dbl(40, 0)},
       {kOrigin, "line (8,40)-(48,40)", kPin}, true},
      {"Esc abandons a polygon",
       {ToolEv(TTool::Polygon), Click(0, 0), Click(40, 0), Click(40, 40), KeyEv(TEditKey::Escape)},
       {kOrigin, "line (8,40)-(48,40)", kPin}, false},
      {"block selection takes what lies inside and modifies nothing",
       {Down(0, 20), Move(60, 60), Up(60, 60)},
       {kOrigin, "line (8,40)-(48,40) *", kPin}, false},
      {"Shift keeps the selection while a block adds to it",
       {Click(160, 160), Down(0, 20, kShift), Move(60, 60), Up(60, 60)},
       {kOrigin, "line (8,40)-(48,40) *", "pin 7 (160,160) *"}, true},
      {"Del removes the selected objects but no marker",
       {Down(0, 0), Move(300, 300), Up(300, 300), KeyEv(TEditKey::Delete)},
       {"origin (80,56) *"}, true},
      {"at zoom 8 pixels become world units eight to one",
       {ZoomEv(4), SnapOff(), Down(20, 40), Wait(200), Move(27, 43), Up(27, 43)},
       {kOrigin, "line (15,43)-(55,43) *", kPin}, true},
      {"zoom 1",
       {ZoomEv(0), SnapOff(), Down(20, 40), Wait(200), Move(27, 43), Up(27, 43)},
       {kOrigin, "line (15,43)-(55,43) *", kPin}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Fixture f;
    f.Run(row.script);
    EXPECT_EQ(Describe(f.editor.Items()), row.expected);
    EXPECT_EQ(f.editor.Modified(), row.modified);
    EXPECT_EQ(f.editor.State(), nullptr);
    EXPECT_TRUE(f.editor.DragList().empty());
    EXPECT_EQ(f.view.clock.armed(), 0u);
  }
}

TEST(EditingStates, ADragLiftsItsItemsAfterTheSecondTick) {
  Fixture f;
  f.Run({Down(20, 40), Wait(199)});
  const auto* drag = dynamic_cast<const CMS_Drag*>(f.editor.State());
  ASSERT_NE(drag, nullptr);
  EXPECT_FALSE(drag->Started());
  EXPECT_EQ(f.editor.Cursor(), kCursorDrag);
  f.Run({Wait(1 + 499)});
  EXPECT_FALSE(drag->Started());
  f.Run({Wait(1)});
  EXPECT_TRUE(drag->Started());
  EXPECT_EQ(f.view.clock.armed(), 0u);
  f.Run({Up(20, 40)});
  EXPECT_EQ(f.editor.State(), nullptr);
}

TEST(EditingStates, ToolsAndCancellation) {
  Fixture f;
  f.Run({ToolEv(TTool::Line)});
  EXPECT_EQ(f.editor.Tool(), TTool::Line);
  EXPECT_EQ(f.editor.Cursor(), kCursorCross);
  // Choosing another tool abandons the first; a press replaces the tool by
  // a drag of the new item.
  f.Run({ToolEv(TTool::Rectangle), Down(10, 10)});
  EXPECT_NE(dynamic_cast<const CMS_Drag*>(f.editor.State()), nullptr);
  EXPECT_EQ(f.editor.Tool(), TTool::None);
  EXPECT_EQ(f.editor.Cursor(), kCursorDrag);

  // A cancelled text dialog leaves nothing.
  Fixture g;
  g.dialogs.confirm = false;
  g.Run({ToolEv(TTool::Text), Click(30, 30)});
  EXPECT_EQ(g.editor.Items().size(), 3u);

  // A double-click on a pin opens its dialog once; the next click behaves
  // as a click.
  Fixture h;
  h.dialogs.pinName = "IN";
  h.Run({Dbl(160, 160)});
  EXPECT_EQ(Describe(h.editor.Items())[2], "pin IN (160,160) *");
  h.Run({Click(20, 40)});
  EXPECT_EQ(Describe(h.editor.Items())[1], "line (8,40)-(48,40) *");
  EXPECT_EQ(Describe(h.editor.Items())[2], "pin IN (160,160)");
}

TEST(EditingStates, RotationAndTheNextPinName) {
  Fixture f;
  EXPECT_EQ(f.editor.NextPinName(), "8");
  // Two objects turn about the union of their bounds' centre without a COR.
  f.Run({Down(0, 0), Move(300, 300), Up(300, 300), KeyEv(TEditKey::RotateRight)});
  EXPECT_TRUE(f.editor.Modified());
  const auto d = Describe(f.editor.Items());
  EXPECT_NE(d[1], "line (8,40)-(48,40) *");
  f.Run({KeyEv(TEditKey::RotateRight), KeyEv(TEditKey::RotateRight), KeyEv(TEditKey::RotateRight)});
  EXPECT_EQ(Describe(f.editor.Items())[1], "line (8,40)-(48,40) *");
}

TEST(EditingStates, AWholePinFollowsTheMouseOnThePinGrid) {
  Fixture f;
  f.editor.snap = false;
  f.Run({Down(160, 160), Wait(200), Move(165, 163)});
  const TXShape& pin = *f.editor.Items()[2];
  ASSERT_TRUE(pin.dragging);
  EXPECT_EQ(pin.position, (TPointL{168, 160}));
  f.Run({Move(163, 171)});
  EXPECT_EQ(pin.position, (TPointL{160, 168}));
  // A line end follows unsnapped meanwhile.
  Fixture g;
  g.editor.snap = false;
  g.Run({Click(20, 40), Down(48, 40), Wait(200), Move(51, 43)});
  EXPECT_EQ(Describe(g.editor.Items())[1], "line (8,40)-(51,43) *");
}
