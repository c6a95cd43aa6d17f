#pragma once
// What the library manager and the catalog manager do with the open
// libraries, without any user interface: which libraries they offer, what
// stands in their lists, and what OK changes. The dialogs show these lists
// and pass on the user's choices and moves.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pakro/shell/device_library.h"

namespace pakro {

// One open library (child window) as the managers see it.
struct OpenLibrary {
  std::string caption;  // the window's caption: a bare new-library name or a path
  int kind = 0;         // the window's device kind
  DeviceLibrary* library = nullptr;
};

// The device kind of a library caption: the new-library names and their
// siblings by name ("NEWNPN.LBR", "NPN.LBR" ... 2; "NEWVAR.LBR", "VARICAP.LBR"
// 10), any other caption by the "Type" line of the file of that path; 0 when
// there is no such file or its type is no number. Raises platform::FileError
// when the file exists but cannot be read.
std::uint8_t LibraryKindOf(std::string_view caption);

// The name the library manager offers for a new library of a kind
// ("NPN.LBR"); empty for a kind that has none.
std::string NewLibraryName(int kind);

// The texts that name the libraries in the managers' choices, in order: the
// caption, or, for a caption that more than one window has, the caption
// followed by the window's number.
std::vector<std::string> LibraryChoiceTexts(const std::vector<OpenLibrary>& libraries);

// Equal without regard to the case of ASCII letters.
bool SameNameNoCase(std::string_view a, std::string_view b);

// The rows a move takes: every row of a list of `size` rows, or the
// selected ones that exist, top to bottom, each once.
std::vector<int> ChosenRows(const std::vector<int>& selected, bool all, std::size_t size);

// Shows a warning to the user (OK button).
using Warn = std::function<void(const std::string&)>;

// The message of a component name that the destination already holds;
// ">" ends it with two periods, ">>" with one.
std::string AlreadyContainsText(const std::string& name, bool all);
inline constexpr const char* kIncompatibleText = "The Source Library is incompatible with the Destination.";
inline constexpr const char* kSameLibraryText = "The Source Library correspond with the Destination.";

class LibraryManagerModel {
 public:
  enum class From { Source, Deleted };

  // The dialog is shown: the first library is the source, the new-library
  // name of its kind the destination; the deleted list is empty.
  void Start(std::vector<OpenLibrary> libraries);

  // The source choice changed to `text`.
  void ChooseSource(const std::string& text, const Warn& warn);

  // Makes the library of a file that is not open, for a destination typed
  // as its path; answers nullptr when it cannot be read (the user has been
  // told why). The library stays the caller's until OK adopts it.
  using LoadLibrary = std::function<DeviceLibrary*(const std::string& path, int kind)>;
  // The destination choice changed to `text`: an open library, a new
  // library's name, or the path of a library file that is not open. A
  // library of another device kind than the source is refused with a
  // warning; false then, and the previous destination stays.
  bool ChooseDestination(const std::string& text, const Warn& warn, const LoadLibrary& load = {});

  // ">" (the selected items, top to bottom) or ">>" (every item) from the
  // source list or the deleted list into the destination list.
  void Copy(From from, const std::vector<int>& selected, bool all, const Warn& warn);
  // "<" or "<<": items leave the destination list; the destination's own
  // components go to the deleted list.
  void MoveBack(const std::vector<int>& selected, bool all);

  // The window OK needs when the destination is not open: a new library
  // (`load` gave none) or the loaded library file. Answers its library, or
  // nullptr when none could be made.
  using MakeDestination = std::function<DeviceLibrary*(int kind, const std::string& caption)>;
  // OK: copies every component taken from a source into the destination,
  // record for record, then removes (or, for the last one, empties) the
  // components on the deleted list; marks the destination modified. Answers
  // the libraries whose current record changed, the destination last;
  // nothing when nothing was to be done.
  std::vector<DeviceLibrary*> Apply(const MakeDestination& make);

  // --- what the dialog shows
  const std::vector<std::string>& SourceChoices() const { return sourceChoices_; }
  const std::vector<std::string>& DestinationChoices() const { return destinationChoices_; }
  const std::string& SourceText() const { return sourceText_; }
  const std::string& DestinationText() const { return destination_.text; }
  const std::vector<std::string>& SourceItems() const { return sourceItems_; }
  std::vector<std::string> DestinationItems() const;
  const std::vector<std::string>& DeletedItems() const { return deleted_; }
  int LibraryKind() const { return libraryKind_; }
  // The destination is an open window, or the library of a file not open.
  bool DestinationOpen() const { return destination_.open; }
  DeviceLibrary* DestinationLibrary() const { return destination_.library; }
  DeviceLibrary* SourceLibrary() const { return source_; }

 private:
  struct Item {
    std::string name;
    DeviceLibrary* origin;  // the destination itself for its own components
  };
  struct Destination {
    std::string text;
    int kind = 0;
    DeviceLibrary* library = nullptr;  // none for a new library
    bool open = false;                 // an open window (else a new library or a file)
  };
  const OpenLibrary* Find(const std::string& text) const;
  int KindOfText(const std::string& text, const Warn& warn) const;
  void ListSource();
  void ListDestination();
  void FillDestinationChoices();
  bool Holds(const std::string& name) const;

  std::vector<OpenLibrary> libraries_;
  std::vector<std::string> sourceChoices_;
  std::vector<std::string> destinationChoices_;
  std::string sourceText_;
  DeviceLibrary* source_ = nullptr;
  int sourceKind_ = 0;
  int libraryKind_ = 0;
  Destination destination_;
  std::vector<std::string> sourceItems_;
  std::vector<Item> destItems_;
  std::vector<std::string> deleted_;
};

// The first of the library's components (records 1 to Count-1) of exactly
// that name; 0 when there is none.
int FindComponent(const DeviceLibrary& library, const std::string& name);

}  // namespace pakro
