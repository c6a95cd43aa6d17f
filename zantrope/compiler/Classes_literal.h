#pragma once
// Names and literals: the leaves of the syntax tree. Each wraps a scanner
// token record and gives its text.
#include <cstdint>
#include <memory>
#include <string>

#include "compiler/Classes_base.h"
#include "compiler/Token.h"

namespace zantrope {

class t_literal_base : public t_base_item_storage {
 public:
  explicit t_literal_base(t_token* token) : token_(token) {}
  // Makes and owns a record of kind 0 whose name is `text`.
  explicit t_literal_base(const std::string& text);
  const t_token* token() const { return token_; }
  t_token& token_record() { return *token_; }
  const std::string& token_text() const { return token_->data.name; }

 private:
  std::unique_ptr<t_token> own_token_;
  t_token* token_;
};

class t_name : public t_literal_base {
 public:
  using t_literal_base::t_literal_base;
};

class t_name_simple : public t_name {
 public:
  t_name_simple() : t_name(std::string()) {}
  explicit t_name_simple(const std::string& text) : t_name(text) {}
  explicit t_name_simple(t_token* token) : t_name(token) {}
  std::uint8_t class_id() const override { return class_ids::name_simple; }
  bool has_name() const override { return true; }
  std::string item_name() const override { return token_text(); }
  void to_text(std::string& out) const override { out = token_text(); }
  // Body: the name text as a stream string.
  void write(t_stream& stream) const override;
  void read(t_stream& stream) override;
  void set_text(const std::string& text);
};

class t_literal : public t_literal_base {
 public:
  using t_literal_base::t_literal_base;
};

class t_literal_character : public t_literal {
 public:
  t_literal_character() : t_literal(std::string()) {}
  explicit t_literal_character(t_token* token) : t_literal(token) {}
  std::uint8_t class_id() const override { return class_ids::literal_character; }
  void to_text(std::string& out) const override { out = token_text(); }
  // The node body: the character literal's text.
  void write_node(t_stream& stream) const;
  void read_node(t_stream& stream);
};

class t_literal_string : public t_literal {
 public:
  explicit t_literal_string(t_token* token) : t_literal(token) {}
  std::uint8_t class_id() const override { return class_ids::literal_string; }
  void to_text(std::string& out) const override { out = token_text(); }
};

// An abstract literal as the parser keeps it: the token with its value.
class t_literal_abstract : public t_literal {
 public:
  explicit t_literal_abstract(t_token* token) : t_literal(token) {}
  std::uint8_t class_id() const override { return class_ids::literal_abstract; }
};

// A physical literal: an abstract literal and its unit. A time unit scales
// the number to femtoseconds when the node is made (kept in the token's
// physical value, exact for integers); another unit leaves it unscaled. A
// value beyond a signed 64-bit count is a "[Parser error]" line, sets the
// abort flag and leaves 0.
class t_literal_physical : public t_literal {
 public:
  t_literal_physical(t_token* abstract_literal, const t_name_simple& unit);
  std::uint8_t class_id() const override { return class_ids::literal_physical; }
  bool converted() const { return converted_; }

 private:
  bool converted_ = true;
};

// A new simple name holding the identifier the parser reduced last.
std::unique_ptr<t_name_simple> make_name_simple();

}  // namespace zantrope
