#include "compiler/Util_shared.h"

#include "compiler/Classes_base.h"
#include "compiler/Globals.h"

namespace zantrope {

std::int32_t find_literal_index(std::string_view unit) {
  for (std::size_t i = 0; i < kTimeUnits.size(); ++i)
    if (kTimeUnits[i] == unit) return std::int32_t(i);
  return -1;
}

std::uint8_t element_class_of_type_name(std::string_view type_name) {
  return type_name == "bit_vector" ? class_ids::alloc_type_char : class_ids::alloc_type_enumeration;
}

std::uint16_t class_pair_key(const t_base& a, const t_base& b) {
  return std::uint16_t(a.class_id() | (b.class_id() << 8));
}

}  // namespace zantrope
