#pragma once
// Statement nodes. The compound statements (case, assertion, report) keep
// their parts as code lists and produce their code on request
// (publish_this); concurrent statements carry what the elaboration walks.
// A statement owns its child nodes and the list objects of its code lists;
// the instructions in those lists belong to the code generator.
#include <cstdint>
#include <memory>
#include <string>

#include "compiler/Classes_parser_objects.h"
#include "compiler/Code_emitter.h"

namespace zantrope {

using t_code_list = t_base_list_storage;

class t_statement_sequential : public t_statement {
 public:
  bool is_sequential() const override { return true; }
};

// A text item: a name among the run-time lists.
class t_string : public t_base_item {
 public:
  explicit t_string(std::string text) : text(std::move(text)) {}
  std::uint8_t class_id() const override { return class_ids::string_item; }
  bool has_name() const override { return true; }
  std::string item_name() const override { return text; }
  std::string text;
};

// A signal name a concurrent statement reacts to; the elaboration binds it
// to the signal (which the entry does not own).
class t_sensitivity_list_item : public t_string {
 public:
  using t_string::t_string;
  std::uint8_t class_id() const override { return class_ids::sensitivity_list_item; }
  t_base_item* signal = nullptr;
};

class t_statement_concurent : public t_statement {
 public:
  bool is_concurrent() const override { return true; }
  // The names of the signals the statement reacts to; null when it keeps
  // none.
  virtual t_base_list* trigger_list() { return nullptr; }
  std::string label;
};

// Stores `signal` in the trigger entry named `name` (case-insensitive) of
// every concurrent statement of the list that has such an entry.
void bind_trigger_signal(const t_base_list& statements, const std::string& name,
                         t_base_item* signal);

// One association of a generic or port map: the formal's name and the
// actual's code list (whose instructions belong to the code generator).
class t_association_list_named_item : public t_base_item_storage {
 public:
  t_association_list_named_item(std::string formal, std::unique_ptr<t_base_list_storage> actual)
      : formal(std::move(formal)), actual(std::move(actual)) {}
  std::string formal;
  std::unique_ptr<t_base_list_storage> actual;
};

// A generic or port map: its association items, which it owns.
class t_map : public t_base_item {
 public:
  explicit t_map(std::unique_ptr<t_base_list_storage> associations);
  ~t_map() override;
  std::uint8_t class_id() const override { return class_ids::map; }
  const t_base_list_storage& associations() const { return *associations_; }

 private:
  std::unique_ptr<t_base_list_storage> associations_;
};

class t_map_generic : public t_map {
 public:
  using t_map::t_map;
  std::uint8_t class_id() const override { return class_ids::map_generic; }
};

class t_map_port : public t_map {
 public:
  using t_map::t_map;
  std::uint8_t class_id() const override { return class_ids::map_port; }
};

// An instance of a component: the distinct signal names its port map uses
// as actuals, and its one COMPONENT_INSTANTIATION instruction.
class t_statement_component_instantiation : public t_statement_concurent {
 public:
  // The maps are the generic map and the port map in either order (each
  // may be null); the triggers come from the port map.
  t_statement_component_instantiation(std::unique_ptr<t_name_simple> component,
                                      std::unique_ptr<t_map> first_map,
                                      std::unique_ptr<t_map> second_map, t_code_emitter& emitter);
  ~t_statement_component_instantiation() override;
  std::uint8_t class_id() const override { return class_ids::statement_component_instantiation; }
  t_base_list* trigger_list() override { return triggers_.get(); }
  const t_base_list_storage& triggers() const { return *triggers_; }
  const t_code_list& instance_code() const { return *instance_code_; }
  const t_name_simple& component() const { return *component_; }
  const t_map* generic_map() const;
  const t_map* port_map() const;

 private:
  std::unique_ptr<t_base_list_storage> triggers_;
  std::unique_ptr<t_code_list> instance_code_;
  std::unique_ptr<t_map> second_map_;
  std::unique_ptr<t_map> first_map_;
  std::unique_ptr<t_name_simple> component_;
};

// A concurrent signal assignment: the names its waveform reads, its code
// and its target's code.
class t_statement_signal_assignment : public t_statement_concurent {
 public:
  t_statement_signal_assignment(std::unique_ptr<t_base_list_storage> sensitivity,
                                std::unique_ptr<t_code_list> code,
                                std::unique_ptr<t_code_list> target);
  ~t_statement_signal_assignment() override;
  std::uint8_t class_id() const override { return class_ids::statement_signal_assignment; }
  t_base_list* trigger_list() override { return sensitivity_.get(); }
  const t_code_list& code() const { return *code_; }
  const t_code_list* target() const { return target_.get(); }

 private:
  std::unique_ptr<t_base_list_storage> sensitivity_;
  std::unique_ptr<t_code_list> code_;
  std::unique_ptr<t_code_list> target_;
};

// An elsif branch (its condition and statements) and an else branch (its
// statements) of an if statement.
class t_statement_elsif : public t_statement_sequential {
 public:
  t_statement_elsif(std::unique_ptr<t_code_list> condition, std::unique_ptr<t_code_list> statements)
      : condition_(std::move(condition)), statements_(std::move(statements)) {}
  std::uint8_t class_id() const override { return class_ids::statement_elsif; }
  const t_code_list* condition() const { return condition_.get(); }
  const t_code_list* statements() const { return statements_.get(); }

 private:
  std::unique_ptr<t_code_list> condition_;
  std::unique_ptr<t_code_list> statements_;
};

class t_statement_else : public t_statement_sequential {
 public:
  explicit t_statement_else(std::unique_ptr<t_code_list> statements)
      : statements_(std::move(statements)) {}
  std::uint8_t class_id() const override { return class_ids::statement_else; }
  const t_code_list* statements() const { return statements_.get(); }

 private:
  std::unique_ptr<t_code_list> statements_;
};

class t_statement_severity : public t_statement_sequential {
 public:
  explicit t_statement_severity(std::unique_ptr<t_code_list> expression)
      : expression_(std::move(expression)) {}
  std::uint8_t class_id() const override { return class_ids::statement_severity; }
  const t_code_list* expression() const { return expression_.get(); }

 private:
  std::unique_ptr<t_code_list> expression_;
};

class t_statement_report : public t_statement_sequential {
 public:
  explicit t_statement_report(std::unique_ptr<t_code_list> message,
                              std::unique_ptr<t_code_list> severity = nullptr);
  std::uint8_t class_id() const override { return class_ids::statement_report; }
  const t_code_list* message() const { return message_.get(); }
  const t_statement_severity* severity() const { return severity_.get(); }
  // REPORT with the message's literal, then SEVERITY when there is one.
  std::unique_ptr<t_base_list_storage> publish_this(t_code_emitter& emitter) override;
  // Appends REPORT (and SEVERITY) to a list.
  void emit_into(t_base_list& code, t_code_emitter& emitter) const;

 private:
  std::unique_ptr<t_code_list> message_;
  std::unique_ptr<t_statement_severity> severity_;
};

class t_statement_assertion : public t_statement_sequential {
 public:
  t_statement_assertion(std::unique_ptr<t_code_list> condition, std::unique_ptr<t_code_list> report,
                        std::unique_ptr<t_code_list> severity);
  std::uint8_t class_id() const override { return class_ids::statement_assertion; }
  // The condition, its test and a jump over the message when it holds;
  // SEVERITY before REPORT.
  std::unique_ptr<t_base_list_storage> publish_this(t_code_emitter& emitter) override;

 private:
  std::unique_ptr<t_code_list> condition_;
  std::unique_ptr<t_statement_report> report_;
  std::unique_ptr<t_statement_severity> severity_;
};

// One choice of a case alternative: an expression, a range or `others`.
class t_choice : public t_base_item {
 public:
  static constexpr std::uint8_t kExpression = 0;
  static constexpr std::uint8_t kRange = 1;
  static constexpr std::uint8_t kOthers = 2;
  explicit t_choice(std::unique_ptr<t_code_list> expression)
      : expression_(std::move(expression)), kind_(kExpression) {}
  explicit t_choice(std::unique_ptr<t_base_item> range) : range_(std::move(range)), kind_(kRange) {}
  t_choice() : kind_(kOthers) {}
  std::uint8_t class_id() const override { return class_ids::choice; }
  std::uint8_t choice_kind() const { return kind_; }
  const t_code_list* expression() const { return expression_.get(); }
  t_code_list* expression() { return expression_.get(); }
  const t_base_item* range() const { return range_.get(); }

 private:
  std::unique_ptr<t_code_list> expression_;
  std::unique_ptr<t_base_item> range_;
  std::uint8_t kind_;
};

class t_statement_case_alternative : public t_statement_sequential {
 public:
  // choices: a list of t_choice, which the alternative owns.
  t_statement_case_alternative(std::unique_ptr<t_base_list_storage> choices,
                               std::unique_ptr<t_code_list> statements);
  ~t_statement_case_alternative() override;
  std::uint8_t class_id() const override { return class_ids::statement_case_alternative; }
  const t_base_list_storage& choices() const { return *choices_; }
  const t_code_list& statements() const { return *statements_; }
  t_code_list& statements() { return *statements_; }

 private:
  std::unique_ptr<t_base_list_storage> choices_;
  std::unique_ptr<t_code_list> statements_;
};

class t_statement_case : public t_statement_sequential {
 public:
  // alternatives: a list of t_statement_case_alternative, owned.
  t_statement_case(std::unique_ptr<t_code_list> selector,
                   std::unique_ptr<t_base_list_storage> alternatives);
  ~t_statement_case() override;
  std::uint8_t class_id() const override { return class_ids::statement_case; }
  const t_base_list_storage& alternatives() const { return *alternatives_; }
  // Compares the selector with each choice in order and runs the body of
  // the first alternative that matches.
  std::unique_ptr<t_base_list_storage> publish_this(t_code_emitter& emitter) override;

 private:
  std::unique_ptr<t_code_list> selector_;
  std::unique_ptr<t_base_list_storage> alternatives_;
};

// A process: its sensitivity (or wait) information, its code and its
// declarative part.
class t_statement_process_body : public t_statement_concurent {
 public:
  // A sensitivity list is a list of t_sensitivity_list_item.
  t_statement_process_body(std::unique_ptr<t_base_item> sensitivity, std::unique_ptr<t_code_list> code,
                           std::unique_ptr<t_base_list_storage> declarations);
  ~t_statement_process_body() override;
  std::uint8_t class_id() const override { return class_ids::statement_process_body; }
  const t_base_item* sensitivity() const { return sensitivity_.get(); }
  t_base_list* trigger_list() override { return dynamic_cast<t_base_list*>(sensitivity_.get()); }
  const t_code_list& code() const { return *code_; }
  const t_base_list_storage& declarations() const { return *declarations_; }

 private:
  std::unique_ptr<t_base_item> sensitivity_;
  std::unique_ptr<t_code_list> code_;
  std::unique_ptr<t_base_list_storage> declarations_;
};

}  // namespace zantrope
