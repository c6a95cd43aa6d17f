#include "compiler/Diagnostics.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "compiler/Globals.h"
#include "compiler/Scanner.h"
#include "platform/dialogs.h"
#include "platform/paths.h"

namespace zantrope {

std::string numbered_message(std::int32_t id) {
  switch (id) {
    case messages::signal_target_not_found: return "Target signal of the assignment not found";
    case messages::simulation_start_failed: return "The design cannot be simulated";
    case messages::unnamed_list_item: return "List item without a name";
    case messages::unknown_class_id: return "Unknown object class id";
    case messages::bad_immediate_argument: return "Immediate argument cannot be made";
    case messages::not_an_instruction: return "Item is not a pseudo-code instruction: ";
    default: return {};
  }
}

void report_parser_error(const char* message) {
  error_line = scanner().source_line() + 1;
  std::string text = platform::fileNameOf(current_source_path);
  text += ": ";
  text += message ? message : "";
  text += ", line: " + std::to_string(error_line);
  text += ", col: " + std::to_string(scanner().source_column());
  text += ", (token: " + scanner().lexeme() + ")";
  append_error_file_line(text, "[Parser error]");
}

void report_error(std::int32_t message_id) {
  append_error_file_line(numbered_message(message_id), "[Error]");
}

void report_simulation_error(std::int32_t message_id) {
  append_error_file_line(numbered_message(message_id), "[Simulation error]");
}

void append_error_file_line(const std::string& message, const std::string& header) {
  error_line = scanner().source_line() + 1;
  append_program_file_line(kParserErrorFile, header + " " + message);
}

void report_line_error(const std::string& log_text, const std::string& error_message,
                       std::int32_t line) {
  if (error_reported) return;
  if (!error_suppressed && error_list)
    error_list->add("Line " + std::to_string(line) + ": " + log_text);
  abort_run();
  if (!error_suppressed) {
    error_text = error_message;
    error_line = line + 1;
    error_flag = 1;
    error_reported = 1;
  }
}

void abort_run() { abort_flag = 1; }

std::int32_t show_error_box(std::string_view text) {
  if (log_list) log_list->add(text);
  const auto answer =
      platform::messages().show(platform::MessageKind::Error, text, platform::Buttons::Ok);
  return answer == platform::Answer::Ok ? 1 : 2;
}

std::string opcode_name(std::int32_t opcode) {
  static constexpr std::array<const char*, 38> names = {
      "PSEUDO_MARK",
      "IMMEDIATE",
      "UNARY_OP",
      "BINARY_OP",
      "OP_FINISHED",
      "SIGNAL_ASSIGNMENT",
      "COMPONENT_INSTANTIATION",
      "WAIT",
      "WAIT_ON",
      "WAIT_FOR",
      "WAIT_UNTIL",
      "PSEUDO_CHECKRANGE",
      "PSEUDO_LABEL",
      "PSEUDO_GOTO",
      "PSEUDO_GOFALSE",
      "PSEUDO_GOTRUE",
      "PSEUDO_SETSTATE",
      "PSEUDO_SETSTATE2",
      "PSEUDO_GET_OBJ_ID",
      "PSEUDO_GETREF",
      "PSEUDO_GETREF2",
      "PSEUDO_GETBOOL",
      "PSEUDO_SETVAR",
      "PSEUDO_SETVAR_BY_NAME",
      "PSEUDO_SET_RANGE",
      "PSEUDO_CHECK_EQ",
      "PSEUDO_NULL",
      "PSEUDO_SET_ITEM_REF2",
      "PSEUDO_VAR_ASSIGNMENT",
      "PSEUDO_VAR_ASSIGNMENT2",
      "PSEUDO_VAR_INCREMENT",
      "PSEUDO_REPORT",
      "PSEUDO_SEVERITY",
      "PSEUDO_RETURN",
      "PSEUDO_INDEXED_NAME",
      "PSEUDO_INFO_AGGREGATE_BEGIN",
      "PSEUDO_INFO_AGGREGATE_END",
      "PSEUDO_SIGNAL_ASSIGNMENT_END",
  };
  if (opcode < 1 || opcode > std::int32_t(names.size())) return "PSEUDO_NONE";
  return names[std::size_t(opcode - 1)];
}

std::string process_state_name(std::int32_t state) {
  switch (state) {
    case 1: return "PROCESS_READY";
    case 2: return "PROCESS_TRIGGERED";
    case 3: return "PROCESS_SUSPENDED";
    default: return "PROCESS_NONE";
  }
}

std::string token_name(std::int32_t code) {
  switch (code) {
    case 266: return "t_ATTRIBUTE";
    case 346: return "xor";
    case 351: return "t_NESym";
    case 352: return "t_EQSym";
    default: return "none";
  }
}

std::string folder_of_program(const std::string& argument0, const std::string& working_folder) {
  std::string text = argument0;
  std::replace(text.begin(), text.end(), '\\', '/');
  std::filesystem::path path(text);
  if (path.is_relative()) path = std::filesystem::path(working_folder) / path;
  return path.lexically_normal().parent_path().string();
}

namespace {
std::string first_command_line_argument() {
  std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
  std::string argument0;
  std::getline(cmdline, argument0, '\0');
  return argument0;
}

std::string working_folder() {
  std::string buffer(4096, '\0');
  if (!::getcwd(buffer.data(), buffer.size())) return "/";
  return buffer.c_str();
}
}  // namespace

void set_program_folder() {
  const std::string argument0 = first_command_line_argument();
  // A program found through the search path has no folder in its first
  // argument; its own file then tells where it lies.
  if (argument0.find('/') == std::string::npos && argument0.find('\\') == std::string::npos) {
    program_folder = folder_of_program(platform::executableDir() + "program", "/");
    return;
  }
  program_folder = folder_of_program(argument0, working_folder());
}

void set_packages_folder() { packages_folder = platform::joinPath(program_folder, "Packages"); }
void set_examples_folder() { examples_folder = platform::joinPath(program_folder, "Examples"); }
void set_projects_folder() { projects_folder = platform::joinPath(program_folder, "Projects"); }

}  // namespace zantrope
