#include "platform/fuzz_driver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace platform::fuzzing {

namespace {

int Run(const std::string& bytes) {
  return LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int RunDriver(int argc, char** argv, const Driver& driver) {
  long count = driver.count;
  std::uint64_t seed = 1;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-n" && i + 1 < argc) {
      count = std::atol(argv[++i]);
    } else if (arg == "-s" && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--write-seeds" && i + 1 < argc) {
      const std::filesystem::path dir = argv[++i];
      std::filesystem::create_directories(dir);
      int n = 0;
      for (const auto& s : driver.seeds())
        std::ofstream(dir / ("seed" + std::to_string(n++)), std::ios::binary) << s;
      return 0;
    } else {
      files.push_back(arg);
    }
  }
  if (!files.empty()) {
    for (const auto& file : files) {
      std::ifstream in(file, std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 2;
      }
      Run({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    }
    std::printf("%zu inputs ran clean\n", files.size());
    return 0;
  }
  const auto seeds = driver.seeds();
  if (seeds.empty()) return 2;
  Random random(seed);
  if (driver.chained) {
    Run(seeds.front());
    std::string input = seeds.front();
    for (long i = 0; i < count; ++i) {
      if (random.Below(8) == 0) input = seeds.front();
      driver.mutate(input, random);
      Run(input);
    }
  } else {
    for (const auto& s : seeds) Run(s);
    for (long i = 0; i < count; ++i) {
      std::string input = seeds[random.Below(seeds.size())];
      driver.mutate(input, random);
      Run(input);
    }
  }
  std::printf("%ld mutated inputs ran clean\n", count);
  return 0;
}

}  // namespace platform::fuzzing
