#pragma once
// A small library for the managers' models: named records with one value
// each, a computation that fails the check of the names listed as
// incomplete, and a catalog block made of the name, usage and value.
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "pakro/shell/device_library.h"
#include "pakro/shell/frame_state.h"

namespace pakro::testing {

class FakeLibrary final : public DeviceLibrary {
 public:
  struct Record {
    std::string name;
    double value = 0;
    bool computed = false;
  };
  FakeLibrary(int kind, std::vector<std::string> names) : kind(kind) {
    records.push_back({"defaults", 0});
    for (const std::string& name : names) records.push_back({name, 1.0 + static_cast<double>(records.size())});
  }

  int Count() const override { return static_cast<int>(records.size()); }
  int Current() const override { return current; }
  void SetCurrent(int index) override { current = index; }
  bool Modified() const override { return modified; }
  void SetModified(bool m) override { modified = m; }
  std::string Name(int index) const override { return records.at(static_cast<std::size_t>(index)).name; }
  void AddItem() override {
    records.emplace_back();
    current = Count() - 1;
  }
  void Delete(int index) override { records.erase(records.begin() + index); }
  void Reset(int index) override { records.at(static_cast<std::size_t>(index)) = {}; }
  void CopyItem(int from, int to) override { records.at(to) = records.at(from); }
  void AppendCopyOf(const DeviceLibrary& source, int index) override {
    const auto& other = dynamic_cast<const FakeLibrary&>(source);
    if (other.kind != kind) throw std::logic_error("kinds differ");
    records.push_back(other.records.at(static_cast<std::size_t>(index)));
    current = Count() - 1;
  }
  void ReadLibrary(LibraryFile&) override {}
  void WriteLibrary(const std::string&) override {}
  void WriteSpiceLibrary(const std::string&) override {}
  bool HasMplFiles() const override { return false; }
  void WriteMplFiles(const std::string&, const std::string&) override {}
  void Compute(int index) override {
    Record& r = records.at(static_cast<std::size_t>(index));
    computedOrder.push_back(r.name);
    if (failing.count(r.name)) throw std::runtime_error("the fit did not converge");
    CheckFailed = incomplete.count(r.name) ? 1 : 0;
    r.computed = CheckFailed == 0;
  }
  std::vector<std::string> CatalogBlock(int index) override {
    const Record& r = records.at(static_cast<std::size_t>(index));
    return {"$ " + r.name, "U fake " + r.name, "E 2.5", ".E"};
  }

  int kind;
  std::vector<Record> records;
  int current = 1;
  bool modified = false;
  std::set<std::string> incomplete;
  std::set<std::string> failing;
  std::vector<std::string> computedOrder;
};

}  // namespace pakro::testing
