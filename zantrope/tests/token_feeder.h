#pragma once
// Feeds the parser from a text whose tokens stand apart (blanks or line ends
// between every two tokens), leaving the line, column and lexeme that the
// scanner leaves for error reports: the column counts every character since
// the last line end, blanks included, and ends after the lexeme. The words
// are read as the scanner would read them when they stand alone: reserved
// words, symbols, numbers (abstract literals), 'c' (character literals),
// "..." (string literals, without blanks inside) and identifiers. "#N" is the
// raw token code N, for codes the scanner never gives.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <string>

#include "compiler/Globals.h"
#include "compiler/Parser.h"
#include "compiler/Reserved_words.h"
#include "compiler/Scanner.h"
#include "compiler/Tokens.h"

namespace zantrope::testing {

class token_feeder {
 public:
  explicit token_feeder(std::string text) : text_(std::move(text)) {
    active_ = this;
    scanner().set_position(0, 0, "");
  }
  ~token_feeder() { active_ = nullptr; }
  token_feeder(const token_feeder&) = delete;
  token_feeder& operator=(const token_feeder&) = delete;

  // The token source for parse_tokens.
  static token_code next() { return active_->read(); }

  // The code a standalone word scans as.
  static token_code code_of(const std::string& word) {
    if (word[0] == '#') return token_code(std::atoi(word.c_str() + 1));
    if (const std::int32_t keyword = keyword_index(word.c_str()); keyword != -1) return keyword;
    static const std::map<std::string, token_code> symbols = {
        {"&", t_Ampersand}, {"'", t_Apostrophe}, {"(", t_LeftParen}, {")", t_RightParen},
        {"**", t_DoubleStar}, {"*", t_Star},     {"+", t_Plus},      {",", t_Comma},
        {"-", t_Minus},     {":=", t_VarAsgn},  {":", t_Colon},     {";", t_Semicolon},
        {"<=", t_LESym},    {">=", t_GESym},    {"<", t_LTSym},     {">", t_GTSym},
        {"=", t_EQSym},     {"/=", t_NESym},    {"=>", t_Arrow},    {"<>", t_Box},
        {"|", t_Bar},       {".", t_Dot},       {"/", t_Slash}};
    if (const auto symbol = symbols.find(word); symbol != symbols.end()) return symbol->second;
    const unsigned char first = static_cast<unsigned char>(word[0]);
    if (std::isdigit(first)) return t_AbstractLit;
    if (word.size() == 3 && word[0] == '\'' && word[2] == '\'') return t_CharacterLit;
    if (word.size() >= 2 && word[0] == '"' && word.back() == '"') return t_StringLit;
    if (std::isalpha(first) || first == '_') return t_Identifier;
    ADD_FAILURE() << "the feeder cannot read the word " << word;
    return t_UNDEF;
  }

 private:
  token_code read() {
    std::int32_t line = scanner().source_line();
    std::int32_t column = scanner().source_column();
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n')) {
      if (text_[at_] == '\n') {
        ++line;
        column = 0;
      } else {
        ++column;
      }
      ++at_;
    }
    if (at_ == text_.size()) {
      scanner().set_position(line, column, "");
      return 0;
    }
    const std::size_t end = text_.find_first_of(" \t\n", at_);
    const std::string lexeme =
        text_.substr(at_, end == std::string::npos ? std::string::npos : end - at_);
    at_ += lexeme.size();
    scanner().set_position(line, column + std::int32_t(lexeme.size()), lexeme);
    return code_of(lexeme);
  }

  std::string text_;
  std::size_t at_ = 0;
  static inline token_feeder* active_ = nullptr;
};

}  // namespace zantrope::testing
