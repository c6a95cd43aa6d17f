#include "compiler/String_list.h"

#include "platform/text_file.h"

namespace zantrope {

void t_string_list::load_from_file(const std::string& path) { lines_ = platform::readLines(path); }

void t_string_list::save_to_file(const std::string& path) const {
  platform::writeLines(path, lines_);
}

}  // namespace zantrope
