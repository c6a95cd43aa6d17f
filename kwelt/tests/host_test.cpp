// Uses the hook filter as a host does: loads the library, installs its
// procedures in the shared hook chains beside a hook of its own, and waits
// in its message loop for a click or Space.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <vector>

#include "kwelt.h"

using namespace kwelt;
namespace wm = platform::winmsg;

namespace {

struct Library {
  void* handle = nullptr;
  decltype(&GetFilterMessage) getFilter = nullptr;
  decltype(&SetFilterMessage) setFilter = nullptr;
  decltype(&SetMessageHandler) setHandler = nullptr;
  decltype(&MessageProc) messageProc = nullptr;
  decltype(&CBTProc) cbtProc = nullptr;
  decltype(&KeyboardProc) keyboardProc = nullptr;
  decltype(&MouseProc) mouseProc = nullptr;

  Library() {
    handle = dlopen(KWELT_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return;
    find(getFilter, "GetFilterMessage");
    find(setFilter, "SetFilterMessage");
    find(setHandler, "SetMessageHandler");
    find(messageProc, "MessageProc");
    find(cbtProc, "CBTProc");
    find(keyboardProc, "KeyboardProc");
    find(mouseProc, "MouseProc");
  }
  ~Library() {
    if (handle) dlclose(handle);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  template <typename F>
  void find(F& f, const char* name) {
    f = reinterpret_cast<F>(dlsym(handle, name));
  }
  bool complete() const {
    return handle && getFilter && setFilter && setHandler && messageProc && cbtProc &&
           keyboardProc && mouseProc;
  }
};

bool libraryLoaded() {
  void* h = dlopen(KWELT_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
  if (h) dlclose(h);
  return h != nullptr;
}

// The host's own keyboard hook, older in the chain than the filter's.
std::vector<WParam> hostKeys;
LResult hostKeyboardHook(std::int32_t, WParam key, LParam) {
  hostKeys.push_back(key);
  return 0;
}

}  // namespace

TEST(KweltHost, WaitsForAClickOrSpaceWithOtherInputHeldBack) {
  std::vector<wm::Message> handled;
  const wm::WindowHandle handler = wm::createWindow([&](const wm::Message& m) {
    handled.push_back(m);
    return wm::defaultWindowProcedure(m);
  });
  const wm::HookHandle hostHook = wm::installHook(wm::HookKind::Keyboard, hostKeyboardHook);

  Library lib;
  ASSERT_TRUE(lib.complete()) << dlerror();
  lib.setHandler(handler);
  const wm::HookHandle hooks[] = {
      wm::installHook(wm::HookKind::MessageFilter, lib.messageProc),
      wm::installHook(wm::HookKind::ComputerBasedTraining, lib.cbtProc),
      wm::installHook(wm::HookKind::Keyboard, lib.keyboardProc),
      wm::installHook(wm::HookKind::Mouse, lib.mouseProc),
  };
  lib.setFilter(1);

  const LParam cursor = wm::pointLParam(640, 400);
  EXPECT_EQ(wm::callHooks(wm::HookKind::Keyboard, 0, 'A', 0x001E0001), 1);
  EXPECT_EQ(wm::callHooks(wm::HookKind::Mouse, 0, wm::mouse_message::kMove, cursor), 0);
  EXPECT_EQ(wm::callHooks(wm::HookKind::Mouse, 0, wm::mouse_message::kLeftDown, cursor), 1);
  EXPECT_EQ(wm::callHooks(wm::HookKind::ComputerBasedTraining, wm::cbt_code::kSysCommand,
                          wm::sys_command::kTaskList, 0),
            1);
  EXPECT_EQ(wm::callHooks(wm::HookKind::MessageFilter, wm::filter_code::kNextWindow, 0, 0), 1);
  EXPECT_TRUE(hostKeys.empty());  // the filter swallowed the key first

  EXPECT_EQ(wm::pumpMessages(), 1u);
  ASSERT_EQ(handled.size(), 1u);
  EXPECT_EQ(handled[0].id, WM_FILTER_LBUTTONDOWN);
  EXPECT_EQ(handled[0].lParam, cursor);

  EXPECT_EQ(wm::callHooks(wm::HookKind::Keyboard, 0, wm::kVirtualKeySpace, 0x00390001), 1);
  EXPECT_EQ(lib.getFilter(), 0);
  wm::Message m;
  ASSERT_TRUE(wm::waitMessage(m, std::chrono::seconds(60)));
  wm::dispatchMessage(m);
  ASSERT_EQ(handled.size(), 2u);
  EXPECT_EQ(handled[1].id, WM_FILTER_SPACE);

  // Filtering over: keys reach the host's own hook again.
  EXPECT_EQ(wm::callHooks(wm::HookKind::Keyboard, 0, 'B', 0x00300001), 0);
  EXPECT_EQ(hostKeys, std::vector<WParam>{'B'});

  for (const auto h : hooks) EXPECT_TRUE(wm::removeHook(h));
  EXPECT_EQ(wm::callHooks(wm::HookKind::Mouse, 0, wm::mouse_message::kLeftDown, cursor), 0);
  wm::removeHook(hostHook);
  wm::destroyWindow(handler);
}

TEST(KweltHost, ReloadingStartsWithTheFilterOffAndNoHandler) {
  const wm::WindowHandle handler = wm::createWindow(wm::defaultWindowProcedure);
  {
    Library lib;
    ASSERT_TRUE(lib.complete()) << dlerror();
    lib.setHandler(handler);
    lib.setFilter(1);
    EXPECT_EQ(lib.getFilter(), 1);
  }
  ASSERT_FALSE(libraryLoaded());
  {
    Library lib;
    ASSERT_TRUE(lib.complete()) << dlerror();
    EXPECT_EQ(lib.getFilter(), 0);
    lib.setFilter(1);
    EXPECT_EQ(lib.mouseProc(0, wm::mouse_message::kLeftDown, 0), 1);
    lib.setFilter(0);
  }
  // No handler after the reload: the click went to this thread's own queue.
  wm::Message m;
  ASSERT_TRUE(wm::peekMessage(m));
  EXPECT_EQ(m.window, wm::kNoWindow);
  EXPECT_EQ(m.id, WM_FILTER_LBUTTONDOWN);
  wm::destroyWindow(handler);
}
