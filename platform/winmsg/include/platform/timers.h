#pragma once
// One-shot timers and timer periods, part of the shared window library.
//
// A timer calls its procedure once, on the timer service's own thread, when
// its delay has passed. Procedures are meant to do no more than post a
// window message (postMessage is thread-safe); they must not wait for the
// thread that kills their timer, and must not be the first use of a
// thread-local object on that thread.
//
// Timer ids are never 0 and never handed out twice by one service, so an id
// that has fired or was killed matches nothing any more.
//
// A period is a request for timers at least that precise. Periods are
// counted: each beginPeriod needs its own endPeriod with the same value.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/winmsg.h"

namespace platform::winmsg {

using TimerId = std::uint32_t;
using TimerUser = std::uintptr_t;
using TimerProcedure = void (*)(TimerId timer, TimerUser user);

// The shortest and longest period, and delay, a service supports (ms).
struct TimerCaps {
  std::uint32_t minPeriod = 0;
  std::uint32_t maxPeriod = 0;
};

class PLATFORM_WINMSG_API TimerService {
 public:
  virtual ~TimerService();

  // False when the service cannot tell; out is then left alone.
  virtual bool getCaps(TimerCaps& out) = 0;
  // False for a period outside the caps (begin) or one that was not begun
  // (end).
  virtual bool beginPeriod(std::uint32_t period) = 0;
  virtual bool endPeriod(std::uint32_t period) = 0;
  // The periods begun and not yet ended, smallest first, one entry per begin.
  virtual std::vector<std::uint32_t> periodsBegun() const = 0;

  // Arms a one-shot timer: after delay ms the procedure is called once with
  // the new timer's id and user. The resolution (ms, 0 for the finest) is
  // how late the call may come. Returns 0 for a null procedure, a delay
  // outside the caps, or when ids are used up.
  virtual TimerId setOneShot(std::uint32_t delay, std::uint32_t resolution,
                             TimerProcedure procedure, TimerUser user) = 0;
  // Disarms a timer. True when it was armed: its procedure will not be
  // called. False for an id that names no armed timer (0, unknown, fired,
  // killed). Either way, a call of the timer's procedure in progress on
  // another thread is waited for before this returns, so the procedure's
  // code may be unloaded afterwards; from inside that call it is not.
  virtual bool kill(TimerId timer) = 0;
  // How many timers are armed.
  virtual std::size_t armed() const = 0;
};

// The process's timers, on a clock of real time. Their thread is started by
// the first timer armed and ends when this library is unloaded; timers still
// armed then never fire.
PLATFORM_WINMSG_API TimerService& systemTimers();

// Timers on a clock that only advance() moves, for deterministic tests.
// Procedures run on the thread that calls advance().
class PLATFORM_WINMSG_API ManualTimers final : public TimerService {
 public:
  // Caps as the system timers have them.
  ManualTimers();
  ~ManualTimers() override;
  ManualTimers(const ManualTimers&) = delete;
  ManualTimers& operator=(const ManualTimers&) = delete;

  // Makes getCaps fail (or work again).
  void failCaps(bool fail);
  // Milliseconds advanced so far.
  std::uint64_t now() const;
  // Moves the clock on by ms, calling each timer that falls due, in the
  // order they fall due (ties in the order they were armed), including
  // timers that those calls arm. Returns how many were called.
  std::size_t advance(std::uint64_t ms);

  bool getCaps(TimerCaps& out) override;
  bool beginPeriod(std::uint32_t period) override;
  bool endPeriod(std::uint32_t period) override;
  std::vector<std::uint32_t> periodsBegun() const override;
  TimerId setOneShot(std::uint32_t delay, std::uint32_t resolution, TimerProcedure procedure,
                     TimerUser user) override;
  bool kill(TimerId timer) override;
  std::size_t armed() const override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform::winmsg
