#pragma once
// The host editor's settings, read from its settings keys into
// project_options; ProgramPath also moves the program folder.
#include "simulator/Registry_store.h"

namespace zantrope {

// Builds the four key paths.
void build_registry_keys();
// Reads the Global and Environment keys (creating them when missing and
// allowed); a key that cannot be opened is skipped.
void read_registry_settings(t_registry& store);

}  // namespace zantrope
