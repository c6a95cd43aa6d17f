#pragma once
// A window for driving the editor from tests: a recording canvas and a
// repeating window timer on a clock that only the test moves, and property
// dialogs that answer from the test.
#include <string>

#include "SymbolEditor.h"
#include "fake_metrics.h"
#include "platform/recording_canvas.h"
#include "platform/timers.h"

namespace wendro::testing {

using platform::winmsg::ManualTimers;
using platform::winmsg::TimerId;
using platform::winmsg::TimerUser;

// The window: a recording canvas and a repeating window timer on a clock
// that only the script moves.
class ScriptView : public TEditorView {
 public:
  platform::RecordingCanvas canvas;
  ManualTimers clock;
  TSymbolEditor* editor = nullptr;
  bool timersWork = true;
  int repaints = 0;

  platform::Canvas* PaintBoxCanvas() override { return &canvas; }
  void Repaint() override { ++repaints; }
  void SetCursor(TCursorId) override {}
  bool StartTimer(int id, unsigned ms) override {
    KillTimer(id);
    if (!timersWork) return false;
    period_ = ms;
    armed_ = clock.setOneShot(ms, 0, Tick, reinterpret_cast<TimerUser>(this));
    return armed_ != 0;
  }
  void KillTimer(int) override {
    if (armed_) clock.kill(armed_);
    armed_ = 0;
  }

 private:
  static void Tick(TimerId, TimerUser user) {
    auto* view = reinterpret_cast<ScriptView*>(user);
    view->armed_ = view->clock.setOneShot(view->period_, 0, Tick, user);
    view->editor->TimerMessage(kStateTimerId);
  }
  TimerId armed_ = 0;
  unsigned period_ = 0;
};

class ScriptedDialogs : public TPropertyEditor {
 public:
  bool confirm = true;
  std::string text = "Hello";
  std::string pinName;
  bool EditPin(TPinProperties& p) override {
    if (!pinName.empty()) p.name = pinName;
    return confirm;
  }
  bool EditText(TTextProperties& p) override {
    p.text = text;
    return confirm;
  }
};


}  // namespace wendro::testing
