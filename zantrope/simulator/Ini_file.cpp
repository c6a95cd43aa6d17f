#include "simulator/Ini_file.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "compiler/Classes_base.h"
#include "platform/text_file.h"

namespace zantrope {

namespace {
std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}
}  // namespace

std::optional<long long> parse_whole_number(const std::string& text) {
  if (text.empty() || text[0] == ' ' || text[0] == '\t') return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long number = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
  return number;
}

t_ini_file::t_ini_file(const std::string& path) {
  std::vector<std::string> lines;
  try {
    lines = platform::readLines(path);
  } catch (const platform::FileError&) {
    return;
  }
  std::string section;
  for (auto& line : lines) parse_line(line, section);
}

t_ini_file t_ini_file::from_text(const std::string& text) {
  t_ini_file ini;
  std::istringstream in(text);
  std::string line, section;
  while (std::getline(in, line)) ini.parse_line(line, section);
  return ini;
}

void t_ini_file::parse_line(std::string line, std::string& section) {
  line = trim(line);
  if (line.empty() || line[0] == ';') return;
  if (line.front() == '[') {
    const auto close = line.find(']');
    section = upper_ascii(trim(line.substr(1, close == std::string::npos ? std::string::npos
                                                                         : close - 1)));
    sections_[section];
    return;
  }
  const auto eq = line.find('=');
  if (eq == std::string::npos) return;
  const std::string key = upper_ascii(trim(line.substr(0, eq)));
  if (key.empty()) return;
  sections_[section].emplace(key, trim(line.substr(eq + 1)));
}

const std::string* t_ini_file::find(const std::string& section, const std::string& key) const {
  const auto s = sections_.find(upper_ascii(section));
  if (s == sections_.end()) return nullptr;
  const auto k = s->second.find(upper_ascii(key));
  return k == s->second.end() ? nullptr : &k->second;
}

bool t_ini_file::has_section(const std::string& section) const {
  return sections_.count(upper_ascii(section)) != 0;
}

bool t_ini_file::has_key(const std::string& section, const std::string& key) const {
  return find(section, key) != nullptr;
}

std::string t_ini_file::read_string(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
  const std::string* value = find(section, key);
  return value ? *value : fallback;
}

long long t_ini_file::read_integer(const std::string& section, const std::string& key,
                                   long long fallback) const {
  const std::string* value = find(section, key);
  if (!value || value->empty()) return fallback;
  return parse_whole_number(*value).value_or(fallback);
}

bool t_ini_file::read_bool(const std::string& section, const std::string& key,
                           bool fallback) const {
  return read_integer(section, key, fallback ? 1 : 0) != 0;
}

}  // namespace zantrope
