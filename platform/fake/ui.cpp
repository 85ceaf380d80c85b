// The capture platform without a system: windows are handlers in a table, threads wait to be run by the
// test, timers run on a manual clock.
#include <utility>

#include "common/messages.h"
#include "platform/fake/fake_state.h"
#include "platform/ui.h"

namespace platform {
namespace fake {

void runThreads() {
    for (std::size_t i = 0; i < ui().threads.size(); ++i) {
        auto body = std::move(ui().threads[i]);
        body();
    }
    ui().threads.clear();
}

bool send(ui::WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    auto it = ui().windows.find(window);
    if (it == ui().windows.end())
        return false;
    auto handler = it->second; // the handler may destroy its own window
    handler(window, message, wParam, lParam);
    return true;
}

void deliverPosted() {
    while (!ui().posted.empty()) {
        const PostedMessage m = ui().posted.front();
        ui().posted.erase(ui().posted.begin());
        send(m.window, m.message, m.wParam, m.lParam);
    }
}

void advance(std::uint64_t milliseconds) {
    const std::uint64_t end = ui().now + milliseconds;
    for (;;) {
        auto next = ui().timers.end();
        for (auto it = ui().timers.begin(); it != ui().timers.end(); ++it)
            if (it->second <= end && (next == ui().timers.end() || it->second < next->second))
                next = it;
        if (next == ui().timers.end())
            break;
        const auto [window, id] = next->first;
        ui().now = next->second;
        next->second = ui().now + 1000000; // fires again only if set again; kill removes it
        send(window, sc::msg::kTimer, id, 0);
    }
    ui().now = end;
}

} // namespace fake

namespace ui {

bool startThread(std::function<void()> body) {
    if (!fake::ui().threadsStart)
        return false;
    fake::ui().threads.push_back(std::move(body));
    return true;
}

WindowId createCapturerWindow(MessageHandler handler) {
    if (fake::ui().capturerWindowFails)
        return 0;
    const WindowId id = fake::ui().nextWindow++;
    fake::ui().windows[id] = std::move(handler);
    return id;
}

WindowId createOverlayWindow(ModuleId, MessageHandler handler) {
    if (fake::ui().overlayWindowFails)
        return 0;
    const WindowId id = fake::ui().nextWindow++;
    fake::ui().windows[id] = std::move(handler);
    return id;
}

void showOverlayWindow(WindowId overlay, WindowId excluded) {
    fake::ui().shownWindows.insert(overlay);
    fake::ui().overlaysShown.emplace_back(overlay, excluded);
}

ModuleId processModule() {
    return 0x400000;
}

bool isWindowShown(WindowId window) {
    return fake::ui().shownWindows.count(window) != 0;
}

void runMessageLoop() {
    ++fake::ui().loopsRun;
}

void postQuit() {
    ++fake::ui().quitsPosted;
}

bool postMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (fake::ui().windows.count(window) == 0)
        return false;
    fake::ui().posted.push_back({window, message, wParam, lParam});
    return true;
}

bool sendMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam, unsigned) {
    if (!fake::ui().sendsAnswered)
        return false;
    return fake::send(window, message, wParam, lParam);
}

bool destroyWindow(WindowId window) {
    auto it = fake::ui().windows.find(window);
    if (it == fake::ui().windows.end())
        return false;
    auto handler = std::move(it->second);
    fake::ui().windows.erase(it);
    fake::ui().shownWindows.erase(window);
    for (auto t = fake::ui().timers.begin(); t != fake::ui().timers.end();)
        t = t->first.first == window ? fake::ui().timers.erase(t) : std::next(t);
    handler(window, sc::msg::kDestroy, 0, 0);
    return true;
}

TimerId setTimer(WindowId window, TimerId id, unsigned milliseconds) {
    if (fake::ui().windows.count(window) == 0)
        return 0;
    fake::ui().timers[{window, id}] = fake::ui().now + milliseconds;
    ++fake::ui().timersSet;
    return id;
}

void killTimer(WindowId window, TimerId id) {
    fake::ui().timers.erase({window, id});
}

bool registerHotKey(WindowId, std::uint32_t modifiers, std::uint32_t key, std::uint32_t& error) {
    fake::ui().hotKeyCalls.push_back("register " + std::to_string(key));
    if (!fake::ui().registerSucceeds || fake::ui().takenKeys.count({modifiers, key}) != 0) {
        error = fake::ui().registerError;
        return false;
    }
    fake::ui().registeredKey = key;
    fake::ui().registeredModifiers = modifiers;
    return true;
}

bool unregisterHotKey(WindowId) {
    fake::ui().hotKeyCalls.push_back("unregister");
    if (!fake::ui().unregisterSucceeds || !fake::ui().registeredKey)
        return false;
    fake::ui().registeredKey.reset();
    return true;
}

} // namespace ui

} // namespace platform
