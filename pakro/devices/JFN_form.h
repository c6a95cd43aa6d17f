#pragma once
// The datasheet form of a JFET library: TBlankJFN (N-channel, kind 4) and
// TBlankJFP (P-channel, kind 5), one form that differs in its titles.
#include <array>
#include <memory>
#include <string_view>

#include "pakro/devices/JFN_.h"
#include "pakro/devices/datasheet_form.h"
#include "pakro/devices/list_library.h"

class QRadioButton;

namespace pakro {

class TBlankJFET : public TDatasheetForm {
 public:
  explicit TBlankJFET(Polarity polarity);

  int Module() const override;
  DeviceLibrary& List() override { return *list_; }
  RecordLibrary<TCatJFET>& Records() { return *list_; }
  void ShowData() override;

  Polarity polarity() const { return polarity_; }

  CurvePanel& PanelVGSID() const { return *Curves()[0]; }
  CurvePanel& PanelVXSCRSS() const { return *Curves()[1]; }
  CurvePanel& PanelVGSCISS() const { return *Curves()[2]; }
  QRadioButton* RbvsVGS() const { return rbvsVGS_; }
  QRadioButton* RbvsVDS() const { return rbvsVDS_; }
  // A value edit by its object name ("EdGOS").
  QLineEdit* Value(std::string_view name) const { return values_.Named(name); }
  const ValueEdits<TCatJFET>& Values() const { return values_; }

  // The feedback capacitance is drawn against the gate-source (VGS) or the
  // drain-source voltage (VDS): the choice goes into the current record
  // with the titles that name the abscissa and the curve parameter. A
  // choice of the user marks the library modified.
  void rbvsVGSClick(bool byUser);
  void rbvsVDSClick(bool byUser);

 protected:
  void GetData(QObject* sender, bool all) override;

 private:
  void FormCreate();
  void FeedbackAbscissa(bool drainSource, bool byUser, bool retitle = true);

  Polarity polarity_;
  std::unique_ptr<RecordLibrary<TCatJFET>> list_;
  QRadioButton* rbvsVGS_ = nullptr;
  QRadioButton* rbvsVDS_ = nullptr;
  ValueEdits<TCatJFET> values_;
  ParamEdits<TCatJFET> params_;
};

class TBlankJFN final : public TBlankJFET {
 public:
  TBlankJFN() : TBlankJFET(Polarity::N) {}
};

class TBlankJFP final : public TBlankJFET {
 public:
  TBlankJFP() : TBlankJFET(Polarity::P) {}
};

// Copies the controls of `form` into `record`: names, template names, the
// abscissa choice, the curve grid that is `sender` (every curve grid when
// `all`), the two curve parameters and the output conductance.
void GetDataJFN(TCatJFET& record, QObject* sender, bool all, TBlankJFET& form);
inline void GetDataJFP(TCatJFET& record, QObject* sender, bool all, TBlankJFET& form) {
  GetDataJFN(record, sender, all, form);
}

}  // namespace pakro
