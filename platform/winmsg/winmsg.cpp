#include "platform/winmsg.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "handle_counter.h"

namespace platform::winmsg {

namespace {

// Lets callers into a procedure until it is closed; closing waits until no
// other thread is inside. The closing thread itself may be inside (a window
// that destroys itself from its own procedure), so its own calls are not
// waited for.
class CallGate {
 public:
  bool enter() {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    inside_.push_back(std::this_thread::get_id());
    return true;
  }
  void leave() {
    std::lock_guard lock(mutex_);
    inside_.erase(std::find(inside_.begin(), inside_.end(), std::this_thread::get_id()));
    left_.notify_all();
  }
  // Returns whether the calling thread itself is inside.
  bool closeAndWait() {
    std::unique_lock lock(mutex_);
    closed_ = true;
    const auto self = std::this_thread::get_id();
    left_.wait(lock, [&] {
      return std::all_of(inside_.begin(), inside_.end(), [&](auto id) { return id == self; });
    });
    return !inside_.empty();
  }

 private:
  std::mutex mutex_;
  std::condition_variable left_;
  bool closed_ = false;
  std::vector<std::thread::id> inside_;
};

class GatePass {
 public:
  explicit GatePass(CallGate& gate) : gate_(gate), entered_(gate.enter()) {}
  ~GatePass() {
    if (entered_) gate_.leave();
  }
  GatePass(const GatePass&) = delete;
  GatePass& operator=(const GatePass&) = delete;
  explicit operator bool() const { return entered_; }

 private:
  CallGate& gate_;
  bool entered_;
};

struct ThreadQueue {
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<Message> messages;
  bool closed = false;

  bool push(const Message& message) {
    {
      std::lock_guard lock(mutex);
      if (closed || messages.size() >= kQueueLimit) return false;
      messages.push_back(message);
    }
    arrived.notify_one();
    return true;
  }
};

struct Window {
  std::shared_ptr<ThreadQueue> queue;
  WindowProcedure procedure;
  CallGate gate;

  // Once nobody is inside any more, the procedure object goes at once
  // rather than with the last reference to the window, which another
  // thread may hold for a moment: its code may be unloaded right after the
  // window is destroyed. From inside the procedure it stays until the call
  // returns.
  void close() {
    if (!gate.closeAndWait()) procedure = nullptr;
  }
};

struct Hook {
  HookKind kind;
  HookProcedure procedure;
  CallGate gate;

  void close() { gate.closeAndWait(); }
};

struct Registry {
  std::mutex mutex;
  std::unordered_map<WindowHandle, std::shared_ptr<Window>> windows;
  HandleCounter windowHandles{kBroadcast};
  std::map<HookHandle, std::shared_ptr<Hook>> hooks;  // handles grow: oldest first
  HandleCounter hookHandles{0};
};

// Never destroyed: threads may still end and tidy up while the process exits.
Registry& registry() {
  static Registry* const instance = new Registry;
  return *instance;
}

// Enters an entry in its table under a new handle; 0 when none is left.
template <typename Table>
std::uint32_t enroll(Table& table, HandleCounter& handles, typename Table::mapped_type entry) {
  std::lock_guard lock(registry().mutex);
  const std::uint32_t handle = handles.next();
  if (handle != 0) table.emplace(handle, std::move(entry));
  return handle;
}

// Takes an entry out of its table, then waits for calls of it in progress
// on other threads; false when there is no such entry.
template <typename Table>
bool retire(Table& table, std::uint32_t handle) {
  typename Table::mapped_type entry;
  {
    std::lock_guard lock(registry().mutex);
    const auto it = table.find(handle);
    if (it == table.end()) return false;
    entry = std::move(it->second);
    table.erase(it);
  }
  entry->close();
  return true;
}

std::shared_ptr<Window> findWindow(WindowHandle handle) {
  auto& r = registry();
  std::lock_guard lock(r.mutex);
  const auto it = r.windows.find(handle);
  return it == r.windows.end() ? nullptr : it->second;
}

// The calling thread's queue; when the thread ends, its windows go with it.
class ThreadState {
 public:
  ~ThreadState() {
    {
      std::lock_guard lock(queue_->mutex);
      queue_->closed = true;
      queue_->messages.clear();
    }
    auto& r = registry();
    std::vector<WindowHandle> owned;
    {
      std::lock_guard lock(r.mutex);
      for (const auto& [handle, window] : r.windows)
        if (window->queue == queue_) owned.push_back(handle);
    }
    for (const WindowHandle handle : owned) retire(r.windows, handle);
  }
  const std::shared_ptr<ThreadQueue>& queue() const { return queue_; }

 private:
  std::shared_ptr<ThreadQueue> queue_ = std::make_shared<ThreadQueue>();
};

const std::shared_ptr<ThreadQueue>& currentQueue() {
  thread_local ThreadState state;
  return state.queue();
}

// Pops the next message of the calling thread, dropping those addressed to
// windows that have been destroyed since they were posted.
bool takeMessage(Message& out, std::chrono::milliseconds timeout) {
  const auto& queue = currentQueue();
  using Clock = std::chrono::steady_clock;
  const auto now = Clock::now();
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::time_point::max() - now);
  const auto deadline = timeout >= left ? Clock::time_point::max() : now + timeout;
  std::unique_lock lock(queue->mutex);
  for (;;) {
    if (!queue->arrived.wait_until(lock, deadline, [&] { return !queue->messages.empty(); }))
      return false;
    out = queue->messages.front();
    queue->messages.pop_front();
    if (out.window == kNoWindow) return true;
    lock.unlock();
    const bool live = isWindow(out.window);
    lock.lock();
    if (live) return true;
  }
}

}  // namespace

WindowHandle createWindow(WindowProcedure procedure) {
  auto window = std::make_shared<Window>();
  window->queue = currentQueue();
  window->procedure = std::move(procedure);
  auto& r = registry();
  return enroll(r.windows, r.windowHandles, std::move(window));
}

bool destroyWindow(WindowHandle handle) { return retire(registry().windows, handle); }

bool isWindow(WindowHandle handle) { return findWindow(handle) != nullptr; }

bool postMessage(WindowHandle handle, MessageId id, WParam wParam, LParam lParam) {
  if (handle == kNoWindow) return currentQueue()->push({kNoWindow, id, wParam, lParam});
  if (handle == kBroadcast) {
    std::vector<std::pair<WindowHandle, std::shared_ptr<ThreadQueue>>> targets;
    {
      auto& r = registry();
      std::lock_guard lock(r.mutex);
      for (const auto& [h, window] : r.windows) targets.emplace_back(h, window->queue);
    }
    for (const auto& [h, queue] : targets) queue->push({h, id, wParam, lParam});
    return true;
  }
  const auto window = findWindow(handle);
  return window && window->queue->push({handle, id, wParam, lParam});
}

bool peekMessage(Message& out) { return takeMessage(out, std::chrono::milliseconds(0)); }

bool waitMessage(Message& out, std::chrono::milliseconds timeout) {
  return takeMessage(out, timeout);
}

LResult dispatchMessage(const Message& message) {
  if (message.window == kNoWindow) return 0;
  const auto window = findWindow(message.window);
  if (!window) return 0;
  GatePass pass(window->gate);
  return pass ? window->procedure(message) : 0;
}

std::size_t pumpMessages() {
  // Only what is queued now: a procedure that posts to its own window while
  // handling a message must not keep this loop going for ever.
  std::size_t queued;
  {
    const auto& queue = currentQueue();
    std::lock_guard lock(queue->mutex);
    queued = queue->messages.size();
  }
  std::size_t taken = 0;
  Message message;
  while (taken < queued && peekMessage(message)) {
    ++taken;
    dispatchMessage(message);
  }
  return taken;
}

LResult defaultWindowProcedure(const Message&) { return 0; }

HookHandle installHook(HookKind kind, HookProcedure procedure) {
  if (!procedure) return 0;
  auto hook = std::make_shared<Hook>();
  hook->kind = kind;
  hook->procedure = procedure;
  auto& r = registry();
  return enroll(r.hooks, r.hookHandles, std::move(hook));
}

bool removeHook(HookHandle handle) { return retire(registry().hooks, handle); }

LResult callHooks(HookKind kind, std::int32_t code, WParam wParam, LParam lParam) {
  std::vector<std::shared_ptr<Hook>> chain;
  {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    for (auto it = r.hooks.rbegin(); it != r.hooks.rend(); ++it)
      if (it->second->kind == kind) chain.push_back(it->second);
  }
  for (const auto& hook : chain) {
    GatePass pass(hook->gate);
    if (!pass) continue;  // removed meanwhile
    if (const LResult result = hook->procedure(code, wParam, lParam); result != 0) return result;
  }
  return 0;
}

}  // namespace platform::winmsg
