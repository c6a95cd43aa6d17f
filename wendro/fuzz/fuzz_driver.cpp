// The object stream fuzz target without a fuzzing engine: its seeds (a few
// well-formed streams) and its mutations; see platform/fuzz_driver.h.
#include <cstdint>
#include <string>
#include <vector>

#include "C_DSData.h"
#include "../tests/fake_metrics.h"
#include "platform/fuzz_driver.h"

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

void Mutate(std::string& s, platform::fuzzing::Random& random) {
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

}  // namespace

int main(int argc, char** argv) {
  return platform::fuzzing::RunDriver(argc, argv, {.seeds = Seeds, .mutate = Mutate, .count = 10000});
}
