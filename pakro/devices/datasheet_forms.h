#pragma once
// The datasheet forms of the device kinds, as the frame makes them.
#include "pakro/shell/main_form.h"

namespace pakro {

// Factories of the datasheet forms built so far, by kind code.
DeviceForms datasheetForms();

}  // namespace pakro
