#include "pakro/shell/iteration.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace pakro {

std::unique_ptr<TIteration> Iteration;

class TFitMemo {
 public:
  TFitMemo() { Forget(); }

  // exp(a), kept by the value of a.
  long double Exp(long double a) {
    ExpSlot& slot = exps_[Slot(a, ExpBits)];
    if (!(slot.arg == a)) {
      slot.arg = a;
      slot.value = std::exp(a);
    }
    return slot.value;
  }

  // The solution of a search of the kind at x that depends on the
  // parameters a and b besides the fixed inputs, and what the kind derives
  // from it alone: for the current gain u is VBE and q1, xf and xr its
  // quantities, eBE and eBC the exponentials of VBE and VBC with the
  // emission coefficient eKey; for the saturation voltage u and v are VBE
  // and VBC.
  struct Search {
    std::uint8_t kind = 0;
    long double x, a, b;
    bool found;
    long double u, v, q1, xf, xr;
    long double eKey, eBE, eBC;
  };
  // The kept search, or nullptr. The keys must match bit for bit: a knee
  // current of -0 is not that of +0.
  Search* FindSearch(std::uint8_t kind, long double x, long double a, long double b) {
    Search& s = searches_[Slot(x, a, b, SearchBits)];
    return s.kind == kind && Same(s.x, x) && Same(s.a, a) && Same(s.b, b) ? &s : nullptr;
  }
  // The slot for a new search, with its key set.
  Search& NewSearch(std::uint8_t kind, long double x, long double a, long double b) {
    Search& s = searches_[Slot(x, a, b, SearchBits)];
    s.kind = kind;
    s.x = x;
    s.a = a;
    s.b = b;
    s.eKey = std::numeric_limits<long double>::quiet_NaN();
    return s;
  }

  // What the gain search's transport current at VBE = v and VBC = v - VCE
  // takes from v alone: q1 and IS times xf, xr and xf - xr. These, and the
  // exponentials and the saturation search's currents, are kept by value:
  // -0 and +0 give the same results there.
  struct Transport {
    long double v, q1, isXf, isXr, isDiff;
  };
  Transport* FindTransport(long double v) {
    Transport& t = transports_[Slot(v, TransportBits)];
    return t.v == v ? &t : nullptr;
  }
  Transport& NewTransport(long double v) {
    Transport& t = transports_[Slot(v, TransportBits)];
    t.v = v;
    return t;
  }

  // The saturation search's transport current at VBE and VBC with the
  // knee currents of the fixed inputs.
  struct Junctions {
    long double vbe, vbc, current;
    bool ceiling;
  };
  Junctions& JunctionsSlot(long double vbe, long double vbc) {
    return junctions_[Slot(vbe, vbc, 0, JunctionsBits)];
  }

  // The searches hold for one set of fixed inputs; other inputs forget them.
  void Use(const TFitInputs& in) {
    if (std::memcmp(&in, &inputs_, sizeof in) == 0) return;
    std::memcpy(&inputs_, &in, sizeof in);
    ForgetSearches();
  }

 private:
  static constexpr int ExpBits = 12;
  static constexpr int SearchBits = 11;
  static constexpr int TransportBits = 11;
  static constexpr int JunctionsBits = 12;
  struct ExpSlot {
    long double arg, value;
  };

  void Forget() {
    // NaN equals nothing, so an unused slot never answers.
    for (ExpSlot& e : exps_) e.arg = std::numeric_limits<long double>::quiet_NaN();
    ForgetSearches();
    inputs_ = TFitInputs();
  }
  void ForgetSearches() {
    for (Search& s : searches_) s.kind = 0;
    for (Transport& t : transports_) t.v = std::numeric_limits<long double>::quiet_NaN();
    for (Junctions& j : junctions_) j.vbe = std::numeric_limits<long double>::quiet_NaN();
  }

  // The same value bits (sign, exponent, significand).
  static bool Same(long double a, long double b) {
    return std::memcmp(&a, &b, ValueBytes) == 0;
  }
  static constexpr std::size_t ValueBytes = 10;

  // The significand and exponent bits of a key, mixed into h.
  static std::uint64_t Mix(std::uint64_t h, long double k) {
    static_assert(std::numeric_limits<long double>::digits == 64, "x87 extended long double");
    std::uint64_t m = 0;
    std::uint16_t e = 0;
    std::memcpy(&m, &k, sizeof m);
    std::memcpy(&e, reinterpret_cast<const char*>(&k) + sizeof m, sizeof e);
    return (h ^ m ^ (std::uint64_t{e} << 48)) * 0x9E3779B97F4A7C15ULL;
  }
  static std::size_t Slot(long double a, int bits) { return static_cast<std::size_t>(Mix(0, a) >> (64 - bits)); }
  static std::size_t Slot(long double a, long double b, long double c, int bits) {
    std::uint64_t h = Mix(0, a);
    h = Mix(h ^ (h >> 29), b);
    h = Mix(h ^ (h >> 29), c);
    return static_cast<std::size_t>(h >> (64 - bits));
  }

  ExpSlot exps_[std::size_t{1} << ExpBits];
  Search searches_[std::size_t{1} << SearchBits];
  Transport transports_[std::size_t{1} << TransportBits];
  Junctions junctions_[std::size_t{1} << JunctionsBits];
  TFitInputs inputs_;
};

TFitMemoHolder::TFitMemoHolder() = default;
TFitMemoHolder::TFitMemoHolder(const TFitMemoHolder&) {}
TFitMemoHolder::~TFitMemoHolder() = default;

TFitMemo* TFitMemoHolder::For(std::uint8_t kind) const {
  // Only the bipolar searches repeat work that a memo can keep.
  if (kind != KindCurrentGain && kind != KindSaturation) return nullptr;
  if (!memo_) memo_ = std::make_unique<TFitMemo>();
  return memo_.get();
}

namespace {

// exp(a), through the memo when there is one.
inline long double Exp(TFitMemo* memo, long double a) { return memo ? memo->Exp(a) : std::exp(a); }

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
                             long double Kb, bool& ceiling, TFitMemo* memo) {
  const long double q1 = 1 / (1 - VBC / in.VAF - VBE / in.VAR);
  ceiling = q1 <= 0;
  if (ceiling) return TransportCeiling;
  const long double xf = Exp(memo, VBE / (in.NF * Vt)) - 1;
  const long double xr = Exp(memo, VBC / (in.NR * Vt)) - 1;
  const long double q2 = in.IS * xf / Ka + in.IS * xr / Kb;
  const long double qb = q1 * (1 + std::sqrt(1 + 4 * q2)) / 2;
  return in.IS * (xf - xr) / qb;
}

// TransportCurrent(in, v, v - in.VCE, K, K, ceiling) with what depends on v
// alone kept in the memo.
long double GainTransportCurrent(const TFitInputs& in, long double v, long double K, bool& ceiling,
                                 TFitMemo& memo) {
  TFitMemo::Transport* t = memo.FindTransport(v);
  if (!t) {
    const long double VBE = v, VBC = v - in.VCE;
    t = &memo.NewTransport(v);
    t->q1 = 1 / (1 - VBC / in.VAF - VBE / in.VAR);
    if (!(t->q1 <= 0)) {
      const long double xf = memo.Exp(VBE / (in.NF * Vt)) - 1;
      const long double xr = memo.Exp(VBC / (in.NR * Vt)) - 1;
      t->isXf = in.IS * xf;
      t->isXr = in.IS * xr;
      t->isDiff = in.IS * (xf - xr);
    }
  }
  ceiling = t->q1 <= 0;
  if (ceiling) return TransportCeiling;
  const long double q2 = t->isXf / K + t->isXr / K;
  const long double qb = t->q1 * (1 + std::sqrt(1 + 4 * q2)) / 2;
  return t->isDiff / qb;
}

long double CurrentGain(const ParamVector& p, long double x, const TFitInputs& in, TFitMemo* memo) {
  if (!(In(-10000, p[0], 10000) && In(0, p[1], 5000) && In(0.7L, p[2], 2) && In(1E-24L, p[3], 1E-7L)))
    return OutOfWindow;
  const long double I = x / 1000;
  // The search for VBE depends on x and the knee current alone.
  TFitMemo::Search local;
  TFitMemo::Search* g = memo ? memo->FindSearch(KindCurrentGain, x, p[1], 0) : nullptr;
  if (!g) {
    g = memo ? &memo->NewSearch(KindCurrentGain, x, p[1], 0) : &local;
    g->eKey = std::numeric_limits<long double>::quiet_NaN();
    // Once the base charge has no positive value it stays so for higher VBE
    // when the Early voltages make it fall with VBE.
    const bool ceilingLasts =
        !(1 / static_cast<long double>(in.VAF) + 1 / static_cast<long double>(in.VAR) < 0);
    long double VBE = 0;
    g->found = DecadeSearch(VBE, [&](long double v) {
      bool ceiling = false;
      const long double current = memo ? GainTransportCurrent(in, v, p[1], ceiling, *memo)
                                       : TransportCurrent(in, v, v - in.VCE, p[1], p[1], ceiling, memo);
      if (!(I > current)) return SearchStep::Stop;
      return ceiling && ceilingLasts ? SearchStep::Stuck : SearchStep::Go;
    });
    if (g->found) {
      const long double VBC = VBE - in.VCE;
      g->u = VBE;
      g->q1 = 1 / (1 - VBC / in.VAF - VBE / in.VAR);
      g->xf = Exp(memo, VBE / (in.NF * Vt)) - 1;
      g->xr = Exp(memo, VBC / (in.NR * Vt)) - 1;
    }
  }
  if (!g->found) return OutOfWindow;
  const long double VBE = g->u;
  const long double VBC = VBE - in.VCE;
  const long double q1 = g->q1;
  const long double xf = g->xf;
  const long double xr = g->xr;
  const long double q2 = in.IS * xf / p[1] + in.IS * xr / p[1];
  const long double qb = q1 * (1 + std::sqrt(1 + 4 * q2)) / 2;
  const long double ict = in.IS * (xf - xr) / qb;
  if (!(g->eKey == p[2])) {
    g->eKey = p[2];
    g->eBE = std::exp(VBE / (p[2] * Vt));
    g->eBC = std::exp(VBC / (p[2] * Vt));
  }
  const long double ib1 = p[3] * (g->eBE - 1) + in.IS * xf / p[0];
  const long double ib2 = p[3] * (g->eBC - 1) + in.IS * xr / in.BR;
  // Collector current over base current.
  return (ict - ib2) / (ib1 + ib2);
}

// The search of the saturation voltage for VBE and VBC at the current
// I = x / 1000. It reads P1 and P3 of the parameters, not P2. False when the
// search cannot end.
bool SaturationSearch(const ParamVector& p, long double I, const TFitInputs& in, TFitMemo* memo,
                      long double& VBE, long double& VBC) {
  auto ib2 = [&](long double vbc) {
    return p[0] * (Exp(memo, vbc / (p[2] * Vt)) - 1) + in.IS * (Exp(memo, vbc / (in.NR * Vt)) - 1) / in.BR;
  };
  auto ib1 = [&](long double vbe) {
    return in.ISE * (Exp(memo, vbe / (in.NE * Vt)) - 1) + in.IS * (Exp(memo, vbe / (in.NF * Vt)) - 1) / in.BF;
  };
  bool ceiling = false;
  auto transport = [&](long double vbe, long double vbc) {
    if (!memo) return TransportCurrent(in, vbe, vbc, in.IKF, in.IKR, ceiling, memo);
    TFitMemo::Junctions& j = memo->JunctionsSlot(vbe, vbc);
    if (!(j.vbe == vbe && j.vbc == vbc)) {
      j.current = TransportCurrent(in, vbe, vbc, in.IKF, in.IKR, j.ceiling, memo);
      j.vbe = vbe;
      j.vbc = vbc;
    }
    ceiling = j.ceiling;
    return j.current;
  };
  auto ic = [&](long double vbe, long double vbc) { return transport(vbe, vbc) - ib2(vbc); };
  // With VBC held, a base charge without positive value persists for higher
  // VBE unless VAR is negative.
  const bool ceilingLasts = !(in.VAR < 0);
  VBE = 0;
  VBC = 0;
  for (long double d : {0.1L, 0.01L, 0.001L, 0.0001L}) {
    for (int repeat = 0; repeat < MaxSaturationRepeats; ++repeat) {
      long double keptVBE = VBE, keptVBC = VBC;
      int steps = 0;
      do {
        if (++steps > MaxSearchSteps) return false;
        keptVBE = VBE;
        VBE = VBE + d;
      } while (I >= ic(VBE, VBC) && !(ceiling && ceilingLasts));
      if (ceiling && ceilingLasts && I >= ic(VBE, VBC)) return false;
      VBE = VBE - d;
      steps = 0;
      do {
        if (++steps > MaxSearchSteps) return false;
        keptVBC = VBC;
        VBC = VBC + d;
      } while (ic(VBE, VBC) / (ib1(VBE) + ib2(VBC)) >= in.ICIB);
      VBC = VBC - d;
      if (VBC == keptVBC && VBE == keptVBE) break;
    }
  }
  return true;
}

long double SaturationVoltage(const ParamVector& p, long double x, const TFitInputs& in, TFitMemo* memo) {
  if (!(p[0] >= 0 && p[1] >= 0)) return OutOfWindow;
  const long double I = x / 1000;
  long double VBE = 0, VBC = 0;
  bool found = false;
  if (const TFitMemo::Search* kept = memo ? memo->FindSearch(KindSaturation, x, p[0], p[2]) : nullptr) {
    found = kept->found;
    VBE = kept->u;
    VBC = kept->v;
  } else {
    found = SaturationSearch(p, I, in, memo, VBE, VBC);
    if (memo) {
      TFitMemo::Search& kept = memo->NewSearch(KindSaturation, x, p[0], p[2]);
      kept.found = found;
      kept.u = VBE;
      kept.v = VBC;
    }
  }
  if (!found) return OutOfWindow;
  VBE = VBE - 0.0001L;
  return p[1] * I + (VBE - VBC);
}

long double FetGateVoltage(const ParamVector& p, long double id) {
  return p[0] + p[2] * id + std::sqrt(id / p[1]);
}

long double Evaluate(const ParamVector& p, std::uint8_t kind, long double x, const TFitInputs& in,
                     THysteric& table, TFitMemo* memo) {
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
      return CurrentGain(p, x, in, memo);
    case KindSaturation:
      return SaturationVoltage(p, x, in, memo);
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

// The model value, OutOfWindow for any value that is not finite.
long double FiniteValue(const ParamVector& p, std::uint8_t kind, long double x, const TFitInputs& in,
                        THysteric& table, TFitMemo* memo) {
  const long double value = Evaluate(p, kind, x, in, table, memo);
  return std::isfinite(value) ? value : OutOfWindow;
}

}  // namespace

long double ModelValue(const ParamVector& p, std::uint8_t kind, long double x, const TFitInputs& in,
                       THysteric& table) {
  return FiniteValue(p, kind, x, in, table, nullptr);
}

TIteration::TIteration() { Hysteric = std::make_unique<THysteric>(); }

long double TIteration::Evaluate(ParamVector p, std::uint8_t kind, long double x) const {
  if (!Hysteric) Hysteric = std::make_unique<THysteric>();
  return ModelValue(p, kind, x, *this, *Hysteric);
}

long double TIteration::Residual(const ParamVector& p) const { return Residual(p, memo_.For(Kind)); }

long double TIteration::Residual(const ParamVector& p, TFitMemo* memo) const {
  if (!Hysteric) Hysteric = std::make_unique<THysteric>();
  if (memo) memo->Use(*this);
  long double sum = 0;
  const int n = std::clamp(Count, 0, MaxPoints);
  for (int i = 0; i < n; ++i) {
    const long double d = Y[i] - FiniteValue(p, Kind, X[i], *this, *Hysteric, memo);
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

  TFitMemo* const memo = memo_.For(Kind);
  ParamVector s{};
  std::array<int, 8> passes{};
  // The residual at P, carried along as P moves: every step that moves P
  // knows the residual of where it moves to.
  long double rAtP = Residual(P, memo);
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
        long double rM = Residual(minus, memo), r0 = rAtP, rP = Residual(plus, memo);
        int e = 0;
        do {
          if (++passes[i] > 2) {
            ++e;
            passes[i] = 0;
            s[i] = 4 * s[i];
            around();
            rM = Residual(minus, memo);
            rP = Residual(plus, memo);
          }
          if (rM < r0) {
            P = minus;
            around();
            rP = r0;
            r0 = rM;
            rM = Residual(minus, memo);
            improved = true;
          }
          if (rP < r0) {
            P = plus;
            around();
            rM = r0;
            r0 = rP;
            rP = Residual(plus, memo);
            improved = true;
          }
        } while ((rM < r0 || rP < r0) && e <= 200);
        rAtP = r0;
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
