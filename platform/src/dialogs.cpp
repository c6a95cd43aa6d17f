#include "platform/dialogs.h"

#include <cstdio>

#include "platform/text_file.h"

namespace platform {
namespace {

// Without a user interface nobody can answer: the message goes to the
// error stream and the answer is the one that changes nothing.
class HeadlessMessages final : public MessageService {
 public:
  Answer show(MessageKind kind, std::string_view text, Buttons buttons, std::string_view,
              int) override {
    std::fprintf(stderr, "[%s] %.*s\n", toString(kind), int(text.size()), text.data());
    switch (buttons) {
      case Buttons::Ok: return Answer::Ok;
      case Buttons::YesNoCancel: return Answer::Cancel;
      default: return Answer::No;
    }
  }
};

class HeadlessFileDialogs final : public FileDialogService {
 public:
  std::optional<std::string> open(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> save(const FileDialogRequest&) override { return std::nullopt; }
};

class HeadlessHelp final : public HelpService {
 public:
  bool show(const std::string&, int) override { return false; }
};

HeadlessMessages gHeadlessMessages;
HeadlessFileDialogs gHeadlessFiles;
HeadlessHelp gHeadlessHelp;
MessageService* gMessages = &gHeadlessMessages;
FileDialogService* gFiles = &gHeadlessFiles;
HelpService* gHelp = &gHeadlessHelp;

template <class T, class D>
T* swap(T*& slot, T* next, D& fallback) {
  T* previous = slot;
  slot = next ? next : &fallback;
  return previous;
}

}  // namespace

const char* toString(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning: return "Warning";
    case MessageKind::Error: return "Error";
    case MessageKind::Information: return "Information";
    case MessageKind::Confirmation: return "Confirmation";
  }
  return "?";
}

const char* toString(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return "OK";
    case Buttons::YesNo: return "Yes/No";
    case Buttons::YesNoCancel: return "Yes/No/Cancel";
    case Buttons::YesNoHelp: return "Yes/No/Help";
  }
  return "?";
}

const char* toString(Answer answer) {
  switch (answer) {
    case Answer::Ok: return "OK";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    case Answer::Cancel: return "Cancel";
    case Answer::Help: return "Help";
  }
  return "?";
}

MessageService& messages() { return *gMessages; }
FileDialogService& fileDialogs() { return *gFiles; }
HelpService& help() { return *gHelp; }

MessageService* setMessageService(MessageService* s) { return swap(gMessages, s, gHeadlessMessages); }
FileDialogService* setFileDialogService(FileDialogService* s) { return swap(gFiles, s, gHeadlessFiles); }
HelpService* setHelpService(HelpService* s) { return swap(gHelp, s, gHeadlessHelp); }

std::string helpFileMissingText(const std::string& helpFile) {
  return "Cannot find the help file " + helpFile + ".";
}

bool requestHelp(const std::string& helpFile, int context) {
  if (!fileExists(helpFile)) {
    messages().show(MessageKind::Information, helpFileMissingText(helpFile), Buttons::Ok);
    return false;
  }
  return help().show(helpFile, context);
}

}  // namespace platform
