#include "compiler/Reserved_words.h"

#include <cstring>
#include <string>

namespace zantrope {

const t_reserved_word reserved_word_table[93] = {
    {"abs", 363, 363},
    {"access", 258, 258},
    {"after", 259, 259},
    {"alias", 260, 260},
    {"all", 261, 261},
    {"and", 262, 262},
    {"architecture", 263, 263},
    {"array", 264, 264},
    {"assert", 265, 265},
    {"attribute", 266, 266},
    {"begin", 267, 267},
    {"block", 268, 268},
    {"body", 269, 269},
    {"buffer", 270, 270},
    {"bus", 271, 271},
    {"case", 272, 272},
    {"component", 273, 273},
    {"configuration", 274, 274},
    {"constant", 275, 275},
    {"disconnect", 276, 276},
    {"downto", 277, 277},
    {"else", 278, 278},
    {"elsif", 279, 279},
    {"end", 280, 280},
    {"entity", 281, 281},
    {"exit", 282, 282},
    {"file", 283, 283},
    {"for", 284, 284},
    {"function", 285, 285},
    {"generate", 286, 286},
    {"generic", 287, 287},
    {"guarded", 288, 288},
    {"if", 289, 289},
    {"impure", 290, 290},
    {"in", 291, 291},
    {"inertial", 292, 292},
    {"inout", 293, 293},
    {"is", 294, 294},
    {"label", 295, 295},
    {"library", 296, 296},
    {"linkage", 297, 297},
    {"loop", 298, 298},
    {"map", 299, 299},
    {"mod", 358, 358},
    {"nand", 300, 300},
    {"new", 301, 301},
    {"next", 302, 302},
    {"nor", 303, 303},
    {"not", 362, 362},
    {"null", 304, 304},
    {"of", 305, 305},
    {"on", 306, 306},
    {"open", 307, 307},
    {"or", 308, 308},
    {"others", 309, 309},
    {"out", 310, 310},
    {"package", 311, 311},
    {"port", 312, 312},
    {"postponed", 313, 313},
    {"procedure", 314, 314},
    {"process", 315, 315},
    {"pure", 316, 316},
    {"range", 317, 317},
    {"record", 318, 318},
    {"register", 319, 319},
    {"reject", 320, 320},
    {"rem", 357, 357},
    {"report", 321, 321},
    {"return", 322, 322},
    {"rol", 323, 323},
    {"ror", 324, 324},
    {"select", 325, 325},
    {"severity", 326, 326},
    {"signal", 327, 327},
    {"sla", 328, 328},
    {"sll", 329, 329},
    {"sra", 330, 330},
    {"srl", 331, 331},
    {"subtype", 332, 332},
    {"then", 333, 333},
    {"to", 334, 334},
    {"transport", 335, 335},
    {"type", 336, 336},
    {"units", 337, 337},
    {"until", 338, 338},
    {"use", 339, 339},
    {"variable", 340, 340},
    {"wait", 341, 341},
    {"when", 342, 342},
    {"while", 343, 343},
    {"with", 344, 344},
    {"xnor", 345, 345},
    {"xor", 346, 346},
};

namespace {

// Per initial letter: the letter and the first and last row (from 1).
struct t_letter_range {
  std::int32_t letter;
  std::int32_t first;
  std::int32_t last;
};

constexpr t_letter_range first_letter_index[] = {
    {'a', 1, 10},
    {'b', 11, 15},
    {'c', 16, 19},
    {'d', 20, 21},
    {'e', 22, 26},
    {'f', 27, 29},
    {'g', 30, 32},
    {'i', 33, 38},
    {'l', 39, 42},
    {'m', 43, 44},
    {'n', 45, 50},
    {'o', 51, 56},
    {'p', 57, 62},
    {'r', 63, 71},
    {'s', 72, 79},
    {'t', 80, 83},
    {'u', 84, 86},
    {'v', 87, 87},
    {'w', 88, 91},
    {'x', 92, 93},
};

}  // namespace

std::int32_t keyword_index(const char* word) {
  if (!word) return -1;
  std::string lower(word);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  const std::int32_t initial = static_cast<unsigned char>(lower.empty() ? 0 : lower[0]);
  for (const t_letter_range& range : first_letter_index) {
    if (range.letter != initial) continue;
    for (std::int32_t row = range.first; row <= range.last; ++row) {
      const t_reserved_word& entry = reserved_word_table[row - 1];
      if (std::strcmp(entry.word, lower.c_str()) == 0) return entry.token;
    }
    return -1;
  }
  return -1;
}

std::string_view keyword_of_token(std::int32_t token) {
  for (const t_reserved_word& entry : reserved_word_table)
    if (entry.token == token) return entry.word;
  return {};
}

bool is_identifier_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool is_digit_char(char c) { return c >= '0' && c <= '9'; }

}  // namespace zantrope
