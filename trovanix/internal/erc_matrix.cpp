#include "erc_matrix.h"

#include <algorithm>

namespace trovanix {

namespace {

// Row r lists kind r against kinds 1 to 9; a '.' (below the diagonal)
// leaves its cell alone.
constexpr std::array<std::string_view, kErcKinds> kDefaultRows{
    "--------W", ".EWE-EEE-", "..WW-----", "...--EEE-", "....-----",
    ".....----", "......-W-", ".......W-", "........-",
};

}  // namespace

int ErcIndex(int i, int j) {
  if (i < 1 || i > kErcKinds || j < 1 || j > kErcKinds) return -1;
  return (std::min(i, j) - 1) * kErcKinds + (std::max(i, j) - 1);
}

std::uint8_t ErcLevelOfChar(char c) {
  switch (c) {
    case 'E':
    case 'e':
      return kErcError;
    case 'W':
    case 'w':
      return kErcWarning;
    default:
      return kErcAllowed;
  }
}

void SetErcEntry(ErcMatrix& matrix, int i, int j, std::uint8_t level) {
  if (const int index = ErcIndex(i, j); index >= 0) matrix[static_cast<std::size_t>(index)] = level;
}

void SetErcRow(ErcMatrix& matrix, int row, std::string_view text) {
  const int columns = std::min<int>(kErcKinds, static_cast<int>(text.size()));
  for (int c = 1; c <= columns; ++c) {
    const char ch = text[static_cast<std::size_t>(c - 1)];
    if (ch != '.') SetErcEntry(matrix, c, row, ErcLevelOfChar(ch));
  }
}

void InitErcMatrix(ErcMatrix& matrix) {
  matrix.fill(kErcAllowed);
  for (int r = 1; r <= kErcKinds; ++r) SetErcRow(matrix, r, kDefaultRows[static_cast<std::size_t>(r - 1)]);
}

}  // namespace trovanix
