// The header of library and defaults files.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>

#include "pakro/shell/library_file.h"
#include "pakro/tests/library_test_support.h"
#include "platform/save_checks.h"
#include "platform/text_file.h"
#include "pakro/devices/DIO_.h"

namespace pakro {
namespace {

using testing::Crlf;
using testing::ScratchDir;

TEST(LibraryHeader, IntegerAfterTheFirstTenCharacters) {
  const struct {
    const char* line;
    int value;
  } rows[] = {
      {"Type    : 6", 6},
      {"Version : 2", 2},
      {"Type    : 12", 12},
      {"Type    :    7", 7},          // leading blanks
      {"Type    :\t \t5", 5},         // tabs count as blanks
      {"Type    : +3 trailing", 3},   // sign; text after the number
      {"Type    : -3", -3},
      {"Type    : 2x", 2},
      {"Type    : x2", 0},            // no digits
      {"Type    : ", 0},
      {"Type", 0},                    // shorter than ten characters
      {"Whatever: 8", 8},             // the first ten characters are not looked at
      {"Type    : 99999999999999999999", INT_MAX},
      {"Type    : -99999999999999999999", INT_MIN},
  };
  for (const auto& row : rows) EXPECT_EQ(ReadHeaderInteger(row.line), row.value) << row.line;
  EXPECT_EQ(TypeLine(8), "Type    : 8");
  EXPECT_EQ(VersionLine(2), "Version : 2");
}

TEST(LibraryHeader, ReadsTheThreeLinesWhateverTheTitle) {
  ScratchDir dir;
  LibraryFile file(dir.File("a.LBR", Crlf("any title at all\nType    : 6\nVersion : 1\nNAME\n")));
  const LibraryHeader& header = file.ReadHeader();
  EXPECT_EQ(header.title, "any title at all");
  EXPECT_EQ(header.kind, 6);
  EXPECT_EQ(header.version, 1);
  EXPECT_TRUE(file.HeaderRead());
  EXPECT_TRUE(file.IsOpen());  // the list goes on reading the records
}

TEST(LibraryHeader, AFileOfFewerThanThreeLinesIsNoLibrary) {
  ScratchDir dir;
  for (const char* text : {"", "Diode Library file\r\n", "Diode Library file\r\nType    : 1\r\n"}) {
    LibraryFile file(dir.File("short.LBR", text));
    EXPECT_THROW(file.ReadHeader(), LibraryError) << text;
  }
  EXPECT_THROW(LibraryFile(dir.Path("missing.LBR")), platform::FileError);
}

// What Open asks of a library's header: a device kind and a version that
// the program reads; the refusal names the file and what is wrong.
TEST(LibraryHeader, AnOpenedLibraryNamesADeviceKindAndAReadableVersion) {
  ScratchDir dir;
  const struct {
    const char* kind;
    const char* version;
    const char* refusal;  // the end of the message; null: accepted
  } rows[] = {
      {"1", "1", nullptr},
      {"8", "2", nullptr},
      {"6 N-MOS", "  2", nullptr},
      {"0", "2", " is no library of the parameter extractor: its type 0 names no device kind."},
      {"9", "1", " is no library of the parameter extractor: its type 9 names no device kind."},
      {"x", "1", " is no library of the parameter extractor: its type 0 names no device kind."},
      {"3", "3", " is of the library version 3, which this program cannot read."},
      {"3", "0", " is of the library version 0, which this program cannot read."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.kind) + "/" + row.version);
    const std::string path = dir.File(
        "h.LBR", Crlf(std::string("title\nType    : ") + row.kind + "\nVersion : " + row.version + "\nNAME\n"));
    LibraryFile file(path);
    if (!row.refusal) {
      EXPECT_NO_THROW(file.ReadLibraryHeader());
      continue;
    }
    try {
      file.ReadLibraryHeader();
      ADD_FAILURE() << "accepted";
    } catch (const LibraryError& e) {
      EXPECT_EQ(e.what(), path + row.refusal);
    }
  }
}

// Folders, devices, FIFOs, huge files and endless lines are refused at
// once, before the library is changed; so is a record line far longer than
// any value of a library.
TEST(LibraryHeader, InputsNoLibraryCanBeAreRefusedAtOnce) {
  ScratchDir dir;
  TCatListDIO list;
  platform::testing::ExpectHostileInputsRefused(dir.Dir(), [&](const std::string& path) {
    testing::Open(list, path);
    return true;
  });
  const std::string path =
      dir.File("long.LBR", Crlf("Diode Library file\nType    : 1\nVersion : 2\nD1\n"));
  {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << std::string(1 << 20, '1');
  }
  try {
    testing::Open(list, path);
    FAIL() << "a line of a megabyte was read";
  } catch (const platform::FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Line 5 is too long: " + path);
  }
}

}  // namespace
}  // namespace pakro
