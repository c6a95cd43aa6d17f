#pragma once
// Where the compiler and the simulator look names up: the predefined type
// names, the compiled packages, the library units of the compiled design
// files, and (through t_lookup_runtime) the run-time stacks and the
// evaluator.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zantrope {

class t_base_list;
class t_declaration;
class t_library_unit;

// What a lookup needs of the simulator's run time. The compiler never
// includes the simulator: the simulator installs its own implementation.
// This base answers "cannot evaluate now" to everything, which sends code
// generation down its run-time evaluation path.
class t_lookup_runtime {
 public:
  virtual ~t_lookup_runtime() = default;
  // The newest pushed declaration whose name equals `name` (both upper-cased).
  virtual t_declaration* find_pushed_declaration(std::string_view /*name*/) { return nullptr; }
  // Runs the code list; the temporary-value index of its result, or nothing
  // when it cannot be evaluated now.
  virtual std::optional<std::int32_t> evaluate_code_list(const t_base_list& /*code*/) { return std::nullopt; }
};

// The installed run time (the "cannot evaluate now" base when none is).
t_lookup_runtime& lookup_runtime();
// Installs one (null puts the base back); answers the previous one.
t_lookup_runtime* set_lookup_runtime(t_lookup_runtime* runtime);

// Library units, newest design file first.
t_library_unit* find_architecture(std::string_view name);
t_library_unit* find_entity(std::string_view name);
// "orvo." + name, else "work." + name; null when neither is compiled.
t_library_unit* find_entity_in_libraries(std::string_view name);

// The run-time value class id a predefined type name stands for ("bit" 19,
// "bit_vector" 25, "boolean" 22, "integer" and "natural" 16, "time" 17,
// "string" 20); 0 and false for any other name. Exact compare.
bool predefined_type_code(std::string_view name, std::int32_t& code);
bool is_bit_vector(std::string_view name, std::int32_t& code);
// Constrained and unconstrained array types and array values.
bool is_array_class(std::int32_t id);
// "length", "low", "left", "right", "high", "last_value", "event".
bool is_predefined_attribute(std::string_view name);

// The declaration of a type name, searched in this order: predefined names
// (null, code = the predefined code); the compiled packages, oldest file
// first, in each the subtype (40) before the type (39); the pushed
// declarations of the run time (code = its class id); else null and 0.
t_declaration* find_type_declaration(std::string_view name, std::int32_t& code);
// The descriptor class id a type name leads to (a subtype through its type
// mark, one level); 0 for predefined and unknown names.
std::int32_t type_class_of_name(std::string_view name);

// A trial evaluation while code is generated: the temporary-value index,
// or nothing when the list cannot be evaluated now or the evaluation
// aborted. The abort flag is as it was before the trial afterwards, so an
// abort raised earlier in the parse survives. A null list shows
// "pcode == NULL!" and gives nothing.
std::optional<std::int32_t> try_evaluate_code_list(const t_base_list* code);

// The evaluator's registers: kinds 1..3 int32, 6..7 int64, 4 and 5 a byte,
// 8 a text. Writes with any other kind are ignored; reads give 0 or empty.
void set_register_int(std::int32_t value, std::int32_t kind);
void set_register_int64(std::int64_t value, std::int32_t kind);
void set_register_byte4(std::uint8_t value);
void set_register_byte5(std::uint8_t value);
void set_register_text(std::string text, std::int32_t kind);
std::int32_t get_register_int(std::int32_t kind);
std::int64_t get_register_int64(std::int32_t kind);
std::uint8_t get_register_byte4();
std::uint8_t get_register_byte5();
std::string get_register_text(std::int32_t kind);

}  // namespace zantrope
