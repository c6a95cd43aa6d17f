#pragma once
// The small forms of the shell: the new-component dialog, the wait message
// shown while a catalog file is read, the about box, and three forms that are
// made at start but opened by no command.
#include <QDialog>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace pakro {

// "New Data Sheet": how Add fills a new component.
class TDlgNew : public QDialog {
  Q_OBJECT
 public:
  explicit TDlgNew(QWidget* parent = nullptr);
  void OKBtnClick();

  QLabel* Label1;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;
  QRadioButton* RadioButton3;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;
};

// The wait message while a catalog source file is read.
class TDlgRd : public QDialog {
  Q_OBJECT
 public:
  explicit TDlgRd(QWidget* parent = nullptr);
  QLabel* Label1;
  QLabel* Label2;
};

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  QLabel* ProductName;
  QLabel* Version;
  QPushButton* OKButton;
};

// "Message": compiling catalog source files.
class TCompForm : public QWidget {
  Q_OBJECT
 public:
  explicit TCompForm(QWidget* parent = nullptr);
  QLabel* Label1;
  QLabel* Label2;
};

// A sizeable window filled by one rich-text edit.
class TListForm : public QWidget {
  Q_OBJECT
 public:
  explicit TListForm(QWidget* parent = nullptr);
  QTextEdit* RichEdit;
};

// "Select Directory": the catalog source directory.
class TSelDirForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSelDirForm(QWidget* parent = nullptr);

  // The directory the directory list shows (with no trailing separator but
  // for the root).
  QString Directory() const { return directory_; }
  void SetDirectory(const QString& path);
  void DirectoryListBox1Change();
  void DriveComboBox1Change();

  QLabel* Heading;
  QLineEdit* EdDir;
  QListWidget* DirectoryListBox1;
  QListWidget* FileListBox1;
  QComboBox* DriveComboBox1;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;

 private:
  QString directory_;
};

}  // namespace pakro
