// How long the fitting engine takes per model kind: for each kind a curve of
// points computed from known parameters is fitted from twice those values,
// as a device computation would, and the time per fit is measured.
//   pakro_fit_bench [repeats]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "iteration.h"

using namespace pakro;

namespace {

struct Case {
  const char* name;
  std::uint8_t kind;
  ParamVector truth;
  int nParams;
  double tolerance;
  std::vector<double> x;
  TFitInputs in;
};

std::vector<Case> Cases() {
  TFitInputs bip;
  bip.IS = 1E-14;
  bip.NF = 1;
  bip.NR = 1;
  bip.VAF = 100;
  bip.VAR = 20;
  bip.BR = 5;
  bip.VCE = 5;
  bip.NE = 1.8;
  bip.ISE = 1E-11;
  bip.IKF = 0.1;
  bip.IKR = 0.05;
  bip.BF = 100;
  bip.ICIB = 10;
  TFitInputs jf;
  jf.Bias32 = 2;
  jf.Bias33 = 3;
  jf.CGD33 = 5E-12;
  const std::vector<double> decades = {0.001, 0.01, 0.1, 1, 10, 100, 300, 1000};
  return {
      {"diode forward", 11, {0.002L, 0.035L, 1E-10L}, 3, 0.01, decades, {}},
      {"junction capacitance", 12, {30, 0.75L, 0.4L}, 3, 1E-6, {0.1, 0.5, 1, 2, 5, 10, 20, 50}, {}},
      {"base-emitter voltage", 21, {0.001L, 0.03L, 1E-11L}, 3, 0.01, decades, {}},
      {"current gain", 22, {150, 0.2L, 1.5L, 1E-13L}, 4, 0.001, {0.01, 0.1, 1, 10, 50, 100, 300}, bip},
      {"saturation voltage", 23, {1E-10L, 1.5L, 2}, 2, 0.01, {0.1, 1, 5, 10, 50, 100}, bip},
      {"JFET drain current", 31, {-3, 10, 0.2L}, 3, 0.001, {0, 0.5, 1, 1.5, 2, 2.5}, {}},
      {"JFET biased capacitance", 32, {25, 0.8L, 0.45L}, 2, 0.01, {-1.9, -1.5, -1, 0, 2, 5, 10, 30}, jf},
      {"JFET two junctions", 33, {40, 0.8L, 0.45L}, 1, 0.01, {0.5, 1, 2, 5, 10, 20}, jf},
      {"MOSFET drain current", 41, {1.5L, 0.1L, 2}, 3, 1E-4, {2, 3, 4, 5, 7, 10, 15, 20}, {}},
      {"flux density", 51, {1000, 0.2L, 500, 1.2E6L}, 4, 0.01,
       {-20000, -5000, -1000, -200, 0, 200, 1000, 5000, 20000, 40000}, {}},
  };
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("%-26s %4s %6s %6s %12s %12s\n", "model kind", "code", "points", "cycles", "ms per fit", "residual");
  for (const Case& c : Cases()) {
    std::vector<double> times;
    TIteration it;
    for (int r = 0; r < repeats; ++r) {
      it = TIteration();
      static_cast<TFitInputs&>(it) = c.in;
      it.Kind = c.kind;
      it.Count = static_cast<int>(c.x.size());
      for (int i = 0; i < it.Count; ++i) {
        it.X[i] = c.x[i];
        it.Y[i] = static_cast<double>(it.Evaluate(c.truth, c.kind, c.x[i]));
      }
      it.P = c.truth;
      for (int i = 0; i < c.nParams; ++i) it.P[i] = 2 * c.truth[i];
      it.P[2] = c.kind == 22 ? std::min(it.P[2], 2.0L) : it.P[2];
      it.NParams = c.nParams;
      it.Tolerance = c.tolerance;
      const auto start = std::chrono::steady_clock::now();
      it.Fit();
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%-26s %4d %6d %6d %12.3f %12.3Lg\n", c.name, c.kind, it.Count, it.LastCycles(),
                times[times.size() / 2], it.Residual(it.P));
  }
  return 0;
}
