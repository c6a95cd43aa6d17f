#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include "pakro/shell/program.h"
#include "platform/qt_services.h"

TEST(PakroStart, ShowsItsMainWindowAndRunsTheLoop) {
  int argc = 1;
  char name[] = "pakro";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  platform::qt::prepareApplication(app, pakro::kApplicationTitle);

  QMainWindow* main = pakro::createForms();
  bool sawWindowInLoop = false;
  QString title;
  QTimer::singleShot(0, [&] {
    sawWindowInLoop = main->isVisible();
    title = main->windowTitle();
    main->findChild<QAction*>("FileExitItem")->trigger();  // closing the main window ends the program
  });
  EXPECT_EQ(app.exec(), 0);
  EXPECT_TRUE(sawWindowInLoop);
  EXPECT_EQ(title, "Parameter Extractor for ORVO");
  EXPECT_EQ(QApplication::applicationDisplayName(), "Parameter Extractor for ORVO");
  platform::qt::installServices(false);
}
