#pragma once
// The general log (log_list, saved as vhdl_log.txt), the view log
// (view_list, the host's message view, saved as view_log.txt) and the debug
// files of a parse. The developer options decide what is kept.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zantrope {

// Message levels of the view log.
namespace log_levels {
inline constexpr std::int32_t general = 1;
inline constexpr std::int32_t process_change = 50;
inline constexpr std::int32_t time = 100;
}  // namespace log_levels

// One line of the general log: straight to the file with DebugSafeView,
// else kept in log_list until save_log.
void log_line(const std::string& text);
// Adds the text to view_list, unfiltered.
void log_view_line(const std::string& text);
// One line of the view log when the options let its level through.
void log_message(std::int32_t level, const std::string& text);
// One unfiltered line of the view log and an empty line.
void log_trace_line(const std::string& text);
// Writes log_list to vhdl_log.txt unless every line went there already.
void save_log();
// Takes a message and does nothing: logging switched off.
void log_disabled(const std::string& text);
// Empties vhdl_log.txt.
void create_debug_file();
// At the start of a parse: empties yydebug.txt and yyerror.txt and opens
// yylex.txt as the scanner's message file.
void reset_debug_files();
// The scanner's message file while a parse runs; null otherwise or when it
// could not be opened.
std::FILE* lexer_message_file();
// Opens a file of the program folder with the fopen mode; a failure is
// reported once (report_file_failure) and answers null.
std::FILE* open_program_file(std::string_view name, const char* mode);
void close_lexer_message_file();

}  // namespace zantrope
