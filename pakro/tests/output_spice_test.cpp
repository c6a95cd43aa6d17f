// The SPICE libraries the program writes, loaded by the ngspice circuit
// simulator (skipped when it is not installed; ./build.sh installs it).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <string>

#include "pakro/tests/library_test_support.h"
#include "pakro/devices/model_output.h"
#include "pakro/tests/ngspice_support.h"
#include "pakro/tests/output_records.h"

namespace pakro {
namespace {

class OutputSpice : public ::testing::Test {
 protected:
  void SetUp() override {
    ngspice_ = testing::FindNgspice();
    if (ngspice_.empty()) GTEST_SKIP() << "ngspice is not installed (./build.sh installs it)";
  }

  // Runs a netlist that includes the library and places one part of it.
  std::string Load(const std::string& library, const std::string& part) {
    const std::string netlist = dir_.Path("load.cir");
    std::ofstream(netlist) << "load the library\n.options TEMP=26.943 TNOM=26.943\n.include '" << library
                           << "'\n" << part << "\n.op\n.end\n";
    return testing::RunNgspice(ngspice_, netlist);
  }

  testing::ScratchDir dir_;
  std::string ngspice_;
};

// The parameters ngspice reported as unknown; fails on any other warning or error.
std::set<std::string> Unrecognised(const std::string& output) {
  std::set<std::string> names;
  static const std::regex unknown(R"(unrecognized parameter \((\w+)\) - ignored)");
  for (auto it = std::sregex_iterator(output.begin(), output.end(), unknown); it != std::sregex_iterator(); ++it)
    names.insert((*it)[1]);
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    static const std::regex problem(R"(^\s*(error|warning))", std::regex::icase);
    const bool modelIssue = line.rfind("Warning: Model issue on line", 0) == 0;
    if (!modelIssue && std::regex_search(line, problem)) ADD_FAILURE() << line;
  }
  if (output.find("No. of Data Rows") == std::string::npos) ADD_FAILURE() << "no operating point:\n" << output;
  return names;
}

TEST_F(OutputSpice, EveryKindLoads) {
  struct Case {
    const char* kind;
    std::function<void(const std::string&)> write;
    const char* part;
    std::set<std::string> ignored;  // what ngspice's level-1 models do not know
  };
  const std::set<std::string> mosIgnored{"vmax", "delta", "theta", "eta", "rg",   "rb",
                                         "rds",  "isat",  "n",     "vj",  "cjbd", "tt"};
  const Case cases[] = {
      {"diode", [](const std::string& p) { TCatListDIO l; testing::FillDiodes(l); WriteSpiceLibrary(l, p); },
       "I1 0 a DC 1m\nD1 a 0 1N4148", {}},
      {"npn", [](const std::string& p) { TCatListTRN l; testing::FillNpn(l); WriteSpiceLibrary(l, p); },
       "V1 c 0 5\nIB 0 b DC 10u\nQ1 c b 0 2N2222A", {}},
      {"pnp", [](const std::string& p) { TCatListTRP l; testing::FillPnp(l); WriteSpiceLibrary(l, p); },
       "V1 c 0 -5\nIB b 0 DC 10u\nQ1 c b 0 2N2907A", {}},
      {"njfet", [](const std::string& p) { TCatListJFN l; testing::FillNjfet(l); WriteSpiceLibrary(l, p); },
       "V1 d 0 5\nJ1 d 0 0 2N5457", {"mj", "vj"}},
      {"pjfet", [](const std::string& p) { TCatListJFP l; testing::FillPjfet(l); WriteSpiceLibrary(l, p); },
       "V1 d 0 -5\nJ1 d 0 0 2N5460", {"mj", "vj"}},
      {"nmos", [](const std::string& p) { TCatListMNE l; testing::FillNmos(l); WriteSpiceLibrary(l, p); },
       "V1 d 0 5\nVG g 0 5\nM1 d g 0 0 IRF540", mosIgnored},
      {"pmos", [](const std::string& p) { TCatListMPE l; testing::FillPmos(l); WriteSpiceLibrary(l, p); },
       "V1 d 0 -5\nVG g 0 -5\nM1 d g 0 0 IRF9540", mosIgnored},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const std::string library = dir_.Path(std::string(c.kind) + ".lib");
    c.write(library);
    const std::string output = Load(library, c.part);
    EXPECT_EQ(Unrecognised(output), c.ignored) << output;
  }
}

// The diode's card means what it says: the forward voltage at 1 mA is that
// of the written IS, N and RS.
TEST_F(OutputSpice, DiodeCardGivesItsForwardVoltage) {
  TCatListDIO list;
  testing::FillDiodes(list);
  const std::string library = dir_.Path("d.lib");
  WriteSpiceLibrary(list, library);
  const std::string output = Load(library, "I1 0 a DC 1m\nD1 a 0 1N4148\n.control\nop\nprint v(a)\n.endc");
  const auto values = testing::PrintedValues(output);
  ASSERT_EQ(values.count("v(a)"), 1u) << output;
  const double va = values.at("v(a)");
  const double expected = 1.75 * 0.02586 * std::log(1E-3 / 2.52E-9 + 1) + 1E-3 * 0.568;
  EXPECT_NEAR(va, expected, 1E-4);
}

}  // namespace
}  // namespace pakro
