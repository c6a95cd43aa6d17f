#pragma once
// A small device kind for driving the frame: a record list of named records
// and a datasheet form that records what the frame asks of it.
#include <QStringList>
#include <string>
#include <vector>

#include "blank.h"
#include "main_form.h"

namespace pakro::testing {

class TestLibrary final : public DeviceLibrary {
 public:
  std::vector<std::string> names{"defaults", "first"};
  int current = 1;
  bool modified = false;

  int Count() const override { return static_cast<int>(names.size()); }
  int Current() const override { return current; }
  void SetCurrent(int index) override { current = index; }
  bool Modified() const override { return modified; }
  void SetModified(bool m) override { modified = m; }
  std::string Name(int index) const override { return names.at(static_cast<std::size_t>(index)); }
  void AddItem() override {
    names.emplace_back();
    current = Count() - 1;
  }
  void Delete(int index) override { names.erase(names.begin() + index); }
  void Reset(int index) override { names.at(static_cast<std::size_t>(index)).clear(); }
  void ReadLibrary(platform::LineReader&, const std::string&, int) override {}
  void WriteLibrary(const std::string&) override { modified = false; }
  void WriteSpiceLibrary(const std::string&) override { modified = false; }
  bool HasMplFiles() const override { return false; }
  void WriteMplFiles(const std::string&, const std::string&) override {}
  void Compute(int) override {}
};

class TestForm final : public TBlank {
 public:
  explicit TestForm(int kind) : kind_(kind) {}
  int Module() const override { return kind_; }
  DeviceLibrary& List() override { return list; }
  void ShowData() override { calls << "ShowData"; }
  void SendData(QObject*) override { calls << "SendData"; }
  void SendAllData(QObject*) override { calls << "SendAllData"; }
  void FormActivate() override {
    ++activations;
    TBlank::FormActivate();
  }
  bool FormCloseQuery() override {
    ++closeQuestions;
    return mayClose;
  }

  TestLibrary list;
  QStringList calls;
  bool mayClose = true;
  int closeQuestions = 0;
  int activations = 0;

 private:
  int kind_;
};

// Forms for every kind code 1 to 8, each a TestForm answering its code.
inline DeviceForms testDeviceForms() {
  DeviceForms forms;
  for (int kind = 1; kind <= 8; ++kind) forms[static_cast<std::size_t>(kind)] = [kind] {
    return new TestForm(kind);
  };
  return forms;
}

}  // namespace pakro::testing
