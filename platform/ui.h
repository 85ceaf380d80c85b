// Threads, windows, message loops, timers and hot keys of the capture subsystem, behind opaque ids.
#pragma once

#include <cstdint>
#include <functional>

namespace platform::ui {

using WindowId = std::uintptr_t; // 0: no window
using ModuleId = std::uintptr_t; // the module instance windows are registered with
using TimerId = std::uintptr_t;

// Handles one message on the window's own thread; returns true when the message needs no default processing.
using MessageHandler =
    std::function<bool(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;

// Starts a detached thread that keeps the library loaded until the body returns; false if none started.
bool startThread(std::function<void()> body);

// Registers the class "Message" (replacing a stale registration) and creates the message-only window
// "TouchCapturer Wnd" on the calling thread; 0 on failure. The handler lives as long as the window.
WindowId createCapturerWindow(MessageHandler handler);

// Registers "TouchOverlay" and creates the layered, top-most, non-activating popup over the primary
// screen on the calling thread, hidden; 0 on failure.
WindowId createOverlayWindow(ModuleId instance, MessageHandler handler);
// Cuts the rectangle of `excluded` (when set) out of the overlay, makes it almost transparent and shows it.
void showOverlayWindow(WindowId overlay, WindowId excluded);

// The host executable's module, which the capture windows and their classes belong to.
ModuleId processModule();
// The window exists, is enabled and is visible.
bool isWindowShown(WindowId window);

// Pumps the calling thread's messages until its quit message.
void runMessageLoop();
// Ends the calling thread's message loop once the current message is handled.
void postQuit();
bool postMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
// Hands the message to the window's handler on the window's own thread and returns once it ran (at
// once on that thread itself); false when the window is gone or its thread did not answer within
// `milliseconds`.
bool sendMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                 unsigned milliseconds);
bool destroyWindow(WindowId window);

// A timer of the window whose expiry arrives as a timer message (wParam = id) through the handler;
// returns the timer's id, 0 on failure. Setting an existing id restarts it.
TimerId setTimer(WindowId window, TimerId id, unsigned milliseconds);
void killTimer(WindowId window, TimerId id);

// Hot key 0 of the window: modifiers (Alt 1, Ctrl 2, Shift 4, Win 8) and key, without auto-repeat.
// false with the system's error code.
bool registerHotKey(WindowId window, std::uint32_t modifiers, std::uint32_t key, std::uint32_t& error);
bool unregisterHotKey(WindowId window);

} // namespace platform::ui
