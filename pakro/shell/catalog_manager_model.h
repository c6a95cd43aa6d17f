#pragma once
// What the catalog manager does, without any user interface: the source
// library's components, the chosen catalog's components and those to be
// deleted from it, and the merge that rewrites the catalog source file.
#include <functional>
#include <string>
#include <vector>

#include "pakro/shell/catalog_source.h"
#include "pakro/shell/library_manager_model.h"

namespace pakro {

class CatalogManagerModel {
 public:
  enum class From { Source, Deleted };

  // A new use of the dialog: the first library is the source; no file,
  // catalog or destination components are chosen.
  void Reset(std::vector<OpenLibrary> libraries);

  void ChooseSource(const std::string& text, const Warn& warn);

  // Browse chose the file `path`: it is read and its catalogs are offered to
  // `choose`, which answers the index of the chosen one. A file that cannot
  // be read or offers no catalog is refused with a warning (false), and the
  // earlier choice stays.
  using ChooseCatalog = std::function<int(const std::vector<CatalogChoice>& catalogs)>;
  bool Browse(const std::string& path, const ChooseCatalog& choose, const Warn& warn);

  void Copy(From from, const std::vector<int>& selected, bool all, const Warn& warn);
  void MoveBack(const std::vector<int>& selected, bool all);

  // What the merge needs of the program while it computes.
  struct MergeHooks {
    std::function<void()> begin;                         // show the progress
    std::function<void(DeviceLibrary&)> computed;        // a record was computed: show it
    std::function<bool()> cancelled;                     // Cancel was pressed
    std::function<void()> end;                           // hide the progress
    ReplaceSteps steps;                                  // the file steps (tests)
  };
  // OK: removes the blocks of the deleted list from the chosen catalog,
  // computes every component taken from a library and inserts its block
  // after the catalog's insertion line, and replaces the file, keeping the
  // old content as the backup. A component whose datasheet check fails or
  // whose computation raises is written nowhere: the merge then stops, as
  // it does on Cancel, before the file is touched. Answers true when the
  // file was replaced; otherwise the user has been told why.
  bool Merge(const MergeHooks& hooks, const Warn& warn);

  // --- what the dialog shows
  const std::vector<std::string>& SourceChoices() const { return sourceChoices_; }
  const std::string& SourceText() const { return sourceText_; }
  int SourceKind() const { return sourceKind_; }
  const std::vector<std::string>& SourceItems() const { return sourceItems_; }
  const std::vector<std::string>& DestinationItems() const { return destItems_; }
  const std::vector<std::string>& DeletedItems() const { return deleted_; }
  const std::string& Path() const { return path_; }
  const std::string& CatalogEntry() const { return catalogEntry_; }
  const std::string& CatalogCode() const { return catalogCode_; }
  const SourceLines& Lines() const { return lines_; }

 private:
  struct Entry {
    std::string name;
    DeviceLibrary* origin;  // nullptr: the component stands in the file
  };
  // The newest entry of a name; nullptr when it has none.
  const Entry* EntryOf(const std::string& name) const;
  void ListSource();
  void ListCatalog();
  bool Holds(const std::string& name) const;

  std::vector<OpenLibrary> libraries_;
  std::vector<std::string> sourceChoices_;
  std::string sourceText_;
  DeviceLibrary* source_ = nullptr;
  int sourceKind_ = 0;
  std::vector<std::string> sourceItems_;
  std::vector<std::string> destItems_;
  std::vector<std::string> deleted_;
  std::vector<Entry> entries_;
  std::string path_;
  std::string catalogEntry_;
  std::string catalogCode_;
  SourceLines lines_;
};

// Inserts `name` into a list kept sorted without regard to case.
void InsertSorted(std::vector<std::string>& list, const std::string& name);

// The compile after a merge: runs "CCAT.BAT" with the source's name (its
// file name up to the first ".") as argument in the source's folder. False
// when that folder holds no "CCAT.BAT".
bool CompileCatalogSource(const std::string& sourcePath);

}  // namespace pakro
