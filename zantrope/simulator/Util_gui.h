#pragma once
// Editor support: the rich-text colouring of one VHDL source line.
#include <string>
#include <string_view>

namespace zantrope {

// Reserved words between "\b " and "\b0 ", a "--" comment between "\cf7 "
// and "\cf0 ". Copied text has "\", "{" and "}" escaped with a backslash.
std::string colorize_text(std::string_view line);

}  // namespace zantrope
