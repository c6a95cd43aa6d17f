#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/dialogs.h"
#include "platform/scripted_dialogs.h"

using namespace platform;
using platform::testing::RecordingHelp;
using platform::testing::ScriptedFileDialogs;
using platform::testing::ScriptedMessages;

namespace {

// A stand-in for a command that asks before it discards changes.
bool closeLibrary(bool modified) {
  if (!modified) return true;
  return messages().show(MessageKind::Confirmation, "Save changes?", Buttons::YesNo) == Answer::Yes;
}

TEST(ScriptedMessagesTest, AnswersYesAndNoInOrder) {
  ScriptedMessages script;
  script.expect("Save changes?", Answer::Yes, MessageKind::Confirmation, Buttons::YesNo)
      .expect("Save changes?", Answer::No);
  EXPECT_TRUE(closeLibrary(true));
  EXPECT_FALSE(closeLibrary(true));
  EXPECT_TRUE(closeLibrary(false));  // asks nothing
  EXPECT_TRUE(script.allAnswered());
  ASSERT_EQ(script.shown().size(), 2u);
}

TEST(ScriptedMessagesTest, UnexpectedMessageFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedMessages script;
        messages().show(MessageKind::Error, "Disk full", Buttons::Ok);
      },
      "unexpected Error message");
}

TEST(ScriptedMessagesTest, WrongTextOrLeftoverExpectationFails) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedMessages script;
        script.expect("one text", Answer::Ok);
        messages().show(MessageKind::Warning, "another text", Buttons::Ok);
      },
      "message text");
  EXPECT_NONFATAL_FAILURE({ ScriptedMessages script; script.expect("never", Answer::Ok); },
                          "expected message never shown");
}

TEST(ScriptedMessagesTest, RestoresThePreviousServiceOnExit) {
  MessageService* before = &messages();
  {
    ScriptedMessages outer;
    {
      ScriptedMessages inner;
      EXPECT_EQ(&messages(), &inner);
    }
    EXPECT_EQ(&messages(), &outer);
  }
  EXPECT_EQ(&messages(), before);
}

TEST(HeadlessDialogs, AnswerTheChoiceThatChangesNothing) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(messages().show(MessageKind::Confirmation, "q", Buttons::YesNo), Answer::No);
  EXPECT_EQ(messages().show(MessageKind::Confirmation, "q", Buttons::YesNoCancel), Answer::Cancel);
  EXPECT_EQ(messages().show(MessageKind::Error, "e", Buttons::Ok), Answer::Ok);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("[Error] e"), std::string::npos);
  EXPECT_FALSE(fileDialogs().open({}).has_value());
}

TEST(FileDialogsTest, ScriptedOpenAndCancelledSave) {
  ScriptedFileDialogs dialogs;
  dialogs.expectOpen("/tmp/a.lbr").expectSave(std::nullopt);
  FileDialogRequest request;
  request.title = "Open";
  EXPECT_EQ(fileDialogs().open(request), "/tmp/a.lbr");
  EXPECT_EQ(fileDialogs().save(request), std::nullopt);
  EXPECT_EQ(dialogs.requests().size(), 2u);
}

TEST(HelpTest, MissingHelpFileIsReportedNotIgnored) {
  RecordingHelp recorder;
  ScriptedMessages script;
  const std::string file = "/nonexistent/PAKRO.HLP";
  script.expect(helpFileMissingText(file), Answer::Ok, MessageKind::Information);
  EXPECT_FALSE(requestHelp(file, 42));
  EXPECT_TRUE(recorder.requests().empty());
}

TEST(HelpTest, PresentHelpFileReachesTheHelpService) {
  RecordingHelp recorder;
  // Named per process: other test runs on the machine use the same folder.
  const std::string file = ::testing::TempDir() + "present-" + std::to_string(::getpid()) + ".hlp";
  FILE* f = std::fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_TRUE(requestHelp(file, 7));
  ASSERT_EQ(recorder.requests().size(), 1u);
  EXPECT_EQ(recorder.requests()[0].context, 7);
  std::remove(file.c_str());
}

}  // namespace
