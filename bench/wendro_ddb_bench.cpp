// Times opening and saving a device database of 10,000 devices against a
// plain read and write of the same bytes.
//   wendro_ddb_bench [DEVICES] [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>
#include <unistd.h>

#include "C_DSData.h"
#include "../wendro/tests/fake_metrics.h"
#include "platform/text_file.h"

using namespace wendro;
namespace fs = std::filesystem;

namespace {

// Devices of the usual make: a block symbol with a few pins on each side,
// drawn for both standards.
TDeviceList MakeDatabase(int devices) {
  TDeviceList list;
  const wendro::testing::FakeMetrics metrics;
  for (int i = 0; i < devices; ++i) {
    std::vector<std::string> sides[4];
    for (int s = 0; s < 4; ++s)
      for (int p = 0; p < 1 + (i + s) % 4; ++p) sides[s].push_back("P" + std::to_string(s * 10 + p));
    auto device = TDevice::CreateBlock("DEV" + std::to_string(i), sides[0], sides[1], sides[2],
                                       sides[3], metrics);
    auto us = device->shapes[0]->Clone();
    us->key = 1;
    device->ReplaceShape(std::move(us));
    list.push_back(std::move(device));
  }
  return list;
}

double MedianMs(int runs, const std::function<void()>& work) {
  std::vector<double> ms;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    work();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int devices = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const fs::path dir = fs::temp_directory_path() / ("wendro-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string path = (dir / "bench.ddb").string();
  const std::string plainPath = (dir / "plain.bin").string();

  const TDeviceList list = MakeDatabase(devices);
  SaveDatabase(path, list);
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }

  const double open = MedianMs(runs, [&] {
    TDeviceList loaded;
    if (LoadDatabase(path, loaded) != TLoadResult::Loaded || int(loaded.size()) != devices) std::abort();
  });
  const double read = MedianMs(runs, [&] {
    std::ifstream in(path, std::ios::binary);
    std::string copy(bytes.size(), '\0');
    if (!in.read(copy.data(), std::streamsize(copy.size()))) std::abort();
  });
  const double save = MedianMs(runs, [&] { SaveDatabase(path, list); });
  const double write = MedianMs(runs, [&] {
    platform::TextFileWriter out(plainPath);  // the same all-or-nothing write
    out.write(bytes);
    out.commit();
  });

  std::printf("%d devices, %zu bytes, median of %d runs\n", devices, bytes.size(), runs);
  std::printf("  open  %9.2f ms   plain read   %9.2f ms   (x%.1f, aim: at most x5)\n", open, read, open / read);
  std::printf("  save  %9.2f ms   plain write  %9.2f ms   (x%.1f, aim: at most x1.5)\n", save, write,
              save / write);
  fs::remove_all(dir);
  return 0;
}
