#include "application.h"

#include <QApplication>
#include <QMainWindow>

#include "MainForm.h"
#include "platform/qt_services.h"

namespace wendro {

QMainWindow* createMainForm(const QStringList& args) {
  auto* main = new TShapeEdit(args);
  main->show();
  return main;
}

int runProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::qt::prepareApplication(app, kApplicationTitle);
  createMainForm(app.arguments().mid(1));
  return app.exec();
}

}  // namespace wendro
