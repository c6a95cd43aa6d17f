#include "compiler/Declarations.h"

#include "compiler/Diagnostics.h"
#include "compiler/Globals.h"
#include "compiler/Object_stream.h"

namespace zantrope {

namespace {
std::string first_name(const t_base_list& names) {
  if (names.count() == 0) return {};
  std::string text;
  if (const t_base_item* first = names.get(0)) first->to_text(text);
  return text;
}
}  // namespace

t_declaration_constant::t_declaration_constant(std::unique_ptr<t_base_list_storage> identifiers,
                                               std::unique_ptr<t_indication_subtype> subtype,
                                               std::unique_ptr<t_base_item> value)
    : identifiers_(list_or_empty(std::move(identifiers))),
      value_(std::move(value)),
      subtype_(std::move(subtype)) {}

t_declaration_constant::~t_declaration_constant() { free_list(identifiers_); }

std::string t_declaration_constant::get_name() const {
  if (identifiers_->count() == 0) {
    show_error_box("t_declaration_constant::get_name() not possible");
    return {};
  }
  return first_name(*identifiers_);
}

t_declaration_variable::t_declaration_variable(std::unique_ptr<t_base_list_storage> identifiers,
                                               std::unique_ptr<t_base_item> second,
                                               std::unique_ptr<t_base_item> third)
    : identifiers_(list_or_empty(std::move(identifiers))),
      third_(std::move(third)),
      second_(std::move(second)) {}

t_declaration_variable::~t_declaration_variable() { free_list(identifiers_); }

t_declaration_alias::t_declaration_alias(std::unique_ptr<t_name_simple> name,
                                         std::unique_ptr<t_base_item> second,
                                         std::unique_ptr<t_base_item> third)
    : name_(std::move(name)), second_(std::move(second)), third_(std::move(third)) {}

t_parameter_specification::t_parameter_specification(
    std::unique_ptr<t_base_list_storage> identifiers, std::unique_ptr<t_indication_subtype> subtype)
    : identifiers_(list_or_empty(std::move(identifiers))), subtype_(std::move(subtype)) {}

t_parameter_specification::t_parameter_specification(std::unique_ptr<t_name_simple> name,
                                                     std::unique_ptr<t_base_item> discrete_range)
    : identifiers_(std::make_unique<t_base_list_storage>()), range_(std::move(discrete_range)) {
  if (name) identifiers_->add(name.release());
}

t_parameter_specification::~t_parameter_specification() { free_list(identifiers_); }

std::string t_parameter_specification::get_name() const { return first_name(*identifiers_); }

t_declaration_subprogram::t_declaration_subprogram(
    std::unique_ptr<t_literal_base> designator, std::unique_ptr<t_base_list_storage> parameters,
    std::unique_ptr<t_indication_subtype> return_type)
    : designator_(std::move(designator)),
      parameters_(list_or_empty(std::move(parameters))),
      return_type_(std::move(return_type)),
      is_operator_(designator_ && designator_->class_id() == class_ids::literal_string ? 1 : 0) {}

t_declaration_subprogram::~t_declaration_subprogram() { free_list(parameters_); }

std::string t_declaration_subprogram::get_name() const {
  if (!designator_) return {};
  const std::uint8_t id = designator_->class_id();
  if (id != class_ids::name_simple && id != class_ids::literal_string) return {};
  return designator_->token_text();
}

namespace {
// The identifiers and the type mark of one parameter (a parameter
// specification or an interface element); false for anything else.
bool parameter_parts(const t_base_item* item, const t_base_list*& identifiers,
                     std::string& type_mark) {
  if (const auto* spec = dynamic_cast<const t_parameter_specification*>(item)) {
    identifiers = &spec->identifiers();
    type_mark = spec->subtype() ? spec->subtype()->type_mark_name() : std::string();
    return true;
  }
  if (const auto* element = dynamic_cast<const t_interf_element*>(item)) {
    identifiers = &element->identifiers();
    type_mark = element->subtype() ? element->subtype()->type_mark_name() : std::string();
    return true;
  }
  return false;
}
}  // namespace

std::int32_t t_declaration_subprogram::parameter_count() const {
  std::int32_t count = 0;
  for (const t_base_item* item : parameters_->items()) {
    const t_base_list* identifiers = nullptr;
    std::string type_mark;
    if (parameter_parts(item, identifiers, type_mark)) count += identifiers->count();
  }
  return count;
}

bool type_names_compatible(const std::string& parameter, const std::string& argument,
                           bool literal) {
  if (parameter == argument) return true;
  const auto either = [&](const char* a, const char* b) {
    return (parameter == a && argument == b) || (parameter == b && argument == a);
  };
  if (either("std_logic", "std_ulogic")) return true;
  return literal && either("natural", "integer");
}

bool t_declaration_subprogram::accepts(const t_base_list& arguments) const {
  std::int32_t next = 0;
  for (const t_base_item* item : parameters_->items()) {
    const t_base_list* identifiers = nullptr;
    std::string type_mark;
    if (!parameter_parts(item, identifiers, type_mark)) continue;
    for (std::int32_t i = 0; i < identifiers->count(); ++i) {
      if (next >= arguments.count()) return false;
      const auto* argument =
          dynamic_cast<const t_argument_signature_item*>(arguments.get(next++));
      if (!argument ||
          !type_names_compatible(type_mark, argument->type_name, argument->literal != 0))
        return false;
    }
  }
  return next == arguments.count();
}

t_subprogram_body::t_subprogram_body(std::unique_ptr<t_declaration_subprogram> declaration,
                                     std::unique_ptr<t_base_list_storage> declarative_part,
                                     std::unique_ptr<t_base_list_storage> statement_part)
    : declaration_(std::move(declaration)),
      declarative_part_(list_or_empty(std::move(declarative_part))),
      statement_part_(list_or_empty(std::move(statement_part))) {}

t_subprogram_body::~t_subprogram_body() { free_list(declarative_part_); }

t_declaration_signal::t_declaration_signal(std::unique_ptr<t_base_list_storage> identifiers,
                                           std::unique_ptr<t_indication_subtype> subtype,
                                           std::unique_ptr<t_base_list_storage> initial_value)
    : identifiers_(list_or_empty(std::move(identifiers))),
      initial_value_(std::move(initial_value)),
      subtype_(std::move(subtype)) {
  name_ = first_name(*identifiers_);
}

t_declaration_signal::t_declaration_signal()
    : identifiers_(std::make_unique<t_base_list_storage>()) {}

t_declaration_signal::~t_declaration_signal() { free_list(identifiers_); }

void t_declaration_signal::write_node(t_stream& stream) const {
  write_stream_string(name_, stream);
  identifiers_->write(stream);
}

void t_declaration_signal::read_node(t_stream& stream) {
  read_stream_string(name_, stream);
  free_list(identifiers_);
  identifiers_ = std::make_unique<t_base_list_storage>();
  identifiers_->read(stream);
}

t_declaration_subtype::t_declaration_subtype(std::unique_ptr<t_name_simple> name,
                                             std::unique_ptr<t_indication_subtype> subtype)
    : name_(std::move(name)), subtype_(std::move(subtype)) {}

std::string subtype_base_type_name(const t_declaration_subtype& declaration) {
  current_identifier =
      declaration.subtype() ? declaration.subtype()->type_mark_name() : std::string();
  return current_identifier;
}

t_declaration_component::t_declaration_component(std::string name,
                                                 std::unique_ptr<t_generic_clause> generics,
                                                 std::unique_ptr<t_port_clause> ports)
    : name_(std::move(name)), generics_(std::move(generics)), ports_(std::move(ports)) {}

t_iteration_scheme::t_iteration_scheme(std::uint8_t kind,
                                       std::unique_ptr<t_base_list_storage> condition)
    : kind_(kind), condition_(std::move(condition)) {}

t_iteration_scheme::t_iteration_scheme(std::uint8_t kind,
                                       std::unique_ptr<t_parameter_specification> parameter)
    : kind_(kind), parameter_(std::move(parameter)) {}

t_iteration_scheme::~t_iteration_scheme() = default;

}  // namespace zantrope
