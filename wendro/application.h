#pragma once
#include <QString>
#include <QStringList>

class QMainWindow;

namespace wendro {

inline const QString kApplicationTitle = QStringLiteral("ORVO Schematic Symbol Editor");

// Creates and shows the editor's window with the program's arguments (without
// the program's own name). Needs a prepared QApplication.
QMainWindow* createMainForm(const QStringList& args = {});

// The whole program: application, main form, message loop.
int runProgram(int argc, char** argv);

}  // namespace wendro
