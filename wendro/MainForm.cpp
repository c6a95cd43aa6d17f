#include "MainForm.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/qt_canvas.h"
#include "platform/qt_services.h"

namespace wendro {

namespace {

using platform::qt::fromLegacy;
using platform::qt::toLegacy;

unsigned ShiftOf(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? kShift : 0u) | (m & Qt::ControlModifier ? kCtrl : 0u);
}

Qt::CursorShape ShapeOf(TCursorId id) {
  switch (id) {
    case kCursorDrag: return Qt::ClosedHandCursor;
    case kCursorSizeAll: return Qt::SizeAllCursor;
    case kCursorCross: return Qt::CrossCursor;
    case kCursorSizeNWSE: return Qt::SizeFDiagCursor;
    case kCursorSizeNS: return Qt::SizeVerCursor;
    case kCursorSizeNESW: return Qt::SizeBDiagCursor;
    case kCursorSizeWE: return Qt::SizeHorCursor;
    default: return Qt::ArrowCursor;
  }
}

// The pin buttons: caption and the shape-and-length byte of the pin made.
struct PinButton {
  const char* text;
  std::uint8_t shapeAndLength;
};
const PinButton kPinButtons[] = {{"Pin 0", 0},    {"Pin S", 16},   {"Pin N", 32},   {"Pin L", 64},
                                 {"Pin N o", 33}, {"Pin N >", 34}, {"Pin N o>", 35}, {"Pin L o", 65},
                                 {"Pin L >", 66}, {"Pin L o>", 67}};

}  // namespace

bool TInputBoxProperties::EditPin(TPinProperties& p) {
  bool ok = false;
  const QString name = QInputDialog::getText(parent_, "Pin", "Name:", QLineEdit::Normal, fromLegacy(p.name), &ok);
  if (ok) p.name = toLegacy(name);
  return ok;
}

bool TInputBoxProperties::EditText(TTextProperties& p) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent_, "Text", "Text:", QLineEdit::Normal, fromLegacy(p.text), &ok);
  if (ok) p.text = toLegacy(text);
  return ok && !p.text.empty();
}

// --- the form ---------------------------------------------------------------------

TShapeEdit::TShapeEdit(const QStringList& args, platform::winmsg::TimerService& timers, QWidget* parent)
    : QMainWindow(parent), timers_(timers) {
  setAttribute(Qt::WA_DeleteOnClose);
  discardPainter_ = std::make_unique<QPainter>(&discard_);
  discardCanvas_ = std::make_unique<platform::qt::PainterCanvas>(*discardPainter_);
  core_ = std::make_unique<TShapeEditCore>(*this, metrics_, properties_, names_);
  helpFile_ = platform::changeExtension(platform::qt::toPath(QCoreApplication::applicationFilePath()), ".HLP");

  auto* left = new QWidget;
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(2, 2, 2, 2);
  search_ = new QLineEdit;
  search_->setPlaceholderText("Search");
  search_->setObjectName("search");
  list_ = new QListWidget;
  list_->setObjectName("devices");
  leftLayout->addWidget(search_);
  leftLayout->addWidget(list_);
  connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) {
    const int at = core_->QuickSearch(toLegacy(text));
    if (at >= 0) list_->setCurrentRow(at);
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
    core_->EditDevice(list_->currentRow());
    Refresh();
    BringInView();
  });

  paintBox_ = new TPaintBox(*this);
  scroll_ = new QScrollArea;
  scroll_->setWidget(paintBox_);
  scroll_->setBackgroundRole(QPalette::Dark);

  auto* split = new QSplitter;
  split->addWidget(left);
  split->addWidget(scroll_);
  split->setStretchFactor(1, 1);
  split->setSizes({180, 620});
  setCentralWidget(split);

  BuildMenus();
  statusBar()->showMessage(" ");
  resize(900, 640);
  SetZoom(1);
  core_->CommandLine([&] {
    std::vector<std::string> out;
    for (const QString& a : args) out.push_back(platform::qt::toPath(a));
    return out;
  }());
  Refresh();
  BringInView();
}

TShapeEdit::~TShapeEdit() {
  core_->Editor().CancelState();
  KillTimer(kStateTimerId);
  core_.reset();
  discardCanvas_.reset();
  discardPainter_.reset();
}

void TShapeEdit::BuildMenus() {
  auto act = [this](QMenu* menu, const QString& text, auto fn, QKeySequence key = {}) {
    QAction* a = menu->addAction(text);
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, [this, fn] {
      fn();
      Refresh();
    });
    return a;
  };
  TShapeEditCore& c = *core_;
  TSymbolEditor& e = c.Editor();

  QMenu* file = menuBar()->addMenu("&File");
  act(file, "&New", [&c] { c.NewDatabase(); });
  act(file, "&Open...", [&c] { c.Open(); }, QKeySequence::Open);
  act(file, "&Save", [&c] { c.SaveFile(false); }, QKeySequence::Save);
  act(file, "Save &As...", [&c] { c.SaveFile(true); });
  file->addSeparator();
  act(file, "E&xit", [this] { close(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
  act(edit, "&Delete", [&e] { e.DeleteSelected(); });
  act(edit, "Select &All", [&e] { e.SelectAll(); }, QKeySequence::SelectAll);
  act(edit, "Rotate &Left", [&e] { e.Rotate(false); });
  act(edit, "Rotate &Right", [&e] { e.Rotate(true); });
  act(edit, "&Properties...", [&e] { e.EditProperties(); });

  QToolBar* bar = addToolBar("Tools");
  tools_ = new QActionGroup(this);
  QMenu* draw = menuBar()->addMenu("&Draw");
  const std::pair<const char*, TTool> kTools[] = {{"Edit", TTool::None},        {"Line", TTool::Line},
                                                  {"Rectangle", TTool::Rectangle}, {"Polygon", TTool::Polygon},
                                                  {"Ellipse", TTool::Ellipse},  {"Arc", TTool::Arc},
                                                  {"Text", TTool::Text}};
  for (auto [text, tool] : kTools) {
    QAction* a = draw->addAction(text);
    a->setCheckable(true);
    a->setData(int(tool));
    tools_->addAction(a);
    bar->addAction(a);
    connect(a, &QAction::triggered, this, [this, tool] {
      core_->Editor().ChooseTool(tool);
      Refresh();
    });
  }
  bar->addSeparator();
  for (const PinButton& b : kPinButtons) {
    const std::uint8_t sl = b.shapeAndLength;
    QAction* a = bar->addAction(b.text);
    connect(a, &QAction::triggered, this, [this, sl] {
      core_->Editor().NewPin(sl);
      Refresh();
    });
  }
  bar->addSeparator();
  shapes_ = new QComboBox;
  shapes_->setObjectName("shapes");
  bar->addWidget(shapes_);
  connect(shapes_, &QComboBox::activated, this, [this](int entry) {
    core_->ChooseShapeEntry(entry);
    Refresh();
  });
  zoom_ = new QComboBox;
  zoom_->setObjectName("zoom");
  zoom_->addItems({"1x", "2x", "3x", "4x", "8x"});
  bar->addWidget(zoom_);
  connect(zoom_, &QComboBox::activated, this, [this](int index) { SetZoom(index); });

  QMenu* view = menuBar()->addMenu("&View");
  QMenu* zoomMenu = view->addMenu("&Zoom");
  for (int i = 0; i < 5; ++i) {
    QAction* a = zoomMenu->addAction(zoom_->itemText(i));
    connect(a, &QAction::triggered, this, [this, i] { SetZoom(i); });
  }
  auto toggle = [&](const QString& text, bool& flag) {
    QAction* a = view->addAction(text);
    a->setCheckable(true);
    a->setChecked(flag);
    connect(a, &QAction::toggled, this, [this, &flag](bool on) {
      flag = on;
      Repaint();
    });
  };
  toggle("&Snap", e.snap);
  toggle("&Grid", e.grid);
  toggle("S&upplementary", e.supplementary);
  toggle("&Pin Markers", e.pinMarkers);
  act(view, "&Bring in View", [this] { BringInView(); });
  act(view, "&Redraw", [this] { Repaint(); });

  QMenu* device = menuBar()->addMenu("De&vice");
  act(device, "&New device", [&c] { c.NewDevice(); });
  act(device, "&Edit device", [this, &c] { c.EditDevice(list_->currentRow()); });
  act(device, "&Update device", [&c] { c.UpdateDevice(); });
  act(device, "&Add device", [&c] { c.AddDevice(); });
  act(device, "&Delete device", [this, &c] { c.DeleteDevice(list_->currentRow()); });
  autoSensing_ = device->addAction("Auto-&calculate sensing rectangle");
  autoSensing_->setCheckable(true);
  connect(autoSensing_, &QAction::toggled, this, [this](bool on) {
    if (refreshing_) return;
    core_->SetAutoSensing(on);
    Repaint();
  });

  QMenu* help = menuBar()->addMenu("&Help");
  act(help, "&Contents", [this] { Help(0); });
  act(help, "&Topic Search", [this] { Help(41); });
  act(help, "&How to Use Help", [] { platform::requestHelp("WINHELP.HLP", 0); });
}

void TShapeEdit::Help(int context) { platform::requestHelp(helpFile_, context); }

void TShapeEdit::SetZoom(int index) {
  core_->Editor().SetZoomIndex(index);
  const int z = core_->Editor().Zoom();
  paintBox_->setFixedSize(800 * z, 800 * z);
  scroll_->horizontalScrollBar()->setSingleStep(8 * z);
  scroll_->verticalScrollBar()->setSingleStep(8 * z);
  zoom_->setCurrentIndex(index);
  BringInView();
}

void TShapeEdit::BringInView() {
  const auto u = DrawnBounds(core_->Editor().Items());
  if (!u) return;
  const int z = core_->Editor().Zoom();
  scroll_->ensureVisible((u->left + u->right) / 2 * z, (u->top + u->bottom) / 2 * z,
                         scroll_->viewport()->width() / 2, scroll_->viewport()->height() / 2);
  Repaint();
}

void TShapeEdit::Refresh() {
  refreshing_ = true;
  const TShapeEditCore& c = *core_;
  setWindowTitle(fromLegacy(c.Caption()));
  const int row = list_->currentRow();
  // The list is rebuilt only when it changed: a refresh may run inside one
  // of the list's own signals.
  QStringList names;
  for (const auto& d : c.Devices()) names << fromLegacy(d->name);
  bool same = list_->count() == names.size();
  for (int i = 0; same && i < names.size(); ++i) same = list_->item(i)->text() == names[i];
  if (!same) {
    list_->clear();
    list_->addItems(names);
  }
  list_->setCurrentRow(c.CurrentIndex() >= 0 ? c.CurrentIndex() : std::min(row, list_->count() - 1));
  shapes_->clear();
  for (const std::string& entry : c.ShapeEntries()) shapes_->addItem(fromLegacy(entry));
  if (c.Key() >= 0) shapes_->setCurrentIndex((c.Key() & 1) * 4 + (c.Key() >> 1));
  for (QAction* a : tools_->actions()) a->setChecked(TTool(a->data().toInt()) == c.Editor().Tool() &&
                                                     (c.Editor().Tool() != TTool::None || !c.Editor().State()));
  autoSensing_->setChecked(c.AutoSensing());
  statusBar()->showMessage(fromLegacy(c.Editor().Status()));
  refreshing_ = false;
  Repaint();
}

platform::Canvas* TShapeEdit::PaintBoxCanvas() {
  return paintTarget_ ? paintTarget_ : discardCanvas_.get();
}
// The core repaints while the form is still being built.
void TShapeEdit::Repaint() {
  if (paintBox_) paintBox_->update();
}
void TShapeEdit::SetCursor(TCursorId cursor) {
  if (paintBox_) paintBox_->setCursor(ShapeOf(cursor));
}

// The timer's procedure may run on the timer service's thread: it only
// posts the tick to the window, which drops ticks of timers no longer armed.
void TShapeEdit::TimerProcedure(platform::winmsg::TimerId id, platform::winmsg::TimerUser user) {
  auto* form = reinterpret_cast<TShapeEdit*>(user);
  QMetaObject::invokeMethod(form, [form, id] { form->TimerTick(id); }, Qt::QueuedConnection);
}

void TShapeEdit::TimerTick(platform::winmsg::TimerId id) {
  if (id == 0 || id != armed_) return;
  // A window timer repeats until it is killed.
  armed_ = timers_.setOneShot(period_, 0, TimerProcedure, reinterpret_cast<platform::winmsg::TimerUser>(this));
  core_->Editor().TimerMessage(kStateTimerId);
  Refresh();
}

bool TShapeEdit::StartTimer(int id, unsigned milliseconds) {
  KillTimer(id);
  period_ = milliseconds;
  armed_ = timers_.setOneShot(milliseconds, 0, TimerProcedure, reinterpret_cast<platform::winmsg::TimerUser>(this));
  return armed_ != 0;
}

void TShapeEdit::KillTimer(int) {
  if (armed_) timers_.kill(armed_);
  armed_ = 0;
}

void TShapeEdit::DrawFeedback(platform::Canvas& target) {
  paintTarget_ = &target;
  core_->Editor().DrawFeedback();
  paintTarget_ = nullptr;
}

void TShapeEdit::closeEvent(QCloseEvent* event) {
  if (core_->ConfirmDiscard())
    event->accept();
  else
    event->ignore();
}

// --- the paint box ---------------------------------------------------------------

TPaintBox::TPaintBox(TShapeEdit& form) : form_(form) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setObjectName("paintBox");
}

void TPaintBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), Qt::white);
  platform::qt::PainterCanvas target(painter);
  TShapeEditCore& core = form_.Core();
  TSymbolEditor& e = core.Editor();
  core.ApplyAutoSensing();
  const int z = e.Zoom();
  TDirCanvas canvas(&target, e.Metrics(), z);
  canvas.pinMarkers = e.pinMarkers;
  const QRect r = event->rect();
  if (e.grid) {
    painter.setPen(QColor(255, 255, 0));
    for (int x = r.left() / (8 * z) * 8 * z; x <= r.right(); x += 8 * z) painter.drawLine(x, r.top(), x, r.bottom());
    for (int y = r.top() / (8 * z) * 8 * z; y <= r.bottom(); y += 8 * z) painter.drawLine(r.left(), y, r.right(), y);
  }
  auto isPin = [](const TXShape& s) { return dynamic_cast<const TPin*>(&s) != nullptr; };
  for (const auto& item : e.Items())
    if (!item->IsMarker() && !item->dragging && !isPin(*item)) item->Draw(canvas, TPenMode::Normal);
  for (const auto& item : e.Items())
    if (!item->dragging && isPin(*item)) item->Draw(canvas, TPenMode::Normal);
  for (TXShape* item : e.DragList())
    if (!item->IsMarker() && !isPin(*item)) item->Draw(canvas, TPenMode::Normal);
  for (TXShape* item : e.DragList())
    if (isPin(*item)) item->Draw(canvas, TPenMode::Normal);
  if (e.supplementary) {
    bool seen[4] = {};
    for (const auto& item : e.Items()) {
      int kind = dynamic_cast<TOrigo*>(item.get())          ? 0
                 : dynamic_cast<TCOR*>(item.get())          ? 1
                 : dynamic_cast<TDefLabelPos*>(item.get())  ? 2
                 : dynamic_cast<TSensingRect*>(item.get()) ? 3
                                                            : -1;
      if (kind >= 0 && !seen[kind]) {
        seen[kind] = true;
        item->Draw(canvas, TPenMode::Normal);
      }
    }
    if (const auto u = DrawnBounds(e.Items())) {
      painter.setPen(QColor(0, 128, 0));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(u->left * z, u->top * z, (u->right - u->left) * z, (u->bottom - u->top) * z);
    }
  }
  form_.DrawFeedback(target);
}

void TPaintBox::mousePressEvent(QMouseEvent* ev) {
  if (ev->button() != Qt::LeftButton) return;
  form_.Core().Editor().MouseDown(1, ev->position().toPoint().x(), ev->position().toPoint().y(),
                                  ShiftOf(ev->modifiers()));
  form_.Refresh();
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* ev) {
  if (ev->button() != Qt::LeftButton) return;
  form_.Core().Editor().MouseUp(1, ev->position().toPoint().x(), ev->position().toPoint().y(),
                                ShiftOf(ev->modifiers()));
  form_.Refresh();
}

void TPaintBox::mouseMoveEvent(QMouseEvent* ev) {
  TSymbolEditor& e = form_.Core().Editor();
  e.MouseMove(ev->position().toPoint().x(), ev->position().toPoint().y());
  form_.Refresh();
}

// Qt sends press, release, double-click, release: the double-click takes
// the place of the second press and is handed on as a double-click only.
void TPaintBox::mouseDoubleClickEvent(QMouseEvent* ev) {
  if (ev->button() != Qt::LeftButton) return;
  form_.Core().Editor().DoubleClick(ev->position().toPoint().x(), ev->position().toPoint().y());
  form_.Refresh();
}

void TPaintBox::keyPressEvent(QKeyEvent* ev) {
  TSymbolEditor& e = form_.Core().Editor();
  const bool keypad = ev->modifiers() & Qt::KeypadModifier;
  if (ev->key() == Qt::Key_Escape)
    e.Key(TEditKey::Escape);
  else if (ev->key() == Qt::Key_Delete)
    e.Key(TEditKey::Delete);
  else if (keypad && ev->key() == Qt::Key_Plus)
    e.Key(TEditKey::RotateRight);
  else if (keypad && ev->key() == Qt::Key_Minus)
    e.Key(TEditKey::RotateLeft);
  else
    return QWidget::keyPressEvent(ev);
  form_.Refresh();
}

}  // namespace wendro
