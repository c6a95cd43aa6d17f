#include "simulator/Util_inifile.h"

#include "platform/text_file.h"
#include "simulator/Ini_file.h"

namespace zantrope {

std::unique_ptr<t_developer_options> init_developer_options() {
  return std::make_unique<t_developer_options>();
}

void read_developer_options(const t_ini_file& ini, t_developer_options& o) {
  struct t_switch {
    const char* section;
    const char* key;
    bool t_developer_options::*field;
  };
  // In the order the file is read: switches 0 to 20, then 26, 27, then 21 to 25.
  static const t_switch switches[] = {
      {"Developer1", "GlobalModeORVO", &t_developer_options::GlobalModeORVO},
      {"Developer2", "UseDatFile", &t_developer_options::UseDatFile},
      {"Developer3", "DebugSafeView", &t_developer_options::DebugSafeView},
      {"Developer4", "DisableDebugLevelAll", &t_developer_options::DisableDebugLevelAll},
      {"Developer5", "EnableDebugLevelShowGeneral1",
       &t_developer_options::EnableDebugLevelShowGeneral1},
      {"Developer5", "EnableDebugLevelShowProcessChange",
       &t_developer_options::EnableDebugLevelShowProcessChange},
      {"Developer5", "EnableDebugLevelShowTime", &t_developer_options::EnableDebugLevelShowTime},
      {"Developer6", "EnableDebugGrammar", &t_developer_options::EnableDebugGrammar},
      {"Developer7", "FeatureValueChange", &t_developer_options::FeatureValueChange},
      {"Developer7", "FeatureForceBit", &t_developer_options::FeatureForceBit},
      {"Developer7", "FeatureResolutionFunc", &t_developer_options::FeatureResolutionFunc},
      {"Developer7", "FeatureSyntaxhighlight", &t_developer_options::FeatureSyntaxhighlight},
      {"Developer8", "LoadLibOrvo", &t_developer_options::LoadLibOrvo},
      {"Developer8", "LoadLibIEEE", &t_developer_options::LoadLibIEEE},
      {"Developer8", "LoadLibNumericStd", &t_developer_options::LoadLibNumericStd},
      {"Developer8", "LoadLibArith", &t_developer_options::LoadLibArith},
      {"Developer8", "LoadLibSigned", &t_developer_options::LoadLibSigned},
      {"Developer8", "LoadLibUnsigned", &t_developer_options::LoadLibUnsigned},
      {"Developer8", "LoadLibTest", &t_developer_options::LoadLibTest},
      {"Developer8", "LoadLibGrammarTest", &t_developer_options::LoadLibGrammarTest},
      {"Developer9", "DevFeatureSyntaxCheckOnly", &t_developer_options::DevFeatureSyntaxCheckOnly},
      {"Developer10", "UseViewSched", &t_developer_options::UseViewSched},
      {"Developer10", "UseExistingProc", &t_developer_options::UseExistingProc},
      {"Developer11", "RunStartupRun", &t_developer_options::RunStartupRun},
      {"Developer11", "UseSubprogramDebug", &t_developer_options::UseSubprogramDebug},
      {"Developer11", "UseCodeDebug", &t_developer_options::UseCodeDebug},
      {"Developer11", "UseCodeView", &t_developer_options::UseCodeView},
      {"Developer11", "UseOnHint", &t_developer_options::UseOnHint},
  };
  for (const t_switch& s : switches) o.*(s.field) = ini.read_bool(s.section, s.key, false);

  o.NumericStdName = ini.read_string("Developer11", "NumericStdName", "numeric_std2");
  o.ArithName = ini.read_string("Developer11", "ArithName", "arith_test");
  o.SignedName = ini.read_string("Developer11", "SignedName", "signed_test");
  o.UnsignedName = ini.read_string("Developer11", "UnsignedName", "unsigned_test");
  o.StdLogicName = ini.read_string("Developer11", "StdLogicName", "stdlogic2");

  o.UseDatFile = o.GlobalModeORVO;
}

void read_vhdl_ini() {
  const std::string path = program_file(kOptionsFile);
  if (!platform::fileExists(path)) return;
  read_developer_options(t_ini_file(path), *developer_options);
}

}  // namespace zantrope
