#pragma once
// Helpers of the library file tests: a scratch directory, whole-file bytes
// and the hand-written fixtures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "pakro/shell/library_file.h"

namespace pakro::testing {

inline std::string FixturePath(std::string_view name) {
  return std::string(PAKRO_FIXTURES) + "/" + std::string(name);
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Lines given with "\n" as a file with CR LF line ends.
inline std::string Crlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A fresh directory, removed with its content at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("pakro_") + info->test_suite_name() + "_" + info->name() + "_" +
                       std::to_string(::getpid());
    for (char& c : name)
      if (c == '/') c = '_';
    dir_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string Path(std::string_view name) const { return (dir_ / name).string(); }
  std::string Dir() const { return dir_.string(); }
  // Writes a file of the given bytes and returns its path.
  std::string File(std::string_view name, std::string_view bytes) const {
    WriteBytes(Path(name), bytes);
    return Path(name);
  }

 private:
  std::filesystem::path dir_;
};

// Opens a library file, reads its header and hands it to the list.
template <class List>
void Open(List& list, const std::string& path) {
  LibraryFile file(path);
  file.ReadHeader();
  list.ReadLibrary(file);
  EXPECT_FALSE(file.IsOpen());
}

}  // namespace pakro::testing
