#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "C_DSData.h"
#include "fake_metrics.h"
#include "fixture_bytes.h"
#include "platform/save_checks.h"
#include "platform/text_file.h"

using namespace wendro;
using wendro::testing::Bytes;
using wendro::testing::FakeMetrics;
namespace fs = std::filesystem;

namespace {

// --- hand-made fixtures -------------------------------------------------------

Bytes PinPayload(std::string_view name, int x, int y, int direction = 0, int shape = 0x20,
                 int offX = 0, int offY = 0, double font = 8.0) {
  Bytes b;
  b.U8(int(name.size())).Raw(name).Zeros(16 - int(name.size()));
  return b.U8(1).U8(4).U8(shape).U8(direction).I16(x).I16(y).U8(0).I32(offX).I32(offY).F64(font);
}
Bytes Pin(std::string_view name, int x, int y, int direction = 0) {
  return Bytes().Item(100, 259, PinPayload(name, x, y, direction));
}
Bytes LinePayload(int x1, int y1, int x2, int y2, int colour, int width) {
  return Bytes().I16(x1).I16(y1).I16(x2).I16(y2).I32(colour).I16(width).Cap(0, 100, -2).Cap(0, 100, -2);
}
Bytes ShapePayload(int kind, int l, int t, int r, int b, int pen, int fill, int width) {
  return Bytes().U8(kind).Rect(l, t, r, b).I32(pen).I32(fill).I16(width);
}
Bytes TextPayload(std::string_view text, std::string_view font, int x, int y, double factor,
                  int bold, int italic, int colour) {
  return Bytes().Short(text).Short(font).I16(x).I16(y).F64(factor).U8(bold).U8(italic).I32(colour);
}

struct Drawing {
  int key = 0;
  int bounds[4] = {-20, -20, 20, 20};
  int sensing[4] = {-16, -16, 16, 16};
  int spare[4] = {0, 0, 0, 0};
  int origin[2] = {80, 80};
  int cor[2] = {0, 0};
  int label[2] = {40, 20};
  std::vector<Bytes> pins;
  std::vector<Bytes> graphics;

  Bytes Body() const {
    Bytes b;
    b.I32(key)
        .Rect(bounds[0], bounds[1], bounds[2], bounds[3])
        .Rect(sensing[0], sensing[1], sensing[2], sensing[3])
        .Rect(spare[0], spare[1], spare[2], spare[3])
        .Point(origin[0], origin[1])
        .Point(cor[0], cor[1])
        .Point(label[0], label[1]);
    b.I32(std::int64_t(pins.size()));
    for (const auto& p : pins) b.Raw(p);
    b.I32(std::int64_t(graphics.size()));
    for (const auto& g : graphics) b.Raw(g);
    return b;
  }
};

struct Device {
  std::uint32_t flags = 3;
  int animated = 1;
  std::string name = "New Device";
  std::string refDes = "Label";
  int reserved = 0;
  std::vector<std::int32_t> values;
  std::vector<Drawing> drawings;

  Bytes Body() const {
    Bytes b;
    b.I32(flags).U8(animated).Str(name).Str(refDes).I16(reserved).I32(std::int64_t(values.size()));
    for (auto v : values) b.I32(v);
    b.I32(std::int64_t(drawings.size()));
    for (const auto& d : drawings) b.Raw(d.Body());
    return b;
  }
  Bytes Record() const { return Bytes().Record(769, 256, Body()); }
};

Bytes VersionRecord(std::string_view kind = "ORVO Device Database", std::string_view v = "V1.0") {
  return Bytes().Record(2, 0, Bytes()
                                  .Str(kind)
                                  .Str(v)
                                  .Str("30/04/97")
                                  .Str("")
                                  .Str("ORVO Device Editor V1.0")
                                  .Str("Written by the ORVO Device Editor")
                                  .I32(0));
}

std::string Database(const std::vector<Device>& devices) {
  Bytes b;
  b.Magic().Raw(VersionRecord());
  for (const auto& d : devices) b.Raw(d.Record());
  return b.End().str();
}

TDeviceList Sentinel() {
  TDeviceList list;
  list.push_back(std::make_unique<TDevice>());
  list.back()->name = "sentinel";
  return list;
}

std::string Written(const TDeviceList& list) {
  TMemoryStream out;
  EXPECT_EQ(WriteDatabase(out, list), 0);
  return out.Bytes();
}

TDeviceList MustLoad(const std::string& bytes) {
  TDeviceList list;
  TMemoryStream in(bytes);
  EXPECT_EQ(ReadDatabase(in, list), TLoadResult::Loaded);
  return list;
}

// Every item type in one drawing, plus an item type the editor does not know.
Device AllItemsDevice() {
  Drawing d;
  d.pins = {Pin("A", -24, 0, 0), Bytes().Item(100, 259, PinPayload("~Q~", 24, 8, 2, 0x43, 3, -2, 10.5))};
  d.graphics = {
      Bytes().Item(101, 259, LinePayload(-16, -16, 16, 16, 0x0000FF, 2)),
      Bytes().Item(102, 259, ShapePayload(0, -16, -16, 16, 16, 0x800000, 0xFFFF, 2)),
      Bytes().Item(102, 259, ShapePayload(1, -8, -8, 8, 8, 0, -2, 1)),
      Bytes().Item(102, 259, ShapePayload(2, 0, -8, 8, 0, 0x808080, -2, 1)),
      Bytes().Item(103, 259, TextPayload("AND", "Arial", -10, -7, 1.2, 1, 0, 0x800000)),
      Bytes().Item(104, 259,
                   Bytes().Rect(-4, -4, 4, 4).I32(0xFF).I32(-2).I16(1).I16(3).Point(0, 0).Point(8, 0).Point(4, 8)),
      Bytes().Item(105, 259,
                   Bytes().U8(1).I16(0).I16(0).I16(8).I16(16).I32(0x00FF00).Cap(1, 100, -2).Cap(3, 150, 0xFF)),
      Bytes().Item(250, 7, Bytes().Raw("opaque")),
  };
  Device dev;
  dev.name = "AND2";
  dev.refDes = "U";
  dev.drawings = {d};
  return dev;
}

// --- fixtures that load and come back byte for byte --------------------------

TEST(DeviceDatabase, EmptyDatabaseLoadsAndIsWrittenIdentically) {
  const std::string bytes = Database({});
  auto list = Sentinel();
  TMemoryStream in(bytes);
  ASSERT_EQ(ReadDatabase(in, list), TLoadResult::Loaded);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(Written(list), bytes);
}

TEST(DeviceDatabase, EveryItemTypeLoadsIntoTheModelAndIsWrittenIdentically) {
  const std::string bytes = Database({AllItemsDevice()});
  auto list = MustLoad(bytes);
  ASSERT_EQ(list.size(), 1u);
  const TDevice& dev = *list[0];
  EXPECT_EQ(dev.name, "AND2");
  EXPECT_EQ(dev.refDes, "U");
  ASSERT_EQ(dev.shapes.size(), 1u);
  const TDShape& s = *dev.shapes[0];
  EXPECT_EQ(s.sensing, (TRectS{-16, -16, 16, 16}));
  EXPECT_EQ(s.origin, (TPointS{80, 80}));
  ASSERT_EQ(s.pins.size(), 2u);
  ASSERT_EQ(s.graphics.size(), 8u);

  TPinData q;
  q.name = "~Q~";
  q.shapeAndLength = 0x43;
  q.direction = 2;
  q.x = 24;
  q.y = 8;
  q.nameOffsetX = 3;
  q.nameOffsetY = -2;
  q.fontSize = 10.5;
  EXPECT_EQ(s.GetPin(1), q);
  EXPECT_EQ(LineOf(s.graphics[0]), (TLineData{-16, -16, 16, 16, 0xFF, 2, {}, {}}));
  EXPECT_EQ(ShapeItemOf(s.graphics[1]), (TShapeItemData{0, {-16, -16, 16, 16}, 0x800000, 0xFFFF, 2}));
  EXPECT_EQ(ShapeItemOf(s.graphics[3]).kind, 2);
  EXPECT_EQ(TextOf(s.graphics[4]), (TTextData{"AND", "Arial", -10, -7, 1.2, 1, 0, 0x800000}));
  EXPECT_EQ(PolygonOf(s.graphics[5]),
            (TPolygonData{{-4, -4, 4, 4}, 0xFF, -2, 1, {{0, 0}, {8, 0}, {4, 8}}}));
  EXPECT_EQ(ConnectorOf(s.graphics[6]),
            (TConnectorData{1, 0, 0, 8, 16, 0x00FF00, {1, 100, -2}, {3, 150, 0xFF}}));
  EXPECT_EQ(s.graphics[7].Type(), 250);
  EXPECT_EQ(s.graphics[7].Version(), 259) << "every item held is of the current version";

  // The unknown item was version 7 in the file and becomes 259.
  std::string expected = bytes;
  const std::string unknown = Bytes().Item(250, 7, Bytes().Raw("opaque")).str();
  expected.replace(expected.find(unknown), unknown.size(), Bytes().Item(250, 259, Bytes().Raw("opaque")).str());
  EXPECT_EQ(Written(list), expected);
}

TEST(DeviceDatabase, SeveralDevicesAndDrawingsKeepEveryField) {
  Device a;
  a.name = "NPN";
  a.refDes = "Q";
  a.flags = 0x80000001u;
  a.animated = 0;
  a.reserved = -2;
  a.values = {7, -1, 1 << 30};
  Drawing eu, us;
  eu.key = 0;
  eu.spare[0] = 5;  // never made by the editor, kept anyway
  eu.spare[3] = -5;
  eu.cor[0] = 4;
  eu.label[1] = -30;
  eu.pins = {Pin("B", -16, 0), Pin("C", 8, -16, 1), Pin("E", 8, 16, 3)};
  eu.graphics = {Bytes().Item(101, 259, LinePayload(-8, 0, 8, -8, 0, 1))};
  us = eu;
  us.key = 1;
  us.origin[0] = 96;
  a.drawings = {eu, us};
  Device b;
  b.name = std::string(254, 'N');  // longest name
  b.drawings = {us};
  Device c;  // a device without drawings
  c.name = "";
  const std::string bytes = Database({a, b, c, a});

  auto list = MustLoad(bytes);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0]->flags, 0x80000001u);
  EXPECT_EQ(list[0]->animatedOnly, 0);
  EXPECT_EQ(list[0]->reserved, -2);
  EXPECT_EQ(list[0]->values, (std::vector<std::int32_t>{7, -1, 1 << 30}));
  ASSERT_EQ(list[0]->shapes.size(), 2u);
  EXPECT_EQ(list[0]->shapes[0]->spare, (TRectS{5, 0, 0, -5}));
  EXPECT_EQ(list[0]->shapes[1]->key, 1);
  EXPECT_EQ(list[0]->shapes[0]->GetPin(2).name, "E");
  EXPECT_EQ(list[1]->name, std::string(254, 'N'));
  EXPECT_TRUE(list[2]->shapes.empty());
  EXPECT_EQ(list[2]->name, "");
  EXPECT_EQ(Written(list), bytes);
}

TEST(DeviceDatabase, OldPinsAndLinesAreUpgraded) {
  // A version-257 pin of 26 bytes (no name placement) and a version-258
  // line of 14 bytes (no caps).
  Drawing d;
  d.pins = {Bytes().Item(100, 257, Bytes()
                                        .U8(2)
                                        .Raw("IN")
                                        .Zeros(14)
                                        .U8(1)
                                        .U8(0)
                                        .U8(0x21)
                                        .U8(0)
                                        .I16(-24)
                                        .I16(8)
                                        .U8(5))};
  d.graphics = {Bytes().Item(101, 258, Bytes().I16(1).I16(2).I16(3).I16(4).I32(0xFF).I16(3)),
                Bytes().Item(101, 1, Bytes())};
  Device dev;
  dev.drawings = {d};
  auto list = MustLoad(Database({dev}));
  const TDShape& s = *list.at(0)->shapes.at(0);
  EXPECT_EQ(s.pins[0].Size(), 42);
  EXPECT_EQ(s.pins[0].Version(), 259);
  TPinData expected;
  expected.name = "IN";
  expected.electricType = 0;
  expected.shapeAndLength = 0x21;
  expected.x = -24;
  expected.y = 8;
  expected.visibility = 5;
  EXPECT_EQ(s.GetPin(0), expected);
  EXPECT_EQ(s.graphics[0].Size(), 28);
  EXPECT_EQ(LineOf(s.graphics[0]), (TLineData{1, 2, 3, 4, 0xFF, 3, {0, 100, -2}, {0, 100, -2}}));

  // Written back as current records.
  Drawing upgraded = d;
  upgraded.pins = {Bytes().Item(100, 259, PinPayload("IN", -24, 8, 0, 0x21))};
  // PinPayload writes electric type 4 and visibility 0: patch them.
  std::string pin = upgraded.pins[0].str();
  pin[12 + 18] = 0;
  pin[12 + 25] = 5;
  upgraded.pins = {Bytes().Raw(pin)};
  upgraded.graphics = {Bytes().Item(101, 259, LinePayload(1, 2, 3, 4, 0xFF, 3)),
                       Bytes().Item(101, 259, LinePayload(0, 0, 0, 0, 0, 0))};
  Device after = dev;
  after.drawings = {upgraded};
  EXPECT_EQ(Written(list), Database({after}));
}

TEST(DeviceDatabase, LongerRecordsKeepTheirSpareBytes) {
  Drawing d;
  d.pins = {Bytes().Item(100, 259, PinPayload("A", 0, 0).Raw("spare"))};
  d.graphics = {Bytes().Item(102, 259, ShapePayload(0, 0, 0, 8, 8, 0, -2, 1).I32(0x12345678))};
  Device dev;
  dev.drawings = {d};
  const std::string bytes = Database({dev});
  auto list = MustLoad(bytes);
  EXPECT_EQ(list[0]->shapes[0]->pins[0].Size(), 47);
  EXPECT_EQ(Written(list), bytes);

  // Synchronising pin fields onto such a pin keeps its spare bytes too.
  auto& shape = *list[0]->shapes[0];
  TDShape source;
  source.AppendPin("A", 8, 8, 1);
  shape.SyncFrom(&source, {false, true, true, false});
  EXPECT_EQ(shape.GetPin(0).x, 8);
  const auto& pin = shape.pins[0].Bytes();
  EXPECT_EQ(std::string(pin.end() - 5, pin.end()), "spare");
}

TEST(DeviceDatabase, EmptyDrawingsAreNotWritten) {
  TDevice dev;
  dev.name = "E";
  dev.shapes.push_back(std::make_unique<TDShape>());
  dev.shapes.push_back(std::make_unique<TDShape>());
  dev.shapes.back()->key = 3;
  TDeviceList list;
  list.push_back(dev.Clone());
  Device expected;
  expected.name = "E";
  EXPECT_EQ(Written(list), Database({expected}));
  EXPECT_EQ(list[0]->Size(), std::int32_t(expected.Body().size()));
}

TEST(DeviceDatabase, SizesAgreeWithWhatIsWritten) {
  // Store refuses a body that is not exactly Size long (4099 or 4098).
  auto list = MustLoad(Database({AllItemsDevice()}));
  list.push_back(TDevice::CreateBlock(std::string(300, 'n'), {"1"}, {}, {}, {}, FakeMetrics()));
  list.back()->refDes = std::string(400, 'r');
  EXPECT_EQ(list[0]->Size(), std::int32_t(AllItemsDevice().Body().size()));
  TMemoryStream out;
  EXPECT_EQ(WriteDatabase(out, list), 0);
  auto again = MustLoad(out.Bytes());
  EXPECT_EQ(again[1]->name, std::string(254, 'n'));
  EXPECT_EQ(Written(again), out.Bytes());
}

// --- files that are not loaded -----------------------------------------------

TEST(DeviceDatabase, OtherFilesLoadNothing) {
  struct Case {
    const char* what;
    std::string bytes;
    TLoadResult result;
  };
  const Case cases[] = {
      {"empty file", "", TLoadResult::NotDatabase},
      {"wrong magic", "OBSX" + Database({}).substr(4), TLoadResult::NotDatabase},
      {"no version record", Bytes().Magic().End().str(), TLoadResult::NotDatabase},
      {"version V1.1", Bytes().Magic().Raw(VersionRecord("ORVO Device Database", "V1.1")).End().str(),
       TLoadResult::NotDatabase},
      {"macro file", Bytes().Magic().Raw(VersionRecord("Schematics Macro", "V1.0")).End().str(),
       TLoadResult::NotDatabase},
      {"text", "ORVO Device Database\r\nV1.0\r\n", TLoadResult::NotDatabase},
  };
  for (const auto& c : cases) {
    auto list = Sentinel();
    TMemoryStream in(c.bytes);
    EXPECT_EQ(ReadDatabase(in, list), c.result) << c.what;
    ASSERT_EQ(list.size(), 1u) << c.what;
    EXPECT_EQ(list[0]->name, "sentinel") << c.what;
  }
}

// A good database, with one field of its only device's record overwritten.
std::string Patched(std::size_t offsetInDevice, const Bytes& with) {
  std::string bytes = Database({AllItemsDevice()});
  const std::size_t device = Bytes().Magic().Raw(VersionRecord()).size();
  bytes.replace(device + offsetInDevice, with.size(), with.str());
  return bytes;
}

TEST(DeviceDatabase, DamagedFilesLoadNothingAndAllocateNothingHuge) {
  const std::string good = Database({AllItemsDevice()});
  // Offsets inside the device record: 8 header, then the body.
  const std::size_t valuesCount = 8 + 4 + 1 + (4 + 2) + (1 + 2) + 2;  // "AND2", "U"
  const std::size_t drawingCount = valuesCount + 4;
  const std::size_t pinCount = drawingCount + 4 + 40;
  const std::size_t firstPin = pinCount + 4;
  const std::size_t secondPin = firstPin + 12 + 42;
  const std::size_t graphicsCount = secondPin + 12 + 42;
  const std::size_t firstGraphic = graphicsCount + 4;
  const std::size_t textItem = firstGraphic + (12 + 28) + 3 * (12 + 19);
  const std::size_t polygonItem = textItem + 12 + (5 + 7 + 18);

  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"record size negative", Patched(4, Bytes().I32(-8))},
      {"record size past the end", Patched(4, Bytes().I32(std::int64_t(good.size())))},
      {"record size huge", Patched(4, Bytes().I32(0x7FFFFFFF))},
      {"cut inside a record", good.substr(0, good.size() - 40)},
      {"cut inside a header", good.substr(0, good.size() - 3)},
      {"cut before the end record", good.substr(0, good.size() - 8)},
      {"bytes after the end record", good + "xyz"},
      {"name runs past the record",
       Bytes().Magic().Raw(VersionRecord()).Record(769, 256, Bytes().I32(3).U8(1).U8(200).Raw("X")).End().str()},
      {"value count huge", Patched(valuesCount, Bytes().I32(0x7FFFFFFF))},
      {"value count negative", Patched(valuesCount, Bytes().I32(-1))},
      {"drawing count huge", Patched(drawingCount, Bytes().I32(0x40000000))},
      {"drawing count negative", Patched(drawingCount, Bytes().I32(INT32_MIN))},
      {"drawing count one too many", Patched(drawingCount, Bytes().I32(2))},
      {"pin count huge", Patched(pinCount, Bytes().I32(0x7FFFFFFF))},
      {"pin count negative", Patched(pinCount, Bytes().I32(-3))},
      {"pin count one too many", Patched(pinCount, Bytes().I32(3))},
      {"item size negative", Patched(firstPin + 8, Bytes().I32(-1))},
      {"item size past the drawing", Patched(firstPin + 8, Bytes().I32(100000))},
      {"pin too short", Patched(firstPin, Bytes().I32(100).I32(259).I32(30))},
      {"line in the pin list", Patched(secondPin, Bytes().I32(101))},
      {"graphics count huge", Patched(graphicsCount, Bytes().I32(0x7FFFFFFF))},
      {"line too short", Patched(firstGraphic, Bytes().I32(101).I32(259).I32(20))},
      {"shape too short", Patched(firstGraphic + 40, Bytes().I32(102).I32(259).I32(10))},
      {"text length past its record", Patched(textItem + 12, Bytes().U8(200))},
      {"font length past its record", Patched(textItem + 12 + 5, Bytes().U8(30))},
      {"polygon point count negative", Patched(polygonItem + 12 + 18, Bytes().I16(-1))},
      {"polygon point count too large", Patched(polygonItem + 12 + 18, Bytes().I16(4))},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.bytes, good) << c.what;
    auto list = Sentinel();
    TMemoryStream in(c.bytes);
    EXPECT_EQ(ReadDatabase(in, list), TLoadResult::Damaged) << c.what;
    ASSERT_EQ(list.size(), 1u) << c.what;
    EXPECT_EQ(list[0]->name, "sentinel") << c.what;
  }
}

TEST(DeviceDatabase, ADamagedDrawingGivesTheStreamsErrorCode) {
  // Read the way the clipboard data is read: one drawing record.
  Drawing d;
  d.pins = {Pin("1", 0, 0)};
  Bytes body = d.Body();
  std::string bytes = Bytes().Magic().Record(768, 259, body).End().str();
  {
    TMemoryStream in(bytes);
    toOBSS obss(in, obssRead);
    TDShape shape(obss);
    EXPECT_EQ(obss.Error(), 0);
    EXPECT_EQ(shape.GetPin(0).name, "1");
  }
  bytes[11 + 8 + 40] = 2;  // two pins, room for one
  TMemoryStream in(bytes);
  toOBSS obss(in, obssRead);
  TDShape shape(obss);
  EXPECT_EQ(obss.Error(), kObssOverrun);
}

// --- files on disk ------------------------------------------------------------

class DatabaseFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("wendro-ddb-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  static std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path dir;
};

// Writes less than it declares.
class ShortDevice : public TDevice {
 public:
  void WriteBody(toOBSS& stream) const override { stream.WriteInt32(0); }
};

TEST_F(DatabaseFile, SaveAndLoad) {
  const auto path = (dir / "parts.ddb").string();
  auto list = MustLoad(Database({AllItemsDevice()}));
  SaveDatabase(path, list);
  EXPECT_EQ(Slurp(path), Written(list));

  auto loaded = Sentinel();
  EXPECT_EQ(LoadDatabase(path, loaded), TLoadResult::Loaded);
  EXPECT_EQ(loaded.size(), 1u);
  EXPECT_EQ(LoadDatabase((dir / "missing.ddb").string(), loaded), TLoadResult::Unreadable);
  EXPECT_EQ(loaded.size(), 1u);
}

TEST_F(DatabaseFile, APathThatIsNoFileIsUnreadable) {
  // A directory opens for reading, and seeking to its end gives a size that
  // no buffer can take.
  const auto folder = dir / "folder.ddb";
  fs::create_directories(folder);
  auto list = Sentinel();
  EXPECT_EQ(LoadDatabase(folder.string(), list), TLoadResult::Unreadable);
  EXPECT_EQ(LoadDatabase(dir.string(), list), TLoadResult::Unreadable);
  // A pipe would keep the open waiting for a writer that never comes.
  const auto pipe = (dir / "pipe.ddb").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(LoadDatabase(pipe, list), TLoadResult::Unreadable);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->name, "sentinel");
}

TEST_F(DatabaseFile, AFailedSaveKeepsTheOldFile) {
  const auto path = (dir / "parts.ddb").string();
  const std::string old = Database({AllItemsDevice()});
  std::ofstream(path, std::ios::binary) << old;

  TDeviceList list;
  list.push_back(std::make_unique<ShortDevice>());
  EXPECT_THROW(SaveDatabase(path, list), platform::FileError);
  EXPECT_EQ(Slurp(path), old);

  // A target that cannot be replaced: a directory of that name.
  const auto blocked = dir / "blocked.ddb";
  fs::create_directories(blocked / "inside");
  EXPECT_THROW(SaveDatabase(blocked.string(), MustLoad(old)), platform::FileError);
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2)
      << "no temporary file is left behind";
}

TEST_F(DatabaseFile, SavesReplaceOnlyTheirOwnFile) {
  const auto list = MustLoad(Database({AllItemsDevice()}));
  platform::testing::ExpectSafeSaves(dir.string(), ".ddb",
                                     [&](const std::string& path) { SaveDatabase(path, list); });
}

TEST_F(DatabaseFile, HugeAndEndlessInputsAreRefusedBeforeTheyAreRead) {
  auto list = Sentinel();
  platform::testing::ExpectHostileInputsRefused(dir.string(), [&](const std::string& path) {
    return LoadDatabase(path, list) == TLoadResult::Loaded;
  });
  // A file that begins like a database but is larger than any: refused by
  // its size before a byte past the header is read.
  const auto huge = (dir / "huge.ddb").string();
  std::ofstream(huge, std::ios::binary) << Database({AllItemsDevice()});
  ASSERT_EQ(::truncate(huge.c_str(), off_t(kMaxDatabaseBytes) + 1), 0);
  EXPECT_EQ(LoadDatabase(huge, list), TLoadResult::Unreadable);
  ASSERT_EQ(::truncate(huge.c_str(), off_t(64) << 30), 0);
  EXPECT_EQ(LoadDatabase(huge, list), TLoadResult::Unreadable);
  // Zeros are no database, however many.
  const auto zeros = (dir / "zeros.ddb").string();
  std::ofstream(zeros, std::ios::binary).put('\0');
  ASSERT_EQ(::truncate(zeros.c_str(), off_t(3) << 30), 0);
  EXPECT_EQ(LoadDatabase(zeros, list), TLoadResult::NotDatabase);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->name, "sentinel");
}

}  // namespace
