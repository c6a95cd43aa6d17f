#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "library_fixture.h"
#include "simulator/Registry_data.h"
#include "simulator/Registry_store.h"

namespace zantrope {
namespace {

const std::string kGlobal = "HKEY_LOCAL_MACHINE\\Software\\Quillmarch\\ORVO Vhdl\\3.0\\Global";
const std::string kEnvironment =
    "HKEY_LOCAL_MACHINE\\Software\\Quillmarch\\ORVO Vhdl\\3.0\\Environment";

class RegistrySettings : public testing::LibraryFixture {
 protected:
  void SetUp() override {
    LibraryFixture::SetUp();
    project_options = std::make_unique<t_project_options_class>();
    build_registry_keys();
    program_folder = "/host/folder";
  }
};

TEST_F(RegistrySettings, KeyPaths) {
  EXPECT_EQ(product_key, "Software\\Quillmarch\\ORVO Vhdl\\3.0");
  EXPECT_EQ(global_key, product_key + "\\Global");
  EXPECT_EQ(environment_key, product_key + "\\Environment");
  EXPECT_EQ(recent_files_key, product_key + "\\Recent File List");
}

TEST_F(RegistrySettings, MissingKeysAreCreatedAndEveryFieldTakesItsDefault) {
  t_memory_registry store;
  read_registry_settings(store);
  EXPECT_TRUE(store.key_exists(kGlobal));
  EXPECT_TRUE(store.key_exists(kEnvironment));
  EXPECT_FALSE(store.key_exists(kGlobal.substr(0, kGlobal.size() - 7) + "\\Recent File List"));
  const t_project_options_class& o = *project_options;
  EXPECT_EQ(o.last_project, "");
  EXPECT_EQ(o.program_path, "");
  EXPECT_TRUE(o.start_at_first);
  EXPECT_EQ(o.color_error_line, 0x5500AA);
  EXPECT_EQ(o.color_comment, 0x9B9B00);
  EXPECT_EQ(o.color_literal, 0x939393);
  EXPECT_EQ(o.color_break_point, 0x0000FF);
  EXPECT_EQ(o.color_debugged_source_line, 0xFF8080);
  EXPECT_EQ(o.messages_height, 125);
  EXPECT_FALSE(o.show_local_variables);
  EXPECT_TRUE(o.show_local_signals);
  EXPECT_FALSE(o.show_local_generics);
  EXPECT_EQ(o.debug_height, 100);
  EXPECT_EQ(o.diagram_row_height, 60);
  EXPECT_EQ(o.number_of_diagrams, 5);
  EXPECT_FALSE(o.open_last_project);
  EXPECT_EQ(program_folder, "/host/folder");
}

TEST_F(RegistrySettings, KeysThatCannotBeCreatedAreSkipped) {
  t_memory_registry store(false);
  read_registry_settings(store);
  const t_project_options_class made;
  EXPECT_EQ(project_options->messages_height, made.messages_height);
  EXPECT_EQ(project_options->start_at_first, made.start_at_first);
  EXPECT_TRUE(project_options->relative_file_names);
  EXPECT_EQ(program_folder, "/host/folder");
}

TEST_F(RegistrySettings, StoredValuesAreRead) {
  t_memory_registry store;
  const struct {
    const char* name;
    const char* value;
  } values[] = {{"LastProject", "cpu.prj"},    {"ProgramPath", "/opt/orvo"},
                {"StartAtFirst", "0"},         {"ColorErrorLine", "1"},
                {"ColorComment", "2"},         {"ColorLiteral", "3"},
                {"ColorBreakPoint", "4"},      {"ColorDebuggedSourceLine", "5"},
                {"MessagesHeight", "6"},       {"DebugLocalsVariables", "1"},
                {"DebugLocalsSignals", "0"},   {"DebugLocalsGenerics", "7"},
                {"DebugHeight", "8"},          {"DiagramRowHeight", "9"},
                {"NumOfDiagrams", "-10"}};
  for (const auto& v : values) store.set_value(kGlobal, v.name, v.value);
  store.set_value(kEnvironment, "openlastproject", "1");
  read_registry_settings(store);
  const t_project_options_class& o = *project_options;
  EXPECT_EQ(o.last_project, "cpu.prj");
  EXPECT_EQ(o.program_path, "/opt/orvo");
  EXPECT_EQ(program_folder, "/opt/orvo");
  EXPECT_FALSE(o.start_at_first);
  EXPECT_EQ(o.color_error_line, 1);
  EXPECT_EQ(o.color_comment, 2);
  EXPECT_EQ(o.color_literal, 3);
  EXPECT_EQ(o.color_break_point, 4);
  EXPECT_EQ(o.color_debugged_source_line, 5);
  EXPECT_EQ(o.messages_height, 6);
  EXPECT_TRUE(o.show_local_variables);
  EXPECT_FALSE(o.show_local_signals);
  EXPECT_TRUE(o.show_local_generics);
  EXPECT_EQ(o.debug_height, 8);
  EXPECT_EQ(o.diagram_row_height, 9);
  EXPECT_EQ(o.number_of_diagrams, -10);
  EXPECT_TRUE(o.open_last_project);
}

TEST_F(RegistrySettings, MissingOpenLastProjectStartsAtFirst) {
  t_memory_registry store;
  store.set_value(kGlobal, "StartAtFirst", "0");
  read_registry_settings(store);
  EXPECT_TRUE(project_options->start_at_first);
  EXPECT_FALSE(project_options->open_last_project);
}

TEST_F(RegistrySettings, ValuesOfTheWrongTypeTakeTheDefault) {
  t_memory_registry store;
  store.set_value(kGlobal, "MessagesHeight", "tall");
  store.set_value(kGlobal, "DebugHeight", "99999999999");
  store.set_value(kGlobal, "DebugLocalsSignals", "no");
  read_registry_settings(store);
  EXPECT_EQ(project_options->messages_height, 125);
  EXPECT_EQ(project_options->debug_height, 100);
  EXPECT_TRUE(project_options->show_local_signals);
}

TEST_F(RegistrySettings, IniStoreReadsAndCreatesKeys) {
  const std::string path = (folder_ / "conf" / "registry.ini").string();
  t_ini_registry store(path);
  EXPECT_EQ(store.open_key(kGlobal, false), nullptr);
  ASSERT_NE(store.open_key(kGlobal, true), nullptr);
  EXPECT_NE(store.open_key(kGlobal, false), nullptr);
  EXPECT_NE(read_file("conf/registry.ini").find("[" + kGlobal + "]"), std::string::npos);

  write_file("conf/registry.ini", "[" + kGlobal + "]\r\nProgramPath=/srv/orvo\r\nNumOfDiagrams=3\r\n");
  const auto key = store.open_key(kGlobal, true);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->read_string("programpath").value_or(""), "/srv/orvo");
  EXPECT_EQ(key->read_integer("NumOfDiagrams").value_or(0), 3);
  EXPECT_FALSE(key->value_exists("LastProject"));
  read_registry_settings(store);
  EXPECT_EQ(program_folder, "/srv/orvo");

  std::filesystem::create_directory(folder_ / "blocked");
  t_ini_registry unwritable((folder_ / "blocked").string());  // a folder, not a file
  EXPECT_EQ(unwritable.open_key(kGlobal, true), nullptr);
}

// Sets environment variables for one scope and puts the old values back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name);
      saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
      if (value)
        ::setenv(name, value, 1);
      else
        ::unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(RegistryStore, DefaultPathFollowsTheEnvironment) {
  const struct {
    const char* file;
    const char* config;
    const char* home;
    const char* temp;
    const char* path;
  } cases[] = {
      {"/s/reg.ini", "/c", "/h", "/t", "/s/reg.ini"},
      {nullptr, "/c", "/h", "/t", "/c/orvo/registry.ini"},
      {"", "", "/h", "/t", "/h/.config/orvo/registry.ini"},
      // No home and a temporary folder that does not exist.
      {nullptr, nullptr, nullptr, "/nonexistent/tmp", "/tmp/orvo/registry.ini"},
  };
  for (const auto& c : cases) {
    const ScopedEnvironment environment({{"ORVO_REGISTRY_FILE", c.file},
                                         {"XDG_CONFIG_HOME", c.config},
                                         {"HOME", c.home},
                                         {"TMPDIR", c.temp}});
    std::string path;
    EXPECT_NO_THROW(path = t_ini_registry::default_path()) << c.path;
    EXPECT_EQ(path, c.path);
  }
}

}  // namespace
}  // namespace zantrope
