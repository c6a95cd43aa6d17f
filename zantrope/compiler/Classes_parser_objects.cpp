#include "compiler/Classes_parser_objects.h"

#include "compiler/Classes_types.h"
#include "compiler/Diagnostics.h"
#include "compiler/Object_stream.h"

namespace zantrope {

std::unique_ptr<t_base_list_storage> t_statement::publish_this(t_code_emitter&) {
  show_error_box("t_statement::publish_this() abstract");
  return nullptr;
}

t_declaration_type::t_declaration_type() = default;

t_declaration_type::t_declaration_type(std::string name,
                                       std::unique_ptr<t_type_definition> descriptor)
    : name_(std::move(name)), descriptor_(std::move(descriptor)) {}

t_declaration_type::~t_declaration_type() = default;

void t_declaration_type::write_node(t_stream& stream) const {
  write_stream_string(name_, stream);
  stream.write_u8(descriptor_ ? descriptor_->class_id() : class_ids::base);
  if (descriptor_) descriptor_->write(stream);
}

void t_declaration_type::read_node(t_stream& stream) {
  read_stream_string(name_, stream);
  std::unique_ptr<t_base_item> made = make_object(stream.read_u8());
  auto* descriptor = dynamic_cast<t_type_definition*>(made.get());
  if (!descriptor) {
    if (made) {
      report_error(messages::unknown_class_id);
      abort_run();
    }
    descriptor_.reset();
    return;
  }
  made.release();
  descriptor_.reset(descriptor);
  descriptor_->read(stream);
}

t_indication_subtype::t_indication_subtype(std::unique_ptr<t_name_simple> type_mark,
                                           std::unique_ptr<t_base_list_storage> constraints)
    : type_mark_(std::move(type_mark)), constraints_(std::move(constraints)) {}

t_indication_subtype::~t_indication_subtype() { free_list(constraints_); }

t_interf_element::t_interf_element(std::unique_ptr<t_base_list_storage> identifiers,
                                   std::unique_ptr<t_indication_subtype> subtype)
    : identifiers_(list_or_empty(std::move(identifiers))),
      subtype_(std::move(subtype)) {}

t_interf_element::~t_interf_element() { free_list(identifiers_); }

void t_interf_element::write(t_stream& stream) const {
  identifiers_->write(stream);
  write_stream_string(subtype_ ? subtype_->type_mark_name() : std::string(), stream);
  const t_base_list_storage* constraints = subtype_ ? subtype_->constraints() : nullptr;
  stream.write_u8(constraints ? 1 : 0);
  if (constraints) constraints->write(stream);
}

t_clause::t_clause(std::unique_ptr<t_base_list_storage> elements)
    : elements_(list_or_empty(std::move(elements))) {}

t_clause::~t_clause() { free_list(elements_); }

t_library_unit_entity_decl::t_library_unit_entity_decl(
    std::string name, std::unique_ptr<t_base_list_storage> header)
    : name_(std::move(name)),
      header_(list_or_empty(std::move(header))),
      architectures_(std::make_unique<t_base_list_storage>()) {}

t_library_unit_entity_decl::~t_library_unit_entity_decl() {
  free_list(header_);
  free_list(read_ports_);
}

const t_base_list_storage* t_library_unit_entity_decl::clause_elements(
    std::uint8_t clause_id) const {
  for (const t_base_item* item : header_->items()) {
    const auto* clause = dynamic_cast<const t_clause*>(item);
    if (clause && clause->class_id() == clause_id) return &clause->elements();
  }
  return nullptr;
}

void t_library_unit_entity_decl::write(t_stream& stream) const {
  write_stream_string(name_, stream);
  if (const t_base_list_storage* ports = clause_elements(50))
    ports->write(stream);
  else
    stream.write_u32(0);
}

void t_library_unit_entity_decl::read(t_stream& stream) {
  read_stream_string(name_, stream);
  free_list(read_ports_);
  read_ports_ = std::make_unique<t_base_list_storage>();
  read_ports_->read(stream);
}

t_library_unit_package_decl::t_library_unit_package_decl()
    : declarations_(std::make_unique<t_base_list_storage>()) {}

t_library_unit_package_decl::t_library_unit_package_decl(
    std::string name, std::unique_ptr<t_base_list_storage> declarations)
    : declarations_(list_or_empty(std::move(declarations))),
      name_(std::move(name)) {}

t_library_unit_package_decl::~t_library_unit_package_decl() { free_list(declarations_); }

void t_library_unit_package_decl::write_node(t_stream& stream) const {
  write_stream_string(name_, stream);
  declarations_->write(stream);
}

void t_library_unit_package_decl::read_node(t_stream& stream) {
  read_stream_string(name_, stream);
  free_list(declarations_);
  declarations_ = std::make_unique<t_base_list_storage>();
  declarations_->read(stream);
}

t_library_unit_architecture_body::t_library_unit_architecture_body(
    std::string name, std::string entity_name, std::unique_ptr<t_base_list_storage> statements,
    std::unique_ptr<t_base_list_storage> declarations)
    : statements_(list_or_empty(std::move(statements))),
      declarations_(list_or_empty(std::move(declarations))),
      name_(std::move(name)),
      entity_name_(std::move(entity_name)) {}

t_library_unit_architecture_body::~t_library_unit_architecture_body() {
  free_list(statements_);
  free_list(declarations_);
}

std::unique_ptr<t_library_unit_entity_decl> make_entity(const t_name_simple& name,
                                                       std::unique_ptr<t_base_list_storage> header) {
  return std::make_unique<t_library_unit_entity_decl>(name.token_text(), std::move(header));
}

std::unique_ptr<t_library_unit_package_decl> make_package(
    const t_name_simple& name, std::unique_ptr<t_base_list_storage> declarations) {
  return std::make_unique<t_library_unit_package_decl>(name.token_text(), std::move(declarations));
}

std::unique_ptr<t_library_unit_architecture_body> make_architecture(
    const t_name_simple& name, const t_name_simple& entity_name,
    std::unique_ptr<t_base_list_storage> statements,
    std::unique_ptr<t_base_list_storage> declarations) {
  return std::make_unique<t_library_unit_architecture_body>(
      name.token_text(), entity_name.token_text(), std::move(statements), std::move(declarations));
}

void t_design_unit::write_node(t_stream& stream) const {
  stream.write_u8(library_unit_ ? library_unit_->class_id() : class_ids::base);
  if (library_unit_) library_unit_->write(stream);
}

void t_design_unit::read_node(t_stream& stream) {
  std::unique_ptr<t_base_item> made = make_object(stream.read_u8());
  if (!made) return;
  auto* unit = dynamic_cast<t_library_unit*>(made.get());
  if (!unit) {
    report_error(messages::unknown_class_id);
    abort_run();
    return;
  }
  made.release();
  library_unit_.reset(unit);
  library_unit_->read(stream);
}

t_design_file::t_design_file(std::unique_ptr<t_base_list_storage> units)
    : units_(list_or_empty(std::move(units))) {}

t_design_file::~t_design_file() { free_list(units_); }

void t_design_file::write_node(t_stream& stream) const { units_->write(stream); }

void t_design_file::read_node(t_stream& stream) {
  free_list(units_);
  units_ = std::make_unique<t_base_list_storage>();
  units_->read(stream);
}

}  // namespace zantrope
