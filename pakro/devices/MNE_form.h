#pragma once
// The datasheet form of a MOSFET library: TBlankMNE (N-channel, kind 6) and
// TBlankMPE (P-channel, kind 7), one form that differs in its texts.
#include <array>
#include <memory>
#include <string_view>

#include "pakro/devices/MNE_.h"
#include "pakro/devices/datasheet_form.h"
#include "pakro/devices/list_library.h"

namespace pakro {

class TBlankMOSFET : public TDatasheetForm {
 public:
  explicit TBlankMOSFET(Polarity polarity);

  int Module() const override;
  DeviceLibrary& List() override { return *list_; }
  RecordLibrary<TCatMOSFET>& Records() { return *list_; }
  void ShowData() override;

  Polarity polarity() const { return polarity_; }

  CurvePanel& PanelVGSID() const { return *Curves()[0]; }
  CurvePanel& PanelVDSCRSS() const { return *Curves()[1]; }
  CurvePanel& PanelVDSCOSS() const { return *Curves()[2]; }

  // A datasheet value edit by its object name ("EdQ1").
  QLineEdit* Value(std::string_view name) const { return values_.Named(name); }
  const ValueEdits<TCatMOSFET>& Values() const { return values_; }

 protected:
  void GetData(QObject* sender, bool all) override;

 private:
  void FormCreate();

  Polarity polarity_;
  std::unique_ptr<RecordLibrary<TCatMOSFET>> list_;
  ValueEdits<TCatMOSFET> values_;
  ParamEdits<TCatMOSFET> params_;
};

class TBlankMNE final : public TBlankMOSFET {
 public:
  TBlankMNE() : TBlankMOSFET(Polarity::N) {}
};

class TBlankMPE final : public TBlankMOSFET {
 public:
  TBlankMPE() : TBlankMOSFET(Polarity::P) {}
};

// Copies the controls of `form` into `record`: names, template names, the
// curve grid that is `sender` (every curve grid when `all`) and the
// datasheet values.
void GetDataMNE(TCatMOSFET& record, QObject* sender, bool all, TBlankMOSFET& form);
inline void GetDataMPE(TCatMOSFET& record, QObject* sender, bool all, TBlankMOSFET& form) {
  GetDataMNE(record, sender, all, form);
}

}  // namespace pakro
