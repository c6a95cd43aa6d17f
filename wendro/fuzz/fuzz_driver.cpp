// Runs the fuzz target without a fuzzing engine: over the files named on the
// command line, or over seeded mutations of a few well-formed streams.
//   wendro_obss_fuzz FILE...                 replay inputs (e.g. crash files)
//   wendro_obss_fuzz [-n COUNT] [-s SEED]    mutate the built-in seeds
//   wendro_obss_fuzz --write-seeds DIR       store the seeds as a corpus
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "C_DSData.h"
#include "../tests/fake_metrics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace wendro;

namespace {

std::string Written(const TDeviceList& list) {
  TMemoryStream out;
  WriteDatabase(out, list);
  return out.Bytes();
}

std::vector<std::string> Seeds() {
  std::vector<std::string> seeds;
  TDeviceList list;
  seeds.push_back(Written(list));

  list.push_back(TDevice::CreateBlock("AMP", {"OUT"}, {"V+"}, {"IN+", "IN-"}, {"V-"}, wendro::testing::FakeMetrics()));
  auto mixed = std::make_unique<TDevice>();
  mixed->name = "MIXED";
  mixed->values = {1, 2, 3};
  auto shape = std::make_unique<TDShape>();
  shape->AppendPin("~A~", -16, 0, 0);
  shape->AppendPin("B", 16, 0, 2);
  shape->graphics.push_back(MakeLineItem({-8, 0, 8, 0, 0xFF, 1, {}, {}}));
  shape->graphics.push_back(MakeShapeItem({2, {0, 0, 8, 8}, 0, -2, 1}));
  shape->graphics.push_back(MakeTextItem({"T", "Arial", 0, 0, 1.0, 1, 1, 0}));
  shape->graphics.push_back(MakePolygonItem({{0, 0, 8, 8}, 0, 0xFF, 1, {{0, 0}, {8, 0}, {0, 8}}}));
  TItemRecord connector(kItemConnector, kConnectorSize);
  connector.Payload()[0] = 1;
  shape->graphics.push_back(connector);
  auto us = shape->Clone();
  us->key = 1;
  mixed->shapes.push_back(std::move(shape));
  mixed->shapes.push_back(std::move(us));
  list.push_back(std::move(mixed));
  seeds.push_back(Written(list));

  // Clipboard data: one drawing record.
  TMemoryStream clip;
  {
    toOBSS obss(clip, obssWrite);
    list[1]->shapes[0]->Store(obss);
  }
  seeds.push_back(clip.Bytes());
  return seeds;
}

// xorshift64*: the same sequence on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed ? seed : 1) {}
  std::uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1DULL;
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : std::size_t(Next() % n); }

 private:
  std::uint64_t state_;
};

void Mutate(std::string& s, Random& random) {
  static const std::int32_t interesting[] = {0, 1, -1, 2, 8, 12, 42, 255, 256, 0x7FFF, -32768,
                                             0xFFFF, 0x10000, 0x7FFFFFFF, INT32_MIN, 100, 769};
  const int ops = 1 + int(random.Below(4));
  for (int op = 0; op < ops; ++op) {
    const std::size_t at = random.Below(s.size() + 1);
    switch (random.Below(8)) {
      case 0:
        if (at < s.size()) s[at] = char(s[at] ^ (1 << random.Below(8)));
        break;
      case 1:
        if (at < s.size()) s[at] = char(random.Next());
        break;
      case 2:
      case 3: {
        const std::int32_t v = interesting[random.Below(std::size(interesting))];
        const std::size_t width = random.Below(2) ? 4 : 2;
        for (std::size_t i = 0; i < width && at + i < s.size(); ++i) s[at + i] = char(v >> (8 * i));
        break;
      }
      case 4:
        s.resize(at);
        break;
      case 5:
        s.erase(at, random.Below(64));
        break;
      case 6: {
        const std::string chunk = s.substr(random.Below(s.size() + 1), random.Below(128));
        s.insert(at, chunk);
        break;
      }
      default:
        s.insert(at, std::string(random.Below(16), char(random.Next())));
        break;
    }
  }
}

int Run(const std::string& bytes) {
  return LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  long count = 10000;
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
      for (const auto& s : Seeds())
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
  const auto seeds = Seeds();
  for (const auto& s : seeds) Run(s);
  Random random(seed);
  for (long i = 0; i < count; ++i) {
    std::string input = seeds[random.Below(seeds.size())];
    Mutate(input, random);
    Run(input);
  }
  std::printf("%ld mutated inputs ran clean\n", count);
  return 0;
}
