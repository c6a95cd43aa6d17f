// The real main window driven offscreen, with a small test device kind.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QTextEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <fstream>

#include "pakro/shell/program.h"
#include "pakro/shell/frame_state.h"
#include "platform/scripted_dialogs.h"
#include "pakro/tests/qt_application.h"
#include "pakro/shell/small_dialogs.h"
#include "pakro/tests/test_kind.h"

namespace pakro {
namespace {

using testing::TestForm;

class Frame : public testing::FrameTest {
 protected:
  QWidget* control(const char* name) const { return main->findChild<QWidget*>(name); }
  TestForm* open(int kind, const QString& caption = "LIB.LBR") {
    return static_cast<TestForm*>(main->CreateChild(kind, caption));
  }
  // Closes a child window as its close box does and lets the frame settle.
  static bool closeChild(TestForm* form) {
    const bool closed = form->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return closed;
  }
  bool enabled(const char* name) const {
    if (QAction* a = item(name)) return a->isEnabled();
    QWidget* w = control(name);
    EXPECT_NE(w, nullptr) << name;
    return w && w->isEnabled();
  }
};

TEST_F(Frame, StartsWithItsFormsInOrderAndNoLibrary) {
  EXPECT_EQ(main->windowTitle(), "Parameter Extractor for ORVO");
  EXPECT_TRUE(main->isVisible());
  EXPECT_TRUE(main->windowState() & Qt::WindowMaximized);
  const QStringList order{"MainForm",       "ListForm", "DlgNew",   "DlgCompute",
                          "LibraryManager", "DlgCat",   "DlgRd",    "CatalogManager",
                          "CheckDlg",       "CompForm", "SelDirForm", "AboutBox"};
  EXPECT_EQ(formCreationOrder(), order);
  for (QWidget* form : std::initializer_list<QWidget*>{ListForm, DlgNew, DlgCompute, DlgRd, CheckDlg, CompForm, SelDirForm, AboutBox}) {
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible()) << form->objectName().toStdString();
  }
  EXPECT_EQ(main->MDIChildCount(), 0);
  EXPECT_EQ(CurrentType, 0);
  EXPECT_EQ(NewMode, 0);
  EXPECT_EQ(CheckFailed, 0);
  ASSERT_FALSE(ExeDir.empty());
  EXPECT_EQ(ExeDir.back(), '/');
  EXPECT_EQ(HelpFile, ExeDir + "PAKRO.HLP");
}

TEST_F(Frame, MenusAndToolbarAreLaidOutInOrder) {
  auto names = [](const QList<QAction*>& actions) {
    QStringList list;
    for (QAction* a : actions) list << a->objectName();
    return list;
  };
  QStringList menus;
  for (QAction* a : main->menuBar()->actions()) menus << a->objectName() + "=" + a->text();
  EXPECT_EQ(menus, QStringList({"File1=&File", "Navigate1=&Database", "Options1=&Options",
                                "Compute1=&Calculate", "Window1=&Window", "Help1=&Help"}));
  EXPECT_EQ(names(main->findChild<QMenu*>("File1")->actions()),
            QStringList({"New1", "FileOpenItem", "FileSaveItem", "FileSaveAsItem", "SaveAll1",
                         "FileCloseItem", "N2", "LibraryManager1", "N1", "CatalogManager1",
                         "CompileORVOCatalogSource1", "N3", "CreateSPICELibrary1", "N4",
                         "WriteMPLfile1", "FileExitItem"}));
  EXPECT_EQ(names(main->findChild<QMenu*>("New1")->actions()),
            QStringList({"Diode1", "NPNtransistor1", "PNPTransistor1", "JFETNChannel1",
                         "JFETPChannel1", "MOSFETNChannel1", "MOSFETPChannel1", "Core1"}));
  EXPECT_EQ(names(main->findChild<QMenu*>("Navigate1")->actions()),
            QStringList({"Firstblank1", "Previousblank1", "Nextblank1", "Lastblank1", "N5",
                         "AddComponent1", "RemoveComp1", "N6", "ClearDataSheet1",
                         "CopyPreviousDataSheet1"}));
  // Captions with their odd blanks, and the shortcuts.
  EXPECT_EQ(item("New1")->text(), "&New  Library");
  EXPECT_EQ(item("NPNtransistor1")->text(), "&NPN transistor ");
  EXPECT_EQ(item("SaveAll1")->text(), "Save A&ll ");
  EXPECT_EQ(item("Firstblank1")->shortcut(), QKeySequence("Ctrl+F"));
  EXPECT_EQ(item("Previousblank1")->shortcut(), QKeySequence("Ctrl+P"));
  EXPECT_EQ(item("Nextblank1")->shortcut(), QKeySequence("Ctrl+N"));
  EXPECT_EQ(item("Lastblank1")->shortcut(), QKeySequence("Ctrl+L"));

  QStringList toolbar;
  for (QAction* a : main->SpeedPanel()->actions())
    if (QWidget* w = main->SpeedPanel()->widgetForAction(a); w && !a->isSeparator())
      toolbar << w->objectName() + "=" + (w->property("hint").toString().isEmpty()
                                                ? QString("-")
                                                : w->property("hint").toString());
  EXPECT_EQ(toolbar,
            QStringList({"SpeedButton1=Create new diode library",
                         "SpeedButton2=Create new NPN transistor library",
                         "SpeedButton3=Create new PNP transistor library",
                         "SpeedButton4=Create new N-channel JFET Library ",
                         "JFPBtn=Create new P-channel JFET Library",
                         "NMOSBtn=Create new N-channel MOSFET Library",
                         "PMOSBtn=Create new P-channel  MOSFET Library",
                         "CORBtn=Create new core Library", "OpenBtn=Open|", "SaveBtn=Save|",
                         "FirstBtn=First component", "PrevBtn=Previous component",
                         "NextBtn=Next component", "LastBtn=Last component",
                         "AddBtn=Add new component to current Library",
                         "DeleteBtn=Remove component from current Library", "CbNavigator=-",
                         "BtnClear=Clear Data Sheet",
                         "BtnPRev=Fill Data Sheet width data of previous component"}));
  EXPECT_EQ(static_cast<QToolButton*>(control("BtnClear"))->text(), "Clear");
  EXPECT_EQ(static_cast<QToolButton*>(control("BtnPRev"))->text(), "Prev.");
  EXPECT_EQ(control("OpenBtn")->toolTip(), "Open");
}

TEST_F(Frame, LibraryItemsFollowTheNumberOfOpenLibraries) {
  struct Row {
    const char* name;
    bool whenOpen;  // else enabled throughout
  };
  const Row rows[] = {
      {"FileCloseItem", true},       {"FileSaveItem", true},        {"SaveAll1", true},
      {"FileSaveAsItem", true},      {"CreateSPICELibrary1", true}, {"LibraryManager1", true},
      {"CatalogManager1", true},     {"Firstblank1", true},         {"Previousblank1", true},
      {"Nextblank1", true},          {"Lastblank1", true},          {"AddComponent1", true},
      {"RemoveComp1", true},         {"ClearDataSheet1", true},     {"CopyPreviousDataSheet1", true},
      {"Setthedefaultparameters1", true}, {"Currentcomponent1", true}, {"Allcomponents1", true},
      {"SaveBtn", true},             {"WindowCascadeItem", true},   {"WindowTileItem", true},
      {"WindowArrangeItem", true},   {"WindowMinimizeItem", true},
      {"New1", false},               {"Diode1", false},             {"JFETNChannel1", false},
      {"Core1", false},              {"FileOpenItem", false},       {"WriteMPLfile1", false},
      {"CompileORVOCatalogSource1", false}, {"ClearedDefaultPrevious1", false},
      {"Contents1", false},          {"HelpAboutItem", false},      {"FileExitItem", false},
      {"SpeedButton1", false},       {"CORBtn", false},             {"OpenBtn", false},
      {"FirstBtn", false},           {"AddBtn", false},             {"DeleteBtn", false},
      {"BtnClear", false},           {"BtnPRev", false},            {"CbNavigator", false},
  };
  auto check = [&](bool open, const char* when) {
    for (const Row& r : rows)
      EXPECT_EQ(enabled(r.name), r.whenOpen ? open : true) << r.name << " " << when;
  };
  check(false, "at start");
  TestForm* form = open(kNChannelMosfet);
  ASSERT_NE(form, nullptr);
  // A MOSFET library has no MPL files: the item is off while it is active.
  EXPECT_FALSE(enabled("WriteMPLfile1"));
  form->list.kind = kMagneticCore;
  main->UpdateMenuItems();
  check(true, "with one library");
  main->FileCloseItemClick(item("FileCloseItem"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(main->MDIChildCount(), 0);
  check(false, "after the last library closed");
  // The kind of the last active library stays, but nothing is dispatched.
  EXPECT_EQ(CurrentType, kNChannelMosfet);
  EXPECT_EQ(main->DispatchTarget(), nullptr);
}

TEST_F(Frame, ActivatingALibrarySwitchesTheKindAndTheNavigator) {
  TestForm* diode = open(kDiode, "DIODES.LBR");
  diode->list.names = {"defaults", "1N4148", "1N4007", "BAT54"};
  diode->list.current = 2;
  TestForm* mos = open(kNChannelMosfet, "NMOS.LBR");
  mos->list.names = {"defaults", "BS170"};
  mos->list.current = 0;
  main->SetCbNavigator();  // the records changed behind the form's back
  EXPECT_EQ(CurrentType, kNChannelMosfet);
  EXPECT_EQ(main->DispatchTarget(), mos);
  EXPECT_EQ(main->CbNavigator()->count(), 1);
  EXPECT_EQ(main->CbNavigator()->currentText(), "defaults : 0");

  main->ClientArea()->setActiveSubWindow(main->ChildWindow(0));
  EXPECT_EQ(CurrentType, kDiode);
  EXPECT_EQ(main->DispatchTarget(), diode);
  QStringList items;
  for (int i = 0; i < main->CbNavigator()->count(); ++i) items << main->CbNavigator()->itemText(i);
  EXPECT_EQ(items, QStringList({"1N4148 : 1", "1N4007 : 2", "BAT54 : 3"}));
  EXPECT_EQ(main->CbNavigator()->currentText(), "1N4007 : 2");

  // The "&Window" list names the libraries in creation order and switches too.
  QMenu* window = main->WindowMenu();
  emit window->aboutToShow();
  QList<QAction*> list = window->actions().mid(5);
  ASSERT_EQ(list.size(), 2);
  EXPECT_EQ(list[0]->text(), "&1 DIODES.LBR");
  EXPECT_EQ(list[1]->text(), "&2 NMOS.LBR");
  EXPECT_TRUE(list[0]->isChecked());
  list[1]->trigger();
  EXPECT_EQ(CurrentType, kNChannelMosfet);
  EXPECT_EQ(main->DispatchTarget(), mos);

  // Focus leaving the frame and coming back to the same library is no
  // change of the active library.
  const int activations = mos->activations;
  emit main->ClientArea()->subWindowActivated(nullptr);
  emit main->ClientArea()->subWindowActivated(main->ChildWindow(1));
  EXPECT_EQ(mos->activations, activations);

  // Closing the active library empties the navigator, then the one below
  // it becomes active and fills it again.
  ASSERT_TRUE(closeChild(mos));
  EXPECT_EQ(main->MDIChildCount(), 1);
  EXPECT_EQ(CurrentType, kDiode);
  EXPECT_EQ(main->CbNavigator()->count(), 3);
}

TEST_F(Frame, DispatchNeedsAnActiveLibraryOfTheCurrentKind) {
  EXPECT_EQ(main->DispatchTarget(), nullptr) << "at start";
  TestForm* form = open(kMagneticCore);
  EXPECT_EQ(main->DispatchTarget(), form);
  EXPECT_EQ(form->property("Module").toInt(), kMagneticCore);  // found by name
  for (int code : {0, 9, 255, int(kDiode)}) {
    CurrentType = static_cast<std::uint8_t>(code);
    EXPECT_EQ(main->DispatchTarget(), nullptr) << "CurrentType " << code;
  }
  // A kind without a form makes no window.
  TMainForm bare;
  EXPECT_EQ(bare.CreateDIO("X.LBR"), nullptr);
  EXPECT_EQ(bare.MDIChildCount(), 0);
}

TEST_F(Frame, ChildrenKeepTheirCreationOrder) {
  TestForm* a = open(kDiode, "A");
  TestForm* b = open(kNpnTransistor, "B");
  TestForm* c = open(kPnpTransistor, "C");
  main->ClientArea()->setActiveSubWindow(main->ChildWindow(0));
  EXPECT_EQ(main->MDIChildren(0), a);
  EXPECT_EQ(main->MDIChildren(1), b);
  EXPECT_EQ(main->MDIChildren(2), c);
  ASSERT_TRUE(closeChild(b));
  EXPECT_EQ(main->MDIChildren(0), a);
  EXPECT_EQ(main->MDIChildren(1), c);
  EXPECT_EQ(main->MDIChildren(2), nullptr);
}

TEST_F(Frame, WindowCommandsArrangeTheChildren) {
  main->WindowMinimizeItemClick(item("WindowMinimizeItem"));  // none open: nothing happens
  for (const char* caption : {"A", "B", "C"}) open(kDiode, caption);
  QCoreApplication::processEvents();

  main->WindowCascadeItemClick(item("WindowCascadeItem"));
  for (int i = 1; i < 3; ++i) {
    EXPECT_GT(main->ChildWindow(i)->x(), main->ChildWindow(i - 1)->x());
    EXPECT_GT(main->ChildWindow(i)->y(), main->ChildWindow(i - 1)->y());
  }

  main->WindowTileItemClick(item("WindowTileItem"));
  const QRect area = main->ClientArea()->viewport()->rect();
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(area.contains(main->ChildWindow(i)->geometry())) << i;
    for (int j = i + 1; j < 3; ++j)
      EXPECT_FALSE(main->ChildWindow(i)->geometry().intersects(main->ChildWindow(j)->geometry()));
  }

  main->WindowMinimizeItemClick(item("WindowMinimizeItem"));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(main->ChildWindow(i)->isMinimized()) << i;

  // Scatter the icons, then arrange them along the bottom, left to right.
  for (int i = 0; i < 3; ++i) main->ChildWindow(i)->move(40 * i + 5, 30 * i + 7);
  main->WindowArrangeItemClick(item("WindowArrangeItem"));
  for (int i = 0; i < 3; ++i) {
    QMdiSubWindow* w = main->ChildWindow(i);
    EXPECT_EQ(w->geometry().bottom(), area.bottom()) << i;
    EXPECT_EQ(w->x(), i == 0 ? 0 : main->ChildWindow(i - 1)->geometry().right() + 1) << i;
  }
}

TEST_F(Frame, HelpContextsReachTheHelpSeam) {
  const std::pair<const char*, int> table[] = {
      {"New1", 1},          {"Diode1", 1},           {"NPNtransistor1", 1},
      {"PNPTransistor1", 1}, {"JFETNChannel1", 1},    {"JFETPChannel1", 1},
      {"MOSFETNChannel1", 1}, {"MOSFETPChannel1", 1}, {"Core1", 0},
      {"FileOpenItem", 2},  {"FileSaveItem", 3},     {"FileSaveAsItem", 4},
      {"FileCloseItem", 5}, {"LibraryManager1", 6},  {"CatalogManager1", 7},
      {"Firstblank1", 8},   {"Previousblank1", 9},   {"Nextblank1", 10},
      {"Lastblank1", 11},   {"AddComponent1", 12},   {"RemoveComp1", 13},
      {"ClearDataSheet1", 14}, {"CopyPreviousDataSheet1", 15}, {"ClearedDefaultPrevious1", 16},
      {"Currentcomponent1", 17}, {"Allcomponents1", 18}, {"SpeedPanel", 19},
      {"CbNavigator", 41},  {"Setthedefaultparameters1", 48}, {"CompileORVOCatalogSource1", 50},
      {"WriteMPLfile1", 0}, {"Contents1", 0},
  };
  for (const auto& [name, context] : table) {
    QObject* o = item(name);
    if (!o) o = control(name);
    ASSERT_NE(o, nullptr) << name;
    EXPECT_EQ(HelpContextOf(o), context) << name;
  }

  QTemporaryDir dir;
  HelpFile = (dir.path() + "/PAKRO.HLP").toStdString();
  std::ofstream(HelpFile) << "help";
  platform::testing::RecordingHelp help;
  // F1 on a highlighted menu item asks for that item's topic.
  QMenu* file = main->findChild<QMenu*>("File1");
  file->popup(QPoint(0, 0));
  file->setActiveAction(item("FileOpenItem"));
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(file, &f1);
  // F1 in the navigator asks for the navigator's topic.
  ASSERT_FALSE(file->isVisible());
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main));
  main->CbNavigator()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  item("Contents1")->trigger();
  ASSERT_EQ(help.requests().size(), 3u);
  EXPECT_EQ(help.requests()[0].context, 2);
  EXPECT_EQ(help.requests()[1].context, 41);
  EXPECT_EQ(help.requests()[2].context, 0);
  for (const auto& r : help.requests()) EXPECT_EQ(r.file, HelpFile);
}

TEST_F(Frame, AboutBoxIsShownModally) {
  bool shown = false;
  QTimer::singleShot(0, [&] {
    shown = AboutBox->isVisible() && QApplication::activeModalWidget() == AboutBox;
    EXPECT_EQ(AboutBox->windowTitle(), "PAKRO");
    QStringList labels;
    for (QLabel* l : AboutBox->findChildren<QLabel*>()) labels << l->text();
    EXPECT_TRUE(labels.contains("Parameter Extractor for ORVO"));
    EXPECT_TRUE(labels.contains("Version 1.01"));
    AboutBox->OKButton->click();
  });
  item("HelpAboutItem")->trigger();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(AboutBox->isVisible());
}

TEST_F(Frame, NewComponentDialogSetsNewModeOnlyOnOk) {
  EXPECT_TRUE(DlgNew->RadioButton1->isChecked());
  EXPECT_TRUE(DlgNew->RadioButton2->isHidden());
  EXPECT_EQ(DlgNew->windowTitle(), "New Data Sheet");
  // Each step: the choice made in the dialog, the button pressed, NewMode after.
  struct Step {
    QRadioButton* TDlgNew::*choice;
    bool ok;
    int newMode;
  };
  const Step steps[] = {
      {&TDlgNew::RadioButton3, false, 0},
      {&TDlgNew::RadioButton3, true, 3},
      {&TDlgNew::RadioButton1, false, 3},
      {&TDlgNew::RadioButton1, true, 1},
  };
  for (const Step& s : steps) {
    QTimer::singleShot(0, [&] {
      ASSERT_EQ(QApplication::activeModalWidget(), DlgNew);
      (DlgNew->*s.choice)->click();
      (s.ok ? DlgNew->OKBtn : DlgNew->CancelBtn)->click();
    });
    item("ClearedDefaultPrevious1")->trigger();
    EXPECT_EQ(NewMode, s.newMode);
    EXPECT_FALSE(DlgNew->isVisible());
  }
  // The dialog keeps its choice between showings.
  EXPECT_TRUE(DlgNew->RadioButton1->isChecked());
}

TEST_F(Frame, ARunningSeriesKeepsItsLibrariesOpen) {
  TestForm* form = open(kDiode);
  main->BeginSeries();
  for (const char* name : {"FileCloseItem", "RemoveComp1", "DeleteBtn", "FileOpenItem", "OpenBtn",
                           "Diode1", "SpeedButton1", "Currentcomponent1", "Allcomponents1",
                           "CreateSPICELibrary1", "WriteMPLfile1", "LibraryManager1",
                           "CatalogManager1", "AddBtn", "BtnClear", "FileExitItem"})
    EXPECT_FALSE(enabled(name)) << name;
  for (const char* name : {"FileSaveItem", "SaveBtn", "Firstblank1", "NextBtn", "WindowTileItem"})
    EXPECT_TRUE(enabled(name)) << name;
  main->FileCloseItemClick(item("FileCloseItem"));
  EXPECT_FALSE(closeChild(form));
  EXPECT_FALSE(main->close());
  EXPECT_EQ(main->MDIChildCount(), 1);
  EXPECT_EQ(form->closeQuestions, 0);

  main->EndSeries();
  for (const char* name : {"FileCloseItem", "FileOpenItem", "Allcomponents1", "FileExitItem"})
    EXPECT_TRUE(enabled(name)) << name;
  EXPECT_TRUE(closeChild(form));
  EXPECT_EQ(main->MDIChildCount(), 0);
}

TEST_F(Frame, ClosingTheProgramAsksEveryLibrary) {
  TestForm* first = open(kDiode, "A");
  TestForm* second = open(kMagneticCore, "B");
  second->mayClose = false;
  EXPECT_FALSE(main->close());
  EXPECT_EQ(first->closeQuestions, 1);
  EXPECT_EQ(second->closeQuestions, 1);
  EXPECT_EQ(main->MDIChildCount(), 2);
  second->mayClose = true;
  QPointer<TMainForm> watch(main);
  item("FileExitItem")->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
  EXPECT_TRUE(MainForm.isNull());
}

TEST_F(Frame, SmallFormsCarryTheirTexts) {
  auto labels = [](QWidget* form) {
    QStringList texts;
    for (QLabel* l : form->findChildren<QLabel*>()) texts << l->text() + (l->font().bold() ? "*" : "");
    return texts;
  };
  EXPECT_EQ(DlgRd->windowTitle(), "     ");
  EXPECT_EQ(labels(DlgRd), QStringList({"Reading  catalog  file . . .*", "Please wait...*"}));
  EXPECT_TRUE(DlgRd->findChildren<QPushButton*>().isEmpty());
  EXPECT_EQ(CompForm->windowTitle(), "Message");
  EXPECT_TRUE(CompForm->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(labels(CompForm), QStringList({"Compiling catalog source files... *", "Please wait...*"}));
  EXPECT_EQ(ListForm->RichEdit->toPlainText(), "RichEdit");
  EXPECT_EQ(SelDirForm->windowTitle(), "Select Directory");
  EXPECT_EQ(labels(SelDirForm).first(), "Please specity the ORVO Catalog Source  (CLCC) Directory!*");
  EXPECT_EQ(labels(DlgNew).first(), "The data sheet of the new component should be ...");
  EXPECT_EQ(DlgNew->RadioButton3->text(), "... filled with data of the previous component");
}

TEST_F(Frame, SelectDirectoryFollowsTheChosenDirectory) {
  QTemporaryDir dir;
  const QString root = QFileInfo(dir.path()).canonicalFilePath();
  QDir(root).mkdir("CLCC");
  std::ofstream((root + "/CLCC/BCAT.BAT").toStdString()) << "rem";
  std::ofstream((root + "/top.src").toStdString()) << "x";

  SelDirForm->SetDirectory(root);
  EXPECT_EQ(SelDirForm->EdDir->text(), root);
  ASSERT_EQ(SelDirForm->FileListBox1->count(), 1);
  EXPECT_EQ(SelDirForm->FileListBox1->item(0)->text(), "top.src");
  // The subdirectory is the list's last entry; choosing it moves there.
  QListWidgetItem* sub = SelDirForm->DirectoryListBox1->item(SelDirForm->DirectoryListBox1->count() - 1);
  EXPECT_EQ(sub->text().trimmed(), "CLCC");
  emit SelDirForm->DirectoryListBox1->itemActivated(sub);
  EXPECT_EQ(SelDirForm->EdDir->text(), root + "/CLCC");
  ASSERT_EQ(SelDirForm->FileListBox1->count(), 1);
  EXPECT_EQ(SelDirForm->FileListBox1->item(0)->text(), "BCAT.BAT");
  // Choosing a drive moves the list to its root.
  SelDirForm->DriveComboBox1->setCurrentIndex(0);
  SelDirForm->DriveComboBox1Change();
  EXPECT_EQ(SelDirForm->EdDir->text(), "/");
}

}  // namespace
}  // namespace pakro
