// The datasheet grid: scaling to the screen resolution and in-place editing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "pakro/tests/qt_application.h"
#include "pakro/shell/scaled_string_grid.h"

namespace pakro {
namespace {

TEST(ScaledStringGrid, FormAt120DpiScalesRowHeightAndColumnWidths) {
  QWidget form;
  auto* curve = new TScaledStringGrid(&form);
  curve->SetColCount(2);
  curve->SetRowCount(13);
  curve->SetDefaultRowHeight(18);
  curve->SetColWidths(0, 62);
  curve->SetColWidths(1, 65);
  curve->setGeometry(10, 21, 135, 200);
  auto* parameters = new TScaledStringGrid(&form);
  parameters->SetColCount(3);
  parameters->SetDefaultRowHeight(21);
  for (int col = 0; col < 3; ++col) parameters->SetColWidths(col, 50 + col);

  ScaleGridsForDpi(&form, 120);

  // 120/96 of the designed sizes, halves rounded up.
  EXPECT_EQ(curve->DefaultRowHeight(), 23);  // 22.5
  for (int row = 0; row < 13; ++row) EXPECT_EQ(curve->rowHeight(row), 23) << row;
  EXPECT_EQ(curve->ColWidths(0), 78);  // 77.5
  EXPECT_EQ(curve->ColWidths(1), 81);  // 81.25
  EXPECT_EQ(curve->geometry(), QRect(13, 26, 169, 250));
  EXPECT_EQ(parameters->DefaultRowHeight(), 26);  // 26.25
  EXPECT_EQ(parameters->ColWidths(0), 63);        // 62.5
  EXPECT_EQ(parameters->ColWidths(1), 64);        // 63.75
  EXPECT_EQ(parameters->ColWidths(2), 65);

  // Back at 96 dpi nothing changes.
  ScaleGridsForDpi(&form, 96);
  EXPECT_EQ(curve->ColWidths(0), 78);
}

class GridEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<QWidget>();
    grid = new TScaledStringGrid(form.get());
    grid->SetColCount(2);
    grid->SetRowCount(13);
    grid->SetFixedCols(0);
    grid->SetFixedRows(1);
    grid->SetCells(0, 0, "X");
    auto* layout = new QVBoxLayout(form.get());
    layout->addWidget(grid);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    grid->setFocus();
    grid->setCurrentCell(1, 0);
    connect();
  }
  void connect() {
    QObject::connect(grid, &TScaledStringGrid::SetEditText, [this](int col, int row, const QString& t) {
      edits << QString("%1,%2=%3").arg(col).arg(row).arg(t);
    });
    QObject::connect(grid, &TScaledStringGrid::KeyUp, [this](int key, Qt::KeyboardModifiers) {
      // What a key handler reads from the cell when the key comes up.
      keyUps << QString("%1:%2").arg(key).arg(grid->Cells(0, 1));
    });
    QObject::connect(grid, &TScaledStringGrid::KeyPress, [this](QChar key) { keys += key; });
  }

  std::unique_ptr<QWidget> form;
  TScaledStringGrid* grid = nullptr;
  QStringList edits;
  QStringList keyUps;
  QString keys;
};

TEST_F(GridEditing, EveryKeystrokeReachesTheCellBeforeTheKeyComesUp) {
  QTest::keyClicks(QApplication::focusWidget(), "1,5");
  EXPECT_EQ(grid->Cells(0, 1), "1,5");
  EXPECT_EQ(edits, QStringList({"0,1=1", "0,1=1,", "0,1=1,5"}));
  EXPECT_EQ(keyUps, QStringList({"49:1", "44:1,", "53:1,5"}));
  EXPECT_EQ(keys, "1,5");

  // Backspace edits too; Enter is reported as a key and keeps the text.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
  EXPECT_EQ(grid->Cells(0, 1), "1,");
  EXPECT_EQ(edits.last(), "0,1=1,");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(keys.back(), QChar(13));
  EXPECT_EQ(grid->Cells(0, 1), "1,");
  EXPECT_EQ(keyUps.size(), 5);  // one per key, none twice
}

TEST_F(GridEditing, CellsSetFromCodeRunNoHandler) {
  grid->SetCells(1, 3, "2.5");
  grid->SetCells(0, 12, "7");
  grid->SetCells(5, 5, "outside");  // ignored
  EXPECT_EQ(grid->Cells(1, 3), "2.5");
  EXPECT_EQ(grid->Cells(0, 12), "7");
  EXPECT_TRUE(edits.isEmpty());
  EXPECT_TRUE(keyUps.isEmpty());
  // The title row is not editable; the data rows are.
  EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_TRUE(grid->item(1, 0)->flags() & Qt::ItemIsEditable);
}

}  // namespace
}  // namespace pakro
