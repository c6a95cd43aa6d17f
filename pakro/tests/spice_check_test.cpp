// The model curves against a circuit simulator: each curve is fitted to
// datasheet-like points, the fitted parameters are turned into a SPICE
// model as the device computations do, and ngspice simulates the same
// quantities. Skipped when ngspice is not installed (./build.sh installs it).
#include "pakro/shell/iteration.h"
#include "pakro/tests/known_curves.h"
#include "pakro/tests/ngspice_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace pakro {
namespace {

// The thermal voltage of the models, 0.02586 V, is kT/q at 26.943 °C.
constexpr const char* kTemperature = ".options TEMP=26.943 TNOM=26.943\n";

class SpiceCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ngspice_ = testing::FindNgspice();
    if (ngspice_.empty()) GTEST_SKIP() << "ngspice is not installed (./build.sh installs it); the simulator check is skipped";
  }

  // Runs the netlist in batch mode and returns every "name = value" the
  // control block printed.
  std::map<std::string, double> Simulate(const std::string& name, const std::string& netlist) {
    const auto file = std::filesystem::path(::testing::TempDir()) / ("pakro_" + name + ".cir");
    std::ofstream(file) << netlist;
    const std::string output = testing::RunNgspice(ngspice_, file.string());
    const std::map<std::string, double> values = testing::PrintedValues(output);
    if (values.empty()) ADD_FAILURE() << "ngspice printed no values:\n" << output;
    return values;
  }

  // Fits the points from the start values with the engine.
  static ParamVector FitPoints(std::uint8_t kind, const std::vector<std::pair<double, double>>& points,
                               ParamVector start, int nParams, double tolerance, const TFitInputs& in = {}) {
    TIteration it;
    static_cast<TFitInputs&>(it) = in;
    it.Kind = kind;
    it.Count = static_cast<int>(points.size());
    for (int i = 0; i < it.Count; ++i) {
      it.X[i] = points[i].first;
      it.Y[i] = points[i].second;
    }
    it.P = start;
    it.NParams = nParams;
    it.Tolerance = tolerance;
    it.Fit();
    EXPECT_LT(it.Residual(it.P), OutOfWindow) << "kind " << int(kind) << " did not fit";
    return it.P;
  }

  static long double Evaluate(const ParamVector& p, std::uint8_t kind, long double x, const TFitInputs& in = {}) {
    THysteric table;
    return ModelValue(p, kind, x, in, table);
  }

  std::string ngspice_;
};

std::string Num(long double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.12Lg", v);
  return buffer;
}

// Control lines that compute and print name0, name1, ... from the
// expression of each circuit copy n.
template <typename Expression>
std::string PrintEach(const std::string& name, std::size_t count, Expression expression) {
  std::string lines;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    lines += "let " + name + n + " = " + expression(n) + "\nprint " + name + n + "\n";
  }
  return lines + ".endc\n.end\n";
}

// Diode forward voltage against current (mA): kind 11 with RS in kΩ, N·Vt
// and IS in mA. Agreement within 1 mV.
TEST_F(SpiceCheck, DiodeForwardVoltage) {
  const ParamVector p = FitPoints(KindDiodeForward, {{0.1, 0.55}, {1, 0.62}, {10, 0.70}, {100, 0.82}, {1000, 1.05}},
                                  {0.002L, 0.02586L, 1E-11L}, 3, 0.01);
  const std::vector<double> currents = {0.05, 0.3, 2, 40, 700};
  std::string net = "diode forward\n" + std::string(kTemperature);
  for (std::size_t i = 0; i < currents.size(); ++i)
    net += "I" + std::to_string(i) + " 0 a" + std::to_string(i) + " DC " + Num(currents[i] / 1000) + "\nD" +
           std::to_string(i) + " a" + std::to_string(i) + " 0 dmod\n";
  net += ".model dmod D(IS=" + Num(p[2] / 1000) + " N=" + Num(p[1] / 0.02586L) + " RS=" + Num(p[0] * 1000) +
         ")\n.control\nop\n";
  net += PrintEach("va", currents.size(), [](const std::string& n) { return "v(a" + n + ")"; });
  auto v = Simulate("diode", net);
  for (std::size_t i = 0; i < currents.size(); ++i)
    EXPECT_NEAR(v["va" + std::to_string(i)], Evaluate(p, KindDiodeForward, currents[i]), 1E-3) << currents[i] << " mA";
}

// Junction capacitance (pF) against reverse voltage, also two forward points
// on either side of VJ/2. Agreement within 0.1 %.
TEST_F(SpiceCheck, JunctionCapacitance) {
  const ParamVector p = FitPoints(KindJunctionCap, {{0.1, 28}, {1, 20}, {5, 12}, {10, 9.5}, {30, 6.5}},
                                  {30, 0.75L, 0.33L}, 3, 1E-6);
  const std::vector<double> reverse = {-0.9 * static_cast<double>(p[1]), -0.3 * static_cast<double>(p[1]), 0, 0.5, 3, 20};
  std::string net = "junction capacitance\n" + std::string(kTemperature);
  for (std::size_t i = 0; i < reverse.size(); ++i) {
    const std::string n = std::to_string(i);
    net += "V" + n + " k" + n + " 0 DC " + Num(reverse[i]) + " AC 1\nD" + n + " 0 k" + n + " dmod\n";
  }
  net += ".model dmod D(IS=1e-30 CJO=" + Num(p[0] * 1E-12L) + " VJ=" + Num(p[1]) + " M=" + Num(p[2]) +
         " FC=0.5)\n.control\nac lin 1 1e6 1e6\n";
  net += PrintEach("c", reverse.size(), [](const std::string& n) { return "1e12*abs(imag(i(v" + n + ")))/(2*pi*1e6)"; });
  auto c = Simulate("capacitance", net);
  for (std::size_t i = 0; i < reverse.size(); ++i) {
    const double model = static_cast<double>(Evaluate(p, KindJunctionCap, reverse[i]));
    EXPECT_NEAR(c["c" + std::to_string(i)], model, 1E-3 * model) << reverse[i] << " V";
  }
}

// JFET drain current (mA) against gate voltage magnitude: kind 31 with VTO,
// BETA in mA/V² and RS in kΩ. Agreement within the search's resolution of
// 0.0001 mA plus 0.1 %.
TEST_F(SpiceCheck, JfetDrainCurrent) {
  const ParamVector p = FitPoints(KindJfetDrain, {{0, 10}, {0.5, 6.5}, {1, 3.7}, {1.5, 1.6}, {2, 0.4}},
                                  {-1, 2 - std::ldexp(1.0L, -63), 0.001L}, 3, 0.001);
  const std::vector<double> gate = {0, 0.4, 1.1, 1.7, 2.1};
  std::string net = "jfet\n" + std::string(kTemperature);
  for (std::size_t i = 0; i < gate.size(); ++i) {
    const std::string n = std::to_string(i);
    net += "VD" + n + " d" + n + " 0 DC 15\nVG" + n + " g" + n + " 0 DC " + Num(-gate[i]) + "\nJ" + n + " d" + n +
           " g" + n + " 0 jmod\n";
  }
  net += ".model jmod NJF(VTO=" + Num(p[0]) + " BETA=" + Num(p[1] / 1000) + " RS=" + Num(p[2] * 1000) +
         " LAMBDA=0)\n.control\nop\n";
  net += PrintEach("id", gate.size(), [](const std::string& n) { return "-1000*i(vd" + n + ")"; });
  auto id = Simulate("jfet", net);
  for (std::size_t i = 0; i < gate.size(); ++i) {
    const double model = static_cast<double>(Evaluate(p, KindJfetDrain, gate[i]));
    EXPECT_NEAR(id["id" + std::to_string(i)], model, 1E-4 + 1E-3 * model) << "|VGS| " << gate[i];
  }
}

// MOSFET drain current (A) against gate voltage: kind 41 with VTO, KP·W/(2L)
// and RS in ohms, level 1. Agreement within 0.0001 A plus 0.1 %.
TEST_F(SpiceCheck, MosfetDrainCurrent) {
  const ParamVector p = FitPoints(KindMosfetDrain, {{3, 0.5}, {4, 2}, {5, 4}, {6, 6.5}, {8, 11}},
                                  {1, 0.002L, 3}, 3, 1E-4);
  const long double kp = 2E-5L, length = 1E-6L, width = 2 * length / kp * p[1];
  const std::vector<double> gate = {2.5, 3.5, 5, 7, 9};
  std::string net = "mosfet\n" + std::string(kTemperature);
  for (std::size_t i = 0; i < gate.size(); ++i) {
    const std::string n = std::to_string(i);
    net += "VD" + n + " d" + n + " 0 DC 60\nVG" + n + " g" + n + " 0 DC " + Num(gate[i]) + "\nM" + n + " d" + n +
           " g" + n + " s" + n + " s" + n + " mmod W=" + Num(width) + " L=" + Num(length) + "\nR" + n + " s" + n +
           " 0 " + Num(p[2]) + "\n";
  }
  net += ".model mmod NMOS(LEVEL=1 VTO=" + Num(p[0]) + " KP=" + Num(kp) + " LAMBDA=0)\n.control\nop\n";
  net += PrintEach("id", gate.size(), [](const std::string& n) { return "-i(vd" + n + ")"; });
  auto id = Simulate("mosfet", net);
  for (std::size_t i = 0; i < gate.size(); ++i) {
    const double model = static_cast<double>(Evaluate(p, KindMosfetDrain, gate[i]));
    EXPECT_NEAR(id["id" + std::to_string(i)], model, 1E-4 + 1E-3 * model) << "VGS " << gate[i];
  }
}

// Gummel-Poon current gain IC/IB against collector current (mA) at fixed
// VCE: kind 22 with BF, IKF = IKR, NE = NC and ISE = ISC. Agreement within
// 0.3 %, well below the 1/hFE by which a gain counted one too high would
// stand out at the high-current points.
TEST_F(SpiceCheck, BipolarCurrentGain) {
  const TFitInputs in = testing::BipolarGainInputs();
  const ParamVector p = FitPoints(KindCurrentGain, {{0.1, 80}, {1, 120}, {10, 150}, {50, 140}, {100, 110}, {300, 60}},
                                  {20, 1, 1.5L, 1E-14L}, 4, 0.001, in);
  const std::vector<double> base = {1E-6, 1E-5, 1E-4, 1E-3, 5E-3, 2E-2};
  std::string net = "gain\n" + std::string(kTemperature);
  for (std::size_t i = 0; i < base.size(); ++i) {
    const std::string n = std::to_string(i);
    net += "VC" + n + " c" + n + " 0 DC " + Num(in.VCE) + "\nIB" + n + " 0 b" + n + " DC " + Num(base[i]) + "\nQ" + n +
           " c" + n + " b" + n + " 0 qmod\n";
  }
  net += ".model qmod NPN(IS=" + Num(in.IS) + " BF=" + Num(p[0]) + " BR=" + Num(in.BR) + " NF=" + Num(in.NF) +
         " NR=" + Num(in.NR) + " VAF=" + Num(in.VAF) + " VAR=" + Num(in.VAR) + " IKF=" + Num(p[1]) +
         " IKR=" + Num(p[1]) + " NE=" + Num(p[2]) + " NC=" + Num(p[2]) + " ISE=" + Num(p[3]) + " ISC=" + Num(p[3]) +
         ")\n.control\nop\n";
  net += PrintEach("ic", base.size(), [](const std::string& n) { return "-i(vc" + n + ")"; });
  auto ic = Simulate("gain", net);
  for (std::size_t i = 0; i < base.size(); ++i) {
    const double collector = ic["ic" + std::to_string(i)];
    const double spiceGain = collector / base[i];
    const double model = static_cast<double>(Evaluate(p, KindCurrentGain, collector * 1000, in));
    EXPECT_NEAR(model, spiceGain, 3E-3 * spiceGain) << "IC " << collector << " A";
  }
}

}  // namespace
}  // namespace pakro
