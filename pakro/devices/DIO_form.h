#pragma once
// The datasheet form of a diode library (kind 1): identification and the
// forward characteristic, the junction capacitance, and the reverse values.
#include <array>
#include <memory>

#include "DIO_.h"
#include "datasheet_form.h"
#include "list_library.h"


namespace pakro {

class TBlankDIO final : public TDatasheetForm {
 public:
  TBlankDIO();

  int Module() const override;
  DeviceLibrary& List() override { return *list_; }
  RecordLibrary<TCatDIO>& Records() { return *list_; }
  void ShowData() override;

  CurvePanel& PanelVDID() const { return *Curves()[0]; }
  CurvePanel& PanelVRCJ() const { return *Curves()[1]; }

  QLineEdit* EdBreakdownVolt() const { return values_[0]; }
  QLineEdit* EdBreakdownCurr() const { return values_[1]; }
  QLineEdit* EdZenerResist() const { return values_[2]; }
  QLineEdit* EdForwCurr() const { return values_[3]; }
  QLineEdit* EdRevForwRatio() const { return values_[4]; }
  QLineEdit* EdRecoveryTime() const { return values_[5]; }

  void BBDef1Click(QObject* sender);
  void BBDef2Click(QObject* sender);
  void BBDef3Click(QObject* sender);

 protected:
  void GetData(QObject* sender, bool all) override;

 private:
  void FormCreate();

  std::unique_ptr<ListLibrary<TCatListDIO, TCatDIO>> list_;
  std::array<QLineEdit*, 6> values_{};
  // EdIS, EdN, EdRS, EdCJ, EdVJ, EdMJ, EdBV, EdRP, EdRZ, EdTT
  std::array<QLineEdit*, 10> params_{};
};

// Copies the controls of `form` into `record`: names, template names, the
// six datasheet values, and the curve grid that is `sender` (every curve
// grid when `all`).
void GetDataDIO(TCatDIO& record, QObject* sender, bool all, TBlankDIO& form);

}  // namespace pakro
