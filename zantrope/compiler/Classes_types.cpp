#include "compiler/Classes_types.h"

#include <algorithm>
#include <cstring>

#include "compiler/Object_stream.h"

namespace zantrope {

std::uint32_t data_size_of_class(std::uint8_t id) {
  switch (id) {
    case class_ids::type_int: return 4;
    case class_ids::type_int64:
    case class_ids::type_float: return 8;
    case class_ids::type_char: return 2;
    case class_ids::type_bool: return 1;
    case class_ids::type_enumeration: return 4;
    default: return 0;
  }
}

void t_type_item_base::set_data_raw(const void* bytes, std::size_t n) {
  const std::size_t copied = n < data_.size() ? n : data_.size();
  if (copied) std::memcpy(data_.data(), bytes, copied);
}

void t_type_item_base::write_sized_data(t_stream& stream) const {
  const std::uint32_t n = size();
  stream.write_u8(class_id());
  stream.write_u32(n);
  // A text whose buffer lost its terminating zero gets it in the stream.
  const std::size_t stored = std::min<std::size_t>(n, data_.size());
  stream.write_bytes(data_.data(), stored);
  for (std::size_t i = stored; i < n; ++i) stream.write_u8(0);
}

void t_type_item_base::read_sized_data(t_stream& stream, bool resizable) {
  stream.read_u8();  // the class id, known already
  const std::uint32_t n = stream.read_u32();
  stream.require(n, "descriptor data");
  if (resizable) {
    data_.assign(n, 0);
    stream.read_bytes(data_.data(), n);
    // The text must end in a zero byte whatever the stream held.
    if (data_.empty() || data_.back() != 0) data_.push_back(0);
    return;
  }
  if (n > data_.size())
    throw stream_error("Stream read error: descriptor data of " + std::to_string(n) +
                       " bytes where " + std::to_string(data_.size()) + " fit");
  stream.read_bytes(data_.data(), n);
}

t_type_int::t_type_int(std::int32_t value) : t_type_item_base(4) {
  std::memcpy(data_.data(), &value, 4);
}

std::int32_t t_type_int::value() const {
  std::int32_t v;
  std::memcpy(&v, data_.data(), 4);
  return v;
}

t_type_char::t_type_char(char c) : t_type_item_base(2) { data_[0] = std::uint8_t(c); }

t_type_character_literal::t_type_character_literal(const std::string& text)
    : t_type_item_base(text.size() + 1) {
  std::memcpy(data_.data(), text.data(), text.size());
}

std::string t_type_character_literal::text() const {
  // Up to the first zero byte, and never beyond the buffer.
  const auto* bytes = reinterpret_cast<const char*>(data_.data());
  return std::string(bytes, ::strnlen(bytes, data_.size()));
}

void t_type_range::write(t_stream& stream) const {
  stream.write_f64(left_);
  stream.write_f64(right_);
  stream.write_u16(direction_);
}

void t_type_range::read(t_stream& stream) {
  left_ = stream.read_f64();
  right_ = stream.read_f64();
  direction_ = stream.read_u16();
}

}  // namespace zantrope
