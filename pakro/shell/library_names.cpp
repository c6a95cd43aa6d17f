#include "pakro/shell/library_names.h"

#include <algorithm>
#include <array>

namespace pakro {

std::string LibraryBaseName(std::string_view caption) {
  std::string base(caption);
  const std::size_t dot = base.find('.');
  if (dot != std::string::npos) base.erase(dot, 4);
  return base;
}

bool DivertsToSaveAs(std::string_view caption) {
  static constexpr std::array<std::string_view, 11> kNewLibraryNames = {
      "NONAME", "NewLib",   "NEWDIODE", "NEWVAR",  "NEWNPN", "NEWPNP",
      "NEWNJFET", "NEWPJFET", "NEWNMOS", "NEWPMOS", "NEWCORE"};
  const std::string base = LibraryBaseName(caption);
  return std::find(kNewLibraryNames.begin(), kNewLibraryNames.end(), base) !=
         kNewLibraryNames.end();
}

std::string FileNamePart(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string WithLibraryExtension(std::string path) {
  if (FileNamePart(path).find('.') == std::string::npos) path += ".LBR";
  return path;
}

}  // namespace pakro
