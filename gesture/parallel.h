// Splitting the work of opening a large template set between this thread and one more.
#pragma once

#include <functional>

namespace sc {

// Whether a second processor is there to take half of a large job.
bool canShareWork();

// Runs `besides` on a second thread, with this thread's floating-point settings so that its results
// are the ones this thread would get, while `here` runs on this thread; both here, one after the other,
// when no thread can be had. Returns once both have ended, rethrowing what either threw.
void runBoth(const std::function<void()>& here, const std::function<void()>& besides);

} // namespace sc
