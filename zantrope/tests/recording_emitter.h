#pragma once
// A code emitter for tests: each instruction is a record of its opcode
// name and operands as one text, so a code list compares as a list of
// texts. The emitter owns every instruction it or the test made.
#include <memory>
#include <string>
#include <vector>

#include "compiler/Classes_base.h"
#include "compiler/Classes_literal.h"
#include "compiler/Code_emitter.h"
#include "compiler/Diagnostics.h"

namespace zantrope::testing {

class recorded_instruction : public t_base_item {
 public:
  recorded_instruction(std::string text, std::string literal)
      : text(std::move(text)), literal(std::move(literal)) {}
  void append_to(t_base_list& target) override { target.add(this); }
  std::string text;
  std::string literal;  // the first argument's literal or name
};

class recording_emitter : public t_code_emitter {
 public:
  // A code list of instructions that stand for an expression's code.
  std::unique_ptr<t_base_list_storage> code(std::initializer_list<std::string> texts,
                                            std::string literal = {}) {
    auto list = std::make_unique<t_base_list_storage>();
    for (const std::string& t : texts) list->add(make(t, literal));
    return list;
  }
  static std::vector<std::string> texts(const t_base_list* list) {
    std::vector<std::string> out;
    if (!list) return out;
    for (const t_base_item* item : list->items())
      out.push_back(static_cast<const recorded_instruction*>(item)->text);
    return out;
  }

  std::string new_label() override { return "label_" + std::to_string(labels_++); }
  std::int32_t next_result_slot() override { return ++slots_; }
  void emit_label(t_base_list& l, const std::string& label) override { op(l, "LABEL " + label); }
  void emit_goto(t_base_list& l, const std::string& label) override { op(l, "GOTO " + label); }
  void emit_gotrue(t_base_list& l, const std::string& label) override { op(l, "GOTRUE " + label); }
  void emit_setstate(t_base_list& l, std::int32_t r) override { op(l, "SETSTATE " + n(r)); }
  void emit_setstate2(t_base_list& l, std::int32_t s) override { op(l, "SETSTATE2 " + n(s)); }
  void emit_getref(t_base_list& l, std::int32_t rel, std::int32_t r) override {
    op(l, "GETREF " + n(rel) + " " + n(r));
  }
  void emit_getref2(t_base_list& l, std::int32_t rel, std::int32_t s) override {
    op(l, "GETREF2 " + n(rel) + " " + n(s));
  }
  void emit_get_obj_id(t_base_list& l, std::int32_t from, std::int32_t to) override {
    op(l, "GET_OBJ_ID " + n(from) + " " + n(to));
  }
  void emit_getbool(t_base_list& l, std::int32_t from, std::int32_t to) override {
    op(l, "GETBOOL " + n(from) + " " + n(to));
  }
  void emit_check_eq(t_base_list& l, std::int32_t a, std::int32_t b, std::int32_t out) override {
    op(l, "CHECK_EQ " + n(a) + " " + n(b) + " " + n(out));
  }
  void emit_report(t_base_list& l, const std::string& text) override { op(l, "REPORT " + text); }
  void emit_severity(t_base_list& l, const std::string& text) override {
    op(l, "SEVERITY " + text);
  }
  void emit_range_choice(t_base_list& l, std::int32_t selector, const t_base_item& range,
                         const std::string& label) override {
    std::string text;
    range.to_text(text);
    op(l, "RANGE_CHOICE " + n(selector) + " " + text + " " + label);
  }
  std::unique_ptr<t_base_list_storage> emit_component_instantiation(
      const t_name_simple& unit, const t_base_list& associations,
      const t_name_simple* label) override {
    auto list = std::make_unique<t_base_list_storage>();
    op(*list, "COMPONENT_INSTANTIATION " + unit.token_text() + " " + n(associations.count()) +
                  (label ? " " + label->token_text() : std::string()));
    return list;
  }
  std::string last_instruction_literal(const t_base_list& code) override {
    return code.count() ? static_cast<const recorded_instruction*>(code.get(code.count() - 1))->literal
                        : std::string();
  }
  std::string arg_name_text(const t_base_list& code) override {
    return last_instruction_literal(code);
  }

 private:
  static std::string n(std::int32_t v) { return std::to_string(v); }
  recorded_instruction* make(const std::string& text, const std::string& literal) {
    owned_.push_back(std::make_unique<recorded_instruction>(text, literal));
    return owned_.back().get();
  }
  void op(t_base_list& list, const std::string& text) { list.add(make(text, {})); }
  std::vector<std::unique_ptr<recorded_instruction>> owned_;
  int labels_ = 0;
  std::int32_t slots_ = 0;
};

}  // namespace zantrope::testing
