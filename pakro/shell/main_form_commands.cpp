// The library commands of the main window that are not built yet. Each is
// bound to its menu item or button already; none of them acts so far. When
// built, each reaches the active library through DispatchTarget().
#include "main_form.h"

namespace pakro {

void TMainForm::Diode1Click(QObject*) {}
void TMainForm::NPNtransistor1Click(QObject*) {}
void TMainForm::PNPTransistor1Click(QObject*) {}
void TMainForm::JFETNClick(QObject*) {}
void TMainForm::JFETPClick(QObject*) {}
void TMainForm::NMOSBtnClick(QObject*) {}
void TMainForm::MPEBClick(QObject*) {}
void TMainForm::Core1Click(QObject*) {}
void TMainForm::FileOpenItemClick(QObject*) {}
void TMainForm::FileSaveItemClick(QObject*) {}
void TMainForm::FileSaveAsItemClick(QObject*) {}
void TMainForm::SaveAll1Click(QObject*) {}
void TMainForm::LibraryManager1Click(QObject*) {}
void TMainForm::CatalogManager1Click(QObject*) {}
void TMainForm::CompileORVOCatalogSource1Click(QObject*) {}
void TMainForm::CreateSPICELibrary1Click(QObject*) {}
void TMainForm::WriteMPLfile1Click(QObject*) {}
void TMainForm::FirstBtnClick(QObject*) {}
void TMainForm::PrevBtnClick(QObject*) {}
void TMainForm::NextBtnClick(QObject*) {}
void TMainForm::LastBtnClick(QObject*) {}
void TMainForm::AddBtnClick(QObject*) {}
void TMainForm::DeleteBtnClick(QObject*) {}
void TMainForm::BtnClearClick(QObject*) {}
void TMainForm::BtnPRevClick(QObject*) {}
void TMainForm::Setthedefaultparameters1Click(QObject*) {}
void TMainForm::Currentcomponent1Click(QObject*) {}
void TMainForm::Allcomponents1Click(QObject*) {}
void TMainForm::CbNavigatorChange(QObject*) {}
void TMainForm::CbNavigatorKeyPress(QObject*, QChar) {}

}  // namespace pakro
