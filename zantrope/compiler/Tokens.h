#pragma once
// Token codes of the VHDL scanner and grammar (see Tokens.def).
#include <cstdint>

namespace zantrope {

using token_code = std::int32_t;

// 0 ends the input; 256 and 257 are the parser's own error and undefined
// token; the terminals follow from 258.
enum token : token_code {
  t_EOF = 0,
  t_error = 256,
  t_UNDEF = 257,
#define ZANTROPE_TOKEN(name, code) name = code,
#include "compiler/Tokens.def"
#undef ZANTROPE_TOKEN
};

constexpr token_code first_terminal = t_ACCESS;
constexpr token_code last_terminal = t_StringLit;

}  // namespace zantrope
