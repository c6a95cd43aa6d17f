#pragma once
// The dialogs of the library manager, the catalog manager and the catalog
// choice. Their lists and what OK does live in the models; the dialogs show
// the models' lists and pass on the user's choices.
#include <QDialog>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "pakro/shell/catalog_manager_model.h"
#include "pakro/shell/library_manager_model.h"

class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace pakro {

class TBlank;

// The lists and copy buttons that both managers share.
class TManagerDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TManagerDialog(QWidget* parent);

  QLabel* SrcLabel;
  QComboBox* CbSrc;
  QListWidget* LsSrc;
  QListWidget* LsDel;
  QListWidget* LsDst;
  QLabel* DstLabel;
  QToolButton* BtCopy;
  QToolButton* BtCopyAll;
  QToolButton* BtCopyBack;
  QToolButton* BtCopyAllBack;
  QFrame* BvSrc;
  QFrame* BvDel;
  QFrame* BvDst;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;

  virtual void CbSrcChange() = 0;
  virtual void CopyClick() = 0;
  virtual void CopyAllClick() = 0;
  virtual void MoveBackClick() = 0;
  virtual void MoveBackAllClick() = 0;
  virtual void OKBtnClick() = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The list that had the focus last (the copy buttons act on it).
  QListWidget* FocusList() const { return focusList_; }
  static std::vector<int> Selected(const QListWidget* list);
  static void Fill(QListWidget* list, const std::vector<std::string>& names);
  void Warn(const std::string& text);
  // The open libraries, in the main window's order of its child windows.
  static std::vector<OpenLibrary> Libraries();
  // The window of a library.
  static TBlank* FormOf(const DeviceLibrary* library);
  // Builds the common layout; `destination` holds the controls above LsDst.
  void Build(QWidget* destination, const char* srcListCaption, const char* dstListCaption,
             const char* delListCaption);
  void ListEnter(QListWidget* list);
  void ListExit(QListWidget* list);

 private:
  QListWidget* focusList_ = nullptr;
};

class TLibraryManager : public TManagerDialog {
  Q_OBJECT
 public:
  explicit TLibraryManager(QWidget* parent = nullptr);
  ~TLibraryManager() override;

  QComboBox* CbDst;

  // The dialog is shown: the lists are made anew from the open libraries.
  void FormActivate();
  void CbSrcChange() override;
  void CbDstChange();
  void CopyClick() override;
  void CopyAllClick() override;
  void MoveBackClick() override;
  void MoveBackAllClick() override;
  void OKBtnClick() override;

  const LibraryManagerModel& Model() const { return model_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowLists();
  void Copy(bool all);
  DeviceLibrary* LoadFile(const std::string& path, int kind);

  LibraryManagerModel model_;
  // The library of a destination file that is not open, until OK opens it.
  std::unique_ptr<TBlank> pending_;
  bool activated_ = false;
};

// "Select Catalog": the catalogs a catalog source file offers.
class TDlgCat : public QDialog {
  Q_OBJECT
 public:
  explicit TDlgCat(QWidget* parent = nullptr);

  void SetEntries(const std::vector<std::string>& entries);
  // The selected entry; -1 when there is none.
  int Selected() const;
  // Selects the first entry.
  void FormActivate();

  QGroupBox* Catalogs;
  QButtonGroup* CatalogButtons;
  QPushButton* OKBtn;

 protected:
  void showEvent(QShowEvent* event) override;
};

class TCatalogManager : public TManagerDialog {
  Q_OBJECT
 public:
  explicit TCatalogManager(QWidget* parent = nullptr);

  QLineEdit* CbDst;
  QToolButton* BtBrowse;
  QLineEdit* CbCat;

  // A new use: source library listed, file and catalog not chosen yet.
  void Reset();
  void FormActivate();
  void CbSrcChange() override;
  void BtBrowseClick();
  void CopyClick() override;
  void CopyAllClick() override;
  void MoveBackClick() override;
  void MoveBackAllClick() override;
  void OKBtnClick() override;

  const CatalogManagerModel& Model() const { return model_; }
  // The file steps of the merge (tests make them fail).
  ReplaceSteps Steps;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowLists();
  void Copy(bool all);

  CatalogManagerModel model_;
};

extern QPointer<TLibraryManager> LibraryManager;
extern QPointer<TDlgCat> DlgCat;
extern QPointer<TCatalogManager> CatalogManager;

}  // namespace pakro
