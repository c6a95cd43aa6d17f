// The navigator, the component commands, the new-library commands and the
// compute commands of the main window, driven offscreen with the test kind.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "pakro/shell/program.h"
#include "pakro/shell/compute_dialogs.h"
#include "pakro/shell/frame_state.h"
#include "platform/scripted_dialogs.h"
#include "pakro/tests/qt_application.h"
#include "pakro/tests/test_kind.h"

namespace pakro {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::MessageKind;
using testing::TestForm;

class Commands : public testing::FrameTest {
 protected:
  QToolButton* button(const char* name) const { return main->findChild<QToolButton*>(name); }
  // A library of `components` components named c1, c2, ... showing `current`.
  TestForm* library(int components, int current, int kind = kDiode, const QString& caption = "LIB.LBR") {
    auto* form = static_cast<TestForm*>(main->CreateChild(kind, caption));
    form->list.names = {"defaults"};
    for (int i = 1; i <= components; ++i) form->list.names.push_back("c" + std::to_string(i));
    form->list.current = current;
    form->list.modified = false;
    main->SetCbNavigator();
    form->calls.clear();
    return form;
  }
  QStringList navigatorItems() const {
    QStringList items;
    for (int i = 0; i < main->CbNavigator()->count(); ++i) items << main->CbNavigator()->itemText(i);
    return items;
  }
  // Puts the focus into the navigator, as a click into it does.
  QWidget* focusNavigator() {
    main->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(main));
    main->CbNavigator()->lineEdit()->setFocus(Qt::MouseFocusReason);
    return QApplication::focusWidget();
  }
  // Types a text into the navigator and presses Enter: the keys go to the
  // widget that has the focus, as a user's typing does.
  void typeIntoNavigator(const QString& text) {
    QWidget* focus = focusNavigator();
    ASSERT_TRUE(focus == main->CbNavigator() || main->CbNavigator()->isAncestorOf(focus));
    main->CbNavigator()->lineEdit()->selectAll();
    QTest::keyClick(focus, Qt::Key_Backspace);
    QTest::keyClicks(focus, text);
    QTest::keyClick(focus, Qt::Key_Return);
  }

};

// Count and Current before, the command, then Current, Count and Modified.
TEST_F(Commands, NavigatorTable) {
  using Command = void (TMainForm::*)(QObject*);
  struct Case {
    const char* what;
    int components, current;
    Command command;
    int newCurrent, newCount;
    bool modified;
    const char* shownName;  // the name of the record shown afterwards
  };
  const Case cases[] = {
      {"first", 4, 3, &TMainForm::FirstBtnClick, 1, 5, true, "c1"},
      {"first from defaults", 4, 0, &TMainForm::FirstBtnClick, 1, 5, true, "c1"},
      {"previous", 4, 3, &TMainForm::PrevBtnClick, 2, 5, true, "c2"},
      {"previous on 1", 4, 1, &TMainForm::PrevBtnClick, 1, 5, true, "c1"},
      {"previous on defaults", 4, 0, &TMainForm::PrevBtnClick, 0, 5, true, "defaults"},
      {"next", 4, 2, &TMainForm::NextBtnClick, 3, 5, true, "c3"},
      {"next on last", 4, 4, &TMainForm::NextBtnClick, 4, 5, true, "c4"},
      {"next from defaults", 4, 0, &TMainForm::NextBtnClick, 1, 5, true, "c1"},
      {"last", 4, 2, &TMainForm::LastBtnClick, 4, 5, true, "c4"},
      {"last from defaults", 4, 0, &TMainForm::LastBtnClick, 4, 5, true, "c4"},
      {"defaults", 4, 3, &TMainForm::Setthedefaultparameters1Click, 0, 5, true, "defaults"},
      {"add", 4, 2, &TMainForm::AddBtnClick, 5, 6, true, ""},
      {"remove 3 of 5", 5, 3, &TMainForm::DeleteBtnClick, 2, 5, true, "c2"},
      {"remove 1 of 5", 5, 1, &TMainForm::DeleteBtnClick, 1, 5, true, "c2"},
      {"remove the last", 5, 5, &TMainForm::DeleteBtnClick, 4, 5, true, "c4"},
      {"remove the only one", 1, 1, &TMainForm::DeleteBtnClick, 1, 2, true, ""},
      {"remove on defaults", 5, 0, &TMainForm::DeleteBtnClick, 0, 6, false, "defaults"},
      {"clear", 4, 2, &TMainForm::BtnClearClick, 2, 5, true, ""},
      {"copy previous", 4, 3, &TMainForm::BtnPRevClick, 3, 5, true, "c2"},
      {"copy previous on 1", 4, 1, &TMainForm::BtnPRevClick, 1, 5, true, "defaults"},
      {"copy previous on defaults", 4, 0, &TMainForm::BtnPRevClick, 0, 5, false, "defaults"},
  };
  NewMode = kNewModeCleared;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestForm* form = library(c.components, c.current);
    (main->*c.command)(nullptr);
    EXPECT_EQ(form->list.current, c.newCurrent);
    EXPECT_EQ(form->list.Count(), c.newCount);
    EXPECT_EQ(form->list.modified, c.modified);
    EXPECT_EQ(form->list.Name(form->list.current), c.shownName);
    if (c.modified) {
      EXPECT_EQ(form->calls.back(), "ShowData");
      // The navigator lists the components and names the one shown.
      EXPECT_EQ(main->CbNavigator()->count(), form->list.Count() - 1);
      EXPECT_EQ(main->CbNavigator()->currentText().toStdString(),
                c.shownName + std::string(" : ") + std::to_string(c.newCurrent));
    }
    form->parentWidget()->close();
  }
}

TEST_F(Commands, MovingAndEditingSendTheFormFirstWhereTheyShould) {
  TestForm* form = library(3, 2);
  main->NextBtnClick(nullptr);
  EXPECT_EQ(form->calls, QStringList({"SendData", "ShowData"}));
  form->calls.clear();
  main->DeleteBtnClick(nullptr);  // no question, nothing sent
  EXPECT_EQ(form->calls, QStringList({"ShowData"}));
  form->calls.clear();
  main->BtnPRevClick(nullptr);  // the record is copied, what the form holds is not sent
  EXPECT_EQ(form->calls, QStringList({"ShowData"}));
  form->calls.clear();
  main->BtnClearClick(nullptr);
  EXPECT_EQ(form->calls, QStringList({"SendData", "ShowData"}));
}

TEST_F(Commands, AddFillsTheNewComponentByNewMode) {
  // "Data of the previous component": a copy of the last component, whatever is shown.
  NewMode = kNewModePrevious;
  TestForm* form = library(5, 2);
  button("AddBtn")->click();
  EXPECT_EQ(form->list.Count(), 7);
  EXPECT_EQ(form->list.current, 6);
  EXPECT_EQ(form->list.names[6], "c5");
  EXPECT_EQ(main->CbNavigator()->currentText(), "c5 : 6");
  EXPECT_EQ(form->calls.first(), "SendData");
  for (std::uint8_t mode : {kNewModeUnset, kNewModeCleared, kNewModeDefaults}) {
    NewMode = mode;
    item("AddComponent1")->trigger();
    EXPECT_EQ(form->list.names.back(), "") << int(mode);
  }
}

// A long component name shows from its start in the navigator; minimised,
// a library window shows the file-name part of its caption.
TEST_F(Commands, LongNamesShowTheirStart) {
  TestForm* form = library(2, 2, kDiode, "/a/directory/with/a/long/name/LIB1.LBR");
  form->list.names[2] = "A VERY LONG COMPONENT NAME";
  main->SetCbNavigator();
  EXPECT_EQ(main->CbNavigator()->currentText(), "A VERY LONG COMPONENT NAME : 2");
  EXPECT_EQ(main->CbNavigator()->lineEdit()->cursorPosition(), 0);

  QMdiSubWindow* window = main->ChildWindow(0);
  window->showMinimized();
  EXPECT_EQ(window->windowTitle(), "LIB1.LBR");
  EXPECT_EQ(form->Caption(), "/a/directory/with/a/long/name/LIB1.LBR");
  window->showNormal();
  EXPECT_EQ(window->windowTitle(), "/a/directory/with/a/long/name/LIB1.LBR");
}

TEST_F(Commands, TypedNavigatorTexts) {
  struct Case {
    const char* typed;
    int current;  // the component shown afterwards; 1 when nothing happens
  };
  const Case cases[] = {
      {"3", 3},   {"3abc", 3}, {" 3", 3},  {"+2", 2},   {"5", 5},   {"0", 1},
      {"-1", 1},  {"99", 1},   {"6", 1},   {"abc", 1},  {"", 1},
      {"99999999999", 1},
  };
  TestForm* form = library(5, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    form->list.current = 1;
    form->list.modified = false;
    form->calls.clear();
    typeIntoNavigator(c.typed);
    EXPECT_EQ(form->list.current, c.current);
    EXPECT_FALSE(form->list.modified);
    EXPECT_FALSE(form->calls.contains("SendData"));
    if (c.current == 1) {
      EXPECT_EQ(main->CbNavigator()->currentText(), c.typed);  // the typed text stays
    } else {
      EXPECT_EQ(main->CbNavigator()->currentText().toStdString(),
                "c" + std::to_string(c.current) + " : " + std::to_string(c.current));
    }
  }
  // Choosing an item shows its component without sending or refreshing.
  form->calls.clear();
  main->CbNavigator()->setCurrentIndex(3);
  emit main->CbNavigator()->activated(3);
  EXPECT_EQ(form->list.current, 4);
  EXPECT_EQ(form->calls, QStringList({"ShowData"}));
}

TEST_F(Commands, TypingIntoTheNavigatorWhileTheDefaultsAreShownKeepsThem) {
  TestForm* form = library(3, 0);
  EXPECT_EQ(main->CbNavigator()->currentText(), "defaults : 0");
  QTest::keyClicks(focusNavigator(), "x");
  EXPECT_EQ(form->list.current, 0);
}

TEST_F(Commands, WithoutALibraryTheCommandsDoNothingOrSaySo) {
  for (const char* name : {"FirstBtn", "PrevBtn", "NextBtn", "LastBtn", "AddBtn", "DeleteBtn"})
    button(name)->click();
  main->Setthedefaultparameters1Click(nullptr);
  main->Currentcomponent1Click(nullptr);
  main->Allcomponents1Click(nullptr);
  main->ComputeSeries(nullptr);  // nothing to compute: ends at once
  EXPECT_FALSE(DlgCompute->isVisible());
  typeIntoNavigator("1");
  platform::testing::ScriptedMessages messages;
  messages.expect("There are not open Library ", Answer::Ok, MessageKind::Warning, Buttons::Ok)
      .expect("There are not open Library ", Answer::Ok, MessageKind::Warning, Buttons::Ok);
  button("BtnClear")->click();
  button("BtnPRev")->click();
  EXPECT_TRUE(messages.allAnswered());
  EXPECT_EQ(main->MDIChildCount(), 0);
}

TEST_F(Commands, NewLibraryCommandsMakeOneEmptyComponent) {
  struct Case {
    const char* control;
    int kind;
    const char* caption;
  };
  const Case cases[] = {
      {"Diode1", kDiode, "NEWDIODE.LBR"},          {"SpeedButton2", kNpnTransistor, "NEWNPN.LBR"},
      {"PNPTransistor1", kPnpTransistor, "NEWPNP.LBR"}, {"SpeedButton4", kNChannelJfet, "NEWNJFET.LBR"},
      {"JFPBtn", kPChannelJfet, "NEWPJFET.LBR"},   {"MOSFETNChannel1", kNChannelMosfet, "NEWNMOS.LBR"},
      {"PMOSBtn", kPChannelMosfet, "NEWPMOS.LBR"}, {"Core1", kMagneticCore, "NEWCORE.LBR"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    if (QAction* a = item(c.control))
      a->trigger();
    else
      button(c.control)->click();
    auto* form = static_cast<TestForm*>(main->ActiveMDIChild());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Module(), c.kind);
    EXPECT_EQ(CurrentType, c.kind);
    EXPECT_EQ(form->Caption(), c.caption);
    EXPECT_EQ(form->list.Count(), 3);  // the test list starts with one record of its own
    EXPECT_EQ(form->list.current, 2);
    EXPECT_FALSE(form->list.modified);
    EXPECT_EQ(form->calls, QStringList({"ShowData"}));
    EXPECT_EQ(main->CbNavigator()->count(), 2);
  }
  EXPECT_EQ(main->MDIChildCount(), 8);
}

// --- computing

class Compute : public Commands {
 protected:
  // The progress row as the dialog holds it.
  static std::string row() { return DlgCompute->Row(); }
  static std::string marks(int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += std::string(" ") + kProgressMark;
    return r;
  }
};

TEST_F(Compute, AllComponentsRunInOrderWithProgressMarks) {
  TestForm* form = library(3, 2, kDiode, "DIODES.LBR");
  std::vector<bool> guarded;
  std::vector<std::string> shownComponents;
  form->list.onMark = [&](int) {
    guarded.push_back(!item("FileCloseItem")->isEnabled() && !item("Allcomponents1")->isEnabled());
    shownComponents.push_back(DlgCompute->LbComponent->text().toStdString());
    EXPECT_TRUE(DlgCompute->isVisible());
  };
  item("Allcomponents1")->trigger();
  EXPECT_EQ(form->list.computed, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(form->list.current, 3);
  EXPECT_EQ(main->CbNavigator()->currentText(), "c3 : 3");
  EXPECT_FALSE(DlgCompute->isVisible());
  EXPECT_EQ(DlgCompute->LbLibrary->text(), "DIODES.LBR");
  EXPECT_EQ(DlgCompute->LbComponent->text(), "c3");
  EXPECT_EQ(row(), marks(6));  // two marks for each of three components
  EXPECT_EQ(shownComponents, (std::vector<std::string>{"", "c1", "c1", "c2", "c2", "c3"}));
  EXPECT_EQ(guarded, std::vector<bool>(6, true));
  EXPECT_TRUE(item("FileCloseItem")->isEnabled());
  EXPECT_FALSE(CheckDlg->isVisible());
  EXPECT_TRUE(CheckDlg->BatchMode);

  // A long series keeps the row short: past 24 characters it starts again.
  form->list.names.resize(11, "more");
  form->list.computed.clear();
  item("Allcomponents1")->trigger();
  EXPECT_EQ(form->list.computed.size(), 10u);
  EXPECT_EQ(row(), marks(7));  // 20 marks: 13, then 7 more
}

TEST_F(Compute, AFailedCheckStopsTheSeriesAndContinueResumesTheFailedRecord) {
  TestForm* form = library(3, 1, kDiode, "A.LBR");
  form->list.incomplete = {"c2"};
  item("Allcomponents1")->trigger();
  EXPECT_EQ(form->list.computed, std::vector<int>{1});
  EXPECT_EQ(form->list.current, 2);
  EXPECT_EQ(CheckFailed, 1);
  EXPECT_TRUE(CheckDlg->isVisible());
  EXPECT_FALSE(DlgCompute->isVisible());
  EXPECT_EQ(CheckDlg->windowTitle(), "Checking input data");

  // The user fills in the datasheet, meanwhile looks at another component of
  // it and at another library, then continues.
  form->list.incomplete.clear();
  main->FirstBtnClick(nullptr);
  TestForm* other = library(2, 1, kMagneticCore, "B.LBR");
  ASSERT_EQ(main->DispatchTarget(), other);
  form->calls.clear();
  CheckDlg->Button1->click();
  EXPECT_FALSE(CheckDlg->isVisible());
  EXPECT_EQ(main->DispatchTarget(), form);
  EXPECT_EQ(form->list.computed, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(form->list.current, 3);
  EXPECT_TRUE(other->list.computed.empty());
  EXPECT_EQ(CheckFailed, 0);
}

TEST_F(Compute, CancelEndsTheSeriesOnceTheComponentIsDone) {
  TestForm* form = library(4, 1);
  form->list.onMark = [&](int index) {
    // Pressed while component 2 is computed; the press is handled in the
    // progress mark.
    if (index == 2)
      QMetaObject::invokeMethod(DlgCompute->CancelBtn, "click", Qt::QueuedConnection);
  };
  item("Allcomponents1")->trigger();
  EXPECT_EQ(form->list.computed, (std::vector<int>{1, 2}));
  EXPECT_EQ(form->list.current, 2);
  EXPECT_FALSE(DlgCompute->isVisible());
  EXPECT_TRUE(DlgCompute->Cancelled);

  // A Cancel from an earlier series does not stop the next one.
  form->list.onMark = nullptr;
  form->list.computed.clear();
  item("Allcomponents1")->trigger();
  EXPECT_EQ(form->list.computed, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(Compute, CurrentComponentComputesTheRecordShown) {
  TestForm* form = library(3, 0);
  item("Currentcomponent1")->trigger();  // the defaults record too
  EXPECT_EQ(form->list.computed, std::vector<int>{0});
  EXPECT_EQ(form->calls, QStringList({"SendData", "ShowData"}));
  EXPECT_FALSE(DlgCompute->isVisible());

  // A failed check: Continue computes that record alone once it is filled.
  main->LastBtnClick(nullptr);
  form->list.incomplete = {"c3"};
  item("Currentcomponent1")->trigger();
  EXPECT_TRUE(CheckDlg->isVisible());
  EXPECT_FALSE(CheckDlg->BatchMode);
  form->list.incomplete.clear();
  main->FirstBtnClick(nullptr);
  CheckDlg->Button1->click();
  EXPECT_EQ(form->list.computed, (std::vector<int>{0, 3}));
  EXPECT_EQ(form->list.current, 3);

  // Cancel only hides the check dialog; a library closed meanwhile is not computed.
  form->list.incomplete = {"c3"};
  item("Currentcomponent1")->trigger();
  CheckDlg->Button2->click();
  EXPECT_FALSE(CheckDlg->isVisible());
  item("Currentcomponent1")->trigger();
  form->parentWidget()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  CheckDlg->Button1->click();
  EXPECT_FALSE(CheckDlg->isVisible());
  EXPECT_EQ(main->MDIChildCount(), 0);
}

TEST_F(Compute, AComputationThatFailsEndsTheSeriesWithItsMessage) {
  TestForm* form = library(3, 1);
  form->list.failing = {"c2"};
  platform::testing::ScriptedMessages messages;
  messages.expect("The fit of c2 failed.", Answer::Ok, MessageKind::Error, Buttons::Ok);
  item("Allcomponents1")->trigger();
  EXPECT_EQ(form->list.computed, std::vector<int>{1});
  EXPECT_EQ(form->list.current, 2);
  EXPECT_FALSE(DlgCompute->isVisible());
  EXPECT_FALSE(main->SeriesRunning());
  EXPECT_TRUE(item("FileCloseItem")->isEnabled());
}

TEST_F(Compute, ASingleComponentLibraryComputesItAndEnds) {
  TestForm* form = library(1, 1);
  item("Allcomponents1")->trigger();
  EXPECT_EQ(form->list.computed, std::vector<int>{1});
  EXPECT_FALSE(DlgCompute->isVisible());
}

TEST_F(Compute, DialogsCarryTheirTexts) {
  EXPECT_EQ(DlgCompute->windowTitle(), "Computing parameters for ORVO");
  EXPECT_EQ(DlgCompute->Label2->text(), "Library : ");
  EXPECT_EQ(DlgCompute->Label1->text(), "Component : ");
  EXPECT_EQ(DlgCompute->CancelBtn->text(), "Cancel");
  EXPECT_EQ(DlgCompute->Row(), std::string(1, kProgressMark));  // one mark at start
  EXPECT_EQ(DlgCompute->Lb->text(), QString(QChar(0x2666)));
  EXPECT_FALSE(DlgCompute->isModal());
  EXPECT_EQ(CheckDlg->Label1->text(), "This Data Sheet is not completely filled.");
  EXPECT_EQ(CheckDlg->Label2->text(), "Please fill the empty fields before processing!");
  EXPECT_TRUE(CheckDlg->Label1->font().bold());
  EXPECT_EQ(CheckDlg->Button1->text(), "Continue...");
  EXPECT_EQ(CheckDlg->Button2->text(), "Cancel");
  EXPECT_TRUE(CheckDlg->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(CheckDlg->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(CheckDlg->isModal());
}

}  // namespace
}  // namespace pakro
