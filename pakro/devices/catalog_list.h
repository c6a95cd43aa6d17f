#pragma once
// What the device lists of all kinds share: the list of records whose item 0
// is the defaults record and items 1 to Count-1 the library's components,
// the current index and the modified flag, loading the defaults file,
// reading a library by the version rules and writing it back.
#include <memory>
#include <string>
#include <vector>

#include "pakro/shell/frame_state.h"
#include "pakro/shell/library_file.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace pakro {

// What tells one kind's list from another's.
template <class Rec>
struct ListDescription {
  int kind;                  // the "Type" line
  const char* noun;          // for messages, e.g. "NPN transistor"
  const char* title;         // header line 1
  int versionWritten;        // the "Version" line
  const char* defaultsFile;  // in the program directory
  int defaultsKinds[2];      // kinds a defaults file of this kind may name
  // The record reader of version-1 files, which are then loaded by the
  // version-1 rule (the file's first record is passed over); null when the
  // kind loads version-1 files by the version-2 rule.
  void (*readV1)(Rec&, LibraryFile&);
  void (*readV2)(Rec&, LibraryFile&);
  void (*write)(const Rec&, platform::TextFileWriter&);
};

template <class Rec>
class CatalogList {
 public:
  int Current = 0;        // the record the form shows; 0 is the defaults record
  bool Modified = false;  // edits not yet written to the library file

  int Count() const { return static_cast<int>(items_.size()); }
  Rec& Items(int index) { return *items_.at(index); }
  const Rec& Items(int index) const { return *items_.at(index); }

  // Appends a new, empty record and makes it current.
  void AddItem() {
    items_.push_back(std::make_unique<Rec>());
    Current = Count() - 1;
  }

  // Removes record `index` from the list; Current is left as it is.
  void Delete(int index) {
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
  }

  // Empties the list and makes item 0 from the kind's defaults file in the
  // program directory (or in the directory given). Raises platform::FileError
  // when the file cannot be read and LibraryError when it is no defaults file
  // of this kind; item 0 is then an empty record.
  void LoadDefaults() { LoadDefaults(platform::executableDir()); }
  void LoadDefaults(const std::string& directory) {
    items_.clear();
    AddItem();
    const std::string path = platform::joinPath(directory, d_.defaultsFile);
    LibraryFile file(path);
    const LibraryHeader& header = file.ReadHeader();
    if (header.kind != d_.defaultsKinds[0] && header.kind != d_.defaultsKinds[1])
      throw LibraryError(path + " is no defaults file of the " + d_.noun + ".");
    file.CheckVersion();
    Rec record;
    if (!ReadOne(d_.readV2, record, file)) throw LibraryError(path + " holds no record.");
    Items(0) = std::move(record);
  }

  // Reads the records of a library file whose header has been read (it is
  // read here when it has not). Version 1 and 2 files are loaded by the
  // rules of the kind; the list is changed only when the whole file has been
  // read. The file is closed in every case. Raises LibraryError for a file of
  // another kind, of an unknown version, or with a damaged or cut-off record.
  void ReadLibrary(LibraryFile& file) {
    try {
      const LibraryHeader& header = file.HeaderRead() ? file.Header() : file.ReadHeader();
      if (header.kind != d_.kind)
        throw LibraryError(file.path() + " is no " + d_.noun + " library file.");
      file.CheckVersion();
      const bool versionOneRule = header.version == 1 && d_.readV1 != nullptr;
      const auto read = versionOneRule ? d_.readV1 : d_.readV2;

      // The file's first record is its defaults record. The version-2 rule
      // puts it in place of item 0; the version-1 rule passes over it.
      Rec first;
      const bool hasFirst = ReadOne(read, first, file);
      std::vector<std::unique_ptr<Rec>> components;
      for (;;) {
        auto record = std::make_unique<Rec>();
        if (!ReadOne(read, *record, file)) break;
        components.push_back(std::move(record));
      }
      // A library has at least one component.
      if (components.empty()) components.push_back(std::make_unique<Rec>());
      file.Close();

      if (items_.empty()) items_.push_back(std::make_unique<Rec>());
      if (hasFirst && !versionOneRule) Items(0) = std::move(first);
      for (auto& record : components) items_.push_back(std::move(record));
      Current = 1;
    } catch (...) {
      file.Close();
      throw;
    }
  }

  // Writes the whole list as a library file. The file is written beside the
  // target and put in its place only when complete, so a failed write leaves
  // the previous file as it was (and Modified unchanged); raises
  // platform::FileError.
  void WriteLibrary(const std::string& path) {
    platform::TextFileWriter out(path);
    out.writeLine(d_.title);
    out.writeLine(TypeLine(d_.kind));
    out.writeLine(VersionLine(d_.versionWritten));
    for (const auto& item : items_) d_.write(*item, out);
    out.commit();
    Modified = false;
  }

 protected:
  explicit CatalogList(const ListDescription<Rec>& description) : d_(description) {}

 private:
  // One record; false when the file holds no further record.
  static bool ReadOne(void (*read)(Rec&, LibraryFile&), Rec& record, LibraryFile& file) {
    try {
      read(record, file);
      return true;
    } catch (const LibraryFile::NoMoreRecords&) {
      return false;
    }
  }

  const ListDescription<Rec>& d_;
  std::vector<std::unique_ptr<Rec>> items_;
};

}  // namespace pakro
