// How long the fitting engine takes per model kind: for each kind a curve of
// points computed from known parameters is fitted from twice those values,
// as a device computation would, and the time per fit is measured.
//   pakro_fit_bench [repeats]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "pakro/shell/iteration.h"
#include "pakro/tests/known_curves.h"

using namespace pakro;

namespace {

struct Case {
  const char* name;
  testing::KnownCurve curve;
  int nParams;
  double tolerance;
};

std::vector<Case> Cases() {
  using testing::KnownCurveOf;
  testing::KnownCurve flux = KnownCurveOf(51);
  flux.x.push_back(40000);
  return {
      {"diode forward", KnownCurveOf(11), 3, 0.01},
      {"junction capacitance", KnownCurveOf(12), 3, 1E-6},
      {"base-emitter voltage", KnownCurveOf(21), 3, 0.01},
      {"current gain", KnownCurveOf(22), 4, 0.001},
      {"saturation voltage", KnownCurveOf(23), 2, 0.01},
      {"JFET drain current", KnownCurveOf(31), 3, 0.001},
      {"JFET biased capacitance", KnownCurveOf(32), 2, 0.01},
      {"JFET two junctions", KnownCurveOf(33), 1, 0.01},
      {"MOSFET drain current", KnownCurveOf(41), 3, 1E-4},
      {"flux density", flux, 4, 0.01},
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
      testing::LoadKnownCurve(it, c.curve);
      const ParamVector& truth = c.curve.truth;
      it.P = truth;
      for (int i = 0; i < c.nParams; ++i) it.P[i] = 2 * truth[i];
      it.P[2] = c.curve.kind == 22 ? std::min(it.P[2], 2.0L) : it.P[2];
      it.NParams = c.nParams;
      it.Tolerance = c.tolerance;
      const auto start = std::chrono::steady_clock::now();
      it.Fit();
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%-26s %4d %6d %6d %12.3f %12.3Lg\n", c.name, c.curve.kind, it.Count, it.LastCycles(),
                times[times.size() / 2], it.Residual(it.P));
  }
  return 0;
}
