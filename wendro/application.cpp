#include "application.h"

#include <QApplication>
#include <QMainWindow>

#include "platform/qt_services.h"

namespace wendro {

QMainWindow* createMainForm() {
  auto* main = new QMainWindow;
  main->setAttribute(Qt::WA_DeleteOnClose);
  main->setWindowTitle(kApplicationTitle);
  main->show();
  return main;
}

int runProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::qt::prepareApplication(app, kApplicationTitle);
  createMainForm();
  return app.exec();
}

}  // namespace wendro
