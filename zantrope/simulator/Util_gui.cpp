#include "simulator/Util_gui.h"

#include "compiler/Reserved_words.h"

namespace zantrope {

namespace {

void append_escaped(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '\\' || c == '{' || c == '}') out += '\\';
    out += c;
  }
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_plain_symbol(char c) {
  switch (c) {
    case ';': case ':': case '<': case '=': case '(': case ')': case '.': return true;
    default: return false;
  }
}

}  // namespace

std::string colorize_text(std::string_view line) {
  std::string out;
  const std::size_t n = line.size();
  std::size_t i = 0;
  while (i < n) {
    const char c = line[i];
    std::size_t j = i + 1;
    if (is_identifier_char(c)) {
      while (j < n && is_identifier_char(line[j])) ++j;
      const std::string word(line.substr(i, j - i));
      if (keyword_index(word.c_str()) >= 0)
        out += "\\b " + word + "\\b0 ";
      else
        out += word;
    } else if (is_blank(c)) {
      while (j < n && is_blank(line[j])) ++j;
      out += line.substr(i, j - i);
    } else if (is_digit_char(c)) {
      while (j < n && is_digit_char(line[j])) ++j;
      out += line.substr(i, j - i);
    } else if (is_plain_symbol(c)) {
      out += c;
    } else if (c == '-' && j < n && line[j] == '-') {
      out += "\\cf7 ";
      append_escaped(out, line.substr(i));
      out += "\\cf0 ";
      break;
    } else if (c == '-') {
      out += c;
    } else {
      append_escaped(out, line.substr(i));
      break;
    }
    i = j;
  }
  return out;
}

}  // namespace zantrope
