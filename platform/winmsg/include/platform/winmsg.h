#pragma once
// Windows, per-thread message queues and input hooks, shared by the host and
// every library it loads. This is one shared library: all parties that link
// it see the same windows, queues and hook chains.
//
// Windows: a window is a handle (32 bits, never 0, never the broadcast
// handle, never reused while the process runs) and a procedure. The thread
// that creates a window owns it; messages posted to the window, from any
// thread, queue up in the owner's FIFO and reach the procedure only when the
// owner pumps (waitMessage/peekMessage + dispatchMessage, or pumpMessages).
// Every window is top-level. When a thread ends, the windows it owns are
// destroyed and its queue takes no more messages.
//
// Hooks: the host installs hook procedures per kind and feeds its input
// events through callHooks. The chain runs from the most recently installed
// procedure to the oldest and stops at the first one that swallows the event
// (a non-zero result); a result of 0 passes the event on.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

#define PLATFORM_WINMSG_API __attribute__((visibility("default")))

namespace platform::winmsg {

using WindowHandle = std::uint32_t;
using MessageId = std::uint32_t;
using WParam = std::uint32_t;
using LParam = std::int32_t;
using LResult = std::int32_t;

// Posting to no window makes a thread message for the posting thread.
inline constexpr WindowHandle kNoWindow = 0;
// Posting to this handle reaches every window of the process.
inline constexpr WindowHandle kBroadcast = 0xFFFF;
// A queue holds at most this many messages; posts beyond it fail.
inline constexpr std::size_t kQueueLimit = 10000;

struct Message {
  WindowHandle window = kNoWindow;  // kNoWindow for a thread message
  MessageId id = 0;
  WParam wParam = 0;
  LParam lParam = 0;
};

using WindowProcedure = std::function<LResult(const Message&)>;

// Creates a window owned by the calling thread. Returns 0 only when the
// handle space is used up.
PLATFORM_WINMSG_API WindowHandle createWindow(WindowProcedure procedure);
// Destroys a window from any thread. A dispatch of one of its messages in
// progress on another thread is waited for; afterwards its procedure is never
// called again and messages still queued for it are dropped. False for a
// handle that is not a live window.
PLATFORM_WINMSG_API bool destroyWindow(WindowHandle window);
PLATFORM_WINMSG_API bool isWindow(WindowHandle window);

// Thread-safe. Appends to the owner's queue (kNoWindow: the calling thread's
// own queue; kBroadcast: a copy for every window, each addressed to it).
// False for a handle that is not a live window or a full queue.
PLATFORM_WINMSG_API bool postMessage(WindowHandle window, MessageId id, WParam wParam,
                                     LParam lParam);

// Takes the calling thread's next message, if there is one.
PLATFORM_WINMSG_API bool peekMessage(Message& out);
// Takes the calling thread's next message, waiting up to the timeout
// (milliseconds::max() waits as long as it takes).
PLATFORM_WINMSG_API bool waitMessage(Message& out, std::chrono::milliseconds timeout);
// Hands a message to its window's procedure and returns its result; 0 for a
// thread message or a window that no longer exists.
PLATFORM_WINMSG_API LResult dispatchMessage(const Message& message);
// Dispatches the messages queued for the calling thread when it is called,
// not those that arrive meanwhile (thread messages are dropped); returns how
// many were taken.
PLATFORM_WINMSG_API std::size_t pumpMessages();
// What a window procedure answers for a message it does not handle.
PLATFORM_WINMSG_API LResult defaultWindowProcedure(const Message& message);

enum class HookKind { MessageFilter, ComputerBasedTraining, Keyboard, Mouse };
using HookProcedure = LResult (*)(std::int32_t code, WParam wParam, LParam lParam);
using HookHandle = std::uint32_t;

// Returns the hook's handle (never 0, never reused), or 0 for a null
// procedure.
PLATFORM_WINMSG_API HookHandle installHook(HookKind kind, HookProcedure procedure);
// Removes a hook; a call of it in progress on another thread is waited for,
// so the procedure's code may be unloaded afterwards.
PLATFORM_WINMSG_API bool removeHook(HookHandle hook);
// Runs the chain of the kind for one event; the first non-zero result ends
// it and is returned, 0 when every procedure passed the event on.
PLATFORM_WINMSG_API LResult callHooks(HookKind kind, std::int32_t code, WParam wParam,
                                      LParam lParam);

// The event vocabulary of the hook chains.
namespace hook_code {
inline constexpr std::int32_t kAction = 0;    // keyboard, mouse: an event to act on
inline constexpr std::int32_t kNoRemove = 3;  // keyboard, mouse: only looked at
}  // namespace hook_code
namespace cbt_code {  // computer-based-training hook
inline constexpr std::int32_t kActivate = 5;
inline constexpr std::int32_t kSysCommand = 8;  // wParam: the system command
inline constexpr std::int32_t kSetFocus = 9;
}  // namespace cbt_code
namespace filter_code {  // message-filter hook
inline constexpr std::int32_t kDialogBox = 0;
inline constexpr std::int32_t kMenu = 2;
inline constexpr std::int32_t kScrollBar = 5;
inline constexpr std::int32_t kNextWindow = 6;
}  // namespace filter_code
namespace sys_command {
inline constexpr WParam kNextWindow = 0xF040;
inline constexpr WParam kPrevWindow = 0xF050;
inline constexpr WParam kClose = 0xF060;
inline constexpr WParam kKeyMenu = 0xF100;
inline constexpr WParam kTaskList = 0xF130;
inline constexpr WParam kHotKey = 0xF150;
}  // namespace sys_command
namespace mouse_message {  // mouse hook wParam
inline constexpr WParam kMove = 0x200;
inline constexpr WParam kLeftDown = 0x201;
inline constexpr WParam kLeftUp = 0x202;
inline constexpr WParam kLeftDoubleClick = 0x203;
inline constexpr WParam kRightDown = 0x204;
inline constexpr WParam kMiddleDown = 0x207;
inline constexpr WParam kWheel = 0x20A;
}  // namespace mouse_message
// Keyboard hook: wParam is the virtual-key code, lParam the key data, whose
// top bit is set when the key goes up.
inline constexpr WParam kVirtualKeySpace = 0x20;
inline constexpr std::uint32_t kKeyUpBit = 0x80000000u;
inline constexpr bool keyGoesDown(LParam keyData) {
  return (static_cast<std::uint32_t>(keyData) & kKeyUpBit) == 0;
}
// Mouse hook: lParam carries the cursor position itself, x in the low and y
// in the high 16 bits.
inline constexpr LParam pointLParam(std::int16_t x, std::int16_t y) {
  return static_cast<LParam>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(x)) |
                             (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16));
}

}  // namespace platform::winmsg
