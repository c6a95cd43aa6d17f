#include "compiler/Classes_types.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "compiler/Diagnostics.h"
#include "compiler/Object_stream.h"
#include "compiler/Shared_routines.h"

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

// ---- Text forms, data and constant folding ---------------------------------

namespace zantrope {

namespace {

constexpr std::uint16_t kAnd = 262;
constexpr std::uint16_t kOr = 308;
constexpr std::uint16_t kEqual = 352;

// The other operand as the same descriptor kind, or null.
template <typename T>
const T* same_kind(const t_type_definition& self, const t_type_definition& other) {
  return other.class_id() == self.class_id() ? static_cast<const T*>(&other) : nullptr;
}

}  // namespace

std::string t_type_definition::data_to_str() const {
  show_error_box("Missing data_to_str(), calling default!");
  return {};
}

std::unique_ptr<t_type_definition> t_type_definition::fold(std::uint16_t, const t_type_definition&) const {
  return nullptr;
}

const std::uint8_t* t_type_definition::get_data(std::uint8_t& id, std::uint32_t& bytes) const {
  show_error_box("Missing get_data(), calling default!");
  id = 0;
  bytes = 0;
  return nullptr;
}

const std::uint8_t* t_type_item_base::get_data(std::uint8_t& id, std::uint32_t& bytes) const {
  id = class_id();
  bytes = size();
  return data_.data();
}

t_type_int64::t_type_int64(std::int64_t value) : t_type_item_base(8) { std::memcpy(data_.data(), &value, 8); }

std::int64_t t_type_int64::value() const {
  std::int64_t v;
  std::memcpy(&v, data_.data(), 8);
  return v;
}

t_type_float::t_type_float(double value) : t_type_item_base(8) { std::memcpy(data_.data(), &value, 8); }

double t_type_float::value() const {
  double v;
  std::memcpy(&v, data_.data(), 8);
  return v;
}

std::string t_type_float::data_to_str() const {
  // The shortest text that reads back as the same number.
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value());
  return std::string(text, result.ptr);
}

std::unique_ptr<t_type_definition> t_type_int::fold(std::uint16_t op, const t_type_definition& other) const {
  const auto* rhs = same_kind<t_type_int>(*this, other);
  if (rhs == nullptr) return nullptr;
  switch (op) {
    case kAnd: return std::make_unique<t_type_int>(std_logic_and(value(), rhs->value()));
    case kOr: return std::make_unique<t_type_int>(std_logic_or(value(), rhs->value()));
    case kEqual: return std::make_unique<t_type_bool>(value() == rhs->value());
    default: return nullptr;
  }
}

std::unique_ptr<t_type_definition> t_type_bool::fold(std::uint16_t op, const t_type_definition& other) const {
  const auto* rhs = same_kind<t_type_bool>(*this, other);
  if (rhs == nullptr) return nullptr;
  switch (op) {
    case kAnd: return std::make_unique<t_type_bool>(value() && rhs->value());
    case kOr: return std::make_unique<t_type_bool>(value() || rhs->value());
    case kEqual: return std::make_unique<t_type_bool>(value() == rhs->value());
    default: return nullptr;
  }
}

std::unique_ptr<t_type_definition> t_type_char::fold(std::uint16_t op, const t_type_definition& other) const {
  const auto* rhs = same_kind<t_type_char>(*this, other);
  if (rhs == nullptr) return nullptr;
  const std::int32_t a = std_logic_from_char(character());
  const std::int32_t b = std_logic_from_char(rhs->character());
  switch (op) {
    case kAnd: return std::make_unique<t_type_char>(std_logic_to_char(std_logic_and(a, b)));
    case kOr: return std::make_unique<t_type_char>(std_logic_to_char(std_logic_or(a, b)));
    case kEqual: return std::make_unique<t_type_bool>(character() == rhs->character());
    default: return nullptr;
  }
}

std::string t_type_enumeration::data_to_str() const {
  std::string text;
  if (const t_base_item* first = literals_.count() > 0 ? literals_.get(0) : nullptr) first->to_text(text);
  return text;
}

const std::uint8_t* t_type_enumeration::get_data(std::uint8_t& id, std::uint32_t& bytes) const {
  id = 0;
  bytes = 0;
  const t_base_item* first = literals_.count() > 0 ? literals_.get(0) : nullptr;
  if (first == nullptr) {
    show_error_box("no item!");
    return nullptr;
  }
  id = first->class_id();
  bytes = std::uint32_t(type_kind_size(id));
  // A literal kept as a descriptor hands out its own buffer; run-time value
  // literals hand out theirs once values exist.
  if (const auto* item = dynamic_cast<const t_type_item_base*>(first)) return item->data().data();
  return nullptr;
}

bool t_type_enumeration::set_data(const void* bytes, std::size_t n, std::uint8_t kind) {
  if (kind == 1) kind = class_ids::type_char;
  // Only the scalar item kinds keep bytes.
  if (kind < class_ids::type_int || kind > class_ids::type_character_literal) return false;
  std::unique_ptr<t_base_item> literal = make_object(kind);
  auto* item = dynamic_cast<t_type_item_base*>(literal.get());
  if (item == nullptr) return false;
  item->set_data_raw(bytes, n);
  literal.release();
  literals_.add(item);
  return true;
}

std::string t_type_enumeration::literal_text(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '\'') out += c;
  return out;
}

std::int32_t t_type_enumeration::find_literal(std::string_view name) const {
  const std::string wanted = literal_text(name);
  for (std::int32_t i = 0; i < literals_.count(); ++i) {
    const t_base_item* literal = literals_.get(i);
    if (literal == nullptr || literal->class_id() != class_ids::alloc_type_identifier) continue;
    std::string text;
    literal->to_text(text);
    if (literal_text(text) == wanted) return i;
  }
  return -1;
}

}  // namespace zantrope
