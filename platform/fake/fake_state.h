// Steering the fake platform from tests: the scripted answers of every area, the log of the calls the
// keyboard, session, launch, Wi-Fi and named-mutex fakes make, the windows, threads and manual clock of
// the capture fakes (ui, pointer, automation), and the small world of the catalogue fake.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation.h"
#include "platform/catalog.h"
#include "platform/named_mutex.h"
#include "platform/ui.h"
#include "platform/wlan.h"

namespace platform::fake {

// The one scripted state of its type in the process, made on first use.
template <class State> State& scripted() {
    static State state;
    return state;
}

// Keyboard, session, launch, Wi-Fi and named mutex (platform/fake/keyboard.cpp, session.cpp, launch.cpp,
// wlan.cpp, named_mutex.cpp; the log in fake_state.cpp).

// One recorded call: the system function's name and its arguments as text.
struct SystemCall {
    std::string name;
    std::vector<std::string> args;
    bool operator==(const SystemCall&) const = default;
};
std::ostream& operator<<(std::ostream& out, const SystemCall& call);

struct FakeWlanInterface {
    wlan::Interface info;
    bool queryFails = false;
    std::vector<wlan::PhyRadioState> phys; // what the radio state query returns
    bool capabilityFails = false;
    std::uint32_t supportedPhys = 0;        // what the capability query returns
    std::set<std::uint32_t> failingSetPhys; // PHY indices whose set call fails
};

struct SystemScript {
    std::int32_t keysRefused = 0; // events the injection drops from the end of each call
    bool lockSucceeds = true;
    std::intptr_t shellExecuteAResult = 42;
    std::intptr_t shellExecuteWResult = 42;
    std::set<std::u16string> missingPaths; // what pathMissing reports missing
    bool recycleQuerySucceeds = true;
    std::uint64_t recycleItems = 0;
    std::int32_t activationResult = 0;
    std::uint32_t activatedProcessId = 4242;
    int modernUiVisible = 0;

    bool wlanOpenSucceeds = true;
    bool wlanEnumSucceeds = true;
    std::vector<FakeWlanInterface> wlanInterfaces; // set calls that succeed change these states

    bool mutexCreateFails = false;
    std::deque<MutexWait> nextWaits; // forced results of the next waits; Abandoned still takes the mutex
};

inline SystemScript& systemScript() {
    return scripted<SystemScript>();
}
std::vector<SystemCall> systemCalls();
// Clears the log, the script and every named mutex.
void resetSystem();

// How many takes of the named mutex are outstanding (0 when nobody owns it).
int mutexDepth(std::u16string_view name);
// How many waits on any named mutex were made since the reset.
int mutexWaitCount();

// An interface id whose bytes are all `n`, for readable cases.
wlan::InterfaceId interfaceId(std::uint8_t n);

// Adds a call to the log (used by the fake platform sources).
void record(std::string name, std::vector<std::string> args = {});
std::string hex(std::uint64_t value);

// Threads, windows, timers and hot keys (platform/fake/ui.cpp), touch positions (pointer.cpp) and the
// charm-bar watch (automation.cpp).

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

inline UiState& ui() {
    return scripted<UiState>();
}
inline void reset() {
    ui() = UiState();
}

// Runs the threads started so far, in order, on the calling thread.
void runThreads();
// Delivers the posted messages, in order, to their windows' handlers (messages posted meanwhile too).
void deliverPosted();
// Moves the clock on, firing each timer that falls due (a timer message through its window's handler).
void advance(std::uint64_t milliseconds);
// Sends one message to a window's handler at once; false when the window does not exist.
bool send(ui::WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

// The catalogue (platform/fake/catalog.cpp).

struct CatalogState {
    // Names are matched case-insensitively (ASCII), as the file system and environment do.
    std::map<std::u16string, std::u16string> environment;
    // Files and folders by full path, in the order the enumeration gives them.
    struct Entry {
        std::u16string path;
        bool isDirectory = false;
    };
    std::vector<Entry> entries;
    std::set<std::u16string> unqueryable; // exist, but their attributes cannot be queried
    // Shortcut path -> its properties; a path without an entry cannot be loaded, nullopt fails a read.
    std::map<std::u16string, std::optional<ShortcutProperties>> shortcuts;
    // Key path -> value name -> value; nullopt is a value of the wrong type.
    std::map<std::u16string, std::map<std::u16string, std::optional<std::u16string>>> registry;
    // "@..." sources that resolve; other "@" sources fail, plain texts come back unchanged.
    std::map<std::u16string, std::u16string> indirectStrings;
    std::map<std::u16string, std::u16string> shellNames; // file path -> shell display name
    std::optional<std::u16string> languages;             // NUL-separated list; nullopt fails the call

    // What was asked.
    int apartmentJoins = 0;
    int apartmentLeaves = 0;
    int languageCalls = 0;
    std::vector<std::u16string> existenceChecks; // every fileExists path, in order
    std::vector<std::u16string> registryOpens;   // every key path tried

    void addFolder(const std::u16string& path) { entries.push_back({path, true}); }
    void addFile(const std::u16string& path) { entries.push_back({path, false}); }
};

inline CatalogState& catalogState() {
    return scripted<CatalogState>();
}
inline void resetCatalog() {
    catalogState() = CatalogState();
}

} // namespace platform::fake
