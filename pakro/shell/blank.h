#pragma once
// The base of the datasheet forms: one child window of the main window per
// open library. A device kind derives its form from it, answers its kind
// code from `Module` and gives the frame its record list and the three data
// operations of the dispatch contract.
#include <QWidget>

#include "pakro/shell/device_library.h"

namespace pakro {

class TBlank : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Module READ Module)

 public:
  explicit TBlank(QWidget* parent = nullptr);

  // The form's device kind code (1 to 8).
  virtual int Module() const = 0;

  // The library this window shows.
  virtual DeviceLibrary& List() = 0;
  const DeviceLibrary& List() const { return const_cast<TBlank*>(this)->List(); }

  // Shows the record at List().Current() on every page of the form.
  virtual void ShowData() = 0;
  // Copies the form's edited values into the current record, marks the
  // library modified and refreshes the navigator.
  virtual void SendData(QObject* sender) = 0;
  // Copies every value of the form into the current record and marks the
  // library modified.
  virtual void SendAllData(QObject* sender) = 0;

  // Shows the first page of the form's page tab set.
  virtual void ShowFirstPage() {}

  // Asked before the window closes (also when the program ends); false
  // keeps it open. A modified library asks whether to save it first: Yes
  // saves this window's library and closes only when it was written, No
  // closes without saving, Cancel keeps the window.
  virtual bool FormCloseQuery();

  // The window became the active child: the current device kind is now its
  // kind, and the navigator lists its components.
  virtual void FormActivate();

  // The caption: the library's file name.
  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& caption) { setWindowTitle(caption); }

 protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace pakro
