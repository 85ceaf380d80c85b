// Small window helpers the settings program's windows share: window classes, DPI scaling, fonts and
// child creation.
#pragma once

#include <windows.h>

#include <string>

namespace settings {

// How a window class of the program looks before its window paints anything.
struct ClassLook {
    LPCWSTR cursor = IDC_ARROW;
    bool dialogFace = true; // the dialog colour behind it; a window that paints all of itself needs none
    bool icon = false;      // the program's icon, for windows with a title bar
};

inline void registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, ClassLook look = {}) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, look.cursor);
    wc.hbrBackground = look.dialogFace ? GetSysColorBrush(COLOR_BTNFACE) : nullptr;
    wc.hIcon = look.icon ? LoadIconW(instance, MAKEINTRESOURCEW(1)) : nullptr;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

inline int scaled(int value, int dpi) {
    return MulDiv(value, dpi, 96);
}

// The message font at the window's DPI; the caller deletes it.
inline HFONT messageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                    static_cast<UINT>(dpi))) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, 96);
    }
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

inline HWND child(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id,
                  DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

inline void setFontAll(HWND parent, HFONT font) {
    SendMessageW(parent, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM f) -> BOOL {
            SendMessageW(w, WM_SETFONT, static_cast<WPARAM>(f), TRUE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

inline void place(HWND window, int x, int y, int w, int h) {
    SetWindowPos(window, nullptr, x, y, w > 0 ? w : 0, h > 0 ? h : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

inline std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace settings
