#pragma once
// The magnetisation of a core material along the rising branch of its
// hysteresis loop, integrated once per parameter set into a 1024-point
// table and answered by linear interpolation.
#include <array>
#include <memory>

namespace pakro {

class THysteric {
 public:
  static constexpr int Points = 1024;
  // What Value answers for a table whose integration ran away.
  static constexpr double Diverged = 1E100;

  THysteric() { Clear(); }

  // Forgets the parameters, so the next Value builds the table.
  void Clear();
  // dM/dH at the field H and magnetisation Mv.
  double Slope(double H, double Mv) const;
  // One Euler step: Mv += Slope(H, Mv) * dH, then H += dH.
  void Step(double& H, double& Mv, double dH) const;
  // Stores the parameters and fills the table from -Hmax upward.
  void Build(double Ms, double a, double k, double c, double b);
  // M at H; rebuilds the table first when Ms, a, k or c differ from the
  // stored ones (a change of b alone does not rebuild). Note the argument
  // order differs from Build's.
  double Value(double H, double a, double c, double k, double Ms, double b);

  // True when the last Build ran into an overflow: the table then holds
  // Diverged from that point on, and Value answers Diverged.
  bool Overflowed() const { return overflowed_; }

  double a = 0;      // shape of the anhysteretic curve (A/m)
  double c = 0;      // reversibility coefficient
  double k = 0;      // pinning coefficient (A/m)
  double Ms = 0;     // saturation magnetisation (A/m)
  double b = 0;      // range parameter: Hmax = a (1 - b) / b
  double HStep = 0;  // field step between table points
  double Hmax = 0;   // half width of the table range
  std::array<double, Points> M{};  // M at H = -Hmax + i * HStep

 private:
  double Man(double H) const;
  double DMan(double H) const;
  bool overflowed_ = false;
};

// The one table of the program, created with each new fitting engine.
extern std::unique_ptr<THysteric> Hysteric;

}  // namespace pakro
