#include <gtest/gtest.h>

#include <memory>

#include "compiler/Classes_types.h"
#include "compiler/Declarations.h"
#include "compiler/Globals.h"
#include "library_fixture.h"

namespace zantrope {
namespace {

class Declarations : public testing::LibraryFixture {};

std::unique_ptr<t_base_list_storage> names(std::initializer_list<const char*> words) {
  auto list = std::make_unique<t_base_list_storage>();
  for (const char* w : words) list->add(new t_name_simple(w));
  return list;
}

std::unique_ptr<t_indication_subtype> subtype(const char* type_mark) {
  return std::make_unique<t_indication_subtype>(std::make_unique<t_name_simple>(type_mark),
                                                nullptr);
}

// function f(a, b : <first>; c : <second>) return ...
std::unique_ptr<t_declaration_subprogram> function_of(const char* first, const char* second) {
  auto parameters = std::make_unique<t_base_list_storage>();
  parameters->add(new t_parameter_specification(names({"a", "b"}), subtype(first)));
  parameters->add(new t_interf_element(names({"c"}), subtype(second)));
  return std::make_unique<t_declaration_subprogram>(std::make_unique<t_name_simple>("f"),
                                                    std::move(parameters), subtype("bit"));
}

// An argument list that frees its items.
struct owning_list : t_base_list_storage {
  ~owning_list() override { delete_items(); }
};

std::unique_ptr<owning_list> arguments(
    std::initializer_list<std::pair<const char*, std::uint8_t>> types) {
  auto list = std::make_unique<owning_list>();
  for (const auto& [type, literal] : types) list->add(new t_argument_signature_item(type, literal));
  return list;
}

TEST_F(Declarations, AcceptsSignatures) {
  struct Case {
    const char* first;
    const char* second;
    std::initializer_list<std::pair<const char*, std::uint8_t>> args;
    bool accepted;
  };
  const Case cases[] = {
      {"integer", "bit", {{"integer", 0}, {"integer", 0}, {"bit", 0}}, true},
      {"std_logic", "bit", {{"std_ulogic", 0}, {"std_logic", 0}, {"bit", 0}}, true},
      {"std_ulogic", "std_logic", {{"std_logic", 0}, {"std_ulogic", 0}, {"std_ulogic", 0}}, true},
      {"integer", "bit", {{"natural", 1}, {"integer", 0}, {"bit", 0}}, true},
      {"natural", "bit", {{"integer", 1}, {"natural", 0}, {"bit", 0}}, true},
      {"integer", "bit", {{"natural", 0}, {"integer", 0}, {"bit", 0}}, false},
      {"integer", "bit", {{"integer", 0}, {"integer", 0}, {"boolean", 0}}, false},
      {"integer", "bit", {{"INTEGER", 0}, {"integer", 0}, {"bit", 0}}, false},
      // fewer arguments than parameter identifiers, and more
      {"integer", "bit", {{"integer", 0}, {"integer", 0}}, false},
      {"integer", "bit", {}, false},
      {"integer", "bit", {{"integer", 0}, {"integer", 0}, {"bit", 0}, {"bit", 0}}, false},
  };
  for (const Case& c : cases) {
    const auto f = function_of(c.first, c.second);
    EXPECT_EQ(f->accepts(*arguments(c.args)), c.accepted)
        << c.first << "/" << c.second << " with " << c.args.size() << " arguments";
  }
  EXPECT_EQ(function_of("integer", "bit")->parameter_count(), 3);
}

TEST_F(Declarations, SubprogramSearchUsesTheSignature) {
  t_base_list_storage declarations;
  declarations.add(function_of("integer", "bit").release());
  declarations.add(function_of("bit", "bit").release());
  const auto bits = arguments({{"bit", 0}, {"bit", 0}, {"bit", 0}});
  EXPECT_EQ(declarations.find_declaration_upper(43, "F", bits.get()), declarations.get(1));
  const auto too_few = arguments({{"bit", 0}});
  EXPECT_EQ(declarations.find_declaration_upper(43, "F", too_few.get()), nullptr);
  declarations.delete_items();
}

TEST_F(Declarations, NamesAndKinds) {
  auto literal_token = std::make_unique<t_token>(1, "\"and\"", 5);
  literal_token->strip_quotes();
  const t_declaration_subprogram op(std::make_unique<t_literal_string>(literal_token.get()), nullptr,
                                    subtype("bit"));
  EXPECT_EQ(op.is_operator(), 1);
  EXPECT_EQ(op.get_name(), "and");
  EXPECT_FALSE(op.is_procedure());

  const t_declaration_subprogram procedure(std::make_unique<t_name_simple>("Step"), nullptr,
                                           nullptr);
  EXPECT_EQ(procedure.is_operator(), 0);
  EXPECT_TRUE(procedure.is_procedure());
  EXPECT_EQ(procedure.get_name(), "Step");
  EXPECT_TRUE(procedure.accepts(t_base_list()));

  const t_subprogram_body body(
      std::make_unique<t_declaration_subprogram>(std::make_unique<t_name_simple>("g"), nullptr,
                                                 nullptr),
      nullptr, nullptr);
  EXPECT_EQ(body.get_name(), "g");
  EXPECT_EQ(body.class_id(), 32);

  const t_declaration_signal signal(names({"a", "b"}), subtype("bit"), nullptr);
  EXPECT_EQ(signal.name(), "a");
  EXPECT_EQ(signal.get_name(), "");
  EXPECT_EQ(signal.identifiers().count(), 2);

  const t_declaration_alias alias(std::make_unique<t_name_simple>("lo"), nullptr, nullptr);
  EXPECT_EQ(alias.get_name(), "lo");

  const t_declaration_variable variable(names({"v"}), nullptr, nullptr);
  EXPECT_EQ(variable.get_name(), "");

  const t_declaration_subtype sub(std::make_unique<t_name_simple>("nibble"), subtype("integer"));
  EXPECT_EQ(sub.get_name(), "nibble");
  current_identifier = "x";
  EXPECT_EQ(subtype_base_type_name(sub), "integer");
  EXPECT_EQ(current_identifier, "integer");

  for (const t_declaration* d : std::initializer_list<const t_declaration*>{
           &op, &body, &signal, &alias, &variable, &sub}) {
    EXPECT_TRUE(d->is_declaration());
    EXPECT_TRUE(d->is_storage());
  }
  EXPECT_EQ(op.class_id(), 43);
  EXPECT_EQ(signal.class_id(), 38);
  EXPECT_EQ(alias.class_id(), 45);
  EXPECT_EQ(variable.class_id(), 44);
  EXPECT_EQ(sub.class_id(), 40);
  EXPECT_TRUE(shown_.texts.empty());
}

TEST_F(Declarations, ConstantsFoundByAnyOfTheirNames) {
  t_base_list_storage declarations;
  declarations.add(new t_declaration_constant(names({"lo", "hi"}), subtype("integer"), nullptr));
  EXPECT_EQ(declarations.find_declaration(42, "hi"), declarations.get(0));
  EXPECT_EQ(static_cast<t_declaration*>(declarations.get(0))->get_name(), "lo");
  declarations.delete_items();

  const t_declaration_constant nameless(nullptr, subtype("integer"), nullptr);
  EXPECT_EQ(nameless.get_name(), "");
  ASSERT_EQ(shown_.texts.size(), 1u);
  EXPECT_EQ(shown_.texts[0], "t_declaration_constant::get_name() not possible");
  EXPECT_EQ(abort_flag, 0);
}

TEST_F(Declarations, IterationSchemes) {
  const t_iteration_scheme loop_for(
      t_iteration_scheme::kFor,
      std::make_unique<t_parameter_specification>(std::make_unique<t_name_simple>("i"),
                                                  std::make_unique<t_type_range>()));
  EXPECT_EQ(loop_for.scheme_kind(), 0);
  ASSERT_NE(loop_for.parameter(), nullptr);
  EXPECT_EQ(loop_for.parameter()->get_name(), "i");
  EXPECT_NE(loop_for.parameter()->discrete_range(), nullptr);
  const t_iteration_scheme loop_while(t_iteration_scheme::kWhile,
                                      std::make_unique<t_base_list_storage>());
  EXPECT_EQ(loop_while.scheme_kind(), 1);
  EXPECT_NE(loop_while.condition(), nullptr);
  EXPECT_EQ(loop_while.get_name(), "");
  EXPECT_EQ(loop_while.class_id(), 34);
}

}  // namespace
}  // namespace zantrope
