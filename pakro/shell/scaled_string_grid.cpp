#include "pakro/shell/scaled_string_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "pakro/shell/frame_state.h"

namespace pakro {

// Opens a plain line editor on a cell and hands every change of its text to
// the grid at once, not only when the edit ends.
class ScaledGridDelegate final : public QStyledItemDelegate {
 public:
  explicit ScaledGridDelegate(TScaledStringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int col = index.column();
    const int row = index.row();
    TScaledStringGrid* grid = grid_;
    QObject::connect(editor, &QLineEdit::textEdited, grid,
                     [grid, col, row](const QString& text) { grid->EditorTextChanged(col, row, text); });
    return editor;
  }

  // Sees the editor's keys before the delegate acts on Enter, Tab or Escape.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
      grid_->ReportKey(static_cast<QKeyEvent*>(event));
    return QStyledItemDelegate::eventFilter(watched, event);
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* line = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    // The cell follows the editor keystroke by keystroke; putting the same
    // text back would move the cursor.
    if (line->text() != text) line->setText(text);
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
  }

 private:
  TScaledStringGrid* grid_;
};

TScaledStringGrid::TScaledStringGrid(QWidget* parent) : QTableWidget(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setMinimumSectionSize(1);
  setItemDelegate(new ScaledGridDelegate(this));
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // The grid's look at design resolution.
  SetDefaultRowHeight(24);
  horizontalHeader()->setDefaultSectionSize(64);
  SetColCount(5);
  SetRowCount(5);
}

void TScaledStringGrid::SetColCount(int count) {
  setColumnCount(count);
  ApplyFixedStyle();
}

void TScaledStringGrid::SetRowCount(int count) {
  setRowCount(count);
  ApplyFixedStyle();
}

void TScaledStringGrid::SetFixedRows(int count) {
  fixedRows_ = count;
  ApplyFixedStyle();
}

void TScaledStringGrid::SetFixedCols(int count) {
  fixedCols_ = count;
  ApplyFixedStyle();
}

QTableWidgetItem* TScaledStringGrid::Cell(int col, int row) {
  QTableWidgetItem* cell = item(row, col);
  if (!cell) {
    const QSignalBlocker quiet(this);
    cell = new QTableWidgetItem;
    setItem(row, col, cell);
  }
  return cell;
}

void TScaledStringGrid::ApplyFixedStyle() {
  const QSignalBlocker quiet(this);
  const QBrush fixedBrush = palette().button();
  for (int row = 0; row < rowCount(); ++row) {
    for (int col = 0; col < columnCount(); ++col) {
      QTableWidgetItem* cell = Cell(col, row);
      if (IsFixed(col, row)) {
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(fixedBrush);
      } else {
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        cell->setBackground(QBrush());
      }
    }
  }
}

QString TScaledStringGrid::Cells(int col, int row) const {
  const QTableWidgetItem* cell = item(row, col);
  return cell ? cell->text() : QString();
}

void TScaledStringGrid::SetCells(int col, int row, const QString& text) {
  if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return;
  const QSignalBlocker quiet(this);
  Cell(col, row)->setText(text);
}

int TScaledStringGrid::DefaultRowHeight() const { return verticalHeader()->defaultSectionSize(); }

void TScaledStringGrid::SetDefaultRowHeight(int height) {
  verticalHeader()->setDefaultSectionSize(height);
  for (int row = 0; row < rowCount(); ++row) setRowHeight(row, height);
}

void TScaledStringGrid::ChangeScale(int m, int d) {
  if (m == d || d == 0) return;
  // The control itself: position, size and font.
  const QRect g = geometry();
  setGeometry(mulDiv(g.x(), m, d), mulDiv(g.y(), m, d), mulDiv(g.width(), m, d),
              mulDiv(g.height(), m, d));
  QFont f = font();
  if (f.pixelSize() > 0)
    f.setPixelSize(mulDiv(f.pixelSize(), m, d));
  else
    f.setPointSizeF(f.pointSizeF() * m / d);
  setFont(f);
  // Then the rows and columns.
  SetDefaultRowHeight(mulDiv(DefaultRowHeight(), m, d));
  for (int col = 0; col < columnCount(); ++col) setColumnWidth(col, mulDiv(columnWidth(col), m, d));
}

void TScaledStringGrid::EditorTextChanged(int col, int row, const QString& text) {
  {
    const QSignalBlocker quiet(this);
    Cell(col, row)->setText(text);
  }
  emit SetEditText(col, row, text);
}

void TScaledStringGrid::ReportKey(QKeyEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const QString text = event->text();
    if (!text.isEmpty()) emit KeyPress(text.front());
  } else if (event->type() == QEvent::KeyRelease && !event->isAutoRepeat()) {
    emit KeyUp(event->key(), event->modifiers());
  }
}

// While a cell is edited its editor reports the keys (through the delegate);
// what the editor leaves unhandled comes up here again and is not reported twice.
void TScaledStringGrid::keyPressEvent(QKeyEvent* event) {
  // A character typed on a cell that is not being edited opens the editor
  // and goes into it; the editor then reports the key itself.
  const bool opensEditor = !event->text().isEmpty() && event->text().front().isPrint() &&
                           currentItem() && (currentItem()->flags() & Qt::ItemIsEditable);
  if (state() != QAbstractItemView::EditingState && !opensEditor) ReportKey(event);
  QTableWidget::keyPressEvent(event);
}

void TScaledStringGrid::keyReleaseEvent(QKeyEvent* event) {
  if (state() != QAbstractItemView::EditingState) ReportKey(event);
  QTableWidget::keyReleaseEvent(event);
}

void ScaleGrids(QWidget* form, int m, int d) {
  for (TScaledStringGrid* grid : form->findChildren<TScaledStringGrid*>()) grid->ChangeScale(m, d);
}

void ScaleGridsForDpi(QWidget* form, int dpi) { ScaleGrids(form, dpi, 96); }

}  // namespace pakro
