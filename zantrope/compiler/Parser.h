#pragma once
// The VHDL parser: an LALR(1) parser generated from Grammar.y that pulls
// its tokens from a token source and reports a syntax error through
// report_parser_error.
#include <cstdint>

#include "compiler/Grammar_value.h"
#include "compiler/Tokens.h"

namespace zantrope {

// Results of a parse.
inline constexpr std::int32_t parse_accepted = 0;
inline constexpr std::int32_t parse_failed = 1;          // a syntax error ended it
inline constexpr std::int32_t parse_stack_overflow = 2;  // nesting filled the stack

// The number of entries of the parser's state and value stacks.
inline constexpr std::int32_t parser_stack_size = 200;

// Returns the next token's code, 0 (or below) at the end of the input. For
// an identifier or literal it first puts the token object into
// parser_lookahead().token.
using token_source = token_code (*)();

// When non-zero, parse_tokens appends its trace to yydebug.txt in the
// program folder.
extern std::int32_t grammar_debug;

// Parses one design file from `next`: parse_accepted, parse_failed after the
// first syntax error ("parse error"), or parse_stack_overflow ("parser stack
// overflow"). Not reentrant.
std::int32_t parse_tokens(token_source next);

// The value of the token the parser reads next; the token source fills it.
parser_value& parser_lookahead();

}  // namespace zantrope
