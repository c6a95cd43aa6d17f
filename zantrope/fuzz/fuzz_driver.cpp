// The scanner fuzz target without a fuzzing engine: its seeds (a few
// sources) and its mutations; see platform/fuzz_driver.h.
#include <string>
#include <vector>

#include "platform/fuzz_driver.h"

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

// Bytes the scanner treats specially, to splice in.
const char kSpecial[] = "'\"%#:._-\n\r\t\xA1\xFF" "eE0123456789abcdefxXbBoO=<>/*&|!";

void mutate(std::string& s, platform::fuzzing::Random& random) {
  const int ops = 1 + int(random.Below(4));
  for (int op = 0; op < ops; ++op) {
    const std::size_t at = random.Below(s.size() + 1);
    switch (random.Below(6)) {
      case 0:
        if (at < s.size()) s[at] = char(random.Next());
        break;
      case 1:
        if (at < s.size()) s[at] = kSpecial[random.Below(sizeof kSpecial - 1)];
        break;
      case 2:
        s.insert(at, 1, kSpecial[random.Below(sizeof kSpecial - 1)]);
        break;
      case 3:
        s.erase(at, random.Below(16));
        break;
      case 4:
        s.insert(at, s.substr(random.Below(s.size() + 1), random.Below(64)));
        break;
      default:
        s.resize(at);
        break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  return platform::fuzzing::RunDriver(
      argc, argv, {.seeds = [] { return kSeeds; }, .mutate = mutate, .count = 10000});
}
