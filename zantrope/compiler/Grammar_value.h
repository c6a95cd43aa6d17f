#pragma once
// The value every grammar symbol carries on the parser stack.
#include <cstdint>

namespace zantrope {

class t_base;
class t_base_list;
class t_token;

// Plain data: the parser copies it freely and {} clears it.
struct parser_value {
  // The token object of an identifier or literal; the scanner fills it.
  t_token* token;
  // A token code that qualifies a construct: a mode, an object class, a
  // purity, a signal kind, a range direction; 0 when there is none.
  std::intptr_t code;
  // One syntax object or type descriptor.
  t_base* item;
  // A list of objects or a pseudo-code list.
  t_base_list* list;
};

}  // namespace zantrope
