#pragma once
// What the library's start makes and its end frees again: the application
// object, the event scheduler and the rule-check matrix. The scheduler is
// null when it could not be made (the exports work without it).
#include "erc_matrix.h"
#include "event_scheduler.h"

namespace trovanix {

Application* application();
TEventScheduler* Scheduler();
const ErcMatrix& ercMatrix();

}  // namespace trovanix
