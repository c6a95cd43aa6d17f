#pragma once
// The default electrical-rule-check matrix: for each pair of nine kinds,
// numbered 1 to 9, the level of the check when the two meet (0 allowed,
// 1 warning, 2 error). Each unordered pair has one cell, in the upper
// triangle including the diagonal; the cells below it stay 0.
#include <array>
#include <cstdint>
#include <string_view>

namespace trovanix {

inline constexpr int kErcKinds = 9;
inline constexpr std::uint8_t kErcAllowed = 0;
inline constexpr std::uint8_t kErcWarning = 1;
inline constexpr std::uint8_t kErcError = 2;

// Nine rows of nine, row-major.
using ErcMatrix = std::array<std::uint8_t, kErcKinds * kErcKinds>;

// The cell of kinds i and j, whichever order they come in; -1 unless both
// lie in 1..9.
int ErcIndex(int i, int j);
// 'E' or 'e' is an error, 'W' or 'w' a warning, anything else allowed.
std::uint8_t ErcLevelOfChar(char c);
// Stores the level in the cell of i and j; an index outside 1..9 changes
// nothing.
void SetErcEntry(ErcMatrix& matrix, int i, int j, std::uint8_t level);
// Row r of the matrix from its text, one character per kind 1 to 9: each
// character but '.' sets the cell of r and that kind. Characters beyond the
// ninth are not looked at.
void SetErcRow(ErcMatrix& matrix, int row, std::string_view text);
// Clears the matrix and fills it with the default rows.
void InitErcMatrix(ErcMatrix& matrix);

}  // namespace trovanix
