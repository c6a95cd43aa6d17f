#include "pakro/devices/datasheet_form.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

#include "pakro/shell/forms.h"
#include "pakro/shell/iteration.h"
#include "pakro/shell/main_form.h"
#include "pakro/shell/number_text.h"
#include "pakro/shell/plot_image.h"
#include "platform/dialogs.h"
#include "platform/qt_services.h"
#include "pakro/shell/scaled_string_grid.h"

namespace pakro {

namespace {

constexpr int kTemplateCapacity = 24;
constexpr int kRowHeight = 18;
constexpr QSize kPlotSize(330, 232);

// The axis pair a refused tab names, by tab index.
constexpr const char* kRefusedPair[] = {"", "Log - Lin", "Lin - Log", "Log - Log"};

QLabel* MakeLabel(QWidget* parent, const QString& text, const char* name = nullptr) {
  auto* label = new QLabel(text, parent);
  if (name) label->setObjectName(name);
  return label;
}

}  // namespace

QString FormText(std::string_view legacy) { return platform::qt::fromLegacy(legacy); }

std::string RecordText(const QString& text) { return platform::qt::toLegacy(text); }

QString NumberText(long double value, int precision) {
  return FormText(FloatToText(FloatFormat::General, precision, 2, value));
}

double TextValue(const QString& text) {
  double value = 0;
  int code = 0;
  TextToFloat(CommaToPoint(RecordText(text)), value, code);
  return value;
}

bool IsNumberText(const QString& text) {
  double value = 0;
  int code = 0;
  return TextToFloat(CommaToPoint(RecordText(text)), value, code);
}

namespace {

// A text that was typed but is no number is shown in red, as typed.
const QColor kNotNumberColor(0xc0, 0, 0);

bool ShowsNotNumber(const QString& text) { return !text.isEmpty() && !IsNumberText(text); }

void MarkCell(TScaledStringGrid* grid, int col, int row) {
  if (QTableWidgetItem* cell = grid->item(row, col))
    cell->setData(Qt::ForegroundRole, ShowsNotNumber(cell->text()) ? QVariant(kNotNumberColor) : QVariant());
}

}  // namespace

void MarkNotNumber(QLineEdit* edit) {
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Text, ShowsNotNumber(edit->text()) ? kNotNumberColor
                                                                : QApplication::palette(edit).color(QPalette::Text));
  edit->setPalette(palette);
}

// --- CurvePanel ---------------------------------------------------------------

CurvePanel::CurvePanel(TDatasheetForm& form, const CurveSpec& spec, CurveOf curveOf, TemplateOf templateOf)
    : form_(form), spec_(spec), curveOf_(std::move(curveOf)), templateOf_(std::move(templateOf)) {
  const QString name = QString::fromLatin1(spec.name);
  group_ = new QGroupBox(QString::fromLatin1(spec.groupCaption));
  group_->setObjectName(spec.groupName);

  template_ = new QComboBox(group_);
  template_->setObjectName("Cb" + name + "Ref");
  template_->setEditable(true);
  template_->setInsertPolicy(QComboBox::NoInsert);
  template_->setMinimumWidth(150);

  grid_ = new TScaledStringGrid(group_);
  grid_->setObjectName("Sg" + name);
  grid_->SetColCount(2);
  grid_->SetRowCount(kRows + 1);
  grid_->SetFixedCols(0);
  grid_->SetFixedRows(1);
  grid_->SetDefaultRowHeight(kRowHeight);
  grid_->SetColWidths(0, 76);
  grid_->SetColWidths(1, 76);
  grid_->SetCells(0, 0, QString::fromLatin1(spec.xTitle));
  grid_->SetCells(1, 0, QString::fromLatin1(spec.yTitle));
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  if (spec.paramGridName) {
    paramGrid_ = new TScaledStringGrid(group_);
    paramGrid_->setObjectName(spec.paramGridName);
    paramGrid_->SetColCount(2);
    paramGrid_->SetRowCount(1);
    paramGrid_->SetFixedRows(0);
    paramGrid_->SetFixedCols(1);
    paramGrid_->SetDefaultRowHeight(kRowHeight + 2);
    paramGrid_->SetColWidths(0, 76);
    paramGrid_->SetColWidths(1, 76);
    paramGrid_->SetCells(0, 0, QString::fromLatin1(spec.paramTitle));
    paramGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    paramGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }

  plot_ = new TPlotImage(group_, kPlotSize);
  plot_->setObjectName("Im" + name);
  axisTabs_ = new QTabBar(group_);
  axisTabs_->setObjectName("Ts" + name);
  axisTabs_->setShape(QTabBar::RoundedSouth);
  axisTabs_->setDrawBase(false);
  axisTabs_->setExpanding(false);
  for (std::string_view caption : TGraph::TabCaptions) axisTabs_->addTab(FormText(caption));
  axisTabs_->setCurrentIndex(0);

  auto* left = new QVBoxLayout;
  left->addWidget(MakeLabel(group_, "Template:"));
  left->addWidget(template_);
  left->addWidget(grid_);
  if (paramGrid_) left->addWidget(paramGrid_);
  left->addStretch();
  // The plot takes the room the form gives the group.
  auto* right = new QVBoxLayout;
  right->addWidget(plot_, 1);
  right->addWidget(axisTabs_);
  auto* layout = new QHBoxLayout(group_);
  layout->addLayout(left);
  layout->addLayout(right, 1);
  QObject::connect(plot_, &TPlotImage::Resized, group_, [this] {
    const int current = form_.List().Current();
    if (current >= 0 && current < form_.List().Count()) Redraw(curveOf_(current));
  });
  FitGrids();
  Remember();
}

void CurvePanel::FitGrids() {
  // Rows 0 to 11 in sight; the twelfth point's row is reached by scrolling.
  const int frame = 2 * grid_->frameWidth();
  grid_->setFixedSize(grid_->ColWidths(0) + grid_->ColWidths(1) + frame + grid_->verticalScrollBar()->sizeHint().width(),
                      kRows * grid_->DefaultRowHeight() + frame);
  if (paramGrid_) {
    const int f = 2 * paramGrid_->frameWidth();
    paramGrid_->setFixedSize(paramGrid_->ColWidths(0) + paramGrid_->ColWidths(1) + f,
                             paramGrid_->DefaultRowHeight() + f);
  }
}

void CurvePanel::ClearRows() {
  for (int row = 1; row <= kRows; ++row)
    for (int col = 0; col < 2; ++col) {
      grid_->SetCells(col, row, QString());
      shown_[col][row] = {};
    }
  MarkNotNumbers();
}

void CurvePanel::ShowPoints(const TGraph& curve, int precision) {
  const int n = std::clamp(curve.Count, 0, kRows);
  for (int i = 0; i < n; ++i) {
    const double values[2] = {curve.X[static_cast<std::size_t>(i)], curve.Y[static_cast<std::size_t>(i)]};
    for (int col = 0; col < 2; ++col) {
      const QString text = NumberText(values[col], precision);
      grid_->SetCells(col, i + 1, text);
      shown_[col][i + 1] = {text, values[col]};
    }
  }
  MarkNotNumbers();
}

double CurvePanel::CellValue(int col, int row) const {
  const QString text = grid_->Cells(col, row);
  const Cell& shown = shown_[col][row];
  return text == shown.text ? shown.value : TextValue(text);
}

void CurvePanel::ReadPoints(TGraph& curve) {
  curve.NotNumber = "";
  for (int row = 1; row <= kRows; ++row) {
    if (grid_->Cells(0, row).isEmpty() || grid_->Cells(1, row).isEmpty()) break;
    curve.X[static_cast<std::size_t>(row - 1)] = CellValue(0, row);
    curve.Y[static_cast<std::size_t>(row - 1)] = CellValue(1, row);
    curve.Count = row;
    for (int col = 0; col < 2; ++col)
      if (curve.NotNumber.empty() && !IsNumberText(grid_->Cells(col, row)))
        curve.NotNumber = RecordText(grid_->Cells(col, row));
  }
  // The flags follow the points the curve holds now, also when row 1 was
  // incomplete and the stored points stayed.
  curve.XNonPositive = false;
  curve.YNonPositive = false;
  for (int i = 0; i < std::clamp(curve.Count, 0, kRows); ++i) {
    if (!(curve.X[static_cast<std::size_t>(i)] > 0)) curve.XNonPositive = true;
    if (!(curve.Y[static_cast<std::size_t>(i)] > 0)) curve.YNonPositive = true;
  }
  Remember();
  curve.SortPoints();
  Redraw(curve);
  ShowTab(curve);
}

void CurvePanel::MarkNotNumbers() {
  for (int row = 1; row <= kRows; ++row)
    for (int col = 0; col < 2; ++col) MarkCell(grid_, col, row);
  if (paramGrid_) MarkCell(paramGrid_, 1, 0);
}

void CurvePanel::Remember() {
  for (int row = 1; row <= kRows; ++row)
    for (int col = 0; col < 2; ++col) {
      const QString text = grid_->Cells(col, row);
      Cell& shown = shown_[col][row];
      if (text != shown.text) shown = {text, TextValue(text)};
    }
}

bool CurvePanel::Unchanged() const {
  for (int row = 1; row <= kRows; ++row)
    for (int col = 0; col < 2; ++col)
      if (grid_->Cells(col, row) != shown_[col][row].text) return false;
  return true;
}

void CurvePanel::ShowTemplate(const QString& name) {
  const QSignalBlocker quiet(template_);
  template_->setEditText(name);
  // A long name shows from its start.
  if (!template_->hasFocus()) template_->lineEdit()->setCursorPosition(0);
}

QString CurvePanel::ParamText() const { return paramGrid_ ? paramGrid_->Cells(1, 0) : QString(); }

void CurvePanel::SetParamText(const QString& text) {
  if (!paramGrid_) return;
  paramGrid_->SetCells(1, 0, text);
  shownParam_ = text;
  MarkNotNumbers();
}

bool CurvePanel::ParamUnchanged() const { return ParamText() == shownParam_; }

void CurvePanel::RememberParam() { shownParam_ = ParamText(); }

void CurvePanel::ReadParam(TGraph& curve) const { TakeValue(ParamText(), curve.CurveParamText, curve.CurveParam); }

void CurvePanel::Redraw(TGraph& curve) {
  FittedCurve fitted;
  if (curve.ShowFitted && curve.Count >= 1) curve.ComputeCurve(fitted);
  plot_->Paint([&](PlotCanvas& canvas) {
    if (spec_.loop)
      curve.DrawLoop(canvas, fitted);
    else
      curve.Draw(canvas, fitted);
  });
}

void CurvePanel::ShowTab(const TGraph& curve) {
  const QSignalBlocker quiet(axisTabs_);
  axisTabs_->setCurrentIndex(curve.TabFromScales());
}

void CurvePanel::ScalesFromTab(TGraph& curve) const { curve.ScalesFromTab(axisTabs_->currentIndex()); }

void CurvePanel::FillTemplateList(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    std::string name = templateOf_(i);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
  }
  const QSignalBlocker quiet(template_);
  const QString text = template_->currentText();
  template_->clear();
  for (const std::string& name : names) template_->addItem(FormText(name));
  template_->setEditText(text);
  if (!template_->hasFocus()) template_->lineEdit()->setCursorPosition(0);
}

// --- TDatasheetForm -------------------------------------------------------------

TDatasheetForm::TDatasheetForm(QWidget* parent) : TBlank(parent) {
  connect(qApp, &QApplication::focusChanged, this, &TDatasheetForm::FocusChanged);
}

TDatasheetForm::~TDatasheetForm() {
  // The controls go after this part of the form; their focus changes must
  // not reach it.
  disconnect(qApp, nullptr, this, nullptr);
  // Nor the signals they send while they are taken down (a combo box that
  // loses the focus reports an activation).
  for (QObject* child : findChildren<QObject*>()) child->blockSignals(true);
  for (QWidget* w : keyPress_) w->removeEventFilter(this);
  for (QWidget* w : keyUp_) w->removeEventFilter(this);
}

void TDatasheetForm::BuildNotebook() {
  notebook_ = new QStackedWidget(this);
  notebook_->setObjectName("Notebook");
  tabSet_ = new QTabBar(this);
  tabSet_->setObjectName("TabSet");
  tabSet_->setShape(QTabBar::RoundedSouth);
  tabSet_->setExpanding(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->setSpacing(0);
  layout->addWidget(notebook_, 1);
  layout->addWidget(tabSet_);
  // Selecting a tab, by the user or by a command, shows its page.
  connect(tabSet_, &QTabBar::currentChanged, this, [this] { TabSetClick(tabSet_); });
}

FormPage& TDatasheetForm::AddPage(const char* caption, const char* numberName, const char* suffix) {
  auto page = std::make_unique<FormPage>();
  // Not in the notebook before it is complete: see FinishPages.
  page->widget = new QWidget(notebook_);
  page->widget->setObjectName(QString("Page%1").arg(pages_.size()));
  page->widget->setProperty("caption", QString::fromLatin1(caption));
  auto* outer = new QVBoxLayout(page->widget);
  auto* header = new QHBoxLayout;
  header->addStretch();
  header->addWidget(MakeLabel(page->widget, " Page: "));
  page->number = MakeLabel(page->widget, QString(), numberName);
  header->addWidget(page->number);
  header->addWidget(MakeLabel(page->widget, QString::fromLatin1(suffix)));
  outer->addLayout(header);

  auto* body = new QHBoxLayout;
  page->content = new QVBoxLayout;
  body->addLayout(page->content, 1);
  auto* panel = new QFrame(page->widget);
  panel->setFrameShape(QFrame::StyledPanel);
  page->panel = new QVBoxLayout(panel);
  for (const char* head : {"Parameters", "for", "\"ORVO\"", "[ SI units ]"}) {
    QLabel* label = MakeLabel(panel, QString::fromLatin1(head));
    label->setAlignment(Qt::AlignHCenter);
    page->panel->addWidget(label);
  }
  page->parameters = new QGridLayout;
  page->panel->addLayout(page->parameters);
  page->panel->addStretch();
  body->addWidget(panel);
  outer->addLayout(body, 1);

  pages_.push_back(std::move(page));
  return *pages_.back();
}

void TDatasheetForm::FinishPages() {
  // The grids were laid out for 96 pixels per inch.
  if (logicalDpiY() != 96) {
    ScaleGridsForDpi(this, logicalDpiY());
    for (const auto& panel : curves_) panel->FitGrids();
  }
  // Only complete pages go into the notebook. The page it shows first has
  // its layout settled there and then; a page that was still being filled
  // would keep the size of what it held at that moment, and the form would
  // ask for too small a window.
  for (const auto& page : pages_) notebook_->addWidget(page->widget);
  // The tab set's tabs are the page captions, which selects the first page.
  const QSignalBlocker quiet(tabSet_);
  while (tabSet_->count() > 0) tabSet_->removeTab(0);
  for (const auto& page : pages_) tabSet_->addTab(page->widget->property("caption").toString());
  tabSet_->setCurrentIndex(0);
  TabSetClick(tabSet_);
}

void TDatasheetForm::TabSetClick(QObject*) {
  const int index = tabSet_->currentIndex();
  if (index >= 0 && index < notebook_->count()) notebook_->setCurrentIndex(index);
}

void TDatasheetForm::AddIdentification(FormPage& page, const char* titleName, const QString& title,
                                       bool usageChangeStores) {
  QLabel* heading = MakeLabel(page.widget, title, titleName);
  QFont f = heading->font();
  f.setBold(true);
  f.setPointSize(f.pointSize() + 4);
  heading->setFont(f);
  page.content->addWidget(heading);

  auto* form = new QFormLayout;
  cbComponent_ = new QLineEdit(page.widget);
  cbComponent_->setObjectName("CbComponent");
  cbUsage_ = new QComboBox(page.widget);
  cbUsage_->setObjectName("CbUsage");
  cbUsage_->setEditable(true);
  cbUsage_->setInsertPolicy(QComboBox::NoInsert);
  cbUsage_->setMinimumWidth(220);
  form->addRow("Component name:", cbComponent_);
  form->addRow("Usage:", cbUsage_);
  page.content->addLayout(form);

  connect(cbComponent_, &QLineEdit::textEdited, this, [this] { SendData(cbComponent_); });
  WatchKeys(cbComponent_, false);
  WatchLeaving(cbComponent_);
  WatchKeys(cbUsage_, false);
  if (usageChangeStores) {
    connect(cbUsage_->lineEdit(), &QLineEdit::textEdited, this, [this] { SendData(cbUsage_); });
    connect(cbUsage_, &QComboBox::activated, this, [this] { SendData(cbUsage_); });
  }
  WatchLeaving(cbUsage_);
}

QLabel* TDatasheetForm::AddComponentLabel(FormPage& page, const char* name) {
  auto* row = new QHBoxLayout;
  row->addWidget(MakeLabel(page.widget, "Component:"));
  QLabel* label = MakeLabel(page.widget, QString(), name);
  QFont f = label->font();
  f.setBold(true);
  label->setFont(f);
  row->addWidget(label);
  row->addStretch();
  page.content->addLayout(row);
  nameLabels_.push_back(label);
  return label;
}

void TDatasheetForm::AddStars(FormPage& page) {
  QLabel* stars = MakeLabel(page.widget, "*  *  *");
  stars->setFont(QFont("Symbol"));
  stars->setAlignment(Qt::AlignHCenter);
  page.panel->addWidget(stars);
}

CurvePanel& TDatasheetForm::AddCurve(FormPage& page, const CurveSpec& spec, CurvePanel::CurveOf curveOf,
                                     CurvePanel::TemplateOf templateOf) {
  curves_.push_back(std::make_unique<CurvePanel>(*this, spec, std::move(curveOf), std::move(templateOf)));
  CurvePanel& panel = *curves_.back();
  page.content->addWidget(panel.Group(), 1);

  for (TScaledStringGrid* grid : {panel.Grid(), panel.ParamGrid()}) {
    if (!grid) continue;
    connect(grid, &TScaledStringGrid::KeyPress, this, [this, grid](QChar key) { SgKeyPress(grid, key); });
    connect(grid, &TScaledStringGrid::SetEditText, this, [this, grid] { SgEdited(grid); });
    connect(grid, &TScaledStringGrid::KeyUp, this, [this, grid] { SendData(grid); });
    WatchLeaving(grid);
  }
  QComboBox* combo = panel.Template();
  connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, &panel] { TemplateChange(panel); });
  connect(combo, &QComboBox::activated, this, [this, &panel] { TemplateChange(panel); });
  connect(panel.AxisTabs(), &QTabBar::currentChanged, this, [this, &panel] { AxisTabClick(panel); });
  return panel;
}

QLineEdit* TDatasheetForm::AddParamEdit(FormPage& page, const char* name, const char* caption, bool visible) {
  auto* edit = new QLineEdit(page.widget);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  edit->setMaximumWidth(110);
  QLabel* label = MakeLabel(page.widget, QString::fromLatin1(caption));
  label->setBuddy(edit);
  const int row = page.parameters->rowCount();
  page.parameters->addWidget(label, row, 0, Qt::AlignRight);
  page.parameters->addWidget(edit, row, 1);
  label->setVisible(visible);
  edit->setVisible(visible);
  if (!visible) {
    label->hide();
    edit->hide();
  }
  return edit;
}

QGroupBox* TDatasheetForm::AddGroup(FormPage& page, const char* name, const QString& caption) {
  auto* group = new QGroupBox(caption, page.widget);
  group->setObjectName(name);
  auto* layout = new QFormLayout(group);
  layout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  page.content->addWidget(group);
  return group;
}

QLineEdit* TDatasheetForm::AddValueEdit(QGroupBox* group, const char* name, const QString& label) {
  auto* edit = new QLineEdit(group);
  edit->setObjectName(name);
  edit->setFixedWidth(110);
  static_cast<QFormLayout*>(group->layout())->addRow(label, edit);
  connect(edit, &QLineEdit::textEdited, this, [this, edit] { SendData(edit); });
  connect(edit, &QLineEdit::textChanged, edit, [edit] { MarkNotNumber(edit); });
  WatchKeys(edit, true);
  WatchLeaving(edit);
  return edit;
}

QPushButton* TDatasheetForm::AddDefaultButton(QGroupBox* group, const char* name) {
  auto* button = new QPushButton("Default", group);
  button->setObjectName(name);
  button->setToolTip("Click hier to fill these fields with default values");
  button->setAutoDefault(false);
  static_cast<QFormLayout*>(group->layout())->addRow(QString(), button);
  return button;
}

QPushButton* TDatasheetForm::AddNewButton(FormPage& page) {
  auto* button = new QPushButton("Add new ...", page.widget);
  button->setObjectName("BitBtn1");
  button->setToolTip("Add new component to Library");
  button->setAutoDefault(false);
  page.panel->addWidget(button);
  connect(button, &QPushButton::clicked, this, [button] {
    if (MainForm) MainForm->AddBtnClick(button);
  });
  return button;
}

void TDatasheetForm::WatchLeaving(QWidget* control) { leaving_.push_back(control); }

void TDatasheetForm::WatchKeys(QWidget* control, bool keyPress) {
  // An editable combo box keeps the focus and hands the keys to its line
  // edit itself, so the combo box is the control whose keys are watched.
  control->setProperty("pakroControl", QVariant::fromValue<QObject*>(control));
  control->installEventFilter(this);
  if (keyPress) keyPress_.push_back(control);
  keyUp_.push_back(control);
}

bool TDatasheetForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    auto* w = qobject_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    QObject* control = watched->property("pakroControl").value<QObject*>();
    if (w && control) {
      if (event->type() == QEvent::KeyPress) {
        if (std::find(keyPress_.begin(), keyPress_.end(), w) != keyPress_.end()) {
          QString text = key->text();
          if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) text = QString(QChar(13));
          if (!text.isEmpty()) SgKeyPress(control, text.front());
        }
      } else if (!key->isAutoRepeat()) {
        SendData(control);
      }
    }
  }
  return TBlank::eventFilter(watched, event);
}

QWidget* TDatasheetForm::WatchedControlOf(QWidget* widget) const {
  if (!widget) return nullptr;
  for (QWidget* control : leaving_)
    if (control == widget || control->isAncestorOf(widget)) return control;
  return nullptr;
}

void TDatasheetForm::FocusChanged(QWidget* old, QWidget* now) {
  QWidget* left = WatchedControlOf(old);
  if (!left) return;
  if (now && (now == left || left->isAncestorOf(now))) return;
  SendData(left);
}

CurvePanel* TDatasheetForm::PanelOfGrid(const QObject* grid) const {
  for (const auto& panel : curves_)
    if (panel->Grid() == grid) return panel.get();
  return nullptr;
}

void TDatasheetForm::SendData(QObject* sender) {
  // A curve grid or curve parameter grid whose cells are all as shown holds
  // nothing to store: moving through it neither rounds its points nor
  // changes the library.
  if (CurvePanel* panel = PanelOfGrid(sender); panel && panel->Unchanged()) return;
  for (const auto& panel : curves_)
    if (sender == panel->ParamGrid() && panel->ParamUnchanged()) return;
  StoreForm(sender);
}

void TDatasheetForm::StoreForm(QObject* sender) {
  const int current = List().Current();
  if (current < 0 || current >= List().Count()) return;
  if (sender == cbComponent_) ShowComponentName(cbComponent_->text());
  GetData(sender, false);
  RememberParams();
  List().SetModified(true);
  if (MainForm) MainForm->SetCbNavigator();
}

void TDatasheetForm::SendAllData(QObject* sender) {
  const int current = List().Current();
  if (current < 0 || current >= List().Count()) return;
  GetData(sender, true);
  RememberParams();
  List().SetModified(true);
}

void TDatasheetForm::RememberParams() {
  // GetData reads every curve parameter cell, whatever the sender.
  for (const auto& panel : curves_) panel->RememberParam();
}

void TDatasheetForm::SgKeyPress(QObject* sender, QChar key) {
  if (key == QChar(13)) SendData(sender);
}

void TDatasheetForm::SgEdited(TScaledStringGrid* grid) {
  // Only a changed cell makes the curve the component's own: moving through
  // the grid with Tab or the arrow keys leaves its template as it is.
  if (CurvePanel* panel = PanelOfGrid(grid); panel && panel->Spec().keyPressSetsTemplate)
    panel->ShowTemplate(cbComponent_->text());
  for (const auto& panel : curves_)
    if (grid == panel->Grid() || grid == panel->ParamGrid()) panel->MarkNotNumbers();
  SendData(grid);
}

void TDatasheetForm::TemplateChange(CurvePanel& panel) {
  const std::string wanted = RecordText(panel.Template()->currentText()).substr(0, kTemplateCapacity);
  for (int i = List().Count() - 1; i >= 0; --i) {
    if (panel.TemplateOfRecord(i) != wanted) continue;
    const TGraph& source = panel.CurveOfRecord(i);
    panel.ClearRows();
    panel.ShowPoints(source, kCopyPrecision);
    panel.SetParamText(FormText(source.CurveParamText.str()));
    break;
  }
  StoreForm(panel.Grid());
}

void TDatasheetForm::AxisTabClick(CurvePanel& panel) {
  const int current = List().Current();
  if (current < 0 || current >= List().Count()) return;
  TGraph& curve = panel.CurveOfRecord(current);
  const int tab = panel.AxisTabs()->currentIndex();
  const bool refused = (tab == 1 && curve.XNonPositive) || (tab == 2 && curve.YNonPositive) ||
                       (tab == 3 && (curve.XNonPositive || curve.YNonPositive));
  if (refused) {
    platform::messages().show(platform::MessageKind::Warning,
                              std::string("These data are not viewable on \"") + kRefusedPair[tab] + "\"  graph",
                              platform::Buttons::Ok);
  } else if (tab >= 0 && tab <= 3) {
    curve.XScale = (tab & 1) ? "Log" : "Lin";
    curve.YScale = (tab & 2) ? "Log" : "Lin";
  }
  panel.Redraw(curve);
  panel.ShowTab(curve);
}

void TDatasheetForm::DefaultClick(QObject* sender, const std::vector<std::pair<QLineEdit*, double>>& values) {
  for (const auto& [edit, value] : values) edit->setText(NumberText(value, kCopyPrecision));
  SendData(sender);
}

void TDatasheetForm::ShowPageNumbers(int current) {
  const QString text = current == 0 ? QString() : QString::number(current);
  for (const auto& page : pages_) page->number->setText(text);
}

void TDatasheetForm::ShowComponentName(const QString& name) {
  for (QLabel* label : nameLabels_) label->setText(name);
}

void TDatasheetForm::ShowIdentification(const std::string& name, const std::string& usage) {
  const QString text = FormText(name);
  cbComponent_->setText(text);
  ShowComponentName(text);
  cbUsage_->setEditText(FormText(usage));
}

void TDatasheetForm::FillDropDowns(const std::function<std::string(int record)>& usageOf) {
  std::vector<std::string> distinct;
  for (int i = 1; i < List().Count(); ++i) {
    std::string usage = usageOf(i);
    if (std::find(distinct.begin(), distinct.end(), usage) == distinct.end()) distinct.push_back(std::move(usage));
  }
  {
    const QSignalBlocker quiet(cbUsage_);
    const QString text = cbUsage_->currentText();
    cbUsage_->clear();
    for (const std::string& usage : distinct) cbUsage_->addItem(FormText(usage));
    cbUsage_->setEditText(text);
  }
  for (const auto& panel : curves_) panel->FillTemplateList(List().Count());
}

void TDatasheetForm::ShowParam(QLineEdit* edit, bool computed, long double value) {
  edit->setText(computed ? NumberText(value, kParamPrecision) : QString());
}

void TDatasheetForm::ReportLoadFailure(const std::exception& error) {
  platform::messages().show(platform::MessageKind::Error, error.what(), platform::Buttons::Ok);
}

void TDatasheetForm::StartEngineAndLoadDefaults(const std::function<void()>& load) {
  Iteration = std::make_unique<TIteration>();
  try {
    load();
  } catch (const std::exception& error) {
    ReportLoadFailure(error);
  }
}

void TDatasheetForm::SetHelpContexts(QWidget* add, std::initializer_list<QWidget*> defaults) {
  SetHelpContext(this, 21);
  for (const auto& panel : curves_) {
    SetHelpContext(panel->Template(), 47);
    SetHelpContext(panel->Group(), 46);
  }
  SetHelpContext(add, 45);
  for (QWidget* def : defaults) SetHelpContext(def, 49);
}

void TDatasheetForm::ShowFirstPage() { tabSet_->setCurrentIndex(0); }

}  // namespace pakro
