#pragma once
// The string grid of the datasheet forms: cells addressed (column, row) as
// text, fixed title rows and columns, editing in place, and scaling of its
// row height and column widths when a form is shown at another resolution.
//
// Editing behaves as the forms rely on: every keystroke in the cell editor
// puts the new text into the cell at once and reports it through
// `SetEditText`, so a key handler that reads the cell sees what was typed.
// Cells set from code report nothing.
#include <QTableWidget>

namespace pakro {

class TScaledStringGrid : public QTableWidget {
  Q_OBJECT
 public:
  explicit TScaledStringGrid(QWidget* parent = nullptr);

  int ColCount() const { return columnCount(); }
  int RowCount() const { return rowCount(); }
  void SetColCount(int count);
  void SetRowCount(int count);
  int FixedRows() const { return fixedRows_; }
  int FixedCols() const { return fixedCols_; }
  void SetFixedRows(int count);
  void SetFixedCols(int count);

  QString Cells(int col, int row) const;
  void SetCells(int col, int row, const QString& text);

  int DefaultRowHeight() const;
  void SetDefaultRowHeight(int height);
  int ColWidths(int col) const { return columnWidth(col); }
  void SetColWidths(int col, int width) { setColumnWidth(col, width); }

  // Rescales the grid by m/d: position, size and font, then the default row
  // height and each column width, rounded to whole pixels.
  virtual void ChangeScale(int m, int d);

  // The editor's text of the cell being edited, as typed.
  void EditorTextChanged(int col, int row, const QString& text);

 signals:
  // A cell's text was changed by typing (every keystroke).
  void SetEditText(int col, int row, const QString& text);
  // A character key went down in the grid or in its cell editor.
  void KeyPress(QChar key);
  // A key came up in the grid or in its cell editor, after the cell took the edit.
  void KeyUp(int key, Qt::KeyboardModifiers modifiers);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  friend class ScaledGridDelegate;
  void ApplyFixedStyle();
  bool IsFixed(int col, int row) const { return row < fixedRows_ || col < fixedCols_; }
  QTableWidgetItem* Cell(int col, int row);
  void ReportKey(QKeyEvent* event);

  int fixedRows_ = 1;
  int fixedCols_ = 1;
};

// Calls ChangeScale(m, d) on every scaled grid inside `form`.
void ScaleGrids(QWidget* form, int m, int d);
// Scales the grids of a form designed at 96 pixels per inch for `dpi`.
void ScaleGridsForDpi(QWidget* form, int dpi);

}  // namespace pakro
