#include "pakro/shell/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <string>
#include <vector>

#include "pakro/shell/curve_plot.h"

namespace pakro {
namespace {

struct TextRow {
  int precision;
  long double value;
  const char* text;
};

const std::vector<TextRow>& FloatRows() {
  static const std::vector<TextRow> rows = {
      // library files
      {6, 0.0001L, "0.0001"},
      {6, 0.00001L, "1E-5"},
      {6, 1234567, "1.23457E6"},
      {6, 100, "100"},
      {6, -0.5L, "-0.5"},
      {6, 999999.5L, "1E6"},
      {6, 1E300L, "1E300"},
      {6, 0.1, "0.1"},  // the double nearest 0.1, 18 digits 0.100000000000000006
      // output files and forms
      {3, 0.02586L, "0.0259"},
      {3, 0.000015L, "1.5E-5"},
      {3, 2.5E12L, "2.5E12"},
      {3, 1234567, "1.23E6"},
      {3, 0.00012L, "0.00012"},
      {3, 1.125L, "1.13"},       // a tie rounds up
      {3, 2.675L, "2.68"},       // the value lies below the tie; its 18 digits do not
      {3, 0.3345L, "0.335"},
      {3, -1.125L, "-1.13"},
      {3, 999.7L, "1E3"},        // carry out of the first digit
      {3, 99.96L, "100"},
      {3, 1000, "1E3"},
      {3, 100, "100"},
      {3, 0.001L, "0.001"},
      {3, 0.0001L, "0.0001"},    // e = -3 is still fixed
      {3, 0.00001L, "1E-5"},
      {3, 1.5E-300L, "1.5E-300"},
      {3, 1E4000L, "1E4000"},
      {3, -0.000015L, "-1.5E-5"},
      {3, 0.5L, "0.5"},
      // grids
      {8, 12345678, "12345678"},
      {8, 123456785, "1.2345679E8"},
      {8, 1.0L / 3, "0.33333333"},
      {8, 2.0L / 3, "0.66666667"},
      {8, 0.099999999L, "0.099999999"},
      {8, 0.0999999999L, "0.1"},
      {8, 1E8L, "1E8"},
      {8, -7.25E-9L, "-7.25E-9"},
      // zero, negative zero
      {3, 0.0L, "0"},
      {6, -0.0L, "0"},
      {8, 0.0L, "0"},
  };
  return rows;
}

void ExpectAllFloatRows() {
  for (const auto& row : FloatRows())
    EXPECT_EQ(FloatToText(FloatFormat::General, row.precision, 2, row.value), row.text)
        << "precision " << row.precision << ", value " << static_cast<double>(row.value);
}

struct ParseRow {
  const char* text;
  int code;
  double value;  // on failure the value is 0
};

const std::vector<ParseRow>& ParseRows() {
  static const std::vector<ParseRow> rows = {
      {"2.5", 0, 2.5},
      {" 2.5", 0, 2.5},
      {"\t7", 0, 7},
      {"+3", 0, 3},
      {"-1.5E2", 0, -150},
      {"1e-3", 0, 0.001},
      {".5", 0, 0.5},
      {"5.", 0, 5},
      {"1,5", 0, 1.5},
      {",5", 0, 0.5},
      {"1,5E3", 0, 1500},
      {"0,001", 0, 0.001},
      {"1e-400", 0, 0},     // too small for a double: zero
      {"2.5 ", 4, 0},       // trailing blank
      {"1,5,6", 4, 0},      // second reading fails at the second comma
      {"1,a", 3, 0},
      {"abc", 1, 0},
      {"", 1, 0},
      {" ", 2, 0},
      {".", 2, 0},
      {"-", 2, 0},
      {"--1", 2, 0},
      {"1 000", 2, 0},
      {"12a", 3, 0},
      {"1.2.3", 4, 0},
      {"1E", 3, 0},
      {"1E+", 4, 0},
      {"1E-x", 4, 0},
      {"1E5x", 4, 0},
      {"0x10", 2, 0},
      {"inf", 1, 0},
      {"nan", 1, 0},
      {"1e400", 6, 0},      // too large for a double
  };
  return rows;
}

void ExpectAllParseRows() {
  for (const auto& row : ParseRows()) {
    double value = -1;
    int code = -1;
    const bool ok = TextToFloat(row.text, value, code);
    EXPECT_EQ(code, row.code) << '"' << row.text << '"';
    EXPECT_EQ(ok, row.code == 0) << '"' << row.text << '"';
    EXPECT_DOUBLE_EQ(value, row.value) << '"' << row.text << '"';
  }
}

TEST(FloatToText, GeneralFormatTable) { ExpectAllFloatRows(); }

TEST(FloatToText, DigitsArgumentAndPrecisionBounds) {
  EXPECT_EQ(FloatToText(FloatFormat::General, 3, 0, 1.5E-5L), "1.5E-5");
  EXPECT_EQ(FloatToText(FloatFormat::General, 3, 4, 1.5E-5L), "1.5E-5");
  EXPECT_EQ(FloatToText(FloatFormat::General, 0, 2, 2.6L), "3");
  EXPECT_EQ(FloatToText(FloatFormat::General, 40, 2, 0.1L), "0.1");
}

TEST(FloatToText, NonFiniteValuesHaveNames) {
  EXPECT_EQ(FloatToText(FloatFormat::General, 6, 2, NAN), "NAN");
  EXPECT_EQ(FloatToText(FloatFormat::General, 6, 2, INFINITY), "INF");
  EXPECT_EQ(FloatToText(FloatFormat::General, 6, 2, -INFINITY), "-INF");
}

TEST(FloatToText, WrittenTextReadsBack) {
  for (long double v : {1.0L / 3, -2.5E-17L, 6.02214076E23L, 0.07758L, 1E-300L}) {
    double back = 0;
    int code = -1;
    ASSERT_TRUE(TextToFloat(FloatToText(FloatFormat::General, 6, 2, v), back, code));
    EXPECT_NEAR(back, static_cast<double>(v), std::fabs(static_cast<double>(v)) * 1E-5);
  }
}

TEST(TextToFloat, ParseTable) { ExpectAllParseRows(); }

TEST(CommaToPoint, ReplacesOnlyTheFirstComma) {
  EXPECT_EQ(CommaToPoint("1,234,5"), "1.234,5");
  EXPECT_EQ(CommaToPoint(""), "");
  EXPECT_EQ(CommaToPoint("12.5"), "12.5");
  EXPECT_EQ(CommaToPoint(" ,x"), " .x");
}

// Under a locale that writes a comma as its decimal point the texts must
// not change. The test build generates such a locale when it can.
class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
      if (std::setlocale(LC_ALL, name)) {
        if (std::string(std::localeconv()->decimal_point) == ",") {
          std::locale::global(std::locale(name));
          return;
        }
      }
    }
    std::setlocale(LC_ALL, "C");
    GTEST_SKIP() << "no locale with a comma as decimal point is available (localedef missing?)";
  }
  void TearDown() override {
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
  }
};

TEST_F(CommaLocale, WritingAndReadingIgnoreTheLocale) {
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  ASSERT_EQ(std::string(probe), "1,5") << "the locale is not in force";
  ExpectAllFloatRows();
  ExpectAllParseRows();
}

// The plot writes its small axis labels in exponent form; the C library's
// formatting would put the locale's comma there.
TEST_F(CommaLocale, AxisLabelsIgnoreTheLocale) {
  EXPECT_EQ(AxisNumberText(0.005), "5E-3");
  EXPECT_EQ(AxisNumberText(-0.005), "-5E-3");
  EXPECT_EQ(AxisNumberText(0.0095), "1E-2");
  EXPECT_EQ(AxisNumberText(2.5E-7), "2E-7");
  EXPECT_EQ(SignedAxisNumberText(-5E-12), "-5E-12");
  EXPECT_EQ(AxisNumberText(0.37), "0.4");
}

// The digits are those of the value's correctly rounded 18-digit expansion
// rounded half up at the precision, whichever way a value is converted:
// doubles at a few digits take a quick scaling, other doubles a quicker
// conversion than long doubles, and all must give what rounding the C
// library's 18 digits gives, ties at the 19th digit and values next to a
// halfway point included.
TEST(FloatToText, DigitsAreThoseOfTheEighteenDigitExpansion) {
  // The C library's 18 digits, rounded half up at the precision.
  auto reference = [](long double v, int precision) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(v));
    const std::string text(buffer);
    const std::size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    int exponent = std::stoi(text.substr(e + 1));
    const bool up = digits[precision] >= '5';
    digits.resize(precision);
    if (up) {
      int i = precision - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i < 0) {
        digits = "1";
        ++exponent;
      } else {
        ++digits[i];
      }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = v < 0 ? "-" : "";
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    return out + "E" + std::to_string(exponent);
  };
  std::vector<long double> values;
  // k * 2^-n ends in a 5 at its last digit; some end at the 19th
  for (int n = 20; n <= 80; ++n)
    for (long double k : {1.0L, 3.0L, 5.0L, 7.0L, 9.0L, 1001.0L})
      values.push_back(std::ldexp(k, -n) * 1E-30L);
  values.push_back(std::ldexp(1.0L, -27));  // 7.450580596923828125E-9
  std::uint64_t state = 88172645463325252ULL;
  for (int i = 0; i < 2000; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    const double d = std::ldexp(static_cast<double>(state >> 11), -53 - static_cast<int>(state % 200));
    values.push_back(d);
    values.push_back(static_cast<long double>(d) * (1 + 1E-17L));  // no double holds it
  }
  // values that lie next to a point halfway between two six-digit results
  for (double half : {1.234565E-7, 8.999995E-5, 1.000005E-6, 4.999995E-9})
    for (double nudge : {0.0, 1E-13, -1E-13, 1E-17, -1E-17}) values.push_back(half * (1 + nudge));
  for (long double v : values) {
    if (!(std::fabs(v) < 9E-5L && v != 0)) continue;  // the exponent form only
    for (int precision : {1, 3, 6, 8, 12, 18}) {
      EXPECT_EQ(FloatToText(FloatFormat::General, precision, 2, v), reference(v, precision))
          << static_cast<double>(v) << " at " << precision << " digits";
      const double d = static_cast<double>(v);
      if (d != v) continue;
      char text[FloatTextCapacity];
      EXPECT_EQ(std::string(text, FloatToChars(text, precision, d)), reference(v, precision))
          << d << " at " << precision << " digits, as a double";
    }
    EXPECT_EQ(FloatToText(FloatFormat::General, 6, 2, -v), reference(-v, 6));
  }
}

// Short numbers are read by a quicker way than long ones; both give the
// correctly rounded double, as the C library's strtod does.
TEST(TextToFloat, ReadsTheCorrectlyRoundedDouble) {
  std::uint64_t state = 2463534242ULL;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (int i = 0; i < 5000; ++i) {
    std::string text = next() % 2 ? "-" : "";
    const int digits = 1 + static_cast<int>(next() % 19);
    const int point = static_cast<int>(next() % (digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + next() % 10);
    }
    if (next() % 2) text += "E" + std::to_string(static_cast<int>(next() % 61) - 30);
    double value = 0;
    int code = 0;
    ASSERT_TRUE(TextToFloat(text, value, code)) << text;
    const double expected = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(std::signbit(value), std::signbit(expected)) << text;
    EXPECT_EQ(value, expected) << text;
  }
}

TEST(ArrayScans, ScanTheFirstNValues) {
  const double pair[] = {-3, 2};
  EXPECT_EQ(MaxAbsOfArray(pair, 2), 3);
  EXPECT_EQ(MaxAbsOfArray(pair, 0), -3);  // the first element as stored
  const double v[] = {5, -1, 7, -9, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(MinOfArray(v, 3), -1);
  EXPECT_EQ(MaxOfArray(v, 3), 7);
  EXPECT_EQ(MinOfArray(v, 4), -9);
  EXPECT_EQ(MaxAbsOfArray(v, 4), 9);
  EXPECT_EQ(MinOfArray(v, -2), 5);
  EXPECT_EQ(MaxOfArray(v, 0), 5);
  EXPECT_EQ(MinOfArray(v, 50), -9);  // beyond the array: the whole array
  EXPECT_EQ(MaxOfArray(std::span<const double>(), 3), 0);
}

}  // namespace
}  // namespace pakro
