#pragma once
// The pseudo-code opcodes and what the statement classes need of the code
// generator: labels, result slots and the emitters that append one
// instruction to a code list. The code generator implements it; statements
// build their code through it (publish_this).
#include <cstdint>
#include <memory>
#include <string>

namespace zantrope {

class t_base_item;
class t_base_list;
class t_base_list_storage;
class t_name_simple;

enum class pseudo_opcode : std::uint8_t {
  PSEUDO_MARK = 1,
  IMMEDIATE,
  UNARY_OP,
  BINARY_OP,
  OP_FINISHED,
  SIGNAL_ASSIGNMENT,
  COMPONENT_INSTANTIATION,
  WAIT,
  WAIT_ON,
  WAIT_FOR,
  WAIT_UNTIL,
  PSEUDO_CHECKRANGE,
  PSEUDO_LABEL,
  PSEUDO_GOTO,
  PSEUDO_GOFALSE,
  PSEUDO_GOTRUE,
  PSEUDO_SETSTATE,
  PSEUDO_SETSTATE2,
  PSEUDO_GET_OBJ_ID,
  PSEUDO_GETREF,
  PSEUDO_GETREF2,
  PSEUDO_GETBOOL,
  PSEUDO_SETVAR,
  PSEUDO_SETVAR_BY_NAME,
  PSEUDO_SET_RANGE,
  PSEUDO_CHECK_EQ,
  PSEUDO_NULL,
  PSEUDO_SET_ITEM_REF2,
  PSEUDO_VAR_ASSIGNMENT,
  PSEUDO_VAR_ASSIGNMENT2,
  PSEUDO_VAR_INCREMENT,
  PSEUDO_REPORT,
  PSEUDO_SEVERITY,
  PSEUDO_RETURN,
  PSEUDO_INDEXED_NAME,
  PSEUDO_INFO_AGGREGATE_BEGIN,
  PSEUDO_INFO_AGGREGATE_END,
  PSEUDO_SIGNAL_ASSIGNMENT_END,
};

// Registers of the evaluator that generated code names.
namespace registers {
inline constexpr std::int32_t value_index = 1;  // index of the value just computed
inline constexpr std::int32_t class_id = 4;     // a value's class id
inline constexpr std::int32_t condition = 5;    // the boolean of a condition
}  // namespace registers

class t_code_emitter {
 public:
  virtual ~t_code_emitter() = default;

  // "label_" and the next value of the label counter.
  virtual std::string new_label() = 0;
  // The next result-slot number.
  virtual std::int32_t next_result_slot() = 0;

  virtual void emit_label(t_base_list& list, const std::string& label) = 0;
  virtual void emit_goto(t_base_list& list, const std::string& label) = 0;
  virtual void emit_gotrue(t_base_list& list, const std::string& label) = 0;
  virtual void emit_setstate(t_base_list& list, std::int32_t reg) = 0;
  virtual void emit_setstate2(t_base_list& list, std::int32_t slot) = 0;
  virtual void emit_getref(t_base_list& list, std::int32_t rel, std::int32_t reg) = 0;
  virtual void emit_getref2(t_base_list& list, std::int32_t rel, std::int32_t slot) = 0;
  virtual void emit_get_obj_id(t_base_list& list, std::int32_t from, std::int32_t to) = 0;
  virtual void emit_getbool(t_base_list& list, std::int32_t from, std::int32_t to) = 0;
  virtual void emit_check_eq(t_base_list& list, std::int32_t a, std::int32_t b,
                             std::int32_t out) = 0;
  virtual void emit_report(t_base_list& list, const std::string& text) = 0;
  virtual void emit_severity(t_base_list& list, const std::string& text) = 0;
  // Jumps to `label` when the value in result slot `selector` lies within
  // the range (a case choice such as `0 to 3` or `7 downto 4`).
  virtual void emit_range_choice(t_base_list& list, std::int32_t selector,
                                 const t_base_item& range, const std::string& label) = 0;

  // A new code list holding one COMPONENT_INSTANTIATION of `unit` with the
  // association items (t_association_list_named_item) and, when given, the
  // label.
  virtual std::unique_ptr<t_base_list_storage> emit_component_instantiation(
      const t_name_simple& unit, const t_base_list& associations, const t_name_simple* label) = 0;

  // The literal of the first argument of the last instruction of a code
  // list (a report message).
  virtual std::string last_instruction_literal(const t_base_list& code) = 0;
  // The argument name of the last instruction of a code list.
  virtual std::string arg_name_text(const t_base_list& code) = 0;
};

}  // namespace zantrope
