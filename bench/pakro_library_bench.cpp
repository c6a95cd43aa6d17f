// Reading and writing a library file of 10,000 NPN transistors, every record
// with five full curves, against reading and writing the same bytes without
// interpreting them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "pakro/devices/TRN_.h"
#include "pakro/shell/library_file.h"
#include "platform/text_file.h"

namespace {

constexpr int kComponents = 10000;

void FillCurve(pakro::TGraph& curve, double scale) {
  curve.Count = pakro::TGraph::MaxPoints;
  for (int i = 0; i < curve.Count; ++i) {
    curve.X[i] = scale * (i + 1) * 1.37;
    curve.Y[i] = scale / (i + 2.5);
  }
}

void FillList(pakro::TCatListTRN& list) {
  list.AddItem();  // the defaults record
  for (int n = 0; n < kComponents; ++n) {
    list.AddItem();
    pakro::TCatTRN& t = list.Items(list.Count() - 1);
    std::string name = "Q";
    name += std::to_string(n);
    t.Name = name;
    t.Usage = "Amplifier, 40 V, 600 mA";
    t.ICVBERef = t.ICBETARef = t.ICVCERef = t.VCBCOBORef = t.VEBCIBORef = t.Name;
    FillCurve(t.ICVBE, 0.5 + n % 7);
    FillCurve(t.ICBETA, 100 + n % 11);
    FillCurve(t.ICVCE, 0.1 + n % 5);
    FillCurve(t.VCBCOBO, 3.3 + n % 3);
    FillCurve(t.VEBCIBO, 12.5 + n % 13);
    t.ICBETA.CurveParamText = "10";
    t.ICVCE.CurveParamText = "10";
    for (int i = 0; i < pakro::BipolarData::Count; ++i) t.DataText[i] = std::to_string(1.5 * i + n % 9);
    for (int i = 0; i < pakro::BipolarParam::Count; ++i) t.Param[i] = 1.234567e-3 * (i + 1) * (n % 17 + 1);
    t.Computed = n % 2 == 0;
  }
}

std::string ScratchFile(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

std::vector<char> Bytes(const std::string& path) {
  std::vector<char> bytes(std::filesystem::file_size(path));
  std::FILE* f = std::fopen(path.c_str(), "rb");
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  bytes.resize(got);
  return bytes;
}

const std::string& LibraryPath() {
  static const std::string path = [] {
    const std::string p = ScratchFile("pakro_bench_library.LBR");
    pakro::TCatListTRN list;
    FillList(list);
    list.WriteLibrary(p);
    return p;
  }();
  return path;
}

void BM_ReadLibrary(benchmark::State& state) {
  const std::string& path = LibraryPath();
  for (auto _ : state) {
    pakro::TCatListTRN list;
    list.AddItem();
    pakro::LibraryFile file(path);
    file.ReadHeader();
    list.ReadLibrary(file);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}

void BM_WriteLibrary(benchmark::State& state) {
  pakro::TCatListTRN list;
  FillList(list);
  const std::string path = ScratchFile("pakro_bench_write.LBR");
  for (auto _ : state) list.WriteLibrary(path);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}

void BM_PlainRead(benchmark::State& state) {
  const std::string& path = LibraryPath();
  for (auto _ : state) benchmark::DoNotOptimize(Bytes(path).size());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}

void BM_PlainWrite(benchmark::State& state) {
  const std::vector<char> bytes = Bytes(LibraryPath());
  const std::string path = ScratchFile("pakro_bench_plain.LBR");
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
  std::filesystem::remove(path);
}

// The same bytes written all or nothing, as the library write does: beside
// the target, flushed to the disk, then renamed over it.
void BM_PlainWriteAllOrNothing(benchmark::State& state) {
  const std::vector<char> bytes = Bytes(LibraryPath());
  const std::string path = ScratchFile("pakro_bench_plain.LBR");
  for (auto _ : state) {
    platform::TextFileWriter out(path);
    out.write(std::string_view(bytes.data(), bytes.size()));
    out.commit();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
  std::filesystem::remove(path);
}

BENCHMARK(BM_ReadLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteAllOrNothing)->Unit(benchmark::kMillisecond);

}  // namespace

// Keeps the real time of each run, for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatio(const char* what, const std::string& work, const std::string& plain) const {
    const auto w = times.find(work), p = times.find(plain);
    if (w == times.end() || p == times.end() || p->second <= 0) return;
    std::printf("%s: x%.1f of %s (aim: at most x10)\n", what, w->second / p->second, plain.c_str());
  }
  std::map<std::string, double> times;
};

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("read", "BM_ReadLibrary", "BM_PlainRead");
  reporter.PrintRatio("write", "BM_WriteLibrary", "BM_PlainWrite");
  reporter.PrintRatio("write", "BM_WriteLibrary", "BM_PlainWriteAllOrNothing");
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove(ScratchFile("pakro_bench_library.LBR"), ignored);
  return 0;
}
