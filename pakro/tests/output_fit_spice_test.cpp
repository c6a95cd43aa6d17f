// The whole road of a component to a circuit simulator: datasheet curves are
// computed into model values, the SPICE library is written, and ngspice
// simulates the datasheet's measurements with the written card. The
// simulated values must come back to the datasheet points within the
// tolerances given per check (the card holds three significant digits).
// Skipped when ngspice is not installed (./build.sh installs it).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "pakro/shell/frame_state.h"
#include "pakro/shell/hysteric.h"
#include "pakro/shell/iteration.h"
#include "pakro/tests/library_test_support.h"
#include "pakro/devices/model_compute.h"
#include "pakro/devices/model_output.h"
#include "pakro/shell/number_text.h"
#include "pakro/tests/ngspice_support.h"
#include "pakro/tests/synthetic_records.h"

namespace pakro {
namespace {

std::string Num(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.12g", v);
  return buffer;
}

class FittedCard : public ::testing::Test {
 protected:
  void SetUp() override {
    ngspice_ = testing::FindNgspice();
    if (ngspice_.empty()) GTEST_SKIP() << "ngspice is not installed (./build.sh installs it)";
    resetFrameState();
  }

  // Fills the list's component 1 with `fill` under the name `model`,
  // computes it and writes the library; returns the library's path.
  template <class List, class Fill, class Compute>
  std::string Library(List& list, Fill fill, Compute compute, const char* model, const char* file) {
    list.AddItem();
    list.AddItem();
    fill(list.Items(1), model);
    EXPECT_TRUE(compute(list.Items(1))) << model;
    const std::string path = dir_.Path(std::string(file) + ".lib");
    WriteSpiceLibrary(list, path);
    return path;
  }

  // Runs the circuit with the library included (at the temperature whose
  // thermal voltage the models use, 0.02586 V) and returns every
  // "name = value" that the control lines printed.
  std::map<std::string, double> Simulate(const std::string& library, const std::string& circuit,
                                         const std::string& control) {
    const std::string netlist = dir_.Path("fit.cir");
    std::ofstream(netlist) << "fitted card\n.options TEMP=26.943 TNOM=26.943\n.include '" << library << "'\n"
                           << circuit << ".control\n" << control << ".endc\n.end\n";
    const std::string output = testing::RunNgspice(ngspice_, netlist);
    const std::map<std::string, double> values = testing::PrintedValues(output);
    if (values.empty()) ADD_FAILURE() << "ngspice printed no values:\n" << output;
    return values;
  }

  testing::ScratchDir dir_;
  std::string ngspice_;
};

// Control lines printing name<i> = expression(i) for i < count.
template <class Expression>
std::string PrintEach(const std::string& name, int count, Expression expression) {
  std::string lines;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    lines += "let " + name + n + " = " + expression(n) + "\nprint " + name + n + "\n";
  }
  return lines;
}

// The value of the curve's fitted model at x.
double Fitted(const TGraph& curve, double x) {
  THysteric table;
  return static_cast<double>(ModelValue(curve.FitParams, curve.FitKind, x, curve.FitInputs, table));
}

// A simulated value against the card's own fitted model (a tight check of
// what the card says) and against the datasheet point (the fit's accuracy
// included).
void ExpectReproduced(double simulated, const TGraph& curve, int i, double fittedTolerance, double pointTolerance) {
  EXPECT_NEAR(simulated, Fitted(curve, curve.X[i]), fittedTolerance) << "fitted model at x = " << curve.X[i];
  EXPECT_NEAR(simulated, curve.Y[i], pointTolerance) << "datasheet point at x = " << curve.X[i];
}

// Capacitance in pF from the imaginary part of a source's current at 1 MHz.
std::string CapacitanceOf(const std::string& source) {
  return "1e12*abs(imag(i(" + source + ")))/(2*pi*1e6)";
}

// Diode: the forward voltage within 0.2 % of the fitted model and 3 % of
// each datasheet point; the capacitance within 0.5 % and 3 %.
TEST_F(FittedCard, DiodeForwardVoltageAndCapacitance) {
  TCatListDIO list;
  const std::string library =
      Library(list, [](auto& r, const char* name) { synthetic::FillDiode(r, name); }, ComputeDIO, "DFIT", "diode");
  const TCatDIO& d = list.Items(1);

  std::string circuit;
  for (int i = 0; i < d.VDID.Count; ++i) {
    const std::string n = std::to_string(i);
    circuit += "I" + n + " 0 a" + n + " DC " + Num(d.VDID.X[i] / 1000) + "\nD" + n + " a" + n + " 0 DFIT\n";
  }
  auto v = Simulate(library, circuit, "op\n" + PrintEach("vf", d.VDID.Count, [](const std::string& n) {
                                        return "v(a" + n + ")";
                                      }));
  for (int i = 0; i < d.VDID.Count; ++i)
    ExpectReproduced(v["vf" + std::to_string(i)], d.VDID, i, 0.002 * d.VDID.Y[i], 0.03 * d.VDID.Y[i]);

  circuit.clear();
  for (int i = 0; i < d.VRCJ.Count; ++i) {
    const std::string n = std::to_string(i);
    circuit += "V" + n + " k" + n + " 0 DC " + Num(d.VRCJ.X[i]) + " AC 1\nD" + n + " 0 k" + n + " DFIT\n";
  }
  auto c = Simulate(library, circuit, "ac lin 1 1e6 1e6\n" + PrintEach("cd", d.VRCJ.Count, [](const std::string& n) {
                                        return CapacitanceOf("v" + n);
                                      }));
  for (int i = 0; i < d.VRCJ.Count; ++i)
    ExpectReproduced(c["cd" + std::to_string(i)], d.VRCJ, i, 0.005 * d.VRCJ.Y[i], 0.03 * d.VRCJ.Y[i]);
}

// NPN transistor: with the base current IC/hFE of a gain point at the
// point's VCE, the collector current is the point's IC within 3 % (the gain
// changes slowly with IC, so this is the gain within about as much); the
// saturation voltage at IC and IB = IC / (IC/IB) within 5 % or 5 mV; the
// output and input capacitances within 1 %.
TEST_F(FittedCard, BipolarGainSaturationAndCapacitances) {
  TCatListTRN list;
  const std::string library =
      Library(list, [](auto& r, const char* name) { synthetic::FillBipolar(r, name); }, ComputeTRN, "QFIT", "npn");
  const TCatTRN& t = list.Items(1);

  const TGraph& gain = t.ICBETA;
  std::string circuit;
  for (int i = 0; i < gain.Count; ++i) {
    const std::string n = std::to_string(i);
    circuit += "VC" + n + " c" + n + " 0 DC " + Num(gain.CurveParam) + "\nIB" + n + " 0 b" + n + " DC " +
               Num(gain.X[i] / 1000 / gain.Y[i]) + "\nQ" + n + " c" + n + " b" + n + " 0 QFIT\n";
  }
  auto ic = Simulate(library, circuit, "op\n" + PrintEach("ic", gain.Count, [](const std::string& n) {
                                         return "-i(vc" + n + ")";
                                       }));
  for (int i = 0; i < gain.Count; ++i) {
    const double target = gain.X[i] / 1000;
    EXPECT_NEAR(ic["ic" + std::to_string(i)], target, 0.03 * target) << "IC " << gain.X[i] << " mA";
  }

  const TGraph& sat = t.ICVCE;
  circuit.clear();
  for (int i = 0; i < sat.Count; ++i) {
    const std::string n = std::to_string(i);
    const double collector = sat.X[i] / 1000;
    circuit += "IC" + n + " 0 c" + n + " DC " + Num(collector) + "\nIB" + n + " 0 b" + n + " DC " +
               Num(collector / sat.CurveParam) + "\nQ" + n + " c" + n + " b" + n + " 0 QFIT\n";
  }
  auto vce = Simulate(library, circuit, "op\n" + PrintEach("vce", sat.Count, [](const std::string& n) {
                                          return "v(c" + n + ")";
                                        }));
  for (int i = 0; i < sat.Count; ++i)
    EXPECT_NEAR(vce["vce" + std::to_string(i)], sat.Y[i], std::max(0.05 * sat.Y[i], 0.005))
        << "IC " << sat.X[i] << " mA";

  // Cob: the collector-base junction with the emitter open; Cib: the
  // emitter-base junction with the collector open.
  const TGraph& cob = t.VCBCOBO;
  const TGraph& cib = t.VEBCIBO;
  circuit.clear();
  for (int i = 0; i < cob.Count; ++i) {
    const std::string n = std::to_string(i);
    circuit += "VO" + n + " co" + n + " 0 DC " + Num(cob.X[i]) + " AC 1\nRO" + n + " eo" + n +
               " 0 1G\nQO" + n + " co" + n + " 0 eo" + n + " QFIT\n";
  }
  for (int i = 0; i < cib.Count; ++i) {
    const std::string n = std::to_string(i);
    circuit += "VI" + n + " ei" + n + " 0 DC " + Num(cib.X[i]) + " AC 1\nRI" + n + " ci" + n +
               " 0 1G\nQI" + n + " ci" + n + " 0 ei" + n + " QFIT\n";
  }
  auto cap = Simulate(library, circuit,
                      "ac lin 1 1e6 1e6\n" +
                          PrintEach("cob", cob.Count, [](const std::string& n) { return CapacitanceOf("vo" + n); }) +
                          PrintEach("cib", cib.Count, [](const std::string& n) { return CapacitanceOf("vi" + n); }));
  for (int i = 0; i < cob.Count; ++i)
    EXPECT_NEAR(cap["cob" + std::to_string(i)], cob.Y[i], 0.01 * cob.Y[i]) << "VCB " << cob.X[i] << " V";
  for (int i = 0; i < cib.Count; ++i)
    EXPECT_NEAR(cap["cib" + std::to_string(i)], cib.Y[i], 0.01 * cib.Y[i]) << "VEB " << cib.X[i] << " V";
}

// N-channel JFET: the drain current just inside saturation (VDS = |VTO| +
// 1 V), less the channel-length modulation 1 + LAMBDA * VDS that the
// transfer curve's model leaves out: within 2 % of the fitted model and
// within 5 % of the curve's largest current of each datasheet point.
// (ngspice's JFET describes its capacitances by a charge model of its own,
// not by the junction formula the capacitance curves are fitted with, so
// they are not compared here.)
TEST_F(FittedCard, JfetDrainCurrent) {
  TCatListJFN list;
  const std::string library =
      Library(list, [](auto& r, const char* name) { synthetic::FillJfet(r, name); }, ComputeJFN, "JFIT", "njfet");
  const TCatJFN& j = list.Items(1);

  const TGraph& id = j.CurveVGSID;
  const double vds = std::fabs(j.VTO) + 1;
  std::string circuit;
  for (int i = 0; i < id.Count; ++i) {
    const std::string n = std::to_string(i);
    circuit += "VD" + n + " d" + n + " 0 DC " + Num(vds) + "\nVG" + n + " g" + n + " 0 DC " + Num(-id.X[i]) +
               "\nJ" + n + " d" + n + " g" + n + " 0 JFIT\n";
  }
  auto sim = Simulate(library, circuit, "op\n" + PrintEach("id", id.Count, [](const std::string& n) {
                                          return "-1000*i(vd" + n + ")";
                                        }));
  // The transfer curve's model has no channel-length modulation.
  const double modulation = 1 + j.LAMBDA * vds;
  for (int i = 0; i < id.Count; ++i)
    ExpectReproduced(sim["id" + std::to_string(i)] / modulation, id, i, 0.02 * id.Y[i] + 0.001,
                     0.05 * MaxOfArray(id.Y, id.Count));

}

// N-channel MOSFET: the drain current at each gate voltage of the transfer
// curve, well inside saturation: within 1 % of the fitted model and within
// 5 % of the curve's largest current of each datasheet point. ngspice takes
// the channel length and width of the instance, so the card's L and W are
// given there.
TEST_F(FittedCard, MosfetDrainCurrent) {
  TCatListMNE list;
  const std::string library =
      Library(list, [](auto& r, const char* name) { synthetic::FillMosfet(r, name); }, ComputeMNE, "MFIT", "nmos");
  const TCatMNE& m = list.Items(1);

  const TGraph& id = m.IdVgs;
  std::string circuit;
  for (int i = 0; i < id.Count; ++i) {
    const std::string n = std::to_string(i);
    circuit += "VD" + n + " d" + n + " 0 DC 60\nVG" + n + " g" + n + " 0 DC " + Num(id.X[i]) + "\nM" + n + " d" +
               n + " g" + n + " 0 0 MFIT L=" + Num(m.L) + " W=" + Num(m.W) + "\n";
  }
  auto sim = Simulate(library, circuit, "op\n" + PrintEach("id", id.Count, [](const std::string& n) {
                                          return "-i(vd" + n + ")";
                                        }));
  for (int i = 0; i < id.Count; ++i)
    ExpectReproduced(sim["id" + std::to_string(i)], id, i, 0.01 * id.Y[i] + 1E-4, 0.05 * MaxOfArray(id.Y, id.Count));
}

}  // namespace
}  // namespace pakro
