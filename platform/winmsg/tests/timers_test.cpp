#include "platform/timers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <set>
#include <thread>
#include <vector>

using namespace platform::winmsg;
using namespace std::chrono_literals;

namespace {

// What the procedures of a test saw, in order; timers carry a pointer to it.
struct Log {
  explicit Log(TimerService* s) : service(s) {}
  TimerService* service;
  std::vector<TimerId> fired;
  std::vector<std::uint64_t> at;  // the manual clock at each call
  std::vector<TimerId> armedByProcedure;
};

TimerUser userOf(Log& log) { return reinterpret_cast<TimerUser>(&log); }
Log& logOf(TimerUser user) { return *reinterpret_cast<Log*>(user); }

void record(TimerId id, TimerUser user) {
  Log& log = logOf(user);
  log.fired.push_back(id);
  log.at.push_back(static_cast<ManualTimers*>(log.service)->now());
}

// Arms a follow-up timer 5 ms later, once.
void recordAndRearm(TimerId id, TimerUser user) {
  record(id, user);
  Log& log = logOf(user);
  if (log.armedByProcedure.empty())
    log.armedByProcedure.push_back(log.service->setOneShot(5, 1, record, user));
}

}  // namespace

TEST(ManualTimers, FireInDueOrderWithTiesInArmingOrder) {
  ManualTimers timers;
  Log log{&timers};
  const TimerId late = timers.setOneShot(30, 1, record, userOf(log));
  const TimerId first = timers.setOneShot(10, 1, record, userOf(log));
  const TimerId tieA = timers.setOneShot(20, 1, recordAndRearm, userOf(log));
  const TimerId tieB = timers.setOneShot(20, 1, record, userOf(log));
  EXPECT_EQ(timers.armed(), 4u);

  EXPECT_EQ(timers.advance(9), 0u);
  EXPECT_TRUE(log.fired.empty());
  EXPECT_EQ(timers.advance(1), 1u);
  // The follow-up armed at 20 falls due at 25, inside the same advance.
  EXPECT_EQ(timers.advance(15), 3u);
  ASSERT_EQ(log.armedByProcedure.size(), 1u);
  const TimerId followUp = log.armedByProcedure[0];
  EXPECT_EQ(log.fired, (std::vector<TimerId>{first, tieA, tieB, followUp}));
  EXPECT_EQ(log.at, (std::vector<std::uint64_t>{10, 20, 20, 25}));
  EXPECT_EQ(timers.now(), 25u);
  EXPECT_EQ(timers.advance(100), 1u);
  EXPECT_EQ(log.fired.back(), late);
  EXPECT_EQ(timers.armed(), 0u);
}

TEST(ManualTimers, IdsAreNeverZeroNorReusedAndDeadIdsMatchNothing) {
  ManualTimers timers;
  Log log{&timers};
  std::set<TimerId> ids;
  for (int i = 0; i < 50; ++i) {
    const TimerId id = timers.setOneShot(1 + i % 3, 1, record, userOf(log));
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(ids.insert(id).second) << id;
    if (i % 2) {
      EXPECT_TRUE(timers.kill(id));  // armed: disarmed, never called
    }
    timers.advance(i % 4);
  }
  timers.advance(10);
  EXPECT_EQ(log.fired.size(), 25u);
  for (const TimerId id : ids) EXPECT_FALSE(timers.kill(id)) << id;  // fired or killed
  EXPECT_FALSE(timers.kill(0));
}

TEST(ManualTimers, RefusesWhatTheCapsDoNotCover) {
  ManualTimers timers;
  Log log{&timers};
  TimerCaps caps;
  ASSERT_TRUE(timers.getCaps(caps));
  EXPECT_EQ(caps.minPeriod, 1u);
  EXPECT_GE(caps.maxPeriod, 65535u);
  EXPECT_EQ(timers.setOneShot(0, 1, record, userOf(log)), 0u);
  EXPECT_EQ(timers.setOneShot(caps.maxPeriod + 1, 1, record, userOf(log)), 0u);
  EXPECT_EQ(timers.setOneShot(5, 1, nullptr, userOf(log)), 0u);
  EXPECT_NE(timers.setOneShot(caps.maxPeriod, 1, record, userOf(log)), 0u);

  timers.failCaps(true);
  caps = {7, 8};
  EXPECT_FALSE(timers.getCaps(caps));
  EXPECT_EQ(caps.minPeriod, 7u);  // left alone
  timers.failCaps(false);
  EXPECT_TRUE(timers.getCaps(caps));
}

TEST(TimerPeriods, AreCountedPerBeginAndChecked) {
  for (TimerService* service : {static_cast<TimerService*>(new ManualTimers), &systemTimers()}) {
    const auto before = service->periodsBegun();
    EXPECT_FALSE(service->beginPeriod(0));
    EXPECT_FALSE(service->beginPeriod(2'000'000));
    EXPECT_TRUE(service->beginPeriod(3));
    EXPECT_TRUE(service->beginPeriod(3));
    EXPECT_TRUE(service->beginPeriod(1));
    EXPECT_FALSE(service->endPeriod(2));
    EXPECT_TRUE(service->endPeriod(3));
    auto begun = service->periodsBegun();
    for (auto p : before) begun.erase(std::find(begun.begin(), begun.end(), p));
    EXPECT_EQ(begun, (std::vector<std::uint32_t>{1, 3}));
    EXPECT_TRUE(service->endPeriod(3));
    EXPECT_TRUE(service->endPeriod(1));
    EXPECT_FALSE(service->endPeriod(1));
    EXPECT_EQ(service->periodsBegun(), before);
    if (service != &systemTimers()) delete service;
  }
}

namespace {

// A procedure that holds the timer's thread until released.
struct Gate {
  std::promise<std::thread::id> entered;
  std::shared_future<void> release;
  std::atomic<bool> returned{false};
  TimerId killedFromInside = 1;
  bool killResultFromInside = true;
};

void holdUntilReleased(TimerId id, TimerUser user) {
  auto& gate = *reinterpret_cast<Gate*>(user);
  gate.killResultFromInside = systemTimers().kill(id);  // itself: no wait
  gate.entered.set_value(std::this_thread::get_id());
  gate.release.wait();
  std::this_thread::sleep_for(20ms);
  gate.returned = true;
}

}  // namespace

TEST(SystemTimers, FireOnTheirOwnThreadAndKillWaitsForTheCallInProgress) {
  TimerService& timers = systemTimers();
  std::promise<void> release;
  Gate gate;
  gate.release = release.get_future().share();
  const auto armedAt = std::chrono::steady_clock::now();
  const TimerId id = timers.setOneShot(15, 1, holdUntilReleased, reinterpret_cast<TimerUser>(&gate));
  ASSERT_NE(id, 0u);
  const std::thread::id timerThread = gate.entered.get_future().get();
  EXPECT_GE(std::chrono::steady_clock::now() - armedAt, 15ms);
  EXPECT_NE(timerThread, std::this_thread::get_id());
  EXPECT_FALSE(gate.killResultFromInside);

  std::thread killer([&] { EXPECT_FALSE(timers.kill(id)); EXPECT_TRUE(gate.returned); });
  release.set_value();
  killer.join();
  EXPECT_TRUE(gate.returned);
}

TEST(SystemTimers, AKilledTimerNeverFires) {
  TimerService& timers = systemTimers();
  static std::atomic<int> calls{0};
  const auto count = [](TimerId, TimerUser) { ++calls; };
  std::vector<TimerId> ids;
  for (int i = 0; i < 20; ++i) ids.push_back(timers.setOneShot(10 + i, 1, count, 0));
  for (const TimerId id : ids) EXPECT_TRUE(timers.kill(id));
  // Falls due after all the killed ones would have.
  ASSERT_NE(timers.setOneShot(40, 1, count, 0), 0u);
  for (int waited = 0; calls == 0 && waited < 5000; waited += 5) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(calls.load(), 1);
}
