#pragma once
// The scanner's record of one identifier or literal lexeme: its kind, the
// text as matched, its line and its converted value.
#include <cstdint>
#include <string>
#include <string_view>

namespace zantrope {

// Kinds of token records. The physical kind is given only when a physical
// literal converts its number (never by the scanner).
namespace token_kinds {
inline constexpr std::uint8_t identifier = 0;
inline constexpr std::uint8_t real = 1;
inline constexpr std::uint8_t physical = 2;
inline constexpr std::uint8_t integer = 3;
inline constexpr std::uint8_t character = 4;
inline constexpr std::uint8_t string = 5;
}  // namespace token_kinds

struct t_token_data {
  double float_value = 0.0;
  std::int32_t int_value = 0;
  std::int64_t physical_value = 0;
  // Identifier: its lower-case text. Character and string literal: the text
  // inside the delimiters. Bit-string literal: its digits without
  // underscores. Empty for numbers.
  std::string name;
  // 'b', 'o' or 'x' for a bit-string literal, 0 for every other token.
  char bit_base = 0;
};

class t_token {
 public:
  t_token() = default;
  // A record of `line` whose text is the first `length` characters of `text`.
  t_token(std::int32_t line_number, std::string_view source, std::size_t length)
      : line(line_number), text(source.substr(0, length)) {}

  void set_flag(std::uint8_t token_kind) { kind = token_kind; }
  // text := its lower case; name := text.
  void normalize_identifier();
  // name := text less its first and last character.
  void strip_quotes();
  // A bit-string literal: base and digits kept, underscores dropped.
  void keep_bit_string();

  std::int32_t line = 0;
  std::uint8_t kind = 0;
  std::string text;
  t_token_data data;
};

// The value of a bit-string literal as a text of '0' and '1' (each octal
// digit three bits, each hexadecimal digit four); any other token gives its
// name unchanged.
std::string bit_string_bits(const t_token& token);

}  // namespace zantrope
