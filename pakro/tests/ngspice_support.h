#pragma once
// Running the ngspice circuit simulator from the tests (./build.sh installs
// it; the tests that need it are skipped without it).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

}  // namespace pakro::testing
