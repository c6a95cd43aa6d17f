#include "pakro/devices/COR_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "pakro/shell/frame_state.h"
#include "pakro/shell/iteration.h"
#include "pakro/shell/main_form.h"
#include "pakro/devices/model_compute.h"
#include "pakro/shell/number_text.h"
#include "pakro/shell/scaled_string_grid.h"

namespace pakro {

namespace {

constexpr int kRows = TGraph::MaxPoints;

// A branch grid: H and B, points in rows 1 to 12.
void SetUpBranchGrid(TScaledStringGrid& grid, const TScaledStringGrid& like) {
  grid.SetColCount(2);
  grid.SetRowCount(kRows + 1);
  grid.SetFixedCols(0);
  grid.SetFixedRows(1);
  grid.SetDefaultRowHeight(like.DefaultRowHeight());
  grid.SetColWidths(0, like.ColWidths(0));
  grid.SetColWidths(1, like.ColWidths(1));
  grid.SetCells(0, 0, "  H [A/m]");
  grid.SetCells(1, 0, "  B [T]");
  grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

// The place the two branch grids share, one page each. It takes the size of
// branch B, the grid the curve panel fits to its rows (also when the grids
// are scaled to the screen), and branch A fills the same place.
class BranchPages final : public QStackedWidget {
 public:
  explicit BranchPages(QWidget* parent) : QStackedWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }
  QSize sizeHint() const override { return minimumSizeHint(); }
};

}  // namespace

void MirrorBranch(const TScaledStringGrid& source, TScaledStringGrid& target) {
  for (int q = 1; q <= kRows; ++q)
    for (int col = 0; col < 2; ++col) {
      const QString text = source.Cells(col, q);
      QString mirrored;
      if (!text.isEmpty())
        mirrored = FormText(CommaToPoint(FloatToText(FloatFormat::General, kCopyPrecision, 2, -TextValue(text))));
      target.SetCells(col, kRows + 1 - q, mirrored);
    }
  auto emptyRow = [&target](int row) { return target.Cells(0, row).isEmpty() && target.Cells(1, row).isEmpty(); };
  int p = 0;
  while (p < kRows && emptyRow(p + 1)) ++p;
  if (p == 0 || p == kRows) return;
  for (int q = 1; q <= kRows - p; ++q)
    for (int col = 0; col < 2; ++col) {
      target.SetCells(col, q, target.Cells(col, q + p));
      target.SetCells(col, q + p, QString());
    }
}

TBlankCOR::TBlankCOR() { FormCreate(); }

int TBlankCOR::Module() const { return kMagneticCore; }

TScaledStringGrid* TBlankCOR::SgBH() const { return PanelBH().Grid(); }

void TBlankCOR::FormCreate() {
  setObjectName("BlankCOR");
  BuildNotebook();

  FormPage& a = AddPage("A: Hysteric curve", "LbNumberA", "/ A");
  AddIdentification(a, "LbDataSheetTitle", "Core Data Sheet", false);
  CurveSpec spec{"BH", "GbBH", "Core characteristics", "  H [A/m]", "  B [T]"};
  spec.loop = true;
  CurvePanel& bh = AddCurve(a, spec, [this](int r) -> TGraph& { return Records().Items(r).BH; },
                            [this](int r) { return Records().Items(r).BHRef.str(); });
  // The two branch grids share one place under the template, one page each.
  auto* columns = static_cast<QHBoxLayout*>(bh.Group()->layout());
  auto* left = static_cast<QVBoxLayout*>(columns->itemAt(0)->layout());
  TScaledStringGrid* sgBH = bh.Grid();
  const int at = left->indexOf(sgBH);
  left->removeWidget(sgBH);
  notebook1_ = new BranchPages(bh.Group());
  notebook1_->setObjectName("Notebook1");
  sgBH2_ = new TScaledStringGrid;
  sgBH2_->setObjectName("SgBH2");
  SetUpBranchGrid(*sgBH2_, *sgBH);
  notebook1_->addWidget(sgBH2_);
  notebook1_->addWidget(sgBH);
  tabSet1_ = new QTabBar(bh.Group());
  tabSet1_->setObjectName("TabSet1");
  tabSet1_->setShape(QTabBar::RoundedSouth);
  tabSet1_->setExpanding(false);
  tabSet1_->addTab("Branch 'A'");
  tabSet1_->addTab("Branch'B'");
  left->insertWidget(at, notebook1_);
  left->insertWidget(at + 1, tabSet1_);
  connect(tabSet1_, &QTabBar::currentChanged, this, [this] { TabSet1Click(); });
  connect(sgBH, &TScaledStringGrid::SetEditText, this, [this] { SgBHSetEditText(); });
  connect(sgBH2_, &TScaledStringGrid::SetEditText, this, [this] {
    SgBH2SetEditText();
    SendData(sgBH2_);
  });
  connect(sgBH2_, &TScaledStringGrid::KeyPress, this, [this](QChar key) { BranchKeyPress(sgBH2_, key); });
  connect(sgBH2_, &TScaledStringGrid::KeyUp, this, [this] { SendData(sgBH2_); });
  WatchLeaving(sgBH2_);
  AddParams(a, params_,
            {BoundParam<&TCatCOR::A>("EdA", "A:"), BoundParam<&TCatCOR::C>("EdC", "C:"),
             BoundParam<&TCatCOR::K>("EdK", "K:"), BoundParam<&TCatCOR::MS>("EdMS", "MS:")});

  FormPage& b = AddPage("B: Geometrical parameters ", "LbNumberC", "/ C");
  AddComponentLabel(b, "LbComponentC");
  QPushButton* def1 = AddValueGroup<TCatCOR>(
      b, values_,
      {"GroupBox4", "Geometric parameters", "BBDef1",
       {BoundValue<&TCatCOR::DsAreaText, &TCatCOR::DsArea>("EdArea_", QString::fromUtf8("Area [cm\u00B2]:")),
        BoundValue<&TCatCOR::DsLengthText, &TCatCOR::DsLength>("EdLen_", "Length [cm]:"),
        BoundValue<&TCatCOR::DsGapText, &TCatCOR::DsGap>("EdGap_", "Gap [mm]:"),
        BoundValue<&TCatCOR::DsPackText, &TCatCOR::DsPack>("EdPack_", "Pack [-]:")}},
      [this]() -> const TCatCOR& { return Records().Items(0); });
  b.content->addStretch();
  AddParams(b, params_,
            {BoundParam<&TCatCOR::Area>("EdArea", "Area:"), BoundParam<&TCatCOR::Length>("EdLen", "Length:"),
             BoundParam<&TCatCOR::Gap>("EdGap", "Gap:"), BoundParam<&TCatCOR::Pack>("EdPack", "Pack:")});
  AddParamEdit(b, "EdEG", "EG:", false);
  QPushButton* add = AddNewButton(b);
  FinishPages();
  {
    const QSignalBlocker quiet(tabSet1_);
    tabSet1_->setCurrentIndex(0);
  }
  TabSet1Click();

  std::function<void()> loadDefaults;
  list_ = MakeListLibrary<TCatListCOR, TCatCOR>(&ComputeCOR, loadDefaults);
  StartEngineAndLoadDefaults(loadDefaults);
  SetHelpContexts(add, {def1});
}

void TBlankCOR::SendData(QObject* sender) {
  TDatasheetForm::SendData(sender == sgBH2_ ? SgBH() : sender);
}

void TBlankCOR::TabSet1Click() { notebook1_->setCurrentIndex(tabSet1_->currentIndex()); }

void TBlankCOR::SgBH2SetEditText() { MirrorBranch(*sgBH2_, *SgBH()); }

void TBlankCOR::SgBHSetEditText() { MirrorBranch(*SgBH(), *sgBH2_); }

void TBlankCOR::BranchKeyPress(QObject* grid, QChar key) {
  // Typing into either branch makes the loop the component's own.
  PanelBH().ShowTemplate(CbComponent()->text());
  if (key == QChar(13)) SendData(grid);
}

void TBlankCOR::TemplateChange(CurvePanel& panel) {
  TDatasheetForm::TemplateChange(panel);
  MirrorBranch(*SgBH(), *sgBH2_);
}

void TBlankCOR::GetData(QObject* sender, bool all) { GetDataCOR(Records().CurrentItem(), sender, all, *this); }

void GetDataCOR(TCatCOR& record, QObject* sender, bool all, TBlankCOR& form) {
  record.Name = RecordText(form.CbComponent()->text());
  record.BHRef = record.Name.str();
  record.Usage = RecordText(form.CbUsage()->currentText());
  record.BHRef = RecordText(form.PanelBH().Template()->currentText());
  form.Values().Read(record);
  if (all || sender == form.SgBH() || sender == form.SgBH2()) form.PanelBH().ReadPoints(record.BH);
}

void TBlankCOR::ShowData() {
  const int current = List().Current();
  if (current < 0 || current >= List().Count()) return;
  TCatCOR& r = Records().Items(current);

  ShowPageNumbers(current);
  ShowIdentification(r.Name.str(), r.Usage.str());
  PanelBH().ShowTemplate(FormText(r.BHRef.str()));
  values_.Show(r);

  PanelBH().ScalesFromTab(r.BH);
  PanelBH().ShowTab(r.BH);
  PanelBH().ClearRows();
  for (int row = 1; row <= kRows; ++row)
    for (int col = 0; col < 2; ++col) sgBH2_->SetCells(col, row, QString());
  // Branch B as stored, branch A as its mirror image, both at copy precision.
  PanelBH().ShowPoints(r.BH, kCopyPrecision);
  const int n = std::clamp(r.BH.Count, 0, kRows);
  for (int i = 1; i <= n; ++i) {
    sgBH2_->SetCells(0, n - i + 1, NumberText(-r.BH.X[static_cast<std::size_t>(i - 1)], kCopyPrecision));
    sgBH2_->SetCells(1, n - i + 1, NumberText(-r.BH.Y[static_cast<std::size_t>(i - 1)], kCopyPrecision));
  }
  PanelBH().Redraw(r.BH);
  params_.Show(r, r.Computed);

  FillDropDowns([this](int i) { return Records().Items(i).Usage.str(); });
}

}  // namespace pakro
