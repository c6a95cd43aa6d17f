#pragma once
#include <QString>

#include "pakro/shell/forms.h"

namespace pakro {

inline const QString kApplicationTitle = QStringLiteral("Parameter Extractor for ORVO");

// The whole program: application, forms, message loop. The datasheet forms
// of the device kinds come from `deviceForms`.
int runProgram(int argc, char** argv, const DeviceForms& deviceForms = {});

}  // namespace pakro
