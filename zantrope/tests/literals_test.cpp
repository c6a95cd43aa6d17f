#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include "compiler/Classes_literal.h"
#include "compiler/Globals.h"
#include "compiler/Literal_conversion.h"
#include "compiler/Scanner.h"
#include "library_fixture.h"

namespace zantrope {
namespace {

using testing::LibraryFixture;

TEST(LiteralConversion, IntegersOfEveryForm) {
  struct Case {
    const char* text;
    std::int32_t value;
  };
  const Case cases[] = {
      {"0", 0},
      {"1_000_000", 1000000},
      {"2147483647", 2147483647},
      {"1E9", 1000000000},
      {"1e+2", 100},
      {"0E99999", 0},
      {"16#FF#", 255},
      {"16:ff:", 255},
      {"2#1111_0000#", 240},
      {"8#777#", 511},
      {"16#FF#E1", 4080},
      {"2#1#e3", 8},
      {"16#7FFF_FFFF#", 2147483647},
      {"3#21#", 7},
  };
  for (const Case& c : cases) {
    const t_abstract_value v = convert_abstract_literal(c.text);
    EXPECT_TRUE(v.ok()) << c.text << ": " << v.error;
    EXPECT_FALSE(v.is_real) << c.text;
    EXPECT_EQ(v.integer, c.value) << c.text;
  }
}

TEST(LiteralConversion, RealsOfEveryFormIgnoringTheLocale) {
  // A locale with a decimal comma must not change anything.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"1.5", 1.5},         {"0.1", 0.1},           {"1_000.000_5", 1000.0005},
      {"1.5e3", 1500.0},    {"2.5E-2", 0.025},      {"16#F.8#", 15.5},
      {"2#1.1#e-2", 0.375}, {"16#0.1#E+1", 1.0},    {"1.7976931348623157e308", 1.7976931348623157e308},
  };
  for (const Case& c : cases) {
    const t_abstract_value v = convert_abstract_literal(c.text);
    EXPECT_TRUE(v.ok()) << c.text << ": " << v.error;
    EXPECT_TRUE(v.is_real) << c.text;
    EXPECT_EQ(v.real, c.value) << c.text;
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(LiteralConversion, BadLiteralsGiveAnErrorAndZero) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"2147483648", "integer literal out of range"},
      {"99999999999999999999999", "integer literal out of range"},
      {"1E10", "integer literal out of range"},
      {"16#1_0000_0000#", "integer literal out of range"},
      {"1E-1", "negative exponent in an integer literal"},
      {"2#102#", "digit '2' not allowed in base 2"},
      {"10#A#", "digit 'A' not allowed in base 10"},
      {"8#1.8#", "digit '8' not allowed in base 8"},
      {"1#0#", "base of a based literal must be 2 to 16"},
      {"17#0#", "base of a based literal must be 2 to 16"},
      {"99999999999#0#", "base of a based literal must be 2 to 16"},
      {"1.0e400", "real literal out of range"},
      {"16#F.F#E999", "real literal out of range"},
      {"1__0", "malformed abstract literal"},
      {"1_", "malformed abstract literal"},
      {"16#FF:", "malformed based literal"},
      {"1e", "malformed exponent"},
      {"", "malformed abstract literal"},
      {"1.", "malformed abstract literal"},
  };
  for (const Case& c : cases) {
    const t_abstract_value v = convert_abstract_literal(c.text);
    EXPECT_EQ(v.error, c.error) << c.text;
    EXPECT_EQ(v.integer, 0) << c.text;
    EXPECT_EQ(v.real, 0.0) << c.text;
  }
}

class PhysicalLiteral : public LibraryFixture {
 protected:
  // A physical literal of the scanned number and the unit's text.
  t_token physical(const std::string& number, const std::string& unit) {
    scanner().begin_parse();
    scanner().open_text(number);
    parser_value value;
    EXPECT_EQ(vhdl_scanner(value), t_AbstractLit) << number;
    t_name_simple unit_name(unit);
    t_literal_physical literal(value.token, unit_name);
    converted = literal.converted();
    return *value.token;
  }
  void TearDown() override {
    scanner().release_tokens();
    LibraryFixture::TearDown();
  }
  bool converted = false;
};

TEST_F(PhysicalLiteral, EveryTimeUnitIntegerAndReal) {
  current_source_path = "t.vhd";
  struct Case {
    const char* number;
    const char* unit;
    std::int64_t femtoseconds;
  };
  const Case cases[] = {
      {"7", "fs", 7},
      {"5", "ps", 5'000},
      {"5", "ns", 5'000'000},
      {"10", "NS", 10'000'000},
      {"1.5", "us", 1'500'000'000},
      {"3", "ms", 3'000'000'000'000},
      {"2", "sec", 2'000'000'000'000'000},
      {"2", "min", 120'000'000'000'000'000},
      {"2", "Hr", 7'200'000'000'000'000'000},
      {"0.5", "hr", 1'800'000'000'000'000'000},
      {"2.5", "ps", 2'500},
      {"0.1", "ns", 100'000},
      {"0.3", "ns", 300'000},
      {"4.35", "us", 4'350'000'000},
      {"1.5e-3", "ms", 1'500'000'000},
      {"16#0.8#", "ns", 500'000},
      {"12", "volt", 12},
      {"2.75", "furlong", 2},
  };
  for (const Case& c : cases) {
    const t_token token = physical(c.number, c.unit);
    EXPECT_TRUE(converted) << c.number << " " << c.unit;
    EXPECT_EQ(token.kind, token_kinds::physical);
    EXPECT_EQ(token.data.physical_value, c.femtoseconds) << c.number << " " << c.unit;
  }
  EXPECT_FALSE(exists("yyerror.txt") && !read_file("yyerror.txt").empty());
}

TEST_F(PhysicalLiteral, BeyondSixtyFourBitFemtosecondsIsAnErrorLine) {
  current_source_path = "t.vhd";
  const struct {
    const char* number;
    const char* unit;
  } cases[] = {{"3", "hr"}, {"2.6", "hr"}, {"1.0e300", "fs"}, {"200", "min"}};
  for (const auto& c : cases) {
    std::filesystem::remove(folder_ / "yyerror.txt");
    abort_flag = 0;
    const t_token token = physical(c.number, c.unit);
    EXPECT_FALSE(converted) << c.number << " " << c.unit;
    EXPECT_EQ(token.data.physical_value, 0) << c.number;
    EXPECT_EQ(abort_flag, 1);
    EXPECT_EQ(read_file("yyerror.txt").rfind("[Parser error] t.vhd: physical literal out of range", 0),
              0u)
        << read_file("yyerror.txt");
  }
  // Many digits fall back to the floating product and its range check.
  EXPECT_FALSE(convert_physical_real(8.9e25, "hr", "88888188888.0_0888881888880e14").ok());
  EXPECT_EQ(convert_physical_real(1e-30, "hr", "0.000000000000000000000000000001").femtoseconds, 0);
  // The largest count still converts.
  EXPECT_EQ(convert_physical_integer(std::numeric_limits<std::int64_t>::max(), "fs").femtoseconds,
            std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(time_unit_factor("MIN"), 60'000'000'000'000'000);
  EXPECT_EQ(time_unit_factor("minute"), std::nullopt);
}

TEST(Literals, NodesGiveTheirTokenText) {
  t_token character(1, "'x'", 3);
  character.strip_quotes();
  t_literal_character literal(&character);
  std::string text;
  literal.to_text(text);
  EXPECT_EQ(text, "x");
  EXPECT_EQ(literal.class_id(), 54);
  EXPECT_FALSE(literal.has_name());

  t_token string(1, "\"a\"\"b\"", 6);
  string.strip_quotes();
  t_literal_string s(&string);
  s.to_text(text);
  EXPECT_EQ(text, "a\"\"b");
  EXPECT_EQ(s.class_id(), 55);

  t_token bits(1, "O\"1_7\"", 6);
  bits.keep_bit_string();
  EXPECT_EQ(bits.data.name, "17");
  EXPECT_EQ(bit_string_bits(bits), "001111");
  t_token hex(1, "x\"aF\"", 5);
  hex.keep_bit_string();
  EXPECT_EQ(bit_string_bits(hex), "10101111");
}

}  // namespace
}  // namespace zantrope
