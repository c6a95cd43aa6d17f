#pragma once
// The developer options: built-in defaults, replaced by vhdl.ini of the
// program folder when that file exists.
#include <memory>
#include <string>

#include "compiler/Globals.h"

namespace zantrope {

class t_ini_file;

// A new record with the built-in defaults.
std::unique_ptr<t_developer_options> init_developer_options();
// Fills the record from the profile: every switch missing from it reads
// False, the names take their file defaults; UseDatFile follows
// GlobalModeORVO.
void read_developer_options(const t_ini_file& ini, t_developer_options& options);
// Reads program folder + vhdl.ini into developer_options when the file exists.
void read_vhdl_ini();

}  // namespace zantrope
