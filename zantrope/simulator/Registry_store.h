#pragma once
// The settings store the host editor shares with the library: keys named by
// backslash-separated paths under a root, each holding named values. Key
// and value names compare without regard to case.
//
// The store of a running library is an ini file: by default
// $XDG_CONFIG_HOME/orvo/registry.ini (or $HOME/.config/orvo/registry.ini),
// or the file that the environment variable ORVO_REGISTRY_FILE names. Each
// key is a section named by its full path, e.g.
//   [HKEY_LOCAL_MACHINE\Software\Quillmarch\ORVO Vhdl\3.0\Global]
//   ProgramPath=/opt/orvo
//   MessagesHeight=125
// Integers (and Booleans, 0 false) are written in decimal.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace zantrope {

class t_registry_key {
 public:
  virtual ~t_registry_key() = default;
  virtual bool value_exists(const std::string& name) const = 0;
  // The value as text; nothing when absent.
  virtual std::optional<std::string> read_string(const std::string& name) const = 0;
  // The value as a 32-bit integer; nothing when absent or not a number.
  std::optional<std::int32_t> read_integer(const std::string& name) const;
  std::optional<bool> read_bool(const std::string& name) const;
};

class t_registry {
 public:
  virtual ~t_registry() = default;
  // The key of that path, created (empty) when missing and `create` is set;
  // null when it neither exists nor can be created.
  virtual std::unique_ptr<t_registry_key> open_key(const std::string& path, bool create) = 0;
};

// A store held in memory (what tests use); `writable` false refuses to
// create keys, as a store without write access does.
class t_memory_registry final : public t_registry {
 public:
  explicit t_memory_registry(bool writable = true) : writable_(writable) {}
  void set_value(const std::string& path, const std::string& name, const std::string& value);
  bool key_exists(const std::string& path) const;
  std::unique_ptr<t_registry_key> open_key(const std::string& path, bool create) override;

 private:
  friend class t_memory_registry_key;
  bool writable_;
  std::map<std::string, std::map<std::string, std::string>> keys_;
};

// The ini-file store described above.
class t_ini_registry final : public t_registry {
 public:
  explicit t_ini_registry(std::string path) : path_(std::move(path)) {}
  // Where the store of this process lies.
  static std::string default_path();
  std::unique_ptr<t_registry_key> open_key(const std::string& path, bool create) override;

 private:
  std::string path_;
};

// The store the library reads; tests install their own. Null restores the
// default ini store.
t_registry& registry();
t_registry* set_registry(t_registry* store);

}  // namespace zantrope
