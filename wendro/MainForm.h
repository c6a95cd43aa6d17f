#pragma once
// The editor's window: the device list with its quick search, the paint box
// in a scroll area, the tool bar and the menus, around TShapeEditCore.
#include <QMainWindow>
#include <memory>

#include "ScreenMetrics.h"
#include "platform/timers.h"
#include "ShapeEditCore.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QScrollArea;
class QAction;
class QActionGroup;

namespace platform::qt {
class PainterCanvas;
}

namespace wendro {

class TPaintBox;

// Until the pin and text dialogs come: the pin's name and the text are asked
// for in a one-line input box.
class TInputBoxProperties : public TPropertyEditor {
 public:
  explicit TInputBoxProperties(QWidget* parent) : parent_(parent) {}
  bool EditPin(TPinProperties& p) override;
  bool EditText(TTextProperties& p) override;

 private:
  QWidget* parent_;
};

class TShapeEdit : public QMainWindow, public TEditorView {
  Q_OBJECT
 public:
  // timers: where the editing states' window timer comes from.
  explicit TShapeEdit(const QStringList& args = {},
                      platform::winmsg::TimerService& timers = platform::winmsg::systemTimers(),
                      QWidget* parent = nullptr);
  ~TShapeEdit() override;

  TShapeEditCore& Core() { return *core_; }
  TPaintBox* PaintBox() const { return paintBox_; }
  QListWidget* DeviceList() const { return list_; }
  QLineEdit* SearchBox() const { return search_; }
  QComboBox* ZoomCombo() const { return zoom_; }
  // Refreshes list, caption, combos and paint box from the core.
  void Refresh();
  void BringInView();
  // The current state's outline, drawn on the paint box as it is painted.
  void DrawFeedback(platform::Canvas& target);

  // TEditorView
  platform::Canvas* PaintBoxCanvas() override;
  void Repaint() override;
  void SetCursor(TCursorId cursor) override;
  bool StartTimer(int id, unsigned milliseconds) override;
  void KillTimer(int id) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void Help(int context);
  void SetZoom(int index);

  TScreenMetrics metrics_;
  TInputBoxProperties properties_{this};
  TRefuseNameClash names_;
  std::unique_ptr<TShapeEditCore> core_;
  QListWidget* list_ = nullptr;
  QLineEdit* search_ = nullptr;
  QComboBox* shapes_ = nullptr;
  QComboBox* zoom_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  TPaintBox* paintBox_ = nullptr;
  QActionGroup* tools_ = nullptr;
  QAction* autoSensing_ = nullptr;
  static void TimerProcedure(platform::winmsg::TimerId id, platform::winmsg::TimerUser user);
  void TimerTick(platform::winmsg::TimerId id);
  platform::winmsg::TimerService& timers_;
  platform::winmsg::TimerId armed_ = 0;
  unsigned period_ = 0;
  QImage discard_{1, 1, QImage::Format_RGB32};
  std::unique_ptr<QPainter> discardPainter_;
  std::unique_ptr<platform::qt::PainterCanvas> discardCanvas_;
  platform::Canvas* paintTarget_ = nullptr;
  std::string helpFile_;
  bool refreshing_ = false;
};

// The scrolled drawing surface: 800 × zoom pixels each way.
class TPaintBox : public QWidget {
 public:
  explicit TPaintBox(TShapeEdit& form);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  TShapeEdit& form_;
};

}  // namespace wendro
