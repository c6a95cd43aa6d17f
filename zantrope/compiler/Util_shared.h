#pragma once
// Small routines that compiler and evaluator share.
#include <cstdint>
#include <string_view>

namespace zantrope {

class t_base;

// Index of the time unit ("fs" 0 ... "hr" 7), -1 when the text is none.
std::int32_t find_literal_index(std::string_view unit);
// Class id of the element values of an array type of that name: 19
// (character) for "bit_vector", 23 (enumeration) for any other.
std::uint8_t element_class_of_type_name(std::string_view type_name);
// a's class id in the low byte, b's in the high byte.
std::uint16_t class_pair_key(const t_base& a, const t_base& b);

}  // namespace zantrope
