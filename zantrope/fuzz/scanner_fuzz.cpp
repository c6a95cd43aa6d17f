// Fuzz target for the VHDL scanner and the literal conversions: any bytes
// scan to an end without crash or hang, every code is a terminal, the
// parser's error token or the end, and each record fits its token.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "compiler/Globals.h"
#include "compiler/Literal_conversion.h"
#include "compiler/Scanner.h"

using namespace zantrope;

namespace {

void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// Error lines go to a scratch folder of this process.
void set_up_once() {
  static bool done = false;
  if (done) return;
  done = true;
  const auto folder = std::filesystem::temp_directory_path() /
                      ("zantrope_scanner_fuzz_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  program_folder = folder.string();
  current_source_path = "fuzz.vhd";
}

bool is_terminal(token_code code) {
  return code >= first_terminal && code <= last_terminal && code != MED_PRECEDENCE &&
         code != MAX_PRECEDENCE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  set_up_once();
  const std::string text(reinterpret_cast<const char*>(data), size);
  t_scanner& s = scanner();
  s.begin_parse();
  s.open_text(text);
  std::size_t tokens = 0;
  for (;;) {
    parser_value value;
    const token_code code = s.next(&value);
    if (code == t_EOF) break;
    require(++tokens <= size, "more tokens than bytes");
    require(is_terminal(code) || code == t_error, "a code that is no terminal");
    const bool has_record = code == t_Identifier || code == t_AbstractLit ||
                            code == t_CharacterLit || code == t_StringLit || code == t_error;
    require(has_record == (value.token != nullptr), "a record where none belongs, or none");
    if (value.token) require(!value.token->text.empty(), "an empty lexeme");
    if (code == t_Identifier)
      for (char c : value.token->text) require(!(c >= 'A' && c <= 'Z'), "an upper-case name");
    require(s.source_line() >= 0 && s.source_column() >= 0, "a negative position");
  }
  require(s.token_list().size() <= tokens, "records nobody received");
  s.close_input();
  s.release_tokens();

  // The conversions take any text.
  const t_abstract_value v = convert_abstract_literal(text);
  if (!v.ok()) require(v.integer == 0 && v.real == 0.0, "a failed conversion left a value");
  const t_physical_value p = convert_physical_real(v.real, "hr", text);
  if (!p.ok()) require(p.femtoseconds == 0, "a failed physical conversion left a value");
  std::filesystem::remove(std::filesystem::path(program_folder) / "yyerror.txt");
  return 0;
}
