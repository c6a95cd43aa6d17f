// Every number that a computation fits, compared bit for bit with the values
// it gave when this table was taken: the model values of each record and
// the fitted parameters of each of its curves, as hexadecimal floats. Any
// change to the fitting engine or to a model that moves a single bit of a
// result fails here, component by component and value by value.
//
// After a change that is meant to move the numbers, print the new table
// with PAKRO_PRINT_FITTED=1 and replace fitted_values_expected.h with it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "pakro/shell/compute_progress.h"
#include "pakro/shell/frame_state.h"
#include "pakro/tests/library_test_support.h"
#include "pakro/devices/model_compute.h"
#include "platform/scripted_dialogs.h"
#include "pakro/tests/synthetic_records.h"

namespace pakro {
namespace {

struct Expected {
  const char* component;
  const char* values;
};

const Expected kExpected[] = {
#include "pakro/tests/fitted_values_expected.h"
};

std::string Hex(long double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%La", v);
  return buffer;
}

// The values of one computed record, in a fixed order.
class Values {
 public:
  explicit Values(bool computed) { text_ = computed ? "computed" : "not-computed"; }
  void Add(long double v) { text_ += ' ' + Hex(v); }
  template <class... T>
  void Add(long double v, T... rest) {
    Add(v);
    Add(rest...);
  }
  void Curve(const TGraph& g) {
    text_ += " | " + std::to_string(int(g.FitKind)) + (g.ShowFitted ? "+" : "-");
    for (long double p : g.FitParams) Add(p);
  }
  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

std::string ValuesOf(const TCatDIO& r) {
  Values v(r.Computed);
  v.Add(r.IS, r.N, r.RS, r.CJ, r.VJ, r.MJ, r.Value7, r.Value8, r.Value9, r.BV, r.IBV, r.RZ, r.EG, r.TT, r.Value15);
  v.Curve(r.VDID);
  v.Curve(r.VRCJ);
  return v.str();
}

std::string ValuesOf(const TCatBipolar& r) {
  Values v(r.Computed);
  for (double p : r.Param) v.Add(p);
  for (const TGraph* g : {&r.ICVBE, &r.ICBETA, &r.ICVCE, &r.VCBCOBO, &r.VEBCIBO}) v.Curve(*g);
  return v.str();
}

std::string ValuesOf(const TCatJFET& r) {
  Values v(r.Computed);
  v.Add(r.VTO, r.BETA, r.LAMBDA, r.RD, r.RS, r.CGD, r.CGS, r.MJ, r.VJ, r.IS, r.Value11, r.Value12, r.Value13,
        r.Value14, r.Value15);
  for (const TGraph* g : {&r.CurveVGSID, &r.CurveVXSCRSS, &r.CurveVGSCISS}) v.Curve(*g);
  return v.str();
}

std::string ValuesOf(const TCatMOSFET& r) {
  Values v(r.Computed);
  v.Add(r.VTO, r.KP, r.PHI, r.GAMMA, r.TOX, r.UO, r.VMAX, r.DELTA, r.THETA, r.ETA, r.L, r.W, r.RD, r.RS, r.RG);
  v.Add(r.RB, r.RDS, r.ISAT, r.N, r.VJ, r.CJBD, r.CBS, r.MJ, r.TT, r.CGSO, r.CGDO, r.CGBO, r.Extra1, r.Extra2);
  v.Add(r.CrssC0, r.CossC0, r.CrssVJ, r.CossVJ, r.CrssMJ, r.CossMJ);
  for (const TGraph* g : {&r.IdVgs, &r.Crss, &r.Coss}) v.Curve(*g);
  return v.str();
}

std::string ValuesOf(const TCatCOR& r) {
  Values v(r.Computed);
  v.Add(r.Area, r.Length, r.Gap, r.Pack, r.A, r.C, r.K, r.MS);
  v.Curve(r.BH);
  return v.str();
}

// Nothing of what a computation reports matters here.
class SilentReport final : public ComputeProgress {
 public:
  SilentReport() : previous_(setComputeProgress(this)) {}
  ~SilentReport() override { setComputeProgress(previous_); }
  void Mark(std::string_view) override {}
  void ShowCheck(std::string_view) override {}

 private:
  ComputeProgress* previous_;
};

class FittedValues : public ::testing::Test {
 protected:
  void SetUp() override { resetFrameState(); }

  template <class Rec>
  void Compute(const std::string& component, Rec& r, bool (*compute)(Rec&)) {
    compute(r);
    results.push_back({component, ValuesOf(r)});
  }

  // Every record of a fixture library, computed.
  template <class List, class Rec>
  void ComputeLibrary(const std::string& name, bool (*compute)(Rec&)) {
    List list;
    list.AddItem();
    LibraryFile file(testing::FixturePath(name));
    file.ReadHeader();
    list.ReadLibrary(file);
    for (int i = 1; i < list.Count(); ++i) Compute(name + ":" + list.Items(i).Name.str(), list.Items(i), compute);
  }

  platform::testing::ScriptedMessages messages;
  SilentReport report;
  std::vector<std::pair<std::string, std::string>> results;
};

// A factor near 1 that differs between neighbouring components, as the
// compute benchmark spreads its library.
long double Spread(int i) { return 1 + 0.02L * (i % 10); }

TEST_F(FittedValues, AreThoseOfTheStoredTable) {
  for (int i = 0; i < 10; ++i) {
    synthetic::BipolarTruth t;
    t.gain[0] *= Spread(i);
    t.cob[0] *= Spread(i);
    TCatTRN npn;
    synthetic::FillBipolar(npn, "Q" + std::to_string(i), t);
    Compute("NPN " + std::to_string(i), npn, ComputeTRN);
  }
  for (int i : {0, 7}) {
    synthetic::BipolarTruth t;
    t.gain[0] *= Spread(i);
    t.cob[0] *= Spread(i);
    TCatTRP pnp;
    synthetic::FillBipolar(pnp, "QP", t);
    Compute("PNP " + std::to_string(i), pnp, ComputeTRP);
  }
  for (int i : {0, 3}) {
    synthetic::DiodeTruth t;
    t.forward[0] *= Spread(i);
    t.capacitance[0] *= Spread(i);
    TCatDIO d;
    synthetic::FillDiode(d, "D", t);
    Compute("diode " + std::to_string(i), d, ComputeDIO);

    synthetic::JfetTruth j;
    j.bias32 = 0;
    j.drain[0] *= Spread(i);
    j.feedback[0] *= Spread(i);
    TCatJFN njf;
    synthetic::FillJfet(njf, "J", j);
    Compute("NJFET " + std::to_string(i), njf, ComputeJFN);

    synthetic::MosfetTruth m;
    m.drain = {2 * Spread(i), 0.003L, 1};
    m.coss[0] *= Spread(i);
    TCatMNE nmos;
    synthetic::FillMosfet(nmos, "M", m);
    Compute("NMOS " + std::to_string(i), nmos, ComputeMNE);

    synthetic::CoreTruth c;
    c.loop[0] *= Spread(i);
    c.loop[3] *= Spread(i);
    TCatCOR core;
    synthetic::FillCore(core, "C", c);
    Compute("core " + std::to_string(i), core, ComputeCOR);
  }
  ComputeLibrary<TCatListDIO>("end_to_end/diode.LBR", ComputeDIO);
  ComputeLibrary<TCatListTRN>("end_to_end/npn.LBR", ComputeTRN);
  ComputeLibrary<TCatListTRP>("end_to_end/pnp.LBR", ComputeTRP);
  ComputeLibrary<TCatListJFN>("end_to_end/njfet.LBR", ComputeJFN);
  ComputeLibrary<TCatListJFP>("end_to_end/pjfet.LBR", ComputeJFP);
  ComputeLibrary<TCatListMNE>("end_to_end/nmos.LBR", ComputeMNE);
  ComputeLibrary<TCatListMPE>("end_to_end/pmos.LBR", ComputeMPE);
  ComputeLibrary<TCatListCOR>("end_to_end/core.LBR", ComputeCOR);

  if (std::getenv("PAKRO_PRINT_FITTED")) {
    for (const auto& [component, values] : results) std::printf("{\"%s\",\n \"%s\"},\n", component.c_str(), values.c_str());
    return;
  }
  ASSERT_EQ(results.size(), std::size(kExpected));
  int computed = 0;
  for (std::size_t i = 0; i < results.size(); ++i) {
    EXPECT_EQ(results[i].first, kExpected[i].component);
    // Value by value, so that a failure names the first one that moved.
    std::istringstream got(results[i].second), want(kExpected[i].values);
    std::string g, w;
    for (int n = 0; want >> w; ++n) {
      ASSERT_TRUE(got >> g) << results[i].first << ": fewer values than stored";
      if (g != w) {
        ADD_FAILURE() << results[i].first << ", value " << n << ": " << g << " instead of " << w;
        break;
      }
    }
    EXPECT_FALSE(got >> g) << results[i].first << ": more values than stored";
    computed += results[i].second.rfind("computed", 0) == 0;
  }
  // The table holds fits, not a record of failures.
  EXPECT_EQ(computed, static_cast<int>(results.size()));
}

}  // namespace
}  // namespace pakro
