#pragma once
#include <QString>

class QMainWindow;

namespace pakro {

inline const QString kApplicationTitle = QStringLiteral("Parameter Extractor for ORVO");

// Creates the program's forms, the main window first, and shows it. Needs a
// QApplication prepared by the caller.
QMainWindow* createForms();

// The whole program: application, forms, message loop.
int runProgram(int argc, char** argv);

}  // namespace pakro
