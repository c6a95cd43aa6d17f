// The editor's window on the offscreen platform: a database opened from the
// command line, a pin dragged with the mouse on the paint box, the device
// updated and saved through the menus, the saved file compared byte for
// byte; the quick search typed into the focused search box.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "MainForm.h"
#include "platform/paths.h"
#include "platform/qt_services.h"
#include "platform/scripted_dialogs.h"

using namespace wendro;
namespace fs = std::filesystem;

namespace {

// The program's one QApplication, gone before Qt's own state is torn down.
class Application final : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[7] = "wendro";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};
::testing::Environment* const kApplication = ::testing::AddGlobalTestEnvironment(new Application);

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TDeviceList Devices(const TTextMetrics& metrics) {
  TDeviceList list;
  list.push_back(TDevice::CreateBlock("AMP", {"OUT"}, {}, {"IN", "EN"}, {}, metrics));
  list.push_back(TDevice::CreateBlock("BUF", {"Y"}, {}, {"A"}, {}, metrics));
  return list;
}

QAction* Action(QMainWindow& form, const QString& text) {
  for (QAction* menu : form.menuBar()->actions())
    for (QAction* a : menu->menu()->actions())
      if (a->text() == text) return a;
  ADD_FAILURE() << "no action " << text.toStdString();
  return nullptr;
}

// With WENDRO_SCREENSHOT_DIR set, the window goes there as <name>.png.
void Picture(QWidget& window, const QString& name) {
  const QString dir = qEnvironmentVariable("WENDRO_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QApplication::processEvents();
  window.grab().save(QString("%1/%2.png").arg(dir, name));
}

// Closes the window and sees it freed before the test's timers go.
void Close(TShapeEdit* form) {
  QPointer<TShapeEdit> alive(form);
  EXPECT_TRUE(form->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());
}

class MainForm : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("wendro-form-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    database = (dir / "parts.ddb").string();
    SaveDatabase(database, Devices(metrics));
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path dir;
  std::string database;
  TScreenMetrics metrics;
  platform::winmsg::ManualTimers timers;
};

}  // namespace

TEST_F(MainForm, DragAPinUpdateAndSaveThroughTheWindow) {
  auto* form = new TShapeEdit({"/OPEN", QString::fromStdString(database)}, timers);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  EXPECT_EQ(form->windowTitle(), "<AMP> parts.ddb - ORVO Schematic Symbol Editor");
  EXPECT_EQ(form->DeviceList()->count(), 2);
  Picture(*form, "wendro_amp_2x");

  // The pin IN, dragged 16 units right with the mouse.
  TPointL at;
  for (auto& item : form->Core().Editor().Items())
    if (auto* pin = dynamic_cast<TPin*>(item.get()); pin && pin->name == "IN") at = pin->position;
  const int z = form->Core().Editor().Zoom();
  TPaintBox* box = form->PaintBox();
  const QPoint press(at.x * z, at.y * z), to((at.x + 16) * z, (at.y + 1) * z);
  QTest::mouseMove(box, press);
  QTest::mousePress(box, Qt::LeftButton, {}, press);
  timers.advance(200);
  QApplication::processEvents();
  QTest::mouseMove(box, to);
  QTest::mouseRelease(box, Qt::LeftButton, {}, to);
  EXPECT_EQ(form->Core().Editor().State(), nullptr);

  Action(*form, "&Update device")->trigger();
  Action(*form, "&Save")->trigger();
  EXPECT_FALSE(form->Core().Modified());

  TDeviceList expected = Devices(metrics);
  {
    TDevice& device = *expected[0];
    TShapeList items = ExplodeDShape(*device.shapes[device.FindShape(0)], metrics);
    for (auto& item : items)
      if (auto* pin = dynamic_cast<TPin*>(item.get()); pin && pin->name == "IN") pin->SetPosition({at.x + 16, at.y});
    auto drawing = std::make_unique<TDShape>();
    StoreDShape(items, *drawing);
    device.ReplaceShape(std::move(drawing));
    device.DropEmptyShapes();
  }
  TMemoryStream bytes;
  ASSERT_EQ(WriteDatabase(bytes, expected), 0);
  EXPECT_EQ(Slurp(database), bytes.Bytes());

  // A larger zoom, for the picture.
  form->ZoomCombo()->setCurrentIndex(3);
  emit form->ZoomCombo()->activated(3);
  EXPECT_EQ(form->Core().Editor().Zoom(), 4);
  EXPECT_EQ(form->PaintBox()->width(), 3200);
  Picture(*form, "wendro_amp_4x");
  Close(form);
}

TEST_F(MainForm, QuickSearchAndKeysGoToTheFocusedWidget) {
  auto* form = new TShapeEdit({"/OPEN", QString::fromStdString(database)}, timers);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  form->SearchBox()->setFocus();
  QTest::keyClicks(QApplication::focusWidget(), "bu");
  EXPECT_EQ(form->DeviceList()->currentRow(), 1);
  const QRect row = form->DeviceList()->visualItemRect(form->DeviceList()->item(1));
  QTest::mouseClick(form->DeviceList()->viewport(), Qt::LeftButton, {}, row.center());
  QTest::mouseDClick(form->DeviceList()->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_EQ(form->Core().Device().name, "BUF");
  EXPECT_EQ(form->windowTitle(), "<BUF> parts.ddb - ORVO Schematic Symbol Editor");

  // Select everything, Del on the paint box: only the markers stay.
  form->PaintBox()->setFocus();
  Action(*form, "Select &All")->trigger();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  for (const auto& item : form->Core().Editor().Items()) EXPECT_TRUE(item->IsMarker());
  EXPECT_TRUE(form->Core().Modified());
  // Help goes to the program's own help file, through the help seam.
  platform::testing::ScriptedMessages messages;
  const std::string helpFile =
      platform::changeExtension(platform::qt::toPath(QCoreApplication::applicationFilePath()), ".HLP");
  messages.expect(platform::helpFileMissingText(helpFile), platform::Answer::Ok);
  Action(*form, "&Contents")->trigger();
  // Closing asks about the changes; No lets the window go.
  messages.expect("The file parts.ddb is modified. Save it first?", platform::Answer::No);
  Close(form);
}
