#pragma once
// The dialogs of the compute commands: the progress dialog of a compute
// series with its Cancel button, and the check dialog shown when a datasheet
// is incomplete. Neither is modal. The computations reach them through the
// compute progress seam, which `installComputeDialogs` points at them.
#include <QDialog>
#include <QPointer>
#include <string>
#include <string_view>

#include "pakro/shell/blank.h"

class QLabel;
class QPushButton;

namespace pakro {

// "Computing parameters for ORVO".
class TDlgCompute : public QDialog {
  Q_OBJECT
 public:
  explicit TDlgCompute(QWidget* parent = nullptr);

  // The user pressed Cancel since the series began: the series ends after
  // the component in progress.
  bool Cancelled = false;

  void CancelBtnClick();

  // One progress mark for the component `name` (legacy code page).
  void Mark(std::string_view name);
  // The progress row as bytes: blanks and marks of code 168.
  const std::string& Row() const { return row_; }
  void SetRow(std::string row);

  QLabel* Label2;
  QLabel* LbLibrary;
  QLabel* Label1;
  QLabel* LbComponent;
  QLabel* Lb;
  QPushButton* CancelBtn;

 protected:
  // Escape and the close box count as Cancel; the series hides the dialog.
  void reject() override;
  // Centred on the screen whenever it is shown.
  void showEvent(QShowEvent* event) override;

 private:
  std::string row_;
};

// "Checking input data".
class TCheckDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TCheckDlg(QWidget* parent = nullptr);

  // The dialog belongs to a series (Continue resumes the series) rather than
  // to a single computation.
  bool BatchMode = false;

  // The library window and record whose check failed: Continue computes
  // them again.
  void SetFailed(TBlank* form, int index);
  TBlank* FailedForm() const { return failedForm_; }
  int FailedIndex() const { return failedIndex_; }

  void Button1Click();  // "Continue..."
  void Button2Click();  // "Cancel"

  // The value that was given but cannot be taken (below the two lines);
  // empty: none, the line is hidden.
  void SetFault(const QString& fault);

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QPushButton* Button1;
  QPushButton* Button2;

 protected:
  void reject() override { Button2Click(); }

 private:
  QPointer<TBlank> failedForm_;
  int failedIndex_ = -1;
};

extern QPointer<TDlgCompute> DlgCompute;
extern QPointer<TCheckDlg> CheckDlg;

// Points the compute progress seam at DlgCompute and CheckDlg (false:
// back to the silent reporter).
void installComputeDialogs(bool install = true);

}  // namespace pakro
