// The loading rules of library files: versions, the defaults files, files
// cut short or damaged, long curves and texts, line ends, failed writes.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "pakro/devices/COR_.h"
#include "pakro/devices/DIO_.h"
#include "pakro/devices/JFP_.h"
#include "pakro/devices/MPE_.h"
#include "pakro/devices/TRP_.h"
#include "pakro/tests/library_test_support.h"
#include "platform/text_file.h"

namespace pakro {
namespace {

using testing::Crlf;
using testing::FixturePath;
using testing::ReadBytes;
using testing::ScratchDir;

std::string Lines(int n, const char* line) {
  std::string out;
  for (int i = 0; i < n; ++i) out += std::string(line) + "\n";
  return out;
}

// Minimal records of each layout, written from the format.
std::string DiodeRecord(const std::string& name) {
  return name + "\nusage\nref\n<\n1\n0.7\n>\nref\n<\n>\n" + Lines(9, "1") + Lines(13, "0") +
         "Not computed\n";
}
std::string BipolarRecord(const std::string& name) {
  return name + "\nusage\nref\n<\n>\nref\n<\n>\n10\nref\n<\n>\n10\nref\n<\n>\nref\n<\n>\n" +
         Lines(9, "1") + Lines(27, "0") + "Not computed\n";
}
std::string BipolarRecordV1(const std::string& name) {
  return name + "\nusage\nref\n<\n>\nref\n<\n>\n10\nref\n<\n>\nref\n<\n>\n" + Lines(6, "1") +
         Lines(26, "0") + "Not computed\n";
}
std::string JfetRecord(const std::string& name) {
  return name + "\nusage\nref\n<\n>\nref\nvsVGS\n<\n>\n10\nref\n<\n>\n10\n50\n10\n" + Lines(15, "0") +
         "Not computed\n";
}
std::string MosfetRecord(const std::string& name) {
  return name + "\nusage\nref\n<\n>\nref\n<\n>\nref\n<\n>\n" + Lines(8, "1") + Lines(34, "0") +
         "Not computed\n";
}
std::string CoreRecord(const std::string& name) {
  return name + "\nusage\nref\n<\n>\n" + Lines(4, "1") + Lines(8, "0") + "Not computed\n";
}

std::string Header(int kind, int version) {
  return "Library file\n" + TypeLine(kind) + "\n" + VersionLine(version) + "\n";
}

struct Outcome {
  bool refused = false;
  std::string item0;
  std::string item1;
  int count = 0;
  int current = 0;
};

// A list made as the Open command makes it (defaults loaded from the
// shipped defaults file), then given the file.
template <class List>
Outcome OpenWithDefaults(const std::string& path) {
  List list;
  list.LoadDefaults();
  Outcome out;
  LibraryFile file(path);
  file.ReadHeader();
  try {
    list.ReadLibrary(file);
  } catch (const LibraryError&) {
    out.refused = true;
  }
  EXPECT_FALSE(file.IsOpen());
  out.item0 = list.Items(0).Name.str();
  if (list.Count() > 1) out.item1 = list.Items(1).Name.str();
  out.count = list.Count();
  out.current = list.Current;
  return out;
}

enum Family { Diode, Bipolar, Jfet, Mosfet, Core };

Outcome OpenFamily(Family family, const std::string& path) {
  switch (family) {
    case Diode: return OpenWithDefaults<TCatListDIO>(path);
    case Bipolar: return OpenWithDefaults<TCatListTRN>(path);
    case Jfet: return OpenWithDefaults<TCatListJFN>(path);
    case Mosfet: return OpenWithDefaults<TCatListMNE>(path);
    case Core: return OpenWithDefaults<TCatListCOR>(path);
  }
  return {};
}

TEST(LibraryVersions, TableOfTheVersionRules) {
  const struct {
    Family family;
    int kind;
    int version;
    std::string (*record)(const std::string&);
    bool refused;
    const char* item0;  // "FIRST": the file's first record; "DEFAULT": the defaults file's
    int count;
    int current;
  } rows[] = {
      {Diode, 1, 1, DiodeRecord, false, "DEFAULT", 2, 1},
      {Diode, 1, 2, DiodeRecord, false, "FIRST", 2, 1},
      {Diode, 1, 3, DiodeRecord, true, "DEFAULT", 1, 0},
      {Bipolar, 2, 1, BipolarRecordV1, false, "DEFAULT", 2, 1},
      {Bipolar, 2, 2, BipolarRecord, false, "FIRST", 2, 1},
      {Bipolar, 2, 0, BipolarRecord, true, "DEFAULT", 1, 0},
      {Jfet, 4, 1, JfetRecord, false, "FIRST", 2, 1},
      {Jfet, 4, 2, JfetRecord, false, "FIRST", 2, 1},
      {Jfet, 4, 3, JfetRecord, true, "DEFAULT", 1, 0},
      {Mosfet, 6, 1, MosfetRecord, false, "FIRST", 2, 1},
      {Mosfet, 6, 2, MosfetRecord, false, "FIRST", 2, 1},
      {Mosfet, 6, 7, MosfetRecord, true, "DEFAULT", 1, 0},
      {Core, 8, 1, CoreRecord, false, "DEFAULT", 2, 1},
      {Core, 8, 2, CoreRecord, false, "FIRST", 2, 1},
      {Core, 8, -1, CoreRecord, true, "DEFAULT", 1, 0},
  };
  ScratchDir dir;
  for (const auto& row : rows) {
    const std::string path = dir.File(
        "lib.LBR", Crlf(Header(row.kind, row.version) + row.record("FIRST") + row.record("COMP")));
    const Outcome out = OpenFamily(row.family, path);
    const std::string where = "kind " + std::to_string(row.kind) + " version " + std::to_string(row.version);
    EXPECT_EQ(out.refused, row.refused) << where;
    EXPECT_EQ(out.item0, row.item0) << where;
    EXPECT_EQ(out.count, row.count) << where;
    EXPECT_EQ(out.current, row.current) << where;
    if (!row.refused) {
      EXPECT_EQ(out.item1, "COMP") << where;
    }
  }
}

TEST(LibraryVersions, AFileOfOnlyItsDefaultsRecordGivesOneEmptyComponent) {
  ScratchDir dir;
  for (int version : {1, 2}) {
    const Outcome out = OpenWithDefaults<TCatListDIO>(
        dir.File("lib.LBR", Crlf(Header(1, version) + DiodeRecord("FIRST"))));
    EXPECT_EQ(out.item0, version == 2 ? "FIRST" : "DEFAULT");
    EXPECT_EQ(out.count, 2);
    EXPECT_EQ(out.item1, "");
    EXPECT_EQ(out.current, 1);
  }
  // A header without records keeps the defaults record as item 0.
  const Outcome out = OpenWithDefaults<TCatListMNE>(dir.File("lib.LBR", Crlf(Header(6, 1))));
  EXPECT_EQ(out.item0, "DEFAULT");
  EXPECT_EQ(out.count, 2);
}

TEST(LibraryVersions, ALibraryOfAnotherKindIsRefused) {
  const Outcome pnp = OpenWithDefaults<TCatListTRP>(FixturePath("npn.LBR"));
  EXPECT_TRUE(pnp.refused);
  EXPECT_EQ(pnp.count, 1);
  EXPECT_EQ(pnp.item0, "DEFAULT");
  EXPECT_EQ(pnp.current, 0);
  EXPECT_TRUE(OpenWithDefaults<TCatListMNE>(FixturePath("njfet.LBR")).refused);
}

TEST(LibraryVersions, CoreLibraryKeepsItsOwnDefaultsRecordWhenReopened) {
  ScratchDir dir;
  TCatListCOR list;
  list.LoadDefaults();
  list.AddItem();
  list.Items(0).Name = "MINE";
  list.Items(1).Name = "RING";
  list.WriteLibrary(dir.Path("core.LBR"));
  EXPECT_EQ(platform::readLines(dir.Path("core.LBR")).at(2), "Version : 2");
  const Outcome out = OpenWithDefaults<TCatListCOR>(dir.Path("core.LBR"));
  EXPECT_EQ(out.item0, "MINE");
  EXPECT_EQ(out.item1, "RING");
  EXPECT_EQ(out.count, 2);
}

TEST(LibraryVersions, ANotComputedFirstRecordReplacesAComputedDefaultsRecordWhole) {
  ScratchDir dir;
  std::string computed = BipolarRecord("DEF");
  computed.replace(computed.find("Not computed"), 12, "Computed");
  dir.File("BIPOL.DEF", Crlf(Header(2, 2) + computed));
  TCatListTRN list;
  list.LoadDefaults(dir.Dir());
  ASSERT_TRUE(list.Items(0).Computed);
  ASSERT_TRUE(list.Items(0).ICVCE.ShowFitted);
  testing::Open(list, dir.File("lib.LBR", Crlf(Header(2, 2) + BipolarRecord("FIRST"))));
  const TCatTRN& t = list.Items(0);
  EXPECT_EQ(t.Name.str(), "FIRST");
  EXPECT_FALSE(t.Computed);
  for (const TGraph* c : {&t.ICVBE, &t.ICBETA, &t.ICVCE, &t.VCBCOBO, &t.VEBCIBO})
    EXPECT_FALSE(c->ShowFitted);
}

// --- version-1 bipolar records -----------------------------------------------

TEST(BipolarVersionOne, ReadsTheOlderLayout) {
  namespace P = BipolarParam;
  namespace D = BipolarData;
  // Six values (index 1, 2, 0, 3, 4, 5), 23 parameters to TF, then KF AF EG.
  std::string numbers;
  for (int i = 1; i <= 26; ++i) numbers += std::to_string(i) + "\n";
  const std::string record =
      "T1\nusage\nT1\n<\n1\n0.65\n>\nT1\n<\n1\n100\n2\n120\n>\n1,5\nT1\n<\n1\n6\n>\nT1\n<\n1\n20\n>\n"
      "11\n12\n10\n13\n14\n15\n" +
      numbers + "Computed\n";
  ScratchDir dir;
  TCatListTRP list;
  list.LoadDefaults();
  testing::Open(list, dir.File("v1.LBR", Crlf(Header(3, 1) + BipolarRecordV1("FIRST") + record)));
  ASSERT_EQ(list.Count(), 2);
  const TCatTRP& t = list.Items(1);
  EXPECT_EQ(t.ICBETA.Count, 2);
  EXPECT_DOUBLE_EQ(t.ICBETA.CurveParam, 1.5);
  EXPECT_EQ(t.ICBETA.CurveParamText.str(), "1,5");  // the text as well as the number
  EXPECT_DOUBLE_EQ(t.DataValue[D::HoeIC], 11);
  EXPECT_DOUBLE_EQ(t.DataValue[D::Hoe], 10);
  EXPECT_DOUBLE_EQ(t.DataValue[D::FT], 15);
  EXPECT_EQ(t.DataValue[D::ICIB], 0);
  EXPECT_EQ(t.DataText[D::TS].str(), "");
  EXPECT_DOUBLE_EQ(t.Param[P::IS], 1);
  EXPECT_DOUBLE_EQ(t.Param[P::TF], 23);
  EXPECT_EQ(t.Param[P::TR], 0);
  EXPECT_DOUBLE_EQ(t.Param[P::KF], 24);
  EXPECT_DOUBLE_EQ(t.Param[P::AF], 25);
  EXPECT_DOUBLE_EQ(t.Param[P::EG], 26);
  EXPECT_EQ(t.ICVCE.Count, 0);
  EXPECT_TRUE(t.Computed);
  EXPECT_TRUE(t.ICVBE.ShowFitted && t.ICBETA.ShowFitted && t.VCBCOBO.ShowFitted && t.VEBCIBO.ShowFitted);
  EXPECT_FALSE(t.ICVCE.ShowFitted);
  EXPECT_EQ(t.ICBETA.FitKind, 22);
}

// --- damaged and unusual files -----------------------------------------------

template <class List>
class LibraryCutShort : public ::testing::Test {};
using CutLists = ::testing::Types<TCatListDIO, TCatListTRN, TCatListJFN, TCatListMNE, TCatListCOR>;
TYPED_TEST_SUITE(LibraryCutShort, CutLists);

const char* FixtureOf(const TCatListDIO&) { return "diode.LBR"; }
const char* FixtureOf(const TCatListTRN&) { return "npn.LBR"; }
const char* FixtureOf(const TCatListJFN&) { return "njfet.LBR"; }
const char* FixtureOf(const TCatListMNE&) { return "nmos.LBR"; }
const char* FixtureOf(const TCatListCOR&) { return "core.LBR"; }

// The fixture cut after every one of its lines: a file that ends between
// two records opens with the records it holds, one that ends inside a
// record is refused and changes nothing.
TYPED_TEST(LibraryCutShort, EndsInsideARecordAreRefused) {
  const std::vector<std::string> lines = platform::readLines(FixturePath(FixtureOf(TypeParam())));
  ScratchDir dir;
  std::string text;
  int records = 0;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    text += lines[n] + "\r\n";
    if (n < 2) continue;
    const bool between = n == 2 || lines[n] == "Computed" || lines[n] == "Not computed";
    if (between && n > 2) ++records;
    TypeParam list;
    list.LoadDefaults();
    LibraryFile file(dir.File("cut.LBR", text));
    file.ReadHeader();
    if (between) {
      ASSERT_NO_THROW(list.ReadLibrary(file)) << "cut after line " << n + 1;
      EXPECT_EQ(list.Count(), std::max(records, 2)) << "cut after line " << n + 1;
    } else {
      EXPECT_THROW(list.ReadLibrary(file), LibraryError) << "cut after line " << n + 1;
      EXPECT_EQ(list.Count(), 1);
      EXPECT_EQ(list.Current, 0);
      EXPECT_EQ(list.Items(0).Name.str(), "DEFAULT");
    }
    EXPECT_FALSE(file.IsOpen());
  }
  EXPECT_EQ(records, 3);
}

TEST(LibraryDamage, ARecordOutOfStepIsRefusedWithItsLine) {
  ScratchDir dir;
  // The "<" of the first curve is missing.
  std::string record = DiodeRecord("BAD");
  record.replace(record.find("<\n"), 2, "");
  TCatListDIO list;
  list.LoadDefaults();
  LibraryFile file(dir.File("bad.LBR", Crlf(Header(1, 2) + DiodeRecord("FIRST") + record)));
  try {
    list.ReadLibrary(file);
    FAIL() << "the damaged record was read";
  } catch (const LibraryError& e) {
    EXPECT_NE(std::string(e.what()).find("line 40"), std::string::npos) << e.what();
  }
  EXPECT_EQ(list.Count(), 1);
  EXPECT_FALSE(file.IsOpen());

  // A point whose second line is the curve's end.
  std::string odd = DiodeRecord("ODD");
  odd.replace(odd.find("1\n0.7\n>"), 7, "1\n>");
  TCatListDIO other;
  other.LoadDefaults();
  LibraryFile oddFile(dir.File("odd.LBR", Crlf(Header(1, 2) + odd)));
  EXPECT_THROW(other.ReadLibrary(oddFile), LibraryError);
}

TEST(LibraryDamage, ACurveKeepsTwelvePointsAndPassesOverTheRest) {
  std::string points;
  for (int i = 1; i <= 13; ++i) points += std::to_string(i) + "\n" + std::to_string(i * 10) + "\n";
  const std::string record = "LONG\nusage\nref\n<\n" + points + ">\nNEXT\n<\n>\n" + Lines(9, "1") +
                             Lines(13, "0") + "Not computed\n";
  ScratchDir dir;
  TCatListDIO list;
  list.LoadDefaults();
  testing::Open(list, dir.File("long.LBR", Crlf(Header(1, 2) + DiodeRecord("FIRST") + record)));
  ASSERT_EQ(list.Count(), 2);
  const TCatDIO& d = list.Items(1);
  EXPECT_EQ(d.VDID.Count, 12);
  EXPECT_DOUBLE_EQ(d.VDID.X[11], 12);
  EXPECT_DOUBLE_EQ(d.VDID.Y[11], 120);
  EXPECT_EQ(d.VRCJRef.str(), "NEXT");
  EXPECT_DOUBLE_EQ(d.RecoveryTime, 1);

  list.WriteLibrary(dir.Path("out.LBR"));
  const std::string written = ReadBytes(dir.Path("out.LBR"));
  EXPECT_NE(written.find("12\r\n120\r\n>\r\nNEXT\r\n"), std::string::npos);
  EXPECT_EQ(written.find("\r\n13\r\n130\r\n"), std::string::npos);
}

TEST(LibraryDamage, PointLinesThatAreNoNumberKeepTheirCoordinate) {
  const std::string record = "P\nusage\nref\n<\n1\nabc\nxyz\n-2\n>\nref\n<\n>\n" + Lines(9, "1") +
                             Lines(13, "0") + "Not computed\n";
  ScratchDir dir;
  TCatListDIO list;
  list.LoadDefaults();
  testing::Open(list, dir.File("p.LBR", Crlf(Header(1, 2) + DiodeRecord("FIRST") + record)));
  const TGraph& c = list.Items(1).VDID;
  EXPECT_EQ(c.Count, 2);
  EXPECT_DOUBLE_EQ(c.X[0], 1);
  EXPECT_EQ(c.Y[0], 0);
  EXPECT_EQ(c.X[1], 0);
  EXPECT_DOUBLE_EQ(c.Y[1], -2);
  EXPECT_FALSE(c.XNonPositive);  // a coordinate left as it was sets no flag
  EXPECT_TRUE(c.YNonPositive);
}

TEST(LibraryLines, LfOnlyInputReadsAsCrLfAndIsWrittenWithCrLf) {
  std::string bytes = ReadBytes(FixturePath("njfet.LBR"));
  std::string lf;
  for (char c : bytes)
    if (c != '\r') lf += c;
  ScratchDir dir;
  TCatListJFN list;
  testing::Open(list, dir.File("lf.LBR", lf));
  EXPECT_EQ(list.Count(), 3);
  list.WriteLibrary(dir.Path("out.LBR"));
  EXPECT_EQ(ReadBytes(dir.Path("out.LBR")), bytes);
}

TEST(LibraryLines, TrailingEmptyLinesAddNoComponent) {
  ScratchDir dir;
  for (const char* tail : {"\r\n", "\r\n\r\n\r\n", "\n"}) {
    const std::string bytes = ReadBytes(FixturePath("core.LBR")) + tail;
    TCatListCOR list;
    testing::Open(list, dir.File("tail.LBR", bytes));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(2).Name.str(), "EMPTY");
  }
}

TEST(LibraryLines, TextsAreCutToTheirCapacityAndHoldNoLineBreak) {
  const std::string record = "NAME-THAT-IS-LONGER-THAN-24\nU\rSAGE\nref\n<\n>\nref\n<\n>\n"
                             "1234567890123\n" +
                             Lines(8, "1") + Lines(13, "0") + "Not computed\n";
  ScratchDir dir;
  TCatListDIO list;
  list.LoadDefaults();
  testing::Open(list, dir.File("t.LBR", Crlf(Header(1, 2) + DiodeRecord("FIRST") + record)));
  const TCatDIO& d = list.Items(1);
  EXPECT_EQ(d.Name.str(), "NAME-THAT-IS-LONGER-THAN");
  EXPECT_EQ(d.Usage.str(), "USAGE");
  EXPECT_EQ(d.Spare1Text.str(), "123456789012");
  EXPECT_DOUBLE_EQ(d.Spare1, 1234567890123.0);  // the number of the whole line

  // A line break stored by other means does not split the record.
  list.Items(1).Usage = "two\r\nlines";
  list.WriteLibrary(dir.Path("out.LBR"));
  TCatListDIO again;
  again.LoadDefaults();
  testing::Open(again, dir.Path("out.LBR"));
  EXPECT_EQ(again.Items(1).Usage.str(), "twolines");
  EXPECT_EQ(again.Count(), 2);
}

// --- defaults files ----------------------------------------------------------

template <class List>
void ExpectDefaults() {
  List list;
  list.Current = 5;
  list.LoadDefaults();
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Current, 0);
  EXPECT_EQ(list.Items(0).Name.str(), "DEFAULT");
  EXPECT_FALSE(list.Items(0).Name.empty());
}

TEST(DefaultsFiles, EveryKindLoadsItsShippedDefaults) {
  ExpectDefaults<TCatListDIO>();
  ExpectDefaults<TCatListTRN>();
  ExpectDefaults<TCatListTRP>();
  ExpectDefaults<TCatListJFN>();
  ExpectDefaults<TCatListJFP>();
  ExpectDefaults<TCatListMNE>();
  ExpectDefaults<TCatListMPE>();
  ExpectDefaults<TCatListCOR>();

  TCatListTRP pnp;
  pnp.LoadDefaults();
  const TCatTRP& t = pnp.Items(0);
  EXPECT_EQ(t.ICVBE.XTitle.str(), "-IC [mA]");  // a PNP record, from the shared file
  EXPECT_GT(t.ICBETA.Count, 0);
  EXPECT_FALSE(t.DataText[BipolarData::FT].empty());
}

// Each shipped defaults file holds exactly one record in the layout it
// names, written as the program writes it.
template <class List>
void ExpectWellFormed(const char* name) {
  const std::string path = platform::joinPath(platform::executableDir(), name);
  List list;
  list.LoadDefaults();
  testing::Open(list, path);
  EXPECT_EQ(list.Count(), 2) << name;
  ScratchDir dir;
  list.WriteLibrary(dir.Path("out.LBR"));
  EXPECT_EQ(ReadBytes(dir.Path("out.LBR")).rfind(ReadBytes(path), 0), 0u) << name;
}

TEST(DefaultsFiles, ShippedFilesAreWellFormed) {
  ExpectWellFormed<TCatListDIO>("DIODE.DEF");
  ExpectWellFormed<TCatListTRN>("BIPOL.DEF");
  ExpectWellFormed<TCatListJFN>("JFET.DEF");
  ExpectWellFormed<TCatListMNE>("MOSFET.DEF");
  ExpectWellFormed<TCatListCOR>("CORE.DEF");
}

TEST(DefaultsFiles, MissingOrForeignDefaultsAreErrors) {
  ScratchDir dir;
  TCatListJFP list;
  EXPECT_THROW(list.LoadDefaults(dir.Dir()), platform::FileError);
  EXPECT_EQ(list.Count(), 1);  // an empty record stands in
  EXPECT_EQ(list.Items(0).Name.str(), "");

  dir.File("JFET.DEF", Crlf(Header(6, 1) + MosfetRecord("M")));
  EXPECT_THROW(list.LoadDefaults(dir.Dir()), LibraryError);
  dir.File("JFET.DEF", Crlf(Header(5, 4) + JfetRecord("J")));
  EXPECT_THROW(list.LoadDefaults(dir.Dir()), LibraryError);
  dir.File("JFET.DEF", Crlf(Header(5, 1)));
  EXPECT_THROW(list.LoadDefaults(dir.Dir()), LibraryError);
  dir.File("JFET.DEF", Crlf(Header(5, 1) + JfetRecord("J")));
  list.LoadDefaults(dir.Dir());
  EXPECT_EQ(list.Items(0).Name.str(), "J");
}

// --- writing -----------------------------------------------------------------

// Lets writes fail once a file would grow beyond the given size.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit old_{};
  void (*previous_)(int) = nullptr;
};

TEST(LibraryWrite, AWriteThatFailsHalfWayLeavesThePreviousFile) {
  ScratchDir dir;
  TCatListTRN list;
  testing::Open(list, FixturePath("npn.LBR"));
  const std::string target = dir.File("lib.LBR", "previous contents\r\n");
  for (int i = 0; i < 200; ++i) {
    list.AddItem();
    list.Items(list.Count() - 1).Name = "PART" + std::to_string(i);
  }
  list.Modified = true;
  {
    FileSizeLimit limit(16 * 1024);
    EXPECT_THROW(list.WriteLibrary(target), platform::FileError);
  }
  EXPECT_EQ(ReadBytes(target), "previous contents\r\n");
  EXPECT_TRUE(list.Modified);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Dir()),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left behind

  EXPECT_THROW(list.WriteLibrary(dir.Path("no such folder/lib.LBR")), platform::FileError);
  list.WriteLibrary(target);
  EXPECT_FALSE(list.Modified);
  EXPECT_GT(ReadBytes(target).size(), 16u * 1024);
}

TEST(LibraryWrite, ANewLibraryIsWrittenWithItsHeader) {
  const struct {
    std::function<void(const std::string&)> write;
    const char* title;
    const char* type;
    const char* version;
  } rows[] = {
      {[](const std::string& p) { TCatListDIO l; l.AddItem(); l.WriteLibrary(p); }, "Diode Library file", "Type    : 1", "Version : 2"},
      {[](const std::string& p) { TCatListTRN l; l.AddItem(); l.WriteLibrary(p); }, "NPN Transistor Library file", "Type    : 2", "Version : 2"},
      {[](const std::string& p) { TCatListTRP l; l.AddItem(); l.WriteLibrary(p); }, "PNP Transistor Library file", "Type    : 3", "Version : 2"},
      {[](const std::string& p) { TCatListJFN l; l.AddItem(); l.WriteLibrary(p); }, "N-channel JFET Library file", "Type    : 4", "Version : 1"},
      {[](const std::string& p) { TCatListJFP l; l.AddItem(); l.WriteLibrary(p); }, "P-channel JFET Library file", "Type    : 5", "Version : 1"},
      {[](const std::string& p) { TCatListMNE l; l.AddItem(); l.WriteLibrary(p); }, "N-channel MOSFET Library file", "Type    : 6", "Version : 1"},
      {[](const std::string& p) { TCatListMPE l; l.AddItem(); l.WriteLibrary(p); }, "P-channel MOSFET Library file", "Type    : 7", "Version : 1"},
      {[](const std::string& p) { TCatListCOR l; l.AddItem(); l.WriteLibrary(p); }, "Core Library file", "Type    : 8", "Version : 2"},
  };
  ScratchDir dir;
  for (const auto& row : rows) {
    row.write(dir.Path("new.LBR"));
    const auto lines = platform::readLines(dir.Path("new.LBR"));
    ASSERT_GT(lines.size(), 5u);
    EXPECT_EQ(lines[0], row.title);
    EXPECT_EQ(lines[1], row.type);
    EXPECT_EQ(lines[2], row.version);
    EXPECT_EQ(lines[6], "<");
    EXPECT_EQ(lines[7], ">") << row.title;  // an empty first curve
    EXPECT_EQ(lines.back(), "Not computed");
  }
}

}  // namespace
}  // namespace pakro
