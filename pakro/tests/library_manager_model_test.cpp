// The library manager without its dialog: the kind of a caption, the
// libraries it offers, the moves between its lists and what OK does to the
// libraries.
#include <gtest/gtest.h>

#include <memory>

#include "pakro/devices/TRN_.h"
#include "pakro/shell/library_manager_model.h"
#include "pakro/tests/library_test_support.h"
#include "pakro/devices/list_library.h"
#include "pakro/tests/manager_fakes.h"

namespace pakro {
namespace {

using testing::FakeLibrary;
using testing::ScratchDir;
using Strings = std::vector<std::string>;

TEST(LibraryKindOf, NamesAndFileHeaders) {
  ScratchDir dir;
  struct Case {
    std::string caption;
    std::string file;  // written at the caption's path when not empty
    int kind;
  };
  const std::vector<Case> cases = {
      {"NEWDIODE.LBR", "", 1}, {"DIODE.LBR", "", 1},  {"NEWVAR.LBR", "", 10}, {"VARICAP.LBR", "", 10},
      {"NEWNPN.LBR", "", 2},   {"NPN.LBR", "", 2},    {"PNP.LBR", "", 3},     {"NEWNJFET.LBR", "", 4},
      {"PJFET.LBR", "", 5},    {"NMOS.LBR", "", 6},   {"NEWPMOS.LBR", "", 7}, {"CORE.LBR", "", 8},
      // Exactly as written: another case is a path.
      {"npn.lbr", "", 0},
      {dir.Path("a.LBR"), "title\r\nType    : 7\r\nVersion : 2\r\n", 7},
      {dir.Path("b.LBR"), "title\nType    :    3 and more\n", 3},
      {dir.Path("c.LBR"), "title\r\nType    : none\r\n", 0},
      {dir.Path("d.LBR"), "title only\r\n", 0},
      {dir.Path("e.LBR"), "title\r\nType    : -2\r\n", 0},
      {dir.Path("f.LBR"), "title\r\nType    : 99999999999\r\n", 0},
      {dir.Path("missing.LBR"), "", 0},
  };
  for (const Case& c : cases) {
    if (!c.file.empty()) testing::WriteBytes(c.caption, c.file);
    EXPECT_EQ(LibraryKindOf(c.caption), c.kind) << c.caption;
  }
  EXPECT_EQ(NewLibraryName(2), "NPN.LBR");
  EXPECT_EQ(NewLibraryName(7), "PMOS.LBR");
  EXPECT_EQ(NewLibraryName(10), "");
}

class LibraryManagerTest : public ::testing::Test {
 protected:
  FakeLibrary a{2, {"BC547", "BC548", "2N2222"}};
  FakeLibrary b{2, {"BC107", "bc547"}};
  FakeLibrary p{3, {"BC557"}};
  std::vector<OpenLibrary> open{{"/lib/A.LBR", 2, &a}, {"/lib/B.LBR", 2, &b}, {"/lib/P.LBR", 3, &p}};
  LibraryManagerModel model;
  Strings warnings;
  Warn warn = [this](const std::string& text) { warnings.push_back(text); };
  // What OK was asked to make, and the library it made.
  std::vector<std::string> made;
  std::unique_ptr<FakeLibrary> newLibrary;
  LibraryManagerModel::MakeDestination make = [this](int kind, const std::string& caption) {
    made.push_back(std::to_string(kind) + " " + caption);
    newLibrary = std::make_unique<FakeLibrary>(kind, Strings{});
    return newLibrary.get();
  };
};

TEST_F(LibraryManagerTest, StartsWithTheFirstLibraryAndTheNewLibraryOfItsKind) {
  model.Start(open);
  EXPECT_EQ(model.SourceText(), "/lib/A.LBR");
  EXPECT_EQ(model.SourceItems(), (Strings{"BC547", "BC548", "2N2222"}));  // library order
  EXPECT_EQ(model.DestinationChoices(), (Strings{"NPN.LBR", "/lib/A.LBR", "/lib/B.LBR", "/lib/P.LBR"}));
  EXPECT_EQ(model.DestinationText(), "NPN.LBR");
  EXPECT_TRUE(model.DestinationItems().empty());
  EXPECT_EQ(model.LibraryKind(), 2);
}

TEST_F(LibraryManagerTest, CopiesIntoANewLibraryRecordForRecord) {
  model.Start(open);
  model.Copy(LibraryManagerModel::From::Source, {2, 0}, false, warn);
  EXPECT_EQ(model.DestinationItems(), (Strings{"BC547", "2N2222"}));
  const std::vector<DeviceLibrary*> touched = model.Apply(make);
  EXPECT_EQ(made, Strings{"2 NPN.LBR"});
  ASSERT_TRUE(newLibrary);
  ASSERT_EQ(newLibrary->Count(), 3);
  EXPECT_EQ(newLibrary->Name(1), "BC547");
  EXPECT_EQ(newLibrary->records[1].value, a.records[1].value);
  EXPECT_EQ(newLibrary->Name(2), "2N2222");
  EXPECT_TRUE(newLibrary->Modified());
  EXPECT_EQ(newLibrary->Current(), 2);
  EXPECT_EQ(a.Current(), 3);  // the last component copied from it
  EXPECT_EQ(touched, (std::vector<DeviceLibrary*>{&a, newLibrary.get()}));
  EXPECT_TRUE(warnings.empty());
}

TEST_F(LibraryManagerTest, OkWithNothingForANewLibraryMakesNoWindow) {
  model.Start(open);
  EXPECT_TRUE(model.Apply(make).empty());
  EXPECT_TRUE(made.empty());
}

TEST_F(LibraryManagerTest, RefusesWhatCannotBeCopied) {
  model.Start(open);
  // Same library as source and destination.
  ASSERT_TRUE(model.ChooseDestination("/lib/A.LBR", warn));
  model.Copy(LibraryManagerModel::From::Source, {0}, false, warn);
  EXPECT_EQ(warnings, Strings{kSameLibraryText});
  warnings.clear();

  // A destination of another kind is refused when chosen; the one before stays.
  model.ChooseSource("/lib/P.LBR", warn);
  EXPECT_EQ(model.DestinationChoices().front(), "PNP.LBR");
  EXPECT_FALSE(model.ChooseDestination("/lib/B.LBR", warn));
  EXPECT_EQ(warnings, Strings{kIncompatibleText});
  EXPECT_EQ(model.DestinationText(), "/lib/A.LBR");
  warnings.clear();
  // Copying the PNP library into the NPN destination chosen before.
  model.Copy(LibraryManagerModel::From::Source, {0}, false, warn);
  EXPECT_EQ(warnings, Strings{kIncompatibleText});
  warnings.clear();

  // A typed name that names no library: kind 0, nothing can go there.
  model.ChooseSource("/lib/A.LBR", warn);
  ASSERT_TRUE(model.ChooseDestination("MYLIB.LBR", warn));
  model.Copy(LibraryManagerModel::From::Source, {0}, true, warn);
  EXPECT_EQ(warnings, Strings{kIncompatibleText});
  EXPECT_TRUE(model.DestinationItems().empty());
  EXPECT_TRUE(model.Apply(make).empty());
}

TEST_F(LibraryManagerTest, NamesTheDestinationHoldsAreRefusedWithoutRegardToCase) {
  model.Start(open);
  ASSERT_TRUE(model.ChooseDestination("/lib/B.LBR", warn));
  EXPECT_EQ(model.DestinationItems(), (Strings{"BC107", "bc547"}));
  model.Copy(LibraryManagerModel::From::Source, {0, 1}, false, warn);
  model.Copy(LibraryManagerModel::From::Source, {}, true, warn);
  EXPECT_EQ(warnings, (Strings{AlreadyContainsText("BC547", false), AlreadyContainsText("BC547", true),
                               AlreadyContainsText("BC548", true)}));
  EXPECT_EQ(warnings[0], "The Destination Library alredy contains component named  BC547. It will not be inserted..");
  EXPECT_EQ(warnings[1], "The Destination Library alredy contains component named  BC547. It will not be inserted.");
  EXPECT_EQ(model.DestinationItems(), (Strings{"BC107", "bc547", "BC548", "2N2222"}));
  EXPECT_EQ(model.SourceItems().size(), 3u);  // the source keeps its names
}

TEST_F(LibraryManagerTest, MovingBackAndReplacingAComponent) {
  model.Start(open);
  ASSERT_TRUE(model.ChooseDestination("/lib/B.LBR", warn));
  model.Copy(LibraryManagerModel::From::Source, {1}, false, warn);  // BC548
  // A copied name is dropped; the destination's own goes to the deleted list.
  model.MoveBack({1, 2}, false);
  EXPECT_EQ(model.DestinationItems(), Strings{"BC107"});
  EXPECT_EQ(model.DeletedItems(), Strings{"bc547"});
  // Taken back from the deleted list.
  model.Copy(LibraryManagerModel::From::Deleted, {0}, false, warn);
  EXPECT_EQ(model.DestinationItems(), (Strings{"BC107", "bc547"}));
  EXPECT_TRUE(model.DeletedItems().empty());
  model.MoveBack({}, true);
  EXPECT_TRUE(model.DestinationItems().empty());
  EXPECT_EQ(model.DeletedItems(), (Strings{"BC107", "bc547"}));

  // A deleted name that a copy would bring back is refused and stays.
  model.Copy(LibraryManagerModel::From::Source, {0}, false, warn);  // BC547
  model.Copy(LibraryManagerModel::From::Deleted, {0, 1}, false, warn);
  EXPECT_EQ(warnings, Strings{AlreadyContainsText("bc547", false)});
  EXPECT_EQ(model.DeletedItems(), Strings{"bc547"});

  // OK: the copy comes first, then the old component goes.
  b.current = 1;
  model.Apply(make);
  EXPECT_TRUE(made.empty());
  ASSERT_EQ(b.Count(), 3);
  EXPECT_EQ(b.Name(1), "BC107");
  EXPECT_EQ(b.Name(2), "BC547");
  EXPECT_EQ(b.records[2].value, a.records[1].value);
  EXPECT_EQ(b.Current(), 1);
  EXPECT_TRUE(b.Modified());
}

TEST_F(LibraryManagerTest, DeletionsKeepTheDefaultsAndOneComponent) {
  struct Case {
    Strings names;
    Strings deleted;
    Strings left;
    int current;
  };
  const std::vector<Case> cases = {
      {{"X"}, {"X"}, {""}, 1},                        // the only one is emptied
      {{"X", "Y", "Z"}, {"Y"}, {"X", "Z"}, 1},        // the one before becomes current
      {{"X", "Y", "Z"}, {"X"}, {"Y", "Z"}, 1},        // the one moving up becomes current
      {{"X", "Y", "Z"}, {"Z"}, {"X", "Y"}, 2},
      {{"defaults", "Y"}, {"defaults"}, {"Y"}, 1},    // the defaults record is no component
      {{"X", "Y"}, {"X", "Y"}, {""}, 1},
  };
  for (const Case& c : cases) {
    FakeLibrary d(2, c.names);
    LibraryManagerModel m;
    m.Start({{"/lib/D.LBR", 2, &d}});
    ASSERT_TRUE(m.ChooseDestination("/lib/D.LBR", warn));
    std::vector<int> rows;
    const Strings items = m.DestinationItems();
    for (std::size_t i = 0; i < items.size(); ++i)
      if (std::find(c.deleted.begin(), c.deleted.end(), items[i]) != c.deleted.end())
        rows.push_back(static_cast<int>(i));
    m.MoveBack(rows, false);
    m.Apply(make);
    Strings left;
    for (int i = 1; i < d.Count(); ++i) left.push_back(d.Name(i));
    EXPECT_EQ(left, c.left) << ::testing::PrintToString(c.names);
    EXPECT_EQ(d.Current(), c.current) << ::testing::PrintToString(c.names);
    EXPECT_EQ(d.Name(0), "defaults");
  }
}

TEST_F(LibraryManagerTest, AWindowOpenTwiceIsNamedByItsNumber) {
  FakeLibrary twin{2, {"T1"}};
  open.push_back({"/lib/A.LBR", 2, &twin});
  model.Start(open);
  EXPECT_EQ(model.SourceChoices(),
            (Strings{"/lib/A.LBR  [window 1]", "/lib/B.LBR", "/lib/P.LBR", "/lib/A.LBR  [window 4]"}));
  model.ChooseSource("/lib/A.LBR  [window 4]", warn);
  EXPECT_EQ(model.SourceItems(), Strings{"T1"});
  ASSERT_TRUE(model.ChooseDestination("/lib/A.LBR  [window 1]", warn));
  model.Copy(LibraryManagerModel::From::Source, {0}, false, warn);
  EXPECT_TRUE(warnings.empty());
  model.Apply(make);
  EXPECT_EQ(a.Name(a.Count() - 1), "T1");
}

TEST_F(LibraryManagerTest, ALibraryFileThatIsNotOpenBecomesTheDestination) {
  ScratchDir dir;
  const std::string path = dir.Path("C.LBR");
  testing::WriteBytes(path, "title\r\nType    : 2\r\nVersion : 2\r\n");
  FakeLibrary fromFile{2, {"FILE1"}};
  Strings loaded;
  auto load = [&](const std::string& p, int kind) -> DeviceLibrary* {
    loaded.push_back(std::to_string(kind) + " " + p);
    return &fromFile;
  };
  model.Start(open);
  ASSERT_TRUE(model.ChooseDestination(path, warn, load));
  EXPECT_EQ(loaded, Strings{"2 " + path});
  EXPECT_FALSE(model.DestinationOpen());
  EXPECT_EQ(model.DestinationItems(), Strings{"FILE1"});
  model.Copy(LibraryManagerModel::From::Source, {0}, false, warn);
  DeviceLibrary* given = nullptr;
  model.Apply([&](int kind, const std::string& caption) {
    made.push_back(std::to_string(kind) + " " + caption);
    given = model.DestinationLibrary();
    return given;
  });
  EXPECT_EQ(made, Strings{"2 " + path});
  EXPECT_EQ(given, &fromFile);
  ASSERT_EQ(fromFile.Count(), 3);
  EXPECT_EQ(fromFile.Name(1), "FILE1");  // its components are kept
  EXPECT_EQ(fromFile.Name(2), "BC547");

  // A file of another kind is refused before it is read.
  const std::string pnp = dir.Path("P2.LBR");
  testing::WriteBytes(pnp, "title\r\nType    : 3\r\nVersion : 2\r\n");
  loaded.clear();
  EXPECT_FALSE(model.ChooseDestination(pnp, warn, load));
  EXPECT_TRUE(loaded.empty());
  // One that cannot be read leaves the destination as it was.
  EXPECT_FALSE(model.ChooseDestination(path, warn, [](const std::string&, int) -> DeviceLibrary* {
    return nullptr;
  }));
}

TEST(LibraryCopy, ARecordTravelsWholeBetweenLibrariesOfOneKind) {
  using NpnLibrary = ListLibrary<TCatListTRN, TCatBipolar>;
  NpnLibrary from, to;
  from.list().AddItem();
  from.list().AddItem();
  TCatTRN& record = from.list().Items(1);
  record.Name = "Q1";
  record.ICVBE.Count = 2;
  record.ICVBE.X[0] = 1.23456;
  record.ICVBE.Y[1] = 0.000123456789;
  record.Computed = true;
  to.list().AddItem();
  to.AppendCopyOf(from, 1);
  ASSERT_EQ(to.Count(), 2);
  EXPECT_EQ(to.Current(), 1);
  const TCatTRN& copy = to.list().Items(1);
  EXPECT_EQ(copy.Name.str(), "Q1");
  EXPECT_EQ(copy.ICVBE.X[0], 1.23456);
  EXPECT_EQ(copy.ICVBE.Y[1], 0.000123456789);
  EXPECT_TRUE(copy.Computed);
  // The copy is a record of its own.
  from.list().Items(1).ICVBE.X[0] = 9;
  EXPECT_EQ(copy.ICVBE.X[0], 1.23456);

  ListLibrary<TCatListTRP, TCatBipolar> pnp;
  EXPECT_THROW(pnp.AppendCopyOf(from, 1), std::logic_error);
}

}  // namespace
}  // namespace pakro
