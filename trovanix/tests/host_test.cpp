// Loads the library as a host does, on a host thread that pumps its
// messages, a hundred times over: the start makes the scheduler's window on
// the loading thread and raises the timer resolution, the end takes both
// back, also while the scheduler's events are armed and its timers firing.
// Once unloaded, the library's code is gone, so any timer of it that still
// ran would crash the test.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/timers.h"
#include "platform/winmsg.h"

namespace wm = platform::winmsg;
using namespace std::chrono_literals;

namespace {

constexpr int kLoads = 100;
constexpr wm::MessageId kTick = 0x401, kOnce = 0x402, kNoise = 0x403;
constexpr wm::MessageId kFired = 2025;

bool loaded(const char* path) {
  void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

template <typename F>
F find(void* library, const char* name) {
  return reinterpret_cast<F>(dlsym(library, name));
}

using ProbeAdd = int (*)(std::uint32_t target, std::uint16_t message, std::uint16_t wParam,
                         std::int32_t lParam, std::uint16_t delay, int periodic,
                         void (*callback)(void*), void* data);
using ProbeWindow = std::uint32_t (*)();
using ProbeMatrix = const std::uint8_t* (*)();

void count(void* counter) { ++*static_cast<int*>(counter); }

// The host's own window, on the thread that makes it.
struct HostWindow {
  int ticks = 0, once = 0, other = 0;
  wm::WindowHandle handle = wm::createWindow([this](const wm::Message& m) {
    ++(m.id == kTick ? ticks : m.id == kOnce ? once : other);
    return 0;
  });
  ~HostWindow() { wm::destroyWindow(handle); }
};

}  // namespace

TEST(Host, EachLoadMakesItsWindowOnTheLoadingThreadAndEachUnloadTakesItBack) {
  std::thread host([] {
    HostWindow mine;
    const auto periods = wm::systemTimers().periodsBegun();
    for (int i = 0; i < kLoads; ++i) {
      void* library = dlopen(TROVANIX_LIBRARY, RTLD_NOW | RTLD_LOCAL);
      ASSERT_NE(library, nullptr) << dlerror();
      EXPECT_EQ(wm::systemTimers().periodsBegun().size(), periods.size() + 1);
      ASSERT_TRUE(wm::postMessage(wm::kBroadcast, kNoise, 0, 0));
      EXPECT_EQ(wm::pumpMessages(), 2u);  // the host's window and the scheduler's
      ASSERT_EQ(dlclose(library), 0);
      ASSERT_FALSE(loaded(TROVANIX_LIBRARY));
      EXPECT_EQ(wm::systemTimers().periodsBegun(), periods);
      ASSERT_TRUE(wm::postMessage(wm::kBroadcast, kNoise, 0, 0));
      EXPECT_EQ(wm::pumpMessages(), 1u);
    }
    EXPECT_EQ(mine.other, 2 * kLoads);
  });
  host.join();
}

TEST(Host, UnloadsWithEventsArmedAndFiringWhileMessagesPourIn) {
  // Another thread of the host keeps broadcasting, timer messages with
  // made-up ids among them.
  std::atomic<bool> done{false};
  std::thread noise([&] {
    for (wm::LParam id = 1; !done; id = id % 64 + 1) {
      wm::postMessage(wm::kBroadcast, kFired, static_cast<wm::WParam>(id), id);
      wm::postMessage(wm::kBroadcast, kNoise, 0, 0);
      std::this_thread::sleep_for(200us);
    }
  });
  std::thread host([] {
    HostWindow mine;
    int callbacks = 0;
    const auto periods = wm::systemTimers().periodsBegun();
    for (int i = 0; i < kLoads; ++i) {
      void* library = dlopen(TROVANIX_PROBE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
      ASSERT_NE(library, nullptr) << dlerror();
      const auto add = find<ProbeAdd>(library, "TrovanixProbeAdd");
      const auto window = find<ProbeWindow>(library, "TrovanixProbeWindow");
      const auto matrix = find<ProbeMatrix>(library, "TrovanixProbeErcMatrix");
      ASSERT_TRUE(add && window && matrix);
      // The start filled the rule-check matrix and made the window here.
      EXPECT_EQ(matrix()[0 * 9 + 8], 1);  // kinds 1 and 9
      EXPECT_EQ(matrix()[1 * 9 + 1], 2);  // kinds 2 and 2
      EXPECT_EQ(matrix()[8 * 9 + 0], 0);  // below the diagonal
      EXPECT_TRUE(wm::isWindow(window()));

      ASSERT_EQ(add(mine.handle, kTick, 1, 0, 1, 1, nullptr, nullptr), 1);
      ASSERT_EQ(add(0, 0, 0, 0, 1, 1, count, &callbacks), 1);
      ASSERT_EQ(add(mine.handle, kOnce, 0, 0, 2, 0, nullptr, nullptr), 1);
      ASSERT_EQ(add(mine.handle, kOnce, 0, 0, 60000, 0, nullptr, nullptr), 1);
      const int ticks = mine.ticks, calls = callbacks;
      const auto deadline = std::chrono::steady_clock::now() + 10s;
      wm::Message m;
      while ((mine.ticks - ticks < 3 || callbacks - calls < 3) &&
             std::chrono::steady_clock::now() < deadline)
        if (wm::waitMessage(m, 50ms)) wm::dispatchMessage(m);
      EXPECT_GE(mine.ticks - ticks, 3);
      EXPECT_GE(callbacks - calls, 3);

      ASSERT_EQ(dlclose(library), 0);
      ASSERT_FALSE(loaded(TROVANIX_PROBE_LIBRARY));
      EXPECT_EQ(wm::systemTimers().armed(), 0u);
      EXPECT_EQ(wm::systemTimers().periodsBegun(), periods);
    }
    // Nothing of the library's events comes after its end.
    wm::pumpMessages();  // what they posted before
    const int ticks = mine.ticks, calls = callbacks;
    std::this_thread::sleep_for(20ms);
    wm::pumpMessages();
    EXPECT_EQ(mine.ticks, ticks);
    EXPECT_EQ(callbacks, calls);
    EXPECT_GT(mine.once, 0);
  });
  host.join();
  done = true;
  noise.join();
}
