#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <string>

#include "compiler/Parser.h"
#include "library_fixture.h"
#include "token_feeder.h"

namespace zantrope {
namespace {

using testing::token_feeder;

// The texts are VHDL as the scanner reads it, with a blank between every
// two tokens (a qualified expression shows the tokens the scanner makes of
// it). Each fixture names the result and, for a rejected text, the one line
// the parse appends to yyerror.txt; the offending token starts its line so
// that its column is its length.
struct parse_case {
  const char* name;
  std::string text;
  std::int32_t result;
  std::string error;  // the yyerror.txt line less its "[Parser error] " header
};

const std::string entity = "entity e is end e ;\n";

std::string architecture(const std::string& statements) {
  return entity + "architecture a of e is begin\n" + statements + "end a ;\n";
}

std::string process(const std::string& statements) {
  return architecture("process begin\n" + statements + "end process ;\n");
}

std::string syntax_error(int line, int column, const std::string& token) {
  return "test.vhd: parse error, line: " + std::to_string(line) +
         ", col: " + std::to_string(column) + ", (token: " + token + ")";
}

const parse_case parse_cases[] = {
    // Rejected.
    {"EmptyFile", "", 1, syntax_error(1, 0, "")},
    {"EmptyArchitecture", entity + "architecture a of e is begin\nend a ;\n", 1,
     syntax_error(3, 3, "end")},
    {"EndFunctionKeyword",
     "package body p is\nfunction f return integer is begin return 1 ; end\nfunction f ;\nend p ;\n",
     1, syntax_error(3, 8, "function")},
    {"LabelledIf", process("l :\nif c then null ; end if ;\n"), 1, syntax_error(5, 2, "if")},
    {"LabelAfterEndIf", process("if c then null ; end if\nl ;\n"), 1, syntax_error(5, 1, "l")},
    {"ConditionalWaveformWithoutElse", architecture("s <= a when c\n;\n"), 1,
     syntax_error(4, 1, ";")},
    {"SharedVariable",
     entity + "architecture a of e is\nshared variable v : integer ;\nbegin end a ;\n", 1,
     syntax_error(3, 6, "shared")},
    {"ProcessAll", architecture("process (\nall ) begin wait ; end process ;\n"), 1,
     syntax_error(4, 3, "all")},
    // t'('a') scans as t, the character literal '(', a, an apostrophe and ')'.
    {"QualifiedCharacterLiteral", process("v := t\n'(' a ' ) ;\n"), 1, syntax_error(5, 3, "'('")},
    {"MissingSemicolonAtEnd", entity + "package p is end p\n", 1, syntax_error(3, 0, "")},
    // Codes outside the terminals are the undefined token, whatever their
    // value, and so is a precedence marker that no rule uses.
    {"ParserErrorCode", entity + "#256\n", 1, syntax_error(2, 4, "#256")},
    {"UndefinedCode", entity + "#257\n", 1, syntax_error(2, 4, "#257")},
    {"CodeBeyondTheTerminals", entity + "#500\n", 1, syntax_error(2, 4, "#500")},
    {"PrecedenceMarker", architecture("s <= a\n#356\nb ;\n"), 1, syntax_error(4, 4, "#356")},

    // Accepted.
    {"EndWithDesignator",
     "package body p is\nfunction f return integer is begin return 1 ; end f ;\nend p ;\n", 0, ""},
    {"PlainLoop", process("loop wait ; end loop ;\n"), 0, ""},
    {"ConditionalAssignmentWithElse", architecture("s <= a when c else b when d else '0' ;\n"), 0,
     ""},
    {"InstantiationForms",
     architecture("u1 : c port map ( a => b , c => open ) ;\n"
                  "u2 : c generic map ( n => 1 ) port map ( x , y ) ;\n"
                  "u3 : c port map ( a ) generic map ( 2 ) ;\n"
                  "u4 : c generic map ( 3 ) ;\n"
                  "u5 : component c port map ( a ) ;\n"
                  "u6 : component c generic map ( 1 ) port map ( a ) ;\n"
                  "u7 : entity work . e ( rtl ) port map ( a ) ;\n"
                  "u8 : entity work . e generic map ( 1 ) ;\n"
                  "u9 : configuration work . cfg port map ( a ) ;\n"),
     0, ""},
    {"PortBeforeGeneric",
     "entity e is port ( a : in bit ) ; generic ( n : integer := 1 ) ; end entity e ;\n", 0, ""},
    {"OthersAggregate", architecture("s <= ( others => '0' ) ;\n"), 0, ""},
    {"CaseRangeChoice",
     process("case x is when 0 to 3 => null ; when 4 | 5 => null ; when others => null ; "
             "end case ;\n"),
     0, ""},
    {"ExitWithLabelAndCondition", process("l : loop exit l when c ; next ; end loop l ;\n"), 0, ""},
    {"EndComponentWithName",
     entity + "architecture a of e is\n"
              "component c is port ( a : in bit ; b : out bit ) ; end component c ;\n"
              "begin u : c port map ( a , b ) ; end architecture a ;\n",
     0, ""},
    {"Slices", architecture("s ( 3 downto 0 ) <= t ( 7 downto 4 ) ;\n"), 0, ""},
    {"RisingEdge", process("if rising_edge ( clk ) then q <= d ; end if ;\n"), 0, ""},
    {"EventAndLevel", process("if clk ' event and clk = '1' then q <= d ; end if ;\n"), 0, ""},
    {"AttributeWithParameterInRange",
     process("for i in a ' range ( 1 ) loop null ; end loop ;\n"), 0, ""},
    {"QualifiedExpression", process("v := t ' ( a ) ;\nv := t ' ( a , b ) ;\n"), 0, ""},
};

class ParserTest : public testing::LibraryFixture {
 protected:
  void SetUp() override {
    LibraryFixture::SetUp();
    current_source_path = "/work/src/test.vhd";
    grammar_debug = 0;
  }
  void TearDown() override {
    grammar_debug = 0;
    LibraryFixture::TearDown();
  }
  std::int32_t parse(const std::string& text) {
    token_feeder feeder(text);
    return parse_tokens(&token_feeder::next);
  }
  std::string errors() const { return read_file("yyerror.txt"); }
};

class Grammar : public ParserTest, public ::testing::WithParamInterface<parse_case> {};

TEST_P(Grammar, AcceptsOrRejectsWithTheErrorLine) {
  const parse_case& c = GetParam();
  EXPECT_EQ(parse(c.text), c.result);
  EXPECT_EQ(errors(), c.error.empty() ? "" : "[Parser error] " + c.error + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Texts, Grammar, ::testing::ValuesIn(parse_cases),
                         [](const ::testing::TestParamInfo<parse_case>& info) {
                           return std::string(info.param.name);
                         });

// Every kind of design unit, declaration and statement the compiler reads,
// in one file.
const char* const design_tour = R"(
library ieee , work ;
use ieee . std_logic_1164 . all , work . pkg . all ;
entity counter is
  generic ( width : integer := 8 ; constant depth : natural := 4 ) ;
  port ( clk , rst : in std_logic ; signal q : out std_logic_vector ( width - 1 downto 0 ) ;
         b : buffer bit ; io : inout std_logic bus ; l : linkage bit ) ;
  constant k : integer := 2 ;
  signal s0 : bit ;
  attribute a1 : string ;
  attribute a1 of counter : entity is "top" ;
  disconnect others : bit after 2 ns ;
begin
  assert k > 1 report "k" severity note ;
  postponed assert true ;
  check ( k ) ;
end entity counter ;

architecture rtl of counter is
  type state_t is ( idle , run , 'x' ) ;
  type small is range 0 to 15 ;
  type mem is array ( natural range <> ) of bit_vector ( 7 downto 0 ) ;
  type grid is array ( 0 to 3 , 1 to 2 ) of integer ;
  type pair is record a : integer ; b , c : bit ; end record ;
  type ptr is access pair ;
  type text_file is file of string ;
  type dist is range 0 to 1000 units mm ; cm = 10 mm ; m = 100 cm ; end units ;
  type later ;
  subtype nibble is integer range 15 downto 0 ;
  subtype word is resolved std_logic_vector ( 15 downto 0 ) ;
  subtype idx is integer range t ' range ;
  constant zero : word := ( others => '0' ) ;
  constant tbl : grid := ( ( 1 , 2 ) , ( 3 , 4 ) , ( 5 , 6 ) , ( 7 , 8 ) ) ;
  signal st : state_t := idle ;
  signal r : std_logic register ;
  signal count , next_count : integer range 0 to 255 ;
  alias top : bit is s0 ;
  file f : text_file open read_mode is "in.txt" ;
  file g : text_file is in "out.txt" ;
  attribute keep : boolean ;
  attribute keep of count , next_count : signal is true ;
  attribute keep of all : label is false ;
  component reg is generic ( n : integer ) ; port ( d : in bit ; q : out bit ) ; end component ;
  for u1 , u2 : reg use entity work . reg ( rtl ) generic map ( n => 1 ) port map ( d , q ) ;
  for all : reg use configuration work . cfg ;
  for others : reg use open ;
  procedure tick ( variable v : inout integer ; constant c : in integer := 1 ) is
    variable t : integer ;
  begin
    v := v + c ;
    return ;
  end tick ;
  impure function next_state ( s : state_t ) return state_t is
    constant one : integer := 1 ;
  begin
    case s is
      when idle => return run ;
      when run | 'x' => return idle ;
      when others => null ;
    end case ;
  end ;
  pure function "and" ( a , b : bit ) return bit is begin return a ; end "and" ;
begin
  seq : process ( clk , rst ) is
    variable v : integer := 0 ;
    variable p : ptr ;
  begin
    if rst = '1' then
      count <= 0 ;
    elsif rising_edge ( clk ) and not ( st = idle ) then
      count <= transport count + 1 after 1 ns , 0 after 5 ns ;
      next_count <= reject 2 ns inertial count ;
      r <= inertial '1' ;
    else
      v := - v * 2 / 3 mod 4 rem 5 ** 2 + abs v - 16#ff# ;
      v := ( v sll 1 ) + ( v srl 1 ) + ( v sla 1 ) + ( v sra 1 ) + ( v rol 1 ) + ( v ror 1 ) ;
      if ( v < 1 or v <= 2 ) and ( v > 3 xor v >= 4 ) and v /= 5 then null ; end if ;
      if a nand b then null ; elsif a nor b then null ; end if ;
      if a xnor b then null ; end if ;
      s0 <= x & "01" & 'c' ;
      ( a , b ) <= pair ' ( 1 , '0' , '1' ) ;
      p := new pair ;
      p := new pair ' ( 1 , '0' , '1' ) ;
      p := null ;
      tick ( v , c => 2 ) ;
      tick ;
    end if ;
    for i in 0 to 7 loop
      next when i = 3 ;
      exit when i = 6 ;
    end loop ;
    for j in word ' range loop null ; end loop ;
    while v > 0 loop v := v - 1 ; end loop ;
    outer : loop exit outer ; end loop outer ;
    report "done" severity warning ;
    assert false ;
    wait on clk , rst until clk = '1' for 10 ns ;
    wait until rst = '0' ;
    wait for 2.5 ns ;
    wait ;
  end process seq ;

  comb : process begin
    wait on clk ;
  end postponed process comb ;

  postponed process ( clk ) begin null ; end process ;

  q <= std_logic_vector ( to_unsigned ( count , width ) ) when rst = '0' else ( others => 'Z' ) ;
  done : s0 <= guarded '1' when count = 255 else '0' ;
  with st select
    r <= '0' when idle , '1' when run | 'x' , 'X' when others ;
  postponed s0 <= '1' ;
  tick ( 1 ) ;
  postponed tick ( 2 ) ;
  check : assert count < 256 report "overflow" ;

  blk : block ( clk = '1' ) is
    generic ( w : integer ) ; generic map ( w => 4 ) ;
    port ( i : in bit ) ; port map ( i => s0 ) ;
    signal inner : bit ;
  begin
    inner <= guarded i ;
  end block blk ;

  gen : for i in 0 to 3 generate
    u : reg generic map ( n => i ) port map ( d => s0 , q => open ) ;
  end generate gen ;

  opt : if width > 4 generate
    signal extra : bit ;
  begin
    extra <= s0 ;
  end generate ;
end architecture rtl ;

package pkg is
  constant c : integer := 4 ;
  function f ( x : integer ) return integer ;
  procedure p ;
  signal global : bit ;
  component unit port ( a : in bit ) ; end component unit ;
  type later ;
end package pkg ;

package body pkg is
  function f ( x : integer ) return integer is
  begin
    return x * 2 ;
  end f ;
  procedure p is begin null ; end ;
end package body pkg ;

configuration cfg of counter is
  use work . all ;
  attribute a of cfg : configuration is 1 ;
  for rtl
    use work . pkg . all ;
    for u1 : reg use entity work . reg ( rtl ) ; end for ;
    for u2 : reg
      generic map ( n => 2 ) ;
      for behaviour end for ;
    end for ;
    for gen
      for all : reg port map ( d => open ) ; end for ;
    end for ;
  end for ;
end configuration cfg ;
)";

TEST_F(ParserTest, ReadsEveryConstructOfTheLanguage) {
  EXPECT_EQ(parse(design_tour), parse_accepted) << errors();
  EXPECT_EQ(errors(), "");
}

std::string nested(int depth) {
  std::string expression = "a";
  for (int level = 0; level < depth; ++level) expression = "( " + expression + " )";
  return architecture("s <= " + expression + " ;\n");
}

// The most states the trace shows on the stack at once.
std::size_t deepest_stack(const std::string& trace) {
  std::istringstream lines(trace);
  std::size_t deepest = 0;
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("Stack now", 0) == 0)
      deepest = std::max<std::size_t>(deepest, std::count(line.begin(), line.end(), ' ') - 1);
  return deepest;
}

TEST_F(ParserTest, NestingThatFillsTheStackEndsWithResultTwo) {
  // The deepest nesting that parses holds 199 of the 200 entries at most;
  // one parenthesis more fills the last entry.
  grammar_debug = 1;
  EXPECT_EQ(parse(nested(182)), parse_accepted) << errors();
  EXPECT_EQ(deepest_stack(read_file("yydebug.txt")), 199u);
  grammar_debug = 0;
  EXPECT_EQ(parse(nested(183)), parse_stack_overflow);
  // It fills while the innermost name is reduced, with the first ')' read.
  EXPECT_EQ(errors(),
            "[Parser error] test.vhd: parser stack overflow, line: 3, col: 374, (token: ))\r\n");

  // A much deeper nesting is refused the same way, with one report.
  std::filesystem::remove(folder_ / "yyerror.txt");
  EXPECT_EQ(parse(nested(5000)), parse_stack_overflow);
  // Here the 185th '(' fills it: "s <= " and 185 times "( ".
  EXPECT_EQ(errors(),
            "[Parser error] test.vhd: parser stack overflow, line: 3, col: 374, (token: ()\r\n");
}

TEST_F(ParserTest, TraceGoesToTheTraceFileOnlyWhenAskedFor) {
  ::testing::internal::CaptureStderr();
  grammar_debug = 1;
  EXPECT_EQ(parse(entity), parse_accepted);
  grammar_debug = 0;
  EXPECT_EQ(parse(entity), parse_accepted);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

  const std::string trace = read_file("yydebug.txt");
  EXPECT_EQ(trace.rfind("Starting parse\n", 0), 0u) << trace;
  for (const char* part : {"Entering state 0\n", "Reading a token\n",
                           "Next token is token t_ENTITY (", "Shifting token t_Identifier (",
                           "Reducing stack by rule 1 (line ", "-> $$ = nterm start (",
                           "Now at end of input.\n"})
    EXPECT_NE(trace.find(part), std::string::npos) << part;
  // The second parse, untraced, added nothing.
  EXPECT_EQ(trace.find("Starting parse", 1), std::string::npos);

  grammar_debug = 1;
  EXPECT_EQ(parse(entity + "end ;\n"), parse_failed);
  EXPECT_NE(read_file("yydebug.txt").find("Error: popping"), std::string::npos);
}

TEST_F(ParserTest, NoTraceFileWithoutTracing) {
  EXPECT_EQ(parse(entity), parse_accepted);
  EXPECT_FALSE(exists("yydebug.txt"));
}

// A token source that fails in the middle of a file.
token_code failing_source() {
  static int calls = 0;
  switch (calls++ % 3) {
    case 0: return t_ENTITY;
    case 1: return t_Identifier;
    default: throw std::runtime_error("cannot read");
  }
}

TEST_F(ParserTest, AFailingTokenSourceLeavesTheParserReady) {
  grammar_debug = 1;
  EXPECT_THROW(parse_tokens(&failing_source), std::runtime_error);
  grammar_debug = 0;
  EXPECT_EQ(parse(entity), parse_accepted);
  // The trace of the failed parse was closed with it: nothing of the second
  // parse went into it.
  EXPECT_EQ(read_file("yydebug.txt").find("Now at end of input"), std::string::npos);
}

TEST_F(ParserTest, KeywordsCarryNoTokenObject) {
  // The value the source leaves for a keyword is cleared before every read.
  struct stale {
    static token_code next() {
      const token_code code = token_feeder::next();
      if (code == t_ENTITY) {
        EXPECT_EQ(parser_lookahead().token, nullptr);
      }
      parser_lookahead().token = reinterpret_cast<t_token*>(&parser_lookahead());
      return code;
    }
  };
  token_feeder feeder(entity + entity);
  EXPECT_EQ(parse_tokens(&stale::next), parse_accepted);
}

}  // namespace
}  // namespace zantrope
