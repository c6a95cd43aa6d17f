#include "compiler/Error_lines.h"

#include <gtest/gtest.h>

#include "compiler/Globals.h"
#include "library_fixture.h"

namespace zantrope {
namespace {

class ErrorLines : public testing::LibraryFixture {};

TEST_F(ErrorLines, ErrorListAndRunErrors) {
  add_error_line("first");
  add_error_line("second");
  ASSERT_EQ(error_list->count(), 2);
  EXPECT_EQ(error_list->get(1), "second");
  report_run_error("division by zero");
  EXPECT_EQ(run_error_text, "division by zero");
  EXPECT_EQ(abort_flag, 1);
}

TEST(ElapsedTime, MillisecondsOfTheTimeOfDay) {
  using namespace std::chrono;
  const system_clock::time_point start = system_clock::now();
  struct Case {
    milliseconds difference;
    const char* text;
  };
  const Case cases[] = {
      {milliseconds(1500), "1500 msec"},
      {milliseconds(0), "0 msec"},
      {hours(25), "3600000 msec"},
      {hours(24) - milliseconds(1), "86399999 msec"},
      {milliseconds(-5), "0 msec"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(elapsed_time_text(start, start + c.difference), c.text) << c.difference.count();
}

TEST(PadText, PadsShortTextsOnly) {
  EXPECT_EQ(pad_text("ab", 5), "ab   ");
  EXPECT_EQ(pad_text("ab", 1), "ab");
  EXPECT_EQ(pad_text("", 2), "  ");
}

TEST_F(ErrorLines, StepSwitches) {
  struct Case {
    std::uint8_t running;
    bool subprogram_debug;
    std::uint8_t no_subprogram_trace;
    bool step, into;
  };
  const Case cases[] = {
      {0, true, 0, false, false},
      {1, true, 0, true, true},
      {1, false, 0, true, false},
      {1, true, 1, true, false},
  };
  const t_run_settings saved = run_settings;
  for (const Case& c : cases) {
    trace_running = c.running;
    developer_options->UseSubprogramDebug = c.subprogram_debug;
    run_settings.no_subprogram_trace = c.no_subprogram_trace;
    EXPECT_EQ(trace_step_running(), c.step);
    EXPECT_EQ(trace_step_into_subprogram(), c.into);
  }
  trace_running = 0;
  run_settings = saved;
}

}  // namespace
}  // namespace zantrope
