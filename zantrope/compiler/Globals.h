#pragma once
// The process-wide state of the library. Compiler and simulator share one
// set of these globals; SetupData creates the objects among them (see
// setup_library_state) and they live until the library is unloaded. Nothing
// here is locked: the library runs on its caller's thread only.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "compiler/String_list.h"

namespace zantrope {

class t_base_list;
class t_base_list_storage;
class t_design_file;
class t_library_unit;

// Switches and package names that tune the library; filled from vhdl.ini.
struct t_developer_options {
  bool GlobalModeORVO = false;
  bool UseDatFile = false;
  bool DebugSafeView = false;
  bool DisableDebugLevelAll = false;
  bool EnableDebugLevelShowGeneral1 = false;
  bool EnableDebugLevelShowProcessChange = false;
  bool EnableDebugLevelShowTime = false;
  bool EnableDebugGrammar = false;
  bool FeatureValueChange = false;
  bool FeatureForceBit = true;
  bool FeatureResolutionFunc = true;
  bool FeatureSyntaxhighlight = true;
  bool LoadLibOrvo = true;
  bool LoadLibIEEE = true;
  bool LoadLibNumericStd = false;
  bool LoadLibArith = true;
  bool LoadLibSigned = false;
  bool LoadLibUnsigned = false;
  bool LoadLibTest = true;
  bool LoadLibGrammarTest = false;
  bool DevFeatureSyntaxCheckOnly = false;
  bool RunStartupRun = false;
  bool UseSubprogramDebug = false;
  bool UseCodeDebug = false;
  bool UseCodeView = false;
  bool UseOnHint = true;
  bool UseViewSched = true;
  bool UseExistingProc = true;
  std::string StdLogicName = "stdlogic2";
  std::string NumericStdName = "numeric_std2";
  std::string ArithName;
  std::string SignedName;
  std::string UnsignedName;
};

// The host editor's settings as the library keeps them.
struct t_project_options_class {
  bool open_last_project = false;
  bool relative_file_names = true;  // file names relative to the program folder
  bool start_at_first = false;
  std::string last_project;
  std::string program_path;
  std::int32_t color_error_line = 0;
  std::int32_t color_comment = 0;
  std::int32_t color_literal = 0;
  std::int32_t color_break_point = 0;
  std::int32_t color_debugged_source_line = 0;
  std::int32_t messages_height = 0;
  std::int32_t diagram_row_height = 0;
  std::int32_t debug_height = 0;
  bool show_local_variables = false;
  bool show_local_signals = false;
  bool show_local_generics = false;
  std::int32_t number_of_diagrams = 0;
};

// The statement about to run: its line (-1 = none) and its file.
struct t_source_position {
  int32_t line = -1;
  std::string file;
};

// What the run-description file sets; these are its defaults.
struct t_run_settings {
  int32_t run_count = 1;
  uint8_t run_flag1 = 1;
  uint8_t run_flag2 = 1;
  double run_stop_time = -1.0;
  int32_t run_value = 0;
  uint8_t run_flag3 = 0;
  uint8_t no_subprogram_trace = 0;
  std::string project_file_path;
  int32_t run_tail = 0;
};

// Objects made by SetupData.
extern std::unique_ptr<t_project_options_class> project_options;
extern std::unique_ptr<t_developer_options> developer_options;
extern std::unique_ptr<t_string_list> error_list;
extern std::unique_ptr<t_string_list> process_dump_list;
extern std::unique_ptr<t_string_list> log_list;
extern std::unique_ptr<t_string_list> view_list;
extern std::unique_ptr<t_source_position> source_position;
// Watch requests of the host (t_internal_obj1 of kind 5); the list owns
// nothing, release_watch_requests frees its items.
extern std::unique_ptr<t_base_list> watch_requests;

// Scalars.
extern uint8_t sim_state;
extern uint8_t abort_flag;
extern int32_t compile_failed;
extern std::string error_text;
extern uint8_t error_flag;
extern int32_t error_line;
extern uint8_t error_reported;
extern uint8_t error_suppressed;
extern int64_t now;
extern int32_t event_counter;
extern uint8_t trace_running;
extern uint8_t trace_paused;
extern int32_t stop_line;
extern int32_t break_line;
extern int32_t pseudo_serial_counter;
extern int32_t temp_value_counter;

// Paths of the host editor's settings keys: the product key and its
// subkeys Global, Environment and Recent File List.
extern std::string product_key;
extern std::string global_key;
extern std::string environment_key;
extern std::string recent_files_key;

// Folders: the host program's folder and the three product folders in it.
extern std::string program_folder;
extern std::string packages_folder;
extern std::string examples_folder;
extern std::string projects_folder;

// Compile state.
extern std::string compile_path;
extern std::string current_compile_file;
extern std::string current_file_name;
extern std::string current_source_path;
extern std::string current_identifier;  // the identifier the parser reduced last
extern std::unique_ptr<t_base_list_storage> design_file_list;
extern t_design_file* current_design_file;
extern t_library_unit* current_entity;
extern t_library_unit* current_architecture;
extern std::string top_unit_name;

// The process's decimal separator as text conversions use it, and the value
// saved while packages compile with '.'.
extern char decimal_separator;
extern char saved_decimal_separator;

extern t_run_settings run_settings;
extern std::string watched_address_text;
extern std::string watched_accumulator_text;

// The two watched processor signals: name and design-unit path.
inline constexpr std::string_view kWatchedAddressSignal = "top_addr";
inline constexpr std::string_view kWatchedAddressUnit = "work.behavior";
inline constexpr std::string_view kWatchedAccumulatorSignal = "acc";
inline constexpr std::string_view kWatchedAccumulatorUnit = "work.rtl_simple_cpu";

// Fixed names.
inline constexpr std::array<std::string_view, 8> kTimeUnits = {"fs", "ps", "ns", "us",
                                                               "ms", "sec", "min", "hr"};
inline constexpr std::array<std::string_view, 10> kMagnitudes = {"fs", "ps", "ns", "us", "ms",
                                                                 "",   "k",  "M",  "G",  "T"};
inline constexpr std::string_view kParserTraceFile = "yydebug.txt";
inline constexpr std::string_view kParserErrorFile = "yyerror.txt";
inline constexpr std::string_view kScannerMessageFile = "yylex.txt";
inline constexpr std::string_view kTokenFile = "yytokens.txt";
inline constexpr std::string_view kLogFile = "vhdl_log.txt";
inline constexpr std::string_view kViewLogFile = "view_log.txt";
inline constexpr std::string_view kOptionsFile = "vhdl.ini";
inline constexpr std::string_view kHostLibraryFile = "orvo_lib";
inline constexpr std::string_view kTestPackageFile = "test_package";
inline constexpr std::string_view kGrammarTestFile = "gram_test";
inline constexpr std::array<std::string_view, 4> kFurtherPackageNames = {
    "stdlogic", "stdlogic2", "numeric_std2", "stdlogic_test"};
inline constexpr std::string_view kBinFolderName = "bin";
inline constexpr std::string_view kScannedFileName = "scanned_file.vhd";
inline constexpr char kUnknownValueChar = 'X';

// A file of the program folder: the folder joined with the name.
std::string program_file(std::string_view name);

// Reports, once per path while the library stays loaded, that a file of
// the library could not be written; work goes on.
void report_file_failure(const std::string& path, const std::string& why);
// Appends one line (CR LF ended) to a file of the program folder; a file
// that cannot be opened or written is reported by report_file_failure.
void append_program_file_line(std::string_view name, std::string_view line);
// Forgets which file failures were reported.
void forget_file_failures();

// Frees the items of watch_requests and empties it.
void release_watch_requests();

}  // namespace zantrope
