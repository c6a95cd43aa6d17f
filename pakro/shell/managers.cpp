#include "pakro/shell/managers.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "pakro/shell/blank.h"
#include "pakro/shell/compute_dialogs.h"
#include "pakro/shell/forms.h"
#include "pakro/shell/library_file.h"
#include "pakro/shell/main_form.h"
#include "platform/dialogs.h"
#include "platform/qt_services.h"
#include "pakro/shell/small_dialogs.h"

namespace pakro {

QPointer<TLibraryManager> LibraryManager;
QPointer<TDlgCat> DlgCat;
QPointer<TCatalogManager> CatalogManager;

namespace {

using platform::qt::fromLegacy;
using platform::qt::fromPath;
using platform::qt::toLegacy;
using platform::qt::toPath;

QLabel* label(QWidget* parent, const char* name, const char* caption, bool bold = false) {
  auto* l = new QLabel(QString::fromLatin1(caption), parent);
  l->setObjectName(name);
  if (bold) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
  }
  return l;
}

QToolButton* speedButton(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(QString::fromLatin1(caption));
  b->setFocusPolicy(Qt::NoFocus);
  b->setMinimumSize(36, 26);
  return b;
}

QListWidget* listBox(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  return list;
}

// A frame around a list, drawn only while the list has the focus.
QFrame* bevel(QWidget* parent, const char* name, QListWidget* list) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameShape(QFrame::NoFrame);
  frame->setLineWidth(2);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(3, 3, 3, 3);
  list->setParent(frame);
  layout->addWidget(list);
  return frame;
}

void centre(QWidget* dialog) {
  dialog->adjustSize();
  if (QScreen* screen = dialog->screen()) {
    QRect frame = dialog->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog->move(frame.topLeft());
  }
}

}  // namespace

// --- what both managers share

TManagerDialog::TManagerDialog(QWidget* parent) : QDialog(parent) {
  SrcLabel = label(this, "SrcLabel", "Source Library:", true);
  CbSrc = new QComboBox(this);
  CbSrc->setObjectName("CbSrc");
  CbSrc->setEditable(true);
  CbSrc->setInsertPolicy(QComboBox::NoInsert);
  CbSrc->setMinimumWidth(260);
  LsSrc = listBox(this, "LsSrc");
  LsDel = listBox(this, "LsDel");
  LsDst = listBox(this, "LsDst");
  BvSrc = bevel(this, "BvSrc", LsSrc);
  BvDel = bevel(this, "BvDel", LsDel);
  BvDst = bevel(this, "BvDst", LsDst);
  DstLabel = label(this, "DstLabel", "", true);
  BtCopy = speedButton(this, "BtCopy", ">");
  BtCopyAll = speedButton(this, "BtCopyAll", ">>");
  BtCopyBack = speedButton(this, "BtCopyBack", "<");
  BtCopyAllBack = speedButton(this, "BtCopyAllBack", "<<");
  for (QToolButton* b : {BtCopy, BtCopyAll, BtCopyBack, BtCopyAllBack}) b->setEnabled(false);
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  HelpBtn = new QPushButton("&Help", this);
  HelpBtn->setObjectName("HelpBtn");
  HelpBtn->setAutoDefault(false);
  for (QListWidget* list : {LsSrc, LsDel, LsDst}) list->installEventFilter(this);
  CbSrc->lineEdit()->installEventFilter(this);

  connect(CbSrc, &QComboBox::textActivated, this, [this] { CbSrcChange(); });
  connect(CbSrc->lineEdit(), &QLineEdit::editingFinished, this, [this] { CbSrcChange(); });
  connect(BtCopy, &QToolButton::clicked, this, [this] { CopyClick(); });
  connect(BtCopyAll, &QToolButton::clicked, this, [this] { CopyAllClick(); });
  connect(BtCopyBack, &QToolButton::clicked, this, [this] { MoveBackClick(); });
  connect(BtCopyAllBack, &QToolButton::clicked, this, [this] { MoveBackAllClick(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, [this] {
    if (MainForm) MainForm->ShowHelp(HelpContextOf(this));
  });
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, HelpBtn, &QPushButton::click);
}

void TManagerDialog::Build(QWidget* destination, const char* srcListCaption, const char* dstListCaption,
                           const char* delListCaption) {
  auto* grid = new QGridLayout(this);
  grid->addWidget(SrcLabel, 0, 0);
  grid->addWidget(CbSrc, 1, 0, Qt::AlignTop);
  grid->addWidget(label(this, "Label1", srcListCaption), 2, 0);
  grid->addWidget(BvSrc, 3, 0);
  grid->addWidget(label(this, "LabelDel", delListCaption), 4, 0);
  grid->addWidget(BvDel, 5, 0);
  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  for (QToolButton* b : {BtCopy, BtCopyAll, BtCopyBack, BtCopyAllBack}) buttons->addWidget(b);
  buttons->addStretch();
  grid->addLayout(buttons, 3, 1, 3, 1);
  grid->addWidget(DstLabel, 0, 2);
  grid->addWidget(destination, 1, 2, Qt::AlignTop);
  grid->addWidget(label(this, "Label2", dstListCaption), 2, 2);
  grid->addWidget(BvDst, 3, 2, 3, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(OKBtn);
  bottom->addWidget(CancelBtn);
  bottom->addWidget(HelpBtn);
  grid->addLayout(bottom, 6, 0, 1, 3);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  grid->setRowStretch(3, 3);
  grid->setRowStretch(5, 2);
  LsSrc->setMinimumSize(240, 180);
  LsDel->setMinimumSize(240, 110);
  LsDst->setMinimumSize(240, 300);
}

bool TManagerDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (auto* combo = qobject_cast<QComboBox*>(watched->parent());
        combo && watched == combo->lineEdit() && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
      // Enter takes the typed choice; it does not close the dialog.
      emit combo->lineEdit()->editingFinished();
      return true;
    }
  }
  if (auto* list = qobject_cast<QListWidget*>(watched)) {
    if (event->type() == QEvent::FocusIn) ListEnter(list);
    if (event->type() == QEvent::FocusOut) ListExit(list);
  }
  return QDialog::eventFilter(watched, event);
}

void TManagerDialog::ListEnter(QListWidget* list) {
  focusList_ = list;
  QFrame* frame = list == LsSrc ? BvSrc : list == LsDel ? BvDel : BvDst;
  frame->setFrameShape(QFrame::Box);
  const bool any = list->count() > 0;
  if (list == LsDst) {
    BtCopyBack->setEnabled(any);
    BtCopyAllBack->setEnabled(any);
  } else {
    BtCopy->setEnabled(any);
    BtCopyAll->setEnabled(any);
  }
}

void TManagerDialog::ListExit(QListWidget* list) {
  QFrame* frame = list == LsSrc ? BvSrc : list == LsDel ? BvDel : BvDst;
  frame->setFrameShape(QFrame::NoFrame);
  if (list == LsDst) {
    BtCopyBack->setEnabled(false);
    BtCopyAllBack->setEnabled(false);
  } else {
    BtCopy->setEnabled(false);
    BtCopyAll->setEnabled(false);
  }
}

std::vector<int> TManagerDialog::Selected(const QListWidget* list) {
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) rows.push_back(i);
  return rows;
}

void TManagerDialog::Fill(QListWidget* list, const std::vector<std::string>& names) {
  QStringList items;
  for (const std::string& name : names) items << fromLegacy(name);
  // A list that keeps its names keeps its selection too.
  bool same = list->count() == items.size();
  for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == items[i];
  if (same) return;
  list->clear();
  list->addItems(items);
}

void TManagerDialog::Warn(const std::string& text) {
  platform::messages().show(platform::MessageKind::Warning, text, platform::Buttons::Ok);
}

std::vector<OpenLibrary> TManagerDialog::Libraries() {
  std::vector<OpenLibrary> libraries;
  if (!MainForm) return libraries;
  for (int i = 0; i < MainForm->MDIChildCount(); ++i)
    if (TBlank* form = MainForm->MDIChildren(i))
      libraries.push_back({toPath(form->Caption()), form->Module(), &form->List()});
  return libraries;
}

TBlank* TManagerDialog::FormOf(const DeviceLibrary* library) {
  if (!MainForm) return nullptr;
  for (int i = 0; i < MainForm->MDIChildCount(); ++i)
    if (TBlank* form = MainForm->MDIChildren(i); form && &form->List() == library) return form;
  return nullptr;
}

// --- the library manager

TLibraryManager::TLibraryManager(QWidget* parent) : TManagerDialog(parent) {
  setObjectName("LibraryManager");
  setWindowTitle(" Library Manager");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(true);
  DstLabel->setText("Destination Library:");
  CbDst = new QComboBox(this);
  CbDst->setObjectName("CbDst");
  CbDst->setEditable(true);
  CbDst->setInsertPolicy(QComboBox::NoInsert);
  CbDst->setMinimumWidth(260);
  Build(CbDst, "Componetns:", "Componetns :", "To be deleted : ");
  findChild<QLabel*>("LabelDel")->setObjectName("Label3");
  // FormCreate
  SetHelpContext(this, 6);
  connect(CbDst, &QComboBox::textActivated, this, [this] { CbDstChange(); });
  connect(CbDst->lineEdit(), &QLineEdit::editingFinished, this, [this] { CbDstChange(); });
  CbDst->lineEdit()->installEventFilter(this);
  connect(this, &QDialog::finished, this, [this] {
    activated_ = false;
    pending_.reset();
  });
}

TLibraryManager::~TLibraryManager() = default;

void TLibraryManager::showEvent(QShowEvent* event) {
  // The lists are made when the dialog is shown, not again when it comes
  // back from one of its messages.
  if (!activated_) {
    activated_ = true;
    FormActivate();
    centre(this);
  }
  QDialog::showEvent(event);
}

void TLibraryManager::FormActivate() {
  pending_.reset();
  model_.Start(Libraries());
  ShowLists();
  LsSrc->setFocus();
}

void TLibraryManager::ShowLists() {
  const QSignalBlocker blockSrc(CbSrc);
  const QSignalBlocker blockDst(CbDst);
  CbSrc->clear();
  for (const std::string& text : model_.SourceChoices()) CbSrc->addItem(fromPath(text));
  CbSrc->setEditText(fromPath(model_.SourceText()));
  CbDst->clear();
  for (const std::string& text : model_.DestinationChoices()) CbDst->addItem(fromPath(text));
  CbDst->setEditText(fromPath(model_.DestinationText()));
  Fill(LsSrc, model_.SourceItems());
  Fill(LsDst, model_.DestinationItems());
  Fill(LsDel, model_.DeletedItems());
  if (QListWidget* list = FocusList(); list && list->hasFocus()) ListEnter(list);
}

void TLibraryManager::CbSrcChange() {
  const std::string text = toPath(CbSrc->currentText());
  if (text == model_.SourceText()) return;
  model_.ChooseSource(text, [this](const std::string& t) { Warn(t); });
  ShowLists();
}

DeviceLibrary* TLibraryManager::LoadFile(const std::string& path, int kind) {
  if (!MainForm) return nullptr;
  std::unique_ptr<TBlank> form(MainForm->MakeForm(kind));
  if (!form) return nullptr;
  try {
    LibraryFile file(path);
    const LibraryHeader& header = file.ReadHeader();
    if (header.kind != kind || (header.version != 1 && header.version != 2))
      throw LibraryError(path + " is no library file that this program can read.");
    form->List().ReadLibrary(file);
  } catch (const std::exception& e) {
    platform::messages().show(platform::MessageKind::Error, e.what(), platform::Buttons::Ok);
    return nullptr;
  }
  pending_ = std::move(form);
  return &pending_->List();
}

void TLibraryManager::CbDstChange() {
  const std::string text = toPath(CbDst->currentText());
  if (text == model_.DestinationText()) return;
  std::unique_ptr<TBlank> previous = std::move(pending_);
  const bool taken = model_.ChooseDestination(
      text, [this](const std::string& t) { Warn(t); },
      [this](const std::string& path, int kind) { return LoadFile(path, kind); });
  // A refused choice keeps the destination before it.
  if (!taken && !pending_) pending_ = std::move(previous);
  ShowLists();
}

void TLibraryManager::Copy(bool all) {
  QListWidget* list = FocusList();
  if (list != LsSrc && list != LsDel) return;
  model_.Copy(list == LsSrc ? LibraryManagerModel::From::Source : LibraryManagerModel::From::Deleted,
              Selected(list), all, [this](const std::string& t) { Warn(t); });
  ShowLists();
}

void TLibraryManager::CopyClick() { Copy(false); }
void TLibraryManager::CopyAllClick() { Copy(true); }

void TLibraryManager::MoveBackClick() {
  model_.MoveBack(Selected(LsDst), false);
  ShowLists();
}

void TLibraryManager::MoveBackAllClick() {
  model_.MoveBack({}, true);
  ShowLists();
}

void TLibraryManager::OKBtnClick() {
  const std::vector<DeviceLibrary*> touched =
      model_.Apply([this](int kind, const std::string& caption) -> DeviceLibrary* {
        if (!MainForm) return nullptr;
        if (pending_ && &pending_->List() == model_.DestinationLibrary()) {
          TBlank* form = pending_.release();
          MainForm->AdoptChild(form, fromPath(caption));
          return &form->List();
        }
        TBlank* form = MainForm->CreateChild(kind, fromPath(caption));
        return form ? &form->List() : nullptr;
      });
  for (DeviceLibrary* library : touched)
    if (TBlank* form = FormOf(library)) form->ShowData();
  if (MainForm && !touched.empty()) MainForm->SetCbNavigator();
  accept();
}

// --- the catalog choice

TDlgCat::TDlgCat(QWidget* parent) : QDialog(parent) {
  setObjectName("DlgCat");
  setWindowTitle("Select Catalog");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setModal(true);
  Catalogs = new QGroupBox("Aviable catalogs in the selected file :  ", this);
  Catalogs->setObjectName("Catalogs");
  new QVBoxLayout(Catalogs);
  CatalogButtons = new QButtonGroup(this);
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(Catalogs);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(OKBtn);
  bottom->addStretch();
  layout->addLayout(bottom);
}

void TDlgCat::SetEntries(const std::vector<std::string>& entries) {
  for (QAbstractButton* b : CatalogButtons->buttons()) {
    CatalogButtons->removeButton(b);
    delete b;
  }
  int id = 0;
  for (const std::string& entry : entries) {
    auto* button = new QRadioButton(fromLegacy(entry), Catalogs);
    Catalogs->layout()->addWidget(button);
    CatalogButtons->addButton(button, id++);
  }
}

int TDlgCat::Selected() const { return CatalogButtons->checkedId(); }

void TDlgCat::FormActivate() {
  if (QAbstractButton* first = CatalogButtons->button(0)) {
    first->setChecked(true);
    first->setFocus();
  }
}

void TDlgCat::showEvent(QShowEvent* event) {
  FormActivate();
  centre(this);
  QDialog::showEvent(event);
}

// --- the catalog manager

TCatalogManager::TCatalogManager(QWidget* parent) : TManagerDialog(parent) {
  setObjectName("CatalogManager");
  setWindowTitle(" Catalog Manager");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(true);
  DstLabel->setText("Destination ORVO Catalog file:");
  auto* destination = new QWidget(this);
  auto* grid = new QGridLayout(destination);
  grid->setContentsMargins(0, 0, 0, 0);
  CbDst = new QLineEdit(destination);
  CbDst->setObjectName("CbDst");
  CbDst->setReadOnly(true);
  CbDst->setMinimumWidth(260);
  BtBrowse = speedButton(destination, "BtBrowse", "Browse ...");
  auto* current = label(destination, "Label3", "Current  catalog: ");
  CbCat = new QLineEdit(destination);
  CbCat->setObjectName("CbCat");
  CbCat->setReadOnly(true);
  grid->addWidget(CbDst, 0, 0);
  grid->addWidget(BtBrowse, 0, 1);
  grid->addWidget(current, 1, 0, 1, 2);
  grid->addWidget(CbCat, 2, 0, 1, 2);
  Build(destination, "Components:", "Components:", "To be deleted from Catalog: ");
  SetHelpContext(this, 7);
  connect(BtBrowse, &QToolButton::clicked, this, [this] { BtBrowseClick(); });
}

void TCatalogManager::Reset() {
  model_.Reset(Libraries());
  CbDst->clear();
  CbCat->clear();
  ShowLists();
}

void TCatalogManager::showEvent(QShowEvent* event) {
  FormActivate();
  centre(this);
  QDialog::showEvent(event);
}

void TCatalogManager::FormActivate() {
  ShowLists();
  LsSrc->setFocus();
}

void TCatalogManager::ShowLists() {
  const QSignalBlocker block(CbSrc);
  CbSrc->clear();
  for (const std::string& text : model_.SourceChoices()) CbSrc->addItem(fromPath(text));
  CbSrc->setEditText(fromPath(model_.SourceText()));
  CbDst->setText(fromPath(model_.Path()));
  CbCat->setText(fromLegacy(model_.CatalogEntry()));
  Fill(LsSrc, model_.SourceItems());
  Fill(LsDst, model_.DestinationItems());
  Fill(LsDel, model_.DeletedItems());
  if (QListWidget* list = FocusList(); list && list->hasFocus()) ListEnter(list);
}

void TCatalogManager::CbSrcChange() {
  const std::string text = toPath(CbSrc->currentText());
  if (text == model_.SourceText()) return;
  model_.ChooseSource(text, [this](const std::string& t) { Warn(t); });
  ShowLists();
}

void TCatalogManager::BtBrowseClick() {
  platform::FileDialogRequest request;
  request.filter = "ORVO Catalog File (*.SRC)|*.SRC|All files  (*.*)|*.*";
  request.defaultExtension = "SRC";
  const std::optional<std::string> path = platform::fileDialogs().open(request);
  if (!path) return;
  if (DlgRd) {
    DlgRd->show();
    QApplication::processEvents();
  }
  model_.Browse(
      *path,
      [](const std::vector<CatalogChoice>& catalogs) {
        if (!DlgCat) return 0;
        std::vector<std::string> entries;
        for (const CatalogChoice& c : catalogs) entries.push_back(c.entry);
        DlgCat->SetEntries(entries);
        DlgCat->exec();
        return DlgCat->Selected();
      },
      [this](const std::string& t) {
        if (DlgRd) DlgRd->hide();
        Warn(t);
      });
  if (DlgRd) DlgRd->hide();
  ShowLists();
  activateWindow();
  LsSrc->setFocus();
}

void TCatalogManager::Copy(bool all) {
  QListWidget* list = FocusList();
  if (list != LsSrc && list != LsDel) return;
  model_.Copy(list == LsSrc ? CatalogManagerModel::From::Source : CatalogManagerModel::From::Deleted,
              Selected(list), all, [this](const std::string& t) { Warn(t); });
  ShowLists();
}

void TCatalogManager::CopyClick() { Copy(false); }
void TCatalogManager::CopyAllClick() { Copy(true); }

void TCatalogManager::MoveBackClick() {
  model_.MoveBack(Selected(LsDst), false);
  ShowLists();
}

void TCatalogManager::MoveBackAllClick() {
  model_.MoveBack({}, true);
  ShowLists();
}

void TCatalogManager::OKBtnClick() {
  // The progress dialog must take its Cancel while this dialog is modal:
  // it belongs to this dialog for the time of the merge.
  QPointer<QWidget> progressOwner;
  CatalogManagerModel::MergeHooks hooks;
  hooks.steps = Steps;
  hooks.begin = [&] {
    if (!DlgCompute) return;
    progressOwner = DlgCompute->parentWidget();
    DlgCompute->setParent(this, DlgCompute->windowFlags());
    DlgCompute->Cancelled = false;
    DlgCompute->SetRow({});
    DlgCompute->LbLibrary->setText(CbDst->text());
    DlgCompute->show();
  };
  hooks.computed = [](DeviceLibrary& library) {
    if (TBlank* form = FormOf(&library)) form->ShowData();
  };
  hooks.cancelled = [] { return DlgCompute && DlgCompute->Cancelled; };
  hooks.end = [&] {
    // A failed check is reported with the merge's own message.
    if (CheckDlg) CheckDlg->hide();
    if (!DlgCompute) return;
    DlgCompute->hide();
    if (progressOwner) DlgCompute->setParent(progressOwner, DlgCompute->windowFlags());
  };
  if (model_.Merge(hooks, [this](const std::string& t) { Warn(t); })) accept();
}

}  // namespace pakro
