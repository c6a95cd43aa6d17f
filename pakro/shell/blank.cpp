#include "blank.h"

#include <QCloseEvent>

#include "forms.h"
#include "frame_state.h"
#include "main_form.h"

namespace pakro {

TBlank::TBlank(QWidget* parent) : QWidget(parent) {}

bool TBlank::FormCloseQuery() { return true; }

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
