#include "compiler/Shared_routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace zantrope {
namespace {

constexpr std::int32_t U = kLogicU;
constexpr std::int32_t X = kLogicX;

TEST(StdLogicCodes, BinaryTablesGiveTheOtherOperandWhenOneIsUnknown) {
  struct Row {
    std::int32_t a, b, and_, or_, xor_;
  };
  // Every pair of the four codes.
  const Row rows[] = {
      {0, 0, 0, 0, 0}, {0, 1, 0, 1, 1}, {1, 0, 0, 1, 1}, {1, 1, 1, 1, 0},
      {U, 0, 0, 0, 0}, {U, 1, 1, 1, 1}, {0, U, 0, 0, 0}, {1, U, 1, 1, 1},
      {X, 0, 0, 0, 0}, {X, 1, 1, 1, 1}, {0, X, 0, 0, 0}, {1, X, 1, 1, 1},
      {U, X, X, X, X}, {X, U, U, U, U}, {U, U, U, U, U}, {X, X, X, X, X},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.a) + " " + std::to_string(r.b));
    EXPECT_EQ(std_logic_and(r.a, r.b), r.and_);
    EXPECT_EQ(std_logic_or(r.a, r.b), r.or_);
    EXPECT_EQ(std_logic_xor(r.a, r.b), r.xor_);
  }
  EXPECT_EQ(std_logic_not(0), 1);
  EXPECT_EQ(std_logic_not(1), 0);
  EXPECT_EQ(std_logic_not(U), U);
  EXPECT_EQ(std_logic_not(X), X);
}

TEST(StdLogicCodes, CharactersMapBothWays) {
  EXPECT_EQ(std_logic_from_char('0'), 0);
  EXPECT_EQ(std_logic_from_char('1'), 1);
  EXPECT_EQ(std_logic_from_char('U'), U);
  EXPECT_EQ(std_logic_from_char('X'), X);
  EXPECT_EQ(std_logic_from_char('Z'), U);
  EXPECT_EQ(std_logic_from_char('x'), U);
  for (char c : kLogicChars) EXPECT_EQ(std_logic_to_char(std_logic_from_char(c)), c);
}

TEST(BitStrings, ReadAsBinaryNumbers) {
  EXPECT_EQ(bits_to_int("1011"), 11);
  EXPECT_EQ(bits_to_int(""), 0);
  EXPECT_EQ(bits_to_int("0"), 0);
  EXPECT_EQ(bits_to_int("11111111111111111111111111111111"), -1);  // wraps, no overflow
  EXPECT_TRUE(is_bit_char('0'));
  EXPECT_TRUE(is_bit_char('1'));
  EXPECT_FALSE(is_bit_char('2'));
  EXPECT_EQ(bit_value('1'), 1);
  EXPECT_EQ(bit_value('a'), 'a');
}

TEST(ResultSlots, RestartWithEachBuildAndStayInsideTheTable) {
  // Two builds in one session: the same numbers, the same values.
  for (int build = 0; build < 2; ++build) {
    reset_result_slots();
    EXPECT_EQ(next_result_slot(), 0);
    EXPECT_EQ(next_result_slot(), 1);
    EXPECT_EQ(get_result_slot(0), kEmptyResultSlot);
    EXPECT_TRUE(set_result_slot(42, 1));
    EXPECT_EQ(get_result_slot(1), 42);
    clear_result_slot(1);
    EXPECT_EQ(get_result_slot(1), kEmptyResultSlot);
    EXPECT_TRUE(set_result_slot(7, 0));
  }
  // A build needing more slots than the table grows it.
  reset_result_slots();
  std::int32_t last = -1;
  for (int i = 0; i < kResultSlotCount + 5; ++i) last = next_result_slot();
  EXPECT_EQ(last, kResultSlotCount + 4);
  EXPECT_TRUE(set_result_slot(9, last));
  EXPECT_EQ(get_result_slot(last), 9);
  EXPECT_TRUE(set_result_slot(3, 5000));
  EXPECT_EQ(get_result_slot(5000), 3);
  EXPECT_FALSE(set_result_slot(3, -1));
  EXPECT_EQ(get_result_slot(-1), kEmptyResultSlot);
  EXPECT_EQ(get_result_slot(1 << 30), kEmptyResultSlot);
  clear_result_slot(-4);
  reset_result_slots();
  EXPECT_EQ(get_result_slot(5000), kEmptyResultSlot);
}

TEST(TextForms, LinesBooleansAndOperators) {
  std::string text;
  bool_text(text, true);
  EXPECT_EQ(text, "true");
  bool_text(text, false);
  EXPECT_EQ(text, "false");
  EXPECT_EQ(bool_text(std::uint8_t(2)), "true");
  EXPECT_EQ(bool_text(std::uint8_t(0)), "false");
  int_to_text(text, -2147483647 - 1);
  EXPECT_EQ(text, "-2147483648");

  std::int32_t value = 9;
  EXPECT_TRUE(parse_bool_text("true", value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(parse_bool_text("false", value));
  EXPECT_EQ(value, 0);
  value = 9;
  EXPECT_FALSE(parse_bool_text("TRUE", value));
  EXPECT_EQ(value, 0);

  EXPECT_EQ(line_info_text(kNoLineInfo), "NO_LINE_INFO");
  EXPECT_EQ(line_info_text(12), "12");
  EXPECT_FALSE(line_changed(kNoLineInfo, 12));
  EXPECT_FALSE(line_changed(12, kNoLineInfo));
  EXPECT_FALSE(line_changed(12, 12));
  EXPECT_TRUE(line_changed(12, 13));

  const struct {
    std::int32_t token;
    const char* text;
    bool known;
  } ops[] = {{262, "and", true},  {308, "or", true}, {346, "xor", true}, {357, "rem", true},
             {362, "not", true},  {354, "-", true},  {355, "+", true},   {360, "*", true},
             {359, "", false},    {352, "", false},  {0, "", false}};
  for (const auto& op : ops) {
    text = "junk";
    EXPECT_EQ(operator_text(op.token, text), op.known) << op.token;
    EXPECT_EQ(text, op.text) << op.token;
  }
}

TEST(NamesAndPaths, SplitStripRelativeAndTypePairs) {
  std::string left, right;
  split_at_dot("work.top", left, right);
  EXPECT_EQ(left, "work");
  EXPECT_EQ(right, "top");
  split_at_dot("top", left, right);
  EXPECT_EQ(left, "");
  EXPECT_EQ(right, "top");
  split_at_dot("a.b.c", left, right);
  EXPECT_EQ(left, "a");
  EXPECT_EQ(right, "b.c");

  EXPECT_EQ(strip_file_extension("dir.x/top.vhd"), "dir.x/top");
  EXPECT_EQ(strip_file_extension("top"), "top");

  std::string path = "C:\\Orvo\\BIN\\Projects\\cpu.prj";
  make_relative_path(path, "c:\\orvo\\bin");
  EXPECT_EQ(path, "Projects\\cpu.prj");
  path = "D:\\other\\cpu.prj";
  make_relative_path(path, "c:\\orvo\\bin");
  EXPECT_EQ(path, "D:\\other\\cpu.prj");

  EXPECT_TRUE(types_compatible("std_logic", "std_ulogic", false));
  EXPECT_TRUE(types_compatible("STD_ULOGIC", "std_logic", false));
  EXPECT_FALSE(types_compatible("natural", "integer", false));
  EXPECT_TRUE(types_compatible("Integer", "natural", true));
  EXPECT_FALSE(types_compatible("std_logic", "std_logic", true));
  EXPECT_FALSE(types_compatible("bit", "std_logic", true));
  EXPECT_EQ(min_int(-3, 2), -3);
  EXPECT_EQ(max_int(-3, 2), 2);
}

TEST(ValueKinds, SizesAndClassPairs) {
  const std::pair<std::int32_t, std::int32_t> sizes[] = {{5, 4}, {13, 4}, {6, 8}, {7, 8}, {8, 2},
                                                         {9, 1}, {10, 0}, {3, 0}, {-1, 0}};
  for (auto [kind, size] : sizes) {
    EXPECT_EQ(type_kind_size(kind), size) << kind;
    EXPECT_EQ(alloc_for_type_kind(kind).size(), std::size_t(size)) << kind;
  }
  // Enumeration next to character, array next to character literal, in
  // both orders.
  EXPECT_EQ(class_pair_order(23, 23), 1);
  EXPECT_EQ(class_pair_order(23, 19), 1);
  EXPECT_EQ(class_pair_order(19, 23), 2);
  EXPECT_EQ(class_pair_order(25, 20), 1);
  EXPECT_EQ(class_pair_order(20, 25), 2);
  EXPECT_EQ(class_pair_order(23, 20), -1);
  EXPECT_EQ(class_pair_order(16, 17), -1);
}

TEST(KernelTime, SecondsToFemtosecondsTruncatesBelowTheStep) {
  EXPECT_EQ(seconds_to_time(1e-6), 999999999);
  EXPECT_EQ(seconds_to_time(0.5), 499999999999999);
  EXPECT_EQ(seconds_to_time(0.0), 0);
  EXPECT_EQ(seconds_to_time(-1e-6), -999999999);
  // One of each unit, given in seconds, lands just below or on the count.
  const struct {
    double seconds;
    std::int64_t femtoseconds;
  } units[] = {{1e-15, 1},           {1e-12, 999},         {1e-9, 999999},
               {1e-6, 999999999},    {1e-3, 999999999999}, {1.0, 999999999999999},
               {60.0, 59999999999999995}, {3600.0, 3599999999999999720}};
  for (const auto& u : units) EXPECT_EQ(seconds_to_time(u.seconds), u.femtoseconds) << u.seconds;
  // Beyond the signed 64-bit range the limits are given, never a wrapped value.
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(seconds_to_time(9300.0), kMax);
  EXPECT_EQ(seconds_to_time(-9300.0), kMin);
  EXPECT_EQ(seconds_to_time(1e300), kMax);
  EXPECT_EQ(seconds_to_time(-std::numeric_limits<double>::infinity()), kMin);
  EXPECT_EQ(seconds_to_time(std::nan("")), 0);
}

TEST(KernelTime, FemtosecondsToSeconds) {
  const struct {
    std::int64_t femtoseconds;
    long double seconds;
  } rows[] = {{1, 1e-15L}, {1000, 1e-12L}, {1000000, 1e-9L}, {1000000000, 1e-6L},
              {1000000000000, 1e-3L}, {1000000000000000, 1.0L}, {60000000000000000, 60.0L},
              {3600000000000000000, 3600.0L}};
  for (const auto& r : rows)
    EXPECT_NEAR(double(time_to_seconds(r.femtoseconds) / r.seconds), 1.0, 1e-15) << r.femtoseconds;
  EXPECT_EQ(time_to_seconds(0), 0.0L);
  EXPECT_NEAR(double(time_to_seconds(std::numeric_limits<std::int64_t>::max())), 9223.372036854775807,
              1e-9);
  EXPECT_NEAR(double(time_to_seconds(std::numeric_limits<std::int64_t>::min())), -9223.372036854775808,
              1e-9);
}

}  // namespace
}  // namespace zantrope
