#include "pakro/shell/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "pakro/shell/blank.h"
#include "pakro/shell/forms.h"
#include "pakro/shell/frame_state.h"
#include "pakro/shell/library_names.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/qt_services.h"
#include "pakro/shell/small_dialogs.h"

namespace pakro {

namespace {

constexpr const char* kHelpContext = "helpContext";
// The raw hint of a toolbar control: a short part shown on hover, then
// after "|" an optional long part.
constexpr const char* kHint = "hint";
// Disabled while a compute series runs.
constexpr const char* kSeriesGuarded = "seriesGuarded";
// Enabled only while a library is open.
constexpr const char* kNeedsLibrary = "needsLibrary";

// Help context numbers of the menu items and controls.
struct HelpContext {
  const char* name;
  int context;
};
constexpr HelpContext kHelpContexts[] = {
    {"New1", 1},
    {"Diode1", 1},
    {"NPNtransistor1", 1},
    {"PNPTransistor1", 1},
    {"JFETNChannel1", 1},
    {"JFETPChannel1", 1},
    {"MOSFETNChannel1", 1},
    {"MOSFETPChannel1", 1},
    {"FileOpenItem", 2},
    {"FileSaveItem", 3},
    {"FileSaveAsItem", 4},
    {"FileCloseItem", 5},
    {"LibraryManager1", 6},
    {"CatalogManager1", 7},
    {"Firstblank1", 8},
    {"Previousblank1", 9},
    {"Nextblank1", 10},
    {"Lastblank1", 11},
    {"AddComponent1", 12},
    {"RemoveComp1", 13},
    {"ClearDataSheet1", 14},
    {"CopyPreviousDataSheet1", 15},
    {"ClearedDefaultPrevious1", 16},
    {"Currentcomponent1", 17},
    {"Allcomponents1", 18},
    {"SpeedPanel", 19},
    {"CbNavigator", 41},
    {"Setthedefaultparameters1", 48},
    {"CompileORVOCatalogSource1", 50},
};

// Enabled only while at least one library is open, in the order they are set.
constexpr const char* kLibraryItems[] = {
    "FileCloseItem",      "FileSaveItem",           "SaveAll1",
    "FileSaveAsItem",     "CreateSPICELibrary1",    "LibraryManager1",
    "CatalogManager1",    "Firstblank1",            "Previousblank1",
    "Nextblank1",         "Lastblank1",             "AddComponent1",
    "RemoveComp1",        "ClearDataSheet1",        "CopyPreviousDataSheet1",
    "Setthedefaultparameters1", "Currentcomponent1", "Allcomponents1",
    "SaveBtn",            "WindowCascadeItem",      "WindowTileItem",
    "WindowArrangeItem",  "WindowMinimizeItem",
};

// What would close, remove, open, replace or recompute a library.
constexpr const char* kSeriesGuardedItems[] = {
    "New1",           "Diode1",         "NPNtransistor1",    "PNPTransistor1",
    "JFETNChannel1",  "JFETPChannel1",  "MOSFETNChannel1",   "MOSFETPChannel1",
    "Core1",          "SpeedButton1",   "SpeedButton2",      "SpeedButton3",
    "SpeedButton4",   "JFPBtn",         "NMOSBtn",           "PMOSBtn",
    "CORBtn",         "FileOpenItem",   "OpenBtn",           "FileCloseItem",
    "LibraryManager1", "CatalogManager1", "CreateSPICELibrary1", "WriteMPLfile1",
    "FileExitItem",   "AddComponent1",  "AddBtn",            "RemoveComp1",
    "DeleteBtn",      "ClearDataSheet1", "BtnClear",         "CopyPreviousDataSheet1",
    "BtnPRev",        "Currentcomponent1", "Allcomponents1",
};

QIcon glyphIcon(const QString& text) {
  QPixmap pixmap(32, 24);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QColor(0, 0, 128));
  painter.drawRect(0, 0, 31, 23);
  QFont f = painter.font();
  f.setPixelSize(text.size() > 2 ? 10 : 13);
  f.setBold(true);
  painter.setFont(f);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
  return QIcon(pixmap);
}

}  // namespace

int HelpContextOf(const QObject* object) {
  return object ? object->property(kHelpContext).toInt() : 0;
}

void SetHelpContext(QObject* object, int context) { object->setProperty(kHelpContext, context); }

TMainForm::TMainForm(const DeviceForms& forms, QWidget* parent)
    : QMainWindow(parent), forms_(forms) {
  setObjectName("MainForm");
  setWindowTitle("Parameter Extractor for ORVO");
  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName("ClientArea");
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  BuildMenus();
  BuildToolbar();
  FormCreate();
}

TMainForm::~TMainForm() {
  // FormDestroy: the child windows go with the frame; nothing of theirs may
  // call back into it while they are freed.
  mdiArea_->disconnect(this);
  installComputeDialogs(false);
  // Closed windows still waiting to be freed are among them.
  for (QMdiSubWindow* window : mdiArea_->findChildren<QMdiSubWindow*>()) window->disconnect(this);
}

void TMainForm::FormCreate() {
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TMainForm::SubWindowActivated);
  for (const HelpContext& h : kHelpContexts) {
    QObject* target = Item(h.name);
    if (!target) target = Control(h.name);
    if (target) SetHelpContext(target, h.context);
  }
  ExeDir = platform::executableDir();
  HelpFile = ExeDir + "PAKRO.HLP";
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, &TMainForm::HelpForFocus);
  UpdateMenuItems();
}

QAction* TMainForm::Item(const char* name) const { return findChild<QAction*>(name); }

QWidget* TMainForm::Control(const char* name) const { return findChild<QWidget*>(name); }

QAction* TMainForm::AddItem(QMenu* menu, const char* name, const char* caption, Handler handler,
                            const char* shortcut) {
  QAction* action = menu->addAction(QString::fromLatin1(caption));
  action->setObjectName(name);
  if (shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
  if (handler) connect(action, &QAction::triggered, this, [this, handler, action] { (this->*handler)(action); });
  return action;
}

void TMainForm::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto addMenu = [&](QMenu* owner, const char* name, const char* caption) {
    QMenu* menu = owner ? owner->addMenu(QString::fromLatin1(caption))
                        : bar->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    menu->installEventFilter(this);
    return menu;
  };
  auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

  QMenu* file = addMenu(nullptr, "File1", "&File");
  QMenu* newLibrary = addMenu(file, "New1", "&New  Library");
  AddItem(newLibrary, "Diode1", "Diode", &TMainForm::Diode1Click);
  AddItem(newLibrary, "NPNtransistor1", "&NPN transistor ", &TMainForm::NPNtransistor1Click);
  AddItem(newLibrary, "PNPTransistor1", "&PNP Transistor", &TMainForm::PNPTransistor1Click);
  AddItem(newLibrary, "JFETNChannel1", "N-channel JFET", &TMainForm::JFETNClick);
  AddItem(newLibrary, "JFETPChannel1", "P-channel JFET", &TMainForm::JFETPClick);
  AddItem(newLibrary, "MOSFETNChannel1", "N-channel MOSFET", &TMainForm::NMOSBtnClick);
  AddItem(newLibrary, "MOSFETPChannel1", "P-channel MOSFET", &TMainForm::MPEBClick);
  AddItem(newLibrary, "Core1", "Core", &TMainForm::Core1Click);
  AddItem(file, "FileOpenItem", "&Open Library", &TMainForm::FileOpenItemClick);
  AddItem(file, "FileSaveItem", "&Save Library", &TMainForm::FileSaveItemClick);
  AddItem(file, "FileSaveAsItem", "Save Library &as...", &TMainForm::FileSaveAsItemClick);
  AddItem(file, "SaveAll1", "Save A&ll ", &TMainForm::SaveAll1Click);
  AddItem(file, "FileCloseItem", "&Close Library", &TMainForm::FileCloseItemClick);
  separator(file, "N2");
  AddItem(file, "LibraryManager1", "&Library Manager", &TMainForm::LibraryManager1Click);
  separator(file, "N1");
  AddItem(file, "CatalogManager1", "&ORVO Catalog Manager", &TMainForm::CatalogManager1Click);
  AddItem(file, "CompileORVOCatalogSource1", "Compile ORVO Catalog &Source",
          &TMainForm::CompileORVOCatalogSource1Click);
  separator(file, "N3");
  AddItem(file, "CreateSPICELibrary1", "Create &SPICE Library", &TMainForm::CreateSPICELibrary1Click);
  separator(file, "N4");
  AddItem(file, "WriteMPLfile1", "&Write MPL file", &TMainForm::WriteMPLfile1Click);
  AddItem(file, "FileExitItem", "E&xit", &TMainForm::FileExitItemClick);

  QMenu* navigate = addMenu(nullptr, "Navigate1", "&Database");
  AddItem(navigate, "Firstblank1", "&First Component", &TMainForm::FirstBtnClick, "Ctrl+F");
  AddItem(navigate, "Previousblank1", "&Previous Component", &TMainForm::PrevBtnClick, "Ctrl+P");
  AddItem(navigate, "Nextblank1", "&Next Component", &TMainForm::NextBtnClick, "Ctrl+N");
  AddItem(navigate, "Lastblank1", "&Last Component", &TMainForm::LastBtnClick, "Ctrl+L");
  separator(navigate, "N5");
  AddItem(navigate, "AddComponent1", "&Add Component", &TMainForm::AddBtnClick);
  AddItem(navigate, "RemoveComp1", "&Remove Component", &TMainForm::DeleteBtnClick);
  separator(navigate, "N6");
  AddItem(navigate, "ClearDataSheet1", "&Clear Data Sheet", &TMainForm::BtnClearClick);
  AddItem(navigate, "CopyPreviousDataSheet1", "Copy &Previous Data Sheet", &TMainForm::BtnPRevClick);

  QMenu* options = addMenu(nullptr, "Options1", "&Options");
  AddItem(options, "ClearedDefaultPrevious1", "&New : Cleared/Previous",
          &TMainForm::ClearedDefaultPrevious1Click);
  AddItem(options, "Setthedefaultparameters1", "&Set the default parameters",
          &TMainForm::Setthedefaultparameters1Click);

  QMenu* compute = addMenu(nullptr, "Compute1", "&Calculate");
  AddItem(compute, "Currentcomponent1", "&Current component", &TMainForm::Currentcomponent1Click);
  AddItem(compute, "Allcomponents1", "&All components", &TMainForm::Allcomponents1Click);

  windowMenu_ = addMenu(nullptr, "Window1", "&Window");
  AddItem(windowMenu_, "WindowCascadeItem", "&Cascade", &TMainForm::WindowCascadeItemClick);
  AddItem(windowMenu_, "WindowTileItem", "&Tile", &TMainForm::WindowTileItemClick);
  AddItem(windowMenu_, "WindowArrangeItem", "&Arrange Icons", &TMainForm::WindowArrangeItemClick);
  AddItem(windowMenu_, "WindowMinimizeItem", "&Minimize All", &TMainForm::WindowMinimizeItemClick);
  windowListStart_ = windowMenu_->addSeparator();
  windowListStart_->setVisible(false);
  connect(windowMenu_, &QMenu::aboutToShow, this, &TMainForm::FillWindowList);

  QMenu* help = addMenu(nullptr, "Help1", "&Help");
  AddItem(help, "Contents1", "&Contents", &TMainForm::Contents1Click);
  AddItem(help, "HelpAboutItem", "&About", &TMainForm::HelpAboutItemClick);

  for (const char* name : kLibraryItems)
    if (QAction* a = Item(name)) a->setProperty(kNeedsLibrary, true);
  for (const char* name : kSeriesGuardedItems)
    if (QAction* a = Item(name)) a->setProperty(kSeriesGuarded, true);
}

QToolButton* TMainForm::AddButton(const char* name, const char* hint, Handler handler,
                                  const char* caption, const char* glyph) {
  auto* b = new QToolButton(speedPanel_);
  b->setObjectName(name);
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  const QString rawHint = QString::fromLatin1(hint);
  b->setProperty(kHint, rawHint);
  b->setToolTip(rawHint.section('|', 0, 0));
  b->setStatusTip(rawHint.section('|', 1));
  if (caption) {
    b->setText(QString::fromLatin1(caption));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  } else if (glyph) {
    b->setIcon(glyphIcon(QString::fromUtf8(glyph)));
    b->setIconSize(QSize(32, 24));
  }
  connect(b, &QToolButton::clicked, this, [this, handler, b] { (this->*handler)(b); });
  speedPanel_->addWidget(b);
  return b;
}

void TMainForm::BuildToolbar() {
  speedPanel_ = new QToolBar(this);
  speedPanel_->setObjectName("SpeedPanel");
  speedPanel_->setMovable(false);
  speedPanel_->setFloatable(false);
  addToolBar(Qt::TopToolBarArea, speedPanel_);

  AddButton("SpeedButton1", "Create new diode library", &TMainForm::Diode1Click, nullptr, "D");
  AddButton("SpeedButton2", "Create new NPN transistor library", &TMainForm::NPNtransistor1Click,
            nullptr, "NPN");
  AddButton("SpeedButton3", "Create new PNP transistor library", &TMainForm::PNPTransistor1Click,
            nullptr, "PNP");
  AddButton("SpeedButton4", "Create new N-channel JFET Library ", &TMainForm::JFETNClick, nullptr,
            "NJ");
  AddButton("JFPBtn", "Create new P-channel JFET Library", &TMainForm::JFETPClick, nullptr, "PJ");
  AddButton("NMOSBtn", "Create new N-channel MOSFET Library", &TMainForm::NMOSBtnClick, nullptr,
            "NM");
  AddButton("PMOSBtn", "Create new P-channel  MOSFET Library", &TMainForm::MPEBClick, nullptr, "PM");
  AddButton("CORBtn", "Create new core Library", &TMainForm::Core1Click, nullptr, "C");
  speedPanel_->addSeparator();
  AddButton("OpenBtn", "Open|", &TMainForm::FileOpenItemClick, nullptr, "Op");
  AddButton("SaveBtn", "Save|", &TMainForm::FileSaveItemClick, nullptr, "Sv");
  speedPanel_->addSeparator();
  AddButton("FirstBtn", "First component", &TMainForm::FirstBtnClick, nullptr, "|\u25C0");
  AddButton("PrevBtn", "Previous component", &TMainForm::PrevBtnClick, nullptr, "\u25C0");
  AddButton("NextBtn", "Next component", &TMainForm::NextBtnClick, nullptr, "\u25B6");
  AddButton("LastBtn", "Last component", &TMainForm::LastBtnClick, nullptr, "\u25B6|");
  AddButton("AddBtn", "Add new component to current Library", &TMainForm::AddBtnClick, nullptr, "+");
  AddButton("DeleteBtn", "Remove component from current Library", &TMainForm::DeleteBtnClick,
            nullptr, "\u2212");

  cbNavigator_ = new QComboBox(speedPanel_);
  cbNavigator_->setObjectName("CbNavigator");
  cbNavigator_->setEditable(true);
  cbNavigator_->setInsertPolicy(QComboBox::NoInsert);
  cbNavigator_->setMinimumWidth(220);
  speedPanel_->addWidget(cbNavigator_);
  connect(cbNavigator_, &QComboBox::activated, this, [this] { CbNavigatorChange(cbNavigator_); });
  connect(cbNavigator_->lineEdit(), &QLineEdit::textEdited, this,
          [this] { CbNavigatorChange(cbNavigator_); });
  // With the focus on an editable combo box its keys reach the combo box,
  // which hands them to its line edit directly: Enter is taken here.
  cbNavigator_->installEventFilter(this);

  AddButton("BtnClear", "Clear Data Sheet", &TMainForm::BtnClearClick, "Clear");
  AddButton("BtnPRev", "Fill Data Sheet width data of previous component", &TMainForm::BtnPRevClick,
            "Prev.");

  Control("SaveBtn")->setProperty(kNeedsLibrary, true);
  for (const char* name : kSeriesGuardedItems)
    if (QWidget* w = speedPanel_->findChild<QToolButton*>(name)) w->setProperty(kSeriesGuarded, true);
}

// --- child windows

QMdiSubWindow* TMainForm::ChildWindow(int index) const {
  if (index < 0 || index >= MDIChildCount()) return nullptr;
  return children_[static_cast<std::size_t>(index)];
}

TBlank* TMainForm::MDIChildren(int index) const {
  QMdiSubWindow* window = ChildWindow(index);
  return window ? qobject_cast<TBlank*>(window->widget()) : nullptr;
}

TBlank* TMainForm::ActiveMDIChild() const {
  QMdiSubWindow* current = mdiArea_->currentSubWindow();
  if (!current) return nullptr;
  const bool ours = std::any_of(children_.begin(), children_.end(),
                                [current](const QPointer<QMdiSubWindow>& c) { return c == current; });
  return ours ? qobject_cast<TBlank*>(current->widget()) : nullptr;
}

TBlank* TMainForm::DispatchTarget() const {
  if (!isDeviceKind(CurrentType)) return nullptr;
  TBlank* form = ActiveMDIChild();
  if (!form || form->Module() != CurrentType) return nullptr;
  return form;
}

TBlank* TMainForm::CreateChild(int kind, const QString& caption) {
  TBlank* form = MakeForm(kind);
  if (form) AdoptChild(form, caption);
  return form;
}

TBlank* TMainForm::MakeForm(int kind) {
  if (!isDeviceKind(kind) || !forms_[static_cast<std::size_t>(kind)]) return nullptr;
  return forms_[static_cast<std::size_t>(kind)]();
}

void TMainForm::AdoptChild(TBlank* form, const QString& caption) {
  form->SetCaption(caption);
  QMdiSubWindow* window = mdiArea_->addSubWindow(form);
  window->setAttribute(Qt::WA_DeleteOnClose);
  children_.emplace_back(window);
  connect(window, &QObject::destroyed, this, [this, window] { RemoveChild(window); });
  // Minimised, a window shows the file-name part of its caption, so that
  // windows of libraries in one directory tell apart.
  connect(window, &QMdiSubWindow::windowStateChanged, this,
          [window, form](Qt::WindowStates, Qt::WindowStates now) {
            const QString caption = form->Caption();
            window->setWindowTitle((now & Qt::WindowMinimized)
                                       ? platform::qt::fromPath(FileNamePart(platform::qt::toPath(caption)))
                                       : caption);
          });
  window->show();
  if (mdiArea_->currentSubWindow() == window)
    SubWindowActivated(window);  // already active: make sure it took over
  else
    mdiArea_->setActiveSubWindow(window);
}

TBlank* TMainForm::CreateDIO(const QString& caption) { return CreateChild(kDiode, caption); }
TBlank* TMainForm::CreateTRN(const QString& caption) { return CreateChild(kNpnTransistor, caption); }
TBlank* TMainForm::CreateTRP(const QString& caption) { return CreateChild(kPnpTransistor, caption); }
TBlank* TMainForm::CreateJFN(const QString& caption) { return CreateChild(kNChannelJfet, caption); }
TBlank* TMainForm::CreateJFP(const QString& caption) { return CreateChild(kPChannelJfet, caption); }
TBlank* TMainForm::CreateMNE(const QString& caption) { return CreateChild(kNChannelMosfet, caption); }
TBlank* TMainForm::CreateMPE(const QString& caption) { return CreateChild(kPChannelMosfet, caption); }
TBlank* TMainForm::CreateCOR(const QString& caption) { return CreateChild(kMagneticCore, caption); }

void TMainForm::SubWindowActivated(QMdiSubWindow* window) {
  // The area reports no active window while another top-level window (a
  // dialog, another program) has the focus; coming back to the same child
  // is no change of the active library.
  if (window && window != lastActive_) {
    const bool ours = std::any_of(children_.begin(), children_.end(),
                                  [window](const QPointer<QMdiSubWindow>& c) { return c == window; });
    if (ours) {
      lastActive_ = window;
      if (auto* form = qobject_cast<TBlank*>(window->widget())) form->FormActivate();
    }
  }
  UpdateMenuItems();
}

void TMainForm::ChildClosing(TBlank* form) {
  for (auto it = children_.begin(); it != children_.end(); ++it) {
    if (*it && (*it)->widget() == form) {
      if (lastActive_ == *it) lastActive_ = nullptr;
      children_.erase(it);
      break;
    }
  }
  ClearNavigator();
  UpdateMenuItems();
}

void TMainForm::RemoveChild(QMdiSubWindow* window) {
  std::erase_if(children_, [window](const QPointer<QMdiSubWindow>& c) { return !c || c == window; });
  UpdateMenuItems();
}

void TMainForm::UpdateMenuItems() {
  const bool open = MDIChildCount() > 0;
  const bool series = SeriesRunning();
  auto apply = [&](QObject* object) {
    bool enabled = true;
    if (object->property(kNeedsLibrary).toBool()) enabled = open;
    if (object->property(kSeriesGuarded).toBool() && series) enabled = false;
    // The MPL pair is written for the diode, bipolar and core kinds only.
    if (enabled && object->objectName() == QLatin1String("WriteMPLfile1"))
      if (TBlank* form = DispatchTarget(); form && !form->List().HasMplFiles()) enabled = false;
    if (auto* action = qobject_cast<QAction*>(object))
      action->setEnabled(enabled);
    else if (auto* widget = qobject_cast<QWidget*>(object))
      widget->setEnabled(enabled);
  };
  for (QAction* action : findChildren<QAction*>())
    if (action->property(kNeedsLibrary).isValid() || action->property(kSeriesGuarded).isValid())
      apply(action);
  for (QToolButton* button : speedPanel_->findChildren<QToolButton*>())
    if (button->property(kNeedsLibrary).isValid() || button->property(kSeriesGuarded).isValid())
      apply(button);
  FillWindowList();
}

void TMainForm::FillWindowList() {
  const QList<QAction*> actions = windowMenu_->actions();
  const qsizetype start = actions.indexOf(windowListStart_);
  for (qsizetype i = start + 1; i < actions.size(); ++i) {
    windowMenu_->removeAction(actions[i]);
    actions[i]->deleteLater();
  }
  windowListStart_->setVisible(MDIChildCount() > 0);
  QMdiSubWindow* current = mdiArea_->currentSubWindow();
  for (int i = 0; i < MDIChildCount(); ++i) {
    QMdiSubWindow* window = ChildWindow(i);
    if (!window) continue;
    const TBlank* form = MDIChildren(i);
    const QString caption = form ? form->Caption() : window->windowTitle();
    QAction* entry = windowMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(caption));
    entry->setCheckable(true);
    entry->setChecked(window == current);
    QPointer<QMdiSubWindow> target(window);
    connect(entry, &QAction::triggered, this, [this, target] {
      if (!target) return;
      if (target->isMinimized()) target->showNormal();
      mdiArea_->setActiveSubWindow(target);
    });
  }
}

// --- the navigator

void TMainForm::SetCbNavigator() {
  cbNavigator_->clear();
  TBlank* form = ActiveMDIChild();
  if (!form || !isDeviceKind(form->Module())) return;
  const DeviceLibrary& list = form->List();
  auto entry = [&list](int index) {
    return platform::qt::fromLegacy(list.Name(index)) + " : " + QString::number(index);
  };
  for (int i = 1; i < list.Count(); ++i) cbNavigator_->addItem(entry(i));
  const int current = list.Current();
  if (current >= 0 && current < list.Count()) {
    cbNavigator_->setEditText(entry(current));
    // A long name shows from its start.
    cbNavigator_->lineEdit()->setCursorPosition(0);
  }
}

void TMainForm::ClearNavigator() {
  cbNavigator_->clear();
  cbNavigator_->clearEditText();
}

// --- compute series guard

void TMainForm::BeginSeries() {
  ++seriesDepth_;
  UpdateMenuItems();
}

void TMainForm::EndSeries() {
  if (seriesDepth_ > 0) --seriesDepth_;
  UpdateMenuItems();
}

// --- window and help commands

void TMainForm::FileCloseItemClick(QObject*) {
  if (SeriesRunning() || !ActiveMDIChild()) return;
  // The window's own close question decides whether it really closes.
  mdiArea_->currentSubWindow()->close();
}

void TMainForm::FileExitItemClick(QObject*) { close(); }

void TMainForm::WindowCascadeItemClick(QObject*) { mdiArea_->cascadeSubWindows(); }

void TMainForm::WindowTileItemClick(QObject*) { mdiArea_->tileSubWindows(); }

void TMainForm::WindowArrangeItemClick(QObject*) {
  // The minimised windows in rows along the bottom of the client area, left
  // to right in creation order.
  const QSize area = mdiArea_->viewport()->size();
  int x = 0;
  int rowBottom = area.height();
  int rowHeight = 0;
  for (int i = 0; i < MDIChildCount(); ++i) {
    QMdiSubWindow* window = ChildWindow(i);
    if (!window || !window->isMinimized()) continue;
    const QSize size = window->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      rowBottom -= rowHeight;
      rowHeight = 0;
    }
    window->move(x, rowBottom - size.height());
    x += size.width();
    rowHeight = std::max(rowHeight, size.height());
  }
}

void TMainForm::WindowMinimizeItemClick(QObject*) {
  for (int i = MDIChildCount() - 1; i >= 0; --i)
    if (QMdiSubWindow* window = ChildWindow(i)) window->showMinimized();
}

void TMainForm::ShowHelp(int context) { platform::requestHelp(HelpFile, context); }

void TMainForm::Contents1Click(QObject*) { ShowHelp(0); }

void TMainForm::HelpAboutItemClick(QObject*) {
  if (AboutBox) AboutBox->exec();
}

void TMainForm::ClearedDefaultPrevious1Click(QObject*) {
  if (DlgNew) DlgNew->exec();
}

void TMainForm::HelpForFocus() {
  for (QObject* o = QApplication::focusWidget(); o; o = o->parent()) {
    if (const int context = HelpContextOf(o)) {
      ShowHelp(context);
      return;
    }
  }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (auto* menu = qobject_cast<QMenu*>(watched); menu && key->key() == Qt::Key_F1) {
      if (const int context = HelpContextOf(menu->activeAction())) {
        menu->close();
        ShowHelp(context);
      }
      return true;
    }
    if (watched == cbNavigator_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      CbNavigatorKeyPress(cbNavigator_, QChar(13));
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // A running computation may be using the libraries.
  if (SeriesRunning()) {
    event->ignore();
    return;
  }
  // Each library is asked first and may keep the program open.
  for (int i = 0; i < MDIChildCount(); ++i) {
    TBlank* form = MDIChildren(i);
    if (form && !form->FormCloseQuery()) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

}  // namespace pakro
