#include <gtest/gtest.h>

#include "C_DSData.h"
#include "fake_metrics.h"

using namespace wendro;
using wendro::testing::FakeMetrics;

namespace {

std::unique_ptr<TDShape> Drawing(std::int32_t key, const std::vector<std::string>& pinNames = {"1"}) {
  auto shape = std::make_unique<TDShape>();
  shape->key = key;
  std::int16_t y = 0;
  for (const auto& name : pinNames) shape->AppendPin(name, 0, y += 8, 0);
  return shape;
}

std::vector<std::string> PinNames(const TDShape& shape) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < shape.pins.size(); ++i) names.push_back(shape.GetPin(int(i)).name);
  return names;
}

TEST(DeviceModel, PickShapeFallsBackThroughStandardsAndDirections) {
  struct Case {
    std::vector<std::int32_t> keys;
    int standard, direction;
    std::int32_t foundKey;  // -1: none
    int directionAfter;
  };
  const Case cases[] = {
      {{0}, 1, 3, 0, 3},                // only EU east: turn it by 3
      {{0, 1, 2, 3}, 0, 1, 2, 0},       // the drawing itself
      {{0, 1}, 1, 2, 1, 2},             // own standard, direction 0
      {{5}, 0, 2, 5, 0},                // other standard, same direction
      {{1}, 0, 3, 1, 3},                // other standard, direction 0
      {{6}, 0, 1, -1, 1},               // nothing suitable
      {{}, 0, 0, -1, 0},
      {{7, 0, 6}, 0, 3, 6, 0},          // key 6 beats key 0
  };
  for (const auto& c : cases) {
    TDevice device;
    for (auto key : c.keys) device.shapes.push_back(Drawing(key));
    int direction = c.direction;
    const int index = device.PickShape(c.standard, direction);
    const std::int32_t key = index < 0 ? -1 : device.shapes[std::size_t(index)]->key;
    EXPECT_EQ(key, c.foundKey) << c.standard << "/" << c.direction;
    EXPECT_EQ(direction, c.directionAfter) << c.standard << "/" << c.direction;
  }
}

TEST(DeviceModel, CheckPinsComparesNamesAsStoredInOrder) {
  using Names = std::vector<std::string>;
  struct Case {
    std::vector<Names> drawings;
    bool ok;
  };
  const Case cases[] = {
      {{}, true},
      {{{"A", "B"}}, true},
      {{{"A", "B"}, {"A", "B"}, {"A", "B"}}, true},
      {{{"A", "B"}, {"B", "A"}}, false},
      {{{"A", "B"}, {"A", "B"}, {"A"}}, false},
      {{{"~Q~"}, {"Q"}}, false},
      {{{}, {}}, true},
  };
  for (const auto& c : cases) {
    TDevice device;
    for (std::size_t k = 0; k < c.drawings.size(); ++k)
      device.shapes.push_back(Drawing(std::int32_t(k), c.drawings[k]));
    EXPECT_EQ(device.CheckPins(), c.ok) << ::testing::PrintToString(c.drawings);
  }
}

TEST(DeviceModel, PinLookupAndAppend) {
  auto shape = Drawing(0, {"~RST~", "A", "A"});
  EXPECT_EQ(shape->PinIndexByName("RST"), 0);
  EXPECT_EQ(shape->PinIndexByName("~R~ST"), 0);
  EXPECT_EQ(shape->PinIndexByName("A"), 1);
  EXPECT_EQ(shape->PinIndexByName("a"), -1);
  EXPECT_EQ(shape->PinIndexByName(""), -1);

  for (int index : {-1, 3, 1000}) {
    EXPECT_EQ(shape->GetPin(index).name, "");
    EXPECT_EQ(shape->GetPin(index).x, -32767);
  }

  const int at = shape->AppendPin("ABCDEFGHIJKLMNOPQRS", -16, 24, 3);
  EXPECT_EQ(at, 3);
  TPinData expected;
  expected.name = "ABCDEFGHIJKLMNOP";
  expected.direction = 3;
  expected.x = -16;
  expected.y = 24;
  EXPECT_EQ(shape->GetPin(3), expected);
  EXPECT_EQ(shape->pins[3].Size(), 42);
  EXPECT_EQ(shape->pins[3].Payload()[19], 32) << "shape 0, length 2 (normal)";
  EXPECT_EQ(shape->pins[3].Payload()[18], 4) << "passive";
}

TEST(DeviceModel, SyncByNameTakesTheSourcesPinsInItsOrder) {
  auto source = Drawing(0, {"P1", "P2"});
  auto target = Drawing(1, {"P2", "P3"});
  const TPinData targetP2 = target->GetPin(0);
  target->SyncFrom(source.get(), {false, true, false, false});
  EXPECT_EQ(PinNames(*target), (std::vector<std::string>{"P1", "P2"}));
  EXPECT_EQ(target->GetPin(0), source->GetPin(0)) << "P1 is a copy of the source's";
  EXPECT_EQ(target->GetPin(1).y, targetP2.y) << "without positions P2 stays where it was";

  auto moved = Drawing(1, {"P2", "P3"});
  moved->SyncFrom(source.get(), {false, true, true, false});
  EXPECT_EQ(moved->GetPin(1), source->GetPin(1));

  // A name the source has twice: each gets its own pin, nothing is lost.
  auto twice = Drawing(0, {"A", "B", "A"});
  auto single = Drawing(1, {"A"});
  single->SyncFrom(twice.get(), {false, true, true, false});
  EXPECT_EQ(PinNames(*single), (std::vector<std::string>{"A", "B", "A"}));

  // Names match without their overbar marks and take the source's.
  auto barred = Drawing(0, {"~CLR~", "Q"});
  auto plain = Drawing(1, {"Q", "CLR"});
  plain->SyncFrom(barred.get(), {false, true, false, false});
  EXPECT_EQ(PinNames(*plain), (std::vector<std::string>{"~CLR~", "Q"}));
}

TEST(DeviceModel, SyncByIndexAndOfOriginAndCor) {
  auto source = std::make_unique<TDShape>();
  source->AppendPin("X", 40, 40, 2);
  source->AppendPin("Y", 40, 48, 2);
  source->corOffset = {4, -4};
  source->labelOffset = {-8, -30};
  source->origin = {100, 100};
  auto target = Drawing(2, {"A", "B"});
  target->SyncFrom(source.get(), {true, true, false, true});
  EXPECT_EQ(PinNames(*target), (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(target->GetPin(1).x, 0) << "positions stay";
  EXPECT_EQ(target->GetPin(1).direction, 0);
  EXPECT_EQ(target->corOffset, (TPointS{4, -4}));
  EXPECT_EQ(target->labelOffset, (TPointS{-8, -30}));
  EXPECT_EQ(target->origin, (TPointS{80, 80})) << "the origin is not synchronised";
  target->SyncFrom(source.get(), {false, true, true, true});
  EXPECT_EQ(target->GetPin(1), source->GetPin(1));

  auto fewer = Drawing(2, {"A"});
  fewer->SyncFrom(source.get(), {false, true, true, true});
  EXPECT_EQ(PinNames(*fewer), (std::vector<std::string>{"A"})) << "counts differ: nothing";

  TDShape empty;
  auto unchanged = Drawing(2, {"A"});
  unchanged->SyncFrom(&empty, {true, true, true, false});
  unchanged->SyncFrom(unchanged.get(), {true, true, true, false});
  unchanged->SyncFrom(nullptr, {true, true, true, false});
  EXPECT_EQ(PinNames(*unchanged), (std::vector<std::string>{"A"}));
}

TEST(DeviceModel, SyncAllFollowsTheDrawingOfTheKey) {
  TDevice device;
  device.shapes.push_back(Drawing(0, {"A", "B"}));
  device.shapes.push_back(Drawing(1, {"B", "C"}));
  device.shapes.push_back(Drawing(2, {"C"}));
  device.SyncAll(5, {false, true, true, false});
  EXPECT_FALSE(device.CheckPins());
  device.SyncAll(1, {false, true, true, false});
  EXPECT_TRUE(device.CheckPins());
  EXPECT_EQ(PinNames(*device.shapes[0]), (std::vector<std::string>{"B", "C"}));
}

TEST(DeviceModel, DrawingsAreReplacedByKeyAndCopiedDeeply) {
  TDevice device;
  device.shapes.push_back(Drawing(0, {"A"}));
  device.shapes.push_back(Drawing(1, {"A"}));
  device.shapes.push_back(Drawing(0, {"B"}));
  device.ReplaceShape(Drawing(0, {"C"}));
  ASSERT_EQ(device.shapes.size(), 2u);
  EXPECT_EQ(device.FindShape(1), 0);
  EXPECT_EQ(device.FindShape(0), 1);
  EXPECT_EQ(device.shapes[1]->GetPin(0).name, "C");
  EXPECT_EQ(device.FindShape(4), -1);

  device.shapes.push_back(std::make_unique<TDShape>());
  device.DropEmptyShapes();
  EXPECT_EQ(device.shapes.size(), 2u);

  device.name = "OP";
  device.refDes = "IC";
  device.flags = 1;
  device.animatedOnly = 0;
  device.reserved = 9;
  device.values = {1, 2};
  TDevice target;
  target.values = {5};
  target.shapes.push_back(Drawing(6));
  device.AssignTo(target);
  EXPECT_EQ(target.name, "OP");
  EXPECT_EQ(target.refDes, "IC");
  EXPECT_EQ(target.flags, 1u);
  EXPECT_EQ(target.animatedOnly, 0);
  EXPECT_EQ(target.reserved, 9);
  EXPECT_EQ(target.values, (std::vector<std::int32_t>{5})) << "the target keeps its own list";
  ASSERT_EQ(target.shapes.size(), 2u);
  EXPECT_EQ(target.FindShape(6), -1);
  target.shapes[0]->AppendPin("new", 0, 0, 0);
  EXPECT_EQ(device.shapes[0]->pins.size(), 1u) << "drawings are copied, not shared";

  device.AssignTo(device);
  EXPECT_EQ(device.shapes.size(), 2u);
  const auto clone = device.Clone();
  EXPECT_TRUE(clone->values.empty());
  EXPECT_EQ(clone->name, "OP");
  EXPECT_EQ(clone->shapes.size(), 2u);
}

// --- block symbols ------------------------------------------------------------

struct PinAt {
  std::string name;
  int x, y, direction;
  bool operator==(const PinAt&) const = default;
};
void PrintTo(const PinAt& p, std::ostream* os) {
  *os << p.name << "@(" << p.x << "," << p.y << ")>" << p.direction;
}

std::vector<PinAt> Pins(const TDShape& shape) {
  std::vector<PinAt> out;
  for (std::size_t i = 0; i < shape.pins.size(); ++i) {
    const auto pin = shape.GetPin(int(i));
    out.push_back({pin.name, pin.x, pin.y, pin.direction});
  }
  return out;
}

std::vector<std::string> Named(const char* prefix, int n) {
  std::vector<std::string> names;
  for (int i = 1; i <= n; ++i) names.push_back(prefix + std::to_string(i));
  return names;
}

TEST(BlockSymbol, BuildsTheRectangleNameAndPins) {
  // "X" measures 7 × 17 at 1.2; one-character pin names 5 wide at 0.9.
  const auto device = TDevice::CreateBlock("X", {"1", "2"}, {}, {"3"}, {}, FakeMetrics());
  EXPECT_EQ(device->name, "X");
  ASSERT_EQ(device->shapes.size(), 1u);
  const TDShape& s = *device->shapes[0];
  EXPECT_EQ(s.key, 0);
  // W = max(16, 16, 16, 0 + 0 + 48) = 48; H = max(16, 48, 32, 16 + 48) = 64.
  EXPECT_EQ(s.sensing, (TRectS{-24, -32, 24, 32}));
  EXPECT_EQ(s.bounds, (TRectS{-32, -32, 32, 32}));
  EXPECT_EQ(s.origin, (TPointS{40, 40}));
  EXPECT_EQ(s.corOffset, (TPointS{0, 0}));
  EXPECT_EQ(s.labelOffset, (TPointS{-20, -47}));
  EXPECT_EQ(s.spare, (TRectS{}));
  ASSERT_EQ(s.graphics.size(), 2u);
  EXPECT_EQ(ShapeItemOf(s.graphics[0]), (TShapeItemData{0, {-24, -32, 24, 32}, 0x800000, 0xFFFF, 2}));
  EXPECT_EQ(TextOf(s.graphics[1]), (TTextData{"X", "Arial", -3, -8, 1.2, 0, 0, 0x800000}));
  EXPECT_EQ(Pins(s), (std::vector<PinAt>{{"1", 32, -8, 2}, {"2", 32, 8, 2}, {"3", -32, 0, 0}}));
}

TEST(BlockSymbol, TopAndBottomPinsAndWideNames) {
  // "CTRL" measures 29 × 17. A 26-character right pin is measured by its
  // first 16 characters only: w = 86, so W = 16 + 160 + 48 = 224 (all 26
  // would give 336).
  const auto device = TDevice::CreateBlock("CTRL", {"ABCDEFGHIJKLMNOPQRSTUVWXYZ"}, {"T1", "T2", "T3"},
                                           {}, {"B1"}, FakeMetrics());
  const TDShape& s = *device->shapes.at(0);
  EXPECT_EQ(s.sensing, (TRectS{-112, -32, 112, 32}));
  EXPECT_EQ(s.bounds, (TRectS{-112, -40, 120, 40}));
  EXPECT_EQ(s.origin, (TPointS{120, 48}));
  // Top: step = 224 div 4 = 56, first (224 - 112) div 2 = 56.
  EXPECT_EQ(Pins(s), (std::vector<PinAt>{{"ABCDEFGHIJKLMNOP", 120, 0, 2},
                                         {"T1", -56, -40, 1},
                                         {"T2", 0, -40, 1},
                                         {"T3", 56, -40, 1},
                                         {"B1", 0, 40, 3}}));
}

TEST(BlockSymbol, EveryPinLiesOnTheGrid) {
  struct Case {
    int r, t, l, b;
  };
  // (2, 0, 4, 0): a 24-unit step between two pins on an 80-unit side would
  // centre them half a grid step off.
  const Case cases[] = {{2, 0, 4, 0}, {1, 0, 0, 0}, {0, 2, 0, 4}, {2, 4, 4, 2}, {3, 5, 7, 9},
                        {6, 1, 2, 3}, {10, 0, 1, 0}, {0, 0, 0, 1}, {16, 16, 16, 16}, {5, 0, 11, 0}};
  for (const auto& c : cases) {
    const std::string what = ::testing::PrintToString(std::vector<int>{c.r, c.t, c.l, c.b});
    const auto device = TDevice::CreateBlock("DEVICE NAME", Named("R", c.r), Named("T", c.t),
                                             Named("L", c.l), Named("B", c.b), FakeMetrics());
    ASSERT_EQ(device->shapes.size(), 1u) << what;
    const TDShape& s = *device->shapes[0];
    ASSERT_EQ(int(s.pins.size()), c.r + c.t + c.l + c.b) << what;
    EXPECT_EQ(s.origin.x % 8, 0) << what;
    EXPECT_EQ(s.origin.y % 8, 0) << what;
    for (const auto& pin : Pins(s)) {
      EXPECT_EQ(pin.x % 8, 0) << what << " " << ::testing::PrintToString(pin);
      EXPECT_EQ(pin.y % 8, 0) << what << " " << ::testing::PrintToString(pin);
      const bool vertical = pin.direction == 0 || pin.direction == 2;
      const int along = vertical ? pin.y : pin.x;
      const int lo = vertical ? s.sensing.top : s.sensing.left;
      const int hi = vertical ? s.sensing.bottom : s.sensing.right;
      EXPECT_GT(along, lo) << what << " " << ::testing::PrintToString(pin);
      EXPECT_LT(along, hi) << what << " " << ::testing::PrintToString(pin);
    }
  }
}

TEST(BlockSymbol, NoPinsOrNoRoomGiveNoDrawing) {
  const auto none = TDevice::CreateBlock("EMPTY", {}, {}, {}, {}, FakeMetrics());
  EXPECT_TRUE(none->shapes.empty());
  EXPECT_EQ(none->name, "New Device");

  // 4000 pins on a side still fit the 16-bit coordinates; 4100 do not.
  const auto large = TDevice::CreateBlock("BUS", Named("D", 4000), {}, {}, {}, FakeMetrics());
  ASSERT_EQ(large->shapes.size(), 1u);
  const auto pins = Pins(*large->shapes[0]);
  EXPECT_LT(pins.front().y, pins.back().y);
  EXPECT_EQ(pins.back().y % 8, 0);

  const auto tooLarge = TDevice::CreateBlock("BUS", Named("D", 4100), {}, {}, {}, FakeMetrics());
  EXPECT_TRUE(tooLarge->shapes.empty());
}

}  // namespace
