#pragma once
// Curves of every fitted model kind computed from known parameters, with the
// fixed inputs they read, for the fitting tests and the fit benchmark.
#include <cstdint>
#include <vector>

#include "pakro/shell/iteration.h"

namespace pakro::testing {

// The fixed inputs that the bipolar current gain reads.
inline TFitInputs BipolarGainInputs() {
  TFitInputs in;
  in.IS = 1E-14;
  in.NF = 1;
  in.NR = 1;
  in.VAF = 100;
  in.VAR = 20;
  in.BR = 5;
  in.VCE = 5;
  return in;
}

// Those and the inputs that the saturation voltage reads as well.
inline TFitInputs BipolarInputs() {
  TFitInputs in = BipolarGainInputs();
  in.NE = 1.5;
  in.ISE = 1E-14;
  in.IKF = 0.1;
  in.IKR = 0.01;
  in.BF = 100;
  in.ICIB = 10;
  return in;
}

inline TFitInputs JfetInputs() {
  TFitInputs in;
  in.Bias32 = 2;
  in.Bias33 = 3;
  in.CGD33 = 5E-12;
  return in;
}

struct KnownCurve {
  std::uint8_t kind;
  ParamVector truth;
  std::vector<double> x;
  TFitInputs in;
};

// The curve of the kind (11, 12, 21, 22, 23, 31, 32, 33, 41 or 51).
inline KnownCurve KnownCurveOf(std::uint8_t kind) {
  const std::vector<double> decades = {0.001, 0.01, 0.1, 1, 10, 100, 300, 1000};
  TFitInputs saturation = BipolarInputs();
  saturation.ISE = 1E-11;
  saturation.NE = 1.8;
  saturation.IKR = 0.05;
  switch (kind) {
    case 11: return {11, {0.002L, 0.035L, 1E-10L}, decades, {}};
    case 12: return {12, {30, 0.75L, 0.4L}, {0.1, 0.5, 1, 2, 5, 10, 20, 50}, {}};
    case 21: return {21, {0.001L, 0.03L, 1E-11L}, decades, {}};
    case 22: return {22, {150, 0.2L, 1.5L, 1E-13L}, {0.01, 0.1, 1, 10, 50, 100, 300}, BipolarInputs()};
    case 23: return {23, {1E-10L, 1.5L, 2}, {0.1, 1, 5, 10, 50, 100}, saturation};
    case 31: return {31, {-3, 10, 0.2L}, {0, 0.5, 1, 1.5, 2, 2.5}, {}};
    case 32: return {32, {25, 0.8L, 0.45L}, {-1.9, -1.5, -1, 0, 2, 5, 10, 30}, JfetInputs()};
    case 33: return {33, {40, 0.8L, 0.45L}, {0.5, 1, 2, 5, 10, 20}, JfetInputs()};
    case 41: return {41, {1.5L, 0.1L, 2}, {2, 3, 4, 5, 7, 10, 15, 20}, {}};
    default: return {51, {1000, 0.2L, 500, 1.2E6L}, {-20000, -5000, -1000, -200, 0, 200, 1000, 5000, 20000}, {}};
  }
}

// Loads the engine with the curve's kind, inputs and points.
inline void LoadKnownCurve(TIteration& it, const KnownCurve& c) {
  static_cast<TFitInputs&>(it) = c.in;
  it.Kind = c.kind;
  it.Count = static_cast<int>(c.x.size());
  for (int i = 0; i < it.Count; ++i) {
    it.X[i] = c.x[i];
    it.Y[i] = static_cast<double>(it.Evaluate(c.truth, c.kind, c.x[i]));
  }
}

}  // namespace pakro::testing
