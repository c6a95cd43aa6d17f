#pragma once
#include <QString>

class QMainWindow;

namespace wendro {

inline const QString kApplicationTitle = QStringLiteral("ORVO Schematic Symbol Editor");

// Creates and shows the editor's window. Needs a prepared QApplication.
QMainWindow* createMainForm();

// The whole program: application, main form, message loop.
int runProgram(int argc, char** argv);

}  // namespace wendro
