#include "internal/event_scheduler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace trovanix;
namespace wm = platform::winmsg;
using wm::Message;

namespace {

// A window of the test thread that records what reaches it.
class Recorder {
 public:
  Recorder()
      : handle_(wm::createWindow([this](const Message& m) {
          received.push_back(m);
          return 0;
        })) {}
  ~Recorder() { wm::destroyWindow(handle_); }
  wm::WindowHandle handle() const { return handle_; }
  std::vector<Message> received;

 private:
  wm::WindowHandle handle_;
};

// Tells when the callback object of an event, and with it the event, is
// freed.
struct Token {
  std::shared_ptr<int> held = std::make_shared<int>(0);
  bool freed() const { return held.use_count() == 1; }
};

class Scheduler : public ::testing::Test {
 protected:
  void SetUp() override {
    wm::pumpMessages();  // nothing left over from earlier tests
    app.setExceptionSink([this](std::exception_ptr error, const void* sender) {
      EXPECT_EQ(sender, scheduler.get());
      try {
        std::rethrow_exception(error);
      } catch (const std::exception& e) {
        errors.push_back(e.what());
      }
    });
    scheduler = std::make_unique<TEventScheduler>(app, timers);
  }

  // Moves the clock on and handles what that posts, and what handling posts.
  void run(std::uint64_t ms) {
    timers.advance(ms);
    while (wm::pumpMessages() != 0) {
    }
  }

  std::unique_ptr<TScheduledEvent> event(std::uint16_t message, std::uint16_t delay,
                                         bool periodic = false) {
    auto e = std::make_unique<TScheduledEvent>();
    e->target = target.handle();
    e->message = message;
    e->delay = delay;
    e->periodic = periodic;
    return e;
  }

  std::function<void(Application&)> counting(int& calls, const Token& token) {
    return [this, &calls, held = token.held](Application& sender) {
      EXPECT_EQ(&sender, &app);
      ++calls;
    };
  }

  wm::ManualTimers timers;
  Application app;
  std::vector<std::string> errors;
  Recorder target;
  std::unique_ptr<TEventScheduler> scheduler;
};

}  // namespace

TEST_F(Scheduler, StartRaisesTheResolutionAndEndLowersIt) {
  EXPECT_TRUE(wm::isWindow(scheduler->window()));
  EXPECT_EQ(scheduler->resolution(), 1);
  EXPECT_TRUE(scheduler->periodBegun());
  EXPECT_EQ(timers.periodsBegun(), std::vector<std::uint32_t>{1});
  const wm::WindowHandle window = scheduler->window();
  scheduler.reset();
  EXPECT_TRUE(timers.periodsBegun().empty());
  EXPECT_FALSE(wm::isWindow(window));
}

TEST_F(Scheduler, WithoutCapsTimersStillWorkAtOneMsAndNoPeriodIsEnded) {
  scheduler.reset();
  timers.failCaps(true);
  ASSERT_TRUE(timers.beginPeriod(1));  // somebody else's
  scheduler = std::make_unique<TEventScheduler>(app, timers);
  EXPECT_EQ(scheduler->resolution(), 1);
  EXPECT_FALSE(scheduler->periodBegun());
  ASSERT_NE(scheduler->add(event(0x401, 10, true)), nullptr);
  for (int i = 0; i < 3; ++i) run(10);
  EXPECT_EQ(target.received.size(), 3u);
  scheduler.reset();
  EXPECT_EQ(timers.periodsBegun(), std::vector<std::uint32_t>{1});
}

TEST_F(Scheduler, OneShotWithMessageZeroAndNoCallbackDoesNothingAndLeaves) {
  Recorder bystander;
  ASSERT_NE(scheduler->add(event(0, 5)), nullptr);
  EXPECT_EQ(timers.armed(), 1u);
  run(5);
  EXPECT_TRUE(scheduler->events().empty());
  EXPECT_EQ(timers.armed(), 0u);
  EXPECT_TRUE(target.received.empty());
  EXPECT_TRUE(bystander.received.empty());
  EXPECT_TRUE(errors.empty());
}

TEST_F(Scheduler, KeptEventCallsBackLeavesTheListAndStaysItsCreators) {
  int calls = 0;
  Token token;
  TScheduledEvent kept;  // the creator's: freeing it would be fatal here
  kept.message = SCHED_MSG_KEEP;
  kept.target = target.handle();
  kept.delay = 4;
  kept.callback = counting(calls, token);
  EXPECT_EQ(scheduler->add(std::make_unique<TScheduledEvent>(kept)), nullptr);  // not to be owned
  ASSERT_TRUE(scheduler->add(kept));
  EXPECT_FALSE(scheduler->add(kept));  // once only
  EXPECT_NE(kept.timerId, 0u);
  run(4);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(target.received.empty());  // never posted
  EXPECT_TRUE(scheduler->events().empty());
  EXPECT_EQ(kept.timerId, 0u);
  EXPECT_FALSE(token.freed());

  // It may be armed again, and the scheduler's end leaves it alone too.
  ASSERT_TRUE(scheduler->add(kept));
  TScheduledEvent plain;
  plain.delay = 4;
  EXPECT_FALSE(scheduler->add(plain));  // message 0: only as an owned event
  scheduler.reset();
  EXPECT_EQ(timers.armed(), 0u);
  EXPECT_FALSE(token.freed());
  run(10);
  EXPECT_EQ(calls, 1);
}

TEST_F(Scheduler, PeriodicEventKeepsItsPlaceWhileItsTimerChanges) {
  auto* first = scheduler->add(event(0x401, 7));
  auto* periodic = scheduler->add(event(0x402, 3, true));
  auto* last = scheduler->add(event(0x403, 50));
  ASSERT_TRUE(first && periodic && last);
  std::set<wm::TimerId> ids{periodic->timerId};
  for (int round = 1; round <= 5; ++round) {
    run(3);
    EXPECT_TRUE(ids.insert(periodic->timerId).second) << "round " << round;
    EXPECT_NE(periodic->timerId, 0u);
    const auto list = scheduler->events();
    if (round < 3)
      EXPECT_EQ(list, (std::vector<const TScheduledEvent*>{first, periodic, last}));
    else  // the one-shot before it has fired
      EXPECT_EQ(list, (std::vector<const TScheduledEvent*>{periodic, last}));
  }
  std::vector<wm::MessageId> order;
  for (const auto& m : target.received) order.push_back(m.id);
  EXPECT_EQ(order, (std::vector<wm::MessageId>{0x402, 0x402, 0x401, 0x402, 0x402, 0x402}));
}

TEST_F(Scheduler, PostsTheEventsValuesAsTheyAre) {
  struct Case {
    std::uint16_t message, wParam;
    std::int32_t lParam;
  };
  const std::vector<Case> cases{
      {0x401, 0, 0}, {0x401, 0xFFFF, -1}, {0xFFFF, 0x8000, INT32_MIN}, {2025, 7, 0x7FFFFFFF}};
  for (const Case& c : cases) {
    auto e = event(c.message, 2);
    e->wParam = c.wParam;
    e->lParam = c.lParam;
    ASSERT_NE(scheduler->add(std::move(e)), nullptr);
  }
  run(2);
  ASSERT_EQ(target.received.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Message& m = target.received[i];
    EXPECT_EQ(m.window, target.handle());
    EXPECT_EQ(m.id, cases[i].message);
    EXPECT_EQ(m.wParam, static_cast<wm::WParam>(cases[i].wParam)) << "zero-extended";
    EXPECT_EQ(m.lParam, cases[i].lParam);
  }
}

TEST_F(Scheduler, AGoneTargetGetsNothingAndNoTargetMeansEveryWindow) {
  Recorder bystander;
  auto gone = std::make_unique<Recorder>();
  auto toGone = event(0x404, 5);
  toGone->target = gone->handle();
  auto toAll = event(0x405, 5);
  toAll->target = wm::kNoWindow;
  ASSERT_NE(scheduler->add(std::move(toGone)), nullptr);
  ASSERT_NE(scheduler->add(std::move(toAll)), nullptr);
  gone.reset();
  run(5);
  ASSERT_EQ(bystander.received.size(), 1u);
  EXPECT_EQ(bystander.received[0].id, 0x405u);
  ASSERT_EQ(target.received.size(), 1u);
  EXPECT_EQ(target.received[0].id, 0x405u);
  EXPECT_TRUE(scheduler->events().empty());
}

TEST_F(Scheduler, EndDisarmsEveryEventBeforeFreeingIt) {
  Token oneShot, periodic;
  int calls = 0;
  auto a = event(0, 5);
  a->callback = counting(calls, oneShot);
  auto b = event(0, 2, true);
  b->callback = counting(calls, periodic);
  ASSERT_NE(scheduler->add(std::move(a)), nullptr);
  ASSERT_NE(scheduler->add(std::move(b)), nullptr);
  run(2);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(timers.armed(), 2u);
  scheduler.reset();
  EXPECT_EQ(timers.armed(), 0u);
  EXPECT_TRUE(oneShot.freed());
  EXPECT_TRUE(periodic.freed());
  run(20);
  EXPECT_EQ(calls, 1);
}

TEST_F(Scheduler, OnlyTheArmedTimerOfAnEventFiresIt) {
  int calls = 0;
  Token token;
  auto e = event(0, 10);
  e->callback = counting(calls, token);
  const wm::TimerId id = scheduler->add(std::move(e))->timerId;
  for (const wm::LParam stray : {0, static_cast<wm::LParam>(id + 1), -1}) {
    wm::postMessage(scheduler->window(), SCHED_MSG_FIRED, 0, stray);
    run(0);
    scheduler->HandleTimerMessage(static_cast<wm::TimerId>(stray));
  }
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(scheduler->events().size(), 1u);
  EXPECT_EQ(scheduler->WndProc({scheduler->window(), 0x400, 1, 2}), 0);  // anything else

  // The message with its id fires it, even early; the timer is then
  // disarmed, and a second message finds nothing.
  wm::postMessage(scheduler->window(), SCHED_MSG_FIRED, id, static_cast<wm::LParam>(id));
  wm::postMessage(scheduler->window(), SCHED_MSG_FIRED, id, static_cast<wm::LParam>(id));
  run(0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(timers.armed(), 0u);
  EXPECT_TRUE(token.freed());
  run(20);
  EXPECT_EQ(calls, 1);
}

TEST_F(Scheduler, AThrowingCallbackLosesNothingAndIsReported) {
  Token oneShot, periodic;
  int oneShotCalls = 0, periodicCalls = 0;
  auto a = event(0, 3);
  a->callback = [&, held = oneShot.held](Application&) {
    ++oneShotCalls;
    throw std::runtime_error("one-shot failed");
  };
  auto b = event(0, 2, true);
  b->callback = [&, held = periodic.held](Application&) {
    ++periodicCalls;
    throw std::invalid_argument("periodic failed");
  };
  ASSERT_NE(scheduler->add(std::move(a)), nullptr);
  auto* p = scheduler->add(std::move(b));
  ASSERT_NE(p, nullptr);
  run(2);  // the periodic event, re-armed for 4
  run(2);  // the one-shot at 3, the periodic at 4
  EXPECT_EQ(oneShotCalls, 1);
  EXPECT_EQ(periodicCalls, 2);
  EXPECT_TRUE(oneShot.freed());
  EXPECT_EQ(scheduler->events(), std::vector<const TScheduledEvent*>{p});
  EXPECT_NE(p->timerId, 0u);  // re-armed despite the exception
  EXPECT_EQ(errors,
            (std::vector<std::string>{"periodic failed", "one-shot failed", "periodic failed"}));
  scheduler.reset();
  EXPECT_TRUE(periodic.freed());
}

TEST_F(Scheduler, RemovalFromItsOwnCallbackWaitsUntilTheCallbackReturns) {
  Token self, other;
  TScheduledEvent* selfEvent = nullptr;
  TScheduledEvent* otherEvent = nullptr;
  int calls = 0;
  bool stillWhole = false;
  auto a = event(0, 2, true);
  a->callback = [&, held = self.held](Application&) {
    ++calls;
    EXPECT_TRUE(scheduler->remove(otherEvent));  // someone else's: at once
    EXPECT_TRUE(other.freed());
    EXPECT_TRUE(scheduler->remove(selfEvent));
    EXPECT_TRUE(scheduler->remove(selfEvent));  // still there until it returns
    stillWhole = held.use_count() > 1;          // this callback is alive
  };
  auto b = event(0, 50, true);
  b->callback = counting(calls, other);
  selfEvent = scheduler->add(std::move(a));
  otherEvent = scheduler->add(std::move(b));
  ASSERT_TRUE(selfEvent && otherEvent);
  run(2);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(stillWhole);
  EXPECT_TRUE(self.freed());
  EXPECT_TRUE(scheduler->events().empty());
  EXPECT_EQ(timers.armed(), 0u);
  EXPECT_FALSE(scheduler->remove(selfEvent));
  run(100);
  EXPECT_EQ(calls, 1);
}

TEST_F(Scheduler, AFailedReArmIsReportedAndStopsTheEvent) {
  Token token;
  int calls = 0;
  auto e = event(0, 2, true);
  TScheduledEvent* added = nullptr;
  e->callback = [&, held = token.held](Application&) {
    if (++calls == 2) added->delay = 0;  // no timer takes that
  };
  EXPECT_EQ(scheduler->add(event(0, 0)), nullptr);  // refused from the start
  added = scheduler->add(std::move(e));
  ASSERT_NE(added, nullptr);
  run(2);
  run(2);
  run(10);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(errors, std::vector<std::string>{"a periodic event could not be re-armed and has stopped"});
  EXPECT_TRUE(scheduler->events().empty());
  EXPECT_TRUE(token.freed());
  // Its id is 0 now, and 0 matches nothing.
  scheduler->HandleTimerMessage(0);
  EXPECT_EQ(calls, 2);
}

// The real timers, on their own thread, with this thread pumping.
TEST(SchedulerOnSystemTimers, FiresOnTheOwningThreadUntilDestroyed) {
  Application app;
  Recorder target;
  auto scheduler = std::make_unique<TEventScheduler>(app, wm::systemTimers());
  int calls = 0;
  const auto owner = std::this_thread::get_id();
  auto tick = std::make_unique<TScheduledEvent>();
  tick->delay = 1;
  tick->periodic = true;
  tick->callback = [&](Application&) {
    EXPECT_EQ(std::this_thread::get_id(), owner);
    ++calls;
  };
  auto post = std::make_unique<TScheduledEvent>(*tick);
  post->callback = nullptr;
  post->message = 0x401;
  post->target = target.handle();
  ASSERT_NE(scheduler->add(std::move(tick)), nullptr);
  ASSERT_NE(scheduler->add(std::move(post)), nullptr);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  Message m;
  while ((calls < 5 || target.received.size() < 5) && std::chrono::steady_clock::now() < deadline)
    if (wm::waitMessage(m, std::chrono::milliseconds(50))) wm::dispatchMessage(m);
  EXPECT_GE(calls, 5);
  EXPECT_GE(target.received.size(), 5u);
  scheduler.reset();  // with both events armed or firing
  const int after = calls;
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  wm::pumpMessages();
  EXPECT_EQ(calls, after);
}
