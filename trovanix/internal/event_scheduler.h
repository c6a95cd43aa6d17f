#pragma once
// The event scheduler: fires scheduled events on the thread that owns its
// hidden window, driven by one-shot timers. A fired event either posts a
// window message or calls a callback.
//
// Threads: the timer procedure runs on the timer service's thread and only
// posts SCHED_MSG_FIRED to the scheduler's window. Everything else (adding,
// removing, firing, posting, callbacks, re-arming, freeing) happens on the
// thread that created the scheduler and pumps its window; there is no lock.
//
// Ownership: the scheduler owns the events it is given, except those whose
// message is SCHED_MSG_KEEP. Such an event stays its creator's: the
// scheduler never frees it, neither after it fired nor when the scheduler
// is destroyed; the creator keeps it alive while it is in the list, and
// frees it once it has fired (one-shot), was removed, or the scheduler is
// gone.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "platform/timers.h"
#include "platform/winmsg.h"

namespace trovanix {

namespace wm = platform::winmsg;

// Posted to the scheduler's window with wParam = lParam = the fired timer.
inline constexpr wm::MessageId SCHED_MSG_FIRED = 2025;
// An event message that is never posted: the callback runs, and the event
// is its creator's (see above).
inline constexpr std::uint16_t SCHED_MSG_KEEP = 2024;

// The library's application object: the scheduler's owner, the sender its
// callbacks are given, and where exceptions from event handling end up.
class Application {
 public:
  using ExceptionSink = std::function<void(std::exception_ptr error, const void* sender)>;
  // Without a sink, the error's text goes to the standard error stream.
  void setExceptionSink(ExceptionSink sink) { sink_ = std::move(sink); }
  void handleException(std::exception_ptr error, const void* sender) noexcept;

 private:
  ExceptionSink sink_;
};

struct TScheduledEvent {
  wm::WindowHandle target = wm::kNoWindow;  // kNoWindow: every window of the process
  std::function<void(Application& sender)> callback;  // for message 0 and SCHED_MSG_KEEP
  std::uint16_t message = 0;                // 0 or SCHED_MSG_KEEP: call the callback
  std::uint16_t wParam = 0;
  std::int32_t lParam = 0;
  std::uint16_t delay = 0;   // ms from arming to firing
  bool periodic = false;     // re-armed after each firing, from when it was handled
  wm::TimerId timerId = 0;   // the armed timer; 0 for none. Set by the scheduler.
};

class TEventScheduler {
 public:
  // Creates the hidden window on the calling thread and raises the timer
  // resolution. Throws std::runtime_error when no window can be made.
  TEventScheduler(Application& owner, wm::TimerService& timers);
  // Disarms every event still in the list and frees those it owns, ends
  // the period it began and destroys its window. A timer procedure in
  // progress is waited for. Not to be called from an event's callback.
  ~TEventScheduler();
  TEventScheduler(const TEventScheduler&) = delete;
  TEventScheduler& operator=(const TEventScheduler&) = delete;

  wm::WindowHandle window() const { return window_; }
  std::uint16_t resolution() const { return resolution_; }
  bool periodBegun() const { return periodBegun_; }

  // Arms an event and puts it at the end of the list. An event the
  // scheduler is to own (its message is not SCHED_MSG_KEEP) comes as a
  // unique_ptr; the result points to it while it is in the list. A
  // SCHED_MSG_KEEP event comes by reference. Null or false, with nothing
  // added, for the wrong kind of event or when no timer can be armed (a
  // delay of 0, for one).
  TScheduledEvent* add(std::unique_ptr<TScheduledEvent> event);
  bool add(TScheduledEvent& kept);
  // Disarms an event and takes it out of the list, freeing it if the
  // scheduler owns it. From the event's own callback, this happens once
  // the callback has returned. False for an event not in the list (a
  // one-shot event leaves it as it fires).
  bool remove(TScheduledEvent* event);
  // The events in the list, in order.
  std::vector<const TScheduledEvent*> events() const;

  // The window procedure of the hidden window.
  wm::LResult WndProc(const wm::Message& message);
  // Fires the event whose timer is the one given, if any.
  void HandleTimerMessage(wm::TimerId timer);

 private:
  struct Entry {
    Entry(TScheduledEvent* e, bool o) : event(e), owned(o) {}
    ~Entry();
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    TScheduledEvent* event;
    bool owned;  // freed with the entry
    bool firing = false;
    bool removeWhenFired = false;
  };
  using Entries = std::vector<std::unique_ptr<Entry>>;

  bool arm(TScheduledEvent& event);
  Entries::iterator find(const TScheduledEvent* event);
  void fire(TScheduledEvent& event, std::exception_ptr& error);

  Application& owner_;
  wm::TimerService& timers_;
  wm::WindowHandle window_ = wm::kNoWindow;
  Entries entries_;
  std::uint16_t resolution_ = 1;
  bool periodBegun_ = false;
};

// The timer procedure: posts SCHED_MSG_FIRED for the timer to the window
// passed as the user value.
void SchedulerTimeProc(wm::TimerId timer, wm::TimerUser window);

}  // namespace trovanix
