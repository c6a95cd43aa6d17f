// The library's start and end, run by the loader on the thread that loads
// and unloads the library. The start fills the rule-check matrix and creates
// the event scheduler, whose window belongs to the loading thread; the host
// pumps that thread's messages. The end frees the scheduler, after which no
// timer of it is armed or still running.
#include <cstdio>
#include <exception>

#include "internal/library_start.h"

namespace trovanix {

namespace {

ErcMatrix theErcMatrix{};
Application* theApplication = nullptr;
TEventScheduler* theScheduler = nullptr;

__attribute__((constructor)) void TrovanixMain() {
  InitErcMatrix(theErcMatrix);
  try {
    theApplication = new Application;
    theScheduler = new TEventScheduler(*theApplication, wm::systemTimers());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trovanix: the event scheduler could not be started: %s\n", e.what());
  }
}

__attribute__((destructor)) void TrovanixExit() {
  delete theScheduler;
  theScheduler = nullptr;
  delete theApplication;
  theApplication = nullptr;
}

}  // namespace

Application* application() { return theApplication; }
TEventScheduler* Scheduler() { return theScheduler; }
const ErcMatrix& ercMatrix() { return theErcMatrix; }

}  // namespace trovanix
