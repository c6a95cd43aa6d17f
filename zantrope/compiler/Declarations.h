#pragma once
// Declaration nodes: what a declarative part declares (constants,
// variables, signals, aliases, subtypes, components, subprograms and their
// bodies, loop iteration schemes). Type declarations and subtype
// indications are with the other syntax objects. Each node owns the
// children it was given.
#include <cstdint>
#include <memory>
#include <string>

#include "compiler/Classes_parser_objects.h"

namespace zantrope {

// One argument of a call as the overload search sees it: the type name of
// its value and whether it is a literal.
class t_argument_signature_item : public t_base_item {
 public:
  t_argument_signature_item(std::string type, std::uint8_t is_literal)
      : type_name(std::move(type)), literal(is_literal) {}
  std::string type_name;
  std::uint8_t literal = 0;
};

class t_declaration_constant : public t_declaration {
 public:
  t_declaration_constant(std::unique_ptr<t_base_list_storage> identifiers,
                         std::unique_ptr<t_indication_subtype> subtype,
                         std::unique_ptr<t_base_item> value);
  ~t_declaration_constant() override;
  std::uint8_t class_id() const override { return class_ids::declaration_constant; }
  // The first identifier's text; with no identifier an error box and "".
  std::string get_name() const override;
  const t_base_list* identifier_list() const override { return identifiers_.get(); }
  const t_indication_subtype* subtype() const { return subtype_.get(); }
  const t_base_item* value() const { return value_.get(); }
  void write_node(t_stream&) const {}
  void read_node(t_stream&) {}

 private:
  std::uint8_t flag_ = 0;
  std::unique_ptr<t_base_list_storage> identifiers_;
  std::unique_ptr<t_base_item> value_;
  std::unique_ptr<t_indication_subtype> subtype_;
};

// A variable declaration; the two further parts are what the grammar rule
// passes (its initial value and its subtype indication).
class t_declaration_variable : public t_declaration {
 public:
  t_declaration_variable(std::unique_ptr<t_base_list_storage> identifiers,
                         std::unique_ptr<t_base_item> second,
                         std::unique_ptr<t_base_item> third);
  ~t_declaration_variable() override;
  std::uint8_t class_id() const override { return class_ids::declaration_variable; }
  const t_base_list_storage& identifiers() const { return *identifiers_; }
  const t_base_item* second_part() const { return second_.get(); }
  const t_base_item* third_part() const { return third_.get(); }
  void write_node(t_stream&) const {}
  void read_node(t_stream&) {}

 private:
  std::unique_ptr<t_base_list_storage> identifiers_;
  std::unique_ptr<t_base_item> third_;
  std::unique_ptr<t_base_item> second_;
  std::uint8_t flag_ = 0;
};

class t_declaration_alias : public t_declaration {
 public:
  t_declaration_alias(std::unique_ptr<t_name_simple> name, std::unique_ptr<t_base_item> second,
                      std::unique_ptr<t_base_item> third);
  std::uint8_t class_id() const override { return class_ids::declaration_alias; }
  std::string get_name() const override { return name_ ? name_->token_text() : std::string(); }
  const t_base_item* second_part() const { return second_.get(); }
  const t_base_item* third_part() const { return third_.get(); }
  void write_node(t_stream&) const {}
  void read_node(t_stream&) {}

 private:
  std::unique_ptr<t_name_simple> name_;
  std::unique_ptr<t_base_item> second_;
  std::unique_ptr<t_base_item> third_;
};

// A loop parameter or a subprogram parameter: its identifiers and their
// subtype (the loop form keeps its range as the discrete range).
class t_parameter_specification : public t_declaration {
 public:
  t_parameter_specification(std::unique_ptr<t_base_list_storage> identifiers,
                            std::unique_ptr<t_indication_subtype> subtype);
  t_parameter_specification(std::unique_ptr<t_name_simple> name,
                            std::unique_ptr<t_base_item> discrete_range);
  ~t_parameter_specification() override;
  std::uint8_t class_id() const override { return class_ids::parameter_specification; }
  std::string get_name() const override;
  const t_base_list_storage& identifiers() const { return *identifiers_; }
  const t_indication_subtype* subtype() const { return subtype_.get(); }
  const t_base_item* discrete_range() const { return range_.get(); }

 private:
  std::unique_ptr<t_base_list_storage> identifiers_;
  std::unique_ptr<t_indication_subtype> subtype_;
  std::unique_ptr<t_base_item> range_;
};

class t_declaration_subprogram : public t_declaration {
 public:
  // The designator is a simple name, or a string literal for an operator
  // symbol (then is_operator is 1). A null return type makes a procedure.
  t_declaration_subprogram(std::unique_ptr<t_literal_base> designator,
                           std::unique_ptr<t_base_list_storage> parameters,
                           std::unique_ptr<t_indication_subtype> return_type);
  ~t_declaration_subprogram() override;
  std::uint8_t class_id() const override { return class_ids::declaration_subprogram; }
  std::string get_name() const override;
  bool is_procedure() const { return return_type_ == nullptr; }
  std::uint8_t is_operator() const { return is_operator_; }
  const t_base_list_storage& parameters() const { return *parameters_; }
  const t_indication_subtype* return_type() const { return return_type_.get(); }
  // Whether a call whose arguments have these types may name this
  // subprogram: each parameter identifier takes the next argument (a
  // t_argument_signature_item), whose type must be compatible with the
  // parameter's type mark. Too few or too many arguments answer false.
  bool accepts(const t_base_list& arguments) const;
  bool accepts_arguments(const t_base_list* arguments) const override {
    return arguments ? accepts(*arguments) : parameter_count() == 0;
  }
  std::int32_t parameter_count() const;
  void write_node(t_stream&) const {}
  void read_node(t_stream&) {}

 private:
  std::unique_ptr<t_literal_base> designator_;
  std::unique_ptr<t_base_list_storage> parameters_;
  std::unique_ptr<t_indication_subtype> return_type_;
  std::uint8_t is_operator_ = 0;
};

// Whether an argument of type `argument` may go to a parameter of type
// `parameter`: equal names, std_logic with std_ulogic, and for a literal
// argument natural with integer.
bool type_names_compatible(const std::string& parameter, const std::string& argument,
                           bool literal);

class t_subprogram_body : public t_declaration {
 public:
  t_subprogram_body(std::unique_ptr<t_declaration_subprogram> declaration,
                    std::unique_ptr<t_base_list_storage> declarative_part,
                    std::unique_ptr<t_base_list_storage> statement_part);
  ~t_subprogram_body() override;
  std::uint8_t class_id() const override { return class_ids::subprogram_body; }
  std::string get_name() const override {
    return declaration_ ? declaration_->get_name() : std::string();
  }
  const t_declaration_subprogram* declaration() const { return declaration_.get(); }
  const t_base_list_storage& declarative_part() const { return *declarative_part_; }
  // The body's code list (its items belong to the code generator).
  const t_base_list_storage& statement_part() const { return *statement_part_; }
  void write_node(t_stream&) const {}
  void read_node(t_stream&) {}

 private:
  std::unique_ptr<t_declaration_subprogram> declaration_;
  std::unique_ptr<t_base_list_storage> declarative_part_;
  std::unique_ptr<t_base_list_storage> statement_part_;
};

class t_declaration_signal : public t_declaration {
 public:
  // The initial value's code list may be null; its items belong to the code
  // generator.
  t_declaration_signal(std::unique_ptr<t_base_list_storage> identifiers,
                       std::unique_ptr<t_indication_subtype> subtype,
                       std::unique_ptr<t_base_list_storage> initial_value);
  t_declaration_signal();
  ~t_declaration_signal() override;
  std::uint8_t class_id() const override { return class_ids::declaration_signal; }
  const std::string& name() const { return name_; }
  const t_base_list_storage& identifiers() const { return *identifiers_; }
  const t_base_list_storage* initial_value() const { return initial_value_.get(); }
  const t_indication_subtype* subtype() const { return subtype_.get(); }
  // Node body: the first name, then the identifier list.
  void write_node(t_stream& stream) const;
  void read_node(t_stream& stream);

 private:
  std::string name_;
  std::unique_ptr<t_base_list_storage> identifiers_;
  std::unique_ptr<t_base_list_storage> initial_value_;
  std::unique_ptr<t_indication_subtype> subtype_;
};

class t_declaration_subtype : public t_declaration {
 public:
  t_declaration_subtype(std::unique_ptr<t_name_simple> name,
                        std::unique_ptr<t_indication_subtype> subtype);
  std::uint8_t class_id() const override { return class_ids::declaration_subtype; }
  std::string get_name() const override { return name_ ? name_->token_text() : std::string(); }
  const t_indication_subtype* subtype() const { return subtype_.get(); }

 private:
  std::unique_ptr<t_name_simple> name_;
  std::unique_ptr<t_indication_subtype> subtype_;
};

// The name of the type that a subtype declaration's indication names.
std::string subtype_base_type_name(const t_declaration_subtype& declaration);

class t_declaration_component : public t_declaration {
 public:
  t_declaration_component(std::string name, std::unique_ptr<t_generic_clause> generics,
                          std::unique_ptr<t_port_clause> ports);
  std::uint8_t class_id() const override { return class_ids::declaration_component; }
  std::string get_name() const override { return name_; }
  const t_generic_clause* generics() const { return generics_.get(); }
  const t_port_clause* ports() const { return ports_.get(); }

 private:
  std::string name_;
  std::unique_ptr<t_generic_clause> generics_;
  std::unique_ptr<t_port_clause> ports_;
};

// The scheme of a loop: kind 0 `for` with its parameter specification,
// kind 1 `while` with its condition's code list.
class t_iteration_scheme : public t_declaration {
 public:
  static constexpr std::uint8_t kFor = 0;
  static constexpr std::uint8_t kWhile = 1;
  t_iteration_scheme(std::uint8_t kind, std::unique_ptr<t_base_list_storage> condition);
  t_iteration_scheme(std::uint8_t kind, std::unique_ptr<t_parameter_specification> parameter);
  ~t_iteration_scheme() override;
  std::uint8_t class_id() const override { return class_ids::iteration_scheme; }
  std::uint8_t scheme_kind() const { return kind_; }
  const t_base_list_storage* condition() const { return condition_.get(); }
  const t_parameter_specification* parameter() const { return parameter_.get(); }
  void write_node(t_stream&) const {}
  void read_node(t_stream&) {}

 private:
  std::uint8_t kind_;
  std::unique_ptr<t_base_list_storage> condition_;
  std::unique_ptr<t_parameter_specification> parameter_;
};

}  // namespace zantrope
