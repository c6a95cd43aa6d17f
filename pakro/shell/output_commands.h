#pragma once
// The parts of the output commands that need no user interface: the base
// name of a library's output files and the runner of the host's catalog
// compiler batch files.
#include <string>
#include <string_view>
#include <vector>

namespace pakro {

// The output files of a library are named after its file: the caption with
// the extension of its file-name part cut (everything from the first "." of
// the part after the last "/"). A directory with a "." in its name is kept
// whole, and a name without "." is taken whole.
std::string OutputBaseName(std::string_view caption);

// Starts the batch file with /bin/sh in the given working directory, with
// the given arguments, waits for it to end and returns its exit code (128 +
// the signal number when a signal ended it). Returns -1 when it cannot be
// started: the directory cannot be entered, the batch file is not there or
// cannot be read, or no process can be made. A relative batch file is
// looked for in the working directory. The batch file inherits none of the
// program's open files, and nothing of this process (its current directory
// included) is changed.
int RunAndWait(const std::string& batchFile, const std::vector<std::string>& arguments,
               const std::string& workingDirectory);

// The directory the catalog compiler "BCAT.BAT" runs in: ExeDir + "CLCC".
std::string CatalogCompilerDir(const std::string& exeDir);

}  // namespace pakro
