#include "compiler/Log_file.h"

#include <cerrno>
#include <cstring>

#include "compiler/Globals.h"
#include "platform/text_file.h"

namespace zantrope {

namespace {

std::FILE* lexer_file = nullptr;

void empty_program_file(std::string_view name) {
  if (std::FILE* file = open_program_file(name, "wb")) std::fclose(file);
}

void save_list(const t_string_list& list, std::string_view name) {
  const std::string path = program_file(name);
  try {
    list.save_to_file(path);
  } catch (const platform::FileError& error) {
    report_file_failure(path, error.what());
  }
}

bool level_shown(std::int32_t level) {
  const t_developer_options& options = *developer_options;
  if (options.DisableDebugLevelAll) return false;
  switch (level) {
    case log_levels::general: return options.EnableDebugLevelShowGeneral1;
    case log_levels::process_change: return options.EnableDebugLevelShowProcessChange;
    case log_levels::time: return options.EnableDebugLevelShowTime;
    default: return true;
  }
}

void save_view_when_safe() {
  if (developer_options->DebugSafeView) save_list(*view_list, kViewLogFile);
}

}  // namespace

std::FILE* open_program_file(std::string_view name, const char* mode) {
  const std::string path = program_file(name);
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) report_file_failure(path, std::strerror(errno));
  return file;
}

void log_line(const std::string& text) {
  if (developer_options->DebugSafeView) {
    append_program_file_line(kLogFile, text);
    return;
  }
  log_list->add(text);
}

void log_view_line(const std::string& text) { view_list->add(text); }

void log_message(std::int32_t level, const std::string& text) {
  if (!level_shown(level)) return;
  log_view_line(text);
  save_view_when_safe();
}

void log_trace_line(const std::string& text) {
  log_view_line(text);
  log_view_line("");
  save_view_when_safe();
}

void save_log() {
  if (!developer_options->DebugSafeView) save_list(*log_list, kLogFile);
}

void log_disabled(const std::string&) {}

void create_debug_file() { empty_program_file(kLogFile); }

void reset_debug_files() {
  empty_program_file(kParserTraceFile);
  empty_program_file(kParserErrorFile);
  close_lexer_message_file();
  lexer_file = open_program_file(kScannerMessageFile, "wb");
}

std::FILE* lexer_message_file() { return lexer_file; }

void close_lexer_message_file() {
  if (lexer_file) std::fclose(lexer_file);
  lexer_file = nullptr;
}

}  // namespace zantrope
