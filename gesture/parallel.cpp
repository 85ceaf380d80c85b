// Two threads for one job.
#include "gesture/parallel.h"

#include <cfenv>
#include <exception>
#include <thread>

namespace sc {

bool canShareWork() {
    return std::thread::hardware_concurrency() > 1;
}

void runBoth(const std::function<void()>& here, const std::function<void()>& besides) {
    std::exception_ptr besidesFailure;
    std::thread helper;
    std::fenv_t environment;
    std::fegetenv(&environment);
    try {
        helper = std::thread([&, environment] {
            std::fesetenv(&environment);
            try {
                besides();
            } catch (...) {
                besidesFailure = std::current_exception();
            }
        });
    } catch (...) {
        here(); // no thread to be had: all of it here
        besides();
        return;
    }
    try {
        here();
    } catch (...) {
        helper.join();
        throw;
    }
    helper.join();
    if (besidesFailure)
        std::rethrow_exception(besidesFailure);
}

} // namespace sc
