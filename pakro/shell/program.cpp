#include "pakro/shell/program.h"

#include <QApplication>
#include <QScreen>

#include "pakro/shell/managers.h"
#include "platform/qt_services.h"
#include "pakro/shell/small_dialogs.h"

namespace pakro {

QPointer<TMainForm> MainForm;
QPointer<TListForm> ListForm;
QPointer<TDlgNew> DlgNew;
QPointer<TDlgRd> DlgRd;
QPointer<TCompForm> CompForm;
QPointer<TSelDirForm> SelDirForm;
QPointer<TAboutBox> AboutBox;

namespace {

QStringList gCreationOrder;

template <typename Form>
Form* made(Form* form) {
  gCreationOrder << form->objectName();
  return form;
}

}  // namespace

const QStringList& formCreationOrder() { return gCreationOrder; }

TMainForm* createForms(const DeviceForms& deviceForms) {
  gCreationOrder.clear();
  MainForm = made(new TMainForm(deviceForms));
  MainForm->setAttribute(Qt::WA_DeleteOnClose);
  ListForm = made(new TListForm(MainForm));
  DlgNew = made(new TDlgNew(MainForm));
  DlgCompute = made(new TDlgCompute(MainForm));
  LibraryManager = made(new TLibraryManager(MainForm));
  DlgCat = made(new TDlgCat(MainForm));
  DlgRd = made(new TDlgRd(MainForm));
  CatalogManager = made(new TCatalogManager(MainForm));
  CheckDlg = made(new TCheckDlg(MainForm));
  installComputeDialogs();
  CompForm = made(new TCompForm(MainForm));
  SelDirForm = made(new TSelDirForm(MainForm));
  AboutBox = made(new TAboutBox(MainForm));
  // Maximised; the full screen also where no window manager maximises it.
  if (QScreen* screen = MainForm->screen()) MainForm->setGeometry(screen->availableGeometry());
  MainForm->showMaximized();
  return MainForm;
}

int runProgram(int argc, char** argv, const DeviceForms& deviceForms) {
  QApplication app(argc, argv);
  platform::qt::prepareApplication(app, kApplicationTitle);
  createForms(deviceForms);
  return app.exec();
}

}  // namespace pakro
