#pragma once
// File-name helpers. Folder parts are joined with the platform's separator;
// file names themselves are kept exactly as given (case included).
#include <string>
#include <string_view>

namespace platform {

inline constexpr char kPathSeparator = '/';

// "dir" + "name" with exactly one separator between them. A name given with
// a legacy "\" separator has it turned into the platform's.
std::string joinPath(std::string_view dir, std::string_view name);
// Directory part of a path including its trailing separator ("" if none).
std::string directoryOf(std::string_view path);
// File name part of a path.
std::string fileNameOf(std::string_view path);
// Extension including its dot ("" if none).
std::string extensionOf(std::string_view path);
// The path with its extension replaced (ext includes the dot, or is empty).
std::string changeExtension(std::string_view path, std::string_view ext);
// Directory of the running program, with trailing separator.
std::string executableDir();

}  // namespace platform
