// The bipolar and diode datasheet forms on the offscreen platform: showing
// and storing records, the user's edits, template copies, axis tabs, the
// default buttons, the PNP titles and the save question; and every kind's
// window as it opens in the frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>
#include <string>

#include "pakro/devices/DIO_form.h"
#include "pakro/shell/program.h"
#include "pakro/devices/datasheet_forms.h"
#include "pakro/tests/synthetic_records.h"
#include "pakro/devices/TRN_form.h"
#include "pakro/shell/frame_state.h"
#include "pakro/shell/main_form.h"
#include "pakro/shell/plot_image.h"
#include "platform/scripted_dialogs.h"
#include "pakro/shell/library_file.h"
#include "pakro/tests/form_test_support.h"
#include "pakro/tests/qt_application.h"
#include "pakro/shell/scaled_string_grid.h"

namespace pakro {
namespace {

using testing::ExpectSameCurve;
using testing::Find;
using testing::FormTest;
using testing::Open;

void ExpectSameRecord(const TCatBipolar& a, const TCatBipolar& b) {
  EXPECT_EQ(a.Name.str(), b.Name.str());
  EXPECT_EQ(a.Usage.str(), b.Usage.str());
  EXPECT_EQ(a.ICVBERef.str(), b.ICVBERef.str());
  EXPECT_EQ(a.ICBETARef.str(), b.ICBETARef.str());
  EXPECT_EQ(a.ICVCERef.str(), b.ICVCERef.str());
  EXPECT_EQ(a.VCBCOBORef.str(), b.VCBCOBORef.str());
  EXPECT_EQ(a.VEBCIBORef.str(), b.VEBCIBORef.str());
  ExpectSameCurve(a.ICVBE, b.ICVBE, "ICVBE");
  ExpectSameCurve(a.ICBETA, b.ICBETA, "ICBETA");
  ExpectSameCurve(a.ICVCE, b.ICVCE, "ICVCE");
  ExpectSameCurve(a.VCBCOBO, b.VCBCOBO, "VCBCOBO");
  ExpectSameCurve(a.VEBCIBO, b.VEBCIBO, "VEBCIBO");
  for (std::size_t i = 0; i < a.DataText.size(); ++i) {
    EXPECT_EQ(a.DataText[i].str(), b.DataText[i].str()) << i;
    EXPECT_EQ(a.DataValue[i], b.DataValue[i]) << i;
  }
  EXPECT_EQ(a.Param, b.Param);
  EXPECT_EQ(a.Computed, b.Computed);
}

void ExpectSameRecord(const TCatDIO& a, const TCatDIO& b) {
  EXPECT_EQ(a.Name.str(), b.Name.str());
  EXPECT_EQ(a.Usage.str(), b.Usage.str());
  EXPECT_EQ(a.VDIDRef.str(), b.VDIDRef.str());
  EXPECT_EQ(a.VRCJRef.str(), b.VRCJRef.str());
  ExpectSameCurve(a.VDID, b.VDID, "VDID");
  ExpectSameCurve(a.VRCJ, b.VRCJ, "VRCJ");
  EXPECT_EQ(a.BreakdownVoltText.str(), b.BreakdownVoltText.str());
  EXPECT_EQ(a.BreakdownVolt, b.BreakdownVolt);
  EXPECT_EQ(a.RecoveryTimeText.str(), b.RecoveryTimeText.str());
  EXPECT_EQ(a.RecoveryTime, b.RecoveryTime);
  EXPECT_EQ(a.RevForwRatio, b.RevForwRatio);
  EXPECT_EQ(a.IS, b.IS);
  EXPECT_EQ(a.Computed, b.Computed);
}

using BipolarForm = FormTest<TBlankTRN>;
using DiodeForm = FormTest<TBlankDIO>;

TEST_F(BipolarForm, ShowDataThenSendAllDataLeavesEveryRecordUnchanged) {
  Open(*form, "npn.LBR");
  // A point with more digits than the grid shows.
  form->Records().Items(1).ICVBE.X[0] = 0.0123456789;
  for (int current = 0; current < form->List().Count(); ++current) {
    SCOPED_TRACE(current);
    // The form keeps its curves sorted; the fixture has one out of order.
    TCatBipolar& r = form->Records().Items(current);
    for (TGraph* g : {&r.ICVBE, &r.ICBETA, &r.ICVCE, &r.VCBCOBO, &r.VEBCIBO}) g->SortPoints();
    form->List().SetCurrent(current);
    form->ShowData();
    if (current == 1) {
      EXPECT_EQ(form->PanelICVBE().Grid()->Cells(0, 1), "0.0123");
    }
    const TCatTRN before = static_cast<const TCatTRN&>(r);
    form->SendAllData(nullptr);
    ExpectSameRecord(r, before);
  }
}

TEST_F(DiodeForm, ShowDataThenSendAllDataLeavesEveryRecordUnchanged) {
  Open(*form, "diode.LBR");
  for (int current = 0; current < form->List().Count(); ++current) {
    SCOPED_TRACE(current);
    form->List().SetCurrent(current);
    form->ShowData();
    TCatDIO& r = form->Records().Items(current);
    r.VDID.SortPoints();
    r.VRCJ.SortPoints();
    const TCatDIO before = r;
    form->SendAllData(nullptr);
    ExpectSameRecord(form->Records().Items(current), before);
  }
}

TEST_F(BipolarForm, ShowsTheRecordOnEveryPage) {
  Open(*form, "npn.LBR");
  const TCatBipolar& r = form->Records().Items(1);
  EXPECT_EQ(form->CbComponent()->text().toStdString(), "Q\u00B5TEST-0123456789ABCDEFG");
  for (const char* label : {"LbComponentB", "LbComponentC", "LbComponentD", "LbComponentE", "LbComponentG"})
    EXPECT_EQ(Find<QLabel>(*form, label)->text(), form->CbComponent()->text()) << label;
  for (const char* number : {"LbNumberA", "LbNumberB", "LbNumberC", "LbNumberD", "LbNumberE", "LbNumberG"})
    EXPECT_EQ(Find<QLabel>(*form, number)->text(), "1") << number;
  EXPECT_EQ(Find<TScaledStringGrid>(*form, "Sg2ICBETA")->Cells(1, 0), "1,5");
  // Twelve points: the last in row 12, below the rows in sight but reachable.
  TScaledStringGrid* grid = form->PanelICVBE().Grid();
  EXPECT_EQ(r.ICVBE.Count, 12);
  EXPECT_EQ(grid->Cells(0, 12), "500");
  EXPECT_EQ(grid->Cells(1, 12), "1.05");
  EXPECT_FALSE(grid->viewport()->rect().contains(grid->visualItemRect(grid->item(12, 0))));
  grid->scrollToItem(grid->item(12, 0));
  EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualItemRect(grid->item(12, 0))));
  // Computed: the parameters at precision 3; not computed: empty.
  EXPECT_EQ(Find<QLineEdit>(*form, "EdBF")->text(), NumberText(r.Param[BipolarParam::BF], 3));
  form->List().SetCurrent(2);
  form->ShowData();
  EXPECT_EQ(Find<QLineEdit>(*form, "EdBF")->text(), "");
  // The defaults record shows no page numbers.
  form->List().SetCurrent(0);
  form->ShowData();
  EXPECT_EQ(Find<QLabel>(*form, "LbNumberA")->text(), "");
  // The usage list: components only, each once; the template lists include
  // the defaults record's names.
  QComboBox* usage = form->CbUsage();
  QStringList usages;
  for (int i = 0; i < usage->count(); ++i) usages << usage->itemText(i);
  EXPECT_FALSE(usages.contains("Defaults of this library"));
  EXPECT_EQ(usages.removeDuplicates(), 0);
  QComboBox* templates = form->PanelICVBE().Template();
  EXPECT_GE(templates->findText("LIBDEFAULT"), 0);
}

TEST_F(BipolarForm, ComputedRecordShowsParametersAndFittedCurves) {
  Open(*form, "npn.LBR", 1);
  ASSERT_TRUE(form->Records().Items(1).Computed);
  EXPECT_NE(Find<QLineEdit>(*form, "EdBF")->text(), "");
  // A capacitance curve with its fitted model.
  TGraph& g = form->Records().Items(1).VEBCIBO;
  g.Count = 3;
  g.X = {1, 5, 10};
  g.Y = {20, 14, 11};
  g.YNonPositive = false;
  g.ShowFitted = true;
  g.SetModel({25, 0.75, 0.33}, KindJunctionCap, TFitInputs{});
  form->ShowData();
  // The fitted curve is the blue line of the picture.
  const QImage& image = form->PanelVEBCIBO().Plot()->Image();
  int blue = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == QColor(0, 0, 255)) ++blue;
  EXPECT_GT(blue, 20);
}

TEST_F(BipolarForm, KeysEnterAndLeavingStoreTheForm) {
  Open(*form, "npn.LBR");
  Page(5);
  QLineEdit* hoe = Find<QLineEdit>(*form, "EdHoe");
  TCatBipolar& r = form->Records().Items(1);
  form->List().SetModified(false);

  // Every key, as it comes up.
  hoe->setFocus();
  hoe->selectAll();
  QTest::keyClicks(hoe, "2,5");
  EXPECT_EQ(r.DataText[BipolarData::Hoe].str(), "2,5");
  EXPECT_EQ(r.DataValue[BipolarData::Hoe], 2.5);
  EXPECT_TRUE(form->List().Modified());

  // Enter alone, before any key comes up.
  hoe->setText("7");  // set from code: stores nothing
  EXPECT_EQ(r.DataText[BipolarData::Hoe].str(), "2,5");
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QApplication::sendEvent(hoe, &enter);
  EXPECT_EQ(r.DataText[BipolarData::Hoe].str(), "7");

  // Leaving the edit.
  hoe->setText("8");
  Find<QLineEdit>(*form, "EdBandwidth")->setFocus();
  EXPECT_EQ(r.DataText[BipolarData::Hoe].str(), "8");

  // A curve grid takes each keystroke.
  Page(2);
  TypeIntoCell(form->PanelICBETA().Grid(), 1, 1, "42");
  EXPECT_EQ(r.ICBETA.Y[0], 42);
}

TEST_F(BipolarForm, MovingThroughACurveParameterGridChangesNothing) {
  Open(*form, "npn.LBR");
  const TCatBipolar& r = form->Records().Items(1);
  ExpectParamGridStoresOnlyEdits(1, form->PanelICVCE(), r.ICVCE);
  ExpectParamGridStoresOnlyEdits(2, form->PanelICBETA(), r.ICBETA);
}

TEST_F(BipolarForm, MovingThroughAGridKeepsPrecisionAndChangesNothing) {
  Open(*form, "npn.LBR");
  TCatBipolar& r = form->Records().Items(1);
  r.ICVBE.X[1] = 0.0234567;
  form->ShowData();
  form->List().SetModified(false);
  TScaledStringGrid* grid = form->PanelICVBE().Grid();
  grid->setFocus();
  grid->setCurrentCell(1, 0);
  for (int i = 0; i < 4; ++i) QTest::keyClick(grid, Qt::Key_Down);
  QTest::keyClick(grid, Qt::Key_Right);
  form->CbComponent()->setFocus();  // leaving the grid
  EXPECT_EQ(r.ICVBE.X[1], 0.0234567);
  EXPECT_FALSE(form->List().Modified());

  // A changed cell is read; the others keep their exact values.
  TypeIntoCell(grid, 1, 3, "9");
  EXPECT_TRUE(form->List().Modified());
  EXPECT_EQ(r.ICVBE.X[1], 0.0234567);
  EXPECT_EQ(r.ICVBE.Count, 12);
}

TEST_F(BipolarForm, AGridWhoseFirstRowIsIncompleteLeavesTheCurveAsItWas) {
  Open(*form, "npn.LBR");
  TCatBipolar& r = form->Records().Items(1);
  TGraph before = r.VCBCOBO;  // (0, 8), (-1, 6), (10, 3.2), sorted when stored
  before.SortPoints();
  TScaledStringGrid* grid = form->PanelVCBCOBO().Grid();
  grid->SetCells(1, 1, "");
  grid->SetCells(0, 2, "99");
  form->SendAllData(nullptr);
  EXPECT_EQ(r.VCBCOBO.Count, before.Count);
  EXPECT_EQ(r.VCBCOBO.X, before.X);
  // The points kept still refuse a log horizontal axis.
  EXPECT_TRUE(r.VCBCOBO.XNonPositive);

  // A row with an empty cell ends the curve at the row before it.
  form->ShowData();
  grid->SetCells(1, 2, "");
  form->SendAllData(nullptr);
  EXPECT_EQ(r.VCBCOBO.Count, 1);
  EXPECT_EQ(r.VCBCOBO.X[0], -1);
  EXPECT_TRUE(r.VCBCOBO.XNonPositive);
  EXPECT_FALSE(r.VCBCOBO.YNonPositive);
}

TEST_F(BipolarForm, TypingIntoAGridMakesTheCurveTheComponentsOwn) {
  Open(*form, "npn.LBR");
  const QString name = form->CbComponent()->text();
  form->PanelICBETA().Template()->setEditText("OTHER");
  form->PanelICVCE().Template()->setEditText("KEPT");
  Page(2);
  TypeIntoCell(form->PanelICBETA().Grid(), 0, 6, "7");
  EXPECT_EQ(form->PanelICBETA().Template()->currentText(), name);
  Page(1);
  TypeIntoCell(form->PanelICVCE().Grid(), 0, 6, "7");
  EXPECT_EQ(form->PanelICVCE().Template()->currentText(), "KEPT");
  EXPECT_EQ(form->Records().Items(1).ICVCERef.str(), "KEPT");
}

TEST_F(BipolarForm, TemplateCopiesTheCurveOfTheHighestIndexRecord) {
  Open(*form, "npn.LBR");
  form->List().AddItem();
  auto& list = form->Records();
  // Records 1 and 3 both carry the template name "SHARED" for the gain curve.
  for (int i : {1, 3}) {
    list.Items(i).ICBETARef = "SHARED";
    TGraph& g = list.Items(i).ICBETA;
    g.Count = 2;
    g.X[0] = i;
    g.Y[0] = 10 * i + 0.123456789;
    g.X[1] = i + 1;
    g.Y[1] = 20 * i;
    g.CurveParamText = i == 1 ? "1" : "3,5";
  }
  form->List().SetCurrent(2);
  form->ShowData();
  Page(2);
  QComboBox* combo = form->PanelICBETA().Template();
  QLineEdit* edit = combo->lineEdit();
  combo->setFocus();
  QWidget* focus = QApplication::focusWidget();  // where the user's keys go
  edit->selectAll();
  QTest::keyClicks(focus, "SHARED");
  TScaledStringGrid* grid = form->PanelICBETA().Grid();
  EXPECT_EQ(grid->Cells(1, 1), "30.123457");  // precision 8
  EXPECT_EQ(grid->Cells(0, 3), "");
  EXPECT_EQ(Find<TScaledStringGrid>(*form, "Sg2ICBETA")->Cells(1, 0), "3,5");
  const TCatBipolar& r = list.Items(2);
  EXPECT_EQ(r.ICBETA.Count, 2);
  EXPECT_EQ(r.ICBETA.Y[0], 30.123456789);
  EXPECT_EQ(r.ICBETA.CurveParam, 3.5);
  EXPECT_EQ(r.ICBETARef.str(), "SHARED");

  // A name nobody carries copies nothing; the grid is still stored.
  edit->selectAll();
  QTest::keyClicks(focus, "NOBODY");
  EXPECT_EQ(grid->Cells(1, 1), "30.123457");
  EXPECT_EQ(r.ICBETARef.str(), "NOBODY");

  // The defaults record is a candidate too.
  edit->selectAll();
  QTest::keyClicks(focus, "LIBDEFAULT");
  EXPECT_EQ(r.ICBETA.Count, list.Items(0).ICBETA.Count);
  EXPECT_EQ(r.ICBETA.Y[0], list.Items(0).ICBETA.Y[0]);
}

TEST_F(BipolarForm, LogAxisIsRefusedForDataNotAboveZero) {
  Open(*form, "npn.LBR");
  // Record 1's VCB-Cob curve of the fixture has the points (0, 8) and (-1, 6).
  TGraph& g = form->Records().Items(1).VCBCOBO;
  ASSERT_TRUE(g.XNonPositive);
  ASSERT_FALSE(g.YNonPositive);
  Page(3);
  QTabBar* tabs = form->PanelVCBCOBO().AxisTabs();
  EXPECT_EQ(tabs->tabText(0), "  lin - lin  ");
  EXPECT_EQ(tabs->tabText(3), "  log - log ");
  struct Row {
    int tab;
    const char* message;  // nullptr: accepted
    int shown;
    const char* x;
    const char* y;
  };
  const Row rows[] = {
      {1, "These data are not viewable on \"Log - Lin\"  graph", 0, "Lin", "Lin"},
      {3, "These data are not viewable on \"Log - Log\"  graph", 0, "Lin", "Lin"},
      {2, nullptr, 2, "Lin", "Log"},
      {1, "These data are not viewable on \"Log - Lin\"  graph", 2, "Lin", "Log"},
      {0, nullptr, 0, "Lin", "Lin"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.tab);
    platform::testing::ScriptedMessages messages;
    if (r.message)
      messages.expect(r.message, platform::Answer::Ok, platform::MessageKind::Warning, platform::Buttons::Ok);
    tabs->setCurrentIndex(r.tab);
    EXPECT_EQ(tabs->currentIndex(), r.shown);
    EXPECT_EQ(g.XScale.str(), r.x);
    EXPECT_EQ(g.YScale.str(), r.y);
  }
}

TEST_F(BipolarForm, ShowDataForcesLinearAxesWhereTheDataAreNotAllPositive) {
  Open(*form, "npn.LBR");
  QTabBar* tabs = form->PanelVCBCOBO().AxisTabs();
  TGraph& positive = form->Records().Items(2).VCBCOBO;
  positive.Count = 2;
  positive.X = {1, 10};
  positive.Y = {5, 3};
  form->List().SetCurrent(2);
  form->ShowData();
  tabs->setCurrentIndex(3);
  EXPECT_EQ(positive.XScale.str(), "Log");
  EXPECT_EQ(positive.YScale.str(), "Log");
  form->List().SetCurrent(1);
  form->ShowData();
  EXPECT_EQ(tabs->currentIndex(), 2);  // the log y axis carries over, x is forced linear
  EXPECT_EQ(form->Records().Items(1).VCBCOBO.XScale.str(), "Lin");
  EXPECT_EQ(form->Records().Items(1).VCBCOBO.YScale.str(), "Log");
}

TEST_F(BipolarForm, DefaultButtonsFillAtPrecisionEight) {
  Open(*form, "npn.LBR");
  auto& defaults = form->Records().Items(0);
  defaults.DataValue[BipolarData::HoeIC] = 1.23456789012;
  defaults.DataValue[BipolarData::HoeVCE] = 10;
  defaults.DataValue[BipolarData::Hoe] = 0.000123456789;
  defaults.DataText[BipolarData::HoeIC] = "ignored";
  form->List().SetModified(false);
  Page(5);
  QTest::mouseClick(Find<QPushButton>(*form, "BBDef1"), Qt::LeftButton);
  EXPECT_EQ(Find<QLineEdit>(*form, "EdHoeIC")->text(), "1.2345679");
  EXPECT_EQ(Find<QLineEdit>(*form, "EdHoeVCE")->text(), "10");
  EXPECT_EQ(Find<QLineEdit>(*form, "EdHoe")->text(), "0.00012345679");
  const TCatBipolar& r = form->Records().Items(1);
  EXPECT_EQ(r.DataText[BipolarData::HoeIC].str(), "1.2345679");
  EXPECT_EQ(r.DataValue[BipolarData::HoeIC], 1.2345679);
  EXPECT_TRUE(form->List().Modified());
  QPushButton* def = Find<QPushButton>(*form, "BBDef3");
  EXPECT_EQ(def->text(), "Default");
  EXPECT_EQ(def->toolTip(), "Click hier to fill these fields with default values");
}

TEST_F(BipolarForm, CloseQuestion) {
  Open(*form, "npn.LBR");
  form->SetCaption("/libs/TEST.LBR");
  form->List().SetModified(false);
  EXPECT_TRUE(form->FormCloseQuery());  // nothing to ask
  form->List().SetModified(true);
  {
    platform::testing::ScriptedMessages messages;
    messages.expect("Save the Library  /libs/TEST.LBR  before closing?", platform::Answer::Cancel,
                    platform::MessageKind::Confirmation, platform::Buttons::YesNoCancel);
    EXPECT_FALSE(form->FormCloseQuery());
  }
  {
    platform::testing::ScriptedMessages messages;
    messages.expect("Save the Library  /libs/TEST.LBR  before closing?", platform::Answer::No);
    EXPECT_TRUE(form->FormCloseQuery());
  }
  {  // Yes, but nothing was saved (no frame here): the window and its changes stay.
    platform::testing::ScriptedMessages messages;
    messages.expect("Save the Library  /libs/TEST.LBR  before closing?", platform::Answer::Yes);
    EXPECT_FALSE(form->FormCloseQuery());
  }
}

TEST_F(BipolarForm, LayoutOfPagesTabsAndHelp) {
  EXPECT_EQ(form->Module(), kNpnTransistor);
  QTabBar* tabs = form->TabSet();
  const QStringList captions = {"A: Id.,  IC-VBE", "C: IC-VCE",  "B: IC-BETA",
                                "D: VCB-Cob",      "E: VEB Cib", "F: Hoe, Bandwidth, ..."};
  ASSERT_EQ(tabs->count(), captions.size());
  for (int i = 0; i < tabs->count(); ++i) EXPECT_EQ(tabs->tabText(i), captions[i]);
  EXPECT_EQ(tabs->currentIndex(), 0);
  tabs->setCurrentIndex(4);
  EXPECT_EQ(form->Notebook()->currentIndex(), 4);
  EXPECT_EQ(HelpContextOf(form.get()), 21);
  EXPECT_EQ(HelpContextOf(Find<QComboBox>(*form, "CbICBETARef")), 47);
  EXPECT_EQ(HelpContextOf(Find<QComboBox>(*form, "CbICVCERef")), 0);
  EXPECT_EQ(HelpContextOf(Find<QGroupBox>(*form, "Gb4")), 46);
  EXPECT_EQ(HelpContextOf(Find<QPushButton>(*form, "BitBtn1")), 45);
  EXPECT_EQ(HelpContextOf(Find<QPushButton>(*form, "BBDef2")), 49);
  EXPECT_EQ(HelpContextOf(Find<QPushButton>(*form, "BBDef3")), 0);
  // Parameter edits: read-only, out of the tab order, some hidden.
  QLineEdit* nr = Find<QLineEdit>(*form, "EdNR");
  EXPECT_TRUE(nr->isReadOnly());
  EXPECT_EQ(nr->focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(nr->isHidden());
  EXPECT_FALSE(Find<QLineEdit>(*form, "EdRC2")->isHidden());
}

// The PNP form differs in its titles only; the same numbers give the same record.
TEST(BipolarTwins, PnpTitlesDifferAndRecordsAgree) {
  TBlankTRN npn;
  TBlankTRP pnp;
  EXPECT_EQ(pnp.Module(), kPnpTransistor);
  EXPECT_EQ(npn.findChild<QLabel*>("LbDataSheetTitle")->text(), " NPN Transistor Data Sheet");
  EXPECT_EQ(pnp.findChild<QLabel*>("LbDataSheetTitle")->text(), " PNP Transistor Data Sheet");
  struct Row {
    const char* grid;
    const char* npnX;
    const char* npnY;
    const char* pnpX;
    const char* pnpY;
  };
  const Row rows[] = {
      {"SgICVBE", " IC [mA]", " VBE [V]", "-IC [mA]", "-VBE [V]"},
      {"SgICBETA", " IC[mA]", " BETA", " IC[mA]", " BETA"},
      {"SgICVCE", " IC [mA]", " VCE [V]", "-IC [mA]", "-VCE [V]"},
      {"SgVCBCOBO", " VCB [V]", " Cob [pF]", "-VCB [V]", " Cob [pF]"},
      {"SgVEBCIBO", " VEB [V]", " Cib [pF]", "-VEB [V]", " Cib [pF]"},
  };
  for (const Row& r : rows) {
    auto* n = npn.findChild<TScaledStringGrid*>(r.grid);
    auto* p = pnp.findChild<TScaledStringGrid*>(r.grid);
    ASSERT_TRUE(n && p) << r.grid;
    EXPECT_EQ(n->Cells(0, 0), r.npnX);
    EXPECT_EQ(n->Cells(1, 0), r.npnY);
    EXPECT_EQ(p->Cells(0, 0), r.pnpX);
    EXPECT_EQ(p->Cells(1, 0), r.pnpY);
  }
  EXPECT_EQ(npn.findChild<TScaledStringGrid*>("Sg2ICBETA")->Cells(0, 0), " VCE [V]:");
  EXPECT_EQ(pnp.findChild<TScaledStringGrid*>("Sg2ICBETA")->Cells(0, 0), "-VCE [V]:");
  EXPECT_EQ(pnp.findChild<TScaledStringGrid*>("Sg2ICVCE")->Cells(0, 0), " IC/IB:");

  for (TBlankBipolar* form : {static_cast<TBlankBipolar*>(&npn), static_cast<TBlankBipolar*>(&pnp)}) {
    form->List().AddItem();
    form->ShowData();
    form->CbComponent()->setText("TWIN");
    form->PanelICVBE().Grid()->SetCells(0, 1, "1,5");
    form->PanelICVBE().Grid()->SetCells(1, 1, "0.6");
    form->findChild<QLineEdit*>("EdHoe")->setText("12");
    form->SendAllData(nullptr);
  }
  ExpectSameRecord(npn.Records().Items(1), pnp.Records().Items(1));
  EXPECT_EQ(pnp.Records().Items(1).ICVBE.X[0], 1.5);
}

TEST_F(DiodeForm, ShowsPointsAtPrecisionEightAndItsOwnLayout) {
  Open(*form, "diode.LBR");
  TCatDIO& r = form->Records().Items(1);
  r.VDID.X[0] = 0.0123456789;
  form->ShowData();
  ASSERT_TRUE(r.Computed);
  EXPECT_EQ(form->PanelVDID().Grid()->Cells(0, 1), "0.012345679");
  EXPECT_EQ(form->PanelVDID().Grid()->Cells(0, 1), NumberText(r.VDID.X[0], 8));
  EXPECT_EQ(form->PanelVDID().Grid()->Cells(0, 0), "  IF [mA]");
  EXPECT_EQ(form->PanelVRCJ().Grid()->Cells(1, 0), "  CD [pF]");
  EXPECT_EQ(form->Module(), kDiode);
  QTabBar* tabs = form->TabSet();
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0), "A: Identification  and Characteristic");
  EXPECT_EQ(tabs->tabText(2), "C: Reverse parameters ");
  EXPECT_EQ(Find<QLineEdit>(*form, "EdRP")->text(), r.Computed ? NumberText(r.IBV, 3) : QString());
  EXPECT_TRUE(Find<QLineEdit>(*form, "EdEG")->isHidden());
  EXPECT_EQ(Find<QLineEdit>(*form, "EdEG")->text(), "");
  EXPECT_EQ(HelpContextOf(Find<QPushButton>(*form, "BBDef3")), 49);
}

// A usage picked from the list: the bipolar form stores it at once, the
// diode form when the box is left.
TEST_F(BipolarForm, AUsagePickedFromTheListIsStoredAtOnce) {
  Open(*form, "npn.LBR");
  form->Records().Items(2).Usage = "Switch";
  form->ShowData();
  QComboBox* usage = form->CbUsage();
  const int switchItem = usage->findText("Switch");
  ASSERT_GE(switchItem, 0);
  usage->setCurrentIndex(switchItem);
  emit usage->activated(switchItem);  // as a pick from the list reports it
  EXPECT_EQ(form->Records().Items(1).Usage.str(), "Switch");
}

TEST_F(DiodeForm, AUsagePickedFromTheListIsStoredWhenTheBoxIsLeft) {
  Open(*form, "diode.LBR");
  form->Records().Items(2).Usage = "Zener";
  form->ShowData();
  QComboBox* usage = form->CbUsage();
  usage->setFocus();
  const int zener = usage->findText("Zener");
  ASSERT_GE(zener, 0);
  usage->setCurrentIndex(zener);
  emit usage->activated(zener);
  EXPECT_NE(form->Records().Items(1).Usage.str(), "Zener");
  form->CbComponent()->setFocus();
  EXPECT_EQ(form->Records().Items(1).Usage.str(), "Zener");
}

// Keys typed into the usage box reach the combo box, which has the focus,
// and each key release stores the form.
TEST_F(DiodeForm, AUsageTypedIntoTheBoxIsStoredAsItIsTyped) {
  Open(*form, "diode.LBR");
  form->CbUsage()->setFocus();
  QWidget* focus = QApplication::focusWidget();
  ASSERT_TRUE(focus == form->CbUsage() || form->CbUsage()->isAncestorOf(focus));
  form->CbUsage()->lineEdit()->selectAll();
  form->List().SetModified(false);
  QTest::keyClicks(focus, "Rectifier");
  EXPECT_EQ(form->Records().Items(1).Usage.str(), "Rectifier");
  EXPECT_TRUE(form->List().Modified());
}

// Moving through a curve grid with Tab and the arrow keys keeps the curve's
// template; only typing into a cell makes the curve the component's own.
TEST_F(DiodeForm, TabbingThroughACurveGridKeepsItsTemplate) {
  Open(*form, "diode.LBR");
  form->Records().Items(1).VRCJRef = "ELSE";
  form->ShowData();
  Page(1);
  CurvePanel& panel = form->PanelVRCJ();
  panel.Grid()->setFocus();
  panel.Grid()->setCurrentCell(1, 0);
  for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Backtab})
    QTest::keyClick(QApplication::focusWidget(), key);
  form->CbComponent()->setFocus();
  EXPECT_EQ(panel.Template()->currentText(), "ELSE");
  EXPECT_EQ(form->Records().Items(1).VRCJRef.str(), "ELSE");

  TypeIntoCell(panel.Grid(), 1, 1, "7");
  EXPECT_EQ(panel.Template()->currentText(), form->CbComponent()->text());
}

// A value or point typed with its unit stays as typed, is shown in red and
// keeps the component from being computed.
TEST_F(DiodeForm, TextThatIsNoNumberIsShownAndNotComputed) {
  Open(*form, "diode.LBR");
  TCatDIO& r = form->Records().Items(1);
  r.Computed = false;
  Page(2);
  QLineEdit* edit = form->Value("EdForwCurr");
  const QColor normal = edit->palette().color(QPalette::Text);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(QApplication::focusWidget(), "10mA");
  EXPECT_EQ(edit->text(), "10mA");
  EXPECT_EQ(r.ForwCurrText.str(), "10mA");
  EXPECT_NE(edit->palette().color(QPalette::Text), normal);
  edit->selectAll();
  QTest::keyClicks(QApplication::focusWidget(), "10");
  EXPECT_EQ(edit->palette().color(QPalette::Text), normal);

  Page(0);
  TScaledStringGrid* grid = form->PanelVDID().Grid();
  const QVariant plain = grid->item(1, 1)->data(Qt::ForegroundRole);
  TypeIntoCell(grid, 1, 1, "0.9V");
  form->CbComponent()->setFocus();
  EXPECT_EQ(grid->Cells(1, 1), "0.9V");
  EXPECT_EQ(r.VDID.NotNumber.str(), "0.9V");
  EXPECT_NE(grid->item(1, 1)->data(Qt::ForegroundRole), plain);

  CheckFailed = 0;
  form->List().Compute(1);
  EXPECT_FALSE(r.Computed);
  EXPECT_EQ(CheckFailed, 1);
  // Typed again as a number, the point is taken.
  TypeIntoCell(grid, 1, 1, "0.9");
  form->CbComponent()->setFocus();
  EXPECT_EQ(r.VDID.NotNumber.str(), "");
  EXPECT_EQ(grid->item(1, 1)->data(Qt::ForegroundRole), plain);
}

// A form given more room than its design size lets its plots grow with it,
// drawn again at their new size; a long template name shows from its start.
TEST_F(DiodeForm, PlotsGrowWithTheFormAndLongNamesShowTheirStart) {
  Open(*form, "diode.LBR");
  form->Records().Items(1).VDIDRef = "A TEMPLATE WITH A LONG NAME";
  form->ShowData();
  EXPECT_EQ(form->PanelVDID().Template()->lineEdit()->cursorPosition(), 0);

  TPlotImage* plot = form->PanelVDID().Plot();
  const QSize before = plot->size();
  form->resize(1800, 1200);
  QApplication::processEvents();
  EXPECT_GT(plot->width(), before.width());
  EXPECT_GT(plot->height(), before.height());
  EXPECT_EQ(plot->Image().size(), plot->size());
  // Drawn again: the frame's black outline runs down the whole new height.
  EXPECT_EQ(plot->Image().pixelColor(0, plot->height() - 2), QColor(Qt::black));
  testing::ExpectPagesLaidOutWhole(*form);
}

// A text set with its baseline just above a line leaves the line whole:
// its background covers the glyphs, not the line spacing below them.
TEST(PlotCanvas, TextBackgroundLeavesALineBelowTheGlyphsInSight) {
  TPlotImage plot(nullptr, QSize(200, 100));
  QFont font("Arial");
  font.setPointSize(8);
  const QFontMetrics metrics(font);
  const int lineY = 60;
  plot.Paint([&](PlotCanvas& c) {
    c.SetFont("Arial", 8);
    c.SetPen(kPlotBlack, PenStyle::Solid);
    c.SetBrush(kPlotWindow);
    c.MoveTo(0, lineY);
    c.LineTo(199, lineY);
    c.TextOut(20, lineY - metrics.ascent() - 1, "Vmm");  // no descenders
  });
  ASSERT_GE(metrics.descent(), 2);  // the line spacing reaches below the line
  for (int x = 20; x < 20 + metrics.horizontalAdvance("Vmm"); ++x)
    EXPECT_EQ(plot.Image().pixelColor(x, lineY), QColor(Qt::black)) << x;
}

TEST_F(DiodeForm, DefaultsAndTypingIntoTheCapacitanceGrid) {
  Open(*form, "diode.LBR");
  form->Records().Items(0).RecoveryTime = 4.123456789;
  Page(2);
  QTest::mouseClick(Find<QPushButton>(*form, "BBDef3"), Qt::LeftButton);
  EXPECT_EQ(form->Value("EdRecoveryTime")->text(), "4.1234568");
  EXPECT_EQ(form->Records().Items(1).RecoveryTimeText.str(), "4.1234568");

  Page(1);
  form->PanelVRCJ().Template()->setEditText("ELSE");
  TypeIntoCell(form->PanelVRCJ().Grid(), 0, 1, "2");
  EXPECT_EQ(form->PanelVRCJ().Template()->currentText(), form->CbComponent()->text());
  EXPECT_EQ(form->Records().Items(1).VRCJRef.str(), RecordText(form->CbComponent()->text()));

  // Typing into a value edit changes no template combo.
  form->PanelVDID().Template()->setEditText("FIXED");
  Page(2);
  form->Value("EdBreakdownVolt")->setFocus();
  QTest::keyClicks(form->Value("EdBreakdownVolt"), "5");
  EXPECT_EQ(form->PanelVDID().Template()->currentText(), "FIXED");
}


// --- the forms in the program's frame ------------------------------------------

class FormsInFrame : public testing::FrameWithFormsTest {
 protected:
  // Blue pixels of a plot: the fitted curve.
  static int Blue(const TPlotImage* plot) {
    const QImage& image = plot->Image();
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == QColor(0, 0, 255)) ++blue;
    return blue;
  }
  // With PAKRO_SCREENSHOT_DIR set, each page of the form goes there as a picture.
  static void Screenshot(TDatasheetForm& form, const QString& name) { testing::SaveScreenshots(form, name); }
};

// Each kind opens in a window that shows all of it: the form is given at
// least its least size, and on every page every control has its own.
TEST_F(FormsInFrame, EveryKindOpensInAWindowThatShowsAllItsControls) {
  struct Kind {
    int kind;
    const char* name;
  };
  const Kind kinds[] = {{kDiode, "diode"},          {kNpnTransistor, "npn"},   {kPnpTransistor, "pnp"},
                        {kNChannelJfet, "njfet"},   {kPChannelJfet, "pjfet"}, {kNChannelMosfet, "nmos"},
                        {kPChannelMosfet, "pmos"}, {kMagneticCore, "core"}};
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.name);
    auto* form = dynamic_cast<TDatasheetForm*>(main->CreateChild(k.kind, k.name));
    ASSERT_NE(form, nullptr);
    QApplication::processEvents();
    // It opens at the size it asks for, and that is what its controls need
    // now, not what some of them needed while it was being made.
    EXPECT_EQ(form->size(), form->sizeHint());
    EXPECT_GE(form->width(), testing::LeastSize(*form).width());
    EXPECT_GE(form->height(), testing::LeastSize(*form).height());
    testing::ExpectPagesLaidOutWhole(*form);
    form->parentWidget()->close();
    QApplication::processEvents();
  }
}

TEST_F(FormsInFrame, ComputeFromTheBipolarFormShowsTheFittedCurves) {
  main->NPNtransistor1Click(nullptr);
  auto* form = dynamic_cast<TBlankTRN*>(main->ActiveMDIChild());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(CurrentType, kNpnTransistor);
  synthetic::FillBipolar(form->Records().Items(1), "BCTEST");
  form->ShowData();
  EXPECT_EQ(Blue(form->PanelICBETA().Plot()), 0);
  EXPECT_EQ(form->findChild<QLineEdit*>("EdBF")->text(), "");

  main->Currentcomponent1Click(nullptr);
  const TCatBipolar& r = form->Records().Items(1);
  ASSERT_TRUE(r.Computed);
  EXPECT_EQ(form->findChild<QLineEdit*>("EdBF")->text(), NumberText(r.Param[BipolarParam::BF], 3));
  for (int i = 0; i < 5; ++i) EXPECT_GT(Blue(form->Panel(i).Plot()), 20) << i;
  Screenshot(*form, "npn");
}

TEST_F(FormsInFrame, ComputeFromTheDiodeFormShowsTheFittedCurves) {
  main->Diode1Click(nullptr);
  auto* form = dynamic_cast<TBlankDIO*>(main->ActiveMDIChild());
  ASSERT_NE(form, nullptr);
  synthetic::FillDiode(form->Records().Items(1), "DTEST");
  form->ShowData();
  main->Currentcomponent1Click(nullptr);
  const TCatDIO& r = form->Records().Items(1);
  ASSERT_TRUE(r.Computed);
  EXPECT_EQ(form->findChild<QLineEdit*>("EdTT")->text(), NumberText(r.TT, 3));
  EXPECT_GT(Blue(form->PanelVDID().Plot()), 20);
  EXPECT_GT(Blue(form->PanelVRCJ().Plot()), 20);
  Screenshot(*form, "diode");
}

TEST_F(FormsInFrame, TheFormsOwnAddButtonAddsAComponentOnTheFirstPage) {
  main->PNPTransistor1Click(nullptr);
  auto* form = dynamic_cast<TBlankTRP*>(main->ActiveMDIChild());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(CurrentType, kPnpTransistor);
  form->TabSet()->setCurrentIndex(5);
  form->CbComponent()->setText("FIRST");
  QTest::mouseClick(form->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
  EXPECT_EQ(form->List().Count(), 3);
  EXPECT_EQ(form->List().Current(), 2);
  EXPECT_EQ(form->Records().Items(1).Name.str(), "FIRST");
  EXPECT_EQ(form->Notebook()->currentIndex(), 0);
  EXPECT_EQ(main->CbNavigator()->count(), 2);
}

TEST_F(FormsInFrame, TheFormsLibrariesWriteTheirModelFiles) {
  main->NPNtransistor1Click(nullptr);
  auto* form = dynamic_cast<TBlankTRN*>(main->ActiveMDIChild());
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->List().HasMplFiles());
  synthetic::FillBipolar(form->Records().Items(1), "BCTEST");
  form->ShowData();
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("pakro_form_output_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "out.lib").string();
  {
    platform::testing::ScriptedFileDialogs dialogs;
    dialogs.expectSave(path);
    main->CreateSPICELibrary1Click(nullptr);
  }
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find(".MODEL BCTEST NPN"), std::string::npos) << text;
  EXPECT_TRUE(form->Records().Items(1).Computed);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pakro
