#pragma once
// The program's forms: one instance each for the whole run, made at start
// in a fixed order with the main window first.
#include <QPointer>
#include <QStringList>

#include "pakro/shell/compute_dialogs.h"
#include "pakro/shell/main_form.h"

namespace pakro {

class TDlgNew;
class TDlgRd;
class TAboutBox;
class TCompForm;
class TListForm;
class TSelDirForm;

extern QPointer<TMainForm> MainForm;
extern QPointer<TListForm> ListForm;
extern QPointer<TDlgNew> DlgNew;
extern QPointer<TDlgRd> DlgRd;
extern QPointer<TCompForm> CompForm;
extern QPointer<TSelDirForm> SelDirForm;
extern QPointer<TAboutBox> AboutBox;

// Makes the forms in their order and shows the main window maximised. The
// datasheet forms of the device kinds come from `deviceForms`. Needs a
// QApplication prepared by the caller. The other forms belong to the main
// window and go with it.
TMainForm* createForms(const DeviceForms& deviceForms = {});

// The names of the forms in the order createForms made them.
const QStringList& formCreationOrder();

}  // namespace pakro
