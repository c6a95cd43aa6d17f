#pragma once
// The file-name rules of the library commands: which captions a Save sends
// to Save As, and the name Save As writes.
#include <string>
#include <string_view>

namespace pakro {

// The filter of the open and save dialogs of libraries. "All files" is "*":
// "*.*" would hide the names without a dot.
inline constexpr const char* kLibraryFilter =
    "Parameter Extractor files (*.LBR)|*.lbr|All files (*)|*";

// A caption less its extension: the four characters that start at its first
// "." are removed (a caption without "." is taken whole).
std::string LibraryBaseName(std::string_view caption);

// The caption is that of a library not yet saved under a chosen name
// ("NEWNPN.LBR" and the like): Save asks for a name instead of writing it.
bool DivertsToSaveAs(std::string_view caption);

// The file-name part of a path (no directory).
std::string FileNamePart(std::string_view path);

// The name Save As writes: ".LBR" appended when the file name has no
// extension.
std::string WithLibraryExtension(std::string path);

}  // namespace pakro
