#include "compiler/Name_lookup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "compiler/Classes_types.h"
#include "compiler/Declarations.h"
#include "compiler/Globals.h"
#include "compiler/Shared_routines.h"
#include "library_fixture.h"

namespace zantrope {
namespace {

using testing::RecordingMessages;

// Design files loaded into the library's list for one test.
class NameLookup : public ::testing::Test {
 protected:
  void SetUp() override { design_file_list = std::make_unique<t_base_list_storage>(); }
  void TearDown() override {
    design_file_list->clear();
    design_file_list.reset();
    abort_flag = 0;
  }

  t_design_file& add_file(std::string library, std::vector<std::unique_ptr<t_library_unit>> units) {
    auto list = std::make_unique<t_base_list_storage>();
    for (auto& unit : units) list->add(new t_design_unit(std::move(unit)));
    files_.push_back(std::make_unique<t_design_file>(std::move(list)));
    files_.back()->library_name = std::move(library);
    design_file_list->add(files_.back().get());
    return *files_.back();
  }

  static std::unique_ptr<t_library_unit> package(std::vector<t_declaration*> declarations) {
    auto list = std::make_unique<t_base_list_storage>();
    for (auto* d : declarations) list->add(d);
    return std::make_unique<t_library_unit_package_decl>("p", std::move(list));
  }
  static t_declaration* type(std::string name, std::unique_ptr<t_type_definition> descriptor) {
    return new t_declaration_type(std::move(name), std::move(descriptor));
  }
  static t_declaration* subtype(std::string name, std::string type_mark) {
    return new t_declaration_subtype(
        std::make_unique<t_name_simple>(name),
        std::make_unique<t_indication_subtype>(std::make_unique<t_name_simple>(type_mark), nullptr));
  }
  static std::unique_ptr<t_library_unit> entity(std::string name) {
    return std::make_unique<t_library_unit_entity_decl>(std::move(name), nullptr);
  }
  static std::unique_ptr<t_library_unit> architecture(std::string name) {
    return std::make_unique<t_library_unit_architecture_body>(std::move(name), "e");
  }

  std::vector<std::unique_ptr<t_design_file>> files_;
};

TEST_F(NameLookup, PredefinedNamesComeFirstAndCompareExactly) {
  const std::pair<const char*, std::int32_t> rows[] = {
      {"bit", 19},  {"bit_vector", 25}, {"boolean", 22}, {"integer", 16}, {"natural", 16},
      {"time", 17}, {"string", 20},     {"Integer", 0},  {"real", 0},     {"", 0}};
  for (auto [name, code] : rows) {
    std::int32_t out = -1;
    EXPECT_EQ(predefined_type_code(name, out), code != 0) << name;
    EXPECT_EQ(out, code) << name;
  }
  // A package declaring "integer" does not hide the predefined type.
  add_file("work", {});
  add_file("work", [] {
    std::vector<std::unique_ptr<t_library_unit>> u;
    u.push_back(package({type("integer", std::make_unique<t_type_int>())}));
    return u;
  }());
  std::int32_t code = -1;
  EXPECT_EQ(find_type_declaration("integer", code), nullptr);
  EXPECT_EQ(code, 16);

  std::int32_t bits = -1;
  EXPECT_TRUE(is_bit_vector("bit_vector", bits));
  EXPECT_EQ(bits, 19);
  EXPECT_FALSE(is_bit_vector("std_logic_vector", bits));
  EXPECT_EQ(bits, 0);
  for (std::int32_t id : {14, 15, 25}) EXPECT_TRUE(is_array_class(id));
  for (std::int32_t id : {13, 16, 23}) EXPECT_FALSE(is_array_class(id));
  for (const char* a : {"length", "low", "left", "right", "high", "last_value", "event"})
    EXPECT_TRUE(is_predefined_attribute(a)) << a;
  EXPECT_FALSE(is_predefined_attribute("LENGTH"));
  EXPECT_FALSE(is_predefined_attribute("range"));
}

TEST_F(NameLookup, TypesInOlderFilesAndSubtypesBeforeTypes) {
  std::vector<std::unique_ptr<t_library_unit>> older;
  t_declaration* older_word = type("word", std::make_unique<t_type_int>());
  t_declaration* mixed_type = type("mixed", std::make_unique<t_type_bool>());
  t_declaration* mixed_subtype = subtype("mixed", "word");
  older.push_back(package({older_word, mixed_type, mixed_subtype}));
  add_file("work", std::move(older));

  std::vector<std::unique_ptr<t_library_unit>> newer;
  newer.push_back(architecture("a"));
  t_declaration* newer_word = type("word", std::make_unique<t_type_char>());
  t_declaration* level = type("level", std::make_unique<t_type_enumeration>());
  newer.push_back(package({newer_word, level}));
  add_file("work", std::move(newer));

  std::int32_t code = -1;
  EXPECT_EQ(find_type_declaration("word", code), older_word);
  EXPECT_EQ(code, 39);
  EXPECT_EQ(find_type_declaration("mixed", code), mixed_subtype);
  EXPECT_EQ(code, 40);
  EXPECT_EQ(find_type_declaration("level", code), level);
  EXPECT_EQ(find_type_declaration("Level", code), nullptr);  // package names are exact
  EXPECT_EQ(code, 0);

  EXPECT_EQ(type_class_of_name("word"), class_ids::type_int);
  EXPECT_EQ(type_class_of_name("mixed"), class_ids::type_int);  // through its type mark
  EXPECT_EQ(type_class_of_name("level"), class_ids::type_enumeration);
  EXPECT_EQ(type_class_of_name("integer"), 0);
  EXPECT_EQ(type_class_of_name("nothing"), 0);
}

// A run time with one pushed declaration.
class pushed_runtime : public t_lookup_runtime {
 public:
  explicit pushed_runtime(t_declaration* d) : declaration(d) {}
  t_declaration* find_pushed_declaration(std::string_view name) override {
    return name == "local" ? declaration : nullptr;
  }
  std::optional<std::int32_t> evaluate_code_list(const t_base_list& code) override {
    if (code.count() > 0) {
      abort_flag = 1;  // the evaluation fails
      return 5;
    }
    return 7;
  }
  t_declaration* declaration;
};

TEST_F(NameLookup, PushedDeclarationsComeAfterThePackages) {
  std::vector<std::unique_ptr<t_library_unit>> units;
  t_declaration* packaged = type("local", std::make_unique<t_type_int>());
  units.push_back(package({packaged}));
  add_file("work", std::move(units));
  t_declaration_type pushed("local", std::make_unique<t_type_bool>());
  t_declaration_type other("other", std::make_unique<t_type_bool>());
  pushed_runtime runtime(&pushed);
  std::int32_t code = -1;

  // Without a run time nothing is pushed.
  EXPECT_EQ(find_type_declaration("other", code), nullptr);
  set_lookup_runtime(&runtime);
  EXPECT_EQ(find_type_declaration("local", code), packaged);
  design_file_list->clear();
  EXPECT_EQ(find_type_declaration("local", code), &pushed);
  EXPECT_EQ(code, 39);
  EXPECT_EQ(set_lookup_runtime(nullptr), &runtime);
  EXPECT_EQ(find_type_declaration("local", code), nullptr);
}

TEST_F(NameLookup, TrialEvaluationKeepsAnEarlierAbort) {
  RecordingMessages shown;
  t_base_list_storage empty;
  t_base_list_storage failing;
  failing.add(nullptr);

  // The first run time cannot evaluate anything yet.
  EXPECT_EQ(try_evaluate_code_list(&empty), std::nullopt);
  abort_flag = 1;
  EXPECT_EQ(try_evaluate_code_list(&empty), std::nullopt);
  EXPECT_EQ(abort_flag, 1);

  pushed_runtime runtime(nullptr);
  set_lookup_runtime(&runtime);
  abort_flag = 0;
  EXPECT_EQ(try_evaluate_code_list(&empty), 7);
  EXPECT_EQ(try_evaluate_code_list(&failing), std::nullopt);  // its abort is its own
  EXPECT_EQ(abort_flag, 0);
  abort_flag = 1;
  EXPECT_EQ(try_evaluate_code_list(&empty), 7);
  EXPECT_EQ(abort_flag, 1);  // the earlier abort stays
  set_lookup_runtime(nullptr);

  EXPECT_EQ(try_evaluate_code_list(nullptr), std::nullopt);
  ASSERT_EQ(shown.texts.size(), 1u);
  EXPECT_EQ(shown.texts[0], "pcode == NULL!");
}

TEST_F(NameLookup, LibraryUnitsNewestFirstAndOrvoBeforeWork) {
  EXPECT_EQ(find_entity("orvo.cpu"), nullptr);
  EXPECT_TRUE(architecture_names().empty());

  std::vector<std::unique_ptr<t_library_unit>> first;
  first.push_back(entity("work.cpu"));
  first.push_back(architecture("rtl"));
  first.push_back(entity("orvo.cpu"));
  t_design_file& older = add_file("work", std::move(first));
  std::vector<std::unique_ptr<t_library_unit>> second;
  second.push_back(architecture("rtl"));
  second.push_back(architecture("behavior"));
  t_design_file& newer = add_file("orvo", std::move(second));

  auto unit = [](t_design_file& f, int i) { return library_unit_of(f.units().get(i)); };
  EXPECT_EQ(find_entity_in_libraries("cpu"), unit(older, 2));
  EXPECT_EQ(find_entity("work.cpu"), unit(older, 0));
  EXPECT_EQ(find_architecture("rtl"), unit(newer, 0));
  EXPECT_EQ(find_architecture("cpu"), nullptr);
  EXPECT_EQ(find_library_unit("", true, false), unit(older, 2));   // any entity, last first
  EXPECT_EQ(find_library_unit("x", false, true), unit(newer, 1));  // the first met
  EXPECT_EQ(architecture_names(), (std::vector<std::string>{"work.rtl", "orvo.rtl", "orvo.behavior"}));

  // Without the orvo entity the work one serves.
  std::vector<std::unique_ptr<t_library_unit>> only_work;
  only_work.push_back(entity("work.cpu"));
  t_design_file& work = add_file("work", std::move(only_work));
  design_file_list->clear();
  design_file_list->add(&work);
  EXPECT_EQ(find_entity_in_libraries("cpu"), unit(work, 0));
  EXPECT_EQ(find_entity_in_libraries("alu"), nullptr);
}

TEST(EvaluatorRegisters, EachKindKeepsItsOwnValue) {
  for (std::int32_t kind : {1, 2, 3}) set_register_int(kind * 10, kind);
  set_register_int(99, 4);  // not an int register: ignored
  set_register_int64(1LL << 40, 6);
  set_register_int64(-1, 7);
  set_register_int64(5, 8);
  set_register_byte4(4);
  set_register_byte5(5);
  set_register_text("abc", 8);
  set_register_text("lost", 1);
  EXPECT_EQ(get_register_int(1), 10);
  EXPECT_EQ(get_register_int(2), 20);
  EXPECT_EQ(get_register_int(3), 30);
  EXPECT_EQ(get_register_int(4), 0);
  EXPECT_EQ(get_register_int(0), 0);
  EXPECT_EQ(get_register_int64(6), 1LL << 40);
  EXPECT_EQ(get_register_int64(7), -1);
  EXPECT_EQ(get_register_int64(8), 0);
  EXPECT_EQ(get_register_byte4(), 4);
  EXPECT_EQ(get_register_byte5(), 5);
  EXPECT_EQ(get_register_text(8), "abc");
  EXPECT_EQ(get_register_text(1), "");
}

}  // namespace
}  // namespace zantrope
