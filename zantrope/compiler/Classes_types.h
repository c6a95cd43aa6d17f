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
  // The descriptor's value as text (its to_text); kinds without a text form
  // report that in the error box and give the empty text.
  virtual std::string data_to_str() const;
  void to_text(std::string& out) const override { out = data_to_str(); }
  // Folds the constant operation `this op other` (op: t_AND, t_OR or
  // t_EQSym) into a new descriptor; null when the kinds or the operator
  // cannot be folded here, and the operation is left to run time.
  virtual std::unique_ptr<t_type_definition> fold(std::uint16_t op, const t_type_definition& other) const;
  // The data of one value: its bytes, with the value's class id and size.
  // Kinds without data report it and give null.
  virtual const std::uint8_t* get_data(std::uint8_t& id, std::uint32_t& bytes) const;
  // Takes n bytes of a value of class `kind`; false when refused.
  virtual bool set_data(const void* /*bytes*/, std::size_t /*n*/, std::uint8_t /*kind*/) { return true; }
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
  const std::uint8_t* get_data(std::uint8_t& id, std::uint32_t& bytes) const override;
  bool set_data(const void* bytes, std::size_t n, std::uint8_t) override {
    set_data_raw(bytes, n);
    return true;
  }

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
  std::string data_to_str() const override { return std::to_string(value()); }
  std::unique_ptr<t_type_definition> fold(std::uint16_t op, const t_type_definition& other) const override;
};

class t_type_int64 : public t_type_item_base {
 public:
  explicit t_type_int64(std::int64_t value = 0);
  std::uint8_t class_id() const override { return class_ids::type_int64; }
  std::int64_t value() const;
  std::string data_to_str() const override { return std::to_string(value()); }
};

class t_type_float : public t_type_item_base {
 public:
  explicit t_type_float(double value = 0.0);
  std::uint8_t class_id() const override { return class_ids::type_float; }
  double value() const;
  std::string data_to_str() const override;
};

class t_type_char : public t_type_item_base {
 public:
  explicit t_type_char(char c = '0');
  std::uint8_t class_id() const override { return class_ids::type_char; }
  char character() const { return char(data_[0]); }
  std::string data_to_str() const override { return std::string("'") + character() + "'"; }
  std::unique_ptr<t_type_definition> fold(std::uint16_t op, const t_type_definition& other) const override;
  void write_data(t_stream& stream) const override { write_sized_data(stream); }
  void read_data(t_stream& stream) override { read_sized_data(stream, false); }
};

class t_type_bool : public t_type_item_base {
 public:
  explicit t_type_bool(bool value = false) : t_type_item_base(1) { data_[0] = value ? 1 : 0; }
  std::uint8_t class_id() const override { return class_ids::type_bool; }
  bool value() const { return data_[0] != 0; }
  std::string data_to_str() const override { return value() ? "true" : "false"; }
  std::unique_ptr<t_type_definition> fold(std::uint16_t op, const t_type_definition& other) const override;
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
  std::int32_t count() const { return literals_.count(); }
  // The text form of the first literal (empty for an empty enumeration).
  std::string data_to_str() const override;
  // The first literal's class id, its data size and its bytes; an empty
  // enumeration reports "no item!" and gives null.
  const std::uint8_t* get_data(std::uint8_t& id, std::uint32_t& bytes) const override;
  // Appends a new literal of class `kind` (1 stands for a character, 8)
  // holding the bytes; a kind that keeps no bytes (not a scalar item kind)
  // is refused and nothing is appended.
  bool set_data(const void* bytes, std::size_t n, std::uint8_t kind) override;
  // The text with every apostrophe removed.
  static std::string literal_text(std::string_view text);
  // Index of the first identifier literal (class id 21) whose text equals
  // the name, both without apostrophes; -1 when none.
  std::int32_t find_literal(std::string_view name) const;
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
