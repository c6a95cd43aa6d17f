// The catalog source fuzz target without a fuzzing engine: its seed (a small
// catalog source) and its mutations; see platform/fuzz_driver.h.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fuzz_driver.h"

namespace {

const char kSeed[] =
    "&001 first line\r\n* comment \xe9\n&002 NPN\r\n# SPICE-BJT model\r\n# Standard\r\n#&\r\n"
    ".M\r\n$ BC548\nU general\r\nE 0.5\r\n.E\r\n$ 2N3904\r\n.E\n##\r\n&003\r\n# SPICE-BJT\r\n#&\r\n"
    ".M\r\n$ BC548\r\n.E\r\n##\r\n&050\r\n# Jiles-Atherton\r\n#&\r\n.M\r\n##";

// Line kinds the reader gives meaning to, spliced in whole.
const char* const kPieces[] = {"&", "&002", "\r\n", "\n", "$ ", "$ BC548", ".E", "#", "# Standard",
                               ".M", "##", "#&", "\r", "\0"};

void Mutate(std::string& s, platform::fuzzing::Random& random) {
  const int ops = 1 + int(random.Below(4));
  for (int op = 0; op < ops; ++op) {
    const std::size_t at = random.Below(s.size() + 1);
    switch (random.Below(5)) {
      case 0:
        if (at < s.size()) s[at] = char(random.Next());
        break;
      case 1:
        s.erase(at, random.Below(32));
        break;
      case 2:
        s.insert(at, s.substr(random.Below(s.size() + 1), random.Below(64)));
        break;
      case 3:
        s.resize(at);
        break;
      default:
        s.insert(at, kPieces[random.Below(std::size(kPieces))]);
        break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  return platform::fuzzing::RunDriver(
      argc, argv,
      {.seeds = [] { return std::vector<std::string>{std::string(kSeed, sizeof kSeed - 1)}; },
       .mutate = Mutate,
       .count = 500,
       .chained = true});
}
