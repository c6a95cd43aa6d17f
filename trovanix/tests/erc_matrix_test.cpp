#include "internal/erc_matrix.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace trovanix;

namespace {

// The default matrix as it is meant to come out: row = smaller kind, column
// = larger kind; '.' marks a cell below the diagonal, which holds 0.
const char* const kExpectedTriangle[kErcKinds] = {
    "000000001",  //
    ".21202220",  //
    "..1100000",  //
    "...002220",  //
    "....00000",  //
    ".....0000",  //
    "......010",  //
    ".......10",  //
    "........0",
};

std::string rowOf(const ErcMatrix& m, int row) {
  std::string text;
  for (int c = 0; c < kErcKinds; ++c) {
    const int value = m[static_cast<std::size_t>((row - 1) * kErcKinds + c)];
    text += static_cast<char>('0' + value);
  }
  return text;
}

ErcMatrix filledWith(std::uint8_t level) {
  ErcMatrix m;
  m.fill(level);
  return m;
}

}  // namespace

TEST(ErcMatrix, DefaultIsThePrintedTriangle) {
  ErcMatrix m = filledWith(7);  // whatever was there before goes
  InitErcMatrix(m);
  for (int r = 1; r <= kErcKinds; ++r) {
    std::string expected = kExpectedTriangle[r - 1];
    for (char& c : expected)
      if (c == '.') c = '0';
    EXPECT_EQ(rowOf(m, r), expected) << "row " << r;
  }
  // Looked up either way round, a pair gives the same level.
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(9, 1))], kErcWarning);
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(2, 2))], kErcError);
  EXPECT_EQ(ErcIndex(8, 7), ErcIndex(7, 8));
}

TEST(ErcMatrix, LevelOfEachCharacter) {
  const std::vector<std::pair<char, std::uint8_t>> cases{
      {'E', 2}, {'e', 2}, {'W', 1}, {'w', 1}, {'-', 0}, {'.', 0},
      {'X', 0}, {'2', 0}, {' ', 0}, {'\0', 0}, {'\xC9', 0}};
  for (const auto& [c, level] : cases) EXPECT_EQ(ErcLevelOfChar(c), level) << int(c);
}

TEST(ErcMatrix, EntryIsOneCellPerPairAndIgnoresKindsOutside1To9) {
  ErcMatrix m = filledWith(0);
  SetErcEntry(m, 3, 2, kErcError);
  EXPECT_EQ(m[1 * 9 + 2], kErcError);
  SetErcEntry(m, 2, 3, kErcWarning);  // the same cell: the later call wins
  EXPECT_EQ(m[1 * 9 + 2], kErcWarning);
  EXPECT_EQ(m[2 * 9 + 1], 0);  // below the diagonal stays 0

  const ErcMatrix before = m;
  for (const auto& [i, j] : std::vector<std::pair<int, int>>{
           {0, 1}, {1, 0}, {10, 1}, {1, 10}, {0, 0}, {10, 10}, {-1, 5}, {5, -9}, {9, 10}})
    SetErcEntry(m, i, j, kErcError);
  EXPECT_EQ(m, before);
  EXPECT_EQ(ErcIndex(0, 1), -1);
  EXPECT_EQ(ErcIndex(9, 9), 80);
}

TEST(ErcMatrix, RowTextDotsLeaveCellsAndOtherCharactersSetThem) {
  ErcMatrix m = filledWith(kErcError);
  // '.' above the diagonal leaves its cell too; '-' clears one.
  SetErcRow(m, 4, "w.-e.-x..");
  // Row 4's text sets the cells of kind 4 with kinds 1, 3, 4, 6 and 7.
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(4, 1))], kErcWarning);
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(4, 2))], kErcError);
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(4, 3))], kErcAllowed);
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(4, 4))], kErcError);
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(4, 5))], kErcError);
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(4, 6))], kErcAllowed);
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(4, 7))], kErcAllowed);
  EXPECT_EQ(m[static_cast<std::size_t>(ErcIndex(4, 8))], kErcError);

  // No row outside 1..9, and nothing beyond the text or past nine characters.
  ErcMatrix before = m;
  SetErcRow(m, 0, "---------");
  SetErcRow(m, 10, "---------");
  EXPECT_EQ(m, before);
  SetErcRow(m, 9, "--");
  before[static_cast<std::size_t>(ErcIndex(9, 1))] = 0;
  before[static_cast<std::size_t>(ErcIndex(9, 2))] = 0;
  EXPECT_EQ(m, before);
  SetErcRow(m, 9, ".........------");
  EXPECT_EQ(m, before);
}
