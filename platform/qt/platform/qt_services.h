#pragma once
// The Qt side of the platform layer: the real dialogs behind the seams of
// platform/dialogs.h, and the one place where legacy text becomes QString.
#include <QString>
#include <string>
#include <string_view>

class QApplication;

namespace platform::qt {

QString fromLegacy(std::string_view bytes);
std::string toLegacy(const QString& text);

// File paths are the file system's own bytes (UTF-8 here), not legacy text:
// these convert them for display and back without losing a character.
QString fromPath(std::string_view path);
std::string toPath(const QString& path);

// Converts a legacy "Description|patterns|..." filter into Qt's form, each
// pattern offered in both cases of its extension.
QString toQtFilter(std::string_view legacyFilter);

// Prepares a program's application object: sets its title, installs the Qt
// dialogs behind the seams and keeps number text independent of the user's
// locale (Qt switches the C library to the environment's locale).
void prepareApplication(QApplication& app, const QString& title);

// Installs (or with false, removes) the Qt dialog services.
void installServices(bool install = true);

}  // namespace platform::qt
