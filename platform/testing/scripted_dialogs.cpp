#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace platform::testing {

ScriptedMessages::ScriptedMessages() : previous_(setMessageService(this)) {}

ScriptedMessages::~ScriptedMessages() {
  setMessageService(previous_);
  for (const auto& e : queue_) ADD_FAILURE() << "expected message never shown: \"" << e.text << "\"";
}

ScriptedMessages& ScriptedMessages::expect(std::string text, Answer answer,
                                           std::optional<MessageKind> kind,
                                           std::optional<Buttons> buttons) {
  queue_.push_back({std::move(text), answer, kind, buttons});
  return *this;
}

Answer ScriptedMessages::show(MessageKind kind, std::string_view text, Buttons buttons,
                              std::string_view title, int helpContext) {
  shown_.push_back({kind, std::string(text), buttons, std::string(title), helpContext});
  if (queue_.empty()) {
    ADD_FAILURE() << "unexpected " << toString(kind) << " message [" << toString(buttons)
                  << "]: \"" << text << "\"";
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
  const Expected e = queue_.front();
  queue_.pop_front();
  EXPECT_EQ(e.text, text) << "message text";
  if (e.kind) {
    EXPECT_STREQ(toString(*e.kind), toString(kind)) << "message kind of \"" << text << "\"";
  }
  if (e.buttons) {
    EXPECT_STREQ(toString(*e.buttons), toString(buttons)) << "buttons of \"" << text << "\"";
  }
  return e.answer;
}

ScriptedFileDialogs::ScriptedFileDialogs() : previous_(setFileDialogService(this)) {}

ScriptedFileDialogs::~ScriptedFileDialogs() {
  setFileDialogService(previous_);
  for (const auto& e : queue_)
    ADD_FAILURE() << "expected " << (e.save ? "save" : "open") << " dialog never shown";
}

ScriptedFileDialogs& ScriptedFileDialogs::expectOpen(std::optional<std::string> path) {
  queue_.push_back({false, std::move(path)});
  return *this;
}

ScriptedFileDialogs& ScriptedFileDialogs::expectSave(std::optional<std::string> path) {
  queue_.push_back({true, std::move(path)});
  return *this;
}

std::optional<std::string> ScriptedFileDialogs::answer(bool save, const FileDialogRequest& request) {
  requests_.push_back(request);
  if (queue_.empty() || queue_.front().save != save) {
    ADD_FAILURE() << "unexpected " << (save ? "save" : "open") << " dialog \"" << request.title << "\"";
    return std::nullopt;
  }
  auto path = queue_.front().path;
  queue_.pop_front();
  return path;
}

std::optional<std::string> ScriptedFileDialogs::open(const FileDialogRequest& r) { return answer(false, r); }
std::optional<std::string> ScriptedFileDialogs::save(const FileDialogRequest& r) { return answer(true, r); }

RecordingHelp::RecordingHelp() : previous_(setHelpService(this)) {}
RecordingHelp::~RecordingHelp() { setHelpService(previous_); }

bool RecordingHelp::show(const std::string& helpFile, int context) {
  requests_.push_back({helpFile, context});
  return true;
}

}  // namespace platform::testing
