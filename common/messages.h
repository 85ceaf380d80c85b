// The capturer window as other programs find it, and the message numbers of the capture windows: the two
// private ones and the system ones they handle.
#pragma once

#include <string_view>

namespace sc::msg {

// The message-only window of the capture thread: its class and title.
inline constexpr std::u16string_view kCapturerClass = u"Message";
inline constexpr std::u16string_view kCapturerTitle = u"TouchCapturer Wnd";

inline constexpr unsigned kUser = 0x0400;
// wParam, lParam: x and y of a touch point in screen pixels, each sign-extended from 32 bits.
inline constexpr unsigned kCapturePoint = kUser + 104; // 0x468
// wParam: virtual-key code; lParam 1: unregister the hot key, any other value: register wParam.
inline constexpr unsigned kCaptureHotKey = kUser + 110; // 0x46E

inline constexpr unsigned kDestroy = 0x0002;
inline constexpr unsigned kClose = 0x0010;
inline constexpr unsigned kTimer = 0x0113;
inline constexpr unsigned kHotKey = 0x0312;
inline constexpr unsigned kMouseMove = 0x0200;
inline constexpr unsigned kLButtonUp = 0x0202;
inline constexpr unsigned kRButtonUp = 0x0205;
inline constexpr unsigned kMButtonUp = 0x0208;
inline constexpr unsigned kPointerUpdate = 0x0245;
inline constexpr unsigned kPointerDown = 0x0246;
inline constexpr unsigned kPointerUp = 0x0247;

} // namespace sc::msg
