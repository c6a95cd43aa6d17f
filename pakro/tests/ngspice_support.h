#pragma once
// Running the ngspice circuit simulator from the tests (./build.sh installs
// it; the tests that need it are skipped without it).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

namespace pakro::testing {

// The ngspice program on the PATH, or "" when there is none.
inline std::string FindNgspice() {
  if (const char* path = std::getenv("PATH")) {
    std::stringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
      const auto candidate = std::filesystem::path(dir.empty() ? "." : dir) / "ngspice";
      std::error_code ec;
      if (std::filesystem::is_regular_file(candidate, ec)) return candidate.string();
    }
  }
  return {};
}

// Runs a netlist file in batch mode; returns everything ngspice printed.
inline std::string RunNgspice(const std::string& ngspice, const std::string& netlistFile) {
  const std::string command = ngspice + " -b '" + netlistFile + "' 2>&1";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) output += line;
    pclose(pipe);
  }
  return output;
}

// Every "name = value" line of ngspice's output (what print shows).
inline std::map<std::string, double> PrintedValues(const std::string& output) {
  std::map<std::string, double> values;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    char key[128];
    double value = 0;
    if (std::sscanf(line.c_str(), "%127s = %lf", key, &value) == 2) values[key] = value;
  }
  return values;
}

}  // namespace pakro::testing
