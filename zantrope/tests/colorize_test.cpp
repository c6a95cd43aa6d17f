#include "simulator/Util_gui.h"

#include <gtest/gtest.h>

namespace zantrope {
namespace {

TEST(Colorize, ReservedWordsBoldCommentsColouredTheRestAsItStands) {
  const struct {
    const char* line;
    const char* rich;
  } cases[] = {
      {"signal a : in bit; -- x", "\\b signal\\b0  a : \\b in\\b0  bit; \\cf7 -- x\\cf0 "},
      {"ENTITY", "\\b ENTITY\\b0 "},
      {"End Process;", "\\b End\\b0  \\b Process\\b0 ;"},
      {"a > b then", "a > b then"},
      {"x1", "x1"},
      {"x1 and", "x1 \\b and\\b0 "},
      {"a -", "a -"},
      {"a - b", "a - b"},
      {"\tq <= 12;", "\tq <= 12;"},
      {"f(a).b=c:d", "f(a).b=c:d"},
      // Each of the plain symbols lets a later reserved word be found.
      {"x.all", "x.\\b all\\b0 "},
      {"if(a)then", "\\b if\\b0 (a)\\b then\\b0 "},
      {"a<=b and c", "a<=b \\b and\\b0  c"},
      {"a:=b;end", "a:=b;\\b end\\b0 "},
      {"for_each format", "for_each format"},
      {"_if if", "_if \\b if\\b0 "},
      {"--", "\\cf7 --\\cf0 "},
      {"a --b -- c", "a \\cf7 --b -- c\\cf0 "},
      {"x := 'a' and b", "x := 'a' and b"},
      {"s <= \"{x}\";", "s <= \"\\{x\\}\";"},
      {"end; -- {c:\\x}", "\\b end\\b0 ; \\cf7 -- \\{c:\\\\x\\}\\cf0 "},
      {"a \\ b", "a \\\\ b"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(colorize_text(c.line), c.rich) << c.line;
}

}  // namespace
}  // namespace zantrope
