// Runs the scanner fuzz target without a fuzzing engine: over the files
// named on the command line, or over seeded mutations of a few sources.
//   zantrope_scanner_fuzz FILE...                 replay inputs
//   zantrope_scanner_fuzz [-n COUNT] [-s SEED]    mutate the built-in seeds
//   zantrope_scanner_fuzz --write-seeds DIR       store the seeds as a corpus
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

const std::vector<std::string> kSeeds = {
    "library ieee; use ieee.std_logic_1164.all;\n"
    "entity counter is\n  generic (width : integer := 8);\n"
    "  port (clk, reset : in std_logic; q : out std_logic_vector(7 downto 0));\nend counter;\n",
    "architecture rtl of counter is\n  signal n : integer := 16#FF#;\nbegin\n"
    "  process (clk) begin\n    if clk'event and clk = '1' then n <= n + 1 after 1.5 ns;"
    " end if;\n  end process;\nend;\r\n",
    "-- a comment\nx := X\"0F\" & b%1_0% & o\"17\"; s := \"a\"\"b\"; c := ''';\n"
    "r := 2#1.1#e-2 + 1.0E9 + 16:ff: - 1_000 ** 2; wait for 2 min; --",
    "case s is when 0 to 3 => null; when others => report \"x\" severity note; end case;",
};

// xorshift64*: the same sequence on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed ? seed : 1) {}
  std::uint64_t next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1DULL;
  }
  std::size_t below(std::size_t n) { return n == 0 ? 0 : std::size_t(next() % n); }

 private:
  std::uint64_t state_;
};

// Bytes the scanner treats specially, to splice in.
const char kSpecial[] = "'\"%#:._-\n\r\t\xA1\xFF" "eE0123456789abcdefxXbBoO=<>/*&|!";

void mutate(std::string& s, Random& random) {
  const int ops = 1 + int(random.below(4));
  for (int op = 0; op < ops; ++op) {
    const std::size_t at = random.below(s.size() + 1);
    switch (random.below(6)) {
      case 0:
        if (at < s.size()) s[at] = char(random.next());
        break;
      case 1:
        if (at < s.size()) s[at] = kSpecial[random.below(sizeof kSpecial - 1)];
        break;
      case 2:
        s.insert(at, 1, kSpecial[random.below(sizeof kSpecial - 1)]);
        break;
      case 3:
        s.erase(at, random.below(16));
        break;
      case 4:
        s.insert(at, s.substr(random.below(s.size() + 1), random.below(64)));
        break;
      default:
        s.resize(at);
        break;
    }
  }
}

int run(const std::string& bytes) {
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
      for (const auto& s : kSeeds)
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
      run({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    }
    std::printf("%zu inputs ran clean\n", files.size());
    return 0;
  }
  for (const auto& s : kSeeds) run(s);
  Random random(seed);
  for (long i = 0; i < count; ++i) {
    std::string input = kSeeds[random.below(kSeeds.size())];
    mutate(input, random);
    run(input);
  }
  std::printf("%ld mutated inputs ran clean\n", count);
  return 0;
}
