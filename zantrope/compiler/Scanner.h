#pragma once
// The VHDL scanner: turns the text of one source file into token codes for
// the parser. Identifiers that are not reserved words and literals also get
// a t_token record, which goes to the token slot of the parser value and to
// the token list of the current parse.
//
// All of the scanner's state lives in one t_scanner object; the library
// keeps one (scanner()), which the parser drives through vhdl_scanner().
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiler/Grammar_value.h"
#include "compiler/Token.h"
#include "compiler/Tokens.h"

namespace zantrope {

class t_scanner {
 public:
  // Reads the file whole as the next input; on failure the input is empty,
  // an "[Error]" line names the file and the abort flag is set.
  bool open_file(const std::string& path);
  // The next input is this text (no file).
  void open_text(std::string text);
  // Forgets the input.
  void close_input();

  // The next token code, 0 at the end of the input. The token record of an
  // identifier or literal goes to value->token (when value is given).
  token_code next(parser_value* value);

  // Starts a parse: source_line and the column go to 0, the line counter
  // of the token records to 1, and a new token list is begun.
  void begin_parse();
  // Records made during the current parse, in order.
  const std::vector<t_token*>& token_list() const { return token_list_; }
  // Frees every record made since the last release (the nodes of a build
  // point at them, so the build's owner calls this when the build goes).
  void release_tokens();
  std::size_t owned_token_count() const { return owned_.size(); }
  // Where the scanner stands: the line (line ends seen since the parse
  // began, from 0), the column (bytes since the last line end, up to the
  // end of the last lexeme) and the last lexeme. Errors report them.
  std::int32_t source_line() const { return source_line_; }
  std::int32_t source_column() const { return source_column_; }
  const std::string& lexeme() const { return lexeme_; }
  void set_position(std::int32_t line, std::int32_t column, std::string lexeme);

  // Line of the next token record (counts line ends from 1).
  std::int32_t line_number() const { return line_number_; }
  // A literal did not convert in this parse: "[Parser error]" reported, and
  // next() answered t_error (the parser's error token) in place of its code.
  bool literal_failed() const { return literal_failed_; }

 private:
  t_token* make_token(std::size_t length, std::uint8_t kind);
  // The length of the longest match at pos_ and the code it gives; 0 when
  // no rule other than the illegal-character rule matches.
  std::size_t match_abstract_literal(std::size_t at) const;
  std::size_t match_string(std::size_t at) const;
  std::size_t match_bit_string(std::size_t at) const;
  void literal_error(const std::string& message);

  std::string input_;
  std::size_t pos_ = 0;
  std::int32_t source_line_ = 0;
  std::int32_t source_column_ = 0;
  std::string lexeme_;
  std::vector<std::unique_ptr<t_token>> owned_;
  std::vector<t_token*> token_list_;
  std::int32_t line_number_ = 1;
  bool literal_failed_ = false;
};

// The library's scanner.
t_scanner& scanner();

// The next token of the library's scanner, the parser's token source: the
// record goes to the token slot of the parser's lookahead value.
token_code vhdl_scanner();
token_code vhdl_scanner(parser_value& value);
// Starts a parse of current_source_path: false (with an error line naming
// the file) when the file cannot be read.
bool open_scanner_input();
void close_scanner_input();
// Closes the lexer message file yylex.txt.
void close_scanner_output();

}  // namespace zantrope
