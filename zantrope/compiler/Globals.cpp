#include "compiler/Globals.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "compiler/Classes_base.h"
#include "compiler/Classes_parser_objects.h"
#include "compiler/Diagnostics.h"
#include "platform/paths.h"

namespace zantrope {

std::unique_ptr<t_project_options_class> project_options;
std::unique_ptr<t_developer_options> developer_options;
std::unique_ptr<t_string_list> error_list;
std::unique_ptr<t_string_list> process_dump_list;
std::unique_ptr<t_string_list> log_list;
std::unique_ptr<t_string_list> view_list;
std::unique_ptr<t_source_position> source_position;
std::unique_ptr<t_base_list> watch_requests;

uint8_t sim_state = 0;
uint8_t abort_flag = 0;
int32_t compile_failed = 0;
std::string error_text;
uint8_t error_flag = 0;
int32_t error_line = 0;
uint8_t error_reported = 0;
uint8_t error_suppressed = 0;
int64_t now = 0;
int32_t event_counter = 0;
uint8_t trace_running = 0;
uint8_t trace_paused = 0;
int32_t stop_line = -2;
int32_t break_line = 0;
int32_t pseudo_serial_counter = 0;
int32_t temp_value_counter = 0;

std::string product_key;
std::string global_key;
std::string environment_key;
std::string recent_files_key;

std::string program_folder;
std::string packages_folder;
std::string examples_folder;
std::string projects_folder;

std::string compile_path;
std::string current_compile_file;
std::string current_file_name;
std::string current_source_path;
std::string current_identifier;
std::unique_ptr<t_base_list_storage> design_file_list;
t_design_file* current_design_file = nullptr;
t_library_unit* current_entity = nullptr;
t_library_unit* current_architecture = nullptr;
std::string top_unit_name;

char decimal_separator = '.';
char saved_decimal_separator = '.';

t_run_settings run_settings;
std::string watched_address_text;
std::string watched_accumulator_text;

namespace {
std::set<std::string> reported_file_failures;

// Frees at unload what the lists of the library state do not own. Defined
// after those lists, so it runs before they go.
struct t_unload_guard {
  ~t_unload_guard() { release_watch_requests(); }
} unload_guard;
}  // namespace

std::string program_file(std::string_view name) { return platform::joinPath(program_folder, name); }

void report_file_failure(const std::string& path, const std::string& why) {
  if (!reported_file_failures.insert(path).second) return;
  show_error_box("Cannot write " + path + " (" + why + ")");
}

void append_program_file_line(std::string_view name, std::string_view line) {
  const std::string path = program_file(name);
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) {
    report_file_failure(path, std::strerror(errno));
    return;
  }
  const std::string text = std::string(line) + "\r\n";
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) report_file_failure(path, "write error");
}

void forget_file_failures() { reported_file_failures.clear(); }

void release_watch_requests() {
  if (watch_requests) watch_requests->delete_items();
}

}  // namespace zantrope
