// Test-only exports of a second build of the library, through which a host
// test reaches what the library's start made: it arms events on the
// scheduler and looks at the rule-check matrix.
#include <cstdint>
#include <memory>

#include "internal/library_start.h"

#define TROVANIX_PROBE_API extern "C" __attribute__((visibility("default")))

TROVANIX_PROBE_API const std::uint8_t* TrovanixProbeErcMatrix() {
  return trovanix::ercMatrix().data();
}

TROVANIX_PROBE_API std::uint32_t TrovanixProbeWindow() {
  const auto* scheduler = trovanix::Scheduler();
  return scheduler ? scheduler->window() : 0;
}

// Adds an event the scheduler owns; 1 when it was armed.
TROVANIX_PROBE_API int TrovanixProbeAdd(std::uint32_t target, std::uint16_t message,
                                        std::uint16_t wParam, std::int32_t lParam,
                                        std::uint16_t delay, int periodic,
                                        void (*callback)(void*), void* data) {
  auto* scheduler = trovanix::Scheduler();
  if (!scheduler) return 0;
  auto event = std::make_unique<trovanix::TScheduledEvent>();
  event->target = target;
  event->message = message;
  event->wParam = wParam;
  event->lParam = lParam;
  event->delay = delay;
  event->periodic = periodic != 0;
  if (callback) event->callback = [callback, data](trovanix::Application&) { callback(data); };
  return scheduler->add(std::move(event)) ? 1 : 0;
}
