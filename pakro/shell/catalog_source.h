#pragma once
// The host's catalog source file (.SRC) as the catalog manager reads and
// rewrites it: a list of 8-bit lines of which only a few kinds mean anything
// here. A section line ("&" and a three-character catalog code) opens a
// catalog; its model lines ("#" and a model name) tell which models it
// offers; a line whose second character is "&" ends its model list, one
// whose second character is "M" is where new component blocks go, and one
// whose second character is "#" ends its component list. A component block
// runs from its head "$ " + name through the next line that is ".E".
// Every other line is carried over byte for byte.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pakro {

using SourceLines = std::vector<std::string>;

// A catalog source that cannot be merged as asked; the message is for the user.
class CatalogSourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The catalog code of a section line: the (up to) three characters after
// its "&"; "XXX" for any other line.
std::string CatalogCodeOf(std::string_view line);
// The text a catalog's code is listed with.
std::string CatalogTypeName(std::string_view code);
// Whether a library of a device kind may be merged into a catalog.
bool CatalogAccepts(int kind, std::string_view code);
// Whether a model line of that name is offered in a catalog.
bool ModelFitsCatalog(std::string_view model, std::string_view code);
// The model name of a model line: from its third character to the first blank.
std::string ModelNameOf(std::string_view line);

// One catalog that the file offers: its list entry and its code.
struct CatalogChoice {
  std::string entry;  // " No. 002 :  NPN      Catalog SPICE-BJT model"
  std::string code;   // characters 6 to 8 of the entry
};

// Every offered model line of every catalog, in file order. The first line
// of the file is never taken as a section line.
std::vector<CatalogChoice> ScanCatalogs(const SourceLines& lines);

// The component names of a catalog, in file order. A catalog's component
// list ends at its end line or at the next section line.
std::vector<std::string> CatalogComponents(const SourceLines& lines, std::string_view code);

// Removes the blocks "$ " + name ... ".E" of the names from the catalog of
// that code (blocks of the same name in other catalogs stay). A block head
// without its ".E" before the next block head, section line or the end of
// the file is refused (CatalogSourceError) and nothing is removed.
SourceLines DeleteBlocks(const SourceLines& lines, std::string_view code,
                         const std::vector<std::string>& names);

// Index of the insertion line of a catalog: the first line of two or more
// characters whose second character is "M" after the catalog's section line.
// Raises CatalogSourceError when the section or its insertion line is missing.
std::size_t InsertionLine(const SourceLines& lines, std::string_view code);

// The new content: `lines` with `blocks` inserted after the catalog's
// insertion line.
SourceLines InsertBlocks(const SourceLines& lines, std::string_view code, const SourceLines& blocks);

// The backup name of a catalog source: its last three characters replaced
// by "BAK" (a name of three characters or fewer becomes "BAK").
std::string BackupNameOf(const std::string& path);

// Reads a catalog source, one entry per line, the bytes kept as they are
// (LF or CR LF line ends). Raises platform::FileError.
SourceLines ReadCatalogSource(const std::string& path);

// The file system steps of ReplaceCatalogSource, so that failures can be
// made to happen in tests. Each answers 0 or an errno value.
struct ReplaceSteps {
  // Creates a new file exclusively: a descriptor, or -1 with errno set.
  std::function<int(const std::string& path, unsigned mode)> create;
  std::function<int(int fd, const void* data, std::size_t size)> write;
  std::function<int(const std::string& from, const std::string& to)> rename;
  // Makes a hard link; a failure makes the backup a copy.
  std::function<int(const std::string& from, const std::string& to)> link;
  // Flushes a written file to the disk.
  std::function<int(int fd)> sync;
};

// Writes `lines` (each ended by CR LF) as the new content of the catalog
// source `path` and keeps what it held before under BackupNameOf(path):
// 1. the new content goes to a uniquely named file created exclusively in
//    the target's folder, and is flushed to disk;
// 2. the old backup goes, and the backup is made as a hard link to the
//    target (or, where that cannot be, as a copy);
// 3. the new file replaces the target by rename.
// On any failure the temporary file is removed, the target is left as it
// was, and CatalogSourceError names the failure. A target whose backup name
// is its own name, or that is no plain file, is refused.
void ReplaceCatalogSource(const std::string& path, const SourceLines& lines,
                          const ReplaceSteps& steps = {});

}  // namespace pakro
