#include "application.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include "platform/qt_services.h"

namespace pakro {

QMainWindow* createForms() {
  auto* main = new QMainWindow;
  main->setAttribute(Qt::WA_DeleteOnClose);
  main->setWindowTitle(kApplicationTitle);
  main->setCentralWidget(new QMdiArea(main));
  main->showMaximized();
  return main;
}

int runProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::qt::prepareApplication(app, kApplicationTitle);
  createForms();
  return app.exec();
}

}  // namespace pakro
