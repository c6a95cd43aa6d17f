// The output commands of the main window, driven offscreen with the test
// kind: they compute the whole library, then write through the kind's list,
// and write nothing after a stopped series; the catalog compile runs the
// batch file in the compiler's directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QMetaObject>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "pakro/shell/compute_dialogs.h"
#include "pakro/shell/frame_state.h"
#include "platform/scripted_dialogs.h"
#include "pakro/tests/qt_application.h"
#include "pakro/tests/test_kind.h"

namespace pakro {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::MessageKind;
using testing::TestForm;

class OutputCommands : public testing::FrameTest {
 protected:
  // A library of `components` components named c1, c2, ..., showing the second.
  TestForm* library(int components, int kind, const QString& caption) {
    auto* form = static_cast<TestForm*>(main->CreateChild(kind, caption));
    form->list.names = {"defaults"};
    for (int i = 1; i <= components; ++i) form->list.names.push_back("c" + std::to_string(i));
    form->list.current = 2;
    form->list.modified = true;
    main->SetCbNavigator();
    return form;
  }
  std::vector<std::string> none;
};

TEST_F(OutputCommands, SpiceLibraryIsWrittenAfterTheWholeLibraryIsComputed) {
  TestForm* form = library(3, kNpnTransistor, "NEWNPN.LBR");
  platform::testing::ScriptedFileDialogs dialogs;
  dialogs.expectSave(std::nullopt).expectSave("/tmp/elsewhere/models.lib");

  // Cancelling the dialog computes and writes nothing.
  item("CreateSPICELibrary1")->trigger();
  ASSERT_EQ(dialogs.requests().size(), 1u);
  EXPECT_EQ(dialogs.requests()[0].fileName, "NEWNPN.lib");
  EXPECT_EQ(dialogs.requests()[0].filter, "Spice Library|*.lib");
  EXPECT_EQ(dialogs.requests()[0].defaultExtension, "");
  EXPECT_TRUE(form->list.computed.empty());
  EXPECT_EQ(form->list.written, none);

  item("CreateSPICELibrary1")->trigger();
  EXPECT_EQ(form->list.computed, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(form->list.written, std::vector<std::string>{"spice /tmp/elsewhere/models.lib"});
  EXPECT_EQ(form->list.current, 3);
  // No library file was written: the save question must still come.
  EXPECT_TRUE(form->list.modified);
}

TEST_F(OutputCommands, MplPairLandsBesideTheLibraryWithoutADialog) {
  TestForm* form = library(2, kDiode, "/data/my.libs/DIODES.LBR");
  platform::testing::ScriptedFileDialogs dialogs;  // none may be shown
  item("WriteMPLfile1")->trigger();
  EXPECT_TRUE(dialogs.requests().empty());
  EXPECT_EQ(form->list.computed, (std::vector<int>{1, 2}));
  EXPECT_EQ(form->list.written,
            std::vector<std::string>{"mpl /data/my.libs/DIODES.mpl /data/my.libs/DIODES.en"});
}

TEST_F(OutputCommands, MplCommandFollowsTheActiveKind) {
  // With no library open it stays enabled and does nothing.
  EXPECT_TRUE(item("WriteMPLfile1")->isEnabled());
  main->WriteMPLfile1Click(nullptr);

  for (int kind : {kNChannelJfet, kPChannelJfet, kNChannelMosfet, kPChannelMosfet}) {
    TestForm* form = library(2, kind, "FETS.LBR");
    EXPECT_FALSE(item("WriteMPLfile1")->isEnabled()) << kind;
    main->WriteMPLfile1Click(nullptr);
    EXPECT_TRUE(form->list.computed.empty());
    EXPECT_EQ(form->list.written, none);
  }
  for (int kind : {kDiode, kNpnTransistor, kPnpTransistor, kMagneticCore}) {
    library(2, kind, "MPL.LBR");
    EXPECT_TRUE(item("WriteMPLfile1")->isEnabled()) << kind;
  }
}

TEST_F(OutputCommands, AStoppedSeriesWritesNothingAndSaysWhy) {
  TestForm* form = library(3, kMagneticCore, "CORES.LBR");
  form->list.incomplete = {"c2"};
  platform::testing::ScriptedMessages messages;
  messages
      .expect("The MPL file was not written: the component \"c2\" could not be computed.", Answer::Ok,
              MessageKind::Warning, Buttons::Ok)
      .expect("The SPICE library was not written: the computation of the library was cancelled.", Answer::Ok,
              MessageKind::Warning, Buttons::Ok);
  item("WriteMPLfile1")->trigger();
  EXPECT_EQ(form->list.computed, std::vector<int>{1});
  EXPECT_EQ(form->list.written, none);
  CheckDlg->hide();

  form->list.incomplete.clear();
  form->list.computed.clear();
  form->list.onMark = [&](int index) {
    if (index == 2) QMetaObject::invokeMethod(DlgCompute->CancelBtn, "click", Qt::QueuedConnection);
  };
  platform::testing::ScriptedFileDialogs dialogs;
  dialogs.expectSave("CORES.lib");
  item("CreateSPICELibrary1")->trigger();
  EXPECT_EQ(form->list.computed, (std::vector<int>{1, 2}));
  EXPECT_EQ(form->list.written, none);
  EXPECT_TRUE(messages.allAnswered());

  // A Cancel of an earlier series does not stop the next one.
  form->list.onMark = nullptr;
  dialogs.expectSave("CORES.lib");
  item("CreateSPICELibrary1")->trigger();
  EXPECT_EQ(form->list.written, std::vector<std::string>{"spice CORES.lib"});
}

TEST_F(OutputCommands, ARefusedWriteIsReported) {
  TestForm* form = library(1, kDiode, "D.LBR");
  form->list.refuseOutput = "The component name \"1N 4148\" holds a blank.";
  platform::testing::ScriptedMessages messages;
  messages.expect(form->list.refuseOutput, Answer::Ok, MessageKind::Error, Buttons::Ok)
      .expect(form->list.refuseOutput, Answer::Ok, MessageKind::Error, Buttons::Ok);
  platform::testing::ScriptedFileDialogs dialogs;
  dialogs.expectSave("D.lib");
  item("CreateSPICELibrary1")->trigger();
  item("WriteMPLfile1")->trigger();
  EXPECT_TRUE(messages.allAnswered());
}

class CatalogCompile : public testing::FrameTest {
 protected:
  void SetUp() override {
    testing::FrameTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() /
           ("pakro_compile_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "CLCC");
    ExeDir = dir_.string() + "/";
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    testing::FrameTest::TearDown();
  }
  void batch(const std::string& text) { std::ofstream(dir_ / "CLCC" / "BCAT.BAT") << text; }
  std::string read(const std::string& name) {
    std::ifstream in(dir_ / "CLCC" / name);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::filesystem::path dir_;
};

TEST_F(CatalogCompile, RunsTheBatchFileInTheCompilerDirectory) {
  batch("pwd > ran.txt\n");
  const auto before = std::filesystem::current_path();
  platform::testing::ScriptedMessages messages;  // no message
  item("CompileORVOCatalogSource1")->trigger();
  EXPECT_EQ(read("ran.txt"), std::filesystem::canonical(dir_ / "CLCC").string() + "\n");
  EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(CatalogCompile, AFailureIsReported) {
  platform::testing::ScriptedMessages messages;
  messages
      .expect("The catalog compiler \"BCAT.BAT\" ended with the exit code 2.", Answer::Ok, MessageKind::Warning,
              Buttons::Ok)
      .expect("The catalog compiler \"BCAT.BAT\" could not be started in " + ExeDir + "CLCC.", Answer::Ok,
              MessageKind::Warning, Buttons::Ok);
  batch("exit 2\n");
  item("CompileORVOCatalogSource1")->trigger();
  std::filesystem::remove(dir_ / "CLCC" / "BCAT.BAT");
  item("CompileORVOCatalogSource1")->trigger();
  EXPECT_TRUE(messages.allAnswered());
}

}  // namespace
}  // namespace pakro
