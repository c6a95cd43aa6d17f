#include "platform/timers.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "handle_counter.h"

namespace platform::winmsg {

TimerService::~TimerService() = default;

namespace {

constexpr TimerCaps kCaps{1, 1'000'000};

bool withinCaps(std::uint32_t ms) { return ms >= kCaps.minPeriod && ms <= kCaps.maxPeriod; }

// The bookkeeping both services share: periods, armed timers in the order
// they fall due, and the one call in progress. Every member is used under
// `mutex`; the functions that take a lock expect it to hold the mutex.
class TimerTable {
 public:
  mutable std::mutex mutex;
  std::condition_variable changed;  // a timer armed, fired or the service stopping
  bool capsFail = false;

  bool caps(TimerCaps& out) const {
    std::lock_guard lock(mutex);
    if (capsFail) return false;
    out = kCaps;
    return true;
  }
  bool beginPeriod(std::uint32_t period) {
    if (!withinCaps(period)) return false;
    std::lock_guard lock(mutex);
    periods_.insert(period);
    return true;
  }
  bool endPeriod(std::uint32_t period) {
    std::lock_guard lock(mutex);
    const auto it = periods_.find(period);
    if (it == periods_.end()) return false;
    periods_.erase(it);
    return true;
  }
  std::vector<std::uint32_t> periodsBegun() const {
    std::lock_guard lock(mutex);
    return {periods_.begin(), periods_.end()};
  }

  TimerId arm(std::unique_lock<std::mutex>&, std::uint64_t now, std::uint32_t delay,
              TimerProcedure procedure, TimerUser user) {
    if (!procedure || !withinCaps(delay)) return 0;
    const TimerId id = ids_.next();
    if (id == 0) return 0;
    const std::uint64_t due = now + delay;
    armed_.emplace(id, Armed{due, procedure, user});
    order_.emplace(due, id);
    changed.notify_all();
    return id;
  }

  bool kill(std::unique_lock<std::mutex>& lock, TimerId id) {
    if (const auto it = armed_.find(id); it != armed_.end()) {
      order_.erase({it->second.due, id});
      armed_.erase(it);
      return true;
    }
    if (id != 0 && firing_ == id && firingThread_ != std::this_thread::get_id())
      changed.wait(lock, [&] { return firing_ != id; });
    return false;
  }

  std::size_t armed(std::unique_lock<std::mutex>&) const { return armed_.size(); }

  // When the next timer falls due; false when none is armed.
  bool nextDue(std::unique_lock<std::mutex>&, std::uint64_t& due) const {
    if (order_.empty()) return false;
    due = order_.begin()->first;
    return true;
  }

  // Calls the timer that falls due first, without the lock held.
  void fireNext(std::unique_lock<std::mutex>& lock) {
    const auto [due, id] = *order_.begin();
    const auto it = armed_.find(id);
    const Armed timer = it->second;
    order_.erase(order_.begin());
    armed_.erase(it);
    firing_ = id;
    firingThread_ = std::this_thread::get_id();
    lock.unlock();
    timer.procedure(id, timer.user);
    lock.lock();
    firing_ = 0;
    firingThread_ = {};
    changed.notify_all();
  }

  void disarmAll(std::unique_lock<std::mutex>&) {
    armed_.clear();
    order_.clear();
  }

 private:
  struct Armed {
    std::uint64_t due;
    TimerProcedure procedure;
    TimerUser user;
  };
  std::multiset<std::uint32_t> periods_;
  HandleCounter ids_{0};
  std::map<TimerId, Armed> armed_;
  std::set<std::pair<std::uint64_t, TimerId>> order_;  // ids grow: ties keep arming order
  TimerId firing_ = 0;
  std::thread::id firingThread_;
};

class SystemTimers final : public TimerService {
 public:
  bool getCaps(TimerCaps& out) override { return table_.caps(out); }
  bool beginPeriod(std::uint32_t period) override { return table_.beginPeriod(period); }
  bool endPeriod(std::uint32_t period) override { return table_.endPeriod(period); }
  std::vector<std::uint32_t> periodsBegun() const override { return table_.periodsBegun(); }

  TimerId setOneShot(std::uint32_t delay, std::uint32_t, TimerProcedure procedure,
                     TimerUser user) override {
    std::unique_lock lock(table_.mutex);
    if (stopping_) return 0;
    const TimerId id = table_.arm(lock, armedAt(), delay, procedure, user);
    if (id != 0 && !worker_.joinable()) worker_ = std::thread([this] { run(); });
    return id;
  }
  bool kill(TimerId timer) override {
    std::unique_lock lock(table_.mutex);
    return table_.kill(lock, timer);
  }
  std::size_t armed() const override {
    std::unique_lock lock(table_.mutex);
    return table_.armed(lock);
  }

  // Disarms every timer and ends the thread, after the call in progress.
  void shutdown() {
    {
      std::unique_lock lock(table_.mutex);
      stopping_ = true;
      table_.disarmAll(lock);
    }
    table_.changed.notify_all();
    if (worker_.joinable()) worker_.join();
  }

 private:
  using Clock = std::chrono::steady_clock;

  // Whole milliseconds since the epoch that have passed.
  std::uint64_t now() const {
    return static_cast<std::uint64_t>(
        std::chrono::floor<std::chrono::milliseconds>(Clock::now() - epoch_).count());
  }
  // The millisecond a timer armed now counts from: the next whole one, so a
  // timer never falls due before its full delay has passed.
  std::uint64_t armedAt() const {
    return static_cast<std::uint64_t>(
        std::chrono::ceil<std::chrono::milliseconds>(Clock::now() - epoch_).count());
  }

  void run() {
    std::unique_lock lock(table_.mutex);
    while (!stopping_) {
      std::uint64_t due;
      if (!table_.nextDue(lock, due))
        table_.changed.wait(lock);
      else if (due > now())
        table_.changed.wait_until(lock, epoch_ + std::chrono::milliseconds(due));
      else
        table_.fireNext(lock);
    }
  }

  const Clock::time_point epoch_ = Clock::now();
  TimerTable table_;
  bool stopping_ = false;
  std::thread worker_;
};

// Never destroyed: a library unloaded after this one may still kill timers.
SystemTimers& systemInstance() {
  static SystemTimers* const instance = new SystemTimers;
  return *instance;
}

__attribute__((destructor)) void stopSystemTimers() { systemInstance().shutdown(); }

}  // namespace

TimerService& systemTimers() { return systemInstance(); }

struct ManualTimers::State {
  TimerTable table;
  std::uint64_t now = 0;
};

ManualTimers::ManualTimers() : state_(std::make_unique<State>()) {}
ManualTimers::~ManualTimers() = default;

void ManualTimers::failCaps(bool fail) {
  std::lock_guard lock(state_->table.mutex);
  state_->table.capsFail = fail;
}

std::uint64_t ManualTimers::now() const {
  std::lock_guard lock(state_->table.mutex);
  return state_->now;
}

std::size_t ManualTimers::advance(std::uint64_t ms) {
  std::unique_lock lock(state_->table.mutex);
  const std::uint64_t until = state_->now + ms;
  std::size_t fired = 0;
  std::uint64_t due;
  while (state_->table.nextDue(lock, due) && due <= until) {
    state_->now = due;
    state_->table.fireNext(lock);
    ++fired;
  }
  state_->now = until;
  return fired;
}

bool ManualTimers::getCaps(TimerCaps& out) { return state_->table.caps(out); }
bool ManualTimers::beginPeriod(std::uint32_t period) { return state_->table.beginPeriod(period); }
bool ManualTimers::endPeriod(std::uint32_t period) { return state_->table.endPeriod(period); }
std::vector<std::uint32_t> ManualTimers::periodsBegun() const {
  return state_->table.periodsBegun();
}

TimerId ManualTimers::setOneShot(std::uint32_t delay, std::uint32_t, TimerProcedure procedure,
                                 TimerUser user) {
  std::unique_lock lock(state_->table.mutex);
  return state_->table.arm(lock, state_->now, delay, procedure, user);
}

bool ManualTimers::kill(TimerId timer) {
  std::unique_lock lock(state_->table.mutex);
  return state_->table.kill(lock, timer);
}

std::size_t ManualTimers::armed() const {
  std::unique_lock lock(state_->table.mutex);
  return state_->table.armed(lock);
}

}  // namespace platform::winmsg
