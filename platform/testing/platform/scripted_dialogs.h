#pragma once
// Test doubles for the dialog seams. Each answers from a queue of expected
// requests in order and fails the running test on a request it was not told
// to expect, or when it goes out of scope with expectations left over.
// Constructing one installs it; destroying it restores the previous service.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace platform::testing {

struct ShownMessage {
  MessageKind kind;
  std::string text;
  Buttons buttons;
  std::string title;
  int helpContext;
};

class ScriptedMessages final : public MessageService {
 public:
  ScriptedMessages();
  ~ScriptedMessages() override;

  // The next message must have exactly this text (and kind and buttons where
  // given); it is answered with `answer`.
  ScriptedMessages& expect(std::string text, Answer answer,
                           std::optional<MessageKind> kind = std::nullopt,
                           std::optional<Buttons> buttons = std::nullopt);

  Answer show(MessageKind kind, std::string_view text, Buttons buttons, std::string_view title,
              int helpContext) override;

  const std::vector<ShownMessage>& shown() const { return shown_; }
  bool allAnswered() const { return queue_.empty(); }

 private:
  struct Expected {
    std::string text;
    Answer answer;
    std::optional<MessageKind> kind;
    std::optional<Buttons> buttons;
  };
  std::deque<Expected> queue_;
  std::vector<ShownMessage> shown_;
  MessageService* previous_;
};

class ScriptedFileDialogs final : public FileDialogService {
 public:
  ScriptedFileDialogs();
  ~ScriptedFileDialogs() override;

  // The next open (or save) dialog answers `path`, or cancels with nullopt.
  ScriptedFileDialogs& expectOpen(std::optional<std::string> path);
  ScriptedFileDialogs& expectSave(std::optional<std::string> path);

  std::optional<std::string> open(const FileDialogRequest& request) override;
  std::optional<std::string> save(const FileDialogRequest& request) override;

  const std::vector<FileDialogRequest>& requests() const { return requests_; }

 private:
  struct Expected {
    bool save;
    std::optional<std::string> path;
  };
  std::optional<std::string> answer(bool save, const FileDialogRequest& request);
  std::deque<Expected> queue_;
  std::vector<FileDialogRequest> requests_;
  FileDialogService* previous_;
};

// Records help requests instead of showing anything.
class RecordingHelp final : public HelpService {
 public:
  RecordingHelp();
  ~RecordingHelp() override;
  bool show(const std::string& helpFile, int context) override;
  struct Request {
    std::string file;
    int context;
  };
  const std::vector<Request>& requests() const { return requests_; }

 private:
  std::vector<Request> requests_;
  HelpService* previous_;
};

}  // namespace platform::testing
