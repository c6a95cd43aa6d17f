// The functions a host calls. Each is an undecorated C name listed in
// zantrope/exports.txt; no exception leaves any of them.
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "compiler/Classes_base.h"
#include "compiler/Diagnostics.h"
#include "compiler/Globals.h"
#include "compiler/Log_file.h"
#include "simulator/Library_setup.h"
#include "simulator/Util_gui.h"
#include "zantrope.h"

#define ZANTROPE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace zantrope;

// The answer of colorize_line for an empty line; it stays the library's.
char empty_text[1] = {'\0'};

// Runs one export's work. Before SetupData there is no state to work on,
// so nothing is done; an exception is shown in the error box and goes no
// further.
bool library_ready() {
  return developer_options && project_options && error_list && process_dump_list && log_list &&
         view_list && source_position && watch_requests;
}

template <class F>
void guarded(const char* where, F&& work) noexcept {
  if (!library_ready()) return;
  try {
    work();
  } catch (const std::exception& error) {
    try {
      show_error_box(std::string(where) + ": " + error.what());
    } catch (...) {
    }
  } catch (...) {
    try {
      show_error_box(std::string(where) + ": unexpected failure");
    } catch (...) {
    }
  }
}

char* heap_copy(const std::string& text) {
  auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

ZANTROPE_EXPORT int32_t SetupData(void) {
  try {
    setup_data();
  } catch (const std::exception& error) {
    // Whatever could not be made is missing; the exports then stay idle.
    try {
      show_error_box(std::string("SetupData: ") + error.what());
    } catch (...) {
    }
  } catch (...) {
  }
  return 1;
}

ZANTROPE_EXPORT void prepare_compile(void) {
  guarded("prepare_compile", [] { prepare_compile_state(); });
}

ZANTROPE_EXPORT void compile_file(const char* source, const char* name) {
  guarded("compile_file", [&] {
    compile_path = source ? source : "";
    if (developer_options->EnableDebugGrammar) {
      log_line("");
      log_line("----------------------------------------------------------");
      log_line("----- Debug grammar: " + std::string(name ? name : "") +
               " ----------------------------");
    }
    // Scanning, parsing and the post-parse pass come with the compiler.
  });
}

ZANTROPE_EXPORT void pre_make(void) {
  guarded("pre_make", [] {
    design_file_list = std::make_unique<t_base_list_storage>();
    view_list->clear();
    saved_decimal_separator = decimal_separator;
    decimal_separator = '.';
    // Resetting the run and compiling the packages come with the simulator
    // and the compiler.
  });
}

ZANTROPE_EXPORT void MakeProject(void) {
  guarded("MakeProject", [] { abort_flag = 0; });
}

ZANTROPE_EXPORT char* read_in_dat_file_from_orvo(void) { return nullptr; }

ZANTROPE_EXPORT void init_watch_signals(void) {
  guarded("init_watch_signals", [] { add_watch_requests(); });
}

ZANTROPE_EXPORT int32_t get_entity_info(void** data) {
  int32_t size = 0;
  if (!data) return 0;
  *data = nullptr;
  guarded("get_entity_info", [&] { size = entity_info(data); });
  return size;
}

ZANTROPE_EXPORT void trace_into(void) {}

ZANTROPE_EXPORT void trace_into_subprogram(void) {}

ZANTROPE_EXPORT void __trace_stop(void) {
  guarded("__trace_stop", [] { stop_trace(); });
}

ZANTROPE_EXPORT void step_cpu_simulation(zantrope_step_result** /*out*/) {}

ZANTROPE_EXPORT void step_cpu_vhdl(zantrope_step_result** /*out*/) {}

ZANTROPE_EXPORT char* make_display_hint(const char* /*line*/, int32_t /*column*/) {
  return nullptr;
}

ZANTROPE_EXPORT char* colorize_line(const char* line) {
  if (!line || !*line) return empty_text;
  try {
    return heap_copy(colorize_text(line));
  } catch (...) {
    return nullptr;
  }
}
