// Fuzz target of the catalog source reader and the catalog manager's edits:
// any bytes are read as a catalog source, scanned for catalogs, and every
// offered catalog is listed, has its blocks deleted and new ones inserted,
// and is written back. Nothing may crash, hang or leak; refusals are
// CatalogSourceError only.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "pakro/shell/catalog_source.h"

namespace {

std::string ScratchPath(const char* name) {
  return "/tmp/pakro_catalog_fuzz_" + std::to_string(::getpid()) + "_" + name;
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pakro;
  static const std::string source = ScratchPath("IN.SRC");
  WriteFile(source, data, size);
  const SourceLines lines = ReadCatalogSource(source);
  for (const CatalogChoice& choice : ScanCatalogs(lines)) {
    const std::vector<std::string> names = CatalogComponents(lines, choice.code);
    (void)CatalogTypeName(choice.code);
    (void)CatalogAccepts(2, choice.code);
    try {
      const SourceLines kept = DeleteBlocks(lines, choice.code, names);
      const SourceLines merged = InsertBlocks(kept, choice.code, {"$ NEW", "U fuzz", "E 1", ".E"});
      if (merged.size() != kept.size() + 4 || kept.size() > lines.size()) std::abort();
      ReplaceSteps steps;
      steps.sync = [](int) { return 0; };  // no disk flushes: many runs a second
      ReplaceCatalogSource(source, merged, steps);
      if (ReadCatalogSource(source) != merged) std::abort();
      WriteFile(source, data, size);
    } catch (const CatalogSourceError&) {
    }
  }
  for (const std::string& line : lines) {
    (void)CatalogCodeOf(line);
    (void)ModelNameOf(line);
  }
  std::remove(BackupNameOf(source).c_str());
  std::remove(source.c_str());
  return 0;
}
