#pragma once
// How the library reports problems: prefixed lines appended to the error
// file, the run-time line error kept for the host, the abort flag, the error
// box for internal errors, and the name tables the dumps use.
#include <cstdint>
#include <string>
#include <string_view>

namespace zantrope {

// Numbered messages in use.
namespace messages {
inline constexpr std::int32_t signal_target_not_found = 702;
inline constexpr std::int32_t simulation_start_failed = 1024;
inline constexpr std::int32_t unnamed_list_item = 2050;
inline constexpr std::int32_t unknown_class_id = 2052;
inline constexpr std::int32_t bad_immediate_argument = 2053;
inline constexpr std::int32_t not_an_instruction = 2054;
}  // namespace messages

// The text of a numbered message; empty for a number without one.
std::string numbered_message(std::int32_t id);

// The parser's error function: "[Parser error]" line with file, line,
// column and current lexeme.
void report_parser_error(const char* message);
// "[Error]" and "[Simulation error]" lines of a numbered message. Neither
// sets the abort flag.
void report_error(std::int32_t message_id);
void report_simulation_error(std::int32_t message_id);
// Appends "header message" as one line to the error file of the program
// folder, and sets error_line from the scanner line.
void append_error_file_line(const std::string& message, const std::string& header);
// The run-time error of the process machine: keeps only the first error
// for the host; always sets the abort flag.
void report_line_error(const std::string& log_text, const std::string& error_text,
                       std::int32_t line);
void abort_run();
// An internal error: shown in an error box with one OK button (the
// platform's message service; it never blocks without a user interface)
// and noted in the general log. Neither logs to the error file nor aborts.
// Answers 1 for OK.
std::int32_t show_error_box(std::string_view text);

std::string opcode_name(std::int32_t opcode);
std::string process_state_name(std::int32_t state);
std::string token_name(std::int32_t code);

// The folder of a program started as `argument0` from `working_folder`:
// the argument made absolute, up to its last separator.
std::string folder_of_program(const std::string& argument0, const std::string& working_folder);
// program_folder from the process's first command-line argument.
void set_program_folder();
// program_folder followed by Packages, Examples and Projects.
void set_packages_folder();
void set_examples_folder();
void set_projects_folder();

}  // namespace zantrope
