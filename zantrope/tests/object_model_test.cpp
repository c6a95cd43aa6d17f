#include <gtest/gtest.h>

#include <memory>

#include "compiler/Classes_base.h"
#include "compiler/Classes_literal.h"
#include "compiler/Classes_parser_objects.h"
#include "compiler/Classes_types.h"
#include "compiler/Object_stream.h"
#include "library_fixture.h"
#include "recording_emitter.h"

namespace zantrope {
namespace {

class ObjectModel : public testing::LibraryFixture {};

// A declaration whose name is known, of any class id.
class named_declaration : public t_declaration {
 public:
  named_declaration(std::uint8_t id, std::string name) : id_(id), name_(std::move(name)) {}
  std::uint8_t class_id() const override { return id_; }
  std::string get_name() const override { return name_; }

 private:
  std::uint8_t id_;
  std::string name_;
};

// A constant declaration of several identifiers.
class constant_declaration : public named_declaration {
 public:
  explicit constant_declaration(std::initializer_list<const char*> names)
      : named_declaration(42, "") {
    for (const char* n : names) identifiers_.add(new t_name_simple(n));
  }
  ~constant_declaration() override { identifiers_.delete_items(); }
  const t_base_list* identifier_list() const override { return &identifiers_; }

 private:
  t_base_list_storage identifiers_;
};

// A subprogram that accepts calls with exactly `arity` arguments.
class subprogram_declaration : public named_declaration {
 public:
  subprogram_declaration(std::string name, int arity)
      : named_declaration(43, std::move(name)), arity_(arity) {}
  bool accepts_arguments(const t_base_list* arguments) const override {
    return arguments && arguments->count() == arity_;
  }

 private:
  int arity_;
};

TEST_F(ObjectModel, ClassIdsOfTheRootsAndTheStreamableClasses) {
  t_base base;
  t_base_item item;
  t_base_item_storage storage;
  t_base_list list;
  t_base_list_storage storage_list;
  EXPECT_EQ(base.class_id(), 0);
  EXPECT_EQ(item.class_id(), 2);
  EXPECT_EQ(storage.class_id(), 3);
  EXPECT_EQ(list.class_id(), 4);
  EXPECT_EQ(storage_list.class_id(), 4);
  EXPECT_EQ(base.base_class_id(), 0);
  EXPECT_TRUE(storage.is_storage());
  EXPECT_FALSE(item.is_storage());
  EXPECT_FALSE(list.is_storage());

  t_name_simple name("x");
  EXPECT_TRUE(name.has_name());
  EXPECT_EQ(name.item_name(), "x");
  std::string text = "kept";
  storage.to_text(text);
  EXPECT_EQ(text, "kept");
  name.to_text(text);
  EXPECT_EQ(text, "x");

  EXPECT_EQ(t_port_clause(nullptr).class_id(), 50);
  EXPECT_EQ(t_generic_clause(nullptr).class_id(), 49);
  EXPECT_EQ(t_library_unit_architecture_body("a", "e").class_id(), 101);
  EXPECT_EQ(t_type_array_constrained(nullptr, nullptr).class_id(), 14);
  t_declaration_type type;
  EXPECT_TRUE(type.is_declaration());
  EXPECT_TRUE(t_type_int().is_declaration());
  EXPECT_FALSE(t_design_unit().is_declaration());
}

TEST_F(ObjectModel, ClassIdTable) {
  t_statement statement;
  t_declaration declaration;
  t_library_unit library_unit;
  t_type_definition definition;
  t_type_scalar scalar;
  t_type_itemlist_base itemlist;
  t_type_composite composite;
  t_type_array array;
  t_literal_base literal_base("x");
  t_name name("x");
  t_literal literal("x");
  t_clause clause(nullptr);
  t_interf_element element(nullptr, nullptr);
  t_indication_subtype indication(nullptr, nullptr);
  t_library_unit_entity_decl entity("e", nullptr);
  t_library_unit_package_decl package;
  t_design_file file(nullptr);
  t_literal_character character;
  t_type_array_unconstrained unconstrained;
  const struct {
    const char* name;
    const t_base& object;
    int id;
  } rows[] = {
      {"t_statement", statement, 3},        {"t_declaration", declaration, 3},
      {"t_library_unit", library_unit, 3},  {"t_type_definition", definition, 3},
      {"t_type_scalar", scalar, 3},         {"t_type_itemlist_base", itemlist, 3},
      {"t_type_composite", composite, 3},   {"t_type_array", array, 3},
      {"t_literal_base", literal_base, 3},  {"t_name", name, 3},
      {"t_literal", literal, 3},            {"t_indication_subtype", indication, 29},
      {"t_clause", clause, 51},             {"t_interf_element", element, 52},
      {"t_literal_character", character, 54},
      {"t_type_array_unconstrained", unconstrained, 15},
      {"t_library_unit_entity_decl", entity, 99},
      {"t_library_unit_package_decl", package, 100},
      {"t_design_file", file, 104},
  };
  for (const auto& row : rows) EXPECT_EQ(row.object.class_id(), row.id) << row.name;
  EXPECT_FALSE(element.has_name());
  EXPECT_FALSE(statement.is_declaration());
  EXPECT_TRUE(library_unit.is_storage());
}

TEST_F(ObjectModel, DescriptorDataBuffers) {
  EXPECT_EQ(t_type_int().size(), 4u);
  EXPECT_EQ(t_type_int(-7).value(), -7);
  EXPECT_EQ(t_type_int64().size(), 8u);
  EXPECT_EQ(t_type_float().size(), 8u);
  EXPECT_EQ(t_type_char().size(), 2u);
  EXPECT_EQ(t_type_char().character(), '0');
  EXPECT_EQ(t_type_bool(true).data()[0], 1);
  EXPECT_EQ(t_type_bool().size(), 1u);
  EXPECT_EQ(t_type_enumeration().size(), 4u);
  EXPECT_EQ(data_size_of_class(11), 0u);
}

TEST_F(ObjectModel, EmptyListFindsNothingWithoutError) {
  t_base_list list;
  std::int32_t index = 5;
  t_base_item* item = &list;
  EXPECT_EQ(list.count(), 0);
  EXPECT_FALSE(list.find_by_name("a", index));
  EXPECT_EQ(index, -1);
  EXPECT_FALSE(list.find_item_by_name("a", item));
  EXPECT_EQ(item, nullptr);
  EXPECT_EQ(list.find_declaration(39, "a"), nullptr);
  EXPECT_EQ(list.find_declaration_upper(39, "a", nullptr), nullptr);
  EXPECT_EQ(list.find_by_index_name(39, &list), -1);
  t_memory_stream stream;
  list.write(stream);
  EXPECT_EQ(stream.bytes(), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(abort_flag, 0);
}

TEST_F(ObjectModel, NameSearchesIgnoreCaseDeclarationSearchesDoNot) {
  t_name_simple clk("clk"), reset("Reset"), clk2("CLK");
  t_base_list names;
  names.add(&clk);
  names.add(&reset);
  names.add(&clk2);
  std::int32_t index;
  EXPECT_TRUE(names.find_by_name("CLK", index));
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(names.find_by_name("reset", index));
  EXPECT_EQ(index, 1);
  t_base_item* found = nullptr;
  EXPECT_TRUE(names.find_item_by_name("rESET", found));
  EXPECT_EQ(found, &reset);

  named_declaration type_clk(39, "clk"), signal_clk(38, "clk");
  t_base_list declarations;
  declarations.add(&signal_clk);
  declarations.add(&type_clk);
  EXPECT_EQ(declarations.find_declaration(39, "CLK"), nullptr);
  EXPECT_EQ(declarations.find_declaration(39, "clk"), &type_clk);
  EXPECT_EQ(declarations.find_declaration(38, "clk"), &signal_clk);
  EXPECT_EQ(declarations.find_declaration_upper(39, "CLK", nullptr), &type_clk);
  EXPECT_EQ(declarations.find_by_index_name(39, &type_clk), 1);
  EXPECT_EQ(declarations.find_by_index_name(38, &type_clk), -1);
}

TEST_F(ObjectModel, ConstantsMatchAnyOfTheirIdentifiers) {
  constant_declaration constants({"width", "depth"});
  named_declaration other(42, "depth");
  t_base_list list;
  list.add(&other);
  list.add(&constants);
  EXPECT_EQ(list.find_declaration(42, "depth"), &constants);
  EXPECT_EQ(list.find_declaration(42, "DEPTH"), &constants);
  EXPECT_EQ(list.find_declaration(42, "size"), nullptr);
}

TEST_F(ObjectModel, SubprogramsMatchOnlyWithAcceptedArguments) {
  subprogram_declaration one("f", 1), two("F", 2);
  t_base_list list;
  list.add(&one);
  list.add(&two);
  t_base_list arguments;
  t_name_simple a("a"), b("b");
  arguments.add(&a);
  arguments.add(&b);
  EXPECT_EQ(list.find_declaration_upper(43, "f", &arguments), &two);
  arguments.remove(&b);
  EXPECT_EQ(list.find_declaration_upper(43, "f", &arguments), &one);
  arguments.clear();
  EXPECT_EQ(list.find_declaration_upper(43, "f", &arguments), nullptr);
}

TEST_F(ObjectModel, UnnamedItemStopsANameSearch) {
  t_name_simple a("a"), b("b");
  t_type_int unnamed;
  t_base_list list;
  list.add(&a);
  list.add(&unnamed);
  list.add(&b);
  std::int32_t index;
  EXPECT_FALSE(list.find_by_name("b", index));
  EXPECT_EQ(index, -1);
  EXPECT_EQ(abort_flag, 1);
  EXPECT_EQ(read_file("yyerror.txt"), "[Error] List item without a name\r\n");
  ASSERT_EQ(shown_.texts.size(), 1u);
  EXPECT_EQ(shown_.texts[0], "List item without a name");
  // An earlier match is found before the unnamed item is reached.
  abort_flag = 0;
  EXPECT_TRUE(list.find_by_name("A", index));
  EXPECT_EQ(abort_flag, 0);
}

TEST_F(ObjectModel, ListEditing) {
  t_name_simple a("a"), b("b"), c("c");
  t_base_list list;
  EXPECT_TRUE(list.add_checked(&a));
  list.add(&b);
  list.add(&a);
  list.remove(&a);  // the first entry only
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.get(0), &b);
  EXPECT_EQ(list.get(1), &a);
  list.put(0, &c);
  list.delete_at(1);
  ASSERT_EQ(list.count(), 1);
  EXPECT_EQ(list.get(0), &c);
  list.remove(&b);  // absent: nothing happens
  EXPECT_EQ(list.count(), 1);
  // Indexes outside the list change nothing.
  for (std::int32_t outside : {-1, 1, 7}) {
    EXPECT_THROW(list.delete_at(outside), std::out_of_range) << outside;
    EXPECT_THROW(list.get(outside), std::out_of_range) << outside;
    EXPECT_THROW(list.put(outside, &a), std::out_of_range) << outside;
  }
  ASSERT_EQ(list.count(), 1);
  EXPECT_EQ(list.get(0), &c);
  list.clear();
  EXPECT_EQ(list.count(), 0);
}

TEST_F(ObjectModel, AppendToPublishesOnce) {
  t_type_range first(0, 1, kDirectionTo), second(2, 3, kDirectionTo);
  t_name_simple not_published("n");
  t_base_list source, target;
  source.add(&first);
  source.add(&not_published);
  source.add(&second);
  source.append_to(target);
  EXPECT_TRUE(source.appended());
  source.append_to(target);
  ASSERT_EQ(target.count(), 2);
  EXPECT_EQ(target.get(0), &first);
  EXPECT_EQ(target.get(1), &second);
}

TEST_F(ObjectModel, CloneCopiesWhatCanBeCopied) {
  t_name_simple a("a");
  t_base_list_storage list;
  list.add(&a);
  list.add(&a);
  std::unique_ptr<t_base_item> copy(list.clone());
  auto* cloned = dynamic_cast<t_base_list*>(copy.get());
  ASSERT_NE(cloned, nullptr);
  EXPECT_EQ(dynamic_cast<t_base_list_storage*>(copy.get()), nullptr);
  ASSERT_EQ(cloned->count(), 2);
  EXPECT_EQ(cloned->get(0), nullptr);
  EXPECT_EQ(cloned->get(1), nullptr);
}

TEST_F(ObjectModel, EntityClauseElements) {
  auto header_of = [](std::initializer_list<t_clause*> clauses) {
    auto header = std::make_unique<t_base_list_storage>();
    for (t_clause* c : clauses) header->add(c);
    return header;
  };
  t_library_unit_entity_decl none("e", nullptr);
  EXPECT_EQ(none.clause_elements(49), nullptr);
  EXPECT_EQ(none.clause_elements(50), nullptr);

  auto* port_only = new t_port_clause(nullptr);
  t_library_unit_entity_decl ports("e", header_of({port_only}));
  EXPECT_EQ(ports.clause_elements(49), nullptr);
  EXPECT_EQ(ports.clause_elements(50), &port_only->elements());

  auto* generics = new t_generic_clause(nullptr);
  auto* port_clause = new t_port_clause(nullptr);
  t_library_unit_entity_decl both("e", header_of({generics, port_clause}));
  EXPECT_EQ(both.clause_elements(49), &generics->elements());
  EXPECT_EQ(both.clause_elements(50), &port_clause->elements());

  // Chosen by class id, not by position: port before generic.
  auto* late_generics = new t_generic_clause(nullptr);
  auto* early_ports = new t_port_clause(nullptr);
  t_library_unit_entity_decl swapped("e", header_of({early_ports, late_generics}));
  EXPECT_EQ(swapped.clause_elements(49), &late_generics->elements());
  EXPECT_EQ(swapped.clause_elements(50), &early_ports->elements());
}

TEST_F(ObjectModel, NameSimpleFromTheLastIdentifier) {
  current_identifier = "counter";
  EXPECT_EQ(make_name_simple()->item_name(), "counter");
}

TEST_F(ObjectModel, AbstractStatementReportsThroughTheErrorBox) {
  t_statement statement;
  testing::recording_emitter emitter;
  EXPECT_EQ(statement.publish_this(emitter), nullptr);
  ASSERT_EQ(shown_.texts.size(), 1u);
  EXPECT_EQ(shown_.texts[0], "t_statement::publish_this() abstract");
  EXPECT_EQ(abort_flag, 0);
  EXPECT_TRUE(statement.is_statement());
}

}  // namespace
}  // namespace zantrope
