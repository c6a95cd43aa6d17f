#include "pakro/shell/small_dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "pakro/shell/frame_state.h"
#include "platform/dialogs.h"

namespace pakro {

namespace {

QLabel* boldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont f = label->font();
  f.setBold(true);
  label->setFont(f);
  return label;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  return b;
}

void showHelpContents() { platform::requestHelp(HelpFile, 0); }

constexpr Qt::WindowFlags kDialogBorder =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace

TDlgNew::TDlgNew(QWidget* parent) : QDialog(parent, kDialogBorder) {
  setObjectName("DlgNew");
  setWindowTitle("New Data Sheet");
  Label1 = new QLabel("The data sheet of the new component should be ...", this);
  RadioButton1 = new QRadioButton("... cleared", this);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton2 = new QRadioButton("... filled with default data", this);
  RadioButton2->setObjectName("RadioButton2");
  RadioButton3 = new QRadioButton("... filled with data of the previous component", this);
  RadioButton3->setObjectName("RadioButton3");
  RadioButton1->setChecked(true);
  RadioButton2->hide();
  OKBtn = button("OK", "OKBtn", this);
  OKBtn->setDefault(true);
  CancelBtn = button("Cancel", "CancelBtn", this);
  HelpBtn = button("&Help", "HelpBtn", this);

  auto* choices = new QVBoxLayout;
  choices->addWidget(Label1);
  choices->addWidget(RadioButton1);
  choices->addWidget(RadioButton2);
  choices->addWidget(RadioButton3);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpBtn);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(choices);
  layout->addLayout(buttons);

  connect(OKBtn, &QPushButton::clicked, this, &TDlgNew::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, [] { showHelpContents(); });
}

void TDlgNew::OKBtnClick() {
  if (RadioButton1->isChecked()) NewMode = kNewModeCleared;
  if (RadioButton2->isChecked()) NewMode = kNewModeDefaults;
  if (RadioButton3->isChecked()) NewMode = kNewModePrevious;
  accept();
}

TDlgRd::TDlgRd(QWidget* parent) : QDialog(parent, kDialogBorder) {
  setObjectName("DlgRd");
  setWindowTitle("     ");
  Label1 = boldLabel("Reading  catalog  file . . .", this);
  Label2 = boldLabel("Please wait...", this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
}

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("AboutBox");
  setWindowTitle("PAKRO");
  ProductName = boldLabel("Parameter Extractor for ORVO", this);
  Version = new QLabel("Version 1.01", this);
  OKButton = button("OK", "OKButton", this);
  OKButton->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ProductName, 0, Qt::AlignHCenter);
  layout->addWidget(Version, 0, Qt::AlignHCenter);
  layout->addWidget(OKButton, 0, Qt::AlignHCenter);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

TCompForm::TCompForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
  setObjectName("CompForm");
  setWindowTitle("Message");
  Label1 = boldLabel("Compiling catalog source files... ", this);
  Label2 = boldLabel("Please wait...", this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
}

TListForm::TListForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("ListForm");
  RichEdit = new QTextEdit(this);
  RichEdit->setObjectName("RichEdit");
  RichEdit->setPlainText("RichEdit");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(RichEdit);
  resize(400, 300);
}

TSelDirForm::TSelDirForm(QWidget* parent) : QDialog(parent, kDialogBorder) {
  setObjectName("SelDirForm");
  setWindowTitle("Select Directory");
  Heading = boldLabel("Please specity the ORVO Catalog Source  (CLCC) Directory!", this);
  EdDir = new QLineEdit(this);
  EdDir->setObjectName("EdDir");
  EdDir->setReadOnly(true);
  DirectoryListBox1 = new QListWidget(this);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  FileListBox1 = new QListWidget(this);
  FileListBox1->setObjectName("FileListBox1");
  DriveComboBox1 = new QComboBox(this);
  DriveComboBox1->setObjectName("DriveComboBox1");
  for (const QFileInfo& drive : QDir::drives()) DriveComboBox1->addItem(drive.absoluteFilePath());
  OKBtn = button("OK", "OKBtn", this);
  OKBtn->setDefault(true);
  CancelBtn = button("Cancel", "CancelBtn", this);
  HelpBtn = button("&Help", "HelpBtn", this);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Directory Name :", this), 0, 0);
  grid->addWidget(EdDir, 1, 0, 1, 2);
  grid->addWidget(new QLabel("Directories :", this), 2, 0);
  grid->addWidget(DirectoryListBox1, 3, 0);
  grid->addWidget(new QLabel("Files  ( *.* ) :", this), 2, 1);
  grid->addWidget(FileListBox1, 3, 1);
  grid->addWidget(new QLabel("Drives :", this), 4, 0);
  grid->addWidget(DriveComboBox1, 5, 0);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading);
  layout->addLayout(grid);
  layout->addLayout(buttons);

  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, [] { showHelpContents(); });
  // Choosing a directory in the list (double click or Enter) moves into it.
  connect(DirectoryListBox1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    SetDirectory(item->data(Qt::UserRole).toString());
  });
  connect(DriveComboBox1, &QComboBox::activated, this, [this] { DriveComboBox1Change(); });

  SetDirectory(QDir::currentPath());
}

void TSelDirForm::SetDirectory(const QString& path) {
  QDir dir(path);
  if (!dir.exists()) return;
  directory_ = QDir::cleanPath(dir.absolutePath());
  // The list holds the path from the root down to the directory, then the
  // directory's subdirectories.
  DirectoryListBox1->clear();
  QStringList parts = directory_.split('/', Qt::SkipEmptyParts);
  QString walked = "/";
  auto* rootItem = new QListWidgetItem("/", DirectoryListBox1);
  rootItem->setData(Qt::UserRole, walked);
  QString indent;
  for (const QString& part : parts) {
    indent += "  ";
    walked = QDir::cleanPath(walked + "/" + part);
    auto* item = new QListWidgetItem(indent + part, DirectoryListBox1);
    item->setData(Qt::UserRole, walked);
  }
  DirectoryListBox1->setCurrentRow(DirectoryListBox1->count() - 1);
  indent += "  ";
  for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    auto* item = new QListWidgetItem(indent + sub, DirectoryListBox1);
    item->setData(Qt::UserRole, QDir::cleanPath(directory_ + "/" + sub));
  }
  DirectoryListBox1Change();
}

void TSelDirForm::DirectoryListBox1Change() {
  FileListBox1->clear();
  FileListBox1->addItems(QDir(directory_).entryList(QDir::Files, QDir::Name));
  EdDir->setText(directory_);
}

void TSelDirForm::DriveComboBox1Change() {
  if (DriveComboBox1->currentIndex() >= 0) SetDirectory(DriveComboBox1->currentText());
}

}  // namespace pakro
