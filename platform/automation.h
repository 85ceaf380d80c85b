// The desktop-wide watch for windows opening and closing, through UI Automation.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui.h"

namespace platform::automation {

inline constexpr int kWindowOpenedEvent = 20016;
inline constexpr int kWindowClosedEvent = 20017;

// What the watch reports of one event's sender. `readOk` is false when its id or window could not be read.
struct WindowEvent {
    int eventId = 0;
    bool readOk = false;
    std::u16string automationId;
    ui::WindowId window = 0;
};

// Called on the platform's own threads.
using EventSink = std::function<void(const WindowEvent&)>;

class Watch;
// Frees a watch that stopWatch did not take; defined by each backend, where Watch is complete.
struct WatchDeleter {
    void operator()(Watch* watch) const;
};
using WatchPtr = std::unique_ptr<Watch, WatchDeleter>;

// Joins the calling thread to the multithreaded apartment and starts watching; each failing step writes
// its console line. Always returns a watch, whatever could be set up, for stopWatch to release.
WatchPtr startWatch(EventSink sink);
// Removes the handlers and releases everything; leaves the apartment on the thread that joined it.
void stopWatch(WatchPtr watch);
// Closes the window through its window pattern, when it is a window element.
void closeWindow(Watch& watch, ui::WindowId window);

} // namespace platform::automation
