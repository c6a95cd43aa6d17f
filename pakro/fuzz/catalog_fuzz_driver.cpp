// Runs the catalog source fuzz target without a fuzzing engine: over the
// files named on the command line, or over seeded mutations of a small
// catalog source.
//   pakro_catalog_fuzz FILE...               replay inputs
//   pakro_catalog_fuzz [-n COUNT] [-s SEED]  mutate the built-in seed
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

const char kSeed[] =
    "&001 first line\r\n* comment \xe9\n&002 NPN\r\n# SPICE-BJT model\r\n# Standard\r\n#&\r\n"
    ".M\r\n$ BC548\nU general\r\nE 0.5\r\n.E\r\n$ 2N3904\r\n.E\n##\r\n&003\r\n# SPICE-BJT\r\n#&\r\n"
    ".M\r\n$ BC548\r\n.E\r\n##\r\n&050\r\n# Jiles-Atherton\r\n#&\r\n.M\r\n##";

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

// Line kinds the reader gives meaning to, spliced in whole.
const char* const kPieces[] = {"&", "&002", "\r\n", "\n", "$ ", "$ BC548", ".E", "#", "# Standard",
                               ".M", "##", "#&", "\r", "\0"};

void Mutate(std::string& s, Random& random) {
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

int Run(const std::string& bytes) {
  return LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  long count = 500;
  std::uint64_t seed = 1;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-n" && i + 1 < argc)
      count = std::atol(argv[++i]);
    else if (arg == "-s" && i + 1 < argc)
      seed = std::strtoull(argv[++i], nullptr, 10);
    else
      files.push_back(arg);
  }
  if (!files.empty()) {
    for (const std::string& file : files) {
      std::ifstream in(file, std::ios::binary);
      Run(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    return 0;
  }
  Random random(seed);
  const std::string base(kSeed, sizeof kSeed - 1);
  Run(base);
  std::string input = base;
  for (long i = 0; i < count; ++i) {
    if (random.Below(8) == 0) input = base;
    Mutate(input, random);
    Run(input);
  }
  return 0;
}
