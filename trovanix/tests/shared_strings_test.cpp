// The strings that cross the exports: references are balanced over many
// calls, whichever side made the string.
#include <gtest/gtest.h>

#include "export_table.h"

using namespace trovanix_test;
using platform::SharedString;

namespace {

template <class F>
F resolve(const char* name) {
  auto f = reinterpret_cast<F>(dlsym(library(), name));
  if (!f) throw std::runtime_error(name);
  return f;
}

constexpr int kCalls = 1000;

}  // namespace

TEST(SharedStrings, ArgumentsAreLeftAsTheyCame) {
  const auto setFGFormula = resolve<decltype(&SetFGFormula)>("SetFGFormula");
  const auto initHW = resolve<decltype(&InitHW)>("InitHW");
  const long live = platform_strings_live();
  {
    SharedString formula("cos(2*x)");
    SharedString copy = formula;  // a second reference the caller holds
    for (int i = 0; i < kCalls; ++i) {
      ASSERT_EQ(setFGFormula(formula.get()), 0u);
      uint8_t ready = 0;
      initHW(formula.get(), formula.get(), &ready);
      ASSERT_EQ(ready, 1);
      ASSERT_EQ(platform_string_refs(formula.get()), 2);
    }
    EXPECT_EQ(formula.view(), "cos(2*x)");
    EXPECT_EQ(platform_strings_live(), live + 1);
  }
  EXPECT_EQ(platform_strings_live(), live);
}

TEST(SharedStrings, FormulaIsSinXWhateverWasSet) {
  const auto setFGFormula = resolve<decltype(&SetFGFormula)>("SetFGFormula");
  const auto getFGFormula = resolve<decltype(&GetFGFormula)>("GetFGFormula");
  const long live = platform_strings_live();
  for (int i = 0; i < kCalls; ++i) {
    SharedString set(i % 2 ? "x*x" : "");
    ASSERT_EQ(setFGFormula(set.get()), 0u);
    // The host owns the reference it gets and releases it.
    SharedString got = SharedString::adopt(getFGFormula());
    ASSERT_EQ(got.view(), "sin(x)");
  }
  // Released once too often by a careless host, the text stays intact.
  platform_string extra = getFGFormula();
  platform_string_release(extra);
  platform_string_release(extra);
  EXPECT_EQ(SharedString::adopt(getFGFormula()).view(), "sin(x)");
  EXPECT_EQ(platform_strings_live(), live);
}

TEST(SharedStrings, OutFormulaReleasesWhatItHeld) {
  const auto get3PhaseGenFormula = resolve<decltype(&Get3PhaseGenFormula)>("Get3PhaseGenFormula");
  const long live = platform_strings_live();
  for (int i = 0; i < kCalls; ++i) {
    platform_string out = platform_string_new("old formula", 11);
    ASSERT_EQ(get3PhaseGenFormula(&out), 0);
    ASSERT_EQ(out, nullptr);
    ASSERT_EQ(platform_strings_live(), live);
  }
  // A string somebody else also holds loses only the out variable's reference.
  SharedString kept("shared");
  platform_string out = platform_string_add_ref(kept.get());
  EXPECT_EQ(get3PhaseGenFormula(&out), 0);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(platform_string_refs(kept.get()), 1);
  EXPECT_EQ(kept.view(), "shared");
  // An empty out string stays empty; a null reference is not written through.
  out = nullptr;
  EXPECT_EQ(get3PhaseGenFormula(&out), 0);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(get3PhaseGenFormula(nullptr), 0);
}
