#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include "application.h"
#include "platform/qt_services.h"

TEST(WendroStart, ShowsItsMainWindowAndRunsTheLoop) {
  int argc = 1;
  char name[] = "wendro";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  platform::qt::prepareApplication(app, wendro::kApplicationTitle);

  QMainWindow* main = wendro::createMainForm();
  bool sawWindowInLoop = false;
  QString title;
  QTimer::singleShot(0, [&] {
    sawWindowInLoop = main->isVisible();
    title = main->windowTitle();
    main->close();  // closing the main window ends the program
  });
  EXPECT_EQ(app.exec(), 0);
  EXPECT_TRUE(sawWindowInLoop);
  EXPECT_EQ(title, "<New Device> NONAME.DDB - ORVO Schematic Symbol Editor");
  EXPECT_EQ(QApplication::applicationDisplayName(), "ORVO Schematic Symbol Editor");
  platform::qt::installServices(false);
}
