// The catalog source file and the catalog manager without its dialog: the
// line kinds and catalog tables, the lists, and merges of hand-made source
// files in a scratch folder, including merges whose file steps fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <set>

#include "pakro/shell/catalog_manager_model.h"
#include "pakro/shell/catalog_source.h"
#include "pakro/tests/library_test_support.h"
#include "pakro/tests/manager_fakes.h"

namespace pakro {
namespace {

using testing::FakeLibrary;
using testing::FixturePath;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;
using Strings = std::vector<std::string>;

TEST(CatalogTables, AcceptsEachKindOnlyInItsCatalogs) {
  const Strings codes = {"001", "011", "012", "053", "064", "002", "003", "008",
                         "009", "004", "005", "006", "007", "050", "070", "1"};
  const std::map<int, std::set<std::string>> accepted = {
      {1, {"001", "011", "012", "053"}}, {2, {"002", "003"}}, {3, {"002", "003"}},
      {4, {"008", "009"}},               {5, {"008", "009"}}, {6, {"004", "006"}},
      {7, {"005", "007"}},               {8, {"050"}},        {0, {}},
      {10, {}},
  };
  for (const auto& [kind, yes] : accepted)
    for (const std::string& code : codes)
      EXPECT_EQ(CatalogAccepts(kind, code), yes.count(code) == 1) << kind << " into " << code;
}

TEST(CatalogTables, LineKindsTypeTextsAndModels) {
  EXPECT_EQ(CatalogCodeOf("&002 NPN"), "002");
  EXPECT_EQ(CatalogCodeOf("&05"), "05");
  EXPECT_EQ(CatalogCodeOf(""), "XXX");
  EXPECT_EQ(CatalogCodeOf(" &002"), "XXX");
  EXPECT_EQ(CatalogTypeName("002"), " NPN   ");
  EXPECT_EQ(CatalogTypeName("004"), "NMOS-Ehn. mode");
  EXPECT_EQ(CatalogTypeName("050"), "Magnetic Core ");
  EXPECT_EQ(CatalogTypeName("099"), "099");
  EXPECT_EQ(ModelNameOf("# SPICE-BJT and more"), "SPICE-BJT");
  EXPECT_EQ(ModelNameOf("# Jiles-Atherton"), "Jiles-Atherton");
  EXPECT_EQ(ModelNameOf("#"), "");
  struct Fit {
    const char* model;
    const char* code;
    bool offered;
  };
  for (const Fit& f : std::initializer_list<Fit>{{"Standard", "001", true},
                                                 {"Standard", "070", false},
                                                 {"SPICE-BJT", "070", true},
                                                 {"Schichman-Hodges", "008", true},
                                                 {"Schichman-Hodges", "004", false},
                                                 {"Schichman-Hodges", "007", false},
                                                 {"Spice_Level-3", "006", true},
                                                 {"Jiles-Atherton", "050", true},
                                                 {"standard", "001", false},
                                                 {"Unknown-Model", "001", false}})
    EXPECT_EQ(ModelFitsCatalog(f.model, f.code), f.offered) << f.model << " " << f.code;
  EXPECT_EQ(BackupNameOf("/cat/BIPOLAR.SRC"), "/cat/BIPOLAR.BAK");
  EXPECT_EQ(BackupNameOf("/cat/BIPOLAR"), "/cat/BIPOBAK");
  EXPECT_EQ(BackupNameOf("/cat/X.BAK"), "/cat/X.BAK");
}

TEST(CatalogScan, OffersEachFittingModelOfEachCatalog) {
  const SourceLines lines = ReadCatalogSource(FixturePath("catalog/bipolar.SRC"));
  const std::vector<CatalogChoice> choices = ScanCatalogs(lines);
  Strings entries;
  for (const CatalogChoice& c : choices) entries.push_back(c.entry + "|" + c.code);
  EXPECT_EQ(entries, (Strings{" No. 002 :  NPN      Catalog SPICE-BJT model|002",
                              " No. 002 :  NPN      Catalog Standard model|002",
                              " No. 003 :  PNP      Catalog SPICE-BJT model|003",
                              " No. 050 : Magnetic Core    Catalog Jiles-Atherton model|050",
                              " No. 050 : Magnetic Core    Catalog Standard model|050"}));
  // A code outside the table is shown as itself; Standard is not offered in 070.
  EXPECT_EQ(ScanCatalogs({"x", "&070", "# Standard", "# SPICE-BJT"}).at(0).entry,
            " No. 070 : 070   Catalog SPICE-BJT model");
  EXPECT_EQ(ScanCatalogs({"x", "&070", "# Standard"}).size(), 0u);
}

TEST(CatalogScan, ComponentListsEndAtTheirEndOrTheNextSection) {
  const SourceLines lines = ReadCatalogSource(FixturePath("catalog/bipolar.SRC"));
  EXPECT_EQ(CatalogComponents(lines, "002"), (Strings{"BC548", "2N3904", "BD139"}));
  EXPECT_EQ(CatalogComponents(lines, "003"), Strings{"BC548"});
  EXPECT_EQ(CatalogComponents(lines, "050"), Strings{});
  // No end line: the next catalog's blocks are not this one's.
  EXPECT_EQ(CatalogComponents({"&002", ".M", "$ A", ".E", "&003", "$ B", ".E"}, "002"), Strings{"A"});
}

TEST(CatalogEdit, DeletesOnlyFromTheChosenCatalogAndOnlyWholeBlocks) {
  const SourceLines lines = {"&002", ".M", "$ A", "U a", ".E", "$ AB", ".E", "##", "&003", ".M", "$ A", ".E"};
  EXPECT_EQ(DeleteBlocks(lines, "002", {"A"}),
            (SourceLines{"&002", ".M", "$ AB", ".E", "##", "&003", ".M", "$ A", ".E"}));
  EXPECT_EQ(DeleteBlocks(lines, "003", {"A", "AB"}),
            (SourceLines{"&002", ".M", "$ A", "U a", ".E", "$ AB", ".E", "##", "&003", ".M"}));
  // A block without its end line is refused, whatever follows it.
  for (const SourceLines& broken : {SourceLines{"&002", "$ A", "U a"},
                                    SourceLines{"&002", "$ A", "U a", "$ B", ".E"},
                                    SourceLines{"&002", "$ A", "U a", "&003", ".E"}})
    EXPECT_THROW(DeleteBlocks(broken, "002", {"A"}), CatalogSourceError);
}

TEST(CatalogEdit, NewBlocksGoAfterTheCatalogsInsertionLine) {
  const SourceLines lines = {"&002", "#&", ".M", "$ OLD", ".E", "&003", ".M"};
  EXPECT_EQ(InsertBlocks(lines, "002", {"$ N", ".E"}),
            (SourceLines{"&002", "#&", ".M", "$ N", ".E", "$ OLD", ".E", "&003", ".M"}));
  // A missing section or insertion line; another catalog's insertion line does not count.
  EXPECT_THROW(InsertionLine(lines, "009"), CatalogSourceError);
  EXPECT_THROW(InsertionLine({"&002", "#&", "&003", ".M"}, "002"), CatalogSourceError);
  EXPECT_EQ(InsertionLine({"&002", "M", "xM"}, "002"), 2u);
}

class CatalogMerge : public ::testing::Test {
 protected:
  void SetUp() override {
    original = ReadBytes(FixturePath("catalog/bipolar.SRC"));
    WriteBytes(path, original);
    model.Reset({{"/lib/NPN.LBR", 2, &npn}, {"/lib/D.LBR", 1, &diode}});
  }
  // Browses the file and chooses the catalog of that code.
  bool browse(const std::string& code) {
    return model.Browse(
        path,
        [&code](const std::vector<CatalogChoice>& catalogs) {
          for (std::size_t i = 0; i < catalogs.size(); ++i)
            if (catalogs[i].code == code) return static_cast<int>(i);
          return -1;
        },
        warn);
  }
  int rowOf(const Strings& list, const std::string& name) {
    return static_cast<int>(std::find(list.begin(), list.end(), name) - list.begin());
  }
  // BC548 of the file is replaced, and three components are added.
  void prepareMerge() {
    ASSERT_TRUE(browse("002"));
    model.MoveBack({rowOf(model.DestinationItems(), "BC548")}, false);
    model.Copy(CatalogManagerModel::From::Source, {}, true, warn);
    ASSERT_EQ(model.DestinationItems(), (Strings{"2N2222", "2N3904", "BC107", "BC547", "BD139"}));
    ASSERT_EQ(model.DeletedItems(), Strings{"BC548"});
  }
  bool merge(ReplaceSteps steps = {}) {
    CatalogManagerModel::MergeHooks hooks;
    hooks.steps = std::move(steps);
    hooks.begin = [this] { events.push_back("begin"); };
    hooks.end = [this] { events.push_back("end"); };
    hooks.cancelled = [this] { return cancelAfter >= 0 && --cancelAfter < 0; };
    return model.Merge(hooks, warn);
  }
  void expectUntouched() {
    EXPECT_EQ(ReadBytes(path), original);
    Strings left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Dir()))
      left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_TRUE(left == Strings{"BIPOLAR.SRC"} || left == (Strings{"BIPOLAR.BAK", "BIPOLAR.SRC"}))
        << ::testing::PrintToString(left);
  }

  ScratchDir dir;
  std::string path = dir.Path("BIPOLAR.SRC");
  std::string original;
  FakeLibrary npn{2, {"BC547", "BC107", "2N2222"}};
  FakeLibrary diode{1, {"1N4148"}};
  CatalogManagerModel model;
  Strings warnings;
  Strings events;
  int cancelAfter = -1;
  Warn warn = [this](const std::string& text) { warnings.push_back(text); };
};

TEST_F(CatalogMerge, ListsSortedAndMovesBetweenThem) {
  EXPECT_EQ(model.SourceItems(), (Strings{"2N2222", "BC107", "BC547"}));
  // Before a catalog is chosen nothing is compatible.
  model.Copy(CatalogManagerModel::From::Source, {0}, false, warn);
  EXPECT_EQ(warnings, Strings{kIncompatibleText});
  warnings.clear();
  ASSERT_TRUE(browse("002"));
  EXPECT_EQ(model.CatalogEntry(), " No. 002 :  NPN      Catalog SPICE-BJT model");
  EXPECT_EQ(model.DestinationItems(), (Strings{"2N3904", "BC548", "BD139"}));
  // From the file: to the deleted list; from a library: dropped.
  model.Copy(CatalogManagerModel::From::Source, {2}, false, warn);  // BC547
  model.MoveBack({1, 2}, false);                                    // BC547, BC548
  EXPECT_EQ(model.DestinationItems(), (Strings{"2N3904", "BD139"}));
  EXPECT_EQ(model.DeletedItems(), Strings{"BC548"});
  // A name the catalog holds, in another case, is refused.
  npn.records[1].name = "bd139";
  model.ChooseSource("/lib/NPN.LBR", warn);
  model.Copy(CatalogManagerModel::From::Source, {}, true, warn);
  EXPECT_EQ(warnings, Strings{AlreadyContainsText("bd139", true)});
  // A diode library goes into no bipolar catalog.
  warnings.clear();
  model.ChooseSource("/lib/D.LBR", warn);
  EXPECT_EQ(model.SourceKind(), 1);
  model.Copy(CatalogManagerModel::From::Source, {0}, false, warn);
  EXPECT_EQ(warnings, Strings{kIncompatibleText});
}

TEST_F(CatalogMerge, WritesTheExpectedFileAndKeepsTheOldOneAsBackup) {
  WriteBytes(dir.Path("BIPOLAR.BAK"), "an older backup");
  prepareMerge();
  ASSERT_TRUE(merge()) << ::testing::PrintToString(warnings);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(ReadBytes(path), ReadBytes(FixturePath("catalog/bipolar_merged.SRC")));
  EXPECT_EQ(ReadBytes(dir.Path("BIPOLAR.BAK")), original);
  EXPECT_EQ(npn.computedOrder, (Strings{"2N2222", "BC107", "BC547"}));
  EXPECT_EQ(npn.Current(), 1);  // BC547, the last written
  EXPECT_EQ(events, (Strings{"begin", "end"}));
  // Nothing else is left in the folder.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Dir())) ++files;
  EXPECT_EQ(files, 2);
}

TEST_F(CatalogMerge, WithoutHardLinksTheBackupIsACopy) {
  prepareMerge();
  ReplaceSteps steps;
  steps.link = [](const std::string&, const std::string&) { return EPERM; };
  ASSERT_TRUE(merge(steps)) << ::testing::PrintToString(warnings);
  EXPECT_EQ(ReadBytes(path), ReadBytes(FixturePath("catalog/bipolar_merged.SRC")));
  EXPECT_EQ(ReadBytes(dir.Path("BIPOLAR.BAK")), original);
  // A copy that cannot be written leaves the target as it was.
  WriteBytes(path, original);
  model.Reset({{"/lib/NPN.LBR", 2, &npn}});
  prepareMerge();
  steps.write = [](int fd, const void* data, std::size_t size) {
    // The work file is written in one piece; the backup copy fails.
    static int calls = 0;
    if (++calls > 1) return ENOSPC;
    return ::write(fd, data, size) == static_cast<ssize_t>(size) ? 0 : errno;
  };
  EXPECT_FALSE(merge(steps));
  ASSERT_FALSE(warnings.empty());
  EXPECT_NE(warnings.back().find("Cannot make the backup"), std::string::npos) << warnings.back();
  expectUntouched();
  EXPECT_FALSE(std::filesystem::exists(dir.Path("BIPOLAR.BAK")));
}

TEST_F(CatalogMerge, OkWithNoChangeStillRewritesWithCrLf) {
  ASSERT_TRUE(browse("050"));
  ASSERT_TRUE(merge());
  std::string expected;
  for (const std::string& line : ReadCatalogSource(FixturePath("catalog/bipolar.SRC"))) expected += line + "\r\n";
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(ReadBytes(dir.Path("BIPOLAR.BAK")), original);
}

TEST_F(CatalogMerge, RefusedMergesLeaveTheFileAlone) {
  // No file chosen.
  EXPECT_FALSE(merge());
  ASSERT_EQ(warnings.size(), 1u);
  // A file without catalogs is refused and the choice before stays.
  const std::string empty = dir.Path("EMPTY.SRC");
  WriteBytes(empty, "&002 on the first line\r\n# SPICE-BJT\r\n");
  EXPECT_FALSE(model.Browse(empty, {}, warn));
  EXPECT_EQ(model.Path(), "");
  EXPECT_FALSE(model.Browse(dir.Path("NONE.SRC"), {}, warn));
  std::filesystem::remove(empty);
  warnings.clear();

  // A component whose check fails, one whose fit raises: listed, nothing written.
  prepareMerge();
  npn.incomplete = {"BC107"};
  npn.failing = {"2N2222"};
  EXPECT_FALSE(merge());
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("2N2222: the fit did not converge"), std::string::npos);
  EXPECT_NE(warnings[0].find("BC107"), std::string::npos);
  EXPECT_EQ(warnings[0].find("BC547"), std::string::npos);
  expectUntouched();

  // Cancel in the progress dialog after the first component.
  npn.incomplete.clear();
  npn.failing.clear();
  npn.computedOrder.clear();
  warnings.clear();
  cancelAfter = 0;
  EXPECT_FALSE(merge());
  EXPECT_EQ(npn.computedOrder, Strings{"2N2222"});
  EXPECT_EQ(warnings, Strings{"The merge was cancelled; " + path + " was not changed."});
  expectUntouched();
}

TEST_F(CatalogMerge, ABlockWithoutItsEndIsRefused) {
  WriteBytes(path, "x\r\n&002\r\n# SPICE-BJT\r\n.M\r\n$ OLD\r\nU old\r\n&003\r\n.E\r\n");
  original = ReadBytes(path);
  ASSERT_TRUE(browse("002"));
  model.MoveBack({}, true);
  EXPECT_FALSE(merge());
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("OLD"), std::string::npos);
  expectUntouched();
}

TEST_F(CatalogMerge, FailingFileStepsLeaveTheTargetIntactAndSayWhy) {
  struct Case {
    const char* name;
    ReplaceSteps steps;
    const char* says;
  };
  const std::vector<Case> cases = {
      {"read-only folder",
       {.create =
            [](const std::string&, unsigned) {
              errno = EROFS;
              return -1;
            }},
       "Cannot create a work file"},
      {"full file system",
       {.write = [](int, const void*, std::size_t) { return ENOSPC; }},
       "Cannot write the work file"},
      {"flush to a full disk", {.sync = [](int) { return ENOSPC; }}, "Cannot write the work file"},
      {"target on another mount",
       {.rename = [](const std::string&, const std::string&) { return EXDEV; }},
       "Cannot replace"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    warnings.clear();
    model.Reset({{"/lib/NPN.LBR", 2, &npn}});
    prepareMerge();
    EXPECT_FALSE(merge(c.steps));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(c.says), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("was not changed"), std::string::npos) << warnings[0];
    expectUntouched();
  }
}

TEST_F(CatalogMerge, AReallyReadOnlyFolder) {
  prepareMerge();
  ::chmod(dir.Dir().c_str(), 0555);
  const bool writable = ::access(dir.Dir().c_str(), W_OK) == 0;
  if (!writable) {
    EXPECT_FALSE(merge());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(ReadBytes(path), original);
  }
  ::chmod(dir.Dir().c_str(), 0755);
  if (writable) GTEST_SKIP() << "the folder stays writable for this user";
}

TEST_F(CatalogMerge, RefusesTargetsItCannotBackUpSafely) {
  // The backup would be the file itself.
  const std::string bak = dir.Path("SAME.BAK");
  WriteBytes(bak, original);
  EXPECT_THROW(ReplaceCatalogSource(bak, {"x"}), CatalogSourceError);
  EXPECT_EQ(ReadBytes(bak), original);
  // A link in place of the target is not written through.
  const std::string link = dir.Path("LINK.SRC");
  std::filesystem::create_symlink(path, link);
  EXPECT_THROW(ReplaceCatalogSource(link, {"x"}), CatalogSourceError);
  EXPECT_EQ(ReadBytes(path), original);
}

TEST(CatalogCompile, RunsCcatInTheSourcesFolderWithItsName) {
  ScratchDir dir;
  const std::string source = dir.Path("BIPOLAR.V2.SRC");
  WriteBytes(source, "x\r\n");
  EXPECT_FALSE(CompileCatalogSource(source));
  WriteBytes(dir.Path("CCAT.BAT"), "echo \"$1\" > called.txt\npwd >> called.txt\n");
  EXPECT_TRUE(CompileCatalogSource(source));
  const std::string called = ReadBytes(dir.Path("called.txt"));
  EXPECT_EQ(called, "BIPOLAR\n" + std::filesystem::canonical(dir.Dir()).string() + "\n");
}

}  // namespace
}  // namespace pakro
