#pragma once
// What the datasheet form tests share: fixture libraries read into a form,
// controls found by name, curves compared, pages checked for controls cut
// off, and a form shown as the active window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "pakro/shell/blank.h"
#include "pakro/devices/datasheet_form.h"
#include "pakro/devices/datasheet_forms.h"
#include "pakro/shell/forms.h"
#include "pakro/shell/frame_state.h"
#include "pakro/shell/graph.h"
#include "pakro/shell/library_file.h"
#include "pakro/shell/main_form.h"
#include "platform/scripted_dialogs.h"
#include "pakro/shell/scaled_string_grid.h"

// Sizes and rectangles in test messages as wxh and x,y wxh.
inline void PrintTo(const QSize& size, std::ostream* os) { *os << size.width() << "x" << size.height(); }
inline void PrintTo(const QRect& rect, std::ostream* os) {
  *os << rect.x() << "," << rect.y() << " ";
  PrintTo(rect.size(), os);
}

namespace pakro::testing {

inline std::string Fixture(const char* name) { return std::string(PAKRO_FIXTURES) + "/" + name; }

// Reads a library file into the form as the Open command does, then shows
// record `current`.
inline void OpenPath(TBlank& form, const std::string& path, int current = 1) {
  LibraryFile file(path);
  file.ReadHeader();
  form.List().ReadLibrary(file);
  form.List().SetCurrent(current);
  form.ShowData();
}

inline void Open(TBlank& form, const char* fixture, int current = 1) { OpenPath(form, Fixture(fixture), current); }

template <class Widget>
Widget* Find(QWidget& form, const char* name) {
  Widget* w = form.findChild<Widget*>(name);
  EXPECT_NE(w, nullptr) << name;
  return w;
}

inline void ExpectSameCurve(const TGraph& a, const TGraph& b, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(a.Count, b.Count);
  for (int i = 0; i < TGraph::MaxPoints; ++i) {
    EXPECT_EQ(a.X[static_cast<std::size_t>(i)], b.X[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(a.Y[static_cast<std::size_t>(i)], b.Y[static_cast<std::size_t>(i)]) << i;
  }
  EXPECT_EQ(a.CurveParam, b.CurveParam);
  EXPECT_EQ(a.CurveParamText.str(), b.CurveParamText.str());
  EXPECT_EQ(a.XNonPositive, b.XNonPositive);
  EXPECT_EQ(a.YNonPositive, b.YNonPositive);
  EXPECT_EQ(a.ShowFitted, b.ShowFitted);
  EXPECT_EQ(a.XScale.str(), b.XScale.str());
  EXPECT_EQ(a.YScale.str(), b.YScale.str());
}

// The least size a layout may give the widget: its minimum size where one
// is set, else what its size policy allows of its size hints, within its
// maximum size; nothing in a direction it ignores.
inline QSize LeastSize(const QWidget& widget) {
  const QSizePolicy policy = widget.sizePolicy();
  auto least = [](QSizePolicy::Policy p, int hint, int minHint) {
    if (p == QSizePolicy::Ignored) return 0;
    return (p & QSizePolicy::ShrinkFlag) ? minHint : std::max(hint, minHint);
  };
  QSize size(least(policy.horizontalPolicy(), widget.sizeHint().width(), widget.minimumSizeHint().width()),
             least(policy.verticalPolicy(), widget.sizeHint().height(), widget.minimumSizeHint().height()));
  if (widget.minimumWidth() > 0) size.setWidth(widget.minimumWidth());
  if (widget.minimumHeight() > 0) size.setHeight(widget.minimumHeight());
  return size.boundedTo(widget.maximumSize());
}

inline std::string Describe(const QWidget& widget) {
  std::ostringstream out;
  out << widget.metaObject()->className() << " '" << widget.objectName().toStdString() << "' ";
  if (const QVariant text = widget.property("text"); text.isValid()) out << '"' << text.toString().toStdString() << "\" ";
  out << "at ";
  PrintTo(widget.geometry(), &out);
  out << ", least ";
  PrintTo(LeastSize(widget), &out);
  return out.str();
}

// The widget is given at least its least size, and every control the
// layouts place in it and can be seen is too, lies inside its parent and
// overlaps none of its visible siblings: nothing of it is cut off or hidden.
inline void ExpectLaidOutWhole(const QWidget& widget) {
  EXPECT_GE(widget.width(), LeastSize(widget).width()) << Describe(widget);
  EXPECT_GE(widget.height(), LeastSize(widget).height()) << Describe(widget);
  std::vector<const QWidget*> placed;
  for (const QObject* child : widget.children()) {
    const auto* w = qobject_cast<const QWidget*>(child);
    if (!w || w->isWindow() || !w->isVisibleTo(&widget) || !w->testAttribute(Qt::WA_LaidOut)) continue;
    SCOPED_TRACE(Describe(*w));
    EXPECT_TRUE(widget.rect().contains(w->geometry())) << "outside " << Describe(widget);
    for (const QWidget* other : placed)
      EXPECT_FALSE(w->geometry().intersects(other->geometry())) << "overlaps " << Describe(*other);
    placed.push_back(w);
    ExpectLaidOutWhole(*w);
  }
}

// Every page of the form, shown in turn, laid out whole.
inline void ExpectPagesLaidOutWhole(TDatasheetForm& form) {
  for (int page = 0; page < form.TabSet()->count(); ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    form.TabSet()->setCurrentIndex(page);
    QApplication::processEvents();
    ASSERT_EQ(form.Notebook()->currentIndex(), page);
    ExpectLaidOutWhole(*form.Notebook()->currentWidget());
  }
  form.TabSet()->setCurrentIndex(0);
}

// The part of the widget that its ancestors up to `within` leave in sight,
// in the widget's own coordinates.
inline QRect RectInSight(const QWidget& widget, const QWidget& within) {
  QRect rect = widget.rect();
  QPoint offset;
  for (const QWidget* w = &widget; w != &within && !w->isWindow(); w = w->parentWidget()) {
    offset += w->pos();
    rect = rect.translated(w->pos()) & w->parentWidget()->rect();
  }
  return rect.translated(-offset);
}

// With PAKRO_SCREENSHOT_DIR set, each page of the form goes there as a
// picture <name>-<page>.png.
inline void SaveScreenshots(TDatasheetForm& form, const QString& name) {
  const QString dir = qEnvironmentVariable("PAKRO_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  for (int page = 0; page < form.TabSet()->count(); ++page) {
    form.TabSet()->setCurrentIndex(page);
    QApplication::processEvents();
    form.window()->grab().save(QString("%1/%2-%3.png").arg(dir, name).arg(page));
  }
  form.TabSet()->setCurrentIndex(0);
}

// A form shown as the active window, so that focus and keys reach it.
template <class Form>
class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<Form>();
    form->resize(1100, 700);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  void Page(int index) { form->TabSet()->setCurrentIndex(index); }
  // Types into a cell of a grid, which must be on the page shown.
  void TypeIntoCell(TScaledStringGrid* grid, int col, int row, const QString& text) {
    grid->setFocus();
    grid->setCurrentCell(row, col);
    QTest::keyClicks(QApplication::focusWidget(), text);
  }
  // Moving through the curve parameter grid of a panel on the page with the
  // navigation keys and leaving it for the curve grid stores nothing and
  // leaves the library unmodified; typing a value stores it.
  void ExpectParamGridStoresOnlyEdits(int page, CurvePanel& panel, const TGraph& curve) {
    SCOPED_TRACE(panel.Spec().name);
    const std::string text = curve.CurveParamText.str();
    Page(page);
    TScaledStringGrid* grid = panel.ParamGrid();
    grid->setFocus();
    form->List().SetModified(false);
    grid->setCurrentCell(0, 1);
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End})
      QTest::keyClick(grid, key);
    panel.Grid()->setFocus();
    EXPECT_FALSE(form->List().Modified());
    EXPECT_EQ(curve.CurveParamText.str(), text);

    FormTest::TypeIntoCell(grid, 1, 0, "7");
    panel.Grid()->setFocus();
    EXPECT_TRUE(form->List().Modified());
    EXPECT_EQ(curve.CurveParam, 7);
  }

  std::unique_ptr<Form> form;
};

// The program's frame with every datasheet form, taken down after the test.
class FrameWithFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetFrameState();
    main = createForms(datasheetForms());
  }
  void TearDown() override {
    delete MainForm.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Runs a menu command of the main window.
  void run(const char* itemName) { main->findChild<QAction*>(itemName)->trigger(); }
  // Opens a library file through the Open command; answers the new window.
  TBlank* open(const std::string& path) {
    platform::testing::ScriptedFileDialogs dialogs;
    dialogs.expectOpen(path);
    run("FileOpenItem");
    return main->ActiveMDIChild();
  }

  TMainForm* main = nullptr;
};

}  // namespace pakro::testing
