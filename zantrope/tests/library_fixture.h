#pragma once
// A fresh library state whose program folder is a scratch folder of the
// test, and helpers to read the files the library writes there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <vector>

#include "compiler/Globals.h"
#include "compiler/Scanner.h"
#include "platform/dialogs.h"

namespace zantrope::testing {

// Keeps every message the library shows, answering OK.
class RecordingMessages final : public platform::MessageService {
 public:
  RecordingMessages() : previous_(platform::setMessageService(this)) {}
  ~RecordingMessages() override { platform::setMessageService(previous_); }
  platform::Answer show(platform::MessageKind kind, std::string_view text, platform::Buttons,
                        std::string_view, int) override {
    kinds.push_back(kind);
    texts.emplace_back(text);
    return platform::Answer::Ok;
  }
  std::vector<platform::MessageKind> kinds;
  std::vector<std::string> texts;

 private:
  platform::MessageService* previous_;
};

class LibraryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              ("zantrope_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" +
               info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    program_folder = folder_.string();
    developer_options = std::make_unique<t_developer_options>();
    error_list = std::make_unique<t_string_list>();
    process_dump_list = std::make_unique<t_string_list>();
    log_list = std::make_unique<t_string_list>();
    view_list = std::make_unique<t_string_list>();
    abort_flag = 0;
    error_flag = 0;
    error_reported = 0;
    error_suppressed = 0;
    error_text.clear();
    scanner().set_position(0, 0, "");
    forget_file_failures();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string read_file(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(folder_ / name); }
  void write_file(const std::string& name, const std::string& text) const {
    std::ofstream(folder_ / name, std::ios::binary) << text;
  }

  std::filesystem::path folder_;
  RecordingMessages shown_;
};

}  // namespace zantrope::testing
