#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "pakro/shell/compute_progress.h"
#include "pakro/shell/frame_state.h"
#include "pakro/shell/library_names.h"

namespace pakro {
namespace {

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  struct Case {
    int a, b, c, expected;
  };
  const Case cases[] = {
      {62, 120, 96, 78},     // 77.5
      {-62, 120, 96, -78},   // -77.5
      {63, 120, 96, 79},     // 78.75
      {21, 120, 96, 26},     // 26.25
      {7, 1, 2, 4},          // 3.5
      {7, -1, 2, -4},        // -3.5
      {5, 1, 3, 2},          // 1.67
      {0, 120, 96, 0},
      {5, 1, 0, -1},         // no divisor
      {2000000000, 3, 4, 1500000000},  // the product needs 64 bits
  };
  for (const Case& c : cases)
    EXPECT_EQ(mulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(DeviceKind, CodesOneToEightAreKinds) {
  for (int code = -1; code <= 10; ++code)
    EXPECT_EQ(isDeviceKind(code), code >= 1 && code <= 8) << code;
}

TEST(ProgressRow, GrowsByBlankAndMarkAndRestartsPast24) {
  const std::string mark = std::string(" ") + kProgressMark;
  std::string row;
  std::size_t longest = 0;
  for (int i = 1; i <= 13; ++i) {
    row = NextProgressRow(row);
    EXPECT_EQ(row.size(), static_cast<std::size_t>(2 * i)) << i;
    longest = std::max(longest, row.size());
  }
  EXPECT_EQ(longest, 26u);  // 26 is the longest a row gets
  EXPECT_EQ(NextProgressRow(row), mark);
  EXPECT_EQ(NextProgressRow(std::string(24, 'x')), std::string(24, 'x') + mark);
  EXPECT_EQ(NextProgressRow(std::string(25, 'x')), mark);
}

TEST(ComputeProgressSeam, InstallsAndRestoresTheReporter) {
  struct Recorder final : ComputeProgress {
    std::vector<std::string> marks;
    int checks = 0;
    void Mark(std::string_view name) override { marks.emplace_back(name); }
    void ShowCheck(std::string_view) override { ++checks; }
  } recorder;
  computeProgress().Mark("nobody listens");  // the silent default
  EXPECT_EQ(setComputeProgress(&recorder), nullptr);
  computeProgress().Mark("BC547");
  computeProgress().ShowCheck({});
  EXPECT_EQ(setComputeProgress(nullptr), &recorder);
  computeProgress().Mark("after");
  EXPECT_EQ(recorder.marks, std::vector<std::string>{"BC547"});
  EXPECT_EQ(recorder.checks, 1);
}

TEST(LeadingInteger, ReadsBlanksSignAndDigits) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"3", 3},          {"3abc", 3},      {" 3", 3},          {"  +12 x", 12},
      {"-1", -1},        {"0", 0},         {"", std::nullopt}, {"abc", std::nullopt},
      {"-", std::nullopt}, {" - 3", std::nullopt}, {"\t3", std::nullopt}, {"99999999999", 2147483647},
      {"-99999999999", -2147483648LL},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadLeadingInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(LibraryNames, NewLibraryCaptionsGoToSaveAs) {
  struct Case {
    const char* caption;
    bool divert;
  };
  const Case cases[] = {
      {"NEWNPN.LBR", true},    {"NEWCORE.LBR", true},   {"NONAME", true},
      {"NewLib.lbr", true},    {"NEWVAR.LBR", true},    {"NEWPMOS.LBRX", false},  // "NEWPMOSX"
      {"NEWPMOS.ABCD", false}, {"newnpn.LBR", false},   {"/tmp/NEWNPN.LBR", false},
      {"MYLIB.LBR", false},    {"NEWNPN.L", true},      {"NEWDIODE.LBR", true},
  };
  for (const Case& c : cases) EXPECT_EQ(DivertsToSaveAs(c.caption), c.divert) << c.caption;
  EXPECT_EQ(LibraryBaseName("AB.CDEFG.X"), "ABFG.X");  // four characters from the first dot
  EXPECT_EQ(LibraryBaseName("PLAIN"), "PLAIN");
}

TEST(LibraryNames, SaveAsAddsTheExtensionToANameWithout) {
  EXPECT_EQ(WithLibraryExtension("/d/lib"), "/d/lib.LBR");
  EXPECT_EQ(WithLibraryExtension("/d/lib.txt"), "/d/lib.txt");
  EXPECT_EQ(WithLibraryExtension("/d.x/lib"), "/d.x/lib.LBR");  // a dot of the directory is none
  EXPECT_EQ(FileNamePart("/d.x/NEWNPN.LBR"), "NEWNPN.LBR");
  EXPECT_EQ(FileNamePart("NEWNPN.LBR"), "NEWNPN.LBR");
}

}  // namespace
}  // namespace pakro
