#include "pakro/shell/library_manager_model.h"

#include <algorithm>
#include <exception>
#include <map>

#include "pakro/shell/frame_state.h"
#include "platform/text_file.h"

namespace pakro {

namespace {

struct NamedKind {
  const char* caption;
  std::uint8_t kind;
};
constexpr NamedKind kNamedKinds[] = {
    {"NEWDIODE.LBR", 1}, {"DIODE.LBR", 1}, {"NEWVAR.LBR", 10},  {"VARICAP.LBR", 10},
    {"NEWNPN.LBR", 2},   {"NPN.LBR", 2},   {"NEWPNP.LBR", 3},   {"PNP.LBR", 3},
    {"NEWNJFET.LBR", 4}, {"NJFET.LBR", 4}, {"NEWPJFET.LBR", 5}, {"PJFET.LBR", 5},
    {"NEWNMOS.LBR", 6},  {"NMOS.LBR", 6},  {"NEWPMOS.LBR", 7},  {"PMOS.LBR", 7},
    {"NEWCORE.LBR", 8},  {"CORE.LBR", 8},
};

constexpr const char* kNewNames[] = {"",          "DIODE.LBR", "NPN.LBR",  "PNP.LBR", "NJFET.LBR",
                                     "PJFET.LBR", "NMOS.LBR",  "PMOS.LBR", "CORE.LBR"};

bool IsNamedKind(std::string_view caption) {
  return std::any_of(std::begin(kNamedKinds), std::end(kNamedKinds),
                     [caption](const NamedKind& n) { return caption == n.caption; });
}

}  // namespace

std::uint8_t LibraryKindOf(std::string_view caption) {
  for (const NamedKind& n : kNamedKinds)
    if (caption == n.caption) return n.kind;
  const std::string path(caption);
  if (path.empty() || !platform::fileExists(path)) return 0;
  platform::LineReader reader(path);
  std::string line;
  if (!reader.readLine(line) || !reader.readLine(line) || line.size() <= 10) return 0;
  // Digits only: a sign is no part of a kind code.
  int value = 0;
  std::size_t i = 10;
  while (i < line.size() && line[i] == ' ') ++i;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > 255) return 0;
  }
  return static_cast<std::uint8_t>(value);
}

std::string NewLibraryName(int kind) { return isDeviceKind(kind) ? kNewNames[kind] : ""; }

std::vector<std::string> LibraryChoiceTexts(const std::vector<OpenLibrary>& libraries) {
  std::map<std::string, int> uses;
  for (const OpenLibrary& l : libraries) ++uses[l.caption];
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < libraries.size(); ++i) {
    const std::string& caption = libraries[i].caption;
    texts.push_back(uses[caption] > 1 ? caption + "  [window " + std::to_string(i + 1) + "]" : caption);
  }
  return texts;
}

bool SameNameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string AlreadyContainsText(const std::string& name, bool all) {
  return "The Destination Library alredy contains component named  " + name +
         (all ? ". It will not be inserted." : ". It will not be inserted..");
}

std::vector<int> ChosenRows(const std::vector<int>& selected, bool all, std::size_t size) {
  std::vector<int> chosen;
  if (all) {
    for (int i = 0; i < static_cast<int>(size); ++i) chosen.push_back(i);
    return chosen;
  }
  for (int i : selected)
    if (i >= 0 && i < static_cast<int>(size)) chosen.push_back(i);
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  return chosen;
}

int FindComponent(const DeviceLibrary& library, const std::string& name) {
  for (int i = 1; i < library.Count(); ++i)
    if (library.Name(i) == name) return i;
  return 0;
}

// --- the library manager

const OpenLibrary* LibraryManagerModel::Find(const std::string& text) const {
  for (std::size_t i = 0; i < libraries_.size(); ++i)
    if (sourceChoices_[i] == text) return &libraries_[i];
  return nullptr;
}

int LibraryManagerModel::KindOfText(const std::string& text, const Warn& warn) const {
  if (const OpenLibrary* open = Find(text)) return open->kind;
  try {
    return LibraryKindOf(text);
  } catch (const std::exception& e) {
    if (warn) warn(e.what());
    return 0;
  }
}

void LibraryManagerModel::Start(std::vector<OpenLibrary> libraries) {
  libraries_ = std::move(libraries);
  sourceChoices_ = LibraryChoiceTexts(libraries_);
  sourceText_ = sourceChoices_.empty() ? std::string() : sourceChoices_.front();
  libraryKind_ = KindOfText(sourceText_, {});
  sourceKind_ = libraryKind_;
  ListSource();
  FillDestinationChoices();
  destination_ = {};
  destination_.text = destinationChoices_.empty() ? std::string() : destinationChoices_.front();
  if (const OpenLibrary* open = Find(destination_.text)) {
    destination_.library = open->library;
    destination_.kind = open->kind;
    destination_.open = true;
  } else {
    destination_.kind = KindOfText(destination_.text, {});
  }
  ListDestination();
  deleted_.clear();
}

void LibraryManagerModel::ListSource() {
  sourceItems_.clear();
  const OpenLibrary* open = Find(sourceText_);
  source_ = open ? open->library : nullptr;
  if (!source_ || !isDeviceKind(sourceKind_)) return;
  for (int i = 1; i < source_->Count(); ++i) sourceItems_.push_back(source_->Name(i));
}

void LibraryManagerModel::FillDestinationChoices() {
  destinationChoices_.clear();
  if (const std::string name = NewLibraryName(libraryKind_); !name.empty())
    destinationChoices_.push_back(name);
  destinationChoices_.insert(destinationChoices_.end(), sourceChoices_.begin(), sourceChoices_.end());
}

void LibraryManagerModel::ListDestination() {
  destItems_.clear();
  DeviceLibrary* library = destination_.library;
  if (!library || !isDeviceKind(destination_.kind)) return;
  for (int i = 1; i < library->Count(); ++i) destItems_.push_back({library->Name(i), library});
}

void LibraryManagerModel::ChooseSource(const std::string& text, const Warn& warn) {
  sourceText_ = text;
  sourceKind_ = KindOfText(text, warn);
  libraryKind_ = sourceKind_;
  ListSource();
  FillDestinationChoices();
}

bool LibraryManagerModel::ChooseDestination(const std::string& text, const Warn& warn,
                                            const LoadLibrary& load) {
  Destination next;
  next.text = text;
  if (const OpenLibrary* open = Find(text)) {
    next.kind = open->kind;
    next.library = open->library;
    next.open = true;
  } else {
    next.kind = KindOfText(text, warn);
  }
  // A library of another kind can take no component of the source.
  if (isDeviceKind(next.kind) && isDeviceKind(sourceKind_) && next.kind != sourceKind_) {
    if (warn) warn(kIncompatibleText);
    return false;
  }
  // The path of a library file that is not open: the library is read, and
  // OK opens it as the destination.
  if (!next.open && isDeviceKind(next.kind) && !IsNamedKind(text)) {
    if (!load) return false;
    next.library = load(text, next.kind);
    if (!next.library) return false;
  }
  destination_ = std::move(next);
  libraryKind_ = destination_.kind;
  ListDestination();
  deleted_.clear();
  return true;
}

bool LibraryManagerModel::Holds(const std::string& name) const {
  return std::any_of(destItems_.begin(), destItems_.end(),
                     [&name](const Item& item) { return SameNameNoCase(item.name, name); });
}

void LibraryManagerModel::Copy(From from, const std::vector<int>& selected, bool all, const Warn& warn) {
  auto say = [&warn](const std::string& text) {
    if (warn) warn(text);
  };
  if (source_ && source_ == destination_.library) {
    say(kSameLibraryText);
    return;
  }
  if (from == From::Source &&
      (!isDeviceKind(sourceKind_) || sourceKind_ != destination_.kind || !source_)) {
    say(kIncompatibleText);
    return;
  }
  std::vector<std::string>& list = from == From::Source ? sourceItems_ : deleted_;
  std::vector<int> added;
  for (int index : ChosenRows(selected, all, list.size())) {
    const std::string& name = list[static_cast<std::size_t>(index)];
    if (Holds(name)) {
      say(AlreadyContainsText(name, all));
      continue;
    }
    destItems_.push_back({name, from == From::Source ? source_ : destination_.library});
    added.push_back(index);
  }
  // Names taken from the deleted list leave it; the source keeps its own.
  if (from == From::Deleted)
    for (auto it = added.rbegin(); it != added.rend(); ++it) deleted_.erase(deleted_.begin() + *it);
}

void LibraryManagerModel::MoveBack(const std::vector<int>& selected, bool all) {
  std::vector<int> removed;
  for (int index : ChosenRows(selected, all, destItems_.size())) {
    const Item& item = destItems_[static_cast<std::size_t>(index)];
    if (item.origin && item.origin == destination_.library) deleted_.push_back(item.name);
    removed.push_back(index);
  }
  for (auto it = removed.rbegin(); it != removed.rend(); ++it) destItems_.erase(destItems_.begin() + *it);
}

std::vector<std::string> LibraryManagerModel::DestinationItems() const {
  std::vector<std::string> names;
  for (const Item& item : destItems_) names.push_back(item.name);
  return names;
}

std::vector<DeviceLibrary*> LibraryManagerModel::Apply(const MakeDestination& make) {
  const int kind = destination_.kind;
  if (!isDeviceKind(kind)) return {};
  std::vector<const Item*> copies;
  for (const Item& item : destItems_)
    if (item.origin && item.origin != destination_.library) copies.push_back(&item);
  DeviceLibrary* destination = destination_.library;
  if (!destination_.open) {
    // A library that would stay unchanged gets no window.
    if (copies.empty() && deleted_.empty()) return {};
    destination = make ? make(kind, destination_.text) : nullptr;
    if (!destination) return {};
    destination_.library = destination;
    destination_.open = true;
  }

  std::vector<DeviceLibrary*> touched;
  auto touch = [&touched](DeviceLibrary* library) {
    if (std::find(touched.begin(), touched.end(), library) == touched.end()) touched.push_back(library);
  };
  for (const Item* item : copies) {
    DeviceLibrary& origin = *item->origin;
    const int record = FindComponent(origin, item->name);
    if (record == 0) continue;
    origin.SetCurrent(record);
    destination->AppendCopyOf(origin, record);
    touch(&origin);
  }
  for (const std::string& name : deleted_) {
    const int record = FindComponent(*destination, name);
    if (record == 0) continue;
    destination->SetCurrent(record);
    if (destination->Count() > 2) {
      destination->Delete(record);
      if (record > 1) destination->SetCurrent(record - 1);
    } else {
      destination->Reset(record);
    }
  }
  destination->SetModified(true);
  touch(destination);
  // The destination last: its window is shown after the sources'.
  std::erase(touched, destination);
  touched.push_back(destination);
  return touched;
}

}  // namespace pakro
