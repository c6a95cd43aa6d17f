#include "simulator/Registry_data.h"

#include "compiler/Globals.h"

namespace zantrope {

namespace {
// The root, maker, product and version of the host editor.
constexpr const char* kRoot = "HKEY_LOCAL_MACHINE";
constexpr const char* kMaker = "Software\\Quillmarch";
constexpr const char* kProduct = "ORVO Vhdl";
constexpr const char* kMajor = "3";
constexpr const char* kMinor = "0";
}  // namespace

void build_registry_keys() {
  product_key = std::string(kMaker) + "\\" + kProduct + "\\" + kMajor + "." + kMinor;
  global_key = product_key + "\\" + "Global";
  environment_key = product_key + "\\" + "Environment";
  recent_files_key = product_key + "\\" + "Recent File List";
}

void read_registry_settings(t_registry& store) {
  t_project_options_class& o = *project_options;
  const std::string root = std::string(kRoot) + "\\";

  if (auto key = store.open_key(root + global_key, true)) {
    o.last_project = key->read_string("LastProject").value_or("");
    const auto program_path = key->read_string("ProgramPath");
    o.program_path = program_path.value_or("");
    if (program_path) program_folder = *program_path;
    o.start_at_first = key->read_bool("StartAtFirst").value_or(true);
    o.color_error_line = key->read_integer("ColorErrorLine").value_or(0x5500AA);
    o.color_comment = key->read_integer("ColorComment").value_or(0x9B9B00);
    o.color_literal = key->read_integer("ColorLiteral").value_or(0x939393);
    o.color_break_point = key->read_integer("ColorBreakPoint").value_or(0x0000FF);
    o.color_debugged_source_line = key->read_integer("ColorDebuggedSourceLine").value_or(0xFF8080);
    o.messages_height = key->read_integer("MessagesHeight").value_or(125);
    o.show_local_variables = key->read_bool("DebugLocalsVariables").value_or(false);
    o.show_local_signals = key->read_bool("DebugLocalsSignals").value_or(true);
    o.show_local_generics = key->read_bool("DebugLocalsGenerics").value_or(false);
    o.debug_height = key->read_integer("DebugHeight").value_or(100);
    o.diagram_row_height = key->read_integer("DiagramRowHeight").value_or(60);
    o.number_of_diagrams = key->read_integer("NumOfDiagrams").value_or(5);
  }

  if (auto key = store.open_key(root + environment_key, true)) {
    if (const auto open_last = key->read_bool("OpenLastProject")) {
      o.open_last_project = *open_last;
    } else {
      o.open_last_project = false;
      o.start_at_first = true;
    }
  }
}

}  // namespace zantrope
