#include "pakro/shell/blank.h"

#include <QCloseEvent>

#include "pakro/shell/forms.h"
#include "pakro/shell/frame_state.h"
#include "pakro/shell/main_form.h"
#include "platform/dialogs.h"
#include "platform/qt_services.h"

namespace pakro {

TBlank::TBlank(QWidget* parent) : QWidget(parent) {}

bool TBlank::FormCloseQuery() {
  if (!List().Modified()) return true;
  const std::string text = "Save the Library  " + platform::qt::toLegacy(Caption()) + "  before closing?";
  switch (platform::messages().show(platform::MessageKind::Confirmation, text,
                                    platform::Buttons::YesNoCancel)) {
    case platform::Answer::Yes:
      return MainForm && MainForm->SaveLibrary(this, this);
    case platform::Answer::No:
      return true;
    default:
      return false;
  }
}

void TBlank::FormActivate() {
  CurrentType = static_cast<std::uint8_t>(Module());
  if (MainForm) MainForm->SetCbNavigator();
}

void TBlank::closeEvent(QCloseEvent* event) {
  // A running computation may be using this library.
  if (MainForm && MainForm->SeriesRunning()) {
    event->ignore();
    return;
  }
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
  if (MainForm) MainForm->ChildClosing(this);
}

}  // namespace pakro
