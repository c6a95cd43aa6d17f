#pragma once
// A device kind's record list as the frame sees it (DeviceLibrary), and as
// its datasheet form sees it: the records by index as the form's record
// class. The kind gives the operations that differ: its computation and its
// output writers.
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

#include "pakro/devices/catalog_list.h"
#include "pakro/shell/device_library.h"
#include "pakro/shell/library_file.h"
#include "pakro/devices/model_output.h"
#include "pakro/devices/polarity.h"

namespace pakro {

// The records of a list as the record class `Rec` (which a kind's record
// derives from or is).
template <class Rec>
class RecordLibrary : public DeviceLibrary {
 public:
  virtual Rec& Items(int index) = 0;
  const Rec& Items(int index) const { return const_cast<RecordLibrary*>(this)->Items(index); }
  Rec& CurrentItem() { return Items(Current()); }
};

// What a kind does with its records beyond keeping them.
template <class List>
struct KindOperations {
  // Fits record `index` (the datasheet check included).
  std::function<void(List&, int)> compute;
  std::function<void(List&, const std::string&)> writeSpiceLibrary;
  // Empty for the kinds without MPL files.
  std::function<void(List&, const std::string&, const std::string&)> writeMplFiles;
};

template <class List, class Rec>
class ListLibrary final : public RecordLibrary<Rec> {
 public:
  explicit ListLibrary(KindOperations<List> operations = {}) : ops_(std::move(operations)) {}

  List& list() { return list_; }
  const List& list() const { return list_; }

  Rec& Items(int index) override { return list_.Items(index); }
  int Count() const override { return list_.Count(); }
  int Current() const override { return list_.Current; }
  void SetCurrent(int index) override { list_.Current = index; }
  bool Modified() const override { return list_.Modified; }
  void SetModified(bool modified) override { list_.Modified = modified; }
  std::string Name(int index) const override { return list_.Items(index).Name.str(); }
  void AddItem() override { list_.AddItem(); }
  void Delete(int index) override { list_.Delete(index); }
  void Reset(int index) override { list_.Items(index).Reset(); }
  void CopyItem(int from, int to) override { list_.Items(to) = list_.Items(from); }
  void AppendCopyOf(const DeviceLibrary& source, int index) override {
    const auto* other = dynamic_cast<const ListLibrary*>(&source);
    if (!other) throw std::logic_error("A component can only be copied between libraries of one kind.");
    auto copy = other->list_.Items(index);
    list_.AddItem();
    list_.Items(list_.Current) = std::move(copy);
  }
  std::vector<std::string> CatalogBlock(int index) override {
    return CatalogSourceLinesOf(list_.Items(index));
  }

  void ReadLibrary(LibraryFile& file) override { list_.ReadLibrary(file); }
  void WriteLibrary(const std::string& fileName) override { list_.WriteLibrary(fileName); }
  void WriteSpiceLibrary(const std::string& fileName) override {
    Require(static_cast<bool>(ops_.writeSpiceLibrary), "write a model library");
    ops_.writeSpiceLibrary(list_, fileName);
  }
  bool HasMplFiles() const override { return static_cast<bool>(ops_.writeMplFiles); }
  void WriteMplFiles(const std::string& mplFileName, const std::string& enFileName) override {
    Require(static_cast<bool>(ops_.writeMplFiles), "write MPL files");
    ops_.writeMplFiles(list_, mplFileName, enFileName);
  }
  void Compute(int index) override {
    Require(static_cast<bool>(ops_.compute), "compute");
    ops_.compute(list_, index);
  }

 private:
  // An operation the kind was given no implementation of fails loudly.
  static void Require(bool given, const char* what) {
    if (!given) throw std::logic_error(std::string("This library cannot ") + what + ".");
  }

  List list_;
  KindOperations<List> ops_;
};

// A kind's list that computes each record with `compute`; `loadDefaults`
// becomes the loading of its defaults record.
template <class List, class Rec>
std::unique_ptr<ListLibrary<List, Rec>> MakeListLibrary(bool (*compute)(Rec&), std::function<void()>& loadDefaults) {
  using ListRecord = std::remove_cvref_t<decltype(std::declval<List&>().Items(0))>;
  KindOperations<List> operations{
      [compute](List& list, int index) { compute(list.Items(index)); },
      [](List& list, const std::string& path) { pakro::WriteSpiceLibrary(list, path); },
      {}};
  if (OutputTableOf(ListOutputKind<ListRecord>()).mpl)
    operations.writeMplFiles = [](List& list, const std::string& mpl, const std::string& en) {
      pakro::WriteMplFiles(list, mpl, en);
    };
  auto library = std::make_unique<ListLibrary<List, Rec>>(std::move(operations));
  loadDefaults = [raw = library.get()] { raw->list().LoadDefaults(); };
  return library;
}

// The same for the kinds whose two polarities share one record class.
template <class ListN, class ListP, class Rec>
std::unique_ptr<RecordLibrary<Rec>> MakePolarLibrary(Polarity polarity, bool (*compute)(Rec&),
                                                     std::function<void()>& loadDefaults) {
  if (polarity == Polarity::N) return MakeListLibrary<ListN, Rec>(compute, loadDefaults);
  return MakeListLibrary<ListP, Rec>(compute, loadDefaults);
}

}  // namespace pakro
