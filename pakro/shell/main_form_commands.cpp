// The library commands of the main window: new, open, save and close
// libraries, the navigator and the component commands, and computing. Each
// reaches the active library through DispatchTarget().
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "pakro/shell/blank.h"
#include "pakro/shell/compute_dialogs.h"
#include "pakro/shell/forms.h"
#include "pakro/shell/frame_state.h"
#include "pakro/shell/library_file.h"
#include "pakro/shell/library_names.h"
#include "pakro/shell/main_form.h"
#include "pakro/shell/managers.h"
#include "platform/dialogs.h"
#include "platform/qt_services.h"
#include "platform/text_file.h"

namespace pakro {

namespace {

using platform::qt::fromLegacy;
using platform::qt::fromPath;
using platform::qt::toLegacy;
using platform::qt::toPath;

// The open and save dialogs of libraries.
platform::FileDialogRequest libraryDialog(std::string fileName = {}) {
  platform::FileDialogRequest request;
  request.filter = kLibraryFilter;
  request.fileName = std::move(fileName);
  return request;
}

// Keeps the commands that would close, remove or recompute a library off
// while a computation runs, also when it ends by an exception.
class SeriesScope {
 public:
  explicit SeriesScope(TMainForm* main) : main_(main) { main_->BeginSeries(); }
  ~SeriesScope() { main_->EndSeries(); }
  SeriesScope(const SeriesScope&) = delete;
  SeriesScope& operator=(const SeriesScope&) = delete;

 private:
  TMainForm* main_;
};

void toFirst(DeviceLibrary& list) { list.SetCurrent(1); }
void toPrevious(DeviceLibrary& list) {
  if (list.Current() > 1) list.SetCurrent(list.Current() - 1);
}
void toNext(DeviceLibrary& list) {
  if (list.Current() < list.Count() - 1) list.SetCurrent(list.Current() + 1);
}
void toLast(DeviceLibrary& list) { list.SetCurrent(list.Count() - 1); }
void toDefaults(DeviceLibrary& list) { list.SetCurrent(0); }

}  // namespace

void TMainForm::ReportError(const std::exception& error) {
  platform::messages().show(platform::MessageKind::Error, error.what(), platform::Buttons::Ok);
}

// --- new libraries

void TMainForm::NewLibrary(int kind, const char* caption) {
  try {
    TBlank* form = CreateChild(kind, QString::fromLatin1(caption));
    if (!form) return;
    form->List().AddItem();
    form->ShowData();
    SetCbNavigator();
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

void TMainForm::Diode1Click(QObject*) { NewLibrary(kDiode, "NEWDIODE.LBR"); }
void TMainForm::NPNtransistor1Click(QObject*) { NewLibrary(kNpnTransistor, "NEWNPN.LBR"); }
void TMainForm::PNPTransistor1Click(QObject*) { NewLibrary(kPnpTransistor, "NEWPNP.LBR"); }
void TMainForm::JFETNClick(QObject*) { NewLibrary(kNChannelJfet, "NEWNJFET.LBR"); }
void TMainForm::JFETPClick(QObject*) { NewLibrary(kPChannelJfet, "NEWPJFET.LBR"); }
void TMainForm::NMOSBtnClick(QObject*) { NewLibrary(kNChannelMosfet, "NEWNMOS.LBR"); }
void TMainForm::MPEBClick(QObject*) { NewLibrary(kPChannelMosfet, "NEWPMOS.LBR"); }
void TMainForm::Core1Click(QObject*) { NewLibrary(kMagneticCore, "NEWCORE.LBR"); }

// --- open

void TMainForm::DiscardChild(TBlank* form) {
  for (int i = 0; i < MDIChildCount(); ++i) {
    if (MDIChildren(i) != form) continue;
    QMdiSubWindow* window = ChildWindow(i);
    ChildClosing(form);
    delete window;
    return;
  }
}

void TMainForm::FileOpenItemClick(QObject*) {
  platform::FileDialogRequest request = libraryDialog();
  request.mustExist = true;
  const std::optional<std::string> path = platform::fileDialogs().open(request);
  if (!path) return;
  const std::uint8_t previousType = CurrentType;
  TBlank* form = nullptr;
  try {
    LibraryFile file(*path);
    const LibraryHeader& header = file.ReadLibraryHeader();
    form = CreateChild(header.kind, fromPath(*path));
    if (!form) return;
    form->List().ReadLibrary(file);
    form->ShowData();
    SetCbNavigator();
  } catch (const std::exception& e) {
    // The window made for the file goes again; the library that was
    // active before is the current kind again.
    if (form) DiscardChild(form);
    CurrentType = previousType;
    ReportError(e);
  }
}

// --- save

bool TMainForm::WriteLibraryOf(TBlank* form, const std::string& path) {
  try {
    form->List().WriteLibrary(path);
    return true;
  } catch (const std::exception& e) {
    ReportError(e);
    return false;
  }
}

bool TMainForm::SaveLibrary(TBlank* form, QObject* sender) {
  if (!form) return false;
  const std::string caption = toPath(form->Caption());
  if (DivertsToSaveAs(caption)) return SaveLibraryAs(form, sender);
  form->SendData(sender);
  return WriteLibraryOf(form, caption);
}

bool TMainForm::SaveLibraryAs(TBlank* form, QObject* sender) {
  if (!form) return false;
  const std::optional<std::string> chosen =
      platform::fileDialogs().save(libraryDialog(FileNamePart(toPath(form->Caption()))));
  if (!chosen) return false;
  const std::string name = WithLibraryExtension(*chosen);
  if (platform::fileExists(name) &&
      platform::messages().show(platform::MessageKind::Warning,
                                toLegacy(fromPath(name)) + " already exsists. Do you want to replace it?",
                                platform::Buttons::YesNo) != platform::Answer::Yes)
    return false;
  // The edit still held by the form belongs to what is written.
  form->SendData(sender);
  if (!WriteLibraryOf(form, name)) return false;
  form->SetCaption(fromPath(name));
  UpdateMenuItems();  // the window list shows the new caption
  return true;
}

void TMainForm::FileSaveItemClick(QObject* sender) { SaveLibrary(DispatchTarget(), sender); }

void TMainForm::FileSaveAsItemClick(QObject* sender) { SaveLibraryAs(DispatchTarget(), sender); }

void TMainForm::SaveAll1Click(QObject* sender) {
  // The windows as they are now; a Save As dialog lets other events run.
  std::vector<QPointer<TBlank>> forms;
  for (int i = 0; i < MDIChildCount(); ++i) forms.emplace_back(MDIChildren(i));
  for (const QPointer<TBlank>& form : forms)
    if (form && isDeviceKind(form->Module())) SaveLibrary(form, sender);
}

// --- the navigator and the component commands

void TMainForm::Move(QObject* sender, Step step, TBlank* form) {
  if (!form) form = DispatchTarget();
  if (!form) return;
  form->SendData(sender);
  step(form->List());
  form->ShowData();
  SetCbNavigator();
}

void TMainForm::FirstBtnClick(QObject* sender) { Move(sender, toFirst); }
void TMainForm::PrevBtnClick(QObject* sender) { Move(sender, toPrevious); }
void TMainForm::NextBtnClick(QObject* sender) { Move(sender, toNext); }
void TMainForm::LastBtnClick(QObject* sender) { Move(sender, toLast); }
void TMainForm::Setthedefaultparameters1Click(QObject* sender) { Move(sender, toDefaults); }

bool TMainForm::ShowRecord(TBlank* form, int index, QObject* sender) {
  int window = -1;
  for (int i = 0; i < MDIChildCount(); ++i)
    if (form && MDIChildren(i) == form) window = i;
  if (window < 0 || index < 0 || index >= form->List().Count()) return false;
  if (ActiveMDIChild() != form) ClientArea()->setActiveSubWindow(ChildWindow(window));
  CurrentType = static_cast<std::uint8_t>(form->Module());
  if (form->List().Current() != index) {
    form->SendData(sender);
    form->List().SetCurrent(index);
    form->ShowData();
  }
  SetCbNavigator();
  return true;
}

void TMainForm::CbNavigatorChange(QObject*) {
  TBlank* form = DispatchTarget();
  if (!form) return;
  // An item is selected only while the edit text is that item's; typing
  // leaves no item selected.
  const int item = cbNavigator_->currentIndex();
  if (item < 0 || cbNavigator_->itemText(item) != cbNavigator_->currentText()) return;
  if (item + 1 >= form->List().Count()) return;
  form->List().SetCurrent(item + 1);
  form->ShowData();
}

void TMainForm::CbNavigatorKeyPress(QObject*, QChar key) {
  if (key != QChar(13)) return;
  TBlank* form = DispatchTarget();
  if (!form) return;
  const std::string text = toLegacy(cbNavigator_->currentText()).substr(0, 24);
  const std::optional<int> index = ReadLeadingInteger(text);
  if (!index || *index <= 0 || *index > form->List().Count() - 1) return;
  form->List().SetCurrent(*index);
  form->ShowData();
  SetCbNavigator();
}

void TMainForm::AddBtnClick(QObject* sender) {
  TBlank* form = DispatchTarget();
  if (!form) return;
  DeviceLibrary& list = form->List();
  form->SendData(sender);
  list.AddItem();
  if (NewMode == kNewModePrevious) {
    // The new record becomes a copy of the one before it, as stored.
    list.CopyItem(list.Current() - 1, list.Current());
    list.SetModified(true);
  }
  form->ShowData();
  SetCbNavigator();
  form->ShowFirstPage();
}

void TMainForm::DeleteBtnClick(QObject*) {
  TBlank* form = DispatchTarget();
  if (!form) return;
  DeviceLibrary& list = form->List();
  // The defaults record is no component to remove.
  if (list.Current() <= 0) return;
  if (list.Count() < 3) {
    list.Reset(list.Current());
  } else {
    list.Delete(list.Current());
    if (list.Current() > 1) list.SetCurrent(list.Current() - 1);
  }
  list.SetModified(true);
  form->ShowData();
  SetCbNavigator();
}

// The library of a command that says so when there is none.
TBlank* TMainForm::DispatchTargetOrSay() {
  if (!ActiveMDIChild()) {
    platform::messages().show(platform::MessageKind::Warning, "There are not open Library ",
                              platform::Buttons::Ok);
    return nullptr;
  }
  return DispatchTarget();
}

void TMainForm::BtnClearClick(QObject* sender) {
  TBlank* form = DispatchTargetOrSay();
  if (!form) return;
  form->SendData(sender);
  form->List().Reset(form->List().Current());
  form->List().SetModified(true);
  form->ShowData();
  SetCbNavigator();
}

void TMainForm::BtnPRevClick(QObject*) {
  TBlank* form = DispatchTargetOrSay();
  if (!form) return;
  DeviceLibrary& list = form->List();
  // The defaults record has no record before it.
  if (list.Current() <= 0) return;
  list.CopyItem(list.Current() - 1, list.Current());
  list.SetModified(true);
  form->ShowData();
  SetCbNavigator();
}

// --- computing

void TMainForm::Currentcomponent1Click(QObject* sender) {
  if (CheckDlg) CheckDlg->BatchMode = false;
  ComputeOne(sender);
}

bool TMainForm::ComputeOne(QObject* sender, TBlank* form) {
  if (!form) form = DispatchTarget();
  if (!form) return false;
  // A check dialog still up belongs to an earlier computation.
  if (CheckDlg) CheckDlg->hide();
  bool computed = true;
  try {
    SeriesScope running(this);
    DeviceLibrary& list = form->List();
    form->SendData(sender);
    const int index = list.Current();
    list.Compute(index);
    if (CheckFailed && CheckDlg) CheckDlg->SetFailed(form, index);
  } catch (const std::exception& e) {
    ReportError(e);
    computed = false;
  }
  form->ShowData();
  SetCbNavigator();
  return computed;
}

bool TMainForm::SeriesDone(TBlank* form) const {
  if (!form) form = DispatchTarget();
  if (!form) return true;
  const DeviceLibrary& list = form->List();
  return list.Count() == list.Current() + 1 || CheckFailed != 0;
}

void TMainForm::Allcomponents1Click(QObject* sender) {
  TBlank* form = DispatchTarget();
  if (!form) return;
  FirstBtnClick(sender);
  if (DlgCompute) {
    DlgCompute->SetRow({});
    DlgCompute->LbLibrary->setText(form->Caption());
  }
  if (CheckDlg) CheckDlg->BatchMode = true;
  ComputeSeries(sender);
}

void TMainForm::ComputeSeries(QObject* sender, TBlank* form) {
  if (!form) form = DispatchTarget();
  if (!form) return;
  QPointer<TBlank> library(form);
  {
    SeriesScope running(this);
    if (DlgCompute) {
      // A Cancel pressed from here on ends this series.
      DlgCompute->Cancelled = false;
      DlgCompute->show();
    }
    for (;;) {
      // A computation that failed ends the series.
      if (!ComputeOne(sender, library) || !library || SeriesDone(library)) break;
      if (DlgCompute && DlgCompute->Cancelled) break;
      Move(sender, toNext, library);
    }
    if (DlgCompute) DlgCompute->hide();
  }
}

// --- commands of the managers and the output files

void TMainForm::LibraryManager1Click(QObject*) {
  if (LibraryManager && MDIChildCount() > 0 && !SeriesRunning()) LibraryManager->exec();
}

void TMainForm::CatalogManager1Click(QObject*) {
  if (!CatalogManager || MDIChildCount() == 0 || SeriesRunning()) return;
  CatalogManager->Reset();
  if (CatalogManager->exec() != QDialog::Accepted) return;
  if (platform::messages().show(platform::MessageKind::Confirmation,
                                "The ORVO Catalog Source Code is modified. Would you like to compile "
                                "the ORVO catalog source files now?",
                                platform::Buttons::YesNoHelp, {}, 7) != platform::Answer::Yes)
    return;
  if (!CompileCatalogSource(CatalogManager->Model().Path()))
    platform::messages().show(platform::MessageKind::Error, "File not found.", platform::Buttons::Ok);
}

}  // namespace pakro
