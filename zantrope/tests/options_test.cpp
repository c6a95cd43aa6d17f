#include <gtest/gtest.h>

#include "library_fixture.h"
#include "simulator/Ini_file.h"
#include "simulator/Util_inifile.h"

namespace zantrope {
namespace {

using opts = t_developer_options;

struct Switch {
  const char* section;
  const char* key;
  bool opts::*field;
  bool built_in;
};

const Switch kSwitches[] = {
    {"Developer1", "GlobalModeORVO", &opts::GlobalModeORVO, false},
    {"Developer2", "UseDatFile", &opts::UseDatFile, false},
    {"Developer3", "DebugSafeView", &opts::DebugSafeView, false},
    {"Developer4", "DisableDebugLevelAll", &opts::DisableDebugLevelAll, false},
    {"Developer5", "EnableDebugLevelShowGeneral1", &opts::EnableDebugLevelShowGeneral1, false},
    {"Developer5", "EnableDebugLevelShowProcessChange", &opts::EnableDebugLevelShowProcessChange,
     false},
    {"Developer5", "EnableDebugLevelShowTime", &opts::EnableDebugLevelShowTime, false},
    {"Developer6", "EnableDebugGrammar", &opts::EnableDebugGrammar, false},
    {"Developer7", "FeatureValueChange", &opts::FeatureValueChange, false},
    {"Developer7", "FeatureForceBit", &opts::FeatureForceBit, true},
    {"Developer7", "FeatureResolutionFunc", &opts::FeatureResolutionFunc, true},
    {"Developer7", "FeatureSyntaxhighlight", &opts::FeatureSyntaxhighlight, true},
    {"Developer8", "LoadLibOrvo", &opts::LoadLibOrvo, true},
    {"Developer8", "LoadLibIEEE", &opts::LoadLibIEEE, true},
    {"Developer8", "LoadLibNumericStd", &opts::LoadLibNumericStd, false},
    {"Developer8", "LoadLibArith", &opts::LoadLibArith, true},
    {"Developer8", "LoadLibSigned", &opts::LoadLibSigned, false},
    {"Developer8", "LoadLibUnsigned", &opts::LoadLibUnsigned, false},
    {"Developer8", "LoadLibTest", &opts::LoadLibTest, true},
    {"Developer8", "LoadLibGrammarTest", &opts::LoadLibGrammarTest, false},
    {"Developer9", "DevFeatureSyntaxCheckOnly", &opts::DevFeatureSyntaxCheckOnly, false},
    {"Developer11", "RunStartupRun", &opts::RunStartupRun, false},
    {"Developer11", "UseSubprogramDebug", &opts::UseSubprogramDebug, false},
    {"Developer11", "UseCodeDebug", &opts::UseCodeDebug, false},
    {"Developer11", "UseCodeView", &opts::UseCodeView, false},
    {"Developer11", "UseOnHint", &opts::UseOnHint, true},
    {"Developer10", "UseViewSched", &opts::UseViewSched, true},
    {"Developer10", "UseExistingProc", &opts::UseExistingProc, true},
};

class OptionsFile : public testing::LibraryFixture {
 protected:
  const opts& read(const char* text) {
    if (text) write_file("vhdl.ini", text);
    developer_options = init_developer_options();
    read_vhdl_ini();
    return *developer_options;
  }
};

TEST_F(OptionsFile, MissingFileKeepsTheBuiltInDefaults) {
  const opts& o = read(nullptr);
  for (const Switch& s : kSwitches) EXPECT_EQ(o.*(s.field), s.built_in) << s.key;
  EXPECT_EQ(o.StdLogicName, "stdlogic2");
  EXPECT_EQ(o.NumericStdName, "numeric_std2");
  EXPECT_EQ(o.ArithName, "");
  EXPECT_EQ(o.SignedName, "");
  EXPECT_EQ(o.UnsignedName, "");
}

TEST_F(OptionsFile, EmptyFileTurnsEverySwitchOff) {
  const opts& o = read("");
  for (const Switch& s : kSwitches) EXPECT_FALSE(o.*(s.field)) << s.key;
  EXPECT_EQ(o.NumericStdName, "numeric_std2");
  EXPECT_EQ(o.ArithName, "arith_test");
  EXPECT_EQ(o.SignedName, "signed_test");
  EXPECT_EQ(o.UnsignedName, "unsigned_test");
  EXPECT_EQ(o.StdLogicName, "stdlogic2");
}

TEST_F(OptionsFile, FullFileSetsEverySwitchFromItsSection) {
  std::string text;
  for (const Switch& s : kSwitches)
    text += std::string("[") + s.section + "]\r\n" + s.key + "=1\r\n";
  text +=
      "[Developer11]\r\nStdLogicName=std_a\r\nNumericStdName=num_b\r\nArithName=ar\r\n"
      "SignedName=si\r\nUnsignedName=un\r\n";
  const opts& o = read(text.c_str());
  for (const Switch& s : kSwitches) EXPECT_TRUE(o.*(s.field)) << s.key;
  EXPECT_EQ(o.StdLogicName, "std_a");
  EXPECT_EQ(o.NumericStdName, "num_b");
  EXPECT_EQ(o.ArithName, "ar");
  EXPECT_EQ(o.SignedName, "si");
  EXPECT_EQ(o.UnsignedName, "un");
}

TEST_F(OptionsFile, PartialFiles) {
  const struct {
    const char* text;
    bool opts::*field;
    bool expected;
  } cases[] = {
      {"[Developer2]\nUseDatFile=1\n", &opts::UseDatFile, false},
      {"[Developer1]\nGlobalModeORVO=1\n", &opts::UseDatFile, true},
      {"[Developer10]\nUseCodeView=1\n", &opts::UseCodeView, false},  // wrong section
      {"[developer11]\nusecodeview=1\n", &opts::UseCodeView, true},   // any case
      {"[Developer11]\nUseCodeView = 7 \n", &opts::UseCodeView, true},
      {"[Developer11]\nUseCodeView=0\n", &opts::UseCodeView, false},
      {"[Developer11]\nUseCodeView=yes\n", &opts::UseCodeView, false},  // not a number
      {"[Developer11]\nUseCodeView=-1\n", &opts::UseCodeView, true},
      {"[Developer7]\nFeatureForceBit=1\n", &opts::FeatureResolutionFunc, false},
      {"UseCodeView=1\n[Developer11]\n", &opts::UseCodeView, false},  // before any section
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.text).*(c.field), c.expected) << c.text;
  EXPECT_EQ(read("[Developer11]\nArithName=\nSignedName= my pkg \n").ArithName, "");
  EXPECT_EQ(developer_options->SignedName, "my pkg");
}

TEST(IniFile, FirstKeyOfASectionCountsAndCommentsAreSkipped) {
  const t_ini_file ini = t_ini_file::from_text(
      "; comment\n[A]\nk=1\nk=2\n[B]\nk=3\n[A]\nj=4\nbroken line\n=5\n");
  EXPECT_EQ(ini.read_integer("A", "k", 0), 1);
  EXPECT_EQ(ini.read_integer("B", "K", 0), 3);
  EXPECT_EQ(ini.read_integer("a", "j", 0), 4);
  EXPECT_EQ(ini.read_integer("A", "missing", 9), 9);
  EXPECT_FALSE(ini.has_key("A", "broken line"));
  EXPECT_EQ(ini.read_string("C", "k", "none"), "none");
  EXPECT_EQ(t_ini_file("/nonexistent/vhdl.ini").read_integer("A", "k", 6), 6);
}

}  // namespace
}  // namespace zantrope
