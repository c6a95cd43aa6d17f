#pragma once
// The library's export table as the tests see it: every row of
// TROVANIX_EXPORTS with its result and arguments parsed, and the library
// opened once with dlopen.
#include <string>
#include <vector>

#include "trovanix/trovanix.h"

namespace trovanix_test {

enum class Kind { Void, Word, U8, U16, U32, Double, String, Status };

// One result or argument of a row: its kind, whether it is an out variable,
// and (for results and outs) the fixed value as written in the table:
// a number, "unset", "empty" or a text.
struct Value {
  Kind kind = Kind::Void;
  bool out = false;
  std::string fixed;
};

struct Export {
  int ordinal;
  const char* name;
  const char* family;
  const char* resultText;
  const char* argumentText;
  Value result;
  std::vector<Value> arguments;
};

// Every export in table order; throws std::runtime_error on a row it cannot read.
const std::vector<Export>& exportTable();

// The trovanix library, opened once for the whole test program.
void* library();

}  // namespace trovanix_test
