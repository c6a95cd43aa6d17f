#include "platform/winmsg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using namespace platform::winmsg;
using namespace std::chrono_literals;

namespace {

// A window that records what its procedure receives, and on which thread.
class Sink {
 public:
  Sink() : handle_(createWindow([this](const Message& m) { return record(m); })) {}
  ~Sink() { destroyWindow(handle_); }
  WindowHandle handle() const { return handle_; }
  std::vector<Message> received() {
    std::lock_guard lock(mutex_);
    return received_;
  }
  std::vector<std::thread::id> threads() {
    std::lock_guard lock(mutex_);
    return threads_;
  }

 private:
  LResult record(const Message& m) {
    std::lock_guard lock(mutex_);
    received_.push_back(m);
    threads_.push_back(std::this_thread::get_id());
    return static_cast<LResult>(m.wParam);
  }
  std::mutex mutex_;
  std::vector<Message> received_;
  std::vector<std::thread::id> threads_;
  WindowHandle handle_;
};

void drain() { pumpMessages(); }

}  // namespace

TEST(WindowMessages, PostFromAnotherThreadArrivesOnlyWhenTheOwnerPumps) {
  drain();
  Sink sink;
  std::thread poster([&] {
    EXPECT_TRUE(isWindow(sink.handle()));
    EXPECT_TRUE(postMessage(sink.handle(), 2025, 7, -3));
  });
  poster.join();
  EXPECT_TRUE(sink.received().empty());

  Message m;
  ASSERT_TRUE(peekMessage(m));
  EXPECT_EQ(m.window, sink.handle());
  EXPECT_EQ(m.id, 2025u);
  EXPECT_EQ(m.wParam, 7u);
  EXPECT_EQ(m.lParam, -3);
  EXPECT_TRUE(sink.received().empty());
  EXPECT_EQ(dispatchMessage(m), 7);  // the procedure's answer
  ASSERT_EQ(sink.received().size(), 1u);
  EXPECT_EQ(sink.threads()[0], std::this_thread::get_id());
  EXPECT_FALSE(peekMessage(m));
}

TEST(WindowMessages, WaitingWakesOnAPostAndTimesOutWithout) {
  drain();
  Sink sink;
  Message m;
  EXPECT_FALSE(waitMessage(m, 20ms));
  std::promise<void> waiting;
  std::thread poster([&] {
    waiting.get_future().wait();
    postMessage(sink.handle(), 1, 2, 3);
  });
  waiting.set_value();
  ASSERT_TRUE(waitMessage(m, std::chrono::milliseconds::max()));  // no end but the post
  EXPECT_EQ(m.id, 1u);
  poster.join();
}

TEST(WindowMessages, QueueIsFifoAcrossWindowsAndThreadMessages) {
  drain();
  Sink a, b;
  ASSERT_TRUE(postMessage(a.handle(), 10, 0, 0));
  ASSERT_TRUE(postMessage(kNoWindow, 11, 0, 0));
  ASSERT_TRUE(postMessage(b.handle(), 12, 0, 0));
  ASSERT_TRUE(postMessage(a.handle(), 13, 0, 0));
  std::vector<MessageId> order;
  Message m;
  while (peekMessage(m)) order.push_back(m.id);
  EXPECT_EQ(order, (std::vector<MessageId>{10, 11, 12, 13}));

  // Several posting threads: each one's messages keep their order.
  constexpr int kThreads = 4, kEach = 500;
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t)
    posters.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) postMessage(a.handle(), 100 + t, i, 0);
    });
  for (auto& p : posters) p.join();
  EXPECT_EQ(pumpMessages(), static_cast<std::size_t>(kThreads * kEach));
  std::vector<WParam> next(kThreads, 0);
  for (const auto& r : a.received()) {
    if (r.id < 100) continue;
    EXPECT_EQ(r.wParam, next[r.id - 100]++);
  }
  EXPECT_EQ(next, std::vector<WParam>(kThreads, kEach));
}

TEST(WindowMessages, ThreadMessagesStayWithTheirThread) {
  drain();
  std::thread other([] {
    EXPECT_TRUE(postMessage(kNoWindow, 42, 1, 2));
    Message m;
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(m.window, kNoWindow);
    EXPECT_EQ(m.id, 42u);
    EXPECT_EQ(dispatchMessage(m), 0);
  });
  other.join();
  Message m;
  EXPECT_FALSE(peekMessage(m));
}

TEST(WindowMessages, DeadAndStaleHandlesAreRefused) {
  drain();
  WindowHandle gone;
  {
    Sink sink;
    gone = sink.handle();
    ASSERT_TRUE(postMessage(gone, 5, 0, 0));  // queued before the window dies
  }
  EXPECT_FALSE(isWindow(gone));
  EXPECT_FALSE(postMessage(gone, 6, 0, 0));
  EXPECT_FALSE(destroyWindow(gone));
  Message m;
  EXPECT_FALSE(peekMessage(m));  // the queued message went with its window
  EXPECT_EQ(dispatchMessage({gone, 5, 0, 0}), 0);

  EXPECT_FALSE(isWindow(kNoWindow));
  EXPECT_FALSE(isWindow(kBroadcast));
  EXPECT_FALSE(isWindow(0xFFFFFFF0u));  // never handed out
  EXPECT_FALSE(postMessage(0xFFFFFFF0u, 6, 0, 0));

  // A window whose owning thread has ended is gone as well.
  WindowHandle orphan = 0;
  std::thread owner([&] { orphan = createWindow(defaultWindowProcedure); });
  owner.join();
  EXPECT_NE(orphan, 0u);
  EXPECT_FALSE(isWindow(orphan));
  EXPECT_FALSE(postMessage(orphan, 1, 0, 0));
}

TEST(WindowMessages, HandlesAreNeverZeroBroadcastOrReused) {
  // Enough windows to pass the broadcast value on the way.
  std::set<WindowHandle> seen;
  for (int i = 0; i < 70000; ++i) {
    const WindowHandle h = createWindow(defaultWindowProcedure);
    ASSERT_NE(h, kNoWindow);
    ASSERT_NE(h, kBroadcast);
    ASSERT_TRUE(seen.insert(h).second) << "handle " << h << " handed out twice";
    ASSERT_TRUE(destroyWindow(h));
  }
}

TEST(WindowMessages, BroadcastReachesEveryLiveWindowOnItsOwnThread) {
  drain();
  Sink here, dead;
  destroyWindow(dead.handle());
  std::promise<WindowHandle> created;
  std::promise<void> posted;
  std::vector<Message> farReceived;
  std::thread far([&] {
    Sink sink;
    created.set_value(sink.handle());
    posted.get_future().wait();
    pumpMessages();
    farReceived = sink.received();
  });
  const WindowHandle farHandle = created.get_future().get();
  EXPECT_TRUE(postMessage(kBroadcast, 77, 1, 2));
  posted.set_value();
  far.join();
  pumpMessages();

  ASSERT_EQ(here.received().size(), 1u);
  EXPECT_EQ(here.received()[0].window, here.handle());
  EXPECT_EQ(here.received()[0].id, 77u);
  ASSERT_EQ(farReceived.size(), 1u);
  EXPECT_EQ(farReceived[0].window, farHandle);
  EXPECT_TRUE(dead.received().empty());
}

TEST(WindowMessages, DestroyFromAnotherThreadWaitsForTheDispatchInProgress) {
  drain();
  std::atomic<bool> destroyed{false};
  std::promise<void> entered;
  std::promise<void> destroying;
  bool destroyedDuringCall = true;
  int calls = 0;
  const WindowHandle w = createWindow([&](const Message&) {
    ++calls;
    entered.set_value();
    destroying.get_future().wait();
    // Give a destroy that does not wait the chance to finish.
    std::this_thread::sleep_for(50ms);
    destroyedDuringCall = destroyed.load();
    return 0;
  });
  ASSERT_TRUE(postMessage(w, 1, 0, 0));
  ASSERT_TRUE(postMessage(w, 2, 0, 0));
  std::thread killer([&] {
    entered.get_future().wait();
    destroying.set_value();
    EXPECT_TRUE(destroyWindow(w));
    destroyed = true;
  });
  Message m;
  ASSERT_TRUE(peekMessage(m));
  dispatchMessage(m);
  killer.join();
  EXPECT_FALSE(destroyedDuringCall);
  EXPECT_EQ(pumpMessages(), 0u);  // the second message went with the window
  EXPECT_EQ(calls, 1);
}

TEST(WindowMessages, AWindowMayDestroyItselfFromItsProcedure) {
  drain();
  WindowHandle self = 0;
  int calls = 0;
  self = createWindow([&](const Message&) {
    ++calls;
    EXPECT_TRUE(destroyWindow(self));
    return 0;
  });
  postMessage(self, 1, 0, 0);
  postMessage(self, 2, 0, 0);
  pumpMessages();
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(isWindow(self));
}

// The procedure (and what it holds) is gone when destroyWindow returns, even
// while another thread is looking the window up, so its code may be unloaded.
TEST(WindowMessages, DestroyLetsGoOfTheProcedureAtOnce) {
  drain();
  std::atomic<WindowHandle> current{0};
  std::atomic<bool> done{false};
  std::thread looker([&] {
    while (!done) isWindow(current.load());
  });
  for (int i = 0; i < 300; ++i) {
    auto held = std::make_shared<int>(i);
    const WindowHandle w = createWindow([held](const Message&) { return *held; });
    current = w;
    std::this_thread::yield();
    ASSERT_TRUE(destroyWindow(w));
    EXPECT_EQ(held.use_count(), 1) << "round " << i;
  }
  done = true;
  looker.join();
}

TEST(WindowMessages, PumpingTakesOnlyWhatWasQueuedWhenItStarted) {
  drain();
  int calls = 0;
  WindowHandle w = 0;
  w = createWindow([&](const Message&) {
    ++calls;
    postMessage(w, 1, 0, 0);  // always one more
    return 0;
  });
  postMessage(w, 1, 0, 0);
  EXPECT_EQ(pumpMessages(), 1u);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(pumpMessages(), 1u);
  EXPECT_EQ(calls, 2);
  destroyWindow(w);
  EXPECT_EQ(pumpMessages(), 0u);
}

TEST(WindowMessages, AFullQueueRefusesPosts) {
  drain();
  Sink sink;
  for (std::size_t i = 0; i < kQueueLimit; ++i)
    ASSERT_TRUE(postMessage(sink.handle(), 1, 0, 0)) << i;
  EXPECT_FALSE(postMessage(sink.handle(), 1, 0, 0));
  EXPECT_FALSE(postMessage(kNoWindow, 1, 0, 0));
  EXPECT_EQ(pumpMessages(), kQueueLimit);
  EXPECT_TRUE(postMessage(sink.handle(), 1, 0, 0));
  drain();
}

namespace {
std::vector<int> hookCalls;
LResult passA(std::int32_t, WParam, LParam) {
  hookCalls.push_back(1);
  return 0;
}
LResult swallowB(std::int32_t code, WParam, LParam) {
  hookCalls.push_back(2);
  return code == 1 ? 5 : 0;
}
LResult passC(std::int32_t, WParam, LParam) {
  hookCalls.push_back(3);
  return 0;
}
}  // namespace

TEST(Hooks, ChainRunsNewestFirstAndStopsAtTheFirstSwallow) {
  const HookHandle a = installHook(HookKind::Keyboard, passA);
  const HookHandle b = installHook(HookKind::Keyboard, swallowB);
  const HookHandle c = installHook(HookKind::Keyboard, passC);
  const HookHandle mouse = installHook(HookKind::Mouse, passA);
  ASSERT_NE(a, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(installHook(HookKind::Keyboard, nullptr), 0u);

  const struct {
    HookKind kind;
    std::int32_t code;
    LResult result;
    std::vector<int> calls;
  } cases[] = {
      {HookKind::Keyboard, 0, 0, {3, 2, 1}},  // everyone passes it on
      {HookKind::Keyboard, 1, 5, {3, 2}},     // swallowed: the older hook never sees it
      {HookKind::Mouse, 1, 0, {1}},
      {HookKind::ComputerBasedTraining, 1, 0, {}},
  };
  for (const auto& c : cases) {
    hookCalls.clear();
    EXPECT_EQ(callHooks(c.kind, c.code, 0, 0), c.result);
    EXPECT_EQ(hookCalls, c.calls);
  }

  EXPECT_TRUE(removeHook(b));
  EXPECT_FALSE(removeHook(b));
  hookCalls.clear();
  EXPECT_EQ(callHooks(HookKind::Keyboard, 1, 0, 0), 0);
  EXPECT_EQ(hookCalls, (std::vector<int>{3, 1}));
  const HookHandle again = installHook(HookKind::Keyboard, swallowB);
  EXPECT_NE(again, b);
  for (HookHandle h : {a, c, mouse, again}) EXPECT_TRUE(removeHook(h));
}

namespace {
std::promise<void>* blockingEntered = nullptr;
std::shared_future<void> blockingRelease;
LResult blockingHook(std::int32_t, WParam, LParam) {
  blockingEntered->set_value();
  blockingRelease.wait();
  return 1;
}
}  // namespace

TEST(Hooks, RemovalWaitsForACallInProgressOnAnotherThread) {
  std::promise<void> entered, release;
  blockingEntered = &entered;
  blockingRelease = release.get_future().share();
  const HookHandle h = installHook(HookKind::Mouse, blockingHook);
  LResult result = 0;
  std::thread caller([&] { result = callHooks(HookKind::Mouse, 0, 0, 0); });
  entered.get_future().wait();
  std::atomic<bool> removed{false};
  std::thread remover([&] {
    EXPECT_TRUE(removeHook(h));
    removed = true;
  });
  // Give a removal that does not wait the chance to finish.
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(removed.load());
  release.set_value();
  caller.join();
  remover.join();
  EXPECT_TRUE(removed.load());
  EXPECT_EQ(result, 1);
  EXPECT_EQ(callHooks(HookKind::Mouse, 0, 0, 0), 0);
}

TEST(HookConventions, KeyDataAndCursorPosition) {
  EXPECT_TRUE(keyGoesDown(0x00390001));
  EXPECT_FALSE(keyGoesDown(static_cast<LParam>(0xC0390001u)));
  const LParam p = pointLParam(-2, 300);
  EXPECT_EQ(static_cast<std::int16_t>(p & 0xFFFF), -2);
  EXPECT_EQ(static_cast<std::int16_t>(static_cast<std::uint32_t>(p) >> 16), 300);
}
