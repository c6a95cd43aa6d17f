#pragma once
// The datasheet form of a bipolar transistor library: TBlankTRN (NPN, kind
// 2) and TBlankTRP (PNP, kind 3), one form that differs only in its titles.
#include <array>
#include <memory>
#include <string_view>

#include "pakro/devices/TRN_.h"
#include "pakro/devices/datasheet_form.h"
#include "pakro/devices/list_library.h"


namespace pakro {

class TBlankBipolar : public TDatasheetForm {
 public:
  explicit TBlankBipolar(Polarity polarity);

  int Module() const override;
  DeviceLibrary& List() override { return *list_; }
  RecordLibrary<TCatBipolar>& Records() { return *list_; }
  void ShowData() override;

  Polarity polarity() const { return polarity_; }

  // The curve panels, in record order.
  CurvePanel& Panel(int which) const { return *panels_[static_cast<std::size_t>(which)]; }
  CurvePanel& PanelICVBE() const { return Panel(0); }
  CurvePanel& PanelICBETA() const { return Panel(1); }
  CurvePanel& PanelICVCE() const { return Panel(2); }
  CurvePanel& PanelVCBCOBO() const { return Panel(3); }
  CurvePanel& PanelVEBCIBO() const { return Panel(4); }

  // A value edit by its object name ("EdHoe").
  QLineEdit* Value(std::string_view name) const { return values_.Named(name); }
  const ValueEdits<TCatBipolar>& Values() const { return values_; }

 protected:
  void GetData(QObject* sender, bool all) override;

 private:
  void FormCreate();
  // The curve of record `index` by its place in record order.
  TGraph& CurveOf(int record, int which);
  std::string TemplateOf(int record, int which);

  Polarity polarity_;
  std::unique_ptr<RecordLibrary<TCatBipolar>> list_;
  std::array<CurvePanel*, 5> panels_{};  // in record order
  ValueEdits<TCatBipolar> values_;
  // The parameter edits with the parameter slot each shows.
  std::vector<std::pair<QLineEdit*, int>> params_;
};

class TBlankTRN final : public TBlankBipolar {
 public:
  TBlankTRN() : TBlankBipolar(Polarity::N) {}
};

class TBlankTRP final : public TBlankBipolar {
 public:
  TBlankTRP() : TBlankBipolar(Polarity::P) {}
};

// Copies the controls of `form` into `record`: names, template names, the
// curve grid that is `sender` (every curve grid when `all`), the two curve
// parameters and the datasheet values.
void GetDataTRN(TCatBipolar& record, QObject* sender, bool all, TBlankBipolar& form);
inline void GetDataTRP(TCatBipolar& record, QObject* sender, bool all, TBlankBipolar& form) {
  GetDataTRN(record, sender, all, form);
}

}  // namespace pakro
