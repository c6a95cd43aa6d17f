#include "platform/qt_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>
#include <clocale>

#include "platform/cp1252.h"
#include "platform/dialogs.h"

namespace platform::qt {

QString fromLegacy(std::string_view bytes) { return QString::fromStdString(cp1252ToUtf8(bytes)); }

std::string toLegacy(const QString& text) { return utf8ToCp1252(text.toStdString()); }

QString fromPath(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string toPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString toQtFilter(std::string_view legacy) {
  const QStringList parts = fromLegacy(legacy).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      const QString pattern = p.trimmed();
      for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
        if (!patterns.contains(variant)) patterns << variant;
    }
    QString description = parts[i];
    description.replace('(', '[').replace(')', ']');
    filters << description + " (" + patterns.join(' ') + ")";
  }
  return filters.join(";;");
}

namespace {

class QtMessages final : public MessageService {
 public:
  Answer show(MessageKind kind, std::string_view text, Buttons buttons, std::string_view title,
              int) override {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.empty() ? QApplication::applicationDisplayName() : fromLegacy(title));
    QString body = fromLegacy(text);
    body.replace("\r\n", "\n").replace('\r', '\n');
    box.setText(body);
    switch (kind) {
      case MessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
      case MessageKind::Error: box.setIcon(QMessageBox::Critical); break;
      case MessageKind::Information: box.setIcon(QMessageBox::Information); break;
      case MessageKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
      case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
      case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
      case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
      case Buttons::YesNoHelp:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Help);
        break;
    }
    switch (box.exec()) {
      case QMessageBox::Ok: return Answer::Ok;
      case QMessageBox::Yes: return Answer::Yes;
      case QMessageBox::No: return Answer::No;
      case QMessageBox::Help: return Answer::Help;
      default: return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
  }
};

class QtFileDialogs final : public FileDialogService {
 public:
  std::optional<std::string> open(const FileDialogRequest& r) override { return run(r, false); }
  std::optional<std::string> save(const FileDialogRequest& r) override { return run(r, true); }

 private:
  static std::optional<std::string> run(const FileDialogRequest& r, bool save) {
    QFileDialog dialog(QApplication::activeWindow(), fromLegacy(r.title), fromPath(r.initialDir),
                       toQtFilter(r.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !r.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.defaultExtension.empty()) dialog.setDefaultSuffix(fromLegacy(r.defaultExtension));
    if (!r.fileName.empty()) dialog.selectFile(fromPath(r.fileName));
    // The commands ask their own overwrite question where they want one.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !r.overwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return toPath(dialog.selectedFiles().front());
  }
};

class QtHelp final : public HelpService {
 public:
  bool show(const std::string& helpFile, int) override {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fromPath(helpFile)));
  }
};

QtMessages gMessages;
QtFileDialogs gFiles;
QtHelp gHelp;

}  // namespace

void installServices(bool install) {
  setMessageService(install ? &gMessages : nullptr);
  setFileDialogService(install ? &gFiles : nullptr);
  setHelpService(install ? &gHelp : nullptr);
}

void prepareApplication(QApplication& app, const QString& title) {
  // The name only: a display name set here would be appended by the window
  // system to the caption of every window and dialog.
  app.setApplicationName(title);
  std::setlocale(LC_NUMERIC, "C");
  installServices(true);
}

}  // namespace platform::qt
