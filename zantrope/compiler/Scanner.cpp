#include "compiler/Scanner.h"

#include <cstdio>

#include "compiler/Diagnostics.h"
#include "compiler/Globals.h"
#include "compiler/Literal_conversion.h"
#include "compiler/Log_file.h"
#include "compiler/Parser.h"
#include "compiler/Reserved_words.h"

namespace zantrope {

namespace {

bool is_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_extended_digit(unsigned char c) {
  return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool is_graphic(unsigned char c) {
  return c == '\t' || (c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xA7);
}

// Operators and delimiters, longer forms first.
struct t_operator {
  const char* text;
  token_code code;
};
constexpr t_operator kOperators[] = {
    {"**", t_DoubleStar}, {":=", t_VarAsgn}, {"<=", t_LESym},  {">=", t_GESym},
    {"/=", t_NESym},      {"=>", t_Arrow},   {"<>", t_Box},    {"&", t_Ampersand},
    {"'", t_Apostrophe},  {"(", t_LeftParen}, {")", t_RightParen}, {"*", t_Star},
    {"+", t_Plus},        {",", t_Comma},    {"-", t_Minus},   {":", t_Colon},
    {";", t_Semicolon},   {"<", t_LTSym},    {">", t_GTSym},   {"=", t_EQSym},
    {"|", t_Bar},         {"!", t_Bar},      {".", t_Dot},     {"/", t_Slash},
};

// Digits with single underscores between them, from `at`; the end of the
// run, or `at` when no digit starts there.
std::size_t digit_run(const std::string& s, std::size_t at, bool extended) {
  const auto ok = [extended](unsigned char c) {
    return extended ? is_extended_digit(c) : is_digit(c);
  };
  if (at >= s.size() || !ok(s[at])) return at;
  std::size_t p = at + 1;
  while (p < s.size()) {
    if (ok(s[p])) {
      ++p;
    } else if (s[p] == '_' && p + 1 < s.size() && ok(s[p + 1])) {
      p += 2;
    } else {
      break;
    }
  }
  return p;
}

// An exponent from `at`: its end, or `at` when none is there.
std::size_t exponent_run(const std::string& s, std::size_t at) {
  if (at >= s.size() || (s[at] != 'e' && s[at] != 'E')) return at;
  std::size_t p = at + 1;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
  const std::size_t end = digit_run(s, p, false);
  return end == p ? at : end;
}

}  // namespace

bool t_scanner::open_file(const std::string& path) {
  close_input();
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    std::string text;
    char block[8192];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (!failed) {
      input_ = std::move(text);
      return true;
    }
  }
  append_error_file_line("Cannot read the source file " + path, "[Error]");
  abort_run();
  return false;
}

void t_scanner::open_text(std::string text) {
  close_input();
  input_ = std::move(text);
}

void t_scanner::close_input() {
  input_ = std::string();
  pos_ = 0;
}

void t_scanner::begin_parse() {
  source_line_ = 0;
  source_column_ = 0;
  line_number_ = 1;
  literal_failed_ = false;
  token_list_.clear();
}

void t_scanner::set_position(std::int32_t line, std::int32_t column, std::string lexeme) {
  source_line_ = line;
  source_column_ = column;
  lexeme_ = std::move(lexeme);
}

void t_scanner::release_tokens() {
  token_list_.clear();
  owned_.clear();
}

t_token* t_scanner::make_token(std::size_t length, std::uint8_t kind) {
  auto token = std::make_unique<t_token>(line_number_, std::string_view(input_).substr(pos_),
                                         length);
  token->set_flag(kind);
  t_token* raw = token.get();
  owned_.push_back(std::move(token));
  token_list_.push_back(raw);
  return raw;
}

void t_scanner::literal_error(const std::string& message) {
  literal_failed_ = true;
  report_parser_error(message.c_str());
}

std::size_t t_scanner::match_abstract_literal(std::size_t at) const {
  const std::size_t integer_end = digit_run(input_, at, false);
  if (integer_end == at) return 0;
  std::size_t best = integer_end;
  // decimal literal
  std::size_t p = integer_end;
  if (p < input_.size() && input_[p] == '.') {
    const std::size_t fraction_end = digit_run(input_, p + 1, false);
    if (fraction_end != p + 1) p = fraction_end;
  }
  p = exponent_run(input_, p);
  if (p > best) best = p;
  // based literal
  if (integer_end < input_.size() && (input_[integer_end] == '#' || input_[integer_end] == ':')) {
    const char delimiter = input_[integer_end];
    std::size_t q = digit_run(input_, integer_end + 1, true);
    if (q != integer_end + 1) {
      if (q < input_.size() && input_[q] == '.') {
        const std::size_t fraction_end = digit_run(input_, q + 1, true);
        q = fraction_end != q + 1 ? fraction_end : std::string::npos;
      }
      if (q != std::string::npos && q < input_.size() && input_[q] == delimiter) {
        q = exponent_run(input_, q + 1);
        if (q > best) best = q;
      }
    }
  }
  return best - at;
}

std::size_t t_scanner::match_string(std::size_t at) const {
  const char delimiter = input_[at];
  if (delimiter != '"' && delimiter != '%') return 0;
  std::size_t p = at + 1;
  while (p < input_.size()) {
    const unsigned char c = input_[p];
    if (c == delimiter) {
      if (p + 1 < input_.size() && input_[p + 1] == delimiter) {
        p += 2;
        continue;
      }
      return p + 1 - at;
    }
    if (!is_graphic(c)) return 0;
    ++p;
  }
  return 0;
}

std::size_t t_scanner::match_bit_string(std::size_t at) const {
  switch (input_[at]) {
    case 'b': case 'B': case 'o': case 'O': case 'x': case 'X': break;
    default: return 0;
  }
  if (at + 1 >= input_.size()) return 0;
  const char delimiter = input_[at + 1];
  if (delimiter != '"' && delimiter != '%') return 0;
  const std::size_t end = digit_run(input_, at + 2, true);
  if (end == at + 2 || end >= input_.size() || input_[end] != delimiter) return 0;
  return end + 1 - at;
}

token_code t_scanner::next(parser_value* value) {
  while (pos_ < input_.size()) {
    const unsigned char c = input_[pos_];
    std::size_t length = 1;
    token_code code = -1;  // -1: skipped
    std::uint8_t kind = 0xFF;  // no token record

    if (c == '\n') {
      ++source_line_;
      ++line_number_;
      source_column_ = 0;
      ++pos_;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r') {
      ++source_column_;
      ++pos_;
      continue;
    }
    if (c == '-' && pos_ + 1 < input_.size() && input_[pos_ + 1] == '-') {
      // A comment: everything up to the line end, which the next round
      // reads, or up to the end of the input on a last line without one.
      std::size_t end = input_.find('\n', pos_);
      if (end == std::string::npos) end = input_.size();
      source_column_ += std::int32_t(end - pos_);
      pos_ = end;
      continue;
    }

    // The rules that can start here, longest match first; on equal length
    // the rule listed first in the table of the scanner wins (operators,
    // identifier, abstract, character, string, bit-string literal).
    for (const t_operator& op : kOperators) {
      const std::string_view text(op.text);
      if (input_.compare(pos_, text.size(), text) == 0) {
        length = text.size();
        code = op.code;
        break;
      }
    }
    if (is_letter(c) || c == '_') {
      std::size_t end = pos_ + 1;
      while (end < input_.size() &&
             (is_letter(input_[end]) || is_digit(input_[end]) || input_[end] == '_'))
        ++end;
      length = end - pos_;
      code = t_Identifier;
      kind = token_kinds::identifier;
    }
    if (is_digit(c)) {
      length = match_abstract_literal(pos_);
      code = t_AbstractLit;
      kind = token_kinds::integer;
    }
    if (c == '\'' && pos_ + 2 < input_.size() && is_graphic(input_[pos_ + 1]) &&
        input_[pos_ + 2] == '\'') {
      length = 3;
      code = t_CharacterLit;
      kind = token_kinds::character;
    }
    if (const std::size_t n = match_string(pos_); n > length) {
      length = n;
      code = t_StringLit;
      kind = token_kinds::string;
    }
    const std::size_t bit_length = match_bit_string(pos_);
    if (bit_length > length) {
      length = bit_length;
      code = t_StringLit;
      kind = token_kinds::string;
    }

    source_column_ += std::int32_t(length);
    lexeme_.assign(input_, pos_, length);
    if (code < 0) {
      if (std::FILE* messages = lexer_message_file())
        std::fprintf(messages, "illegal character '0x%02x'\n", unsigned(c));
      ++pos_;
      continue;
    }

    t_token* token = nullptr;
    bool bad = false;
    if (code == t_Identifier) {
      const std::int32_t word = keyword_index(lexeme_.c_str());
      if (word != -1) {
        pos_ += length;
        if (value) value->token = nullptr;
        return word;
      }
      token = make_token(length, token_kinds::identifier);
      token->normalize_identifier();
    } else if (kind == token_kinds::integer) {
      token = make_token(length, token_kinds::integer);
      const t_abstract_value v = convert_abstract_literal(token->text);
      if (v.is_real) {
        token->set_flag(token_kinds::real);
        token->data.float_value = v.real;
      } else {
        token->data.int_value = v.integer;
      }
      if (!v.ok()) {
        literal_error(v.error);
        bad = true;
      }
    } else if (kind == token_kinds::character) {
      token = make_token(length, kind);
      token->strip_quotes();
    } else if (kind == token_kinds::string) {
      token = make_token(length, kind);
      if (length == bit_length) {
        token->keep_bit_string();
        const int limit = token->data.bit_base == 'b' ? 2 : token->data.bit_base == 'o' ? 8 : 16;
        for (char d : token->data.name) {
          const int digit = is_digit(d) ? d - '0' : (d | 0x20) - 'a' + 10;
          if (digit >= limit) {
            literal_error(std::string("digit '") + d + "' not allowed in a bit-string literal");
            bad = true;
            break;
          }
        }
      } else {
        token->strip_quotes();
      }
    }
    pos_ += length;
    if (value) value->token = token;
    // A literal that did not convert ends the parse: the error line is
    // written, and the parser's error token tells the parser so.
    if (bad) return t_error;
    return code;
  }
  lexeme_.clear();
  if (value) value->token = nullptr;
  return t_EOF;
}

t_scanner& scanner() {
  static t_scanner the_scanner;
  return the_scanner;
}

token_code vhdl_scanner() { return scanner().next(&parser_lookahead()); }

token_code vhdl_scanner(parser_value& value) { return scanner().next(&value); }

bool open_scanner_input() {
  scanner().begin_parse();
  return scanner().open_file(current_source_path);
}

void close_scanner_input() { scanner().close_input(); }

void close_scanner_output() { close_lexer_message_file(); }

}  // namespace zantrope
