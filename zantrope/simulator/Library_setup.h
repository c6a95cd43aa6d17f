#pragma once
// The library state behind the exports: set-up, compile preparation, watch
// requests and the entity description for the host.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "compiler/Globals.h"

namespace zantrope {

// Creates the library state; a second call replaces it whole.
void setup_data();
// Clears the abort flag before the host's file-by-file compiles.
void prepare_compile_state();
// Adds the requests for the two watched processor signals.
void add_watch_requests();
// Serialises the first entity of the current design file; the bytes stay
// valid until the next call. Gives 0 and null when the file holds none.
std::int32_t entity_info(void** data);
// Ends a run: state 0, trace off.
void stop_trace();
// The package files a full build compiles, as (file stem, library name), in
// the order the options give.
std::vector<std::pair<std::string, std::string>> packages_to_compile(
    const t_developer_options& options);
// The last entity and the last architecture of the compiled design files.
void select_design_units();

}  // namespace zantrope
