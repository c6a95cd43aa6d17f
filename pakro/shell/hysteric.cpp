#include "pakro/shell/hysteric.h"

#include <cmath>

namespace pakro {

std::unique_ptr<THysteric> Hysteric;

void THysteric::Clear() {
  a = c = k = Ms = b = 0;
}

double THysteric::Man(double H) const { return Ms * H / (std::fabs(H) + a); }

double THysteric::DMan(double H) const {
  const double d = std::fabs(H) + a;
  return Ms * a / (d * d);
}

double THysteric::Slope(double H, double Mv) const {
  return (1 / (1 + c)) * (Man(H) - Mv) / k + (c / (1 + c)) * DMan(H);
}

void THysteric::Step(double& H, double& Mv, double dH) const {
  Mv = Mv + Slope(H, Mv) * dH;
  H = H + dH;
}

void THysteric::Build(double Ms_, double a_, double k_, double c_, double b_) {
  Ms = Ms_;
  a = a_;
  k = k_;
  c = c_;
  b = b_;
  Hmax = a * (1 - b) / b;
  HStep = 2 * Hmax / Points;
  double H = -Hmax;
  const double d = std::fabs(H) + a;
  M[0] = Man(H) + k * c * Ms * a / (d * d);
  overflowed_ = !std::isfinite(M[0]);
  double Mv = M[0];
  for (int i = 1; i < Points; ++i) {
    if (!overflowed_) {
      Step(H, Mv, HStep);
      // An explicit step wider than the pinning allows makes the
      // integration oscillate and grow without bound.
      overflowed_ = !std::isfinite(Mv);
    }
    M[i] = overflowed_ ? Diverged : Mv;
  }
  if (!std::isfinite(M[0])) M[0] = Diverged;
}

double THysteric::Value(double H, double a_, double c_, double k_, double Ms_, double b_) {
  if (Ms_ != Ms || a_ != a || k_ != k || c_ != c) Build(Ms_, a_, k_, c_, b_);
  if (overflowed_) return Diverged;
  const double t = (H + Hmax) / HStep;
  if (std::isnan(t)) return t;
  const double i = std::nearbyint(t);  // halves to even
  if (i >= Points - 1) return M[Points - 1];
  if (i < 0) return M[0];
  const int n = static_cast<int>(i);
  return M[n] + (M[n + 1] - M[n]) * ((H + Hmax) - n * HStep) / HStep;
}

}  // namespace pakro
