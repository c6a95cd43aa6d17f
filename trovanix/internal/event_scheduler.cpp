#include "event_scheduler.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace trovanix {

void Application::handleException(std::exception_ptr error, const void* sender) noexcept {
  try {
    if (sink_) {
      sink_(error, sender);
      return;
    }
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trovanix: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "trovanix: unknown error in event handling\n");
  }
}

void SchedulerTimeProc(wm::TimerId timer, wm::TimerUser window) {
  (void)wm::postMessage(static_cast<wm::WindowHandle>(window), SCHED_MSG_FIRED, timer,
                        static_cast<wm::LParam>(timer));
}

TEventScheduler::Entry::~Entry() {
  if (owned) delete event;
}

TEventScheduler::TEventScheduler(Application& owner, wm::TimerService& timers)
    : owner_(owner), timers_(timers) {
  window_ = wm::createWindow([this](const wm::Message& m) { return WndProc(m); });
  if (window_ == wm::kNoWindow) throw std::runtime_error("no window for the event scheduler");
  // Without caps the timers still work at 1 ms, but no period is begun.
  wm::TimerCaps caps;
  if (timers_.getCaps(caps)) {
    const std::uint32_t wanted = std::min(std::max(caps.minPeriod, 1u), caps.maxPeriod);
    resolution_ = static_cast<std::uint16_t>(std::clamp<std::uint32_t>(wanted, 1, 0xFFFF));
    periodBegun_ = timers_.beginPeriod(resolution_);
  }
}

TEventScheduler::~TEventScheduler() {
  for (const auto& entry : entries_) {
    if (entry->event->timerId != 0) timers_.kill(entry->event->timerId);
    entry->event->timerId = 0;
  }
  entries_.clear();
  if (periodBegun_) timers_.endPeriod(resolution_);
  wm::destroyWindow(window_);
}

bool TEventScheduler::arm(TScheduledEvent& event) {
  event.timerId = timers_.setOneShot(event.delay, resolution_, SchedulerTimeProc, window_);
  return event.timerId != 0;
}

TScheduledEvent* TEventScheduler::add(std::unique_ptr<TScheduledEvent> event) {
  if (!event || event->message == SCHED_MSG_KEEP) return nullptr;
  // Nothing that can throw comes after arming.
  auto entry = std::make_unique<Entry>(event.get(), false);
  entries_.reserve(entries_.size() + 1);
  if (!arm(*event)) return nullptr;
  entry->owned = true;
  event.release();
  entries_.push_back(std::move(entry));
  return entries_.back()->event;
}

bool TEventScheduler::add(TScheduledEvent& kept) {
  if (kept.message != SCHED_MSG_KEEP || find(&kept) != entries_.end()) return false;
  auto entry = std::make_unique<Entry>(&kept, false);
  entries_.reserve(entries_.size() + 1);
  if (!arm(kept)) return false;
  entries_.push_back(std::move(entry));
  return true;
}

TEventScheduler::Entries::iterator TEventScheduler::find(const TScheduledEvent* event) {
  return std::find_if(entries_.begin(), entries_.end(),
                      [&](const auto& entry) { return entry->event == event; });
}

bool TEventScheduler::remove(TScheduledEvent* event) {
  const auto it = find(event);
  if (it == entries_.end()) return false;
  if ((*it)->firing) {
    (*it)->removeWhenFired = true;
    return true;
  }
  timers_.kill(event->timerId);
  event->timerId = 0;
  entries_.erase(it);
  return true;
}

std::vector<const TScheduledEvent*> TEventScheduler::events() const {
  std::vector<const TScheduledEvent*> list;
  for (const auto& entry : entries_) list.push_back(entry->event);
  return list;
}

wm::LResult TEventScheduler::WndProc(const wm::Message& message) {
  if (message.id != SCHED_MSG_FIRED) return wm::defaultWindowProcedure(message);
  HandleTimerMessage(static_cast<wm::TimerId>(message.lParam));
  return 0;
}

void TEventScheduler::fire(TScheduledEvent& event, std::exception_ptr& error) {
  if (event.message != 0 && event.message != SCHED_MSG_KEEP) {
    // A target that is gone gets nothing; only no target at all means
    // every window.
    if (event.target == wm::kNoWindow)
      (void)wm::postMessage(wm::kBroadcast, event.message, event.wParam, event.lParam);
    else if (wm::isWindow(event.target))
      (void)wm::postMessage(event.target, event.message, event.wParam, event.lParam);
    return;
  }
  if (!event.callback) return;
  try {
    event.callback(owner_);
  } catch (...) {
    error = std::current_exception();
  }
}

void TEventScheduler::HandleTimerMessage(wm::TimerId timer) {
  std::vector<std::exception_ptr> errors;
  try {
    if (timer == 0) return;
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const auto& entry) { return entry->event->timerId == timer; });
    if (it == entries_.end()) return;
    // The timer has fired, but its procedure may not have returned yet; or
    // the message did not come from the timer at all, which is then still
    // armed. Either way it is done with once this returns.
    timers_.kill(timer);
    Entry* const entry = it->get();
    TScheduledEvent& event = *entry->event;
    event.timerId = 0;

    std::unique_ptr<Entry> retired;  // a one-shot event leaves the list now
    if (!event.periodic) {
      retired = std::move(*it);
      entries_.erase(it);
    }
    std::exception_ptr callbackError;
    entry->firing = true;
    fire(event, callbackError);
    entry->firing = false;
    if (callbackError) errors.push_back(callbackError);

    if (event.periodic) {
      // The callback may have added events: the list may have moved.
      const auto again = find(&event);
      if (entry->removeWhenFired) {
        entries_.erase(again);
      } else if (!arm(event)) {
        entries_.erase(again);
        errors.push_back(std::make_exception_ptr(
            std::runtime_error("a periodic event could not be re-armed and has stopped")));
      }
    }
  } catch (...) {
    errors.push_back(std::current_exception());
  }
  for (const auto& error : errors) owner_.handleException(error, this);
}

}  // namespace trovanix
