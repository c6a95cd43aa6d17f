#pragma once
// The datasheet form of a MOSFET library: TBlankMNE (N-channel, kind 6) and
// TBlankMPE (P-channel, kind 7), one form that differs in its texts.
#include <array>
#include <memory>

#include "MNE_.h"
#include "datasheet_form.h"
#include "list_library.h"

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

  // The eight datasheet edits in record order: EdQ0, EdQ1, EdQ2, EdVG,
  // EdVDS1, EdVDS2, EdVDS, EdIDSS.
  enum Value { Q0, Q1, Q2, VG, VDS1, VDS2, VDS, IDSS, kValues };
  QLineEdit* Edit(Value v) const { return values_[v]; }

  void BBDef1Click(QObject* sender);
  void BBDef2Click(QObject* sender);

 protected:
  void GetData(QObject* sender, bool all) override;

 private:
  void FormCreate();

  Polarity polarity_;
  std::unique_ptr<RecordLibrary<TCatMOSFET>> list_;
  std::array<QLineEdit*, kValues> values_{};
  // EdVTO, EdKP, EdL, EdW, EdRS, EdRDS, EdVJ, EdCJBD, EdMJ, EdCGSO, EdCGDO
  std::array<QLineEdit*, 11> params_{};
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
// curve grid that is `sender` (every curve grid when `all`) and the eight
// datasheet values.
void GetDataMNE(TCatMOSFET& record, QObject* sender, bool all, TBlankMOSFET& form);
inline void GetDataMPE(TCatMOSFET& record, QObject* sender, bool all, TBlankMOSFET& form) {
  GetDataMNE(record, sender, all, form);
}

}  // namespace pakro
