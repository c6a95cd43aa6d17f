#include "pakro/shell/compute_dialogs.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "pakro/shell/blank.h"
#include "pakro/shell/compute_progress.h"
#include "pakro/shell/forms.h"
#include "pakro/shell/main_form.h"
#include "platform/qt_services.h"

namespace pakro {

QPointer<TDlgCompute> DlgCompute;
QPointer<TCheckDlg> CheckDlg;

namespace {

// The progress row as shown: each mark becomes the diamond that the symbol
// font draws for it.
QString shownRow(const std::string& row) {
  QString shown;
  for (char c : row) shown += c == kProgressMark ? QChar(0x2666) : QChar::fromLatin1(c);
  return shown;
}

QLabel* label(QWidget* parent, const char* name, const char* text) {
  auto* l = new QLabel(QString::fromLatin1(text), parent);
  l->setObjectName(name);
  return l;
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(QString::fromLatin1(text), parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

class DialogProgress final : public ComputeProgress {
 public:
  void Mark(std::string_view componentName) override {
    if (DlgCompute) DlgCompute->Mark(componentName);
    // The only moment at which queued window messages (a press of Cancel)
    // are handled during a computation.
    QCoreApplication::processEvents();
  }
  void ShowCheck(std::string_view fault) override {
    if (!CheckDlg) return;
    CheckDlg->SetFault(platform::qt::fromLegacy(fault));
    CheckDlg->show();
    CheckDlg->raise();
  }
};

DialogProgress gDialogProgress;

}  // namespace

void installComputeDialogs(bool install) {
  setComputeProgress(install ? &gDialogProgress : nullptr);
}

// --- the progress dialog

TDlgCompute::TDlgCompute(QWidget* parent) : QDialog(parent) {
  setObjectName("DlgCompute");
  setWindowTitle("Computing parameters for ORVO");
  setModal(false);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  Label2 = label(this, "Label2", "Library : ");
  LbLibrary = label(this, "LbLibrary", "");
  Label1 = label(this, "Label1", "Component : ");
  LbComponent = label(this, "LbComponent", "");
  Lb = label(this, "Lb", "");
  CancelBtn = button(this, "CancelBtn", "Cancel");
  connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });

  auto* grid = new QGridLayout;
  grid->addWidget(Label2, 0, 0);
  grid->addWidget(LbLibrary, 0, 1);
  grid->addWidget(Label1, 1, 0);
  grid->addWidget(LbComponent, 1, 1);
  grid->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(CancelBtn);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(Lb);
  layout->addLayout(buttons);
  setMinimumWidth(360);
  // The form starts with one mark.
  SetRow(std::string(1, kProgressMark));
}

void TDlgCompute::CancelBtnClick() { Cancelled = true; }

void TDlgCompute::reject() { CancelBtnClick(); }

void TDlgCompute::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QScreen* s = screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(s->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TDlgCompute::SetRow(std::string row) {
  row_ = std::move(row);
  Lb->setText(shownRow(row_));
}

void TDlgCompute::Mark(std::string_view name) {
  LbComponent->setText(platform::qt::fromLegacy(name));
  SetRow(NextProgressRow(row_));
}

// --- the check dialog

TCheckDlg::TCheckDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("CheckDlg");
  setWindowTitle("Checking input data");
  setModal(false);
  // Always on top, and no buttons in the title bar.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowStaysOnTopHint);
  Label1 = label(this, "Label1", "This Data Sheet is not completely filled.");
  Label2 = label(this, "Label2", "Please fill the empty fields before processing!");
  for (QLabel* l : {Label1, Label2}) {
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
  }
  // What was given but cannot be taken, when that is why the check failed.
  Label3 = label(this, "Label3", "");
  Label3->setWordWrap(true);
  Label3->setStyleSheet("color: #c00000");
  Label3->hide();
  Button1 = button(this, "Button1", "Continue...");
  Button2 = button(this, "Button2", "Cancel");
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  layout->addWidget(Label3);
  layout->addLayout(buttons);
}

void TCheckDlg::SetFault(const QString& fault) {
  Label3->setText(fault);
  Label3->setVisible(!fault.isEmpty());
  adjustSize();
}

void TCheckDlg::SetFailed(TBlank* form, int index) {
  failedForm_ = form;
  failedIndex_ = index;
}

void TCheckDlg::Button1Click() {
  // A computation already running finishes first; the dialog stays.
  if (!MainForm || MainForm->SeriesRunning()) return;
  hide();
  TBlank* form = failedForm_;
  const int index = failedIndex_;
  failedForm_ = nullptr;
  if (!form || !MainForm->ShowRecord(form, index, Button1)) return;
  if (BatchMode)
    MainForm->ComputeSeries(Button1, form);
  else
    MainForm->ComputeOne(Button1, form);
}

void TCheckDlg::Button2Click() { hide(); }

}  // namespace pakro
