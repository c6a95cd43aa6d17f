#pragma once
// Small shared routines: keeping the error list, reporting a run-time
// error text, elapsed-time and padded texts, and whether a trace step may
// stop or step into a subprogram.
#include <chrono>
#include <cstdint>
#include <string>

namespace zantrope {

// The text of the last run-time error reported through report_run_error.
extern std::string run_error_text;

// Appends the text to error_list.
void add_error_line(const std::string& text);
// run_error_text := text, then stops the run (abort flag).
void report_run_error(const std::string& text);

// The milliseconds of the time-of-day part of end - start followed by
// " msec": whole days of the difference are not shown, and a start after
// the end gives 0.
std::string elapsed_time_text(std::chrono::system_clock::time_point start,
                              std::chrono::system_clock::time_point end);
// The text with blanks appended up to `width`; a longer text unchanged.
std::string pad_text(const std::string& text, std::size_t width);

// A trace runs.
bool trace_step_running();
// A trace runs, subprogram debugging is on and the run-description file
// does not forbid stepping into subprograms.
bool trace_step_into_subprogram();

}  // namespace zantrope
