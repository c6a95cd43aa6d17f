#pragma once
// The datasheet form of a magnetic core library (kind 8): the B-H loop as
// two mirrored branch grids with the loop plot, and the core geometry.
#include <string_view>
#include <memory>

#include "pakro/devices/COR_.h"
#include "pakro/devices/datasheet_form.h"
#include "pakro/devices/list_library.h"

class QStackedWidget;
class QTabBar;

namespace pakro {

class TBlankCOR final : public TDatasheetForm {
 public:
  TBlankCOR();

  int Module() const override;
  DeviceLibrary& List() override { return *list_; }
  RecordLibrary<TCatCOR>& Records() { return *list_; }
  void ShowData() override;
  // Branch A holds nothing of its own to store: what is typed there is in
  // branch B already, so moving through it changes nothing.
  void SendData(QObject* sender) override;

  CurvePanel& PanelBH() const { return *Curves()[0]; }
  // Branch B, the branch the record keeps.
  TScaledStringGrid* SgBH() const;
  // Branch A: the points of branch B mirrored through the origin.
  TScaledStringGrid* SgBH2() const { return sgBH2_; }
  QTabBar* TabSet1() const { return tabSet1_; }
  QStackedWidget* Notebook1() const { return notebook1_; }

  // A geometry edit by its object name ("EdArea_").
  QLineEdit* Value(std::string_view name) const { return values_.Named(name); }
  const ValueEdits<TCatCOR>& Values() const { return values_; }

  // A cell of one branch was typed into: the other branch follows.
  void SgBH2SetEditText();
  void SgBHSetEditText();
  void TabSet1Click();
  void TemplateChange(CurvePanel& panel) override;

 protected:
  void GetData(QObject* sender, bool all) override;

 private:
  void FormCreate();
  void BranchKeyPress(QObject* grid, QChar key);

  std::unique_ptr<ListLibrary<TCatListCOR, TCatCOR>> list_;
  TScaledStringGrid* sgBH2_ = nullptr;
  QTabBar* tabSet1_ = nullptr;
  QStackedWidget* notebook1_ = nullptr;
  ValueEdits<TCatCOR> values_;
  ParamEdits<TCatCOR> params_;
};

// Writes into `target` the rows of `source` mirrored through the origin, in
// reverse order and packed from row 1: point (H, B) in row q of the source
// becomes (-H, -B) in row 13 - q, then the rows move up over the empty rows
// that lead. Cells set here report no edit, so the source is not rewritten
// in turn.
void MirrorBranch(const TScaledStringGrid& source, TScaledStringGrid& target);

// Copies the controls of `form` into `record`: names, usage, template name
// and geometry always; the points of branch B when a branch grid is
// `sender` or when `all`.
void GetDataCOR(TCatCOR& record, QObject* sender, bool all, TBlankCOR& form);

}  // namespace pakro
