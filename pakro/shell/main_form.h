#pragma once
// The main window of the parameter extractor: a multiple-document frame with
// the menus, the toolbar with the component navigator, and one child window
// per open library. Every library command acts on the active child window
// through the dispatch contract (`DispatchTarget`).
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <exception>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace pakro {

class TBlank;
class DeviceLibrary;

// Makes the datasheet form of one device kind (index = kind code 1 to 8).
using FormFactory = std::function<TBlank*()>;
using DeviceForms = std::array<FormFactory, 9>;

// The help context number of a menu item or control (0 for none). F1 asks
// the help file for the context of the highlighted menu item, or else of the
// focused control or the nearest of its parents that has one.
int HelpContextOf(const QObject* object);
void SetHelpContext(QObject* object, int context);

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(const DeviceForms& forms = {}, QWidget* parent = nullptr);
  ~TMainForm() override;

  // --- child windows, in the order they were created
  int MDIChildCount() const { return static_cast<int>(children_.size()); }
  TBlank* MDIChildren(int index) const;
  QMdiSubWindow* ChildWindow(int index) const;
  // The active child window, or nullptr when none is open.
  TBlank* ActiveMDIChild() const;
  QMdiArea* ClientArea() const { return mdiArea_; }

  // The window a dispatched command acts on: the active child, when
  // CurrentType names a device kind and the active child is of that kind;
  // otherwise nullptr and the command does nothing.
  TBlank* DispatchTarget() const;

  // Create the datasheet window of a kind as a new, active child window
  // captioned `caption`. Answers nullptr when the kind has no form.
  TBlank* CreateChild(int kind, const QString& caption);
  // The datasheet form of a kind, not yet a child window (nullptr when the
  // kind has none); AdoptChild makes such a form a new, active child window.
  TBlank* MakeForm(int kind);
  void AdoptChild(TBlank* form, const QString& caption);
  TBlank* CreateDIO(const QString& caption);
  TBlank* CreateTRN(const QString& caption);
  TBlank* CreateTRP(const QString& caption);
  TBlank* CreateJFN(const QString& caption);
  TBlank* CreateJFP(const QString& caption);
  TBlank* CreateMNE(const QString& caption);
  TBlank* CreateMPE(const QString& caption);
  TBlank* CreateCOR(const QString& caption);

  // Enables what needs an open library when one is open.
  void UpdateMenuItems();
  // Lists the components of the active library in the navigator.
  void SetCbNavigator();
  // Empties the navigator (its items and its text).
  void ClearNavigator();

  // While a compute series runs, the commands that would close, remove,
  // open or recompute libraries are disabled and no library window closes.
  void BeginSeries();
  void EndSeries();
  bool SeriesRunning() const { return seriesDepth_ > 0; }

  // A child window accepted its close; it leaves the list at once.
  void ChildClosing(TBlank* form);

  // --- library files of one window (the active one for the menu commands;
  // the asking one for a close question). Each answers whether the library
  // was written; a failure has been reported to the user.
  // Writes the library under its caption; a library not yet saved under a
  // chosen name goes to SaveLibraryAs.
  bool SaveLibrary(TBlank* form, QObject* sender);
  // Asks for a file name and writes the library there; the caption takes
  // the name once the file is written.
  bool SaveLibraryAs(TBlank* form, QObject* sender);

  // Makes `form` the active window and record `index` its shown record (the
  // record shown before gets the form's edits first). False when the window
  // or the record no longer exists.
  bool ShowRecord(TBlank* form, int index, QObject* sender);

  // --- computing (form: the library to compute, by default the active one)
  // Computes the current record of the library and shows the result. False
  // when the computation failed (the user has been told why) or there was
  // no library.
  bool ComputeOne(QObject* sender, TBlank* form = nullptr);
  // Computes the library's records from the current one on, showing the
  // progress dialog, until the last record, a failed check or Cancel.
  void ComputeSeries(QObject* sender, TBlank* form = nullptr);
  // The record just computed is the library's last, or its check failed;
  // also true when there is no library to compute.
  bool SeriesDone(TBlank* form = nullptr) const;
  // Computes every component of the library for an output file; true when
  // the series reached the last component. Otherwise the user is told why
  // `what` was not written.
  bool ComputeAllForOutput(QObject* sender, TBlank* form, const std::string& what);

  // Opens the help file at a context number (0: its contents).
  void ShowHelp(int context);

  QComboBox* CbNavigator() const { return cbNavigator_; }
  QToolBar* SpeedPanel() const { return speedPanel_; }
  QMenu* WindowMenu() const { return windowMenu_; }

  // --- commands (sender: the menu item, button or control that ran it)
  void Diode1Click(QObject* sender);
  void NPNtransistor1Click(QObject* sender);
  void PNPTransistor1Click(QObject* sender);
  void JFETNClick(QObject* sender);
  void JFETPClick(QObject* sender);
  void NMOSBtnClick(QObject* sender);
  void MPEBClick(QObject* sender);
  void Core1Click(QObject* sender);
  void FileOpenItemClick(QObject* sender);
  void FileSaveItemClick(QObject* sender);
  void FileSaveAsItemClick(QObject* sender);
  void SaveAll1Click(QObject* sender);
  void FileCloseItemClick(QObject* sender);
  void LibraryManager1Click(QObject* sender);
  void CatalogManager1Click(QObject* sender);
  void CompileORVOCatalogSource1Click(QObject* sender);
  void CreateSPICELibrary1Click(QObject* sender);
  void WriteMPLfile1Click(QObject* sender);
  void FileExitItemClick(QObject* sender);
  void FirstBtnClick(QObject* sender);
  void PrevBtnClick(QObject* sender);
  void NextBtnClick(QObject* sender);
  void LastBtnClick(QObject* sender);
  void AddBtnClick(QObject* sender);
  void DeleteBtnClick(QObject* sender);
  void BtnClearClick(QObject* sender);
  void BtnPRevClick(QObject* sender);
  void ClearedDefaultPrevious1Click(QObject* sender);
  void Setthedefaultparameters1Click(QObject* sender);
  void Currentcomponent1Click(QObject* sender);
  void Allcomponents1Click(QObject* sender);
  void WindowCascadeItemClick(QObject* sender);
  void WindowTileItemClick(QObject* sender);
  void WindowArrangeItemClick(QObject* sender);
  void WindowMinimizeItemClick(QObject* sender);
  void Contents1Click(QObject* sender);
  void HelpAboutItemClick(QObject* sender);
  void CbNavigatorChange(QObject* sender);
  void CbNavigatorKeyPress(QObject* sender, QChar key);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using Handler = void (TMainForm::*)(QObject*);
  void FormCreate();
  void BuildMenus();
  void BuildToolbar();
  QAction* AddItem(QMenu* menu, const char* name, const char* caption, Handler handler,
                   const char* shortcut = nullptr);
  QToolButton* AddButton(const char* name, const char* hint, Handler handler,
                         const char* caption = nullptr, const char* glyph = nullptr);
  void SubWindowActivated(QMdiSubWindow* window);
  void RemoveChild(QMdiSubWindow* window);
  void FillWindowList();
  void HelpForFocus();
  void NewLibrary(int kind, const char* caption);
  TBlank* DispatchTargetOrSay();
  using Step = void (*)(DeviceLibrary&);
  void Move(QObject* sender, Step step, TBlank* form = nullptr);
  bool WriteLibraryOf(TBlank* form, const std::string& path);
  // Shows a failure of a command to the user.
  void ReportError(const std::exception& error);
  // Takes away a window that was made for a library that could not be read.
  void DiscardChild(TBlank* form);
  QAction* Item(const char* name) const;
  QWidget* Control(const char* name) const;

  DeviceForms forms_;
  QMdiArea* mdiArea_ = nullptr;
  QToolBar* speedPanel_ = nullptr;
  QComboBox* cbNavigator_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  QAction* windowListStart_ = nullptr;
  std::vector<QPointer<QMdiSubWindow>> children_;
  QPointer<QMdiSubWindow> lastActive_;
  int seriesDepth_ = 0;
};

}  // namespace pakro
