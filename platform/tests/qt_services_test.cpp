#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>

#include "platform/qt_services.h"

using namespace platform::qt;

TEST(QtServices, LegacyTextConvertsAtTheBoundary) {
  EXPECT_EQ(fromLegacy("5 \xB5" "A"), QString::fromUtf8("5 µA"));
  EXPECT_EQ(toLegacy(QString::fromUtf8("€ 3")), "\x80 3");
}

TEST(QtServices, PathsKeepTheFileSystemsBytes) {
  // A path is no legacy text: "ü" stays the two bytes the file system uses.
  const std::string path = "/tmp/B\xC3\xBCrger \xE2\x82\xAC.LBR";
  EXPECT_EQ(fromPath(path), QString::fromUtf8("/tmp/Bürger €.LBR"));
  EXPECT_EQ(toPath(fromPath(path)), path);
  EXPECT_NE(toLegacy(fromPath(path)), path);  // what the dialogs used to hand back
}

TEST(QtServices, FiltersOfferBothCasesOfAnExtension) {
  EXPECT_EQ(toQtFilter("Library (*.lbr)|*.LBR|All files|*.*"),
            "Library [*.lbr] (*.LBR *.lbr);;All files (*.*)");
}

TEST(QtServices, PreparedApplicationKeepsNumberTextLocaleFree) {
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);  // a comma locale, if the machine has it
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  prepareApplication(app, "Some Title");
  EXPECT_EQ(QApplication::applicationDisplayName(), "Some Title");
  // No display name of its own is set (the window system would append it to
  // every caption): the shown name follows the application's name.
  QApplication::setApplicationName("Renamed");
  EXPECT_EQ(QApplication::applicationDisplayName(), "Renamed");
  EXPECT_STREQ(std::localeconv()->decimal_point, ".");
  EXPECT_EQ(std::strtod("1.5", nullptr), 1.5);
  installServices(false);
}
