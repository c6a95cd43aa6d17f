// The file commands of the main window on libraries of the real device kinds:
// fixture files copied into a scratch directory are opened, edited, saved,
// saved under other names and reopened through the real file dialogs' seams.
// The datasheet window of a kind is a plain form over the kind's list.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <csignal>
#include <filesystem>
#include <memory>

#include "pakro/devices/COR_.h"
#include "pakro/devices/DIO_.h"
#include "pakro/devices/JFN_.h"
#include "pakro/devices/MNE_.h"
#include "pakro/devices/TRN_.h"
#include "pakro/shell/program.h"
#include "pakro/shell/blank.h"
#include "pakro/shell/frame_state.h"
#include "pakro/tests/library_test_support.h"
#include "platform/qt_services.h"
#include "platform/scripted_dialogs.h"
#include "pakro/tests/qt_application.h"

namespace pakro {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::MessageKind;
using testing::FixturePath;
using testing::ReadBytes;
using testing::ScratchDir;

// The frame's view of a kind's record list.
template <class List>
class KindLibrary final : public DeviceLibrary {
 public:
  KindLibrary() { list.LoadDefaults(); }

  int Count() const override { return list.Count(); }
  int Current() const override { return list.Current; }
  void SetCurrent(int index) override { list.Current = index; }
  bool Modified() const override { return list.Modified; }
  void SetModified(bool modified) override { list.Modified = modified; }
  std::string Name(int index) const override { return list.Items(index).Name.str(); }
  void AddItem() override { list.AddItem(); }
  void Delete(int) override { ADD_FAILURE() << "not used by these tests"; }
  void Reset(int index) override { list.Items(index).Reset(); }
  void CopyItem(int from, int to) override { list.Items(to) = list.Items(from); }
  void ReadLibrary(LibraryFile& file) override { list.ReadLibrary(file); }
  void WriteLibrary(const std::string& path) override { list.WriteLibrary(path); }
  void WriteSpiceLibrary(const std::string&) override { ADD_FAILURE() << "not used by these tests"; }
  bool HasMplFiles() const override { return false; }
  void WriteMplFiles(const std::string&, const std::string&) override {
    ADD_FAILURE() << "not used by these tests";
  }
  void Compute(int) override { ADD_FAILURE() << "not used by these tests"; }

  List list;
};

// A datasheet window whose only field is the component name: `typed` is a
// name typed into it and not yet sent to the record.
class KindForm : public TBlank {
 public:
  std::string typed;
  void ShowData() override {}
  void SendData(QObject*) override {
    if (!typed.empty()) SetNameOfCurrent(typed);
    typed.clear();
    List().SetModified(true);
    if (MainForm) MainForm->SetCbNavigator();
  }
  void SendAllData(QObject* sender) override { SendData(sender); }

 private:
  virtual void SetNameOfCurrent(const std::string& name) = 0;
};

template <class CatList, int Kind>
class KindFormOf final : public KindForm {
 public:
  int Module() const override { return Kind; }
  DeviceLibrary& List() override { return library; }
  KindLibrary<CatList> library;

 private:
  void SetNameOfCurrent(const std::string& name) override {
    library.list.Items(library.list.Current).Name = name;
  }
};

DeviceForms kindForms() {
  DeviceForms forms;
  forms[kDiode] = [] { return new KindFormOf<TCatListDIO, kDiode>; };
  forms[kNpnTransistor] = [] { return new KindFormOf<TCatListTRN, kNpnTransistor>; };
  forms[kPnpTransistor] = [] { return new KindFormOf<TCatListTRP, kPnpTransistor>; };
  forms[kNChannelJfet] = [] { return new KindFormOf<TCatListJFN, kNChannelJfet>; };
  forms[kPChannelJfet] = [] { return new KindFormOf<TCatListJFP, kPChannelJfet>; };
  forms[kNChannelMosfet] = [] { return new KindFormOf<TCatListMNE, kNChannelMosfet>; };
  forms[kPChannelMosfet] = [] { return new KindFormOf<TCatListMPE, kPChannelMosfet>; };
  forms[kMagneticCore] = [] { return new KindFormOf<TCatListCOR, kMagneticCore>; };
  return forms;
}

struct KindFixture {
  int kind;
  const char* file;
};
constexpr KindFixture kFixtures[] = {
    {kDiode, "diode.LBR"},         {kNpnTransistor, "npn.LBR"},  {kPnpTransistor, "pnp.LBR"},
    {kNChannelJfet, "njfet.LBR"},  {kPChannelJfet, "pjfet.LBR"}, {kNChannelMosfet, "nmos.LBR"},
    {kPChannelMosfet, "pmos.LBR"}, {kMagneticCore, "core.LBR"},
};

// Records every message and answers each with the next answer given (OK
// when none is left).
class RecordingMessages final : public platform::MessageService {
 public:
  explicit RecordingMessages(std::vector<Answer> answers = {})
      : answers_(std::move(answers)), previous_(platform::setMessageService(this)) {}
  ~RecordingMessages() override { platform::setMessageService(previous_); }
  Answer show(MessageKind kind, std::string_view text, Buttons buttons, std::string_view,
              int) override {
    shown.push_back({kind, std::string(text), buttons, {}, 0});
    if (answers_.empty()) return Answer::Ok;
    const Answer a = answers_.front();
    answers_.erase(answers_.begin());
    return a;
  }
  std::vector<platform::testing::ShownMessage> shown;

 private:
  std::vector<Answer> answers_;
  platform::MessageService* previous_;
};

class LibraryCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    resetFrameState();
    main = createForms(kindForms());
  }
  void TearDown() override {
    delete MainForm.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void run(const char* itemName) { main->findChild<QAction*>(itemName)->trigger(); }
  // Copies a fixture into the scratch directory under `name`.
  std::string copyFixture(const char* fixture, const char* name) {
    std::filesystem::copy_file(FixturePath(fixture), dir.Path(name));
    return dir.Path(name);
  }
  // Opens a library through "&Open Library".
  KindForm* open(const std::string& path) {
    platform::testing::ScriptedFileDialogs dialogs;
    dialogs.expectOpen(path);
    run("FileOpenItem");
    return dynamic_cast<KindForm*>(main->ActiveMDIChild());
  }
  static std::string caption(TBlank* form) { return form->Caption().toStdString(); }

  ScratchDir dir;
  TMainForm* main = nullptr;
};

TEST_F(LibraryCommands, EachKindOpensEditsSavesAndReopens) {
  for (const KindFixture& k : kFixtures) {
    SCOPED_TRACE(k.file);
    const std::string path = copyFixture(k.file, k.file);
    KindForm* form = open(path);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Module(), k.kind);
    EXPECT_EQ(CurrentType, k.kind);
    EXPECT_EQ(caption(form), path);
    EXPECT_EQ(form->List().Current(), 1);
    EXPECT_FALSE(form->List().Modified());
    EXPECT_EQ(main->CbNavigator()->count(), form->List().Count() - 1);
    EXPECT_EQ(platform::qt::toLegacy(main->CbNavigator()->currentText()), form->List().Name(1) + " : 1");

    // Saved unchanged, the file keeps its bytes; edited, it takes the edit.
    run("FileSaveItem");
    EXPECT_EQ(ReadBytes(path), ReadBytes(FixturePath(k.file)));
    main->NextBtnClick(nullptr);
    form->typed = "EDITED";
    run("FileSaveItem");  // the edit still in the form is sent first
    EXPECT_FALSE(form->List().Modified());
    const std::string saved = ReadBytes(path);
    EXPECT_NE(saved, ReadBytes(FixturePath(k.file)));

    KindForm* again = open(path);
    ASSERT_NE(again, form);
    EXPECT_EQ(again->List().Count(), form->List().Count());
    EXPECT_EQ(again->List().Name(2 < again->List().Count() ? 2 : 1), "EDITED");
    platform::testing::ScriptedFileDialogs dialogs;
    dialogs.expectSave(dir.Path("copy"));
    run("FileSaveAsItem");
    EXPECT_EQ(caption(again), dir.Path("copy.LBR"));
    EXPECT_EQ(ReadBytes(dir.Path("copy.LBR")), saved);
    std::filesystem::remove(dir.Path("copy.LBR"));
  }
  EXPECT_EQ(main->MDIChildCount(), 16);
}

TEST_F(LibraryCommands, OpenRefusesWhatIsNoLibraryOfAKnownKindOrVersion) {
  KindForm* before = open(copyFixture("diode.LBR", "diode.LBR"));
  ASSERT_NE(before, nullptr);
  struct Case {
    const char* what;
    std::string bytes;
    std::string message;  // after the path
  };
  const Case cases[] = {
      {"kind 0", testing::Crlf("Diode Library file\nType    : 0\nVersion : 2\n"),
       " is no library of the parameter extractor: its type 0 names no device kind."},
      {"kind 9", testing::Crlf("Diode Library file\nType    : 9\nVersion : 2\n"),
       " is no library of the parameter extractor: its type 9 names no device kind."},
      {"version 3", testing::Crlf("Diode Library file\nType    : 1\nVersion : 3\n"),
       " is of the library version 3, which this program cannot read."},
      {"two lines", testing::Crlf("Diode Library file\nType    : 1\n"),
       " is not a library file: its header ends after 2 of its 3 lines."},
      {"a damaged record", ReadBytes(FixturePath("npn.LBR")).substr(0, 900), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.File("bad.LBR", c.bytes);
    RecordingMessages messages;
    EXPECT_EQ(open(path), before);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(messages.shown[0].text.rfind(path, 0), 0u) << messages.shown[0].text;
    if (!c.message.empty()) {
      EXPECT_EQ(messages.shown[0].text, path + c.message);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->MDIChildCount(), 1);
    EXPECT_EQ(CurrentType, kDiode);
    EXPECT_EQ(platform::qt::toLegacy(main->CbNavigator()->currentText()), before->List().Name(1) + " : 1");
  }
  // A kind named whatever the title line says.
  std::string npnAsAnything = ReadBytes(FixturePath("nmos.LBR"));
  npnAsAnything.replace(0, npnAsAnything.find('\r'), "Anything at all");
  KindForm* form = open(dir.File("any.LBR", npnAsAnything));
  ASSERT_NE(form, before);
  EXPECT_EQ(form->Module(), kNChannelMosfet);
}

TEST_F(LibraryCommands, SaveAsNamesTheFileAndAsksBeforeReplacing) {
  const std::string original = copyFixture("npn.LBR", "npn.LBR");
  KindForm* form = open(original);
  const std::string existing = dir.File("taken.LBR", "keep me\r\n");
  {
    // The dialog proposes the file name of the caption and asks nothing itself.
    platform::testing::ScriptedFileDialogs dialogs;
    dialogs.expectSave(dir.Path("plain")).expectSave(dir.Path("other.lib"));
    run("FileSaveAsItem");
    EXPECT_EQ(dialogs.requests()[0].fileName, "npn.LBR");
    EXPECT_EQ(dialogs.requests()[0].filter, "Parameter Extractor files (*.LBR)|*.lbr|All files (*)|*");
    // "All files" offers a name without a dot too.
    const QString allFiles = platform::qt::toQtFilter(dialogs.requests()[0].filter).section(";;", 1);
    EXPECT_TRUE(QDir::match(allFiles.section('(', 1).chopped(1).split(' '), "NPNLIB")) << allFiles.toStdString();
    EXPECT_EQ(dialogs.requests()[0].defaultExtension, "");
    EXPECT_FALSE(dialogs.requests()[0].overwritePrompt);
    EXPECT_EQ(caption(form), dir.Path("plain.LBR"));
    run("FileSaveAsItem");
    EXPECT_EQ(dialogs.requests()[1].fileName, "plain.LBR");
    EXPECT_EQ(caption(form), dir.Path("other.lib"));
    EXPECT_EQ(ReadBytes(dir.Path("other.lib")), ReadBytes(original));
  }
  {
    // No to the replace question: file, caption and Modified stay.
    form->typed = "NOT WRITTEN";
    form->List().SetModified(false);
    platform::testing::ScriptedFileDialogs dialogs;
    platform::testing::ScriptedMessages messages;
    dialogs.expectSave(existing).expectSave(std::nullopt);
    messages.expect(existing + " already exsists. Do you want to replace it?", Answer::No,
                    MessageKind::Warning, Buttons::YesNo);
    run("FileSaveAsItem");
    run("FileSaveAsItem");  // cancelled
    EXPECT_EQ(ReadBytes(existing), "keep me\r\n");
    EXPECT_EQ(caption(form), dir.Path("other.lib"));
    EXPECT_FALSE(form->List().Modified());
  }
  {
    // Yes replaces it, with the edit the form still held.
    platform::testing::ScriptedFileDialogs dialogs;
    platform::testing::ScriptedMessages messages;
    dialogs.expectSave(existing);
    messages.expect(existing + " already exsists. Do you want to replace it?", Answer::Yes);
    run("FileSaveAsItem");
    EXPECT_EQ(caption(form), existing);
    EXPECT_NE(ReadBytes(existing).find("\r\nNOT WRITTEN\r\n"), std::string::npos);
    EXPECT_FALSE(form->List().Modified());
  }
}

// Paths are the file system's bytes: a name with letters beyond ASCII is
// written under that very name, shown as such in the caption, and saved to
// again; the replace question shows it in the message's own code page.
TEST_F(LibraryCommands, FileNamesBeyondAsciiKeepTheirBytes) {
  KindForm* form = open(copyFixture("npn.LBR", "npn.LBR"));
  const std::string name = dir.Path("B\xC3\xBCrger \xE2\x82\xAC.LBR");  // "Bürger €.LBR" in UTF-8
  {
    platform::testing::ScriptedFileDialogs dialogs;
    dialogs.expectSave(name);
    run("FileSaveAsItem");
  }
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(name)));
  EXPECT_EQ(form->Caption(), QString::fromUtf8(name.c_str()));
  form->typed = "SAVED AGAIN";
  form->List().SetModified(true);
  run("FileSaveItem");
  EXPECT_NE(ReadBytes(name).find("\r\nSAVED AGAIN\r\n"), std::string::npos);
  {
    platform::testing::ScriptedFileDialogs dialogs;
    platform::testing::ScriptedMessages messages;
    dialogs.expectSave(name);
    messages.expect(dir.Path("B\xFCrger \x80.LBR") + " already exsists. Do you want to replace it?",
                    Answer::No);
    run("FileSaveAsItem");
  }
}

TEST_F(LibraryCommands, NewLibrariesAreNamedBeforeTheyAreWritten) {
  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(dir.Dir());
  run("NPNtransistor1");
  auto* npn = dynamic_cast<KindForm*>(main->ActiveMDIChild());
  ASSERT_NE(npn, nullptr);
  EXPECT_EQ(npn->List().Count(), 2);
  EXPECT_EQ(npn->List().Name(0), "DEFAULT") << "the defaults record of BIPOL.DEF";
  {
    // Save asks for a name, proposing the new library's.
    platform::testing::ScriptedFileDialogs dialogs;
    dialogs.expectSave(dir.Path("mine"));
    run("FileSaveItem");
    EXPECT_EQ(dialogs.requests()[0].fileName, "NEWNPN.LBR");
    EXPECT_EQ(caption(npn), dir.Path("mine.LBR"));
    // Then it writes straight to that name.
    npn->typed = "Q1";
    run("FileSaveItem");
    EXPECT_NE(ReadBytes(dir.Path("mine.LBR")).find("\r\nQ1\r\n"), std::string::npos);
  }
  {
    // Save All: a new diode library is named first, the NPN library written.
    run("Diode1");
    auto* diode = dynamic_cast<KindForm*>(main->ActiveMDIChild());
    npn->List().SetModified(true);
    npn->typed = "Q2";
    platform::testing::ScriptedFileDialogs dialogs;
    dialogs.expectSave(dir.Path("diodes"));
    run("SaveAll1");
    EXPECT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].fileName, "NEWDIODE.LBR");
    EXPECT_EQ(caption(diode), dir.Path("diodes.LBR"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path("diodes.LBR")));
    EXPECT_NE(ReadBytes(dir.Path("mine.LBR")).find("\r\nQ2\r\n"), std::string::npos)
        << "the form's edit was sent, though the window is not the active one";
    EXPECT_FALSE(npn->List().Modified());
    EXPECT_FALSE(diode->List().Modified());
    // A new library whose naming is cancelled stays unwritten.
    run("Core1");
    platform::testing::ScriptedFileDialogs cancel;
    cancel.expectSave(std::nullopt);
    run("SaveAll1");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("NEWDIODE.LBR")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("NEWNPN.LBR")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("NEWCORE.LBR")));
  std::filesystem::current_path(here);
}

TEST_F(LibraryCommands, CloseQuestionsSaveTheAskingWindow) {
  const std::string a = copyFixture("diode.LBR", "a.LBR");
  const std::string b = copyFixture("npn.LBR", "b.LBR");
  const std::string c = copyFixture("core.LBR", "c.LBR");
  KindForm* fa = open(a);
  KindForm* fb = open(b);
  KindForm* fc = open(c);
  for (KindForm* f : {fa, fb, fc}) f->typed = "CHANGED";
  for (KindForm* f : {fa, fb, fc}) f->SendData(nullptr);
  const std::string bBytes = ReadBytes(b), cBytes = ReadBytes(c);
  auto question = [](const std::string& path) {
    return "Save the Library  " + path + "  before closing?";
  };
  {
    // Closing the program: Yes saves the first (not the active) library, No
    // leaves the second unsaved, Cancel keeps the third and the program open.
    platform::testing::ScriptedMessages messages;
    messages.expect(question(a), Answer::Yes, MessageKind::Confirmation, Buttons::YesNoCancel)
        .expect(question(b), Answer::No, MessageKind::Confirmation, Buttons::YesNoCancel)
        .expect(question(c), Answer::Cancel, MessageKind::Confirmation, Buttons::YesNoCancel);
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(messages.allAnswered());
  }
  EXPECT_NE(ReadBytes(a).find("\r\nCHANGED\r\n"), std::string::npos);
  EXPECT_FALSE(fa->List().Modified());
  EXPECT_EQ(ReadBytes(b), bBytes);
  EXPECT_EQ(ReadBytes(c), cBytes);
  EXPECT_EQ(main->MDIChildCount(), 3);

  {
    // "&Close Library" on the active window: Cancel keeps it, No lets it go
    // unsaved; a library without changes closes without a question.
    platform::testing::ScriptedMessages messages;
    messages.expect(question(c), Answer::Cancel).expect(question(c), Answer::No);
    run("FileCloseItem");
    EXPECT_EQ(main->MDIChildCount(), 3);
    run("FileCloseItem");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->MDIChildCount(), 2);
    EXPECT_EQ(ReadBytes(c), cBytes);
  }
  main->ClientArea()->setActiveSubWindow(main->ChildWindow(0));
  ASSERT_EQ(main->ActiveMDIChild(), fa);
  run("FileCloseItem");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(main->MDIChildCount(), 1);
  {
    // Yes on a new library whose naming is cancelled keeps the window.
    run("Core1");
    auto* fresh = main->ActiveMDIChild();
    fresh->List().SetModified(true);
    platform::testing::ScriptedMessages messages;
    platform::testing::ScriptedFileDialogs dialogs;
    messages.expect(question("NEWCORE.LBR"), Answer::Yes);
    dialogs.expectSave(std::nullopt);
    run("FileCloseItem");
    EXPECT_EQ(main->MDIChildCount(), 2);
  }
}

// Makes writes fail: the directory is read-only, and for a user whom
// permissions do not stop, files may not grow past one byte.
class ReadOnlyDirectory {
 public:
  explicit ReadOnlyDirectory(const std::string& dir) : dir_(dir) {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_exec);
    if (::geteuid() == 0) {
      getrlimit(RLIMIT_FSIZE, &old_);
      previous_ = std::signal(SIGXFSZ, SIG_IGN);
      rlimit limit = old_;
      limit.rlim_cur = 1;
      setrlimit(RLIMIT_FSIZE, &limit);
      limited_ = true;
    }
  }
  ~ReadOnlyDirectory() {
    if (limited_) {
      setrlimit(RLIMIT_FSIZE, &old_);
      std::signal(SIGXFSZ, previous_);
    }
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
  }

 private:
  std::string dir_;
  bool limited_ = false;
  rlimit old_{};
  void (*previous_)(int) = nullptr;
};

TEST_F(LibraryCommands, AFailedWriteLeavesTheFileAndTheCaption) {
  const std::string sub = dir.Path("ro");
  std::filesystem::create_directory(sub);
  const std::string path = sub + "/lib.LBR";
  std::filesystem::copy_file(FixturePath("pnp.LBR"), path);
  KindForm* form = open(path);
  form->typed = "LOST?";
  const std::string before = ReadBytes(path);
  {
    ReadOnlyDirectory readOnly(sub);
    RecordingMessages messages;
    run("FileSaveItem");
    platform::testing::ScriptedFileDialogs dialogs;
    dialogs.expectSave(sub + "/new");
    run("FileSaveAsItem");
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_NE(messages.shown[0].text.find(path), std::string::npos) << messages.shown[0].text;
    EXPECT_NE(messages.shown[1].text.find(sub + "/new.LBR"), std::string::npos) << messages.shown[1].text;
  }
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_FALSE(std::filesystem::exists(sub + "/new.LBR"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sub), std::filesystem::directory_iterator()), 1);
  EXPECT_EQ(caption(form), path);
  EXPECT_TRUE(form->List().Modified());
  EXPECT_EQ(form->List().Name(1), "LOST?") << "the edit stays in the record";
  // Once writable again the same Save succeeds.
  run("FileSaveItem");
  EXPECT_NE(ReadBytes(path).find("\r\nLOST?\r\n"), std::string::npos);
}

}  // namespace
}  // namespace pakro
