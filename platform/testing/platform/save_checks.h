#pragma once
// Checks every file writer of the suite is held to: a save replaces only its
// own file, follows a link to the file the user opened, refuses a read-only
// or dangling target with a message, takes names of any allowed length and
// leaves nothing behind. Also the inputs every reader must refuse at once.
#include <filesystem>
#include <functional>
#include <string>

namespace platform::testing {

// A file's bytes, and a file made of the given bytes.
std::string slurp(const std::filesystem::path& p);
void spit(const std::filesystem::path& p, const std::string& bytes);

// Runs the save-path cases in `folder` (which must exist and be empty).
// `save` writes a file at the path it is given and raises on failure; it
// must write the same bytes on every call. `extension` ends each name.
void ExpectSafeSaves(const std::string& folder, const std::string& extension,
                     const std::function<void(const std::string& path)>& save);

// Runs `load` on inputs no reader may take whole: a folder, /dev/zero, a
// FIFO without a writer, a sparse file of 64 GB and one 500 MB line of a
// sparse file. `load` must raise or report failure for each (it returns
// false then); each case must come back at once without reading much.
void ExpectHostileInputsRefused(const std::string& folder,
                                const std::function<bool(const std::string& path)>& load);

}  // namespace platform::testing
