// Fuzz target for the parser: any sequence of token codes, one byte each,
// must end in a result of 0, 1 or 2 with at most one report line, without a
// crash, a hang or a sanitizer report. Byte 0 ends the input; any other byte
// b stands for the code 256 + b % 125, which covers every terminal, the
// parser's own error and undefined codes and a code beyond the terminals.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "compiler/Globals.h"
#include "compiler/Parser.h"
#include "compiler/Scanner.h"

using namespace zantrope;

namespace {

const std::uint8_t* input = nullptr;
std::size_t input_size = 0;
std::size_t position = 0;

token_code next_code() {
  if (position >= input_size) return 0;
  const std::uint8_t byte = input[position++];
  scanner().set_position(scanner().source_line(), scanner().source_column() + 1,
                         std::to_string(byte));
  return byte == 0 ? 0 : 256 + byte % 125;
}

void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() /
                ("zantrope_parser_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  program_folder = folder.string();
  const std::filesystem::path errors = folder / std::string(kParserErrorFile);
  std::filesystem::remove(errors);

  input = data;
  input_size = size;
  position = 0;
  scanner().set_position(0, 0, "");
  const std::int32_t result = parse_tokens(&next_code);
  require(result >= 0 && result <= 2, "a result other than 0, 1 or 2");

  std::ifstream reported(errors);
  std::size_t lines = 0;
  for (std::string line; std::getline(reported, line);) ++lines;
  require(lines == (result == 0 ? 0u : 1u), "a parse reported other than one error line");
  return 0;
}
