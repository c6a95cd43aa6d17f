#include "iteration.h"

#include <algorithm>
#include <cmath>

namespace pakro {

std::unique_ptr<TIteration> Iteration;

namespace {

// Bound on the steps of one decade of a staircase search; every search of a
// sound model ends far below it.
constexpr int MaxSearchSteps = 100000;
// Bound on the repeats of one step size of the saturation search, which
// only rounding makes repeat at all.
constexpr int MaxSaturationRepeats = 100;
// Transport current that stands for "beyond any data current".
constexpr long double TransportCeiling = 100;

bool In(long double lo, long double v, long double hi) { return lo <= v && v <= hi; }

long double PowerOf(long double base, long double exponent) {
  return base > 0 ? std::exp(exponent * std::log(base)) : 0;
}

// SPICE depletion capacitance with forward-bias coefficient 0.5.
long double JunctionCap(long double V, long double Cj0, long double Vj, long double M) {
  if (V <= Vj / 2) return Cj0 / PowerOf(1 - V / Vj, M);
  return Cj0 * PowerOf(2, M) * (1 - M + 2 * M * V / Vj);
}

enum class SearchStep { Stop, Go, Stuck };

// The staircase search: from u = 0 add each of 1, 0.1, ..., 0.0001 as long
// as the condition holds for u + d. False when it cannot end.
template <typename Condition>
bool DecadeSearch(long double& u, Condition condition) {
  u = 0;
  for (long double d : {1.0L, 0.1L, 0.01L, 0.001L, 0.0001L}) {
    for (int steps = 0;; ++steps) {
      const SearchStep s = condition(u + d);
      if (s == SearchStep::Stuck || steps >= MaxSearchSteps) return false;
      if (s == SearchStep::Stop) break;
      u += d;
    }
  }
  return true;
}

// Bipolar transport current for VBE and VBC with knee currents Ka and Kb.
// ceiling is set when the base charge has no positive value; the current is
// then TransportCeiling.
long double TransportCurrent(const TFitInputs& in, long double VBE, long double VBC, long double Ka,
                             long double Kb, bool& ceiling) {
  const long double q1 = 1 / (1 - VBC / in.VAF - VBE / in.VAR);
  ceiling = q1 <= 0;
  if (ceiling) return TransportCeiling;
  const long double xf = std::exp(VBE / (in.NF * Vt)) - 1;
  const long double xr = std::exp(VBC / (in.NR * Vt)) - 1;
  const long double q2 = in.IS * xf / Ka + in.IS * xr / Kb;
  const long double qb = q1 * (1 + std::sqrt(1 + 4 * q2)) / 2;
  return in.IS * (xf - xr) / qb;
}

long double CurrentGain(const ParamVector& p, long double x, const TFitInputs& in) {
  if (!(In(-10000, p[0], 10000) && In(0, p[1], 5000) && In(0.7L, p[2], 2) && In(1E-24L, p[3], 1E-7L)))
    return OutOfWindow;
  const long double I = x / 1000;
  // Once the base charge has no positive value it stays so for higher VBE
  // when the Early voltages make it fall with VBE.
  const bool ceilingLasts = !(1 / static_cast<long double>(in.VAF) + 1 / static_cast<long double>(in.VAR) < 0);
  long double VBE = 0;
  const bool found = DecadeSearch(VBE, [&](long double v) {
    bool ceiling = false;
    const long double current = TransportCurrent(in, v, v - in.VCE, p[1], p[1], ceiling);
    if (!(I > current)) return SearchStep::Stop;
    return ceiling && ceilingLasts ? SearchStep::Stuck : SearchStep::Go;
  });
  if (!found) return OutOfWindow;
  const long double VBC = VBE - in.VCE;
  const long double q1 = 1 / (1 - VBC / in.VAF - VBE / in.VAR);
  const long double xf = std::exp(VBE / (in.NF * Vt)) - 1;
  const long double xr = std::exp(VBC / (in.NR * Vt)) - 1;
  const long double q2 = in.IS * xf / p[1] + in.IS * xr / p[1];
  const long double qb = q1 * (1 + std::sqrt(1 + 4 * q2)) / 2;
  const long double ict = in.IS * (xf - xr) / qb;
  const long double ib1 = p[3] * (std::exp(VBE / (p[2] * Vt)) - 1) + in.IS * xf / p[0];
  const long double ib2 = p[3] * (std::exp(VBC / (p[2] * Vt)) - 1) + in.IS * xr / in.BR;
  // Collector current over base current.
  return (ict - ib2) / (ib1 + ib2);
}

long double SaturationVoltage(const ParamVector& p, long double x, const TFitInputs& in) {
  if (!(p[0] >= 0 && p[1] >= 0)) return OutOfWindow;
  const long double I = x / 1000;
  auto ib2 = [&](long double vbc) {
    return p[0] * (std::exp(vbc / (p[2] * Vt)) - 1) + in.IS * (std::exp(vbc / (in.NR * Vt)) - 1) / in.BR;
  };
  auto ib1 = [&](long double vbe) {
    return in.ISE * (std::exp(vbe / (in.NE * Vt)) - 1) + in.IS * (std::exp(vbe / (in.NF * Vt)) - 1) / in.BF;
  };
  bool ceiling = false;
  auto ic = [&](long double vbe, long double vbc) {
    return TransportCurrent(in, vbe, vbc, in.IKF, in.IKR, ceiling) - ib2(vbc);
  };
  // With VBC held, a base charge without positive value persists for higher
  // VBE unless VAR is negative.
  const bool ceilingLasts = !(in.VAR < 0);
  long double VBE = 0, VBC = 0;
  for (long double d : {0.1L, 0.01L, 0.001L, 0.0001L}) {
    for (int repeat = 0; repeat < MaxSaturationRepeats; ++repeat) {
      long double keptVBE = VBE, keptVBC = VBC;
      int steps = 0;
      do {
        if (++steps > MaxSearchSteps) return OutOfWindow;
        keptVBE = VBE;
        VBE = VBE + d;
      } while (I >= ic(VBE, VBC) && !(ceiling && ceilingLasts));
      if (ceiling && ceilingLasts && I >= ic(VBE, VBC)) return OutOfWindow;
      VBE = VBE - d;
      steps = 0;
      do {
        if (++steps > MaxSearchSteps) return OutOfWindow;
        keptVBC = VBC;
        VBC = VBC + d;
      } while (ic(VBE, VBC) / (ib1(VBE) + ib2(VBC)) >= in.ICIB);
      VBC = VBC - d;
      if (VBC == keptVBC && VBE == keptVBE) break;
    }
  }
  VBE = VBE - 0.0001L;
  return p[1] * I + (VBE - VBC);
}

long double FetGateVoltage(const ParamVector& p, long double id) {
  return p[0] + p[2] * id + std::sqrt(id / p[1]);
}

long double Evaluate(const ParamVector& p, std::uint8_t kind, long double x, const TFitInputs& in,
                     THysteric& table) {
  switch (kind) {
    case KindDiodeForward:
      if (!(p[0] > 0 && 0.002586L < p[1] && p[1] < 0.07758L && 1E-19L < p[2] && p[2] < 1E-4L))
        return OutOfWindow;
      return x > 0 ? p[1] * std::log(x / p[2]) + p[0] * x : NonPositiveX;
    case KindBaseEmitter:
      if (!(p[0] >= 0 && In(0.018102L, p[1], 0.07758L) && In(1E-19L, p[2], 1E-7L))) return OutOfWindow;
      return x > 0 ? p[1] * std::log(x / p[2]) + p[0] * x : NonPositiveX;
    case KindJunctionCap:
      if (!(In(0, p[0], 100000) && In(0.3L, p[1], 2) && In(0.2L, p[2], 5))) return OutOfWindow;
      return JunctionCap(-x, p[0], p[1], p[2]);
    case KindJfetBiasedCap:
    case KindJfetTwoJunctions:
      if (!(In(0, p[0], 10000) && In(0.01L, p[1], 100) && In(0.01L, p[2], 100))) return OutOfWindow;
      if (kind == KindJfetBiasedCap) return JunctionCap(-x - in.Bias32, p[0], p[1], p[2]);
      return static_cast<long double>(static_cast<double>(JunctionCap(-x, p[0], p[1], p[2]))) +
             static_cast<long double>(
                 static_cast<double>(JunctionCap(-x - in.Bias33, 1E12L * in.CGD33, p[1], p[2])));
    case KindCurrentGain:
      return CurrentGain(p, x, in);
    case KindSaturation:
      return SaturationVoltage(p, x, in);
    case KindJfetDrain: {
      if (!(-10 <= p[0] && p[0] < 0 && 0 < p[1] && p[1] <= 100 && In(1E-4L, p[2], 100) && x >= 0))
        return OutOfWindow;
      long double u = 0;
      const bool found = DecadeSearch(u, [&](long double v) {
        return x < -FetGateVoltage(p, v) ? SearchStep::Go : SearchStep::Stop;
      });
      return found ? u : OutOfWindow;
    }
    case KindMosfetDrain: {
      if (!(-4 < p[0] && p[0] <= 10 && 0 < p[1] && p[1] <= 1 && In(0.5L, p[2], 100000) && x >= 0))
        return OutOfWindow;
      long double u = 0;
      const bool found = DecadeSearch(u, [&](long double v) {
        return x > FetGateVoltage(p, v) ? SearchStep::Go : SearchStep::Stop;
      });
      return found ? u : OutOfWindow;
    }
    case KindFluxDensity: {
      if (!(In(1, p[0], 1E9L) && In(1E-6L, p[1], 100) && In(0.001L, p[2], 1E9L) && In(1, p[3], 1E9L)))
        return OutOfWindow;
      const double M = table.Value(static_cast<double>(x), static_cast<double>(p[0]), static_cast<double>(p[1]),
                                   static_cast<double>(p[2]), static_cast<double>(p[3]), 0.01);
      if (table.Overflowed()) return OutOfWindow;
      return (x + M) * 1.25664E-6L;
    }
    default:
      return OutOfWindow;
  }
}

}  // namespace

long double ModelValue(const ParamVector& p, std::uint8_t kind, long double x, const TFitInputs& in,
                       THysteric& table) {
  const long double value = Evaluate(p, kind, x, in, table);
  return std::isfinite(value) ? value : OutOfWindow;
}

TIteration::TIteration() { Hysteric = std::make_unique<THysteric>(); }

long double TIteration::Evaluate(ParamVector p, std::uint8_t kind, long double x) const {
  if (!Hysteric) Hysteric = std::make_unique<THysteric>();
  return ModelValue(p, kind, x, *this, *Hysteric);
}

long double TIteration::Residual(const ParamVector& p) const {
  long double sum = 0;
  const int n = std::clamp(Count, 0, MaxPoints);
  for (int i = 0; i < n; ++i) {
    const long double d = Y[i] - Evaluate(p, Kind, X[i]);
    sum += d * d;
  }
  return std::isfinite(sum) ? sum : OutOfWindow;
}

bool TIteration::Fit() {
  lastCycles_ = 0;
  const int np = std::clamp(NParams, 0, static_cast<int>(P.size()));
  for (int i = 0; i < np; ++i)
    if (P[i] == 0 || !std::isfinite(P[i])) return false;
  if (np == 0) return true;

  ParamVector s{};
  std::array<int, 8> passes{};
  for (int r = 1; r <= MaxCycles; ++r) {
    lastCycles_ = r;
    for (int i = 0; i < np; ++i) s[i] = P[i] / std::exp(0.575L * r);
    bool improved = false;
    int w = 0;
    do {
      improved = false;
      ++w;
      passes.fill(0);
      for (int i = 0; i < np; ++i) {
        ParamVector minus = P, plus = P;
        auto around = [&] {
          minus = P;
          minus[i] = P[i] - s[i];
          plus = P;
          plus[i] = P[i] + s[i];
        };
        around();
        long double rM = Residual(minus), r0 = Residual(P), rP = Residual(plus);
        int e = 0;
        do {
          if (++passes[i] > 2) {
            ++e;
            passes[i] = 0;
            s[i] = 4 * s[i];
            around();
            rM = Residual(minus);
            r0 = Residual(P);
            rP = Residual(plus);
          }
          if (rM < r0) {
            P = minus;
            around();
            rP = r0;
            r0 = rM;
            rM = Residual(minus);
            improved = true;
          }
          if (rP < r0) {
            P = plus;
            around();
            rM = r0;
            r0 = rP;
            rP = Residual(plus);
            improved = true;
          }
        } while ((rM < r0 || rP < r0) && e <= 200);
        for (int k = 0; k < e; ++k) s[i] = s[i] / 2;
      }
    } while (improved && w <= 5);

    bool done = true;
    for (int i = 0; i < np && done; ++i) done = std::fabs(s[i] / P[i]) < Tolerance;
    if (done) return true;
  }
  return false;
}

}  // namespace pakro
