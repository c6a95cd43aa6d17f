// Every kind reads its hand-written fixture library (a defaults record, a
// component with every field filled, a 12-point curve, a "1,5" text and a
// text that is no number, and a component with empty curves) and writes it
// back byte for byte; the fields read are checked per kind.
#include <gtest/gtest.h>

#include "pakro/devices/COR_.h"
#include "pakro/devices/DIO_.h"
#include "pakro/devices/JFP_.h"
#include "pakro/devices/MPE_.h"
#include "pakro/devices/TRP_.h"
#include "pakro/tests/library_test_support.h"

namespace pakro {
namespace {

using testing::FixturePath;
using testing::ReadBytes;
using testing::ScratchDir;

template <class List>
List OpenFixture(const char* name) {
  List list;
  list.AddItem();  // stands for the defaults record
  testing::Open(list, FixturePath(name));
  return list;
}

template <class List>
struct Fixture;
template <> struct Fixture<TCatListDIO> { static constexpr const char* name = "diode.LBR"; };
template <> struct Fixture<TCatListTRN> { static constexpr const char* name = "npn.LBR"; };
template <> struct Fixture<TCatListTRP> { static constexpr const char* name = "pnp.LBR"; };
template <> struct Fixture<TCatListJFN> { static constexpr const char* name = "njfet.LBR"; };
template <> struct Fixture<TCatListJFP> { static constexpr const char* name = "pjfet.LBR"; };
template <> struct Fixture<TCatListMNE> { static constexpr const char* name = "nmos.LBR"; };
template <> struct Fixture<TCatListMPE> { static constexpr const char* name = "pmos.LBR"; };
template <> struct Fixture<TCatListCOR> { static constexpr const char* name = "core.LBR"; };

template <class List>
class LibraryRoundTrip : public ::testing::Test {};
using AllLists = ::testing::Types<TCatListDIO, TCatListTRN, TCatListTRP, TCatListJFN, TCatListJFP,
                                  TCatListMNE, TCatListMPE, TCatListCOR>;
TYPED_TEST_SUITE(LibraryRoundTrip, AllLists);

TYPED_TEST(LibraryRoundTrip, FixtureReadsAndWritesBackByteForByte) {
  const char* name = Fixture<TypeParam>::name;
  TypeParam list = OpenFixture<TypeParam>(name);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Current, 1);
  EXPECT_EQ(list.Items(0).Name.str(), "LIBDEFAULT");
  EXPECT_EQ(list.Items(2).Name.str(), "EMPTY");
  EXPECT_EQ(list.Items(1).Name.size(), 24u);
  EXPECT_EQ(list.Items(1).Name.str()[1], '\xb5');  // a byte of the 8-bit code page, kept as it is
  EXPECT_TRUE(list.Items(1).Computed);
  EXPECT_FALSE(list.Items(2).Computed);

  ScratchDir dir;
  list.Modified = true;
  list.WriteLibrary(dir.Path("out.LBR"));
  EXPECT_FALSE(list.Modified);
  EXPECT_EQ(ReadBytes(dir.Path("out.LBR")), ReadBytes(FixturePath(name)));
}

// --- diode -------------------------------------------------------------------

TEST(DiodeRecord, FieldsOfTheFixture) {
  const auto list = OpenFixture<TCatListDIO>("diode.LBR");
  const TCatDIO& d = list.Items(1);
  EXPECT_EQ(d.Usage.str(), "Switching diode, 75 V, 150 mA, t");
  EXPECT_EQ(d.VRCJRef.str(), "OTHER PART");
  ASSERT_EQ(d.VDID.Count, 12);
  EXPECT_DOUBLE_EQ(d.VDID.X[0], 0.01);
  EXPECT_DOUBLE_EQ(d.VDID.Y[11], 1.05);
  EXPECT_FALSE(d.VDID.XNonPositive);
  EXPECT_FALSE(d.VDID.YNonPositive);
  ASSERT_EQ(d.VRCJ.Count, 3);
  EXPECT_DOUBLE_EQ(d.VRCJ.X[2], -1);
  EXPECT_TRUE(d.VRCJ.XNonPositive);  // reverse voltages 0 and -1
  EXPECT_TRUE(d.VRCJ.YNonPositive);  // a capacitance of 0
  EXPECT_EQ(d.Spare1Text.str(), "1,5");
  EXPECT_DOUBLE_EQ(d.Spare1, 1.5);
  EXPECT_EQ(d.Spare2Text.str(), "abc");
  EXPECT_EQ(d.Spare2, 0);
  EXPECT_DOUBLE_EQ(d.ZenerResist, 1234570);
  EXPECT_DOUBLE_EQ(d.Spare6, 7);
  EXPECT_EQ(d.RecoveryTimeText.str(), "123456789012");
  EXPECT_DOUBLE_EQ(static_cast<double>(d.IS), 2.52e-9);
  EXPECT_DOUBLE_EQ(static_cast<double>(d.Value8), 0);
  EXPECT_DOUBLE_EQ(static_cast<double>(d.Value9), 1);
  EXPECT_DOUBLE_EQ(static_cast<double>(d.IBV), 5e-6);  // the tenth model line
  EXPECT_DOUBLE_EQ(static_cast<double>(d.TT), 5.77e-9);
  EXPECT_EQ(d.Value7, 0);  // not stored
  EXPECT_EQ(d.Value15, 0);

  // Computed: both fitted curves are shown again with the scaled model.
  EXPECT_TRUE(d.VDID.ShowFitted);
  EXPECT_EQ(d.VDID.FitKind, 11);
  EXPECT_NEAR(static_cast<double>(d.VDID.FitParams[0]), 0.567 / 1000, 1e-15);
  EXPECT_NEAR(static_cast<double>(d.VDID.FitParams[1]), 1.75 * 0.02586, 1e-15);
  EXPECT_NEAR(static_cast<double>(d.VDID.FitParams[2]), 2.52e-6, 1e-20);
  EXPECT_TRUE(d.VRCJ.ShowFitted);
  EXPECT_EQ(d.VRCJ.FitKind, 12);
  EXPECT_NEAR(static_cast<double>(d.VRCJ.FitParams[0]), 2.4, 1e-12);
  EXPECT_NEAR(static_cast<double>(d.VRCJ.FitParams[1]), 0.75, 1e-15);
  EXPECT_NEAR(static_cast<double>(d.VRCJ.FitParams[2]), 0.3333, 1e-15);

  // Empty curves; a template name "0" and a value "-1" after a ">" line
  // set no flag of the curve before them.
  const TCatDIO& e = list.Items(2);
  EXPECT_EQ(e.VDID.Count, 0);
  EXPECT_EQ(e.VRCJ.Count, 0);
  EXPECT_EQ(e.VRCJRef.str(), "0");
  EXPECT_DOUBLE_EQ(e.Spare1, -1);
  EXPECT_FALSE(e.VDID.XNonPositive || e.VDID.YNonPositive);
  EXPECT_FALSE(e.VRCJ.XNonPositive || e.VRCJ.YNonPositive);
  EXPECT_FALSE(e.VDID.ShowFitted || e.VRCJ.ShowFitted);
}

// --- bipolar -----------------------------------------------------------------

template <class List>
void CheckBipolarFixture(const char* name) {
  namespace P = BipolarParam;
  namespace D = BipolarData;
  const auto list = OpenFixture<List>(name);
  const TCatBipolar& t = list.Items(1);
  ASSERT_EQ(t.ICVBE.Count, 12);
  ASSERT_EQ(t.ICBETA.Count, 5);
  EXPECT_EQ(t.ICBETA.CurveParamText.str(), "1,5");
  EXPECT_DOUBLE_EQ(t.ICBETA.CurveParam, 1.5);
  EXPECT_EQ(t.ICVCERef.str(), "THIRD PART");
  EXPECT_EQ(t.ICVCE.Count, 0);
  EXPECT_EQ(t.ICVCE.CurveParamText.str(), "abc");
  EXPECT_EQ(t.ICVCE.CurveParam, 0);
  EXPECT_TRUE(t.VCBCOBO.XNonPositive);
  EXPECT_FALSE(t.VCBCOBO.YNonPositive);
  EXPECT_FALSE(t.VEBCIBO.XNonPositive);
  EXPECT_TRUE(t.VEBCIBO.YNonPositive);
  // Value lines in the order 1, 2, 0, 5, 7, 8, 3, 4, 6.
  EXPECT_EQ(t.DataText[D::HoeIC].str(), "123456789012");
  EXPECT_EQ(t.DataText[D::HoeVCE].str(), "10,5");
  EXPECT_DOUBLE_EQ(t.DataValue[D::HoeVCE], 10.5);
  EXPECT_DOUBLE_EQ(t.DataValue[D::Hoe], 8);
  EXPECT_DOUBLE_EQ(t.DataValue[D::FT], 300);
  EXPECT_EQ(t.DataText[D::ICIB].str(), "x");
  EXPECT_EQ(t.DataValue[D::ICIB], 0);
  EXPECT_DOUBLE_EQ(t.DataValue[D::TS], 225);
  EXPECT_DOUBLE_EQ(t.DataValue[D::Spare6], 6);
  // Parameters in the order IS NF RE NR RB RC ISE ISC NE NC BF BR IKF IKR
  // CJC VJC MJC CJE VJE MJE VAF VAR TF TR KF AF EG.
  EXPECT_DOUBLE_EQ(t.Param[P::IS], 1234570);
  EXPECT_DOUBLE_EQ(t.Param[P::NR], 4.2);
  EXPECT_DOUBLE_EQ(t.Param[P::RC], 11.2);
  EXPECT_DOUBLE_EQ(t.Param[P::NC], 1.9);
  EXPECT_DOUBLE_EQ(t.Param[P::MJE], 0.36);
  EXPECT_DOUBLE_EQ(t.Param[P::TR], 5.2e-8);
  EXPECT_DOUBLE_EQ(t.Param[P::EG], 1.11);
  EXPECT_EQ(t.Param[P::Const7], 0);

  // Fitted curves as the computation arms them. The computation fits the
  // base-emitter curve with RSP and the saturation curve with RSAT, from
  // which it derives RE = RSP / (40 / (BetaMean + 1) + 1) and
  // RC = RSAT - (1 / BetaMean + 1) * RE; the gain curve's mean is 65 here.
  const double rsp = 2.5 * (40.0 / 66 + 1);   // 4.0151515...
  const double rsat = 11.2 + (1.0 / 65 + 1) * 2.5;  // 13.7384615...
  for (const TGraph* c : {&t.ICVBE, &t.ICBETA, &t.ICVCE, &t.VCBCOBO, &t.VEBCIBO})
    EXPECT_TRUE(c->ShowFitted);
  EXPECT_EQ(t.ICVBE.FitKind, 21);
  EXPECT_NEAR(static_cast<double>(t.ICVBE.FitParams[0]), rsp / 1000, 1e-15);
  EXPECT_NEAR(static_cast<double>(t.ICVBE.FitParams[1]), 1.2 * 0.02586, 1e-15);
  EXPECT_EQ(t.ICBETA.FitKind, 22);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.ICBETA.FitParams[0]), 180);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.ICBETA.FitParams[3]), 1.2e-14);
  EXPECT_DOUBLE_EQ(t.ICBETA.FitInputs.VCE, 1.5);  // the gain curve's VCE
  EXPECT_DOUBLE_EQ(t.ICBETA.FitInputs.VAF, 95);
  EXPECT_DOUBLE_EQ(t.ICBETA.FitInputs.NR, 4.2);
  EXPECT_DOUBLE_EQ(t.ICBETA.FitInputs.BR, 5);
  EXPECT_EQ(t.ICVCE.FitKind, 23);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.ICVCE.FitParams[0]), 2.3e-13);
  EXPECT_NEAR(static_cast<double>(t.ICVCE.FitParams[1]), rsat, 1e-12);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.ICVCE.FitParams[2]), 1.9);
  EXPECT_DOUBLE_EQ(t.ICVCE.FitInputs.ICIB, 0);  // the saturation curve's IC/IB ("abc")
  EXPECT_DOUBLE_EQ(t.ICVCE.FitInputs.IKR, 0.1);
  EXPECT_DOUBLE_EQ(t.ICVCE.FitInputs.ISE, 1.2e-14);
  EXPECT_DOUBLE_EQ(t.ICVCE.FitInputs.IS, 1234570);
  EXPECT_EQ(t.VEBCIBO.FitKind, 12);
  EXPECT_NEAR(static_cast<double>(t.VEBCIBO.FitParams[0]), 22, 1e-12);

  const TCatBipolar& e = list.Items(2);
  for (const TGraph* c : {&e.ICVBE, &e.ICBETA, &e.ICVCE, &e.VCBCOBO, &e.VEBCIBO}) {
    EXPECT_EQ(c->Count, 0);
    EXPECT_FALSE(c->XNonPositive || c->YNonPositive || c->ShowFitted);
  }
  EXPECT_DOUBLE_EQ(e.ICVCE.CurveParam, -1);
}

TEST(BipolarRecord, FieldsOfTheNpnFixture) { CheckBipolarFixture<TCatListTRN>("npn.LBR"); }
TEST(BipolarRecord, FieldsOfThePnpFixture) { CheckBipolarFixture<TCatListTRP>("pnp.LBR"); }

TEST(BipolarRecord, PnpTitlesCarryTheSign) {
  const TCatTRN n;
  const TCatTRP p;
  EXPECT_EQ(n.ICVBE.XTitle.str(), "IC [mA]");
  EXPECT_EQ(n.ICVBE.YTitle.str(), "VBE [V]");
  EXPECT_EQ(n.ICVBE.YScale.str(), "Log");
  EXPECT_EQ(n.VEBCIBO.XTitle.str(), "VEB [V]");
  EXPECT_EQ(p.polarity(), Polarity::P);
  for (const TGraph* c : {&p.ICVBE, &p.ICBETA, &p.ICVCE, &p.VCBCOBO, &p.VEBCIBO})
    EXPECT_EQ(c->XTitle.str()[0], '-') << c->XTitle.str();
  EXPECT_EQ(p.ICVBE.YTitle.str(), "-VBE [V]");
  EXPECT_EQ(p.ICVCE.YTitle.str(), "-VCE [V]");
  EXPECT_EQ(p.ICBETA.YTitle.str(), "BETA");
}

TEST(BipolarRecord, ResetKeepsParametersAndCurveParameters) {
  auto list = OpenFixture<TCatListTRN>("npn.LBR");
  TCatTRN& t = list.Items(1);
  t.Reset();
  EXPECT_EQ(t.Name.str(), "");
  EXPECT_EQ(t.ICVBE.Count, 0);
  EXPECT_FALSE(t.ICVBE.ShowFitted);
  EXPECT_EQ(t.DataText[BipolarData::HoeVCE].str(), "");
  EXPECT_EQ(t.DataValue[BipolarData::HoeVCE], 0);
  EXPECT_FALSE(t.Computed);
  EXPECT_DOUBLE_EQ(t.Param[BipolarParam::BF], 180);
  EXPECT_DOUBLE_EQ(t.ICBETA.CurveParam, 1.5);
  EXPECT_EQ(t.ICBETA.CurveParamText.str(), "1,5");
}

// --- JFET --------------------------------------------------------------------

template <class List>
void CheckJfetFixture(const char* name, double threshold) {
  const auto list = OpenFixture<List>(name);
  const TCatJFET& j = list.Items(1);
  EXPECT_EQ(j.CurveVGSID.Count, 12);
  EXPECT_EQ(j.CrsVs, "vsVDS");
  EXPECT_TRUE(j.CrsVsDrainSource());
  EXPECT_EQ(j.CurveVXSCRSS.Count, 3);
  EXPECT_EQ(j.CurveVXSCRSS.CurveParamText.str(), "1,5");
  EXPECT_DOUBLE_EQ(j.CurveVXSCRSS.CurveParam, 1.5);
  EXPECT_EQ(j.CurveVGSCISS.Count, 0);
  EXPECT_EQ(j.CurveVGSCISS.CurveParamText.str(), "abc");
  EXPECT_EQ(j.GosText.str(), "123456789012");
  EXPECT_EQ(j.GosIDText.str(), "x");
  EXPECT_EQ(j.GosID, 0);
  EXPECT_DOUBLE_EQ(j.VTO, -2.85);
  EXPECT_DOUBLE_EQ(j.RS, 48.5);
  EXPECT_DOUBLE_EQ(j.IS, 2.5e-14);
  EXPECT_DOUBLE_EQ(j.Value13, -0.5);
  EXPECT_DOUBLE_EQ(j.Value15, 1);

  EXPECT_TRUE(j.CurveVGSID.ShowFitted);
  EXPECT_EQ(j.CurveVGSID.FitKind, 31);
  EXPECT_DOUBLE_EQ(static_cast<double>(j.CurveVGSID.FitParams[0]), threshold);
  EXPECT_NEAR(static_cast<double>(j.CurveVGSID.FitParams[1]), 1.75, 1e-12);
  EXPECT_NEAR(static_cast<double>(j.CurveVGSID.FitParams[2]), 0.0485, 1e-15);
  EXPECT_EQ(j.CurveVXSCRSS.FitKind, 32);
  EXPECT_NEAR(static_cast<double>(j.CurveVXSCRSS.FitParams[0]), 1.15, 1e-12);
  EXPECT_DOUBLE_EQ(j.CurveVXSCRSS.FitInputs.Bias32, 1.5);
  EXPECT_EQ(j.CurveVGSCISS.FitKind, 33);
  EXPECT_NEAR(static_cast<double>(j.CurveVGSCISS.FitParams[0]), 2.9, 1e-12);
  EXPECT_DOUBLE_EQ(j.CurveVGSCISS.FitInputs.Bias33, 0);
  EXPECT_DOUBLE_EQ(j.CurveVGSCISS.FitInputs.CGD33, 1.15e-12);

  const TCatJFET& e = list.Items(2);
  EXPECT_EQ(e.CrsVs, "any other text");
  EXPECT_FALSE(e.CrsVsDrainSource());
  EXPECT_DOUBLE_EQ(e.CurveVGSCISS.CurveParam, -1);
  EXPECT_FALSE(e.CurveVGSID.XNonPositive || e.CurveVXSCRSS.XNonPositive);
}

TEST(JfetRecord, FieldsOfTheNChannelFixture) { CheckJfetFixture<TCatListJFN>("njfet.LBR", -2.85); }
TEST(JfetRecord, PChannelArmsTheDrainCurveWithMinusVTO) {
  CheckJfetFixture<TCatListJFP>("pjfet.LBR", 2.85);
  EXPECT_EQ(TCatJFP().CurveVGSID.XTitle.str(), " VGS [V]");
  EXPECT_EQ(TCatJFN().CurveVGSID.XTitle.str(), "-VGS [V]");
}

// --- MOSFET ------------------------------------------------------------------

template <class List>
void CheckMosfetFixture(const char* name, double threshold) {
  const auto list = OpenFixture<List>(name);
  const TCatMOSFET& m = list.Items(1);
  EXPECT_EQ(m.IdVgs.Count, 12);
  EXPECT_EQ(m.Crss.Count, 0);
  EXPECT_EQ(m.Coss.Count, 3);
  EXPECT_TRUE(m.Coss.YNonPositive);
  EXPECT_FALSE(m.Coss.XNonPositive);
  EXPECT_EQ(m.TextQ0.str(), "1,5");
  EXPECT_DOUBLE_EQ(m.Q0, 1.5);
  EXPECT_EQ(m.TextQ1.str(), "abc");
  EXPECT_EQ(m.Q1, 0);
  EXPECT_DOUBLE_EQ(m.IDSS, 250);
  EXPECT_DOUBLE_EQ(m.VTO, 3.15);
  EXPECT_DOUBLE_EQ(m.RS, 0.012);  // the line after W: RD is not stored
  EXPECT_EQ(m.RD, 0);
  EXPECT_DOUBLE_EQ(m.CBS, 0);
  EXPECT_DOUBLE_EQ(m.MJ, 0.45);
  EXPECT_DOUBLE_EQ(m.Extra2, 1);
  EXPECT_DOUBLE_EQ(m.CrssC0, 3.1e-10);
  EXPECT_DOUBLE_EQ(m.CossMJ, 0.55);

  EXPECT_TRUE(m.IdVgs.ShowFitted && m.Crss.ShowFitted && m.Coss.ShowFitted);
  EXPECT_EQ(m.IdVgs.FitKind, 41);
  EXPECT_DOUBLE_EQ(static_cast<double>(m.IdVgs.FitParams[0]), threshold);
  EXPECT_NEAR(static_cast<double>(m.IdVgs.FitParams[1]), 0.35 / 0.2, 1e-12);  // W / (2 L / KP)
  EXPECT_DOUBLE_EQ(static_cast<double>(m.IdVgs.FitParams[2]), 0.012);
  EXPECT_EQ(m.Crss.FitKind, 12);
  EXPECT_NEAR(static_cast<double>(m.Crss.FitParams[0]), 310, 1e-9);
  EXPECT_NEAR(static_cast<double>(m.Coss.FitParams[0]), 1050, 1e-9);
  EXPECT_DOUBLE_EQ(static_cast<double>(m.Coss.FitParams[2]), 0.55);
}

TEST(MosfetRecord, FieldsOfTheNChannelFixture) { CheckMosfetFixture<TCatListMNE>("nmos.LBR", 3.15); }

// The P-channel computation stores VTO with the P-channel sign and arms the
// drain-current curve with the threshold as fitted; reading arms it alike.
TEST(MosfetRecord, PChannelArmsTheDrainCurveAsTheComputation) {
  CheckMosfetFixture<TCatListMPE>("pmos.LBR", -3.15);
  const TCatMPE p;
  EXPECT_EQ(p.IdVgs.XTitle.str(), "-VGS [V]");
  EXPECT_EQ(p.IdVgs.YTitle.str(), "-ID [A]");
  EXPECT_EQ(p.Coss.XTitle.str(), "-VDS [V]");
  EXPECT_EQ(TCatMNE().IdVgs.XTitle.str(), " VGS [V]");
}

// --- magnetic core -----------------------------------------------------------

TEST(CoreRecord, FieldsOfTheFixture) {
  const auto list = OpenFixture<TCatListCOR>("core.LBR");
  const TCatCOR& c = list.Items(1);
  ASSERT_EQ(c.BH.Count, 12);
  EXPECT_TRUE(c.BH.XNonPositive);
  EXPECT_TRUE(c.BH.YNonPositive);
  EXPECT_DOUBLE_EQ(c.BH.X[0], -300);
  EXPECT_DOUBLE_EQ(c.BH.Y[11], 0.39);
  EXPECT_DOUBLE_EQ(c.DsArea, 1.5);
  EXPECT_EQ(c.DsLengthText.str(), "abc");
  EXPECT_EQ(c.DsLength, 0);
  EXPECT_DOUBLE_EQ(c.DsPack, 0.95);
  EXPECT_DOUBLE_EQ(static_cast<double>(c.Area), 1.5e-4);
  EXPECT_DOUBLE_EQ(static_cast<double>(c.MS), 3.6e5);
  EXPECT_TRUE(c.BH.ShowFitted);
  EXPECT_EQ(c.BH.FitKind, 51);
  EXPECT_DOUBLE_EQ(static_cast<double>(c.BH.FitParams[0]), 25.5);
  EXPECT_DOUBLE_EQ(static_cast<double>(c.BH.FitParams[3]), 3.6e5);
  const TCatCOR& e = list.Items(2);
  EXPECT_EQ(e.BH.Count, 0);
  EXPECT_FALSE(e.BH.XNonPositive || e.BH.YNonPositive || e.BH.ShowFitted);
  EXPECT_DOUBLE_EQ(e.DsArea, -1);
}

}  // namespace
}  // namespace pakro
