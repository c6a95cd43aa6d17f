#include "compiler/Log_file.h"

#include <gtest/gtest.h>

#include "library_fixture.h"

namespace zantrope {
namespace {

class LogFile : public testing::LibraryFixture {};

TEST_F(LogFile, ViewMessagesPassTheLevelFilter) {
  using opts = t_developer_options;
  const struct {
    std::int32_t level;
    bool opts::*flag;  // null: no flag needed
  } levels[] = {{1, &opts::EnableDebugLevelShowGeneral1},
                {50, &opts::EnableDebugLevelShowProcessChange},
                {100, &opts::EnableDebugLevelShowTime},
                {7, nullptr},
                {0, nullptr},
                {-1, nullptr}};
  for (const auto& l : levels) {
    SCOPED_TRACE(l.level);
    for (bool flag : {false, true}) {
      for (bool disable_all : {false, true}) {
        *developer_options = t_developer_options{};
        if (l.flag) (*developer_options).*(l.flag) = flag;
        developer_options->DisableDebugLevelAll = disable_all;
        view_list->clear();
        log_message(l.level, "m");
        const bool shown = !disable_all && (!l.flag || flag);
        EXPECT_EQ(view_list->count(), shown ? 1 : 0) << flag << disable_all;
      }
    }
  }
  EXPECT_FALSE(exists("view_log.txt"));
}

TEST_F(LogFile, TraceLinesIgnoreTheFilters) {
  developer_options->DisableDebugLevelAll = true;
  log_trace_line("step");
  ASSERT_EQ(view_list->count(), 2);
  EXPECT_EQ(view_list->get(0), "step");
  EXPECT_EQ(view_list->get(1), "");
  log_view_line("plain");
  EXPECT_EQ(view_list->count(), 3);
  log_disabled("nothing");
  EXPECT_EQ(view_list->count(), 3);
  EXPECT_EQ(log_list->count(), 0);
}

TEST_F(LogFile, GeneralLogWaitsForSave) {
  log_line("one");
  log_line("two");
  EXPECT_FALSE(exists("vhdl_log.txt"));
  save_log();
  EXPECT_EQ(read_file("vhdl_log.txt"), "one\r\ntwo\r\n");
}

TEST_F(LogFile, SafeViewWritesEveryLineAtOnce) {
  developer_options->DebugSafeView = true;
  developer_options->EnableDebugLevelShowTime = true;
  log_line("one");
  EXPECT_EQ(read_file("vhdl_log.txt"), "one\r\n");
  log_line("two");
  EXPECT_EQ(read_file("vhdl_log.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(log_list->count(), 0);
  save_log();  // nothing more to write
  EXPECT_EQ(read_file("vhdl_log.txt"), "one\r\ntwo\r\n");

  log_message(100, "t1");
  EXPECT_EQ(read_file("view_log.txt"), "t1\r\n");
  log_trace_line("t2");
  EXPECT_EQ(read_file("view_log.txt"), "t1\r\nt2\r\n\r\n");
  log_message(50, "filtered");
  EXPECT_EQ(read_file("view_log.txt"), "t1\r\nt2\r\n\r\n");
}

TEST_F(LogFile, DebugFilesAreEmptiedAndTheScannerFileOpened) {
  write_file("vhdl_log.txt", "old");
  write_file("yyerror.txt", "old");
  write_file("yydebug.txt", "old");
  create_debug_file();
  EXPECT_EQ(read_file("vhdl_log.txt"), "");
  EXPECT_EQ(read_file("yyerror.txt"), "old");
  reset_debug_files();
  EXPECT_EQ(read_file("yyerror.txt"), "");
  EXPECT_EQ(read_file("yydebug.txt"), "");
  ASSERT_NE(lexer_message_file(), nullptr);
  std::fputs("token\n", lexer_message_file());
  close_lexer_message_file();
  EXPECT_EQ(lexer_message_file(), nullptr);
  EXPECT_EQ(read_file("yylex.txt"), "token\n");
  EXPECT_FALSE(exists("yytokens.txt"));
}

TEST_F(LogFile, UnwritableLogsAreReportedOnceAndWorkGoesOn) {
  std::filesystem::create_directory(folder_ / "vhdl_log.txt");
  create_debug_file();
  log_line("kept");
  save_log();
  save_log();
  ASSERT_EQ(shown_.texts.size(), 1u);
  EXPECT_NE(shown_.texts[0].find("vhdl_log.txt"), std::string::npos);
  EXPECT_EQ(log_list->lines().back(), "kept");
}

}  // namespace
}  // namespace zantrope
