// The batch runner against real scripts, and the base name of the output
// files.
#include "pakro/shell/output_commands.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace pakro {
namespace {

class RunAndWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("pakro_run_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "work dir");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& relative, const std::string& text) {
    const auto path = dir_ / relative;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  std::string Read(const std::string& relative) {
    std::ifstream in(dir_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string Dir(const std::string& relative = "") { return (dir_ / relative).string(); }

  std::filesystem::path dir_;
};

TEST_F(RunAndWaitTest, ReturnsTheExitCode) {
  Write("work dir/three.bat", "exit 3\n");
  Write("work dir/zero.bat", "true\n");
  EXPECT_EQ(RunAndWait("three.bat", {}, Dir("work dir")), 3);
  EXPECT_EQ(RunAndWait("zero.bat", {}, Dir("work dir")), 0);
  // An absolute path runs from any directory.
  EXPECT_EQ(RunAndWait(Dir("work dir/three.bat"), {}, Dir()), 3);
}

TEST_F(RunAndWaitTest, TheScriptSeesItsDirectoryAndArguments) {
  // The script is not executable: the shell reads it.
  Write("work dir/CCAT.BAT",
        "pwd > seen.txt\nfor a in \"$@\"; do echo \"[$a]\" >> seen.txt; done\nexit $#\n");
  const std::string before = std::filesystem::current_path().string();
  const std::string longArgument(5000, 'x');
  EXPECT_EQ(RunAndWait("CCAT.BAT", {"MY CAT", "b;c", longArgument}, Dir("work dir")), 3);
  EXPECT_EQ(Read("work dir/seen.txt"), std::filesystem::canonical(Dir("work dir")).string() +
                                           "\n[MY CAT]\n[b;c]\n[" + longArgument + "]\n");
  // The caller's own directory is not touched.
  EXPECT_EQ(std::filesystem::current_path().string(), before);
}

TEST_F(RunAndWaitTest, WhatCannotBeStartedGivesMinusOne) {
  Write("work dir/ok.bat", "exit 0\n");
  EXPECT_EQ(RunAndWait("missing.bat", {}, Dir("work dir")), -1);
  EXPECT_EQ(RunAndWait("ok.bat", {}, Dir("no such dir")), -1);
  EXPECT_EQ(RunAndWait("", {}, Dir("work dir")), -1);
  // A script that cannot be read (root reads everything, so only elsewhere).
  if (::geteuid() != 0) {
    const std::string locked = Write("work dir/locked.bat", "exit 0\n");
    ::chmod(locked.c_str(), 0);
    EXPECT_EQ(RunAndWait("locked.bat", {}, Dir("work dir")), -1);
  }
}

TEST_F(RunAndWaitTest, TheScriptInheritsNoOpenFile) {
  const std::string held = Write("held.txt", "x");
  const int fd = ::open(held.c_str(), O_RDONLY);  // not closed on exec
  ASSERT_GE(fd, 3);
  Write("work dir/fds.bat", "test -e /proc/$$/fd/" + std::to_string(fd) + " && exit 9\nexit 0\n");
  EXPECT_EQ(RunAndWait("fds.bat", {}, Dir("work dir")), 0);
  ::close(fd);
}

TEST_F(RunAndWaitTest, AScriptEndedBySignalIsNoSuccess) {
  Write("work dir/kill.bat", "kill -9 $$\n");
  EXPECT_EQ(RunAndWait("kill.bat", {}, Dir("work dir")), 128 + 9);
}

TEST(OutputBaseName, CutsTheExtensionOfTheFileNamePartOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"NEWNPN.LBR", "NEWNPN"},
      {"/home/u/libs/DIODES.LBR", "/home/u/libs/DIODES"},
      {"/home/u/my.libs/DIODES.LBR", "/home/u/my.libs/DIODES"},
      {"/home/u/my.libs/DIODES", "/home/u/my.libs/DIODES"},
      {"A.B.LBR", "A"},
      {"NOEXT", "NOEXT"},
  };
  for (const auto& [caption, base] : cases) EXPECT_EQ(OutputBaseName(caption), base) << caption;
}

}  // namespace
}  // namespace pakro
