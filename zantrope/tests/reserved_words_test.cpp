#include "compiler/Reserved_words.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace zantrope {
namespace {

// Every reserved word with its token code, written out independently of
// the library's table.
const std::vector<std::pair<std::string, int>> kWords = {
    {"abs", 363},      {"access", 258},    {"after", 259},     {"alias", 260},
    {"all", 261},      {"and", 262},       {"architecture", 263}, {"array", 264},
    {"assert", 265},   {"attribute", 266}, {"begin", 267},     {"block", 268},
    {"body", 269},     {"buffer", 270},    {"bus", 271},       {"case", 272},
    {"component", 273}, {"configuration", 274}, {"constant", 275}, {"disconnect", 276},
    {"downto", 277},   {"else", 278},      {"elsif", 279},     {"end", 280},
    {"entity", 281},   {"exit", 282},      {"file", 283},      {"for", 284},
    {"function", 285}, {"generate", 286},  {"generic", 287},   {"guarded", 288},
    {"if", 289},       {"impure", 290},    {"in", 291},        {"inertial", 292},
    {"inout", 293},    {"is", 294},        {"label", 295},     {"library", 296},
    {"linkage", 297},  {"loop", 298},      {"map", 299},       {"mod", 358},
    {"nand", 300},     {"new", 301},       {"next", 302},      {"nor", 303},
    {"not", 362},      {"null", 304},      {"of", 305},        {"on", 306},
    {"open", 307},     {"or", 308},        {"others", 309},    {"out", 310},
    {"package", 311},  {"port", 312},      {"postponed", 313}, {"procedure", 314},
    {"process", 315},  {"pure", 316},      {"range", 317},     {"record", 318},
    {"register", 319}, {"reject", 320},    {"rem", 357},       {"report", 321},
    {"return", 322},   {"rol", 323},       {"ror", 324},       {"select", 325},
    {"severity", 326}, {"signal", 327},    {"sla", 328},       {"sll", 329},
    {"sra", 330},      {"srl", 331},       {"subtype", 332},   {"then", 333},
    {"to", 334},       {"transport", 335}, {"type", 336},      {"units", 337},
    {"until", 338},    {"use", 339},       {"variable", 340},  {"wait", 341},
    {"when", 342},     {"while", 343},     {"with", 344},      {"xnor", 345},
    {"xor", 346}};

std::string upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string mixed(std::string s) {
  for (std::size_t i = 0; i < s.size(); i += 2)
    s[i] = char(std::toupper(static_cast<unsigned char>(s[i])));
  return s;
}

TEST(ReservedWords, EveryWordInAnyCaseGivesItsCode) {
  ASSERT_EQ(kWords.size(), 93u);
  for (const auto& [word, code] : kWords) {
    EXPECT_EQ(keyword_index(word.c_str()), code) << word;
    EXPECT_EQ(keyword_index(upper(word).c_str()), code) << word;
    EXPECT_EQ(keyword_index(mixed(word).c_str()), code) << word;
    EXPECT_EQ(keyword_of_token(code), word);
  }
}

TEST(ReservedWords, TableRowsAreSortedAndCarryTheCodeTwice) {
  for (std::size_t i = 0; i < 93; ++i) {
    EXPECT_EQ(reserved_word_table[i].token, reserved_word_table[i].token2);
    if (i > 0) {
      EXPECT_LT(std::string(reserved_word_table[i - 1].word),
                std::string(reserved_word_table[i].word));
    }
  }
}

TEST(ReservedWords, NearMissesAreIdentifiers) {
  for (const char* word :
       {"format", "fo", "ends", "xnorr", "beginx", "en", "shared", "group", "literal", "hello",
        "just", "kind", "quit", "yes", "zero", "1abc", "_end", "", "a", "z", "toz", "b\xe9gin"})
    EXPECT_EQ(keyword_index(word), -1) << word;
  EXPECT_EQ(keyword_index(nullptr), -1);
  EXPECT_TRUE(keyword_of_token(351).empty());
}

TEST(ReservedWords, CharacterClasses) {
  for (char c : std::string("azAZ_m")) EXPECT_TRUE(is_identifier_char(c)) << c;
  for (char c : std::string("09 -'\"@[`{")) EXPECT_FALSE(is_identifier_char(c)) << c;
  for (char c : std::string("0189")) EXPECT_TRUE(is_digit_char(c)) << c;
  for (char c : std::string("a/:_ ")) EXPECT_FALSE(is_digit_char(c)) << c;
}

}  // namespace
}  // namespace zantrope
