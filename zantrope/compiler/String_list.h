#pragma once
// A list of text lines that can be loaded from and saved to a text file.
#include <string>
#include <string_view>
#include <vector>

namespace zantrope {

class t_string_list {
 public:
  void add(std::string_view line) { lines_.emplace_back(line); }
  void clear() { lines_.clear(); }
  int count() const { return int(lines_.size()); }
  const std::string& get(int i) const { return lines_.at(std::size_t(i)); }
  const std::vector<std::string>& lines() const { return lines_; }
  void append(const t_string_list& other) {
    lines_.insert(lines_.end(), other.lines_.begin(), other.lines_.end());
  }

  // Replaces the lines with those of the file. Throws platform::FileError.
  void load_from_file(const std::string& path);
  // Writes every line with a CR LF end, replacing the file whole. Throws
  // platform::FileError.
  void save_to_file(const std::string& path) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace zantrope
