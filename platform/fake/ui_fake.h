// Steering the fake capture platform from tests: scripted answers, recorded calls, a manual clock.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/automation.h"
#include "platform/ui.h"

namespace platform::fake {

struct PostedMessage {
    ui::WindowId window;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

struct UiState {
    // Threads: refused unless allowed; allowed ones wait in `threads` until a test runs them.
    bool threadsStart = false;
    std::vector<std::function<void()>> threads;

    bool capturerWindowFails = false;
    bool overlayWindowFails = false;
    ui::WindowId nextWindow = 0x100;
    std::map<ui::WindowId, ui::MessageHandler> windows;
    std::set<ui::WindowId> shownWindows;                              // answers isWindowShown
    std::vector<std::pair<ui::WindowId, ui::WindowId>> overlaysShown; // (overlay, excluded)
    std::vector<PostedMessage> posted;
    int loopsRun = 0;
    int quitsPosted = 0;

    // Timers run on a manual clock: advance() fires the due ones through their window's handler.
    std::uint64_t now = 0;
    std::map<std::pair<ui::WindowId, ui::TimerId>, std::uint64_t> timers; // due time
    int timersSet = 0;

    // Hot keys.
    bool registerSucceeds = true;
    std::uint32_t registerError = 1409;
    bool unregisterSucceeds = true;
    std::optional<std::uint32_t> registeredKey;
    std::uint32_t registeredModifiers = 0;
    std::set<std::pair<std::uint32_t, std::uint32_t>> takenKeys; // (modifiers, key) another program holds
    bool sendsAnswered = true;                                   // false: sendMessage times out
    std::vector<std::string> hotKeyCalls;                        // "register 75", "unregister"

    // Pointers: scripted touch positions by pointer id; others are not touch.
    std::map<std::uint32_t, std::pair<std::int32_t, std::int32_t>> touchPointers;

    // Automation.
    automation::EventSink sink;
    int watchesStarted = 0;
    int watchesStopped = 0;
    std::vector<ui::WindowId> closedByAutomation;
};

UiState& ui();
void reset();

// Runs the threads started so far, in order, on the calling thread.
void runThreads();
// Delivers the posted messages, in order, to their windows' handlers (messages posted meanwhile too).
void deliverPosted();
// Moves the clock on, firing each timer that falls due (a timer message through its window's handler).
void advance(std::uint64_t milliseconds);
// Sends one message to a window's handler at once; false when the window does not exist.
bool send(ui::WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

} // namespace platform::fake
