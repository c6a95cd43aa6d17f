#pragma once
// What every datasheet form shares: the notebook of pages with its tab set
// along the bottom, the identification controls, the curve panels (template
// combo, grid of points, plot, axis tabs), the value edits with their
// default buttons, the read-only parameter panels, the save question, and
// the wiring that stores the form into the current record on every user
// edit. A device kind builds its pages from these pieces and says how its
// record is read from and written to them.
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pakro/shell/blank.h"
#include "pakro/shell/graph.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QStackedWidget;
class QTabBar;
class QVBoxLayout;

namespace pakro {

class TPlotImage;
class TScaledStringGrid;
class TDatasheetForm;

// Legacy record text to a control's text and back.
QString FormText(std::string_view legacy);
std::string RecordText(const QString& text);
// A number as the forms show it: general format at the given precision.
QString NumberText(long double value, int precision);
// TextToFloat of the text with a "," taken as ".": the value, or what the
// failed reading yields.
double TextValue(const QString& text);
// The text is read as a number (a "," taken as ".").
bool IsNumberText(const QString& text);
// Shows the edit's text in red while it is typed but no number.
void MarkNotNumber(QLineEdit* edit);

// A value's text as typed into the record's text field and its value.
template <class Text>
void TakeValue(const QString& text, Text& field, double& value) {
  field = RecordText(text);
  value = TextValue(text);
}

// Precisions of the forms: fitted parameters, bipolar curve points, and
// the diode's points and every template or default copy.
inline constexpr int kParamPrecision = 3;
inline constexpr int kCopyPrecision = 8;

// One value edit of a form bound to its record field: what the edit is
// called and labelled, how its text goes into the record (text and value),
// what it shows of the record, and the value its group's "Default" button
// copies in from the defaults record.
template <class Record>
struct ValueField {
  const char* name;  // object name, "EdBreakdownVolt"
  QString caption;
  void (*take)(const QString& text, Record& record);
  QString (*shown)(const Record& record);
  double (*value)(const Record& record);
};

namespace detail {
template <class Member>
struct MemberOf;
template <class Class, class Type>
struct MemberOf<Type Class::*> {
  using type = Class;
};
}  // namespace detail

// The value edit of a record's text member and value member.
template <auto Text, auto Value, class Record = typename detail::MemberOf<decltype(Value)>::type>
ValueField<Record> BoundValue(const char* name, const QString& caption) {
  return {name, caption, [](const QString& text, Record& r) { TakeValue(text, r.*Text, r.*Value); },
          [](const Record& r) { return FormText((r.*Text).str()); },
          [](const Record& r) { return static_cast<double>(r.*Value); }};
}

// A group of value edits, with its "Default" button when it has a name.
template <class Record>
struct ValueGroup {
  const char* name;  // "GroupBox4"
  QString caption;
  const char* defaultName;  // "BBDef1", or nullptr
  std::vector<ValueField<Record>> fields;
  // Puts what goes above the edits into the group.
  std::function<void(QGroupBox* group)> above = nullptr;
};

// The value edits of a form in the order they were made, each with its
// field: the one place that reads them into the record and shows them.
template <class Record>
class ValueEdits {
 public:
  void Add(QLineEdit* edit, const ValueField<Record>& field, int group) {
    bound_.push_back({edit, field, group});
  }
  std::size_t size() const { return bound_.size(); }
  QLineEdit* At(std::size_t i) const { return bound_.at(i).edit; }
  // The edit of that object name (nullptr if none).
  QLineEdit* Named(std::string_view name) const {
    for (const Bound& b : bound_)
      if (name == b.field.name) return b.edit;
    return nullptr;
  }
  void Read(Record& record) const {
    for (const Bound& b : bound_) b.field.take(b.edit->text(), record);
  }
  void Show(const Record& record) const {
    for (const Bound& b : bound_) b.edit->setText(b.field.shown(record));
  }
  // The edits of a group with the defaults record's values.
  std::vector<std::pair<QLineEdit*, double>> Defaults(int group, const Record& defaults) const {
    std::vector<std::pair<QLineEdit*, double>> values;
    for (const Bound& b : bound_)
      if (b.group == group) values.emplace_back(b.edit, b.field.value(defaults));
    return values;
  }
  int NextGroup() { return groups_++; }

 private:
  struct Bound {
    QLineEdit* edit;
    ValueField<Record> field;
    int group;
  };
  std::vector<Bound> bound_;
  int groups_ = 0;
};

// One read-only parameter edit bound to the model value it shows.
template <class Record>
struct ParamField {
  const char* name;  // "EdIS"
  const char* caption;
  long double (*value)(const Record& record);
  bool visible = true;
};

// The parameter edit of a record member.
template <auto Member, class Record = typename detail::MemberOf<decltype(Member)>::type>
ParamField<Record> BoundParam(const char* name, const char* caption, bool visible = true) {
  return {name, caption, [](const Record& r) { return static_cast<long double>(r.*Member); }, visible};
}

// The parameter edits of a form with the values they show.
template <class Record>
class ParamEdits {
 public:
  void Add(QLineEdit* edit, const ParamField<Record>& field) { bound_.push_back({edit, field}); }
  std::size_t size() const { return bound_.size(); }
  QLineEdit* At(std::size_t i) const { return bound_.at(i).edit; }
  // Empties the edits, or fills them at precision 3 when computed.
  void Show(const Record& record, bool computed) const;

 private:
  struct Bound {
    QLineEdit* edit;
    ParamField<Record> field;
  };
  std::vector<Bound> bound_;
};

// How one curve panel is named and titled.
struct CurveSpec {
  const char* name;          // "ICVBE": grid Sg<name>, combo Cb<name>Ref, plot Im<name>, tabs Ts<name>
  const char* groupName;     // "Gb1"
  const char* groupCaption;
  const char* xTitle;        // row-0 titles of the grid
  const char* yTitle;
  const char* paramGridName = nullptr;  // a one-row grid for the curve parameter, e.g. "Sg2ICBETA"
  const char* paramTitle = nullptr;
  bool keyPressSetsTemplate = true;  // an edit in the grid makes the curve the component's own
  bool loop = false;                 // plotted as a loop through the origin (B-H curves)
};

// One curve of the form. The record's curve and template name are reached
// by record index, so a template can be looked up in any record.
class CurvePanel {
 public:
  using CurveOf = std::function<TGraph&(int record)>;
  using TemplateOf = std::function<std::string(int record)>;

  CurvePanel(TDatasheetForm& form, const CurveSpec& spec, CurveOf curveOf, TemplateOf templateOf);

  const CurveSpec& Spec() const { return spec_; }
  QGroupBox* Group() const { return group_; }
  QComboBox* Template() const { return template_; }
  TScaledStringGrid* Grid() const { return grid_; }
  TScaledStringGrid* ParamGrid() const { return paramGrid_; }
  TPlotImage* Plot() const { return plot_; }
  QTabBar* AxisTabs() const { return axisTabs_; }

  // Empties rows 1 to 12.
  void ClearRows();
  // Rows 1 to Count from the curve's points at the given precision.
  void ShowPoints(const TGraph& curve, int precision);
  // Reads the rows into the curve: up to the first row with an empty cell;
  // a curve whose row 1 is incomplete keeps its points. A cell whose text is
  // still what the form put there gives back the exact value behind it.
  // Then sorts, redraws and shows the tab of the scales in force.
  void ReadPoints(TGraph& curve);
  // No cell differs from what was shown or last read.
  bool Unchanged() const;
  // Shows the cells typed but not numbers in red.
  void MarkNotNumbers();

  // Puts a name into the template combo without running its handlers.
  void ShowTemplate(const QString& name);

  // The curve parameter cell of the parameter grid.
  QString ParamText() const;
  void SetParamText(const QString& text);
  // The parameter cell holds what was shown or last stored.
  bool ParamUnchanged() const;
  // Takes the parameter cell's text as stored.
  void RememberParam();
  // Reads the parameter cell into the curve's parameter text and value.
  void ReadParam(TGraph& curve) const;

  // The fitted curve when ShowFitted is set, then the whole picture.
  void Redraw(TGraph& curve);
  // The axis tab of the curve's scales, selected without running the tab's handler.
  void ShowTab(const TGraph& curve);
  // The curve's scales from the selected axis tab.
  void ScalesFromTab(TGraph& curve) const;
  // Sizes the grids to their rows and columns: rows 0 to 11 of the curve
  // grid in sight, the parameter grid whole.
  void FitGrids();
  // The drop-down list of template names of records 0 to Count-1, each once;
  // the combo's text stays.
  void FillTemplateList(int count);

  TGraph& CurveOfRecord(int record) const { return curveOf_(record); }
  std::string TemplateOfRecord(int record) const { return templateOf_(record); }

 private:
  static constexpr int kRows = TGraph::MaxPoints;
  struct Cell {
    QString text;
    double value = 0;
  };
  double CellValue(int col, int row) const;
  void Remember();

  TDatasheetForm& form_;
  CurveSpec spec_;
  CurveOf curveOf_;
  TemplateOf templateOf_;
  QGroupBox* group_ = nullptr;
  QComboBox* template_ = nullptr;
  TScaledStringGrid* grid_ = nullptr;
  TScaledStringGrid* paramGrid_ = nullptr;
  TPlotImage* plot_ = nullptr;
  QTabBar* axisTabs_ = nullptr;
  Cell shown_[2][kRows + 1];  // what the form last put into or read from each cell
  QString shownParam_;        // likewise for the parameter cell
};

// One page of the notebook: a header with the page number, the kind's
// content on the left and the read-only parameter panel on the right.
struct FormPage {
  QWidget* widget = nullptr;
  QVBoxLayout* content = nullptr;
  QGridLayout* parameters = nullptr;
  QVBoxLayout* panel = nullptr;  // the right-hand column, below the parameters
  QLabel* number = nullptr;
};

class TDatasheetForm : public TBlank {
  Q_OBJECT
 public:
  explicit TDatasheetForm(QWidget* parent = nullptr);
  ~TDatasheetForm() override;

  // --- the dispatch contract
  void SendData(QObject* sender) override;
  void SendAllData(QObject* sender) override;
  void ShowFirstPage() override;

  // Empties the parameter edits or fills them at precision 3.
  static void ShowParam(QLineEdit* edit, bool computed, long double value);

  // --- the pages
  QTabBar* TabSet() const { return tabSet_; }
  QStackedWidget* Notebook() const { return notebook_; }
  // Shows the page of the selected tab.
  void TabSetClick(QObject* sender);

  // --- controls every form has
  QLineEdit* CbComponent() const { return cbComponent_; }
  QComboBox* CbUsage() const { return cbUsage_; }
  const std::vector<std::unique_ptr<CurvePanel>>& Curves() const { return curves_; }
  CurvePanel* PanelOfGrid(const QObject* grid) const;

  // --- handlers shared by the kinds
  // A key went down in a grid or value edit: Enter stores the form.
  void SgKeyPress(QObject* sender, QChar key);
  // A cell of a grid was changed by typing: in a curve grid this makes the
  // curve the component's own template; the form is stored.
  void SgEdited(TScaledStringGrid* grid);
  // Copies the curve of the highest-index record whose template name for
  // this curve is the combo's text, then stores the grid.
  virtual void TemplateChange(CurvePanel& panel);
  // Sets the curve's scales from its axis tab, refusing a log axis for data
  // not greater than 0, and redraws.
  void AxisTabClick(CurvePanel& panel);
  // The default button's edits from the defaults record at precision 8,
  // then stores the form.
  void DefaultClick(QObject* sender, const std::vector<std::pair<QLineEdit*, double>>& values);

 protected:
  // Copies the controls into the current record (all: every curve grid too,
  // not only the sender's).
  virtual void GetData(QObject* sender, bool all) = 0;

  // Stores the form into the current record, marks the library modified and
  // refreshes the navigator.
  void StoreForm(QObject* sender);
  // The curve parameter cells as they are now count as stored.
  void RememberParams();

  // --- building the form
  // Makes the notebook; call first.
  void BuildNotebook();
  // A page with its tab caption and its number label "LbNumber<x>" + suffix.
  FormPage& AddPage(const char* caption, const char* numberName, const char* suffix);
  // Title, "Component name:" with CbComponent and "Usage:" with CbUsage.
  // With usageChangeStores a change of the usage (typed or picked) stores
  // the form at once; otherwise leaving the box or a key release does.
  void AddIdentification(FormPage& page, const char* titleName, const QString& title,
                         bool usageChangeStores);
  // "Component:" and a label that repeats the name.
  QLabel* AddComponentLabel(FormPage& page, const char* name);
  // The decorative "*  *  *".
  void AddStars(FormPage& page);
  CurvePanel& AddCurve(FormPage& page, const CurveSpec& spec, CurvePanel::CurveOf curveOf,
                       CurvePanel::TemplateOf templateOf);
  // A read-only parameter edit of the right-hand panel, not in the tab order.
  QLineEdit* AddParamEdit(FormPage& page, const char* name, const char* caption, bool visible = true);
  // A group of the page's content.
  QGroupBox* AddGroup(FormPage& page, const char* name, const QString& caption);
  // A value edit in a group: a user edit, a key release and leaving it store the form.
  QLineEdit* AddValueEdit(QGroupBox* group, const char* name, const QString& label);
  // A "Default" button at the bottom of a group.
  QPushButton* AddDefaultButton(QGroupBox* group, const char* name);
  // A group of bound value edits on the page, in table order; its
  // "Default" button copies in the group's values of the record that
  // `defaults` gives. Answers the button (nullptr without one).
  template <class Record>
  QPushButton* AddValueGroup(FormPage& page, ValueEdits<Record>& edits, const ValueGroup<Record>& group,
                             std::function<const Record&()> defaults);
  // Bound parameter edits of the page's right-hand panel, in table order.
  template <class Record>
  void AddParams(FormPage& page, ParamEdits<Record>& edits, const std::vector<ParamField<Record>>& fields) {
    for (const ParamField<Record>& f : fields) edits.Add(AddParamEdit(page, f.name, f.caption, f.visible), f);
  }
  // "Add new ..." in the page's right-hand column: adds a component.
  QPushButton* AddNewButton(FormPage& page);
  // Puts the pages, now complete, into the notebook and selects the first;
  // call when every page is made.
  void FinishPages();

  // Shows the page numbers: Current, empty for the defaults record.
  void ShowPageNumbers(int current);
  // The labels that repeat the component name on the other pages.
  void ShowComponentName(const QString& name);
  // The record's name in the name edit and the labels, its usage in the
  // usage combo.
  void ShowIdentification(const std::string& name, const std::string& usage);
  // The drop-down lists, their texts left as they are: the usages of
  // records 1 to Count-1 and the template names of records 0 to Count-1,
  // each once, in list order.
  void FillDropDowns(const std::function<std::string(int record)>& usageOf);

  // Reports the load failure of the defaults file; the form opens anyway.
  void ReportLoadFailure(const std::exception& error);
  // A fresh fitting engine for the form that opens, then the defaults
  // record through `load`; a failure is reported and the form opens anyway.
  void StartEngineAndLoadDefaults(const std::function<void()>& load);
  // Help contexts: the form 21, each curve's template combo 47 and group 46,
  // the add button 45, the default buttons 49.
  void SetHelpContexts(QWidget* add, std::initializer_list<QWidget*> defaults);

  bool eventFilter(QObject* watched, QEvent* event) override;

  // Leaving the control stores the form.
  void WatchLeaving(QWidget* control);
  // A key release in the control stores the form; with keyPress, a key
  // going down goes to SgKeyPress.
  void WatchKeys(QWidget* control, bool keyPress);

 private:
  void FocusChanged(QWidget* old, QWidget* now);
  QWidget* WatchedControlOf(QWidget* widget) const;

  QStackedWidget* notebook_ = nullptr;
  QTabBar* tabSet_ = nullptr;
  std::vector<std::unique_ptr<FormPage>> pages_;
  QLineEdit* cbComponent_ = nullptr;
  QComboBox* cbUsage_ = nullptr;
  std::vector<std::unique_ptr<CurvePanel>> curves_;
  std::vector<QLabel*> nameLabels_;
  std::vector<QWidget*> leaving_;    // controls whose leaving stores the form
  std::vector<QWidget*> keyPress_;   // controls whose key press goes to SgKeyPress
  std::vector<QWidget*> keyUp_;      // controls whose key release stores the form
  int storing_ = 0;
};

template <class Record>
void ParamEdits<Record>::Show(const Record& record, bool computed) const {
  for (const Bound& b : bound_) TDatasheetForm::ShowParam(b.edit, computed, b.field.value(record));
}

template <class Record>
QPushButton* TDatasheetForm::AddValueGroup(FormPage& page, ValueEdits<Record>& edits,
                                           const ValueGroup<Record>& group,
                                           std::function<const Record&()> defaults) {
  QGroupBox* box = AddGroup(page, group.name, group.caption);
  if (group.above) group.above(box);
  const int index = edits.NextGroup();
  for (const ValueField<Record>& f : group.fields) edits.Add(AddValueEdit(box, f.name, f.caption), f, index);
  if (!group.defaultName) return nullptr;
  QPushButton* button = AddDefaultButton(box, group.defaultName);
  connect(button, &QPushButton::clicked, this, [this, button, &edits, index, defaults = std::move(defaults)] {
    DefaultClick(button, edits.Defaults(index, defaults()));
  });
  return button;
}

}  // namespace pakro
