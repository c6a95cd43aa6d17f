#pragma once
// A small device kind for driving the frame: a record list of named records
// and a datasheet form that records what the frame asks of it. Its library
// file holds one name per line after the header; its computation makes two
// progress marks and fails the check of the names listed as incomplete.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QStringList>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "pakro/shell/program.h"
#include "pakro/shell/blank.h"
#include "pakro/shell/compute_progress.h"
#include "pakro/shell/frame_state.h"
#include "pakro/shell/library_file.h"
#include "pakro/shell/main_form.h"
#include "platform/text_file.h"

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
  void CopyItem(int from, int to) override {
    names.at(static_cast<std::size_t>(to)) = names.at(static_cast<std::size_t>(from));
  }
  void ReadLibrary(LibraryFile& file) override {
    std::vector<std::string> read;
    try {
      for (;;) {
        file.BeginRecord();
        read.emplace_back(file.NextLine());
      }
    } catch (const LibraryFile::NoMoreRecords&) {
    }
    file.Close();
    if (read.empty()) read.emplace_back("defaults");
    if (read.size() == 1) read.emplace_back();
    names = read;
    current = 1;
  }
  void WriteLibrary(const std::string& path) override {
    platform::TextFileWriter out(path);
    out.writeLine("Test Library file");
    out.writeLine(TypeLine(kind));
    out.writeLine(VersionLine(2));
    for (const std::string& name : names) out.writeLine(name);
    out.commit();
    modified = false;
  }
  void WriteSpiceLibrary(const std::string& path) override {
    if (!refuseOutput.empty()) throw std::runtime_error(refuseOutput);
    written.push_back("spice " + path);
  }
  // The diode, bipolar and core kinds write MPL pairs.
  bool HasMplFiles() const override { return kind <= 3 || kind == 8; }
  void WriteMplFiles(const std::string& mpl, const std::string& en) override {
    if (!refuseOutput.empty()) throw std::runtime_error(refuseOutput);
    written.push_back("mpl " + mpl + " " + en);
  }
  void Compute(int index) override {
    const std::string& name = names.at(static_cast<std::size_t>(index));
    if (failing.count(name)) throw std::runtime_error("The fit of " + name + " failed.");
    if (incomplete.count(name)) {
      computeProgress().ShowCheck({});
      CheckFailed = 1;
      return;
    }
    for (int stage = 0; stage < 2; ++stage) {
      if (onMark) onMark(index);
      computeProgress().Mark(name);
    }
    computed.push_back(index);
    CheckFailed = 0;
  }

  int kind = 1;
  // Names whose datasheet check fails.
  std::set<std::string> incomplete;
  // Names whose computation raises an error.
  std::set<std::string> failing;
  // Records computed, in order.
  std::vector<int> computed;
  // Runs before each progress mark.
  std::function<void(int)> onMark;
  // The output files written, as "spice <path>" and "mpl <path> <path>".
  std::vector<std::string> written;
  // When not empty, the output writers raise an error with this message.
  std::string refuseOutput;
};

class TestForm final : public TBlank {
 public:
  explicit TestForm(int kind) : kind_(kind) { list.kind = kind; }
  int Module() const override { return kind_; }
  DeviceLibrary& List() override { return list; }
  void ShowData() override { calls << "ShowData"; }
  void SendData(QObject*) override {
    calls << "SendData";
    list.modified = true;
  }
  void SendAllData(QObject*) override {
    calls << "SendAllData";
    list.modified = true;
  }
  void FormActivate() override {
    ++activations;
    TBlank::FormActivate();
  }
  bool FormCloseQuery() override {
    ++closeQuestions;
    return askSaveQuestion ? TBlank::FormCloseQuery() : mayClose;
  }

  TestLibrary list;
  QStringList calls;
  bool mayClose = true;
  // Ask the datasheet forms' save question instead of answering mayClose.
  bool askSaveQuestion = false;
  int closeQuestions = 0;
  int activations = 0;

 private:
  int kind_;
};

inline DeviceForms testDeviceForms();

// A fresh set of the program's forms for each test, with the test kind's
// datasheet forms.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetFrameState();
    main = createForms(testDeviceForms());
  }
  void TearDown() override {
    delete MainForm.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  QAction* item(const char* name) const { return main->findChild<QAction*>(name); }

  TMainForm* main = nullptr;
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
