#pragma once
// Syntax objects the parser builds: statements, declarations, interface
// elements and clauses, library units, design units and design files.
// A node owns the children it was given or read; lists themselves own
// nothing, so each node frees the items of its lists.
#include <cstdint>
#include <memory>
#include <string>

#include "compiler/Classes_base.h"
#include "compiler/Classes_literal.h"

namespace zantrope {

class t_type_definition;
class t_code_emitter;

class t_statement : public t_base_item_storage {
 public:
  bool is_statement() const override { return true; }
  // A new code list with the statement's pseudo-code (its instructions
  // belong to the code generator). Statements whose code the parser emits
  // when it reduces them have none: an error box, and null.
  virtual std::unique_ptr<t_base_list_storage> publish_this(t_code_emitter& emitter);
};

class t_declaration : public t_base_item_storage {
 public:
  bool is_declaration() const override { return true; }
  virtual std::string get_name() const { return {}; }
  // The names a declaration of several identifiers declares (constants);
  // null for the others.
  virtual const t_base_list* identifier_list() const { return nullptr; }
  // Whether a call with these arguments may name this declaration; only
  // subprogram declarations check.
  virtual bool accepts_arguments(const t_base_list* /*arguments*/) const { return true; }
};

class t_declaration_type : public t_declaration {
 public:
  t_declaration_type();
  t_declaration_type(std::string name, std::unique_ptr<t_type_definition> descriptor);
  ~t_declaration_type() override;
  std::uint8_t class_id() const override { return class_ids::declaration_type; }
  std::string get_name() const override { return name_; }
  t_type_definition* descriptor() const { return descriptor_.get(); }
  // Node body: type name, the descriptor's class id, the descriptor's body.
  void write_node(t_stream& stream) const;
  void read_node(t_stream& stream);

 private:
  std::string name_;
  std::unique_ptr<t_type_definition> descriptor_;
};

// The name of a type as a declaration gives it, with an optional
// constraint list.
class t_indication_subtype : public t_base_item_storage {
 public:
  t_indication_subtype(std::unique_ptr<t_name_simple> type_mark,
                       std::unique_ptr<t_base_list_storage> constraints);
  ~t_indication_subtype() override;
  std::uint8_t class_id() const override { return class_ids::indication_subtype; }
  std::string type_mark_name() const { return type_mark_ ? type_mark_->token_text() : ""; }
  const t_base_list_storage* constraints() const { return constraints_.get(); }

 private:
  std::unique_ptr<t_name_simple> type_mark_;
  std::unique_ptr<t_base_list_storage> constraints_;
};

// One element of a port or generic clause: identifiers and their subtype.
class t_interf_element : public t_base_item {
 public:
  t_interf_element(std::unique_ptr<t_base_list_storage> identifiers,
                   std::unique_ptr<t_indication_subtype> subtype);
  ~t_interf_element() override;
  std::uint8_t class_id() const override { return class_ids::interf_element; }
  bool has_name() const override { return false; }
  const t_base_list_storage& identifiers() const { return *identifiers_; }
  const t_indication_subtype* subtype() const { return subtype_.get(); }
  // Identifiers, type-mark name, constraint flag and constraints. Reading
  // an element back reads nothing.
  void write(t_stream& stream) const override;

 private:
  std::unique_ptr<t_base_list_storage> identifiers_;
  std::unique_ptr<t_indication_subtype> subtype_;
};

// A generic or port clause: its list of interface elements.
class t_clause : public t_base_item {
 public:
  explicit t_clause(std::unique_ptr<t_base_list_storage> elements);
  ~t_clause() override;
  std::uint8_t class_id() const override { return class_ids::clause; }
  const t_base_list_storage& elements() const { return *elements_; }

 private:
  std::unique_ptr<t_base_list_storage> elements_;
};

class t_generic_clause : public t_clause {
 public:
  using t_clause::t_clause;
  std::uint8_t class_id() const override { return class_ids::generic_clause; }
};

class t_port_clause : public t_clause {
 public:
  using t_clause::t_clause;
  std::uint8_t class_id() const override { return class_ids::port_clause; }
};

class t_library_unit : public t_base_item_storage {};

class t_library_unit_entity_decl : public t_library_unit {
 public:
  t_library_unit_entity_decl(std::string name, std::unique_ptr<t_base_list_storage> header);
  ~t_library_unit_entity_decl() override;
  std::uint8_t class_id() const override { return class_ids::entity_decl; }
  const std::string& name() const { return name_; }
  // The element list of the header clause of that kind (49 generic, 50
  // port), found by class id whatever the order of the clauses; null when
  // the entity has none.
  const t_base_list_storage* clause_elements(std::uint8_t clause_id) const;
  // The entity description: name, then the port clause's elements.
  void write(t_stream& stream) const override;
  void read(t_stream& stream) override;

 private:
  std::string name_;
  std::unique_ptr<t_base_list_storage> header_;
  std::unique_ptr<t_base_list_storage> architectures_;
  std::unique_ptr<t_base_list_storage> read_ports_;
};

class t_library_unit_package_decl : public t_library_unit {
 public:
  t_library_unit_package_decl();
  t_library_unit_package_decl(std::string name, std::unique_ptr<t_base_list_storage> declarations);
  ~t_library_unit_package_decl() override;
  std::uint8_t class_id() const override { return class_ids::package_decl; }
  const std::string& name() const { return name_; }
  const t_base_list_storage& declarations() const { return *declarations_; }
  // Node body: name, then the declarations.
  void write_node(t_stream& stream) const;
  void read_node(t_stream& stream);

 private:
  std::unique_ptr<t_base_list_storage> declarations_;
  std::string name_;
};

class t_library_unit_architecture_body : public t_library_unit {
 public:
  t_library_unit_architecture_body(std::string name, std::string entity_name,
                                   std::unique_ptr<t_base_list_storage> statements = nullptr,
                                   std::unique_ptr<t_base_list_storage> declarations = nullptr);
  ~t_library_unit_architecture_body() override;
  std::uint8_t class_id() const override { return class_ids::architecture_body; }
  const std::string& name() const { return name_; }
  const std::string& entity_name() const { return entity_name_; }
  const t_base_list_storage& statements() const { return *statements_; }
  const t_base_list_storage& declarations() const { return *declarations_; }
  std::string extra_text;
  // Set once the elaboration has processed the architecture.
  std::uint8_t elaborated = 0;
  void write_node(t_stream&) const {}
  void read_node(t_stream&) {}

 private:
  std::unique_ptr<t_base_list_storage> statements_;
  std::unique_ptr<t_base_list_storage> declarations_;
  std::string name_;
  std::string entity_name_;
};

class t_design_unit : public t_base_item_storage {
 public:
  t_design_unit() = default;
  explicit t_design_unit(std::unique_ptr<t_library_unit> unit) : library_unit_(std::move(unit)) {}
  std::uint8_t class_id() const override { return class_ids::design_unit; }
  t_library_unit* library_unit() const { return library_unit_.get(); }
  void set_library_unit(std::unique_ptr<t_library_unit> unit) { library_unit_ = std::move(unit); }
  // Node body: the library unit's class id, then its body.
  void write_node(t_stream& stream) const;
  void read_node(t_stream& stream);

 private:
  std::unique_ptr<t_library_unit> library_unit_;
};

class t_design_file : public t_base_item_storage {
 public:
  explicit t_design_file(std::unique_ptr<t_base_list_storage> units);
  ~t_design_file() override;
  std::uint8_t class_id() const override { return class_ids::design_file; }
  const t_base_list_storage& units() const { return *units_; }
  std::string library_name;
  std::string driver_text;
  std::uint8_t finished = 0;
  // Node body: the design units.
  void write_node(t_stream& stream) const;
  void read_node(t_stream& stream);

 private:
  std::unique_ptr<t_base_list_storage> units_;
};

// Library units as the parser makes them, each named by the text of a
// simple name.
std::unique_ptr<t_library_unit_entity_decl> make_entity(const t_name_simple& name,
                                                       std::unique_ptr<t_base_list_storage> header);
std::unique_ptr<t_library_unit_package_decl> make_package(
    const t_name_simple& name, std::unique_ptr<t_base_list_storage> declarations);
std::unique_ptr<t_library_unit_architecture_body> make_architecture(
    const t_name_simple& name, const t_name_simple& entity_name,
    std::unique_ptr<t_base_list_storage> statements,
    std::unique_ptr<t_base_list_storage> declarations);

}  // namespace zantrope
