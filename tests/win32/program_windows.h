// Starting the programs and finding their windows from a test, as the shell and a person find them: top-level
// windows by class and process, a window's text, and the resident's capturer window that strokes are posted
// to.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sctest {

inline DWORD ownerOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// Top-level windows of a class (one process's, or any when pid is 0), message-only ones included.
inline std::vector<HWND> windowsOf(const wchar_t* className, DWORD pid) {
    struct Found {
        DWORD pid;
        const wchar_t* className;
        std::vector<HWND> windows;
    } found{pid, className, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* f = reinterpret_cast<Found*>(context);
            wchar_t name[128];
            if (GetClassNameW(window, name, 128) && std::wstring(name) == f->className &&
                (f->pid == 0 || ownerOf(window) == f->pid))
                f->windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

inline std::wstring textOf(HWND window) {
    wchar_t text[4096] = L"";
    GetWindowTextW(window, text, 4096);
    return text;
}

// The capturer window of a process's touch capturer, or null while it has none.
inline HWND capturerOf(DWORD pid) {
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, L"Message", L"TouchCapturer Wnd"); w;
         w = FindWindowExW(HWND_MESSAGE, w, L"Message", L"TouchCapturer Wnd"))
        if (ownerOf(w) == pid)
            return w;
    return nullptr;
}

// Starts a program that sits beside the test exe with the command line's arguments.
inline bool startProgram(const std::wstring& commandLine, PROCESS_INFORMATION& info) {
    std::wstring command = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info) != FALSE;
}

// Posts a stroke (the recognizeGesture format) to a capturer window point by point, as the overlay does.
inline bool postStroke(HWND capturer, const std::vector<uint16_t>& track) {
    for (std::size_t i = 0; i + 1 < track.size() && track[i] != 0; i += 2)
        if (!PostMessageW(capturer, 0x468, track[i], track[i + 1]))
            return false;
    return true;
}

} // namespace sctest
