#pragma once
// The seams through which the suite talks to its user: message boxes, file
// dialogs and help requests. Programs install the Qt implementations; tests
// install scripted ones. Every message text of the system goes through
// `messages()`. Texts are bytes in the legacy code page.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class MessageKind { Warning, Error, Information, Confirmation };
enum class Buttons { Ok, YesNo, YesNoCancel, YesNoHelp };
enum class Answer { Ok, Yes, No, Cancel, Help };

const char* toString(MessageKind kind);
const char* toString(Buttons buttons);
const char* toString(Answer answer);

class MessageService {
 public:
  virtual ~MessageService() = default;
  // Shows a modal message and returns the button pressed. `title` may be
  // empty (the application title is used). `helpContext` is the context
  // number that a Help button asks for.
  virtual Answer show(MessageKind kind, std::string_view text, Buttons buttons,
                      std::string_view title = {}, int helpContext = 0) = 0;
};

// What a file dialog is asked. `filter` is in the legacy form
// "Description|pattern;pattern|Description|pattern"; a pattern matches
// both cases of a file name's extension.
struct FileDialogRequest {
  std::string title;
  std::string filter;
  std::string defaultExtension;  // without the dot, "" for none
  std::string initialDir;  // a path: the file system's bytes
  std::string fileName;    // a path: the file system's bytes
  bool mustExist = false;         // open: the chosen file must exist
  bool overwritePrompt = false;   // save: the dialog itself asks before replacing
};

class FileDialogService {
 public:
  virtual ~FileDialogService() = default;
  // The chosen path in the file system's bytes, or nothing when the user
  // cancels.
  virtual std::optional<std::string> open(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> save(const FileDialogRequest& request) = 0;
};

class HelpService {
 public:
  virtual ~HelpService() = default;
  // Open the help file at its contents (context 0) or at a context number.
  // Returns false when the file cannot be shown; the caller has then
  // already been told why.
  virtual bool show(const std::string& helpFile, int context) = 0;
};

MessageService& messages();
FileDialogService& fileDialogs();
HelpService& help();

// Install a service; nullptr restores the default. The previous one is
// returned so a scope can put it back.
MessageService* setMessageService(MessageService* service);
FileDialogService* setFileDialogService(FileDialogService* service);
HelpService* setHelpService(HelpService* service);

// Checks that the help file exists before handing the request to `help()`;
// a missing file is reported through `messages()` and answers false.
bool requestHelp(const std::string& helpFile, int context = 0);

// The text shown when a help file is missing.
std::string helpFileMissingText(const std::string& helpFile);

}  // namespace platform
