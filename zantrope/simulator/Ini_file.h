#pragma once
// A profile (ini) file: "[section]" lines and "key=value" lines. Section
// and key names compare without regard to case; values are trimmed of
// surrounding blanks. The first occurrence of a key in a section counts.
#include <map>
#include <optional>
#include <string>

namespace zantrope {

// A whole decimal number with an optional sign; nothing for any other text.
std::optional<long long> parse_whole_number(const std::string& text);

class t_ini_file {
 public:
  t_ini_file() = default;
  // Reads the file; a file that cannot be read gives an empty profile.
  explicit t_ini_file(const std::string& path);
  static t_ini_file from_text(const std::string& text);

  bool has_section(const std::string& section) const;
  bool has_key(const std::string& section, const std::string& key) const;
  std::string read_string(const std::string& section, const std::string& key,
                          const std::string& fallback) const;
  // A whole decimal number (optional sign); anything else gives fallback.
  long long read_integer(const std::string& section, const std::string& key,
                         long long fallback) const;
  // 0 is false, any other number true; anything else gives fallback.
  bool read_bool(const std::string& section, const std::string& key, bool fallback) const;

 private:
  void parse_line(std::string line, std::string& section);
  const std::string* find(const std::string& section, const std::string& key) const;
  std::map<std::string, std::map<std::string, std::string>> sections_;
};

}  // namespace zantrope
