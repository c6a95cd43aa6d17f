#pragma once
// Small bookkeeping records of the run time.
#include <cstdint>
#include <string>

#include "compiler/Classes_base.h"

namespace zantrope {

class t_internal_obj1_base : public t_base_item {
 public:
  std::uint8_t class_id() const override { return class_ids::internal_obj1_base; }
  std::uint8_t base_flag = 0;
};

// A tagged record of up to two integers, a flag and two texts; `kind` says
// which constructor made it.
class t_internal_obj1 : public t_internal_obj1_base {
 public:
  explicit t_internal_obj1(std::int32_t value) : first_integer(value) { kind = 0; }
  t_internal_obj1(std::int32_t first, std::int32_t second)
      : first_integer(first), second_integer(second) {
    kind = 1;
  }
  explicit t_internal_obj1(std::string text) : first_integer(-1), first_text(std::move(text)) {
    kind = 2;
  }
  t_internal_obj1(std::int32_t value, std::string text)
      : first_integer(value), first_text(std::move(text)) {
    kind = 3;
  }
  t_internal_obj1(std::uint8_t flag_byte, std::string text)
      : first_integer(-1), flag(flag_byte), first_text(std::move(text)) {
    kind = 4;
  }
  t_internal_obj1(std::string first, std::string second)
      : first_text(std::move(first)), second_text(std::move(second)) {
    kind = 5;
  }
  std::uint8_t class_id() const override { return class_ids::internal_obj1; }

  std::uint8_t kind = 0;
  std::int32_t first_integer = 0;
  std::int32_t second_integer = 0;
  std::uint8_t flag = 0;
  std::string first_text;
  std::string second_text;
};

}  // namespace zantrope
