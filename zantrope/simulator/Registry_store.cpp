#include "simulator/Registry_store.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "compiler/Classes_base.h"
#include "simulator/Ini_file.h"

namespace zantrope {

std::optional<std::int32_t> t_registry_key::read_integer(const std::string& name) const {
  const std::optional<std::string> text = read_string(name);
  const auto value = text ? parse_whole_number(*text) : std::nullopt;
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
  return std::int32_t(*value);
}

std::optional<bool> t_registry_key::read_bool(const std::string& name) const {
  const auto value = read_integer(name);
  if (!value) return std::nullopt;
  return *value != 0;
}

class t_memory_registry_key final : public t_registry_key {
 public:
  explicit t_memory_registry_key(const std::map<std::string, std::string>& values)
      : values_(values) {}
  bool value_exists(const std::string& name) const override {
    return values_.count(upper_ascii(name)) != 0;
  }
  std::optional<std::string> read_string(const std::string& name) const override {
    const auto it = values_.find(upper_ascii(name));
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }

 private:
  const std::map<std::string, std::string>& values_;
};

void t_memory_registry::set_value(const std::string& path, const std::string& name,
                                  const std::string& value) {
  keys_[upper_ascii(path)][upper_ascii(name)] = value;
}

bool t_memory_registry::key_exists(const std::string& path) const {
  return keys_.count(upper_ascii(path)) != 0;
}

std::unique_ptr<t_registry_key> t_memory_registry::open_key(const std::string& path,
                                                            bool create) {
  auto it = keys_.find(upper_ascii(path));
  if (it == keys_.end()) {
    if (!create || !writable_) return nullptr;
    it = keys_.emplace(upper_ascii(path), std::map<std::string, std::string>{}).first;
  }
  return std::make_unique<t_memory_registry_key>(it->second);
}

namespace {

class t_ini_registry_key final : public t_registry_key {
 public:
  t_ini_registry_key(t_ini_file ini, std::string section)
      : ini_(std::move(ini)), section_(std::move(section)) {}
  bool value_exists(const std::string& name) const override { return ini_.has_key(section_, name); }
  std::optional<std::string> read_string(const std::string& name) const override {
    if (!value_exists(name)) return std::nullopt;
    return ini_.read_string(section_, name, "");
  }

 private:
  t_ini_file ini_;
  std::string section_;
};

}  // namespace

std::string t_ini_registry::default_path() {
  if (const char* file = std::getenv("ORVO_REGISTRY_FILE"); file && *file) return file;
  std::filesystem::path base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
    base = config;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::filesystem::path(home) / ".config";
  else {
    // Without a home the store lies in the temporary folder; an unusable
    // TMPDIR must not stop the library from starting.
    std::error_code no_temp;
    base = std::filesystem::temp_directory_path(no_temp);
    if (no_temp) base = "/tmp";
  }
  return (base / "orvo" / "registry.ini").string();
}

std::unique_ptr<t_registry_key> t_ini_registry::open_key(const std::string& path, bool create) {
  t_ini_file ini(path_);
  if (!ini.has_section(path)) {
    if (!create) return nullptr;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ignored);
    std::ofstream out(path_, std::ios::binary | std::ios::app);
    out << "\r\n[" << path << "]\r\n";
    out.flush();
    if (!out) return nullptr;
  }
  return std::make_unique<t_ini_registry_key>(std::move(ini), path);
}

namespace {
t_registry* installed = nullptr;
}

t_registry& registry() {
  if (installed) return *installed;
  static t_ini_registry store(t_ini_registry::default_path());
  return store;
}

t_registry* set_registry(t_registry* store) {
  t_registry* previous = installed;
  installed = store;
  return previous;
}

}  // namespace zantrope
