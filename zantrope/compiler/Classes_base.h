#pragma once
// Roots of the object model. Every object answers a one-byte class id, and
// much of the library dispatches on it: the object stream writes it before
// each object and rebuilds objects from it (make_object), lookups filter
// lists by it. Lists hold items they do not own: whoever builds a tree frees
// its nodes.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zantrope {

class t_stream;
class t_base_list;

// Class ids that several places name.
namespace class_ids {
inline constexpr std::uint8_t base = 0;
inline constexpr std::uint8_t base_item = 2;
inline constexpr std::uint8_t abstract_base = 3;
inline constexpr std::uint8_t list = 4;
inline constexpr std::uint8_t type_int = 5;
inline constexpr std::uint8_t type_int64 = 6;
inline constexpr std::uint8_t type_float = 7;
inline constexpr std::uint8_t type_char = 8;
inline constexpr std::uint8_t type_bool = 9;
inline constexpr std::uint8_t type_character_literal = 10;
inline constexpr std::uint8_t type_range = 11;
inline constexpr std::uint8_t type_enumeration = 13;
inline constexpr std::uint8_t type_array_constrained = 14;
inline constexpr std::uint8_t type_array_unconstrained = 15;
inline constexpr std::uint8_t alloc_type_char = 19;
inline constexpr std::uint8_t alloc_type_character_literal = 20;
inline constexpr std::uint8_t alloc_type_identifier = 21;
inline constexpr std::uint8_t alloc_type_enumeration = 23;
inline constexpr std::uint8_t alloc_type_array = 25;
inline constexpr std::uint8_t indication_subtype = 29;
inline constexpr std::uint8_t subprogram_body = 32;
inline constexpr std::uint8_t parameter_specification = 33;
inline constexpr std::uint8_t iteration_scheme = 34;
inline constexpr std::uint8_t declaration_signal = 38;
inline constexpr std::uint8_t declaration_type = 39;
inline constexpr std::uint8_t declaration_constant = 42;
inline constexpr std::uint8_t declaration_subtype = 40;
inline constexpr std::uint8_t declaration_component = 41;
inline constexpr std::uint8_t declaration_subprogram = 43;
inline constexpr std::uint8_t declaration_variable = 44;
inline constexpr std::uint8_t declaration_alias = 45;
inline constexpr std::uint8_t generic_clause = 49;
inline constexpr std::uint8_t port_clause = 50;
inline constexpr std::uint8_t clause = 51;
inline constexpr std::uint8_t interf_element = 52;
inline constexpr std::uint8_t literal_character = 54;
inline constexpr std::uint8_t literal_string = 55;
inline constexpr std::uint8_t literal_abstract = 56;
inline constexpr std::uint8_t literal_physical = 57;
inline constexpr std::uint8_t name_simple = 58;
inline constexpr std::uint8_t map = 66;
inline constexpr std::uint8_t map_generic = 67;
inline constexpr std::uint8_t map_port = 68;
inline constexpr std::uint8_t string_item = 71;
inline constexpr std::uint8_t sensitivity_list_item = 72;
inline constexpr std::uint8_t statement_signal_assignment = 73;
inline constexpr std::uint8_t statement_component_instantiation = 74;
inline constexpr std::uint8_t statement_process_body = 75;
inline constexpr std::uint8_t statement_elsif = 76;
inline constexpr std::uint8_t statement_else = 77;
inline constexpr std::uint8_t statement_assertion = 78;
inline constexpr std::uint8_t statement_report = 79;
inline constexpr std::uint8_t statement_severity = 80;
inline constexpr std::uint8_t statement_case = 81;
inline constexpr std::uint8_t statement_case_alternative = 82;
inline constexpr std::uint8_t choice = 83;
inline constexpr std::uint8_t internal_obj1 = 92;
inline constexpr std::uint8_t internal_obj1_base = 93;
inline constexpr std::uint8_t entity_decl = 99;
inline constexpr std::uint8_t package_decl = 100;
inline constexpr std::uint8_t architecture_body = 101;
inline constexpr std::uint8_t package_body = 102;
inline constexpr std::uint8_t design_unit = 103;
inline constexpr std::uint8_t design_file = 104;
}  // namespace class_ids

class t_base {
 public:
  virtual ~t_base() = default;
  virtual std::uint8_t class_id() const { return class_ids::base; }
  virtual std::int32_t base_class_id() const { return 0; }
};

class t_base_item : public t_base {
 public:
  std::uint8_t class_id() const override { return class_ids::base_item; }
  virtual bool is_storage() const { return false; }
  virtual bool has_name() const { return false; }
  virtual std::string item_name() const { return {}; }
  virtual bool is_statement() const { return false; }
  virtual bool is_concurrent() const { return false; }
  virtual bool is_sequential() const { return false; }
  // A new copy that belongs to the caller; null for classes without one.
  virtual t_base_item* clone() const { return nullptr; }
  virtual void append_to(t_base_list& /*target*/) {}
  // Leaves `out` as it is unless the class has a text.
  virtual void to_text(std::string& /*out*/) const {}
  // The object's body in the object stream; most classes have none.
  virtual void write(t_stream& /*stream*/) const {}
  virtual void read(t_stream& /*stream*/) {}
};

class t_base_item_storage : public t_base_item {
 public:
  std::uint8_t class_id() const override { return class_ids::abstract_base; }
  bool is_storage() const override { return true; }
  virtual bool is_declaration() const { return false; }
};

class t_base_list : public t_base_item {
 public:
  std::uint8_t class_id() const override { return class_ids::list; }

  std::int32_t count() const { return std::int32_t(items_.size()); }
  t_base_item* get(std::int32_t i) const { return items_.at(std::size_t(i)); }
  void put(std::int32_t i, t_base_item* item) { items_.at(std::size_t(i)) = item; }
  void add(t_base_item* item) { items_.push_back(item); }
  bool add_checked(t_base_item* item) {
    add(item);
    return true;
  }
  // Throws std::out_of_range, as get and put do, for an index outside the list.
  void delete_at(std::int32_t i) {
    if (i < 0 || i >= count()) throw std::out_of_range("t_base_list::delete_at");
    items_.erase(items_.begin() + i);
  }
  void remove(const t_base_item* item);
  void clear() { items_.clear(); }
  bool appended() const { return appended_ != 0; }
  const std::vector<t_base_item*>& items() const { return items_; }

  // A plain list holding a clone of every item, in order.
  t_base_item* clone() const override;
  // Appends every item (through the item's own append_to) once; a second
  // call appends nothing.
  void append_to(t_base_list& target) override;

  // Case-insensitive search by item_name; an unnamed item stops the search
  // with message 2050.
  bool find_by_name(const std::string& key, std::int32_t& index) const;
  bool find_item_by_name(const std::string& key, t_base_item*& item) const;
  // First declaration of the class id whose name equals exactly; id 42 (a
  // constant declaration) matches a name of its identifier list.
  t_base_item* find_declaration(std::uint8_t id, const std::string& name) const;
  // As find_declaration without regard to case; a subprogram declaration
  // (id 43) matches only when its parameters accept `arguments`.
  t_base_item* find_declaration_upper(std::uint8_t id, const std::string& name,
                                      const t_base_list* arguments) const;
  // Index of that very object when its class id is `id`; -1 when absent.
  std::int32_t find_by_index_name(std::uint8_t id, const t_base_item* item) const;

  // Count, then per item its class id and body.
  void write(t_stream& stream) const override;
  // Reads a list written by write, making each item with make_object. An
  // unknown class id ends the read (message 2052); what was read stays.
  // Lists nested more than 64 deep throw stream_error.
  void read(t_stream& stream) override;

  // For owners: frees every item and empties the list.
  void delete_items();

 private:
  bool search_by_name(const std::string& key, std::int32_t& index) const;
  std::vector<t_base_item*> items_;
  std::uint8_t appended_ = 0;
};

// The list kind that syntax-tree nodes hold and the object stream carries.
class t_base_list_storage : public t_base_list {};

// For nodes that own their lists: the given list, or a new empty one.
inline std::unique_ptr<t_base_list_storage> list_or_empty(
    std::unique_ptr<t_base_list_storage> list) {
  return list ? std::move(list) : std::make_unique<t_base_list_storage>();
}
// Frees the items of an owned list (when there is one).
inline void free_list(const std::unique_ptr<t_base_list_storage>& list) {
  if (list) list->delete_items();
}

// Makes an empty object of a streamable class; other ids report message
// 2052, set the abort flag and give null.
std::unique_ptr<t_base_item> make_object(std::uint8_t id);

// Upper case of ASCII letters; other bytes unchanged.
std::string upper_ascii(std::string_view text);

}  // namespace zantrope
