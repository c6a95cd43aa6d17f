// A design file as the parser builds it: names from scanned tokens, an
// entity with generics and ports, an architecture and a package; written
// to the object stream and compared with bytes written by hand.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "compiler/Classes_parser_objects.h"
#include "compiler/Classes_types.h"
#include "compiler/Declarations.h"
#include "compiler/Object_stream.h"
#include "compiler/Scanner.h"
#include "compiler/Statements.h"
#include "library_fixture.h"
#include "stream_bytes.h"

namespace zantrope {
namespace {

using namespace testing;

class DesignUnits : public LibraryFixture {
 protected:
  void TearDown() override {
    scanner().release_tokens();
    LibraryFixture::TearDown();
  }
  // A simple name over the record the scanner makes of `word`.
  std::unique_ptr<t_name_simple> name(const std::string& word) {
    scanner().open_text(word);
    parser_value value;
    EXPECT_EQ(vhdl_scanner(value), t_Identifier) << word;
    return std::make_unique<t_name_simple>(value.token);
  }
  std::unique_ptr<t_base_list_storage> names(std::initializer_list<const char*> words) {
    auto list = std::make_unique<t_base_list_storage>();
    for (const char* w : words) list->add(name(w).release());
    return list;
  }
  std::unique_ptr<t_indication_subtype> subtype(const char* type_mark,
                                                std::unique_ptr<t_base_list_storage> constraints =
                                                    nullptr) {
    return std::make_unique<t_indication_subtype>(name(type_mark), std::move(constraints));
  }

  // entity Counter is
  //   generic (Width : integer);
  //   port (Clk, Reset : in std_logic; Q : out std_logic_vector(7 downto 0));
  // end;
  std::unique_ptr<t_library_unit_entity_decl> counter_entity(bool ports_first = false) {
    auto generic_elements = std::make_unique<t_base_list_storage>();
    generic_elements->add(new t_interf_element(names({"Width"}), subtype("integer")));
    auto port_elements = std::make_unique<t_base_list_storage>();
    port_elements->add(new t_interf_element(names({"Clk", "Reset"}), subtype("std_logic")));
    auto bounds = std::make_unique<t_base_list_storage>();
    bounds->add(new t_type_range(7, 0, kDirectionDownto));
    port_elements->add(new t_interf_element(names({"Q"}), subtype("std_logic_vector", std::move(bounds))));
    auto header = std::make_unique<t_base_list_storage>();
    auto* generics = new t_generic_clause(std::move(generic_elements));
    auto* ports = new t_port_clause(std::move(port_elements));
    if (ports_first) {
      header->add(ports);
      header->add(generics);
    } else {
      header->add(generics);
      header->add(ports);
    }
    return make_entity(*name("Counter"), std::move(header));
  }

  Bytes counter_entity_bytes() const {
    return cat({str("counter"), u32(2),
                {52}, u32(2), {58}, str("clk"), {58}, str("reset"), str("std_logic"), {0},
                {52}, u32(1), {58}, str("q"), str("std_logic_vector"), {1},
                u32(1), {11}, f64(7), f64(0), u16(277)});
  }

  // package Types is
  //   type State is (Idle, Run);
  //   type Byte is range 0 to 255;
  // end;
  std::unique_ptr<t_library_unit_package_decl> types_package() {
    auto state = std::make_unique<t_type_enumeration>();
    state->add_literal(name("Idle"));
    state->add_literal(name("Run"));
    auto declarations = std::make_unique<t_base_list_storage>();
    declarations->add(new t_declaration_type("state", std::move(state)));
    declarations->add(
        new t_declaration_type("byte", std::make_unique<t_type_range>(0, 255, kDirectionTo)));
    return make_package(*name("Types"), std::move(declarations));
  }

  // architecture Rtl of Counter is signal Count : integer; begin process ... end;
  std::unique_ptr<t_library_unit_architecture_body> rtl_architecture() {
    auto declarations = std::make_unique<t_base_list_storage>();
    declarations->add(new t_declaration_signal(names({"Count"}), subtype("integer"), nullptr));
    auto statements = std::make_unique<t_base_list_storage>();
    statements->add(new t_statement_process_body(nullptr, nullptr, nullptr));
    return make_architecture(*name("Rtl"), *name("Counter"), std::move(statements),
                             std::move(declarations));
  }

  static Bytes bytes_of(const std::function<void(t_stream&)>& write) {
    t_memory_stream stream;
    write(stream);
    return stream.bytes();
  }
};

TEST_F(DesignUnits, DesignFileWithEntityArchitectureAndPackage) {
  auto units = std::make_unique<t_base_list_storage>();
  units->add(new t_design_unit(counter_entity()));
  units->add(new t_design_unit(rtl_architecture()));
  units->add(new t_design_unit(types_package()));
  t_design_file file(std::move(units));

  // The file: its units, each written as its class id alone.
  const Bytes file_bytes = cat({u32(3), {103, 103, 103}});
  EXPECT_EQ(bytes_of([&](t_stream& s) { file.write_node(s); }), file_bytes);

  // Each design unit: the library unit's class id and its body. Only the
  // entity has one (its description: name and ports, not the generics).
  const auto& entity_unit = static_cast<const t_design_unit&>(*file.units().get(0));
  EXPECT_EQ(bytes_of([&](t_stream& s) { entity_unit.write_node(s); }),
            cat({{99}, counter_entity_bytes()}));
  const auto& architecture_unit = static_cast<const t_design_unit&>(*file.units().get(1));
  EXPECT_EQ(bytes_of([&](t_stream& s) { architecture_unit.write_node(s); }), Bytes{101});
  const auto& package_unit = static_cast<const t_design_unit&>(*file.units().get(2));
  EXPECT_EQ(bytes_of([&](t_stream& s) { package_unit.write_node(s); }), Bytes{100});

  // The package node and the declarations in it.
  const auto& package = static_cast<const t_library_unit_package_decl&>(*package_unit.library_unit());
  const Bytes package_bytes = cat({str("types"), u32(2), {39, 39}});
  EXPECT_EQ(bytes_of([&](t_stream& s) { package.write_node(s); }), package_bytes);
  const auto& state = static_cast<const t_declaration_type&>(*package.declarations().get(0));
  // A descriptor's body in a declaration is its `write`: nothing for an
  // enumeration (its literals are its data), the bounds for a range.
  const Bytes state_bytes = cat({str("state"), {13}});
  EXPECT_EQ(bytes_of([&](t_stream& s) { state.write_node(s); }), state_bytes);
  const auto& byte = static_cast<const t_declaration_type&>(*package.declarations().get(1));
  const Bytes byte_bytes = cat({str("byte"), {11}, f64(0), f64(255), u16(334)});
  EXPECT_EQ(bytes_of([&](t_stream& s) { byte.write_node(s); }), byte_bytes);

  const auto& architecture =
      static_cast<const t_library_unit_architecture_body&>(*architecture_unit.library_unit());
  EXPECT_EQ(architecture.name(), "rtl");
  EXPECT_EQ(architecture.entity_name(), "counter");
  EXPECT_EQ(architecture.elaborated, 0);
  const auto& count = static_cast<const t_declaration_signal&>(*architecture.declarations().get(0));
  const Bytes count_bytes = cat({str("count"), u32(1), {58}, str("count")});
  EXPECT_EQ(bytes_of([&](t_stream& s) { count.write_node(s); }), count_bytes);

  // Read back and written again, the bytes are the same.
  const auto round_trip = [&](auto& fresh, const Bytes& bytes) {
    t_memory_stream in(bytes);
    fresh.read_node(in);
    EXPECT_EQ(in.remaining(), 0u);
    EXPECT_EQ(bytes_of([&](t_stream& s) { fresh.write_node(s); }), bytes);
  };
  t_design_file file_back(nullptr);
  round_trip(file_back, file_bytes);
  EXPECT_EQ(file_back.units().count(), 3);
  t_library_unit_package_decl package_back;
  round_trip(package_back, package_bytes);
  EXPECT_EQ(package_back.name(), "types");
  t_declaration_type state_back;
  round_trip(state_back, state_bytes);
  t_declaration_type byte_back;
  round_trip(byte_back, byte_bytes);
  EXPECT_EQ(static_cast<const t_type_range*>(byte_back.descriptor())->right(), 255.0);
  t_declaration_signal count_back;
  round_trip(count_back, count_bytes);
  EXPECT_EQ(count_back.name(), "count");
  t_design_unit package_unit_back;
  round_trip(package_unit_back, Bytes{100});
  EXPECT_EQ(abort_flag, 0);

  // An entity description is for the host: the factory makes no entity,
  // and reading the description into an entity stops at the first
  // interface element, which the factory does not make either.
  t_design_unit entity_unit_back;
  t_memory_stream entity_unit_in(cat({{99}, counter_entity_bytes()}));
  entity_unit_back.read_node(entity_unit_in);
  EXPECT_EQ(entity_unit_back.library_unit(), nullptr);
  EXPECT_EQ(abort_flag, 1);
  abort_flag = 0;
  t_library_unit_entity_decl entity_back("", nullptr);
  t_memory_stream entity_in(counter_entity_bytes());
  entity_back.read(entity_in);
  EXPECT_EQ(entity_back.name(), "counter");
  EXPECT_EQ(abort_flag, 1);
}

TEST_F(DesignUnits, EntityWithPortsBeforeGenericsWritesItsPorts) {
  const auto entity = counter_entity(true);
  EXPECT_EQ(bytes_of([&](t_stream& s) { entity->write(s); }), counter_entity_bytes());
  ASSERT_NE(entity->clause_elements(class_ids::generic_clause), nullptr);
  EXPECT_EQ(entity->clause_elements(class_ids::generic_clause)->count(), 1);
}

TEST_F(DesignUnits, UnitsAnswerAsStorageWithoutNames) {
  const auto entity = counter_entity();
  const auto package = types_package();
  const auto architecture = rtl_architecture();
  t_design_unit unit;
  t_design_file file(nullptr);
  for (const t_base_item_storage* item :
       std::initializer_list<const t_base_item_storage*>{entity.get(), package.get(),
                                                         architecture.get(), &unit, &file}) {
    EXPECT_TRUE(item->is_storage());
    EXPECT_FALSE(item->is_declaration());
    EXPECT_EQ(item->item_name(), "");
  }
  EXPECT_EQ(file.library_name, "");
  EXPECT_EQ(file.driver_text, "");
}

}  // namespace
}  // namespace zantrope
