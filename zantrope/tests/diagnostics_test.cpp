#include "compiler/Diagnostics.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>

#include "compiler/Scanner.h"
#include "library_fixture.h"
#include "platform/paths.h"

namespace zantrope {
namespace {

class Diagnostics : public testing::LibraryFixture {};

TEST_F(Diagnostics, ErrorFileLineFormats) {
  current_source_path = "/work/src/a.vhd";
  scanner().set_position(0, 7, "entity");
  report_parser_error("parse error");
  EXPECT_EQ(error_line, 1);

  scanner().set_position(41, 0, "");
  report_error(2052);
  EXPECT_EQ(error_line, 42);
  report_simulation_error(1024);
  report_error(9999);  // a number without a text
  append_error_file_line("free text", "[Note]");

  EXPECT_EQ(read_file("yyerror.txt"),
            "[Parser error] a.vhd: parse error, line: 1, col: 7, (token: entity)\r\n"
            "[Error] Unknown object class id\r\n"
            "[Simulation error] The design cannot be simulated\r\n"
            "[Error] \r\n"
            "[Note] free text\r\n");
  // Reports leave the abort flag to their callers.
  EXPECT_EQ(abort_flag, 0);
  EXPECT_TRUE(shown_.texts.empty());
}

TEST_F(Diagnostics, EveryNumberInUseHasAText) {
  for (int id : {702, 1024, 2050, 2052, 2053, 2054}) EXPECT_FALSE(numbered_message(id).empty()) << id;
  EXPECT_TRUE(numbered_message(0).empty());
}

TEST_F(Diagnostics, ErrorFileThatCannotBeOpenedIsReportedOnce) {
  std::filesystem::create_directory(folder_ / "yyerror.txt");
  report_error(2050);
  report_error(2052);
  ASSERT_EQ(shown_.texts.size(), 1u);
  EXPECT_EQ(shown_.texts[0].rfind("Cannot write " + (folder_ / "yyerror.txt").string(), 0), 0u)
      << shown_.texts[0];
}

TEST_F(Diagnostics, LineErrorKeepsOnlyTheFirst) {
  report_line_error("index out of range", "Index out of range", 4);
  abort_flag = 0;
  report_line_error("second", "Second", 9);
  EXPECT_EQ(abort_flag, 0);  // the report acts once until the run starts again
  ASSERT_EQ(error_list->count(), 1);
  EXPECT_EQ(error_list->get(0), "Line 4: index out of range");
  EXPECT_EQ(error_text, "Index out of range");
  EXPECT_EQ(error_line, 5);
  EXPECT_EQ(error_flag, 1);
  EXPECT_FALSE(exists("yyerror.txt"));
}

TEST_F(Diagnostics, SuppressedLineErrorOnlyAborts) {
  error_suppressed = 1;
  report_line_error("hidden", "Hidden", 3);
  EXPECT_EQ(abort_flag, 1);
  EXPECT_EQ(error_list->count(), 0);
  EXPECT_EQ(error_flag, 0);
  EXPECT_EQ(error_text, "");
  error_suppressed = 0;
  report_line_error("shown", "Shown", 6);
  EXPECT_EQ(error_text, "Shown");
}

TEST_F(Diagnostics, ErrorBoxShowsAndLogsWithoutAborting) {
  EXPECT_EQ(show_error_box("pcode == NULL!"), 1);
  ASSERT_EQ(shown_.texts.size(), 1u);
  EXPECT_EQ(shown_.texts[0], "pcode == NULL!");
  EXPECT_EQ(shown_.kinds[0], platform::MessageKind::Error);
  ASSERT_EQ(log_list->count(), 1);
  EXPECT_EQ(log_list->get(0), "pcode == NULL!");
  EXPECT_EQ(abort_flag, 0);
}

TEST_F(Diagnostics, NameTables) {
  const char* const opcodes[] = {
      "PSEUDO_MARK", "IMMEDIATE", "UNARY_OP", "BINARY_OP", "OP_FINISHED", "SIGNAL_ASSIGNMENT",
      "COMPONENT_INSTANTIATION", "WAIT", "WAIT_ON", "WAIT_FOR", "WAIT_UNTIL",
      "PSEUDO_CHECKRANGE", "PSEUDO_LABEL", "PSEUDO_GOTO", "PSEUDO_GOFALSE", "PSEUDO_GOTRUE",
      "PSEUDO_SETSTATE", "PSEUDO_SETSTATE2", "PSEUDO_GET_OBJ_ID", "PSEUDO_GETREF",
      "PSEUDO_GETREF2", "PSEUDO_GETBOOL", "PSEUDO_SETVAR", "PSEUDO_SETVAR_BY_NAME",
      "PSEUDO_SET_RANGE", "PSEUDO_CHECK_EQ", "PSEUDO_NULL", "PSEUDO_SET_ITEM_REF2",
      "PSEUDO_VAR_ASSIGNMENT", "PSEUDO_VAR_ASSIGNMENT2", "PSEUDO_VAR_INCREMENT", "PSEUDO_REPORT",
      "PSEUDO_SEVERITY", "PSEUDO_RETURN", "PSEUDO_INDEXED_NAME", "PSEUDO_INFO_AGGREGATE_BEGIN",
      "PSEUDO_INFO_AGGREGATE_END", "PSEUDO_SIGNAL_ASSIGNMENT_END"};
  for (int op = 1; op <= 38; ++op) EXPECT_EQ(opcode_name(op), opcodes[op - 1]) << op;
  for (int op : {0, 39, -1, 1000}) EXPECT_EQ(opcode_name(op), "PSEUDO_NONE") << op;

  const struct {
    int state;
    const char* name;
  } states[] = {{0, "PROCESS_NONE"},      {1, "PROCESS_READY"}, {2, "PROCESS_TRIGGERED"},
                {3, "PROCESS_SUSPENDED"}, {4, "PROCESS_NONE"},  {-1, "PROCESS_NONE"}};
  for (const auto& s : states) EXPECT_EQ(process_state_name(s.state), s.name) << s.state;

  const struct {
    int code;
    const char* name;
  } tokens[] = {{266, "t_ATTRIBUTE"}, {346, "xor"}, {351, "t_NESym"},
                {352, "t_EQSym"},     {262, "none"}, {0, "none"}};
  for (const auto& t : tokens) EXPECT_EQ(token_name(t.code), t.name) << t.code;
}

TEST_F(Diagnostics, ProgramFolderFromTheFirstArgument) {
  const struct {
    const char* argument;
    const char* working;
    const char* folder;
  } cases[] = {
      {"/opt/orvo/host", "/tmp", "/opt/orvo"},
      {"bin/host", "/home/u", "/home/u/bin"},
      {"./host", "/w", "/w"},
      {"..\\orvo\\host", "/w/sub", "/w/orvo"},
      {"/host", "/w", "/"},
  };
  for (const auto& c : cases) EXPECT_EQ(folder_of_program(c.argument, c.working), c.folder);

  set_program_folder();
  char self[PATH_MAX] = {};
  ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
  EXPECT_EQ(program_folder, platform::directoryOf(self).substr(0, platform::directoryOf(self).size() - 1));
  set_packages_folder();
  set_examples_folder();
  set_projects_folder();
  EXPECT_EQ(packages_folder, program_folder + "/Packages");
  EXPECT_EQ(examples_folder, program_folder + "/Examples");
  EXPECT_EQ(projects_folder, program_folder + "/Projects");
}

}  // namespace
}  // namespace zantrope
