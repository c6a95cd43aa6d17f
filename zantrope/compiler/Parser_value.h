#pragma once
// The semantic value of every grammar symbol: the scanner fills the token
// slot of identifiers and literals, the rule actions the others.
#include <cstdint>

#include "compiler/Tokens.h"

namespace zantrope {

class t_token;
class t_base_item;
class t_base_list;

struct parser_value {
  // An identifier or literal token (owned by the scanner's build store).
  t_token* token = nullptr;
  // A token code that qualifies a construct: a mode, an object class, a
  // purity, a range direction; 0 when omitted.
  std::intptr_t code = 0;
  // One syntax object or type descriptor.
  t_base_item* item = nullptr;
  // A list of objects or a code list.
  t_base_list* list = nullptr;
};

}  // namespace zantrope
