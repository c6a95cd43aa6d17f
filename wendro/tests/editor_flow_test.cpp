// The main form's commands without the window: whole editing sessions that
// end in a saved file, compared byte for byte with the database the same
// edits give when made straight on the model; and the command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ShapeEditCore.h"
#include "edit_script.h"
#include "platform/scripted_dialogs.h"

using namespace wendro;
namespace fs = std::filesystem;
using platform::Answer;
using platform::testing::ScriptedFileDialogs;
using platform::testing::ScriptedMessages;
using wendro::testing::ScriptedDialogs;
using wendro::testing::ScriptView;

namespace {

const wendro::testing::FakeMetrics kMetrics;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Bytes(const TDeviceList& list) {
  TMemoryStream out;
  EXPECT_EQ(WriteDatabase(out, list), 0);
  return out.Bytes();
}

TDeviceList TwoDevices() {
  TDeviceList list;
  list.push_back(TDevice::CreateBlock("AMP", {"OUT"}, {}, {"IN", "EN"}, {}, kMetrics));
  list.push_back(TDevice::CreateBlock("BUF", {"Y"}, {}, {"A"}, {}, kMetrics));
  return list;
}

class EditorFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("wendro-flow-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    database = (dir / "parts.ddb").string();
    SaveDatabase(database, TwoDevices());
    view.editor = &core.Editor();
  }
  void TearDown() override { fs::remove_all(dir); }

  // Presses, moves after the first tick, releases (world units).
  void Drag(TPointL from, TPointL to) {
    TSymbolEditor& e = core.Editor();
    const int z = e.Zoom();
    e.MouseMove(from.x * z, from.y * z);
    e.MouseDown(1, from.x * z, from.y * z, 0);
    view.clock.advance(200);
    e.MouseMove(to.x * z, to.y * z);
    e.MouseUp(1, to.x * z, to.y * z, 0);
  }
  TPin* PinNamed(const std::string& name) {
    for (auto& item : core.Editor().Items())
      if (auto* pin = dynamic_cast<TPin*>(item.get()); pin && pin->name == name) return pin;
    return nullptr;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& d : core.Devices()) out.push_back(d->name);
    return out;
  }

  fs::path dir;
  std::string database;
  ScriptView view;
  ScriptedDialogs properties;
  TRefuseNameClash names;
  TShapeEditCore core{view, kMetrics, properties, names};
};

// The drawing of a device with its objects changed by hand.
void EditByHand(TDevice& device, const std::function<void(TShapeList&)>& edit) {
  const int at = device.FindShape(0);
  TShapeList items = ExplodeDShape(*device.shapes[at], kMetrics);
  edit(items);
  auto drawing = std::make_unique<TDShape>();
  drawing->key = 0;
  StoreDShape(items, *drawing);
  device.ReplaceShape(std::move(drawing));
  device.DropEmptyShapes();
}

}  // namespace

TEST_F(EditorFlow, OpenMoveAPinUpdateSave) {
  ASSERT_TRUE(core.OpenPath(database));
  EXPECT_EQ(core.Caption(), "<AMP> parts.ddb - ORVO Schematic Symbol Editor");
  ASSERT_TRUE(core.EditDevice(0));
  TPin* in = PinNamed("IN");
  ASSERT_NE(in, nullptr);
  const TPointL at = in->position;
  Drag(at, {at.x + 16, at.y + 1});
  EXPECT_EQ(in->position, (TPointL{at.x + 16, at.y}));
  EXPECT_TRUE(core.DeviceChanged());
  ASSERT_TRUE(core.UpdateDevice());
  EXPECT_TRUE(core.Modified());
  ASSERT_TRUE(core.SaveFile(false));
  EXPECT_FALSE(core.Modified());

  TDeviceList expected = TwoDevices();
  EditByHand(*expected[0], [&](TShapeList& items) {
    for (auto& item : items)
      if (auto* pin = dynamic_cast<TPin*>(item.get()); pin && pin->name == "IN")
        pin->SetPosition({at.x + 16, at.y});
  });
  EXPECT_EQ(Slurp(database), Bytes(expected));
}

TEST_F(EditorFlow, NewDeviceWithPinsAndALineSavedUnderANewName) {
  ScriptedFileDialogs files;
  core.NewDevice();
  TSymbolEditor& e = core.Editor();
  const int z = e.Zoom();
  for (TPointL p : {TPointL{40, 64}, TPointL{40, 80}}) {
    e.NewPin(32);
    e.MouseMove(p.x * z, p.y * z);
    e.MouseDown(1, p.x * z, p.y * z, 0);
    e.MouseUp(1, p.x * z, p.y * z, 0);
  }
  e.ChooseTool(TTool::Line);
  Drag({72, 56}, {72, 96});
  EXPECT_EQ(e.State(), nullptr);

  // A new database is saved under the name the user gives.
  const std::string saved = (dir / "new.ddb").string();
  files.expectSave(saved);
  ASSERT_TRUE(core.SaveFile(false));
  EXPECT_EQ(core.FileName(), saved);
  EXPECT_EQ(core.CurrentIndex(), 0);
  // The device now is the list's entry: saving again does not add it twice.
  ASSERT_TRUE(core.SaveFile(false));
  EXPECT_EQ(core.Devices().size(), 1u);

  TDeviceList expected;
  expected.push_back(std::make_unique<TDevice>());
  TDShape empty;
  empty.key = 0;
  expected[0]->ReplaceShape(empty.Clone());
  EditByHand(*expected[0], [&](TShapeList& items) {
    int name = 1;
    for (TPointL p : {TPointL{40, 64}, TPointL{40, 80}}) {
      auto pin = std::make_unique<TPin>(kMetrics);
      pin->name = std::to_string(name++);
      pin->SetPosition(p);
      items.push_back(std::move(pin));
    }
    auto line = std::make_unique<TSegLine>();
    line->SetPosition({72, 56});
    line->x2 = 72, line->y2 = 96;
    items.push_back(std::move(line));
    for (auto& item : items)
      if (auto* s = dynamic_cast<TSensingRect*>(item.get())) {
        // The line's bounds (grown by 3) shrunk by 2.
        s->position = {71, 55};
        s->x2 = 73, s->y2 = 97;
      }
  });
  EXPECT_EQ(Slurp(saved), Bytes(expected));
}

TEST_F(EditorFlow, FailuresKeepWhatTheUserHas) {
  ASSERT_TRUE(core.OpenPath(database));
  ScriptedMessages messages;
  // Not a database, a damaged one: the old name and list stay.
  const std::string text = (dir / "notes.ddb").string(), cut = (dir / "cut.ddb").string();
  std::ofstream(text) << "hello";
  const std::string whole = Slurp(database);
  std::ofstream(cut, std::ios::binary) << whole.substr(0, whole.size() - 10);
  messages.expect("The file notes.ddb is not a device database.", Answer::Ok)
      .expect("The device database cut.ddb is damaged.", Answer::Ok);
  EXPECT_FALSE(core.OpenPath(text));
  EXPECT_FALSE(core.OpenPath(cut));
  EXPECT_EQ(core.FileName(), database);
  EXPECT_EQ(Names(), (std::vector<std::string>{"AMP", "BUF"}));

}

// Answers every message with one answer and keeps the texts.
class AnsweringMessages : public platform::MessageService {
 public:
  explicit AnsweringMessages(Answer a) : answer(a), previous_(platform::setMessageService(this)) {}
  ~AnsweringMessages() override { platform::setMessageService(previous_); }
  Answer show(platform::MessageKind, std::string_view text, platform::Buttons, std::string_view,
              int) override {
    texts.emplace_back(text);
    return answer;
  }
  Answer answer;
  std::vector<std::string> texts;

 private:
  platform::MessageService* previous_;
};

TEST_F(EditorFlow, AFailedSaveKeepsTheModifiedFlag) {
  ASSERT_TRUE(core.OpenPath(database));
  core.DeleteDevice(1);
  ScriptedFileDialogs files;
  files.expectSave((dir / "no" / "such" / "dir.ddb").string());
  {
    AnsweringMessages messages(Answer::Ok);
    EXPECT_FALSE(core.SaveFile(true));
    ASSERT_EQ(messages.texts.size(), 1u);
  }
  EXPECT_TRUE(core.Modified());
  EXPECT_EQ(core.FileName(), database);
  // So leaving the database still asks; Cancel keeps it.
  AnsweringMessages messages(Answer::Cancel);
  EXPECT_FALSE(core.NewDatabase());
  EXPECT_EQ(messages.texts, (std::vector<std::string>{"The file parts.ddb is modified. Save it first?"}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"AMP"}));
  EXPECT_EQ(Slurp(database), Bytes(TwoDevices()));
}

TEST_F(EditorFlow, DeviceListCommands) {
  ASSERT_TRUE(core.OpenPath(database));
  ScriptedMessages messages;
  // Deleting the device under edit opens the first; another entry's
  // deletion keeps the current device at its new place.
  ASSERT_TRUE(core.EditDevice(1));
  core.DeleteDevice(0);
  EXPECT_EQ(core.CurrentIndex(), 0);
  EXPECT_EQ(core.Device().name, "BUF");
  core.DeleteDevice(0);
  EXPECT_EQ(core.CurrentIndex(), -1);
  EXPECT_EQ(core.QuickSearch("x"), -1);
  EXPECT_TRUE(core.Modified());

  // Adding a device whose name is taken is refused.
  ASSERT_TRUE(core.AddDevice());
  EXPECT_EQ(Names(), (std::vector<std::string>{"New Device"}));
  messages.expect("A device named New Device is already in the list.", Answer::Ok);
  EXPECT_FALSE(core.AddDevice());

  // Opening another device after changes asks first.
  ASSERT_TRUE(core.OpenPath(database));
  core.Editor().SelectAll();
  core.Editor().Key(TEditKey::Delete);
  messages.expect("The device AMP has changed. Update it in the list?", Answer::Cancel);
  EXPECT_FALSE(core.EditDevice(1));
  messages.expect("The device AMP has changed. Update it in the list?", Answer::No);
  EXPECT_TRUE(core.EditDevice(1));
  EXPECT_EQ(core.Device().name, "BUF");
}

TEST_F(EditorFlow, QuickSearchAndShapeEntries) {
  ASSERT_TRUE(core.OpenPath(database));
  EXPECT_EQ(core.QuickSearch(" buf "), 1);
  EXPECT_EQ(core.QuickSearch("BUX"), 1);
  EXPECT_EQ(core.QuickSearch("zzz"), 0);
  const auto entries = core.ShapeEntries();
  ASSERT_EQ(entries.size(), 8u);
  EXPECT_EQ(entries[0], " EU   0\xB0 \xAB");
  EXPECT_EQ(entries[1], " EU  90\xB0  ");
  EXPECT_EQ(entries[7], " US 270\xB0  ");
  // Another drawing: the open one is kept under its key.
  core.ChooseShapeEntry(4);
  EXPECT_EQ(core.Key(), 1);
  EXPECT_EQ(core.ShapeEntries()[0], " EU   0\xB0 \x8B");
}

TEST_F(EditorFlow, CommandLine) {
  const std::string other = (dir / "other.ddb").string();
  {
    TDeviceList one;
    one.push_back(TDevice::CreateBlock("NAND", {"Y"}, {}, {"A", "B"}, {}, kMetrics));
    SaveDatabase(other, one);
  }
  const std::string notes = (dir / "notes.txt").string(), empty = (dir / "empty.ddb").string();
  std::ofstream(notes) << "notes";
  std::ofstream{empty};
  struct Row {
    std::vector<std::string> args;
    std::vector<std::string> names;
    std::string file;
    bool modified;
    std::string message;
  };
  const std::vector<Row> rows = {
      {{"/open", database}, {"AMP", "BUF"}, database, false, ""},
      {{"/OPEN", database, "/Open", other}, {"NAND"}, other, false, ""},
      {{"stray", "/OPEN"}, {}, kNoName, false, ""},
      {{"/OPEN", (dir / "missing.ddb").string()}, {}, kNoName, false, "The file missing.ddb cannot be read."},
      {{"/OPEN", notes}, {}, kNoName, false, "The file notes.txt is not a device database."},
      {{"/OPEN", empty}, {}, kNoName, false, "The file empty.ddb is not a device database."},
      {{"/CREATE", "AMP|IN^L|OUT^r|X^T|BAD|NO^RR"}, {"AMP"}, kNoName, true, ""},
      {{"/OPEN", database, "/CREATE", "CMP|P1^t"}, {"AMP", "BUF", "CMP"}, database, true, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args[0] + " " + (row.args.size() > 1 ? row.args[1] : ""));
    ScriptView v;
    ScriptedDialogs p;
    TRefuseNameClash n;
    ScriptedMessages messages;
    if (!row.message.empty()) messages.expect(row.message, Answer::Ok);
    TShapeEditCore c(v, kMetrics, p, n);
    v.editor = &c.Editor();
    c.CommandLine(row.args);
    std::vector<std::string> names;
    for (const auto& d : c.Devices()) names.push_back(d->name);
    EXPECT_EQ(names, row.names);
    EXPECT_EQ(c.FileName(), row.file);
    EXPECT_EQ(c.Modified(), row.modified);
  }
  // The created device has its pins on the sides asked for.
  ScriptView v;
  ScriptedDialogs p;
  TRefuseNameClash n;
  TShapeEditCore c(v, kMetrics, p, n);
  c.CommandLine({"/CREATE", "AMP|IN^L|OUT^r|X^T"});
  const TDShape& drawing = *c.Device().shapes.at(0);
  ASSERT_EQ(drawing.pins.size(), 2u);
  auto expected = TDevice::CreateBlock("AMP", {"OUT"}, {}, {"IN"}, {}, kMetrics);
  EXPECT_EQ(drawing.pins, expected->shapes.at(0)->pins);
}
