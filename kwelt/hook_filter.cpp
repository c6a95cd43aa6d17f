// The hook procedures and accessors a host calls, each an undecorated C
// name listed in kwelt/exports.txt.
//
// The host installs the four procedures in its hook chains; they never call
// on down the chain themselves. While the filter flag is set they swallow
// keyboard input and mouse input other than movement, block task switching
// and focus changes, and report button presses and Space to the handler
// window. Space going down ends the filtering.
#include <atomic>

#include "kwelt.h"

namespace wm = platform::winmsg;
using namespace kwelt;

namespace {

// The library's whole state. Both start at zero each time the library is
// loaded. The hooks may run on any thread, hence the atomics.
struct FilterSettings {
  std::atomic<WindowHandle> handlerWindow{wm::kNoWindow};
  std::atomic<std::uint8_t> filterFlag{0};
};
FilterSettings settings;

bool filtering() { return settings.filterFlag.load() != 0; }

// Posted, never sent; a handler window that is gone is not an error here.
void postToHandler(MessageId id, WParam wParam, LParam lParam) {
  (void)wm::postMessage(settings.handlerWindow.load(), id, wParam, lParam);
}

bool blockedSystemCommand(WParam command) {
  switch (command & 0xFFF0) {
    case wm::sys_command::kHotKey:
    case wm::sys_command::kNextWindow:
    case wm::sys_command::kPrevWindow:
    case wm::sys_command::kTaskList:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::uint8_t GetFilterMessage() { return settings.filterFlag.load(); }

void SetFilterMessage(std::uint8_t on) { settings.filterFlag.store(on); }

void SetMessageHandler(WindowHandle window) { settings.handlerWindow.store(window); }

LResult MessageProc(std::int32_t code, WParam, LParam) {
  return code == wm::filter_code::kNextWindow && filtering() ? 1 : 0;
}

LResult CBTProc(std::int32_t code, WParam wParam, LParam) {
  if (code < 0 || !filtering()) return 0;
  if (code == wm::cbt_code::kSysCommand) return blockedSystemCommand(wParam) ? 1 : 0;
  return code == wm::cbt_code::kSetFocus ? 1 : 0;
}

LResult KeyboardProc(std::int32_t code, WParam wParam, LParam lParam) {
  if (code < 0 || code == wm::hook_code::kNoRemove || !filtering()) return 0;
  // Only Space going down ends the filtering; of several threads seeing it at
  // once, the one that clears the flag reports it.
  if (wParam == wm::kVirtualKeySpace && wm::keyGoesDown(lParam) &&
      settings.filterFlag.exchange(0) != 0)
    postToHandler(WM_FILTER_SPACE, wParam, lParam);
  return 1;
}

LResult MouseProc(std::int32_t code, WParam wParam, LParam lParam) {
  if (code < 0 || code == wm::hook_code::kNoRemove || !filtering()) return 0;
  switch (wParam) {
    case wm::mouse_message::kMove:
      return 0;
    case wm::mouse_message::kLeftDown:
      postToHandler(WM_FILTER_LBUTTONDOWN, wParam, lParam);
      return 1;
    case wm::mouse_message::kRightDown:
      postToHandler(WM_FILTER_RBUTTONDOWN, wParam, lParam);
      return 1;
    default:
      return 1;
  }
}
