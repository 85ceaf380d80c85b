// The charm-bar watch without a system: the test holds its sink and sends the events itself.
#include "platform/automation.h"

#include "platform/fake/fake_state.h"

namespace platform {

namespace automation {

class Watch {};

void WatchDeleter::operator()(Watch* watch) const {
    delete watch;
}

WatchPtr startWatch(EventSink sink) {
    fake::ui().sink = std::move(sink);
    ++fake::ui().watchesStarted;
    return WatchPtr(new Watch);
}

void stopWatch(WatchPtr) {
    fake::ui().sink = nullptr;
    ++fake::ui().watchesStopped;
}

void closeWindow(Watch&, ui::WindowId window) {
    fake::ui().closedByAutomation.push_back(window);
}

} // namespace automation
} // namespace platform
