#include "compiler/Token.h"

namespace zantrope {

void t_token::normalize_identifier() {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  data.name = text;
}

void t_token::strip_quotes() {
  data.name = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
}

void t_token::keep_bit_string() {
  data.name.clear();
  data.bit_base = 0;
  if (text.size() < 3) return;
  const char base = char(text[0] | 0x20);
  data.bit_base = base;
  for (std::size_t i = 2; i + 1 < text.size(); ++i)
    if (text[i] != '_') data.name += text[i];
}

std::string bit_string_bits(const t_token& token) {
  int bits_per_digit = 0;
  switch (token.data.bit_base) {
    case 'b': bits_per_digit = 1; break;
    case 'o': bits_per_digit = 3; break;
    case 'x': bits_per_digit = 4; break;
    default: return token.data.name;
  }
  std::string bits;
  for (char c : token.data.name) {
    int v = 0;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    for (int b = bits_per_digit - 1; b >= 0; --b) bits += ((v >> b) & 1) ? '1' : '0';
  }
  return bits;
}

}  // namespace zantrope
