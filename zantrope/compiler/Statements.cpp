#include "compiler/Statements.h"

namespace zantrope {

namespace {
// Appends the instructions of a code list (each instruction appends
// itself); a list is published once.
void append_code(const std::unique_ptr<t_code_list>& code, t_base_list& target) {
  if (code) code->append_to(target);
}
}  // namespace

t_statement_report::t_statement_report(std::unique_ptr<t_code_list> message,
                                       std::unique_ptr<t_code_list> severity)
    : message_(std::move(message)) {
  if (severity) severity_ = std::make_unique<t_statement_severity>(std::move(severity));
}

void t_statement_report::emit_into(t_base_list& code, t_code_emitter& emitter) const {
  emitter.emit_report(code, message_ ? emitter.last_instruction_literal(*message_) : std::string());
  if (severity_ && severity_->expression())
    emitter.emit_severity(code, emitter.arg_name_text(*severity_->expression()));
}

std::unique_ptr<t_base_list_storage> t_statement_report::publish_this(t_code_emitter& emitter) {
  auto code = std::make_unique<t_base_list_storage>();
  emit_into(*code, emitter);
  return code;
}

t_statement_assertion::t_statement_assertion(std::unique_ptr<t_code_list> condition,
                                             std::unique_ptr<t_code_list> report,
                                             std::unique_ptr<t_code_list> severity)
    : condition_(std::move(condition)) {
  if (report) report_ = std::make_unique<t_statement_report>(std::move(report));
  if (severity) severity_ = std::make_unique<t_statement_severity>(std::move(severity));
}

std::unique_ptr<t_base_list_storage> t_statement_assertion::publish_this(t_code_emitter& emitter) {
  auto code = std::make_unique<t_base_list_storage>();
  const std::string end = emitter.new_label();
  append_code(condition_, *code);
  emitter.emit_getref(*code, -1, registers::value_index);
  emitter.emit_get_obj_id(*code, registers::value_index, registers::class_id);
  emitter.emit_getbool(*code, registers::value_index, registers::condition);
  emitter.emit_setstate(*code, registers::condition);
  emitter.emit_gotrue(*code, end);
  if (severity_ && severity_->expression())
    emitter.emit_severity(*code, emitter.arg_name_text(*severity_->expression()));
  if (report_)
    emitter.emit_report(*code, report_->message()
                                   ? emitter.last_instruction_literal(*report_->message())
                                   : std::string());
  emitter.emit_label(*code, end);
  return code;
}

t_statement_case_alternative::t_statement_case_alternative(
    std::unique_ptr<t_base_list_storage> choices, std::unique_ptr<t_code_list> statements)
    : choices_(list_or_empty(std::move(choices))), statements_(list_or_empty(std::move(statements))) {}

t_statement_case_alternative::~t_statement_case_alternative() { choices_->delete_items(); }

t_statement_case::t_statement_case(std::unique_ptr<t_code_list> selector,
                                   std::unique_ptr<t_base_list_storage> alternatives)
    : selector_(std::move(selector)), alternatives_(list_or_empty(std::move(alternatives))) {}

t_statement_case::~t_statement_case() { alternatives_->delete_items(); }

std::unique_ptr<t_base_list_storage> t_statement_case::publish_this(t_code_emitter& emitter) {
  auto code = std::make_unique<t_base_list_storage>();
  const std::string end = emitter.new_label();
  const std::int32_t selector = emitter.next_result_slot();
  append_code(selector_, *code);
  emitter.emit_getref2(*code, -1, selector);
  for (t_base_item* item : alternatives_->items()) {
    auto* alternative = dynamic_cast<t_statement_case_alternative*>(item);
    if (!alternative) continue;
    const std::string body = emitter.new_label();
    const std::string next = emitter.new_label();
    const std::int32_t flag = emitter.next_result_slot();
    (void)flag;  // the comparison flag is slot 1 whatever was drawn
    for (t_base_item* choice_item : alternative->choices().items()) {
      auto* choice = dynamic_cast<t_choice*>(choice_item);
      if (!choice) continue;
      switch (choice->choice_kind()) {
        case t_choice::kExpression: {
          const std::int32_t value = emitter.next_result_slot();
          if (t_code_list* expression = choice->expression()) expression->append_to(*code);
          emitter.emit_getref2(*code, -1, value);
          emitter.emit_check_eq(*code, selector, value, 1);
          emitter.emit_setstate2(*code, 1);
          emitter.emit_gotrue(*code, body);
          break;
        }
        case t_choice::kRange:
          if (choice->range()) emitter.emit_range_choice(*code, selector, *choice->range(), body);
          break;
        default:
          emitter.emit_goto(*code, body);
          break;
      }
    }
    emitter.emit_goto(*code, next);
    emitter.emit_label(*code, body);
    alternative->statements().append_to(*code);
    emitter.emit_goto(*code, end);
    emitter.emit_label(*code, next);
  }
  emitter.emit_label(*code, end);
  return code;
}

void bind_trigger_signal(const t_base_list& statements, const std::string& name,
                         t_base_item* signal) {
  for (t_base_item* item : statements.items()) {
    auto* statement = dynamic_cast<t_statement_concurent*>(item);
    t_base_list* triggers = statement ? statement->trigger_list() : nullptr;
    if (!triggers) continue;
    t_base_item* entry = nullptr;
    if (!triggers->find_item_by_name(name, entry)) continue;
    if (auto* trigger = dynamic_cast<t_sensitivity_list_item*>(entry)) trigger->signal = signal;
  }
}

t_map::t_map(std::unique_ptr<t_base_list_storage> associations)
    : associations_(list_or_empty(std::move(associations))) {}

t_map::~t_map() { associations_->delete_items(); }

t_statement_component_instantiation::t_statement_component_instantiation(
    std::unique_ptr<t_name_simple> component, std::unique_ptr<t_map> first_map,
    std::unique_ptr<t_map> second_map, t_code_emitter& emitter)
    : triggers_(std::make_unique<t_base_list_storage>()),
      second_map_(std::move(second_map)),
      first_map_(std::move(first_map)),
      component_(component ? std::move(component) : std::make_unique<t_name_simple>()) {
  // The elaboration looks each trigger up among the entity's ports, so the
  // names come from the port map, whichever place it was given in.
  const t_map* source = port_map();
  if (!source) source = first_map_ ? first_map_.get() : second_map_.get();
  static const t_base_list_storage no_associations;
  const t_base_list& associations = source ? source->associations() : no_associations;
  for (const t_base_item* item : associations.items()) {
    const auto* association = dynamic_cast<const t_association_list_named_item*>(item);
    if (!association || !association->actual) continue;
    const std::string actual = emitter.arg_name_text(*association->actual);
    if (actual.empty()) continue;
    std::int32_t index;
    if (triggers_->count() > 0 && triggers_->find_by_name(actual, index)) continue;
    triggers_->add(new t_sensitivity_list_item(actual));
  }
  instance_code_ = emitter.emit_component_instantiation(*component_, associations, nullptr);
  if (!instance_code_) instance_code_ = std::make_unique<t_code_list>();
}

t_statement_component_instantiation::~t_statement_component_instantiation() {
  triggers_->delete_items();
}

const t_map* t_statement_component_instantiation::generic_map() const {
  if (first_map_ && first_map_->class_id() == class_ids::map_generic) return first_map_.get();
  if (second_map_ && second_map_->class_id() == class_ids::map_generic) return second_map_.get();
  return nullptr;
}

const t_map* t_statement_component_instantiation::port_map() const {
  if (first_map_ && first_map_->class_id() == class_ids::map_port) return first_map_.get();
  if (second_map_ && second_map_->class_id() == class_ids::map_port) return second_map_.get();
  return nullptr;
}

t_statement_signal_assignment::t_statement_signal_assignment(
    std::unique_ptr<t_base_list_storage> sensitivity, std::unique_ptr<t_code_list> code,
    std::unique_ptr<t_code_list> target)
    : sensitivity_(list_or_empty(std::move(sensitivity))),
      code_(list_or_empty(std::move(code))),
      target_(std::move(target)) {}

t_statement_signal_assignment::~t_statement_signal_assignment() { sensitivity_->delete_items(); }

t_statement_process_body::t_statement_process_body(std::unique_ptr<t_base_item> sensitivity,
                                                   std::unique_ptr<t_code_list> code,
                                                   std::unique_ptr<t_base_list_storage> declarations)
    : sensitivity_(std::move(sensitivity)),
      code_(list_or_empty(std::move(code))),
      declarations_(list_or_empty(std::move(declarations))) {}

t_statement_process_body::~t_statement_process_body() {
  declarations_->delete_items();
  if (auto* names = dynamic_cast<t_base_list*>(sensitivity_.get())) names->delete_items();
}

}  // namespace zantrope
