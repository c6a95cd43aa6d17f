#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "compiler/Classes_types.h"
#include "compiler/Statements.h"
#include "library_fixture.h"
#include "recording_emitter.h"

namespace zantrope {
namespace {

using Texts = std::vector<std::string>;

class Statements : public testing::LibraryFixture {
 protected:
  testing::recording_emitter emitter;
  Texts publish(t_statement& statement) {
    const auto code = statement.publish_this(emitter);
    return testing::recording_emitter::texts(code.get());
  }
  std::unique_ptr<t_base_list_storage> code(std::initializer_list<std::string> texts,
                                            std::string literal = {}) {
    return emitter.code(texts, std::move(literal));
  }
};

TEST_F(Statements, AssertionAndReport) {
  struct Case {
    const char* what;
    bool report, severity;
    Texts expected;
  };
  const Texts test = {"GETREF -1 1", "GET_OBJ_ID 1 4", "GETBOOL 1 5", "SETSTATE 5",
                      "GOTRUE label_0"};
  const auto with = [&](Texts middle) {
    Texts out = {"cond"};
    out.insert(out.end(), test.begin(), test.end());
    out.insert(out.end(), middle.begin(), middle.end());
    out.push_back("LABEL label_0");
    return out;
  };
  const Case cases[] = {
      {"neither", false, false, with({})},
      {"report", true, false, with({"REPORT boom"})},
      {"severity", false, true, with({"SEVERITY error"})},
      {"both: severity first", true, true, with({"SEVERITY error", "REPORT boom"})},
  };
  for (const Case& c : cases) {
    testing::recording_emitter fresh;
    t_statement_assertion assertion(fresh.code({"cond"}),
                                    c.report ? fresh.code({"msg"}, "boom") : nullptr,
                                    c.severity ? fresh.code({"sev"}, "error") : nullptr);
    const auto published = assertion.publish_this(fresh);
    EXPECT_EQ(testing::recording_emitter::texts(published.get()), c.expected) << c.what;
    EXPECT_EQ(assertion.class_id(), 78);
    EXPECT_TRUE(assertion.is_sequential());
  }

  t_statement_report report(code({"msg"}, "hello"), code({"sev"}, "note"));
  EXPECT_EQ(publish(report), (Texts{"REPORT hello", "SEVERITY note"}));
  t_statement_report plain(code({"msg"}, "hello"));
  EXPECT_EQ(publish(plain), (Texts{"REPORT hello"}));
  EXPECT_EQ(plain.severity(), nullptr);
}

TEST_F(Statements, CaseWithExpressionRangeAndOthersChoices) {
  // case sel is
  //   when 1 | 2 => a;
  //   when 4 to 7 => b;
  //   when others => c;
  // end case;
  auto alternatives = std::make_unique<t_base_list_storage>();
  auto first = std::make_unique<t_base_list_storage>();
  first->add(new t_choice(code({"one"})));
  first->add(new t_choice(code({"two"})));
  alternatives->add(new t_statement_case_alternative(std::move(first), code({"a"})));
  auto second = std::make_unique<t_base_list_storage>();
  second->add(new t_choice(std::unique_ptr<t_base_item>(new t_type_range(4, 7, kDirectionTo))));
  alternatives->add(new t_statement_case_alternative(std::move(second), code({"b"})));
  auto third = std::make_unique<t_base_list_storage>();
  third->add(new t_choice());
  alternatives->add(new t_statement_case_alternative(std::move(third), code({"c"})));
  t_statement_case statement(code({"sel"}), std::move(alternatives));

  std::string range_text;
  t_type_range(4, 7, kDirectionTo).to_text(range_text);
  const Texts expected = {
      "sel", "GETREF2 -1 1",
      // when 1 | 2: slots 3 and 4 (slot 2 is the alternative's flag)
      "one", "GETREF2 -1 3", "CHECK_EQ 1 3 1", "SETSTATE2 1", "GOTRUE label_1",
      "two", "GETREF2 -1 4", "CHECK_EQ 1 4 1", "SETSTATE2 1", "GOTRUE label_1",
      "GOTO label_2", "LABEL label_1", "a", "GOTO label_0", "LABEL label_2",
      // when 4 to 7: the range is tested, not dropped
      "RANGE_CHOICE 1 " + range_text + " label_3",
      "GOTO label_4", "LABEL label_3", "b", "GOTO label_0", "LABEL label_4",
      // when others: straight to the body
      "GOTO label_5", "GOTO label_6", "LABEL label_5", "c", "GOTO label_0", "LABEL label_6",
      "LABEL label_0"};
  EXPECT_EQ(publish(statement), expected);
  EXPECT_EQ(statement.class_id(), 81);
}

TEST_F(Statements, ComponentInstantiationTriggersComeFromThePortMap) {
  const auto map_of = [&](bool port, std::initializer_list<std::pair<const char*, const char*>> pairs)
      -> std::unique_ptr<t_map> {
    auto associations = std::make_unique<t_base_list_storage>();
    for (const auto& [formal, actual] : pairs)
      associations->add(new t_association_list_named_item(formal, code({"actual"}, actual)));
    if (port) return std::make_unique<t_map_port>(std::move(associations));
    return std::make_unique<t_map_generic>(std::move(associations));
  };
  const auto names_of = [](const t_base_list& list) {
    Texts out;
    for (const t_base_item* item : list.items()) out.push_back(item->item_name());
    return out;
  };
  // u1 : counter generic map (width => 8) port map (c => clk, r => reset, d => CLK);
  // given with the generic map first and, as another rule may pass them,
  // with the port map first.
  for (const bool port_first : {false, true}) {
    auto generics = map_of(false, {{"width", "8"}});
    auto ports = map_of(true, {{"c", "clk"}, {"r", "reset"}, {"d", "CLK"}});
    t_statement_component_instantiation instance(
        std::make_unique<t_name_simple>("counter"), port_first ? std::move(ports) : std::move(generics),
        port_first ? std::move(generics) : std::move(ports), emitter);
    EXPECT_EQ(names_of(instance.triggers()), (Texts{"clk", "reset"})) << port_first;
    EXPECT_EQ(testing::recording_emitter::texts(&instance.instance_code()),
              Texts{"COMPONENT_INSTANTIATION counter 3"});
    ASSERT_NE(instance.port_map(), nullptr);
    EXPECT_EQ(instance.port_map()->class_id(), 68);
    EXPECT_EQ(instance.generic_map()->class_id(), 67);
    EXPECT_TRUE(instance.is_concurrent());
    EXPECT_EQ(instance.class_id(), 74);
  }
}

TEST_F(Statements, BindTriggerSignal) {
  auto ports = std::make_unique<t_base_list_storage>();
  ports->add(new t_association_list_named_item("c", code({"actual"}, "clk")));
  t_base_list_storage statements;
  auto* instance = new t_statement_component_instantiation(
      std::make_unique<t_name_simple>("counter"), nullptr,
      std::make_unique<t_map_port>(std::move(ports)), emitter);
  statements.add(instance);
  auto sensitivity = std::make_unique<t_base_list_storage>();
  sensitivity->add(new t_sensitivity_list_item("Reset"));
  auto* process = new t_statement_process_body(std::move(sensitivity), nullptr, nullptr);
  statements.add(process);
  statements.add(new t_statement_severity(nullptr));  // not concurrent: skipped

  t_string clk_signal("clk"), reset_signal("reset"), other("other");
  bind_trigger_signal(statements, "CLK", &clk_signal);
  bind_trigger_signal(statements, "reset", &reset_signal);
  bind_trigger_signal(statements, "absent", &other);
  EXPECT_EQ(static_cast<t_sensitivity_list_item*>(instance->triggers().get(0))->signal,
            &clk_signal);
  EXPECT_EQ(static_cast<t_sensitivity_list_item*>(process->trigger_list()->get(0))->signal,
            &reset_signal);
  statements.delete_items();
}

TEST_F(Statements, KindsAndTheAbstractDefault) {
  t_choice others;
  EXPECT_EQ(others.choice_kind(), t_choice::kOthers);
  EXPECT_EQ(others.class_id(), 83);
  t_statement_process_body process(nullptr, code({"wait"}), nullptr);
  EXPECT_TRUE(process.is_concurrent());
  EXPECT_FALSE(process.is_sequential());
  EXPECT_EQ(process.label, "");
  EXPECT_EQ(process.class_id(), 75);
  EXPECT_EQ(publish(process), Texts{});
  ASSERT_EQ(shown_.texts.size(), 1u);
  EXPECT_EQ(shown_.texts[0], "t_statement::publish_this() abstract");
  t_statement_severity severity(code({"s"}));
  EXPECT_EQ(severity.class_id(), 80);
}

}  // namespace
}  // namespace zantrope
