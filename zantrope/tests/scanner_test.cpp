#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/Globals.h"
#include "compiler/Log_file.h"
#include "compiler/Parser.h"
#include "compiler/Scanner.h"
#include "library_fixture.h"

namespace zantrope {
namespace {

class Scanner : public testing::LibraryFixture {
 protected:
  void SetUp() override {
    LibraryFixture::SetUp();
    current_source_path = (folder_ / "top.vhd").string();
  }
  void TearDown() override {
    close_scanner_output();
    scanner().close_input();
    scanner().release_tokens();
    LibraryFixture::TearDown();
  }

  // One text per token: its code, then the record's text and name when the
  // token has a record ("378 my_sig/my_sig").
  std::vector<std::string> scan(const std::string& source) {
    scanner().begin_parse();
    scanner().open_text(source);
    std::vector<std::string> out;
    last_tokens.clear();
    for (int guard = 0; guard < 100000; ++guard) {
      parser_value value;
      const token_code code = vhdl_scanner(value);
      if (code == t_EOF) break;
      std::string text = std::to_string(code);
      if (value.token) text += " " + value.token->text + "/" + value.token->data.name;
      out.push_back(text);
      last_tokens.push_back(value.token);
    }
    return out;
  }
  std::vector<t_token*> last_tokens;
};

struct ScanCase {
  const char* source;
  std::vector<std::string> tokens;
};

TEST_F(Scanner, CaseTable) {
  const std::string id = std::to_string(t_Identifier) + " ";
  const std::string lit = std::to_string(t_AbstractLit) + " ";
  const std::string chr = std::to_string(t_CharacterLit) + " ";
  const std::string str = std::to_string(t_StringLit) + " ";
  const std::string apostrophe = std::to_string(t_Apostrophe);
  const std::string dot = std::to_string(t_Dot);
  const std::string minus = std::to_string(t_Minus);
  const ScanCase cases[] = {
      {"ENTITY Entity entity", {"281", "281", "281"}},
      {"My_Sig", {id + "my_sig/my_sig"}},
      {"_a a__b abc_", {id + "_a/_a", id + "a__b/a__b", id + "abc_/abc_"}},
      {"1__0", {lit + "1/", id + "__0/__0"}},
      {"1. ", {lit + "1/", dot}},
      {".5", {dot, lit + "5/"}},
      {"16#FF# 16:FF: 2#1#e3 1_000 1E9 1.5e3 16#F.8#",
       {lit + "16#FF#/", lit + "16:FF:/", lit + "2#1#e3/", lit + "1_000/", lit + "1E9/",
        lit + "1.5e3/", lit + "16#F.8#/"}},
      {"16#FF:", {lit + "16/", id + "ff/ff", std::to_string(t_Colon)}},
      {"10ns", {lit + "10/", id + "ns/ns"}},
      {"'a' '''", {chr + "'a'/a", chr + "'''/'"}},
      {"'' x", {apostrophe, apostrophe, id + "x/x"}},
      {"q'('1')", {id + "q/q", chr + "'('/(", lit + "1/", apostrophe, std::to_string(t_RightParen)}},
      {"\"a\"\"b\" %c%%d%", {str + "\"a\"\"b\"/a\"\"b", str + "%c%%d%/c%%d"}},
      {"x\"0F\" X%F_F% b\"1_0\" O\"17\"",
       {str + "x\"0F\"/0F", str + "X%F_F%/FF", str + "b\"1_0\"/10", str + "O\"17\"/17"}},
      {"x\"G\"", {id + "x/x", str + "\"G\"/G"}},
      {"a ! b | c", {id + "a/a", "374", id + "b/b", "374", id + "c/c"}},
      {"a --c\nb", {id + "a/a", id + "b/b"}},
      // A comment on the last line needs no line end.
      {"a --c", {id + "a/a"}},
      {"a - -c --", {id + "a/a", minus, minus, id + "c/c"}},
      {"& ( ) ** * + , - := : ; <= >= < > = /= => <> | . /",
       {"353", "366", "367", "364", "360", "355", "368", "354", "369", "370", "371", "349", "347",
        "350", "348", "352", "351", "372", "373", "374", "375", "359"}},
      {"a $ \xA4 b", {id + "a/a", id + "b/b"}},
      {"\"\xA1\xA7\"", {str + "\"\xA1\xA7\"/\xA1\xA7"}},
      {"\"abc", {id + "abc/abc"}},
      {"a\tb\vc\fd\re", {id + "a/a", id + "b/b", id + "c/c", id + "d/d", id + "e/e"}},
  };
  for (const ScanCase& c : cases) {
    EXPECT_EQ(scan(c.source), c.tokens) << c.source;
  }
  // Every identifier and literal record is in the parse's token list.
  scan("a 1 'x' \"s\" entity");
  EXPECT_EQ(scanner().token_list().size(), 4u);
}

TEST_F(Scanner, ValuesOfTheRecords) {
  scan("16#FF# 2#1#e3 1_000 1E9 1.5e3 16#F.8# 'q' My_Sig \"s\" x\"A\"");
  ASSERT_EQ(last_tokens.size(), 10u);
  const std::int32_t ints[] = {255, 8, 1000, 1000000000};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(last_tokens[i]->kind, token_kinds::integer) << i;
    EXPECT_EQ(last_tokens[i]->data.int_value, ints[i]) << i;
  }
  EXPECT_EQ(last_tokens[4]->kind, token_kinds::real);
  EXPECT_EQ(last_tokens[4]->data.float_value, 1500.0);
  EXPECT_EQ(last_tokens[5]->data.float_value, 15.5);
  EXPECT_EQ(last_tokens[6]->kind, token_kinds::character);
  EXPECT_EQ(last_tokens[7]->kind, token_kinds::identifier);
  EXPECT_EQ(last_tokens[8]->kind, token_kinds::string);
  EXPECT_EQ(last_tokens[8]->data.bit_base, 0);
  EXPECT_EQ(last_tokens[9]->data.bit_base, 'x');
  EXPECT_EQ(bit_string_bits(*last_tokens[9]), "1010");
}

TEST_F(Scanner, LinesAndColumns) {
  // CRLF line ends, a comment, tabs; the column counts every byte of the
  // line up to the end of the token, the line counts from 0.
  scanner().begin_parse();
  scanner().open_text("entity e is\r\n  -- note\r\n\tport;\r\nend");
  struct Seen {
    token_code code;
    std::int32_t line, column, record_line;
  };
  std::vector<Seen> seen;
  for (token_code code; (code = vhdl_scanner()) != t_EOF;) {
    const t_token* token = parser_lookahead().token;
    seen.push_back({code, scanner().source_line(), scanner().source_column(), token ? token->line : -1});
  }
  const std::vector<Seen> expected = {{t_ENTITY, 0, 6, -1}, {t_Identifier, 0, 8, 1},
                                      {t_IS, 0, 11, -1},    {t_PORT, 2, 5, -1},
                                      {t_Semicolon, 2, 6, -1}, {t_END, 3, 3, -1}};
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].code, expected[i].code) << i;
    EXPECT_EQ(seen[i].line, expected[i].line) << i;
    EXPECT_EQ(seen[i].column, expected[i].column) << i;
    if (expected[i].record_line != -1) EXPECT_EQ(seen[i].record_line, expected[i].record_line);
  }
  // A second parse starts clean.
  scan("\n\nx");
  EXPECT_EQ(last_tokens.back()->line, 3);
  EXPECT_EQ(scanner().source_line(), 2);
}

TEST_F(Scanner, LongLexemesAreScannedWhole) {
  const std::string comment = "-- " + std::string(20000, 'c') + "\n";
  const std::string text = "\"" + std::string(20000, 's') + "\"";
  EXPECT_EQ(scan(comment + "a " + text + " b"),
            (std::vector<std::string>{std::to_string(t_Identifier) + " a/a",
                                      std::to_string(t_StringLit) + " " + text + "/" +
                                          std::string(20000, 's'),
                                      std::to_string(t_Identifier) + " b/b"}));
}

TEST_F(Scanner, IllegalCharactersGoToTheLexerFile) {
  reset_debug_files();
  scan("a $ \x80 # \xFF b");
  close_scanner_output();
  EXPECT_EQ(read_file("yylex.txt"),
            "illegal character '0x24'\nillegal character '0x80'\n"
            "illegal character '0x23'\nillegal character '0xff'\n");
  EXPECT_FALSE(exists("yyerror.txt") && !read_file("yyerror.txt").empty());
}

TEST_F(Scanner, LiteralsThatDoNotConvertFailTheParse) {
  struct Bad {
    const char* source;
    const char* message;
  };
  const Bad cases[] = {
      {"2#102#", "digit '2' not allowed in base 2"},
      {"99999999999", "integer literal out of range"},
      {"17#1#", "base of a based literal must be 2 to 16"},
      {"1E-3", "negative exponent in an integer literal"},
      {"1.0e999", "real literal out of range"},
      {"b\"102\"", "digit '2' not allowed in a bit-string literal"},
      {"o\"8\"", "digit '8' not allowed in a bit-string literal"},
  };
  for (const Bad& c : cases) {
    std::filesystem::remove(folder_ / "yyerror.txt");
    const std::vector<std::string> tokens = scan(std::string("x := ") + c.source + ";");
    ASSERT_EQ(tokens.size(), 4u) << c.source;
    EXPECT_EQ(tokens[2].substr(0, 4), std::to_string(t_error) + " ") << c.source;
    EXPECT_EQ(tokens[3], std::to_string(t_Semicolon));
    EXPECT_TRUE(scanner().literal_failed());
    EXPECT_EQ(read_file("yyerror.txt"),
              std::string("[Parser error] top.vhd: ") + c.message +
                  ", line: 1, col: " + std::to_string(5 + std::string(c.source).size()) +
                  ", (token: " + c.source + ")\r\n")
        << c.source;
    EXPECT_EQ(last_tokens.at(2)->data.int_value, 0);
    EXPECT_EQ(last_tokens.at(2)->data.float_value, 0.0);
  }
}

TEST_F(Scanner, MissingSourceFileFailsWithALineNamingIt) {
  current_source_path = (folder_ / "absent.vhd").string();
  EXPECT_FALSE(open_scanner_input());
  EXPECT_NE(read_file("yyerror.txt").find("absent.vhd"), std::string::npos);
  EXPECT_EQ(abort_flag, 1);
  EXPECT_EQ(vhdl_scanner(), t_EOF);  // never standard input

  // A folder in place of the file is unreadable too.
  abort_flag = 0;
  current_source_path = folder_.string();
  EXPECT_FALSE(open_scanner_input());
  EXPECT_EQ(abort_flag, 1);
  EXPECT_EQ(vhdl_scanner(), t_EOF);
}

TEST_F(Scanner, FeedsTheParserFromASourceFile) {
  write_file("top.vhd",
             "library ieee; use ieee.std_logic_1164.all;\r\n"
             "entity Counter is -- eight bits\r\n"
             "  generic (Width : integer := 16#8#);\r\n"
             "  port (Clk : in std_logic; Q : out std_logic_vector(7 downto 0));\r\n"
             "end Counter;\r\n"
             "architecture Rtl of Counter is\r\n"
             "  signal n : integer := 1_000;\r\n"
             "begin\r\n"
             "  process (Clk) begin\r\n"
             "    if Clk'event and Clk = '1' then n <= n + 1 after 1.5 ns; end if;\r\n"
             "    assert n /= 0 report \"wrapped\" severity note;\r\n"
             "  end process;\r\n"
             "  Q <= X\"0F\";\r\n"
             "end Rtl;\r\n"
             "-- the end, without a line end");
  ASSERT_TRUE(open_scanner_input());
  EXPECT_EQ(parse_tokens(&vhdl_scanner), parse_accepted);
  close_scanner_input();
  EXPECT_FALSE(exists("yyerror.txt") && !read_file("yyerror.txt").empty())
      << read_file("yyerror.txt");

  // A syntax error is reported at the scanner's position and lexeme.
  write_file("top.vhd", "entity e is\n  port (a : in bit)\nend;\n");
  ASSERT_TRUE(open_scanner_input());
  EXPECT_EQ(parse_tokens(&vhdl_scanner), parse_failed);
  close_scanner_input();
  EXPECT_EQ(read_file("yyerror.txt"),
            "[Parser error] top.vhd: parse error, line: 3, col: 3, (token: end)\r\n");

  // A literal that does not convert fails the parse after its own line.
  std::filesystem::remove(folder_ / "yyerror.txt");
  write_file("top.vhd", "entity e is generic (w : integer := 99999999999); end;");
  ASSERT_TRUE(open_scanner_input());
  EXPECT_EQ(parse_tokens(&vhdl_scanner), parse_failed);
  close_scanner_input();
  EXPECT_EQ(read_file("yyerror.txt").rfind(
                "[Parser error] top.vhd: integer literal out of range, line: 1, col: 47, "
                "(token: 99999999999)\r\n",
                0),
            0u)
      << read_file("yyerror.txt");
}

TEST_F(Scanner, FolderOfSourcesInOneSessionKeepsNoTokensOfEarlierBuilds) {
  for (int i = 0; i < 20; ++i) {
    const std::string name = "unit" + std::to_string(i) + ".vhd";
    std::string source = "entity e" + std::to_string(i) + " is\n port (a : in bit);\nend;\n";
    for (int k = 0; k < 50; ++k) source += "-- filler " + std::to_string(k) + "\nsignal s : bit;\n";
    write_file(name, source);
  }
  std::size_t first_build_tokens = 0;
  for (int build = 0; build < 3; ++build) {
    for (int i = 0; i < 20; ++i) {
      current_source_path = (folder_ / ("unit" + std::to_string(i) + ".vhd")).string();
      ASSERT_TRUE(open_scanner_input());
      while (vhdl_scanner() != t_EOF) {
      }
      close_scanner_input();
    }
    if (build == 0) first_build_tokens = scanner().owned_token_count();
    EXPECT_EQ(scanner().owned_token_count(), first_build_tokens);
    scanner().release_tokens();
    EXPECT_EQ(scanner().owned_token_count(), 0u);
  }
  EXPECT_EQ(first_build_tokens, 20u * (3 + 50 * 2));
}

}  // namespace
}  // namespace zantrope
