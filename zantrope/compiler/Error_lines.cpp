#include "compiler/Error_lines.h"

#include "compiler/Diagnostics.h"
#include "compiler/Globals.h"

namespace zantrope {

std::string run_error_text;

void add_error_line(const std::string& text) {
  if (error_list) error_list->add(text);
}

void report_run_error(const std::string& text) {
  run_error_text = text;
  abort_run();
}

std::string elapsed_time_text(std::chrono::system_clock::time_point start,
                              std::chrono::system_clock::time_point end) {
  using std::chrono::milliseconds;
  constexpr std::int64_t kDay = 24LL * 60 * 60 * 1000;
  std::int64_t ms = std::chrono::duration_cast<milliseconds>(end - start).count();
  if (ms < 0) ms = 0;
  return std::to_string(ms % kDay) + " msec";
}

std::string pad_text(const std::string& text, std::size_t width) {
  std::string out = text;
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

bool trace_step_running() { return trace_running != 0; }

bool trace_step_into_subprogram() {
  return trace_running != 0 && developer_options && developer_options->UseSubprogramDebug &&
         run_settings.no_subprogram_trace == 0;
}

}  // namespace zantrope
