// "Compute all" on a library of 1,000 components, per device kind: every
// component's datasheet curves come from known model parameters (spread
// over ten variants), and one benchmark iteration computes each component
// once, as the compute series does.
//   pakro_compute_bench [--benchmark_filter=Diode]
#include <benchmark/benchmark.h>

#include <string>

#include "model_compute.h"
#include "synthetic_records.h"

using namespace pakro;

namespace {

constexpr int Components = 1000;

// A factor near 1 that differs between neighbouring components.
long double Spread(int i) { return 1 + 0.02L * (i % 10); }

template <class List, class Fill>
void FillList(List& list, Fill fill) {
  list.AddItem();  // the defaults record
  for (int i = 1; i <= Components; ++i) {
    list.AddItem();
    fill(list.Items(i), "C" + std::to_string(i), Spread(i));
  }
}

template <class List, class Compute>
void ComputeAll(benchmark::State& state, List& list, Compute compute) {
  int failed = 0;
  for (auto _ : state)
    for (int i = 1; i < list.Count(); ++i) failed += compute(list.Items(i)) ? 0 : 1;
  if (failed) state.SkipWithError("a component was not computed");
  state.counters["components"] = Components;
  state.counters["per component"] =
      benchmark::Counter(Components, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Diode(benchmark::State& state) {
  TCatListDIO list;
  FillList(list, [](TCatDIO& r, const std::string& name, long double f) {
    synthetic::DiodeTruth t;
    t.forward[0] *= f;
    t.capacitance[0] *= f;
    synthetic::FillDiode(r, name, t);
  });
  ComputeAll(state, list, ComputeDIO);
}

template <class List, class Rec>
void Bipolar(benchmark::State& state) {
  List list;
  FillList(list, [](Rec& r, const std::string& name, long double f) {
    synthetic::BipolarTruth t;
    t.gain[0] *= f;
    t.cob[0] *= f;
    synthetic::FillBipolar(r, name, t);
  });
  ComputeAll(state, list, ComputeBipolar);
}

template <class List, class Rec>
void Jfet(benchmark::State& state) {
  List list;
  FillList(list, [](Rec& r, const std::string& name, long double f) {
    synthetic::JfetTruth t;
    t.bias32 = 0;
    t.drain[0] *= f;
    t.feedback[0] *= f;
    synthetic::FillJfet(r, name, t);
  });
  ComputeAll(state, list, ComputeJFET);
}

template <class List, class Rec>
void Mosfet(benchmark::State& state) {
  List list;
  FillList(list, [](Rec& r, const std::string& name, long double f) {
    synthetic::MosfetTruth t;
    t.drain = {2 * f, 0.003L, 1};
    t.coss[0] *= f;
    synthetic::FillMosfet(r, name, t);
  });
  ComputeAll(state, list, ComputeMOSFET);
}

void Core(benchmark::State& state) {
  TCatListCOR list;
  FillList(list, [](TCatCOR& r, const std::string& name, long double f) {
    synthetic::CoreTruth t;
    t.loop[0] *= f;
    t.loop[3] *= f;
    synthetic::FillCore(r, name, t);
  });
  ComputeAll(state, list, ComputeCOR);
}

// One pass over the library is long enough to time.
#define COMPUTE_ALL(...) BENCHMARK(__VA_ARGS__)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime()
COMPUTE_ALL(Diode)->Name("Diode");
COMPUTE_ALL(Bipolar<TCatListTRN, TCatTRN>)->Name("NPN");
COMPUTE_ALL(Bipolar<TCatListTRP, TCatTRP>)->Name("PNP");
COMPUTE_ALL(Jfet<TCatListJFN, TCatJFN>)->Name("NJFET");
COMPUTE_ALL(Jfet<TCatListJFP, TCatJFP>)->Name("PJFET");
COMPUTE_ALL(Mosfet<TCatListMNE, TCatMNE>)->Name("NMOS");
COMPUTE_ALL(Mosfet<TCatListMPE, TCatMPE>)->Name("PMOS");
COMPUTE_ALL(Core)->Name("Core");

}  // namespace

BENCHMARK_MAIN();
