#pragma once
// Type descriptors: the compile-time description of a VHDL type. Scalar
// item kinds keep one value of their kind in a small data buffer, ranges
// their bounds and direction, enumerations their literal values, arrays
// their index and element parts.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiler/Classes_parser_objects.h"

namespace zantrope {

// Token codes of the two range directions.
inline constexpr std::uint16_t kDirectionTo = 334;
inline constexpr std::uint16_t kDirectionDownto = 277;

// Bytes of the data of a descriptor or value of that class id (0 when the
// class keeps none).
std::uint32_t data_size_of_class(std::uint8_t id);

class t_type_definition : public t_declaration {
 public:
  // Bytes of the data.
  virtual std::uint32_t size() const { return 0; }
  virtual bool is_scalar() const { return false; }
  virtual bool has_literal_list() const { return false; }
  // The data in the object stream; most kinds have none.
  virtual void write_data(t_stream&) const {}
  virtual void read_data(t_stream&) {}
};

class t_type_scalar : public t_type_definition {
 public:
  bool is_scalar() const override { return true; }
};

// A scalar kind whose value lives in the descriptor's own buffer.
class t_type_item_base : public t_type_scalar {
 public:
  std::uint32_t size() const override { return std::uint32_t(data_.size()); }
  const std::vector<std::uint8_t>& data() const { return data_; }
  void set_data_raw(const void* bytes, std::size_t n);

 protected:
  explicit t_type_item_base(std::size_t bytes) : data_(bytes, 0) {}
  // The data body: class id, size, the bytes.
  void write_sized_data(t_stream& stream) const;
  void read_sized_data(t_stream& stream, bool resizable);
  std::vector<std::uint8_t> data_;
};

class t_type_int : public t_type_item_base {
 public:
  explicit t_type_int(std::int32_t value = 0);
  std::uint8_t class_id() const override { return class_ids::type_int; }
  std::int32_t value() const;
};

class t_type_int64 : public t_type_item_base {
 public:
  t_type_int64() : t_type_item_base(8) {}
  std::uint8_t class_id() const override { return class_ids::type_int64; }
};

class t_type_float : public t_type_item_base {
 public:
  t_type_float() : t_type_item_base(8) {}
  std::uint8_t class_id() const override { return class_ids::type_float; }
};

class t_type_char : public t_type_item_base {
 public:
  explicit t_type_char(char c = '0');
  std::uint8_t class_id() const override { return class_ids::type_char; }
  char character() const { return char(data_[0]); }
  void write_data(t_stream& stream) const override { write_sized_data(stream); }
  void read_data(t_stream& stream) override { read_sized_data(stream, false); }
};

class t_type_bool : public t_type_item_base {
 public:
  explicit t_type_bool(bool value = false) : t_type_item_base(1) { data_[0] = value ? 1 : 0; }
  std::uint8_t class_id() const override { return class_ids::type_bool; }
};

// A character literal kind: its data is a zero-terminated text.
class t_type_character_literal : public t_type_item_base {
 public:
  t_type_character_literal() : t_type_item_base(1) {}
  explicit t_type_character_literal(const std::string& text);
  std::uint8_t class_id() const override { return class_ids::type_character_literal; }
  std::string text() const;
  std::uint32_t size() const override { return std::uint32_t(text().size() + 1); }
  void write_data(t_stream& stream) const override { write_sized_data(stream); }
  void read_data(t_stream& stream) override { read_sized_data(stream, true); }
};

class t_type_itemlist_base : public t_type_scalar {
 public:
  bool has_literal_list() const override { return true; }
};

// An enumeration: the list of its literal values, which it owns.
class t_type_enumeration : public t_type_itemlist_base {
 public:
  t_type_enumeration() = default;
  ~t_type_enumeration() override { literals_.delete_items(); }
  std::uint8_t class_id() const override { return class_ids::type_enumeration; }
  std::uint32_t size() const override { return data_size_of_class(class_id()); }
  const t_base_list_storage& literals() const { return literals_; }
  void add_literal(std::unique_ptr<t_base_item> literal) { literals_.add(literal.release()); }
  void write_data(t_stream& stream) const override { literals_.write(stream); }
  void read_data(t_stream& stream) override { literals_.read(stream); }

 private:
  t_base_list_storage literals_;
};

class t_type_range : public t_type_scalar {
 public:
  t_type_range() = default;
  t_type_range(double left, double right, std::uint16_t direction)
      : left_(left), right_(right), direction_(direction) {}
  std::uint8_t class_id() const override { return class_ids::type_range; }
  double left() const { return left_; }
  double right() const { return right_; }
  std::uint16_t direction() const { return direction_; }
  void append_to(t_base_list& target) override { target.add(this); }
  // Body: left and right bound as doubles, the direction as a token code.
  void write(t_stream& stream) const override;
  void read(t_stream& stream) override;

 private:
  double left_ = 1.0;
  double right_ = 1.0;
  std::uint8_t bounds_are_expressions_ = 0;
  std::uint8_t is_named_range_ = 0;
  std::string range_name_;
  std::uint16_t direction_ = 0;
};

class t_type_composite : public t_type_definition {};

class t_type_array : public t_type_composite {};

class t_type_array_constrained : public t_type_array {
 public:
  t_type_array_constrained(std::unique_ptr<t_base_item> index, std::unique_ptr<t_base_item> element)
      : index_(std::move(index)), element_(std::move(element)) {}
  std::uint8_t class_id() const override { return class_ids::type_array_constrained; }

 private:
  std::unique_ptr<t_base_item> index_;
  std::unique_ptr<t_base_item> element_;
};

class t_type_array_unconstrained : public t_type_array {
 public:
  t_type_array_unconstrained()
      : t_type_array_unconstrained(std::make_unique<t_name_simple>(),
                                   std::make_unique<t_name_simple>()) {}
  t_type_array_unconstrained(std::unique_ptr<t_name_simple> index,
                             std::unique_ptr<t_name_simple> element)
      : element_(std::move(element)), index_(std::move(index)) {}
  std::uint8_t class_id() const override { return class_ids::type_array_unconstrained; }
  const t_name_simple* index_name() const { return index_.get(); }
  const t_name_simple* element_name() const { return element_.get(); }

 private:
  std::unique_ptr<t_name_simple> element_;
  std::unique_ptr<t_name_simple> index_;
};

}  // namespace zantrope
