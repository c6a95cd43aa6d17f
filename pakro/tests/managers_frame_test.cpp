// The library manager and the catalog manager driven through the main
// window with the program's own datasheet forms: clicks and keys go to the
// dialogs' controls, the libraries are saved and read back, and a merge
// rewrites a catalog source and runs its compiler.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "pakro/devices/TRN_.h"
#include "pakro/shell/program.h"
#include "pakro/shell/blank.h"
#include "pakro/shell/compute_dialogs.h"
#include "pakro/devices/datasheet_forms.h"
#include "pakro/tests/form_test_support.h"
#include "pakro/shell/frame_state.h"
#include "pakro/tests/library_test_support.h"
#include "pakro/devices/list_library.h"
#include "pakro/shell/main_form.h"
#include "pakro/shell/managers.h"
#include "platform/qt_services.h"
#include "platform/scripted_dialogs.h"
#include "pakro/tests/qt_application.h"

namespace pakro {
namespace {

using platform::Answer;
using testing::FixturePath;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

// Runs `step` once `dialog` is the modal window in front.
void WhenModal(QWidget* dialog, std::function<void()> step) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, dialog, step] {
    if (QApplication::activeModalWidget() != dialog || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    // Keys and clicks reach the dialog as the active window.
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    step();
  });
  timer->start();
}

// With PAKRO_SCREENSHOT_DIR set, the screen goes there as <name>.png.
void Picture(const char* name) {
  const QString dir = qEnvironmentVariable("PAKRO_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QApplication::processEvents();
  QTest::qWait(200);
  QApplication::primaryScreen()->grabWindow(0).save(QString("%1/%2.png").arg(dir, name));
}

void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

// Clicks the items of a list (the first plainly, the others with Ctrl), so
// that the list has the focus and they are selected.
void ClickItems(QListWidget* list, const QStringList& names) {
  bool first = true;
  for (const QString& name : names) {
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, first ? Qt::NoModifier : Qt::ControlModifier,
                      list->visualItemRect(found.front()).center());
    first = false;
  }
  ASSERT_TRUE(list->hasFocus());
}

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

using Bipolar = RecordLibrary<TCatBipolar>;

constexpr const char* kCompileQuestion =
    "The ORVO Catalog Source Code is modified. Would you like to compile the ORVO catalog source files "
    "now?";

class Managers : public testing::FrameWithFormsTest {
 protected:
  std::string copyFixture(const char* fixture, const char* name) {
    const std::string path = dir.Path(name);
    std::filesystem::copy_file(FixturePath(fixture), path);
    return path;
  }
  static std::vector<std::string> Names(const DeviceLibrary& list) {
    std::vector<std::string> names;
    for (int i = 1; i < list.Count(); ++i) names.push_back(list.Name(i));
    return names;
  }

  ScratchDir dir;
};

TEST_F(Managers, LibraryManagerCopiesIntoANewAndIntoAnOpenLibrary) {
  const std::string pathA = copyFixture("end_to_end/npn.LBR", "A.LBR");
  const std::string pathB = copyFixture("npn.LBR", "B.LBR");
  TBlank* a = open(pathA);
  TBlank* b = open(pathB);
  ASSERT_TRUE(a && b);
  const std::vector<std::string> namesA = Names(a->List());
  const std::vector<std::string> namesB = Names(b->List());
  ASSERT_GE(namesA.size(), 2u);
  // A point that the form shows with three digits only.
  auto& first = dynamic_cast<Bipolar&>(a->List()).Items(1);
  first.ICVBE.X[0] = 1.23456;
  platform::testing::ScriptedMessages messages;

  // 1. Two components into the new library that the dialog offers.
  WhenModal(LibraryManager, [&] {
    TLibraryManager* d = LibraryManager;
    EXPECT_EQ(d->CbSrc->currentText().toStdString(), pathA);
    EXPECT_EQ(d->CbDst->currentText(), "NPN.LBR");
    EXPECT_TRUE(d->LsSrc->hasFocus());
    EXPECT_TRUE(d->BtCopy->isEnabled());  // the focused list has items
    EXPECT_FALSE(d->BtCopyBack->isEnabled());
    ClickItems(d->LsSrc, {QString::fromStdString(namesA[0]), QString::fromStdString(namesA[1])});
    EXPECT_TRUE(d->BtCopy->isEnabled());
    Click(d->BtCopy);
    EXPECT_EQ(Items(d->LsDst).size(), 2);
    Picture("library_manager");
    Click(d->OKBtn);
  });
  run("LibraryManager1");
  ASSERT_EQ(main->MDIChildCount(), 3);
  TBlank* made = main->MDIChildren(2);
  EXPECT_EQ(made->Caption(), "NPN.LBR");
  EXPECT_EQ(Names(made->List()), (std::vector<std::string>{namesA[0], namesA[1]}));
  EXPECT_TRUE(made->List().Modified());
  EXPECT_EQ(a->List().Current(), 2);  // the last copied

  // 2. Into the open library B, whose destination is typed; the copy is
  // saved and read back.
  WhenModal(LibraryManager, [&] {
    TLibraryManager* d = LibraryManager;
    QLineEdit* edit = d->CbDst->lineEdit();
    Click(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QString::fromStdString(pathB));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Items(d->LsDst).size(), static_cast<int>(namesB.size()));
    ClickItems(d->LsSrc, {QString::fromStdString(namesA[0])});
    Click(d->BtCopy);
    Click(d->OKBtn);
  });
  run("LibraryManager1");
  EXPECT_EQ(main->MDIChildCount(), 3);
  std::vector<std::string> expected = namesB;
  expected.push_back(namesA[0]);
  EXPECT_EQ(Names(b->List()), expected);
  EXPECT_TRUE(b->List().Modified());

  main->ShowRecord(b, 1, nullptr);
  run("FileSaveItem");
  EXPECT_FALSE(b->List().Modified());
  TBlank* again = open(pathB);
  ASSERT_NE(again, b);
  EXPECT_EQ(Names(again->List()), expected);
  const auto& copy = dynamic_cast<Bipolar&>(again->List()).Items(again->List().Count() - 1);
  EXPECT_EQ(copy.ICVBE.X[0], 1.23456);
  EXPECT_EQ(copy.ICVBE.Count, first.ICVBE.Count);
  EXPECT_EQ(copy.Usage.str(), first.Usage.str());
}

TEST_F(Managers, AWarningBoxKeepsTheMovesMadeBeforeIt) {
  TBlank* a = open(copyFixture("end_to_end/npn.LBR", "A.LBR"));
  ASSERT_TRUE(a);
  const QString name = QString::fromStdString(a->List().Name(1));
  // Real message boxes, which take the activation from the dialog and give it back.
  platform::qt::installServices(true);
  QString warned;
  WhenModal(LibraryManager, [&] {
    TLibraryManager* d = LibraryManager;
    ClickItems(d->LsSrc, {name});
    Click(d->BtCopy);
    ASSERT_EQ(Items(d->LsDst), QStringList{name});
    auto* box = new QTimer(d);
    box->setInterval(5);
    QObject::connect(box, &QTimer::timeout, [&, box] {
      auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!message) return;
      box->stop();
      warned = message->text();
      QTest::keyClick(message, Qt::Key_Return);
    });
    box->start();
    Click(d->BtCopy);  // the same name again: refused with a warning
    // The window system gives the dialog its activation back.
    d->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([d] { return d->isActiveWindow(); }));
    EXPECT_EQ(Items(d->LsDst), QStringList{name});
    EXPECT_EQ(d->CbDst->currentText(), "NPN.LBR");
    Click(d->CancelBtn);
  });
  run("LibraryManager1");
  platform::qt::installServices(false);
  EXPECT_EQ(warned, "The Destination Library alredy contains component named  " + name +
                        ". It will not be inserted..");
  // Cancel changed nothing.
  EXPECT_EQ(main->MDIChildCount(), 1);
}

TEST_F(Managers, CatalogManagerMergesComputesAndCompiles) {
  const std::string lib = copyFixture("end_to_end/npn.LBR", "A.LBR");
  TBlank* form = open(lib);
  ASSERT_TRUE(form);
  const std::vector<std::string> names = Names(form->List());
  const std::string folder = dir.Path("cat");
  std::filesystem::create_directory(folder);
  const std::string source = folder + "/BIPOLAR.SRC";
  std::filesystem::copy_file(FixturePath("catalog/bipolar.SRC"), source);
  const std::string original = ReadBytes(source);
  WriteBytes(folder + "/CCAT.BAT", "echo \"$1\" > called.txt\npwd >> called.txt\n");

  platform::testing::ScriptedFileDialogs files;
  files.expectOpen(source);
  platform::testing::ScriptedMessages messages;
  messages.expect(kCompileQuestion, Answer::Yes, platform::MessageKind::Confirmation,
                  platform::Buttons::YesNoHelp);
  const std::filesystem::path before = std::filesystem::current_path();

  WhenModal(CatalogManager, [&] {
    TCatalogManager* d = CatalogManager;
    EXPECT_TRUE(d->LsSrc->hasFocus());
    WhenModal(DlgCat, [&] {
      EXPECT_EQ(DlgCat->Selected(), 0);
      Picture("catalog_choice");
      Click(DlgCat->OKBtn);
    });
    Click(d->BtBrowse);
    // Back from the catalog choice, the manager is the active window again.
    EXPECT_TRUE(QTest::qWaitFor([d] { return d->LsSrc->hasFocus(); }));
    EXPECT_EQ(d->CbDst->text().toStdString(), source);
    EXPECT_EQ(d->CbCat->text(), " No. 002 :  NPN      Catalog SPICE-BJT model");
    EXPECT_EQ(Items(d->LsDst), (QStringList{"2N3904", "BC548", "BD139"}));
    // BC548 of the file goes; every component of the library comes.
    ClickItems(d->LsDst, {"BC548"});
    Click(d->BtCopyBack);
    ClickItems(d->LsSrc, {QString::fromStdString(names[0])});
    Click(d->BtCopyAll);
    EXPECT_EQ(Items(d->LsDel), QStringList{"BC548"});
    EXPECT_EQ(Items(d->LsDst).size(), 2 + static_cast<int>(names.size()));
    Picture("catalog_manager");
    Click(d->OKBtn);
  });
  run("CatalogManager1");
  EXPECT_TRUE(messages.allAnswered());
  EXPECT_FALSE(CatalogManager->isVisible());

  const SourceLines merged = ReadCatalogSource(source);
  EXPECT_EQ(ReadBytes(folder + "/BIPOLAR.BAK"), original);
  // The blocks of the computed components follow the insertion line.
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end());
  ASSERT_GT(merged.size(), 9u);
  EXPECT_EQ(merged[7], ".M new components below");
  EXPECT_EQ(merged[8], "$ " + sorted[0]);
  EXPECT_EQ(CatalogComponents(merged, "002").size(), 2 + names.size());
  EXPECT_EQ(CatalogComponents(merged, "003"), std::vector<std::string>{"BC548"});
  EXPECT_TRUE(dynamic_cast<Bipolar&>(form->List()).Items(1).Computed);
  // The compiler ran in the source's folder with the source's name.
  EXPECT_EQ(ReadBytes(folder + "/called.txt"),
            "BIPOLAR\n" + std::filesystem::canonical(folder).string() + "\n");
  EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(Managers, CompileQuestionWithoutACompilerSaysFileNotFound) {
  TBlank* form = open(copyFixture("end_to_end/npn.LBR", "A.LBR"));
  ASSERT_TRUE(form);
  const std::string source = dir.Path("BIPOLAR.SRC");
  std::filesystem::copy_file(FixturePath("catalog/bipolar.SRC"), source);
  platform::testing::ScriptedFileDialogs files;
  files.expectOpen(source);
  platform::testing::ScriptedMessages messages;
  messages.expect(kCompileQuestion, Answer::Yes);
  messages.expect("File not found.", Answer::Ok, platform::MessageKind::Error, platform::Buttons::Ok);
  WhenModal(CatalogManager, [&] {
    WhenModal(DlgCat, [&] { Click(DlgCat->OKBtn); });
    Click(CatalogManager->BtBrowse);
    Click(CatalogManager->OKBtn);  // nothing moved: the file is rewritten as it is
  });
  run("CatalogManager1");
  EXPECT_TRUE(messages.allAnswered());
  EXPECT_TRUE(std::filesystem::exists(dir.Path("BIPOLAR.BAK")));

  // Cancel asks nothing and changes nothing.
  const std::string now = ReadBytes(source);
  WhenModal(CatalogManager, [&] { Click(CatalogManager->CancelBtn); });
  run("CatalogManager1");
  EXPECT_EQ(ReadBytes(source), now);
}

}  // namespace
}  // namespace pakro
