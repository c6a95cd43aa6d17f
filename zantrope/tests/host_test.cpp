// Runs the C host program against the built library, started as a program
// of a scratch folder so that the library takes that folder as its own.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

class HostProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("zantrope_host_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Exit status of the host program run as folder_/host.
  int run(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args = {(folder_ / "host").string(), ZANTROPE_LIBRARY};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string errors = (folder_ / "stderr.txt").string();
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid;
    // The settings store of the host lies in the scratch folder too.
    std::vector<std::string> variables = {"ORVO_REGISTRY_FILE=" + (folder_ / "registry.ini").string()};
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("ORVO_REGISTRY_FILE=", 0) != 0) variables.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& v : variables) envp.push_back(v.data());
    envp.push_back(nullptr);
    const int spawned =
        posix_spawn(&pid, HOST_PROGRAM, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string read(const std::string& name) {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path folder_;
};

TEST_F(HostProgram, SetsUpWithoutOptionsFile) {
  EXPECT_EQ(run(), 0);
  // The log is emptied in the folder of the program, whatever the working folder.
  EXPECT_TRUE(fs::exists(folder_ / "vhdl_log.txt"));
  EXPECT_EQ(read("vhdl_log.txt"), "");
}

TEST_F(HostProgram, ReadsOptionsFileOfItsFolder) {
  std::ofstream(folder_ / "vhdl.ini") << "[Developer3]\r\nDebugSafeView=1\r\n"
                                         "[Developer6]\r\nEnableDebugGrammar=1\r\n";
  EXPECT_EQ(run({"a.vhd"}), 0);
  // Grammar tracing writes its header, and safe-view logging puts every
  // line straight into the file.
  EXPECT_EQ(read("vhdl_log.txt"),
            "\r\n----------------------------------------------------------\r\n"
            "----- Debug grammar: a.vhd ----------------------------\r\n");
}

TEST_F(HostProgram, SettingsStoreCreatesItsKeysAndCanMoveTheProgramFolder) {
  EXPECT_EQ(run(), 0);
  const std::string keys = read("registry.ini");
  EXPECT_NE(keys.find("[HKEY_LOCAL_MACHINE\\Software\\Quillmarch\\ORVO Vhdl\\3.0\\Global]"),
            std::string::npos)
      << keys;
  EXPECT_NE(keys.find("\\3.0\\Environment]"), std::string::npos) << keys;

  const fs::path elsewhere = folder_ / "elsewhere";
  fs::create_directory(elsewhere);
  std::ofstream(elsewhere / "vhdl.ini") << "[Developer3]\nDebugSafeView=1\n"
                                           "[Developer6]\nEnableDebugGrammar=1\n";
  std::ofstream(folder_ / "registry.ini")
      << "[HKEY_LOCAL_MACHINE\\Software\\Quillmarch\\ORVO Vhdl\\3.0\\Global]\n"
      << "ProgramPath=" << elsewhere.string() << "\n";
  fs::remove(folder_ / "vhdl_log.txt");
  EXPECT_EQ(run({"b.vhd"}), 0);
  EXPECT_FALSE(fs::exists(folder_ / "vhdl_log.txt"));
  EXPECT_NE(read("elsewhere/vhdl_log.txt").find("Debug grammar: b.vhd"), std::string::npos);
}

TEST_F(HostProgram, LogThatCannotBeWrittenIsReportedOnceAndWorkGoesOn) {
  std::ofstream(folder_ / "vhdl.ini") << "[Developer3]\r\nDebugSafeView=1\r\n"
                                         "[Developer6]\r\nEnableDebugGrammar=1\r\n";
  fs::create_directory(folder_ / "vhdl_log.txt");  // no file can be opened there
  EXPECT_EQ(run({"a.vhd"}), 0);
  const std::string errors = read("stderr.txt");
  const std::string report = "Cannot write " + (folder_ / "vhdl_log.txt").string();
  const auto first = errors.find(report);
  ASSERT_NE(first, std::string::npos) << errors;
  EXPECT_EQ(errors.find(report, first + 1), std::string::npos) << errors;
}

}  // namespace
