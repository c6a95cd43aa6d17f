#include "pakro/shell/catalog_manager_model.h"

#include <algorithm>
#include <exception>

#include "pakro/shell/frame_state.h"
#include "pakro/shell/output_commands.h"
#include "platform/text_file.h"

namespace pakro {

namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
    return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
  });
}

}  // namespace

void InsertSorted(std::vector<std::string>& list, const std::string& name) {
  list.insert(std::upper_bound(list.begin(), list.end(), name, LessNoCase), name);
}

void CatalogManagerModel::Reset(std::vector<OpenLibrary> libraries) {
  libraries_ = std::move(libraries);
  sourceChoices_ = LibraryChoiceTexts(libraries_);
  sourceText_ = sourceChoices_.empty() ? std::string() : sourceChoices_.front();
  sourceKind_ = libraries_.empty() ? 0 : libraries_.front().kind;
  ListSource();
  path_.clear();
  catalogEntry_.clear();
  catalogCode_.clear();
  lines_.clear();
  destItems_.clear();
  deleted_.clear();
  entries_.clear();
}

void CatalogManagerModel::ListSource() {
  sourceItems_.clear();
  source_ = nullptr;
  for (std::size_t i = 0; i < libraries_.size(); ++i)
    if (sourceChoices_[i] == sourceText_) source_ = libraries_[i].library;
  if (!source_ || !isDeviceKind(sourceKind_)) return;
  for (int i = 1; i < source_->Count(); ++i) InsertSorted(sourceItems_, source_->Name(i));
}

void CatalogManagerModel::ChooseSource(const std::string& text, const Warn& warn) {
  sourceText_ = text;
  sourceKind_ = 0;
  bool open = false;
  for (std::size_t i = 0; i < libraries_.size(); ++i)
    if (sourceChoices_[i] == text) {
      sourceKind_ = libraries_[i].kind;
      open = true;
      break;
    }
  if (!open) {
    try {
      sourceKind_ = LibraryKindOf(text);
    } catch (const std::exception& e) {
      if (warn) warn(e.what());
    }
  }
  ListSource();
}

bool CatalogManagerModel::Browse(const std::string& path, const ChooseCatalog& choose, const Warn& warn) {
  auto say = [&warn](const std::string& text) {
    if (warn) warn(text);
  };
  SourceLines lines;
  try {
    lines = ReadCatalogSource(path);
  } catch (const std::exception& e) {
    say(e.what());
    return false;
  }
  const std::vector<CatalogChoice> catalogs = ScanCatalogs(lines);
  if (catalogs.empty()) {
    say("The file " + path + " holds no catalog that components can be merged into.");
    return false;
  }
  int chosen = choose ? choose(catalogs) : 0;
  if (chosen < 0 || chosen >= static_cast<int>(catalogs.size())) chosen = 0;
  path_ = path;
  lines_ = std::move(lines);
  catalogEntry_ = catalogs[static_cast<std::size_t>(chosen)].entry;
  catalogCode_ = catalogs[static_cast<std::size_t>(chosen)].code;
  ListCatalog();
  return true;
}

void CatalogManagerModel::ListCatalog() {
  destItems_.clear();
  deleted_.clear();
  entries_.clear();
  for (const std::string& name : CatalogComponents(lines_, catalogCode_)) {
    InsertSorted(destItems_, name);
    entries_.push_back({name, nullptr});
  }
}

const CatalogManagerModel::Entry* CatalogManagerModel::EntryOf(const std::string& name) const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    if (it->name == name) return &*it;
  return nullptr;
}

bool CatalogManagerModel::Holds(const std::string& name) const {
  return std::any_of(destItems_.begin(), destItems_.end(),
                     [&name](const std::string& item) { return SameNameNoCase(item, name); });
}

void CatalogManagerModel::Copy(From from, const std::vector<int>& selected, bool all, const Warn& warn) {
  auto say = [&warn](const std::string& text) {
    if (warn) warn(text);
  };
  if (from == From::Source && (!source_ || !CatalogAccepts(sourceKind_, catalogCode_))) {
    say(kIncompatibleText);
    return;
  }
  std::vector<std::string>& list = from == From::Source ? sourceItems_ : deleted_;
  std::vector<std::string> added;
  for (int index : ChosenRows(selected, all, list.size())) {
    const std::string& name = list[static_cast<std::size_t>(index)];
    if (Holds(name)) {
      say(AlreadyContainsText(name, all));
      continue;
    }
    InsertSorted(destItems_, name);
    entries_.push_back({name, from == From::Source ? source_ : nullptr});
    added.push_back(name);
  }
  if (from == From::Deleted)
    for (const std::string& name : added) deleted_.erase(std::find(deleted_.begin(), deleted_.end(), name));
}

void CatalogManagerModel::MoveBack(const std::vector<int>& selected, bool all) {
  const std::vector<int> chosen = ChosenRows(selected, all, destItems_.size());
  for (int index : chosen) {
    const std::string& name = destItems_[static_cast<std::size_t>(index)];
    const Entry* entry = EntryOf(name);
    if (entry && entry->origin == nullptr) InsertSorted(deleted_, name);
  }
  for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) destItems_.erase(destItems_.begin() + *it);
}

bool CatalogManagerModel::Merge(const MergeHooks& hooks, const Warn& warn) {
  auto say = [&warn](const std::string& text) {
    if (warn) warn(text);
  };
  if (path_.empty() || catalogCode_.empty()) {
    say("Choose the catalog source file and its catalog with \"Browse ...\" first.");
    return false;
  }
  SourceLines lines;
  try {
    lines = DeleteBlocks(lines_, catalogCode_, deleted_);
    InsertionLine(lines, catalogCode_);
  } catch (const CatalogSourceError& e) {
    say(e.what());
    return false;
  }

  // The new blocks, in the order of the destination list.
  SourceLines blocks;
  std::vector<std::string> failed;
  bool cancelled = false;
  if (hooks.begin) hooks.begin();
  for (const std::string& name : destItems_) {
    const Entry* entry = EntryOf(name);
    if (!entry || !entry->origin) continue;  // its block is in the file
    DeviceLibrary& library = *entry->origin;
    const int record = FindComponent(library, name);
    if (record == 0) continue;
    library.SetCurrent(record);
    try {
      CheckFailed = 0;
      library.Compute(record);
      if (CheckFailed) {
        failed.push_back(name + ": the datasheet is not completely filled");
      } else {
        for (std::string& line : library.CatalogBlock(record)) blocks.push_back(std::move(line));
      }
    } catch (const std::exception& e) {
      failed.push_back(name + ": " + e.what());
    }
    if (hooks.computed) hooks.computed(library);
    if (hooks.cancelled && hooks.cancelled()) {
      cancelled = true;
      break;
    }
  }
  if (hooks.end) hooks.end();
  if (cancelled) {
    say("The merge was cancelled; " + path_ + " was not changed.");
    return false;
  }
  if (!failed.empty()) {
    std::string text = "These components could not be computed and were not written:";
    for (const std::string& f : failed) text += "\n" + f;
    say(text + "\n" + path_ + " was not changed.");
    return false;
  }
  try {
    SourceLines merged = InsertBlocks(lines, catalogCode_, blocks);
    ReplaceCatalogSource(path_, merged, hooks.steps);
    lines_ = std::move(merged);
  } catch (const CatalogSourceError& e) {
    say(e.what());
    return false;
  }
  return true;
}

bool CompileCatalogSource(const std::string& sourcePath) {
  const std::size_t slash = sourcePath.find_last_of('/');
  const std::string directory = slash == std::string::npos ? "./" : sourcePath.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
  const std::string name = file.substr(0, file.find('.'));
  if (!platform::fileExists(directory + "CCAT.BAT")) return false;
  RunAndWait("CCAT.BAT", {name}, directory);
  return true;
}

}  // namespace pakro
