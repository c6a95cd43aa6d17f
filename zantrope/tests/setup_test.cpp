#include <gtest/gtest.h>

#include "compiler/Classes_parser_objects.h"
#include "compiler/Classes_types.h"
#include "library_fixture.h"
#include "compiler/Classes_internal.h"
#include "simulator/Library_setup.h"
#include "simulator/Registry_store.h"
#include "compiler/Util_shared.h"

namespace zantrope {
namespace {

class LibrarySetup : public testing::LibraryFixture {
 protected:
  void SetUp() override {
    LibraryFixture::SetUp();
    previous_ = set_registry(&store_);
    // The set-up takes the folder of the running program; the settings
    // move it to the scratch folder, so nothing lands beside the test.
    store_.set_value(kGlobalKey, "ProgramPath", folder_.string());
  }
  static constexpr const char* kGlobalKey =
      "HKEY_LOCAL_MACHINE\\Software\\Quillmarch\\ORVO Vhdl\\3.0\\Global";
  void TearDown() override {
    set_registry(previous_);
    LibraryFixture::TearDown();
  }
  t_memory_registry store_;
  t_registry* previous_ = nullptr;
};

TEST_F(LibrarySetup, SetUpTwiceGivesOneFreshState) {
  setup_data();
  const std::string folder = program_folder;
  EXPECT_EQ(folder, folder_.string());
  EXPECT_TRUE(exists("vhdl_log.txt"));
  EXPECT_EQ(packages_folder, folder + "/Packages");
  EXPECT_EQ(projects_folder, folder + "/Projects");
  EXPECT_EQ(examples_folder, folder + "/Examples");
  ASSERT_TRUE(developer_options && error_list && process_dump_list && log_list && view_list &&
              source_position && watch_requests);
  EXPECT_EQ(source_position->line, -1);
  EXPECT_EQ(stop_line, -2);

  // Everything the first set-up made is dirtied, then made afresh.
  add_watch_requests();
  error_list->add("e");
  log_list->add("l");
  source_position->line = 17;
  abort_flag = 1;
  error_flag = 1;
  pseudo_serial_counter = 5;
  trace_running = 1;
  current_file_name = "x.vhd";
  stop_line = 3;
  run_settings.run_count = 9;
  run_settings.project_file_path = "p";
  developer_options->LoadLibTest = false;

  setup_data();
  EXPECT_EQ(program_folder, folder);
  EXPECT_EQ(watch_requests->count(), 0);
  EXPECT_EQ(error_list->count(), 0);
  EXPECT_EQ(log_list->count(), 0);
  EXPECT_EQ(source_position->line, -1);
  EXPECT_EQ(abort_flag, 0);
  EXPECT_EQ(error_flag, 0);
  EXPECT_EQ(pseudo_serial_counter, 0);
  EXPECT_EQ(trace_running, 0);
  EXPECT_EQ(current_file_name, "");
  EXPECT_EQ(stop_line, -2);
  EXPECT_EQ(run_settings.run_count, 1);
  EXPECT_EQ(run_settings.run_flag1, 1);
  EXPECT_EQ(run_settings.run_flag2, 1);
  EXPECT_EQ(run_settings.run_stop_time, -1.0);
  EXPECT_EQ(run_settings.run_value, 0);
  EXPECT_EQ(run_settings.run_flag3, 0);
  EXPECT_EQ(run_settings.no_subprogram_trace, 0);
  EXPECT_EQ(run_settings.project_file_path, "");
  EXPECT_TRUE(developer_options->LoadLibTest);
}

TEST_F(LibrarySetup, RegistryThenOptionsFileOfTheFolderItNames) {
  write_file("vhdl.ini", "[Developer8]\nLoadLibNumericStd=1\n");
  setup_data();
  EXPECT_EQ(program_folder, folder_.string());
  EXPECT_EQ(packages_folder, folder_.string() + "/Packages");
  EXPECT_TRUE(developer_options->LoadLibNumericStd);
  EXPECT_FALSE(developer_options->LoadLibIEEE);
  EXPECT_EQ(project_options->number_of_diagrams, 5);
  EXPECT_TRUE(exists("vhdl_log.txt"));
}

TEST_F(LibrarySetup, WatchRequestsNameTheTwoProcessorSignals) {
  watch_requests = std::make_unique<t_base_list>();
  add_watch_requests();
  ASSERT_EQ(watch_requests->count(), 2);
  const auto* address = dynamic_cast<const t_internal_obj1*>(watch_requests->get(0));
  const auto* accumulator = dynamic_cast<const t_internal_obj1*>(watch_requests->get(1));
  ASSERT_TRUE(address && accumulator);
  EXPECT_EQ(address->class_id(), 92);
  EXPECT_EQ(address->kind, 5);
  EXPECT_EQ(address->first_text, "top_addr");
  EXPECT_EQ(address->second_text, "work.behavior");
  EXPECT_EQ(accumulator->first_text, "acc");
  EXPECT_EQ(accumulator->second_text, "work.rtl_simple_cpu");
  release_watch_requests();
  EXPECT_EQ(watch_requests->count(), 0);
}

TEST_F(LibrarySetup, InternalRecordsByKind) {
  EXPECT_EQ(t_internal_obj1(std::int32_t(4)).kind, 0);
  const t_internal_obj1 pair(std::int32_t(1), std::int32_t(2));
  EXPECT_EQ(pair.kind, 1);
  EXPECT_EQ(pair.second_integer, 2);
  const t_internal_obj1 text(std::string("p"));
  EXPECT_EQ(text.kind, 2);
  EXPECT_EQ(text.first_integer, -1);
  EXPECT_EQ(t_internal_obj1(std::int32_t(3), std::string("t")).kind, 3);
  const t_internal_obj1 flagged(std::uint8_t(1), std::string("f"));
  EXPECT_EQ(flagged.kind, 4);
  EXPECT_EQ(flagged.flag, 1);
  EXPECT_EQ(flagged.first_integer, -1);
  EXPECT_EQ(t_internal_obj1_base().class_id(), 93);
}

std::unique_ptr<t_design_file> design_file(std::initializer_list<t_library_unit*> units) {
  auto list = std::make_unique<t_base_list_storage>();
  for (t_library_unit* u : units) list->add(new t_design_unit(std::unique_ptr<t_library_unit>(u)));
  return std::make_unique<t_design_file>(std::move(list));
}

TEST_F(LibrarySetup, EntityInfoStreamsTheFirstEntity) {
  void* data = &data;
  current_design_file = nullptr;
  EXPECT_EQ(entity_info(&data), 0);
  EXPECT_EQ(data, nullptr);

  auto package_only = design_file({new t_library_unit_package_decl()});
  current_design_file = package_only.get();
  data = &data;
  EXPECT_EQ(entity_info(&data), 0);
  EXPECT_EQ(data, nullptr);

  auto* first = new t_library_unit_entity_decl("cpu", nullptr);
  auto file = design_file({new t_library_unit_package_decl(), first,
                           new t_library_unit_entity_decl("other", nullptr)});
  current_design_file = file.get();
  ASSERT_EQ(entity_info(&data), 12);
  const std::vector<std::uint8_t> expected = {4, 0, 0, 0, 'c', 'p', 'u', 0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(static_cast<std::uint8_t*>(data),
                                      static_cast<std::uint8_t*>(data) + 12),
            expected);
  EXPECT_EQ(current_entity, first);
  current_design_file = nullptr;
}

TEST_F(LibrarySetup, SelectDesignUnitsKeepsTheLastOfEachKind) {
  auto* entity = new t_library_unit_entity_decl("e2", nullptr);
  auto* architecture = new t_library_unit_architecture_body("a2", "e2");
  auto one = design_file({new t_library_unit_entity_decl("e1", nullptr),
                          new t_library_unit_architecture_body("a1", "e1")});
  auto two = design_file({architecture, entity, new t_library_unit_package_decl()});
  design_file_list = std::make_unique<t_base_list_storage>();
  design_file_list->add(one.get());
  design_file_list->add(two.get());
  select_design_units();
  EXPECT_EQ(current_entity, entity);
  EXPECT_EQ(current_architecture, architecture);
  design_file_list.reset();
  current_entity = current_architecture = nullptr;
}

TEST_F(LibrarySetup, PackagesOfAFullBuild) {
  using list = std::vector<std::pair<std::string, std::string>>;
  t_developer_options o;  // built-in defaults
  EXPECT_EQ(packages_to_compile(o),
            (list{{"stdlogic2", "ieee"}, {"", "ieee"}, {"orvo_lib", "orvo"},
                  {"test_package", "test"}}));
  o.LoadLibNumericStd = o.LoadLibSigned = o.LoadLibUnsigned = true;
  o.ArithName = "arith_test";
  o.SignedName = "signed_test";
  o.UnsignedName = "unsigned_test";
  EXPECT_EQ(packages_to_compile(o),
            (list{{"stdlogic2", "ieee"},
                  {"numeric_std2", "ieee"},
                  {"arith_test", "ieee"},
                  {"signed_test", "ieee"},
                  {"unsigned_test", "ieee"},
                  {"orvo_lib", "orvo"},
                  {"test_package", "test"}}));
  o.LoadLibGrammarTest = true;
  EXPECT_EQ(packages_to_compile(o), (list{{"gram_test", "test"}}));
  o = t_developer_options{};
  o.LoadLibIEEE = o.LoadLibArith = o.LoadLibOrvo = o.LoadLibTest = false;
  EXPECT_TRUE(packages_to_compile(o).empty());
}

TEST_F(LibrarySetup, StopTraceEndsTheRun) {
  sim_state = 5;
  trace_running = 1;
  stop_trace();
  EXPECT_EQ(sim_state, 0);
  EXPECT_EQ(trace_running, 0);
}

TEST(SharedRoutines, TimeUnitsElementClassesAndClassPairs) {
  const struct {
    const char* unit;
    int index;
  } units[] = {{"fs", 0}, {"ps", 1}, {"ns", 2}, {"us", 3}, {"ms", 4}, {"sec", 5},
               {"min", 6}, {"hr", 7}, {"s", -1}, {"NS", -1}, {"", -1}};
  for (const auto& u : units) EXPECT_EQ(find_literal_index(u.unit), u.index) << u.unit;

  EXPECT_EQ(element_class_of_type_name("bit_vector"), 19);
  EXPECT_EQ(element_class_of_type_name("BIT_VECTOR"), 23);
  EXPECT_EQ(element_class_of_type_name("std_logic_vector"), 23);

  t_name_simple name("n");
  t_type_range range;
  EXPECT_EQ(class_pair_key(name, range), 0x0b3a);
  EXPECT_EQ(class_pair_key(range, name), 0x3a0b);
}

}  // namespace
}  // namespace zantrope
