#pragma once
// The datasheet form of a diode library (kind 1): identification and the
// forward characteristic, the junction capacitance, and the reverse values.
#include <memory>
#include <string_view>

#include "pakro/devices/DIO_.h"
#include "pakro/devices/datasheet_form.h"
#include "pakro/devices/list_library.h"


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

  // A value edit by its object name ("EdBreakdownVolt").
  QLineEdit* Value(std::string_view name) const { return values_.Named(name); }
  const ValueEdits<TCatDIO>& Values() const { return values_; }

 protected:
  void GetData(QObject* sender, bool all) override;

 private:
  void FormCreate();

  std::unique_ptr<ListLibrary<TCatListDIO, TCatDIO>> list_;
  ValueEdits<TCatDIO> values_;
  ParamEdits<TCatDIO> params_;
};

// Copies the controls of `form` into `record`: names, template names, the
// datasheet values, and the curve grid that is `sender` (every curve
// grid when `all`).
void GetDataDIO(TCatDIO& record, QObject* sender, bool all, TBlankDIO& form);

}  // namespace pakro
