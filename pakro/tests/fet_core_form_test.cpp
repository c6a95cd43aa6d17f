// The JFET, MOSFET and magnetic-core datasheet forms on the offscreen
// platform: records shown and stored unchanged, the JFET's abscissa choice,
// the P-channel MOSFET's edits, the core's mirrored branch grids and its
// loop plot, both whole in the window the core form opens in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "pakro/devices/COR_form.h"
#include "pakro/devices/JFN_form.h"
#include "pakro/devices/MNE_form.h"
#include "pakro/shell/forms.h"
#include "pakro/shell/frame_state.h"
#include "pakro/shell/library_file.h"
#include "pakro/devices/model_compute.h"
#include "pakro/shell/plot_image.h"
#include "platform/scripted_dialogs.h"
#include "pakro/tests/form_test_support.h"
#include "pakro/tests/qt_application.h"
#include "pakro/tests/plot_recording_canvas.h"
#include "pakro/shell/scaled_string_grid.h"
#include "pakro/tests/synthetic_records.h"

namespace pakro {
namespace {

using testing::ExpectSameCurve;
using testing::Find;
using testing::Open;
using testing::OpenPath;

void ExpectSameRecord(const TCatJFET& a, const TCatJFET& b) {
  EXPECT_EQ(a.Name.str(), b.Name.str());
  EXPECT_EQ(a.Usage.str(), b.Usage.str());
  EXPECT_EQ(a.RefVGSID.str(), b.RefVGSID.str());
  EXPECT_EQ(a.RefVXSCRSS.str(), b.RefVXSCRSS.str());
  EXPECT_EQ(a.RefVGSCISS.str(), b.RefVGSCISS.str());
  // A transfer writes the choice of the buttons: any text but "vsVDS" is the
  // gate-source choice.
  EXPECT_EQ(a.CrsVsDrainSource(), b.CrsVsDrainSource());
  ExpectSameCurve(a.CurveVGSID, b.CurveVGSID, "VGSID");
  ExpectSameCurve(a.CurveVXSCRSS, b.CurveVXSCRSS, "VXSCRSS");
  ExpectSameCurve(a.CurveVGSCISS, b.CurveVGSCISS, "VGSCISS");
  EXPECT_EQ(a.GosText.str(), b.GosText.str());
  EXPECT_EQ(a.GosIDText.str(), b.GosIDText.str());
  EXPECT_EQ(a.Gos, b.Gos);
  EXPECT_EQ(a.GosID, b.GosID);
  EXPECT_EQ(a.BETA, b.BETA);
  EXPECT_EQ(a.Computed, b.Computed);
}

void ExpectSameRecord(const TCatMOSFET& a, const TCatMOSFET& b) {
  EXPECT_EQ(a.Name.str(), b.Name.str());
  EXPECT_EQ(a.Usage.str(), b.Usage.str());
  EXPECT_EQ(a.IdVgsTemplate.str(), b.IdVgsTemplate.str());
  EXPECT_EQ(a.CrssTemplate.str(), b.CrssTemplate.str());
  EXPECT_EQ(a.CossTemplate.str(), b.CossTemplate.str());
  ExpectSameCurve(a.IdVgs, b.IdVgs, "IdVgs");
  ExpectSameCurve(a.Crss, b.Crss, "Crss");
  ExpectSameCurve(a.Coss, b.Coss, "Coss");
  const ShortString<12> TCatMOSFET::*texts[] = {&TCatMOSFET::TextQ0,   &TCatMOSFET::TextQ1,  &TCatMOSFET::TextQ2,
                                                &TCatMOSFET::TextVG,   &TCatMOSFET::TextVDS1, &TCatMOSFET::TextVDS2,
                                                &TCatMOSFET::TextVDS,  &TCatMOSFET::TextIDSS};
  for (auto text : texts) EXPECT_EQ((a.*text).str(), (b.*text).str());
  const double TCatMOSFET::*values[] = {&TCatMOSFET::Q0,   &TCatMOSFET::Q1,   &TCatMOSFET::Q2,  &TCatMOSFET::VG,
                                        &TCatMOSFET::VDS1, &TCatMOSFET::VDS2, &TCatMOSFET::VDS, &TCatMOSFET::IDSS};
  for (auto value : values) EXPECT_EQ(a.*value, b.*value);
  EXPECT_EQ(a.Computed, b.Computed);
}

void ExpectSameRecord(const TCatCOR& a, const TCatCOR& b) {
  EXPECT_EQ(a.Name.str(), b.Name.str());
  EXPECT_EQ(a.Usage.str(), b.Usage.str());
  EXPECT_EQ(a.BHRef.str(), b.BHRef.str());
  ExpectSameCurve(a.BH, b.BH, "BH");
  EXPECT_EQ(a.DsAreaText.str(), b.DsAreaText.str());
  EXPECT_EQ(a.DsPackText.str(), b.DsPackText.str());
  EXPECT_EQ(a.DsGap, b.DsGap);
  EXPECT_EQ(a.MS, b.MS);
  EXPECT_EQ(a.Computed, b.Computed);
}

// A form under test; typing into a grid cell ends with Enter.
template <class Form>
class FormTest : public testing::FormTest<Form> {
 protected:
  using testing::FormTest<Form>::form;
  using testing::FormTest<Form>::Page;
  using testing::FormTest<Form>::ExpectParamGridStoresOnlyEdits;
  void TypeIntoCell(TScaledStringGrid* grid, int col, int row, const QString& text) {
    testing::FormTest<Form>::TypeIntoCell(grid, col, row, text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  }
  // Shows every record and stores it back: nothing may change.
  template <class Rec>
  void ExpectRoundTripsUnchanged(const char* fixture) {
    Open(*form, fixture);
    for (int current = 0; current < form->List().Count(); ++current) {
      SCOPED_TRACE(current);
      form->List().SetCurrent(current);
      form->ShowData();
      auto& r = static_cast<Rec&>(form->Records().Items(current));
      const Rec before = r;
      form->SendAllData(nullptr);
      ExpectSameRecord(r, before);
    }
  }
};

using NJfetForm = FormTest<TBlankJFN>;
using PJfetForm = FormTest<TBlankJFP>;
using NMosfetForm = FormTest<TBlankMNE>;
using PMosfetForm = FormTest<TBlankMPE>;
using CoreForm = FormTest<TBlankCOR>;

// --- JFET -------------------------------------------------------------------------

TEST_F(NJfetForm, ShowDataThenSendAllDataLeavesEveryRecordUnchanged) {
  ExpectRoundTripsUnchanged<TCatJFN>("njfet.LBR");
}
TEST_F(PJfetForm, ShowDataThenSendAllDataLeavesEveryRecordUnchanged) {
  ExpectRoundTripsUnchanged<TCatJFP>("pjfet.LBR");
}

// The abscissa choice of the feedback capacitance, by polarity and button:
// the record's CrsVs, the grid's and the one-row grid's titles and the
// curve's x title.
struct AbscissaRow {
  bool pChannel;
  bool drainSource;
  const char* crsVs;
  const char* gridTitle;
  const char* paramTitle;
  const char* xTitle;
};
constexpr AbscissaRow kAbscissaRows[] = {
    {false, false, "vsVGS", "-VGS [V]", " VDS [V]", "-VGS [V]"},
    {false, true, "vsVDS", " VDS [V]", "-VGS [V]", " VDS [V]"},
    {true, false, "vsVGS", " VGS [V]", "-VDS [V]", " VGS [V]"},
    {true, true, "vsVDS", "-VDS [V]", " VGS [V]", "-VDS [V]"},
};

TEST(JfetAbscissa, RadioButtonsSetTheTitlesOfTheTableAndMarkTheLibraryModified) {
  for (const AbscissaRow& row : kAbscissaRows) {
    SCOPED_TRACE(std::string(row.pChannel ? "P " : "N ") + row.crsVs);
    std::unique_ptr<TBlankJFET> form;
    if (row.pChannel)
      form = std::make_unique<TBlankJFP>();
    else
      form = std::make_unique<TBlankJFN>();
    Open(*form, row.pChannel ? "pjfet.LBR" : "njfet.LBR", 1);
    form->show();
    form->TabSet()->setCurrentIndex(1);
    // Start from the other choice, so that the click changes it.
    TCatJFET& r = form->Records().Items(1);
    r.CrsVs = row.drainSource ? "vsVGS" : "vsVDS";
    form->ShowData();
    form->List().SetModified(false);
    QTest::mouseClick(row.drainSource ? form->RbvsVDS() : form->RbvsVGS(), Qt::LeftButton);
    EXPECT_EQ(r.CrsVs, row.crsVs);
    EXPECT_EQ(form->PanelVXSCRSS().Grid()->Cells(0, 0), row.gridTitle);
    EXPECT_EQ(form->PanelVXSCRSS().ParamGrid()->Cells(0, 0), row.paramTitle);
    EXPECT_EQ(r.CurveVXSCRSS.XTitle.str(), row.xTitle);
    EXPECT_TRUE(form->List().Modified());
    // Clicking the button already chosen changes nothing.
    form->List().SetModified(false);
    QTest::mouseClick(row.drainSource ? form->RbvsVDS() : form->RbvsVGS(), Qt::LeftButton);
    EXPECT_FALSE(form->List().Modified());
  }
}

TEST_F(NJfetForm, ShowingARecordFollowsItsChoiceWithoutMarkingTheLibrary) {
  Open(*form, "njfet.LBR", 0);
  form->List().SetModified(false);
  ASSERT_EQ(form->Records().Items(0).CrsVs, "vsVGS");
  ASSERT_EQ(form->Records().Items(1).CrsVs, "vsVDS");
  EXPECT_TRUE(form->RbvsVGS()->isChecked());
  form->List().SetCurrent(1);
  form->ShowData();
  EXPECT_TRUE(form->RbvsVDS()->isChecked());
  EXPECT_EQ(form->PanelVXSCRSS().Grid()->Cells(0, 0), " VDS [V]");
  EXPECT_EQ(form->PanelVXSCRSS().ParamGrid()->Cells(0, 0), "-VGS [V]");
  EXPECT_EQ(form->Records().Items(1).CurveVXSCRSS.XTitle.str(), " VDS [V]");
  EXPECT_FALSE(form->List().Modified());
}

// A record that keeps the abscissa chosen at creation leaves the one-row
// grid's title as the form made it.
TEST(JfetAbscissa, ShowingARecordOfTheFirstChoiceKeepsTheFormsTitle) {
  TBlankJFN n;
  TBlankJFP p;
  for (auto [form, title] : {std::pair<TBlankJFET*, const char*>{&n, " VDS [V]:"}, {&p, "-VDS [V]:"}}) {
    form->List().AddItem();
    form->ShowData();
    ASSERT_FALSE(form->Records().Items(1).CrsVsDrainSource());
    EXPECT_EQ(form->PanelVXSCRSS().ParamGrid()->Cells(0, 0), title);
    // Back from a record of the other choice, the titles are the table's.
    form->Records().Items(1).CrsVs = "vsVDS";
    form->ShowData();
    form->Records().Items(1).CrsVs = "vsVGS";
    form->ShowData();
    EXPECT_EQ(form->PanelVXSCRSS().ParamGrid()->Cells(0, 0), QString(title).chopped(1));
  }
}

TEST_F(NJfetForm, MovingThroughACurveParameterGridChangesNothing) {
  Open(*form, "njfet.LBR");
  const TCatJFET& r = form->Records().Items(1);
  ExpectParamGridStoresOnlyEdits(1, form->PanelVXSCRSS(), r.CurveVXSCRSS);
  ExpectParamGridStoresOnlyEdits(2, form->PanelVGSCISS(), r.CurveVGSCISS);
}

TEST_F(NJfetForm, AbscissaChoiceSurvivesSavingTheLibrary) {
  Open(*form, "njfet.LBR", 0);
  form->List().AddItem();
  form->List().SetCurrent(form->List().Count() - 1);
  form->ShowData();
  form->List().SetModified(false);
  Page(1);
  QTest::mouseClick(form->RbvsVDS(), Qt::LeftButton);
  // The close question comes, so the choice is not lost by closing.
  {
    platform::testing::ScriptedMessages messages;
    messages.expect("Save the Library    before closing?", platform::Answer::Cancel);
    EXPECT_FALSE(form->FormCloseQuery());
  }
  const std::string path = ::testing::TempDir() + "jfet_choice_" + std::to_string(getpid()) + ".LBR";
  form->List().WriteLibrary(path);
  TBlankJFN reopened;
  OpenPath(reopened, path, form->List().Count() - 1);
  EXPECT_EQ(reopened.Records().Items(form->List().Count() - 1).CrsVs, "vsVDS");
  EXPECT_TRUE(reopened.RbvsVDS()->isChecked());
  std::filesystem::remove(path);
}

TEST_F(NJfetForm, OutputConductanceTypedAndFromTheDefaults) {
  Open(*form, "njfet.LBR", 1);
  Page(3);
  TCatJFET& r = form->Records().Items(1);
  form->Value("EdGOS")->setFocus();
  form->Value("EdGOS")->selectAll();
  QTest::keyClicks(form->Value("EdGOS"), "1,5");
  EXPECT_EQ(r.Gos, 1.5);
  EXPECT_EQ(r.GosText.str(), "1,5");
  form->Records().Items(0).GosID = 2.123456789;
  form->Records().Items(0).Gos = 40;
  QTest::mouseClick(Find<QPushButton>(*form, "BBDef1"), Qt::LeftButton);
  EXPECT_EQ(form->Value("EdGOSID")->text(), "2.1234568");
  EXPECT_EQ(r.GosIDText.str(), "2.1234568");
  EXPECT_EQ(r.Gos, 40);
  // The curve parameters are read with every transfer.
  Page(2);
  form->PanelVGSCISS().ParamGrid()->SetCells(1, 0, "7,5");
  form->SendData(form->Value("EdGOS"));
  EXPECT_EQ(r.CurveVGSCISS.CurveParam, 7.5);
  EXPECT_EQ(r.CurveVGSCISS.CurveParamText.str(), "7,5");
}

// A template combo whose text is one of its items, other than the first,
// reports an activation when it loses the focus; when that happens while
// the form is taken down, the form, half gone, must not take it.
TEST_F(NJfetForm, TakenDownWithTheFocusInATemplateCombo) {
  Open(*form, "njfet.LBR", 1);
  Page(0);
  QComboBox* combo = form->PanelVGSID().Template();
  ASSERT_GT(combo->findText(combo->currentText()), 0);
  combo->lineEdit()->setFocus();
  QWidget* focus = QApplication::focusWidget();
  ASSERT_TRUE(focus == combo || combo->isAncestorOf(focus));
  form.reset();
  SUCCEED();
}

TEST(JfetLayout, PagesTitlesAndTwins) {
  TBlankJFN n;
  TBlankJFP p;
  EXPECT_EQ(n.Module(), kNChannelJfet);
  EXPECT_EQ(p.Module(), kPChannelJfet);
  const QStringList captions = {"A: VGS - ID", "B: VGS/VDS - CRS", "C: VGS - CIS", "D: Gos"};
  ASSERT_EQ(n.TabSet()->count(), captions.size());
  for (int i = 0; i < captions.size(); ++i) EXPECT_EQ(n.TabSet()->tabText(i), captions[i]);
  // Each opens on the page it was laid out on.
  EXPECT_EQ(n.Notebook()->currentIndex(), 3);
  EXPECT_EQ(p.Notebook()->currentIndex(), 1);
  EXPECT_EQ(n.findChild<QLabel*>("LbDataSheetTitle")->text(), "N-channel  JFET Data Sheet");
  EXPECT_EQ(p.findChild<QLabel*>("LbDataSheetTitle")->text(), "P-channel  JFET Data Sheet");
  auto componentLabel = [](TBlankJFET& form) {
    for (QLabel* label : form.findChildren<QLabel*>())
      if (label->buddy() == form.CbComponent()) return label->text();
    return QString();
  };
  EXPECT_EQ(componentLabel(n), "Component:");
  EXPECT_EQ(componentLabel(p), "Component name:");
  struct Row {
    const char* grid;
    int col;
    const char* n;
    const char* p;
  };
  const Row rows[] = {{"SgVGSID", 0, "-VGS [V]", " VGS [V]"},   {"SgVGSID", 1, " ID [mA]", "-ID [mA]"},
                      {"SgVXSCRSS", 0, "-VGS [V]", " VGS [V]"}, {"SgVXSCRSS", 1, "CRS [pF]", "CRS [pF]"},
                      {"SgVGSCISS", 0, "-VGS [V]", " VGS [V]"}, {"SgVGSCISS", 1, " CIS [pF]", " CIS [pF]"},
                      {"sg2VXSCRSS", 0, " VDS [V]:", "-VDS [V]:"}, {"Sg2VGSCISS", 0, " VDS [V]:", " -VDS [V]:"}};
  for (const Row& row : rows) {
    EXPECT_EQ(n.findChild<TScaledStringGrid*>(row.grid)->Cells(row.col, 0), row.n) << row.grid;
    EXPECT_EQ(p.findChild<TScaledStringGrid*>(row.grid)->Cells(row.col, 0), row.p) << row.grid;
  }
  EXPECT_EQ(HelpContextOf(n.findChild<QPushButton*>("BBDef1")), 49);
  EXPECT_EQ(HelpContextOf(n.findChild<QComboBox*>("CbVGSCISSRef")), 47);
  EXPECT_TRUE(n.findChild<QLineEdit*>("EdLAMBDA")->isReadOnly());

  // The same typing gives the same record in both twins.
  for (TBlankJFET* form : {static_cast<TBlankJFET*>(&n), static_cast<TBlankJFET*>(&p)}) {
    form->List().AddItem();
    form->List().SetCurrent(1);
    form->ShowData();
    form->CbComponent()->setText("TWIN");
    form->PanelVGSID().Grid()->SetCells(0, 1, "0,5");
    form->PanelVGSID().Grid()->SetCells(1, 1, "4");
    form->Value("EdGOS")->setText("12");
    form->SendAllData(nullptr);
  }
  ExpectSameRecord(n.Records().Items(1), p.Records().Items(1));
  EXPECT_EQ(p.Records().Items(1).CurveVGSID.X[0], 0.5);
}

// --- MOSFET -----------------------------------------------------------------------

TEST_F(NMosfetForm, ShowDataThenSendAllDataLeavesEveryRecordUnchanged) {
  ExpectRoundTripsUnchanged<TCatMNE>("nmos.LBR");
}
TEST_F(PMosfetForm, ShowDataThenSendAllDataLeavesEveryRecordUnchanged) {
  ExpectRoundTripsUnchanged<TCatMPE>("pmos.LBR");
}

TEST_F(PMosfetForm, ShowingARecordStoresNothingIntoIt) {
  Open(*form, "pmos.LBR", 1);
  auto& list = form->Records();
  // Two components whose gate-charge values differ everywhere.
  TCatMOSFET& first = list.Items(1);
  TCatMOSFET& second = list.Items(2);
  first.TextQ0 = "11";
  first.TextQ1 = "12";
  first.TextQ2 = "13";
  first.TextVG = "14";
  second.TextQ0 = "21";
  second.TextQ1 = "22";
  second.TextQ2 = "23";
  second.TextVG = "24";
  second.Q1 = 22;
  second.VG = 24;
  form->ShowData();
  form->List().SetModified(false);
  const TCatMPE before = static_cast<TCatMPE&>(second);
  form->List().SetCurrent(2);
  form->ShowData();
  ExpectSameRecord(second, before);
  EXPECT_FALSE(form->List().Modified());
  EXPECT_EQ(form->Value("EdQ1")->text(), "22");

  // A keystroke of the user in EdQ1 or EdVG stores at once.
  Page(3);
  form->Value("EdVG")->setFocus();
  form->Value("EdVG")->selectAll();
  QTest::keyClick(form->Value("EdVG"), '9');
  EXPECT_EQ(second.TextVG.str(), "9");
  EXPECT_EQ(second.VG, 9);
  EXPECT_TRUE(form->List().Modified());
}

TEST_F(NMosfetForm, DefaultButtonsAndLayout) {
  Open(*form, "nmos.LBR", 1);
  TCatMOSFET& d = form->Records().Items(0);
  d.VDS1 = 10;
  d.Q1 = 4.123456789;
  d.IDSS = 250;
  Page(3);
  QTest::mouseClick(Find<QPushButton>(*form, "BBDef1"), Qt::LeftButton);
  EXPECT_EQ(form->Value("EdVDS1")->text(), "10");
  EXPECT_EQ(form->Value("EdQ1")->text(), "4.1234568");
  EXPECT_EQ(form->Records().Items(1).TextQ1.str(), "4.1234568");
  Page(4);
  QTest::mouseClick(Find<QPushButton>(*form, "BBDef2"), Qt::LeftButton);
  EXPECT_EQ(form->Records().Items(1).IDSS, 250);

  EXPECT_EQ(form->Module(), kNChannelMosfet);
  const QStringList captions = {"A : VGS - ID", "B : VDS - CRS", "C : VDS - COS", "D : Gate charge",
                                "E : Cut-off current"};
  ASSERT_EQ(form->TabSet()->count(), captions.size());
  for (int i = 0; i < captions.size(); ++i) EXPECT_EQ(form->TabSet()->tabText(i), captions[i]);
  EXPECT_EQ(form->PanelVGSID().Grid()->Cells(1, 0), " ID [A]");
  EXPECT_EQ(form->PanelVDSCOSS().Grid()->Cells(1, 0), "COS [pF]");
  EXPECT_TRUE(Find<QWidget>(*form, "GroupBox6")->isHidden());
  EXPECT_EQ(Find<QPushButton>(*form, "BitBtn1")->text(), "Add new  ...");
  TBlankMPE p;
  EXPECT_EQ(p.Module(), kPChannelMosfet);
  EXPECT_EQ(p.PanelVGSID().Grid()->Cells(0, 0), "-VGS [V]");
  EXPECT_EQ(p.PanelVGSID().Grid()->Cells(1, 0), "-ID [A]");
  EXPECT_EQ(p.PanelVDSCRSS().Grid()->Cells(0, 0), "-VDS [V]");
  EXPECT_NE(p.findChild<QLineEdit*>("EdRds"), nullptr);
  EXPECT_EQ(p.findChild<QGroupBox*>("GroupBox7")->title(), "Drain cut-off current");
  // Computed: the parameters at precision 3.
  const TCatMOSFET& r = form->Records().Items(1);
  EXPECT_EQ(Find<QLineEdit>(*form, "EdKP")->text(), r.Computed ? NumberText(r.KP, 3) : QString());
}

// --- magnetic core ----------------------------------------------------------------

TEST_F(CoreForm, ShowDataThenSendAllDataLeavesEveryRecordUnchanged) {
  ExpectRoundTripsUnchanged<TCatCOR>("core.LBR");
}

QStringList Column(const TScaledStringGrid* grid, int col) {
  QStringList cells;
  for (int row = 1; row <= TGraph::MaxPoints; ++row) cells << grid->Cells(col, row);
  return cells;
}

QStringList Padded(QStringList cells) {
  while (cells.size() < TGraph::MaxPoints) cells << QString();
  return cells;
}

TEST_F(CoreForm, BranchesMirrorEachOtherAndBranchBIsStored) {
  Open(*form, "core.LBR", 1);
  form->List().AddItem();
  form->List().SetCurrent(form->List().Count() - 1);
  form->ShowData();
  TCatCOR& r = form->Records().Items(form->List().Count() - 1);
  ASSERT_EQ(form->TabSet1()->tabText(0), "Branch 'A'");
  ASSERT_EQ(form->TabSet1()->tabText(1), "Branch'B'");
  ASSERT_EQ(form->Notebook1()->currentWidget(), form->SgBH2());

  // Typed into branch A rows 1 to 3.
  const char* points[3][2] = {{"1", "0.1"}, {"10", "0,5"}, {"100", "1.2"}};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 2; ++col) TypeIntoCell(form->SgBH2(), col, row + 1, points[row][col]);
  EXPECT_EQ(Column(form->SgBH(), 0), Padded({"-100", "-10", "-1"}));
  EXPECT_EQ(Column(form->SgBH(), 1), Padded({"-1.2", "-0.5", "-0.1"}));
  // What was typed stays as typed: the mirror is not mirrored back.
  EXPECT_EQ(form->SgBH2()->Cells(1, 2), "0,5");
  EXPECT_EQ(r.BH.Count, 3);
  EXPECT_EQ(r.BH.X[0], -100);
  EXPECT_EQ(r.BH.Y[2], -0.1);
  EXPECT_EQ(form->PanelBH().Template()->currentText(), form->CbComponent()->text());
  // Moving through branch A and leaving it stores nothing more.
  form->List().SetModified(false);
  form->SgBH2()->setFocus();
  QTest::keyClick(form->SgBH2(), Qt::Key_Down);
  form->CbComponent()->setFocus();
  EXPECT_FALSE(form->List().Modified());

  // Rows 1, 2 and 5 of branch B give branch A rows 1, 4 and 5.
  form->TabSet1()->setCurrentIndex(1);
  ASSERT_EQ(form->Notebook1()->currentWidget(), form->SgBH());
  for (int row = 1; row <= 3; ++row)
    for (int col = 0; col < 2; ++col) form->SgBH()->SetCells(col, row, QString());
  TypeIntoCell(form->SgBH(), 0, 1, "-5");
  TypeIntoCell(form->SgBH(), 1, 1, "-1");
  TypeIntoCell(form->SgBH(), 0, 2, "-2");
  TypeIntoCell(form->SgBH(), 1, 2, "-0.4");
  TypeIntoCell(form->SgBH(), 0, 5, "3");
  TypeIntoCell(form->SgBH(), 1, 5, "0.7");
  EXPECT_EQ(Column(form->SgBH2(), 0), Padded({"-3", "", "", "2", "5"}));
  EXPECT_EQ(Column(form->SgBH2(), 1), Padded({"-0.7", "", "", "0.4", "1"}));
  // The record holds the rows up to the first gap.
  EXPECT_EQ(r.BH.Count, 2);
  EXPECT_EQ(r.BH.X[0], -5);

  // Emptying one branch empties the other; the record keeps its points.
  for (int row : {1, 2, 5})
    for (int col = 0; col < 2; ++col) {
      form->SgBH()->setCurrentCell(row, col);
      form->SgBH()->setFocus();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
      form->SgBH()->EditorTextChanged(col, row, QString());
    }
  EXPECT_EQ(Column(form->SgBH2(), 0), Padded({}));
  EXPECT_EQ(Column(form->SgBH2(), 1), Padded({}));
  EXPECT_EQ(r.BH.Count, 2);
}

TEST(CoreMirror, PacksTheMirroredRowsFromRowOne) {
  TScaledStringGrid a;
  TScaledStringGrid b;
  for (TScaledStringGrid* g : {&a, &b}) {
    g->SetColCount(2);
    g->SetRowCount(13);
  }
  // Row 12, the one out of sight, is mirrored like any other.
  a.SetCells(0, 12, "4");
  a.SetCells(1, 12, "2");
  a.SetCells(0, 11, "1E-3");
  a.SetCells(1, 11, "x");  // not a number: the value the reading yields, negated
  MirrorBranch(a, b);
  EXPECT_EQ(b.Cells(0, 1), "-4");
  EXPECT_EQ(b.Cells(1, 1), "-2");
  EXPECT_EQ(b.Cells(0, 2), "-0.001");
  EXPECT_EQ(b.Cells(1, 2), NumberText(-TextValue("x"), 8));
  EXPECT_EQ(b.Cells(0, 3), "");
  // Every row full: nothing to pack.
  for (int row = 1; row <= 12; ++row) {
    a.SetCells(0, row, QString::number(row));
    a.SetCells(1, row, QString::number(-row));
  }
  MirrorBranch(a, b);
  EXPECT_EQ(b.Cells(0, 1), "-12");
  EXPECT_EQ(b.Cells(1, 12), "1");
}

TEST_F(CoreForm, TemplateFillsBothBranchesAndGeometryDefaults) {
  Open(*form, "core.LBR", 1);
  form->List().AddItem();
  const int last = form->List().Count() - 1;
  TCatCOR& source = form->Records().Items(1);
  source.BHRef = "LOOP";
  source.BH.Count = 2;
  source.BH.X = {-50, 25.123456789};
  source.BH.Y = {-1, 0.5};
  form->List().SetCurrent(last);
  form->ShowData();
  QComboBox* combo = form->PanelBH().Template();
  QLineEdit* edit = combo->lineEdit();
  combo->setFocus();
  QWidget* focus = QApplication::focusWidget();  // where the user's keys go
  edit->selectAll();
  QTest::keyClicks(focus, "LOOP");
  EXPECT_EQ(Column(form->SgBH(), 0), Padded({"-50", "25.123457"}));
  EXPECT_EQ(Column(form->SgBH2(), 0), Padded({"-25.123457", "50"}));
  EXPECT_EQ(form->Records().Items(last).BH.Count, 2);
  EXPECT_EQ(form->Records().Items(last).BHRef.str(), "LOOP");

  form->Records().Items(0).DsArea = 1.23456789;
  Page(1);
  QTest::mouseClick(Find<QPushButton>(*form, "BBDef1"), Qt::LeftButton);
  EXPECT_EQ(form->Value("EdArea_")->text(), "1.2345679");
  EXPECT_EQ(form->Records().Items(last).DsAreaText.str(), "1.2345679");
  EXPECT_EQ(form->Module(), kMagneticCore);
  EXPECT_EQ(form->TabSet()->tabText(0), "A: Hysteric curve");
  EXPECT_EQ(form->TabSet()->tabText(1), "B: Geometrical parameters ");
  EXPECT_TRUE(Find<QLineEdit>(*form, "EdEG")->isHidden());
}

// Both branches of a computed loop are drawn, the second the point
// reflection of the first.
TEST(CoreLoop, ComputedLoopDrawsBothBranches) {
  platform::testing::ScriptedMessages messages;
  TCatCOR r;
  synthetic::FillCore(r, "LOOP");
  Iteration = std::make_unique<TIteration>();
  ASSERT_TRUE(ComputeCOR(r));
  ASSERT_TRUE(r.BH.ShowFitted);
  FittedCurve fitted;
  r.BH.ComputeCurve(fitted);
  RecordingCanvas canvas(330, 232);
  r.BH.DrawLoop(canvas, fitted);
  std::vector<PlotOp> blue;
  for (const PlotOp& op : canvas.Of(PlotOp::Line))
    if (op.pen == kPlotBlue) blue.push_back(op);
  ASSERT_GT(blue.size(), 100u);
  const int x0 = 165, y0 = 116;
  std::size_t left = 0, right = 0;
  for (const PlotOp& op : blue) (op.points[1].x >= x0 ? right : left)++;
  EXPECT_GT(left, 40u);
  EXPECT_GT(right, 40u);
  // Every segment of one branch has its reflection through the origin in the other.
  for (const PlotOp& op : blue) {
    const PlotPoint a{2 * x0 - op.points[0].x, 2 * (232 - y0) - op.points[0].y};
    const PlotPoint b{2 * x0 - op.points[1].x, 2 * (232 - y0) - op.points[1].y};
    const bool mirrored = std::any_of(blue.begin(), blue.end(), [&](const PlotOp& other) {
      return std::abs(other.points[0].x - a.x) <= 1 && std::abs(other.points[0].y - a.y) <= 1 &&
             std::abs(other.points[1].x - b.x) <= 1 && std::abs(other.points[1].y - b.y) <= 1;
    });
    EXPECT_TRUE(mirrored) << op.points[0].x << "," << op.points[0].y;
  }
  // One triangle and one square per point.
  EXPECT_EQ(canvas.Of(PlotOp::Polygon).size(), static_cast<std::size_t>(r.BH.Count));
}

TEST_F(CoreForm, ComputedComponentShowsItsLoopAndModelValues) {
  platform::testing::ScriptedMessages messages;
  form->List().AddItem();
  TCatCOR& r = form->Records().Items(1);
  synthetic::FillCore(r, "LOOP");
  ASSERT_TRUE(ComputeCOR(r));
  form->List().SetCurrent(1);
  form->ShowData();
  EXPECT_EQ(Find<QLineEdit>(*form, "EdMS")->text(), NumberText(r.MS, 3));
  EXPECT_EQ(Find<QLineEdit>(*form, "EdArea")->text(), NumberText(r.Area, 3));
  const QImage& image = form->PanelBH().Plot()->Image();
  int left = 0, right = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == QColor(0, 0, 255)) (x < image.width() / 2 ? left : right)++;
  EXPECT_GT(left, 20);
  EXPECT_GT(right, 20);
  // The axis tabs stay on linear scales for a loop.
  QTabBar* tabs = form->PanelBH().AxisTabs();
  messages.expect("These data are not viewable on \"Log - Lin\"  graph", platform::Answer::Ok,
                  platform::MessageKind::Warning, platform::Buttons::Ok);
  tabs->setCurrentIndex(1);
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(r.BH.XScale.str(), "Lin");
}

using CoreFormInFrame = testing::FrameWithFormsTest;

// Opened in the frame, the core form shows each branch grid with its rows
// 0 to 11 whole and the branch tabs below it, and the loop plot whole.
TEST_F(CoreFormInFrame, BranchGridsAndLoopAreWholeInTheWindowItOpensIn) {
  auto* form = dynamic_cast<TBlankCOR*>(main->CreateChild(kMagneticCore, "core"));
  ASSERT_NE(form, nullptr);
  QApplication::processEvents();
  for (int branch : {0, 1}) {
    SCOPED_TRACE(branch);
    form->TabSet1()->setCurrentIndex(branch);
    QApplication::processEvents();
    TScaledStringGrid* grid = branch == 0 ? form->SgBH2() : form->SgBH();
    ASSERT_EQ(form->Notebook1()->currentWidget(), grid);
    EXPECT_EQ(grid->size(), form->SgBH()->size());
    const QRect sight = testing::RectInSight(*grid->viewport(), *form);
    int rows = 0;
    for (int row = 0; row < TGraph::MaxPoints; ++row) rows += grid->rowHeight(row);
    EXPECT_EQ(sight.top(), 0);
    EXPECT_GE(sight.height(), rows);
    EXPECT_EQ(sight.width(), grid->viewport()->width());
    EXPECT_GE(form->TabSet1()->y(), form->Notebook1()->y() + form->Notebook1()->height());
    EXPECT_EQ(testing::RectInSight(*form->TabSet1(), *form), form->TabSet1()->rect());
  }
  TPlotImage* plot = form->PanelBH().Plot();
  EXPECT_EQ(testing::RectInSight(*plot, *form), plot->rect());
  EXPECT_EQ(testing::RectInSight(*form->PanelBH().AxisTabs(), *form), form->PanelBH().AxisTabs()->rect());
}

}  // namespace
}  // namespace pakro
