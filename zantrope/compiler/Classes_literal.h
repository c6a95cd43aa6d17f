#pragma once
// Names and literals: the leaves of the syntax tree. Each wraps a scanner
// token record and gives its text.
#include <cstdint>
#include <memory>
#include <string>

#include "compiler/Classes_base.h"

namespace zantrope {

struct t_token_data {
  double float_value = 0.0;
  std::int32_t int_value = 0;
  std::int64_t physical_value = 0;
  std::string name;
};

// A scanner token. The scanner's records live until the compile ends; a
// node made from text or by the factory owns the record it makes.
struct t_token {
  std::int32_t kind = 0;
  std::string text;
  t_token_data data;
};

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

// A new simple name holding the identifier the parser reduced last.
std::unique_ptr<t_name_simple> make_name_simple();

}  // namespace zantrope
