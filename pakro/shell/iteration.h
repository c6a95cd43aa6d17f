#pragma once
// The fitting engine: the model curves of every device kind and a
// derivative-free coordinate pattern search that fits their parameters to
// the points of a datasheet curve.
#include <array>
#include <cstdint>
#include <memory>

#include "pakro/shell/hysteric.h"

namespace pakro {

// Parameters P1..P8 of a model curve, P1 at index 0.
using ParamVector = std::array<long double, 8>;

// Model kind codes.
enum ModelKind : std::uint8_t {
  KindDiodeForward = 11,        // diode forward voltage against current (mA)
  KindJunctionCap = 12,         // junction capacitance against reverse voltage
  KindBaseEmitter = 21,         // bipolar base-emitter voltage against IC (mA)
  KindCurrentGain = 22,         // bipolar current gain against IC (mA)
  KindSaturation = 23,          // bipolar saturation voltage against IC (mA)
  KindJfetDrain = 31,           // JFET drain current against |VGS|
  KindJfetBiasedCap = 32,       // junction capacitance with a bias
  KindJfetTwoJunctions = 33,    // two junction capacitances in parallel
  KindMosfetDrain = 41,         // MOSFET drain current against VGS
  KindFluxDensity = 51,         // flux density against field strength
};

// The value of a model whose parameters lie outside its window (and of any
// evaluation that does not give a finite number).
constexpr long double OutOfWindow = 1E100L;
// The value of kinds 11 and 21 at x <= 0.
constexpr long double NonPositiveX = 1E-16L;
// Thermal voltage of the bipolar and diode kinds (V).
constexpr long double Vt = 0.02586L;

// The fixed device inputs that some kinds read besides their parameters.
struct TFitInputs {
  // bipolar: Early voltages, emission coefficients, saturation and leakage
  // currents (A), knee currents (A), forced gain IC/IB of the saturation
  // curve, collector-emitter voltage of the gain curve, reverse and forward
  // gain
  double VAF = 0, VAR = 0, NE = 0, NF = 0, NR = 0, IS = 0, ISE = 0, ISC = 0, IKF = 0, IKR = 0,
         ICIB = 0, VCE = 0, BR = 0, BF = 0;
  // JFET: bias of the kind-32 curve (V), bias of the second junction of
  // kind 33 (V), gate-drain zero-bias capacitance for kind 33 (F)
  double Bias32 = 0, Bias33 = 0, CGD33 = 0;
};

// The model value of the given kind at x, with the fixed inputs given and
// the hysteresis table that kind 51 uses. Parameters outside the kind's
// window, an unknown kind, a search that cannot end and any result that is
// not a finite number give OutOfWindow.
long double ModelValue(const ParamVector& p, std::uint8_t kind, long double x, const TFitInputs& in,
                       THysteric& table);

// What a fit asks for again and again, kept between its evaluations: the
// exponentials of the bipolar kinds by their exact argument and the
// solutions of their voltage searches by what each depends on. Every entry
// is a pure function of its key, so a kept answer is the same number the
// computation would give anew.
class TFitMemo;

// Owns the TFitMemo of an engine, made when a kind first needs it; a copy
// starts without one.
class TFitMemoHolder {
 public:
  TFitMemoHolder();
  TFitMemoHolder(const TFitMemoHolder&);
  TFitMemoHolder& operator=(const TFitMemoHolder&) { return *this; }
  ~TFitMemoHolder();
  // The memo for evaluations of the kind; nullptr for the kinds that gain
  // nothing from one.
  TFitMemo* For(std::uint8_t kind) const;

 private:
  mutable std::unique_ptr<TFitMemo> memo_;
};

class TIteration : public TFitInputs {
 public:
  static constexpr int MaxPoints = 12;
  // Bounds that keep every fit finite; no sound fit comes near them.
  static constexpr int MaxCycles = 200;

  // Zeroes the points and creates the global Hysteric.
  TIteration();

  // The model value of the kind at x with this engine's fixed inputs and
  // the global Hysteric.
  long double Evaluate(ParamVector p, std::uint8_t kind, long double x) const;
  // Sum over the points of (Y - Evaluate(p, Kind, X))²; a sum that is not
  // finite counts as OutOfWindow.
  long double Residual(const ParamVector& p) const;
  // Improves P[0..NParams-1] in place. Refuses (returns false, changes
  // nothing) when a varied start value is zero or not finite; returns false
  // too when the search ran into its cycle bound before the tolerance.
  bool Fit();

  std::uint8_t Kind = 0;
  std::array<double, MaxPoints> X{};
  std::array<double, MaxPoints> Y{};
  int Count = 0;
  ParamVector P{};
  int NParams = 0;
  double Tolerance = 0;

  // Cycles the last Fit ran (for inspection and the benchmark).
  int LastCycles() const { return lastCycles_; }

  const TFitInputs& Inputs() const { return *this; }

 private:
  long double Residual(const ParamVector& p, TFitMemo* memo) const;
  int lastCycles_ = 0;
  TFitMemoHolder memo_;
};

// The one fitting engine of the program; each datasheet form's creation
// replaces it.
extern std::unique_ptr<TIteration> Iteration;

}  // namespace pakro
