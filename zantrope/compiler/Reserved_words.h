#pragma once
// The VHDL reserved words and their token codes.
#include <cstdint>
#include <string_view>

namespace zantrope {

struct t_reserved_word {
  char word[16];
  std::int32_t token;
  std::int32_t token2;
};

// The 93 rows, sorted by word.
extern const t_reserved_word reserved_word_table[93];

// The token code of a reserved word in any mix of case, -1 for any other
// identifier.
std::int32_t keyword_index(const char* word);
// The reserved word of a token code, empty when no word has it.
std::string_view keyword_of_token(std::int32_t token);

bool is_identifier_char(char c);
bool is_digit_char(char c);

}  // namespace zantrope
