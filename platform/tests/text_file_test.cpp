#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/cp1252.h"
#include "platform/save_checks.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

using platform::testing::slurp;
using platform::testing::spit;

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("orvo-text-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

using TextFileTest = TempDir;

TEST_F(TextFileTest, LegacyBytesRoundTripWithCrLf) {
  // "Größe 5 µA – €" in Windows-1252, plus every byte value from 0x80 up.
  std::string special = "Gr\xF6\xDF" "e 5 \xB5" "A \x96 \x80";
  std::string all;
  for (int b = 0x80; b <= 0xFF; ++b) all += char(b);
  const auto path = (dir / "legacy.txt").string();

  writeLines(path, {special, "", all});
  EXPECT_EQ(slurp(path), special + "\r\n\r\n" + all + "\r\n");
  EXPECT_EQ(readLines(path), (std::vector<std::string>{special, "", all}));
  EXPECT_EQ(cp1252ToUtf8(special), "Größe 5 µA – €");
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST_F(TextFileTest, ReaderAcceptsLfAndCrLfAndCountsLines) {
  const auto path = dir / "mixed.txt";
  spit(path, "first\r\nsecond\nthird");
  LineReader reader(path.string());
  EXPECT_EQ(reader.lineNumber(), 0);
  EXPECT_EQ(reader.requireLine(), "first");
  EXPECT_EQ(reader.requireLine(), "second");
  EXPECT_FALSE(reader.atEnd());
  EXPECT_EQ(reader.requireLine(), "third");
  EXPECT_EQ(reader.lineNumber(), 3);
  EXPECT_TRUE(reader.atEnd());
  EXPECT_THROW(reader.requireLine(), FileError);
}

TEST_F(TextFileTest, ReadersRefuseWhatIsNotARegularFileOrTooLong) {
  platform::testing::ExpectHostileInputsRefused(dir.string(), [](const std::string& path) {
    readLines(path);
    return true;
  });
  platform::testing::ExpectHostileInputsRefused((dir / "whole").string(), [](const std::string& path) {
    readRegularFile(path, 1 << 20);
    return true;
  });
}

TEST_F(TextFileTest, LongestLineIsReadAndOneByteMoreRefused) {
  const std::string longest(LineReader::kMaxLineBytes, 'x');
  const auto path = (dir / "long.txt").string();
  spit(path, "short\r\n" + longest + "\r\n" + longest + "y\n");
  LineReader reader(path);
  EXPECT_EQ(reader.requireLine(), "short");
  EXPECT_EQ(reader.requireLine(), longest);
  try {
    reader.requireLine();
    FAIL() << "a line longer than the limit was read";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Line 3 is too long: " + path);
  }
}

TEST_F(TextFileTest, WholeFileReaderKeepsToItsLimit) {
  const auto path = (dir / "bytes.bin").string();
  spit(path, std::string("ab\0c", 4));
  EXPECT_EQ(readRegularFile(path, 4), std::string("ab\0c", 4));
  EXPECT_THROW(readRegularFile(path, 3), FileError);
  RegularFileReader reader(path);
  char head[2];
  EXPECT_EQ(reader.read(head, 2), 2u);
  EXPECT_EQ(reader.readRest(2), std::string("\0c", 2));
  EXPECT_EQ(reader.read(head, 2), 0u);
}

TEST_F(TextFileTest, WholeFileReaderReadsWhatTheFileGainedSinceItOpened) {
  const auto path = (dir / "grows.bin").string();
  spit(path, "head");
  RegularFileReader reader(path);
  RegularFileReader bounded(path);
  spit(path, "head and tail");
  std::string bytes = "kept:";
  reader.appendRest(bytes, 100);
  EXPECT_EQ(bytes, "kept:head and tail");
  EXPECT_THROW(bounded.readRest(12), FileError);
}

TEST_F(TextFileTest, MissingFileIsAnErrorNamingThePath) {
  const auto path = (dir / "nope.txt").string();
  try {
    LineReader reader(path);
    FAIL() << "opened a missing file";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), path);
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
  }
}

TEST_F(TextFileTest, UncommittedWriteLeavesTheTargetUntouched) {
  const auto path = dir / "keep.txt";
  spit(path, "old contents\r\n");
  {
    TextFileWriter writer(path.string());
    writer.writeLine("half of a new file");
    // no commit: as if the write had failed halfway
  }
  EXPECT_EQ(slurp(path), "old contents\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  TextFileWriter writer(path.string());
  writer.writeLine("new");
  writer.commit();
  EXPECT_EQ(slurp(path), "new\r\n");
}

TEST_F(TextFileTest, FinishedFileReplacesTheTargetOnlyOnCommit) {
  const auto path = dir / "pair.txt";
  spit(path, "old contents\r\n");
  {
    TextFileWriter writer(path.string());
    writer.writeLine("finished, never committed");
    writer.finish();
    EXPECT_EQ(slurp(path), "old contents\r\n");
    EXPECT_THROW(writer.writeLine("too late"), FileError);
  }
  EXPECT_EQ(slurp(path), "old contents\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  TextFileWriter writer(path.string());
  writer.writeLine("new");
  writer.finish();
  writer.commit();
  EXPECT_EQ(slurp(path), "new\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(TextFileTest, ReplacedFileKeepsItsPermissions) {
  // A private file stays private, whatever the process's file creation mask
  // would give a new file.
  for (const auto perms : {fs::perms::owner_read | fs::perms::owner_write,
                           fs::perms::owner_write | fs::perms::group_read,
                           fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read}) {
    const auto path = dir / "kept.txt";
    fs::remove(path);
    spit(path, "old\r\n");
    fs::permissions(path, perms);
    writeLines(path.string(), {"new"});
    EXPECT_EQ(slurp(path), "new\r\n");
    EXPECT_EQ(fs::status(path).permissions(), perms) << int(perms);
  }
  // A new file gets what the creation mask allows.
  const auto fresh = dir / "fresh.txt";
  const ::mode_t mask = ::umask(022);
  writeLines(fresh.string(), {"x"});
  ::umask(mask);
  EXPECT_EQ(fs::status(fresh).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
}

TEST_F(TextFileTest, SavesReplaceOnlyTheirOwnFile) {
  platform::testing::ExpectSafeSaves(dir.string(), ".txt", [](const std::string& path) {
    writeLines(path, {"one", "two"});
  });
}

TEST_F(TextFileTest, BinaryWriterWritesLargeAndSmallPiecesInOrder) {
  const auto path = (dir / "data.bin").string();
  std::string expected;
  BinaryFileWriter writer(path);
  for (const std::size_t n : {std::size_t(1), std::size_t(70000), std::size_t(3), std::size_t(65536)}) {
    const std::string piece(n, char('a' + n % 26));
    writer.write(piece);
    expected += piece;
  }
  writer.commit();
  EXPECT_EQ(slurp(path), expected);
}

TEST_F(TextFileTest, BackupPutsTheOldFileBack) {
  const auto path = (dir / "pair.mpl").string();
  spit(path, "old");
  {
    FileBackup backup(path);
    writeLines(path, {"new"});
    backup.restore();
  }
  EXPECT_EQ(slurp(path), "old");
  {
    FileBackup backup(path);
    writeLines(path, {"kept"});
  }
  EXPECT_EQ(slurp(path), "kept\r\n");
  const auto fresh = (dir / "fresh.mpl").string();
  {
    FileBackup backup(fresh);
    writeLines(fresh, {"x"});
    backup.restore();
  }
  EXPECT_FALSE(fs::exists(fresh));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(TextFileTest, WriterIntoMissingFolderFails) {
  EXPECT_THROW(TextFileWriter((dir / "no" / "such" / "f.txt").string()), FileError);
}

TEST(Cp1252, MalformedOrForeignUtf8BecomesQuestionMarks) {
  const struct {
    std::string utf8, legacy;
  } cases[] = {
      {"plain", "plain"},
      {"\xE2\x82\xAC", "\x80"},          // euro sign
      {"\xE4\xB8\xAD", "?"},             // a character the page lacks
      {"a\xC3", "a?"},                    // truncated sequence
      {"\xFF" "b", "?b"},                 // invalid lead byte
      {"\xF0\x9F\x98\x80", "?"},         // outside the basic plane
      {"a\xC0\x80" "b", "a?b"},           // overlong NUL
      {"\xC0\xAF", "?"},                 // overlong '/'
      {"\xE0\x80\xAF", "?"},             // overlong '/', three bytes
      {"\xE0\x82\x80", "?"},             // overlong U+0080
      {"\xC2\x81", "\x81"},              // U+0081 itself, the shortest form
  };
  for (const auto& c : cases) EXPECT_EQ(utf8ToCp1252(c.utf8), c.legacy) << c.utf8;
}

}  // namespace
