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

class t_statement_concurent : public t_statement {
 public:
  bool is_concurrent() const override { return true; }
  std::string label;
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
  t_statement_process_body(std::unique_ptr<t_base_item> sensitivity, std::unique_ptr<t_code_list> code,
                           std::unique_ptr<t_base_list_storage> declarations);
  ~t_statement_process_body() override;
  std::uint8_t class_id() const override { return class_ids::statement_process_body; }
  const t_base_item* sensitivity() const { return sensitivity_.get(); }
  const t_code_list& code() const { return *code_; }
  const t_base_list_storage& declarations() const { return *declarations_; }

 private:
  std::unique_ptr<t_base_item> sensitivity_;
  std::unique_ptr<t_code_list> code_;
  std::unique_ptr<t_base_list_storage> declarations_;
};

}  // namespace zantrope
