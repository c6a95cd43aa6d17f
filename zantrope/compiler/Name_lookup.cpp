#include "compiler/Name_lookup.h"

#include <array>

#include "compiler/Classes_base.h"
#include "compiler/Classes_parser_objects.h"
#include "compiler/Classes_types.h"
#include "compiler/Declarations.h"
#include "compiler/Diagnostics.h"
#include "compiler/Globals.h"
#include "compiler/Shared_routines.h"

namespace zantrope {

namespace {

t_lookup_runtime cannot_evaluate_now;
t_lookup_runtime* installed_runtime = &cannot_evaluate_now;

std::array<std::int32_t, 3> int_registers{};
std::array<std::int64_t, 2> int64_registers{};
std::uint8_t byte4_register = 0;
std::uint8_t byte5_register = 0;
std::string text_register;

}  // namespace

t_lookup_runtime& lookup_runtime() { return *installed_runtime; }

t_lookup_runtime* set_lookup_runtime(t_lookup_runtime* runtime) {
  t_lookup_runtime* previous = installed_runtime == &cannot_evaluate_now ? nullptr : installed_runtime;
  installed_runtime = runtime != nullptr ? runtime : &cannot_evaluate_now;
  return previous;
}

t_library_unit* find_architecture(std::string_view name) { return find_library_unit(name, false, false); }
t_library_unit* find_entity(std::string_view name) { return find_library_unit(name, true, false); }

t_library_unit* find_entity_in_libraries(std::string_view name) {
  if (t_library_unit* unit = find_entity("orvo." + std::string(name))) return unit;
  return find_entity("work." + std::string(name));
}

bool predefined_type_code(std::string_view name, std::int32_t& code) {
  static constexpr std::pair<std::string_view, std::int32_t> table[] = {
      {"bit", 19},     {"bit_vector", 25}, {"boolean", 22}, {"integer", 16},
      {"natural", 16}, {"time", 17},       {"string", 20}};
  code = 0;
  for (const auto& [type_name, type_code] : table)
    if (type_name == name) code = type_code;
  return code != 0;
}

bool is_bit_vector(std::string_view name, std::int32_t& code) {
  code = name == "bit_vector" ? 19 : 0;
  return code != 0;
}

bool is_array_class(std::int32_t id) {
  return id == class_ids::type_array_constrained || id == class_ids::type_array_unconstrained ||
         id == class_ids::alloc_type_array;
}

bool is_predefined_attribute(std::string_view name) {
  static constexpr std::string_view names[] = {"length", "low", "left", "right", "high", "last_value", "event"};
  for (auto n : names)
    if (n == name) return true;
  return false;
}

t_declaration* find_type_declaration(std::string_view name, std::int32_t& code) {
  if (predefined_type_code(name, code)) return nullptr;
  code = 0;
  const std::string key(name);
  if (design_file_list) {
    // Package bodies are searched after the packages once the compiler
    // builds them; today every compiled declaration lives in a package.
    for (t_base_item* file : design_file_list->items()) {
      if (file == nullptr || file->class_id() != class_ids::design_file) continue;
      for (t_base_item* item : static_cast<t_design_file*>(file)->units().items()) {
        t_library_unit* unit = library_unit_of(item);
        if (unit == nullptr || unit->class_id() != class_ids::package_decl) continue;
        const auto& declarations = static_cast<t_library_unit_package_decl*>(unit)->declarations();
        for (std::uint8_t id : {class_ids::declaration_subtype, class_ids::declaration_type}) {
          if (t_base_item* found = declarations.find_declaration(id, key)) {
            code = id;
            return static_cast<t_declaration*>(found);
          }
        }
      }
    }
  }
  if (t_declaration* pushed = lookup_runtime().find_pushed_declaration(name)) {
    code = pushed->class_id();
    return pushed;
  }
  return nullptr;
}

std::int32_t type_class_of_name(std::string_view name) {
  std::int32_t code = 0;
  const t_declaration* declaration = find_type_declaration(name, code);
  if (declaration != nullptr && declaration->class_id() == class_ids::declaration_subtype) {
    const std::string base = subtype_base_type_name(*static_cast<const t_declaration_subtype*>(declaration));
    declaration = find_type_declaration(base, code);
  }
  if (declaration == nullptr || declaration->class_id() != class_ids::declaration_type) return 0;
  const t_type_definition* descriptor = static_cast<const t_declaration_type*>(declaration)->descriptor();
  return descriptor != nullptr ? descriptor->class_id() : 0;
}

std::optional<std::int32_t> try_evaluate_code_list(const t_base_list* code) {
  if (code == nullptr) {
    show_error_box("pcode == NULL!");
    return std::nullopt;
  }
  const std::uint8_t saved = abort_flag;
  abort_flag = 0;
  std::optional<std::int32_t> result = lookup_runtime().evaluate_code_list(*code);
  if (abort_flag != 0) result.reset();
  abort_flag = saved;
  return result;
}

void set_register_int(std::int32_t value, std::int32_t kind) {
  if (kind >= 1 && kind <= 3) int_registers[std::size_t(kind - 1)] = value;
}
void set_register_int64(std::int64_t value, std::int32_t kind) {
  if (kind == 6 || kind == 7) int64_registers[std::size_t(kind - 6)] = value;
}
void set_register_byte4(std::uint8_t value) { byte4_register = value; }
void set_register_byte5(std::uint8_t value) { byte5_register = value; }
void set_register_text(std::string text, std::int32_t kind) {
  if (kind == 8) text_register = std::move(text);
}
std::int32_t get_register_int(std::int32_t kind) {
  return kind >= 1 && kind <= 3 ? int_registers[std::size_t(kind - 1)] : 0;
}
std::int64_t get_register_int64(std::int32_t kind) {
  return kind == 6 || kind == 7 ? int64_registers[std::size_t(kind - 6)] : 0;
}
std::uint8_t get_register_byte4() { return byte4_register; }
std::uint8_t get_register_byte5() { return byte5_register; }
std::string get_register_text(std::int32_t kind) { return kind == 8 ? text_register : std::string(); }

}  // namespace zantrope
