#include "simulator/Library_setup.h"

#include "compiler/Classes_parser_objects.h"
#include "compiler/Diagnostics.h"
#include "compiler/Log_file.h"
#include "compiler/Object_stream.h"
#include "compiler/Classes_internal.h"
#include "simulator/Registry_data.h"
#include "simulator/Util_inifile.h"

namespace zantrope {

namespace {
// What get_entity_info handed out last.
std::string entity_info_bytes;
}  // namespace

void setup_data() {
  pseudo_serial_counter = 0;
  temp_value_counter = 0;
  abort_flag = 0;
  error_flag = 0;

  project_options = std::make_unique<t_project_options_class>();
  developer_options = init_developer_options();

  build_registry_keys();
  set_program_folder();
  read_registry_settings(registry());
  read_vhdl_ini();

  set_packages_folder();
  set_examples_folder();
  set_projects_folder();
  create_debug_file();

  error_list = std::make_unique<t_string_list>();
  process_dump_list = std::make_unique<t_string_list>();
  log_list = std::make_unique<t_string_list>();
  view_list = std::make_unique<t_string_list>();

  release_watch_requests();
  watch_requests = std::make_unique<t_base_list>();

  source_position = std::make_unique<t_source_position>();
  trace_running = 0;
  current_file_name.clear();
  stop_line = -2;

  run_settings = t_run_settings{};
}

void prepare_compile_state() { abort_flag = 0; }

void add_watch_requests() {
  watch_requests->add(new t_internal_obj1(std::string(kWatchedAddressSignal),
                                          std::string(kWatchedAddressUnit)));
  watch_requests->add(new t_internal_obj1(std::string(kWatchedAccumulatorSignal),
                                          std::string(kWatchedAccumulatorUnit)));
}

std::int32_t entity_info(void** data) {
  t_memory_stream stream;
  *data = nullptr;
  entity_info_bytes.clear();
  if (!current_design_file) return 0;
  for (const t_base_item* item : current_design_file->units().items()) {
    const auto* unit = dynamic_cast<const t_design_unit*>(item);
    t_library_unit* library_unit = unit ? unit->library_unit() : nullptr;
    if (!library_unit || library_unit->class_id() != class_ids::entity_decl) continue;
    current_entity = library_unit;
    library_unit->write(stream);
    entity_info_bytes = stream.take_bytes();
    *data = entity_info_bytes.data();
    return std::int32_t(entity_info_bytes.size());
  }
  return 0;
}

void stop_trace() {
  sim_state = 0;
  trace_running = 0;
}

std::vector<std::pair<std::string, std::string>> packages_to_compile(
    const t_developer_options& o) {
  if (o.LoadLibGrammarTest) return {{std::string(kGrammarTestFile), "test"}};
  std::vector<std::pair<std::string, std::string>> packages;
  if (o.LoadLibIEEE) packages.emplace_back(o.StdLogicName, "ieee");
  if (o.LoadLibNumericStd) packages.emplace_back(o.NumericStdName, "ieee");
  if (o.LoadLibArith) packages.emplace_back(o.ArithName, "ieee");
  if (o.LoadLibSigned) packages.emplace_back(o.SignedName, "ieee");
  if (o.LoadLibUnsigned) packages.emplace_back(o.UnsignedName, "ieee");
  if (o.LoadLibOrvo) packages.emplace_back(std::string(kHostLibraryFile), "orvo");
  if (o.LoadLibTest) packages.emplace_back(std::string(kTestPackageFile), "test");
  return packages;
}

void select_design_units() {
  if (!design_file_list) return;
  for (const t_base_item* item : design_file_list->items()) {
    const auto* file = dynamic_cast<const t_design_file*>(item);
    if (!file) continue;
    for (const t_base_item* unit_item : file->units().items()) {
      const auto* unit = dynamic_cast<const t_design_unit*>(unit_item);
      t_library_unit* library_unit = unit ? unit->library_unit() : nullptr;
      if (!library_unit) continue;
      if (library_unit->class_id() == class_ids::architecture_body)
        current_architecture = library_unit;
      else if (library_unit->class_id() == class_ids::entity_decl)
        current_entity = library_unit;
    }
  }
}

}  // namespace zantrope
