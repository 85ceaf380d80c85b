// The capture windows for real: threads, window classes, message loops, timers and the hot key.
#include "platform/ui.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "common/console.h"
#include "common/messages.h"
#include "platform/win32/handles.h"

namespace platform::ui {
namespace {

HWND hwnd(WindowId window) {
    return reinterpret_cast<HWND>(window);
}
WindowId id(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

// The handler of a window being created on this thread, until its first message claims it. A window
// keeps its handler behind a shared pointer, and each call holds a copy: a handler that destroys its own
// window is not freed while it runs.
using SharedHandler = std::shared_ptr<MessageHandler>;
thread_local SharedHandler* pendingHandler = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* stored = reinterpret_cast<SharedHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!stored && pendingHandler) {
        stored = std::exchange(pendingHandler, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(stored));
    }
    bool handled = false;
    if (stored) {
        const SharedHandler handler = *stored;
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            delete stored;
        }
        try {
            handled = (*handler)(id(window), message, wParam, lParam);
        } catch (...) {
            sc::trace::line(u"window procedure failed");
        }
    }
    return handled ? 0 : DefWindowProcW(window, message, wParam, lParam);
}

// A class left behind by an earlier load of this library points at code that is gone: replace it.
// A class of the same name with our procedure (a second capturer, or the overlay's every start) is used.
bool ensureClass(const wchar_t* name, HINSTANCE instance, bool (*registerIt)(HINSTANCE)) {
    if (registerIt(instance))
        return true;
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(instance, name, &existing))
        return false;
    if (existing.lpfnWndProc == windowProc)
        return true;
    return UnregisterClassW(name, instance) && registerIt(instance);
}

const std::wstring kCapturerClass = win32::wide(sc::msg::kCapturerClass);

bool registerCapturerClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kCapturerClass.c_str();
    return RegisterClassExW(&wc) != 0;
}

bool registerOverlayClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 0));
    wc.lpszClassName = L"TouchOverlay";
    if (RegisterClassW(&wc) != 0)
        return true;
    DeleteObject(wc.hbrBackground);
    return false;
}

// Creates a window whose first message hands it the handler; the handler is freed with the window.
HWND createWithHandler(MessageHandler handler, DWORD exStyle, const wchar_t* className, const wchar_t* title,
                       DWORD style, int width, int height, HWND parent, HINSTANCE instance) {
    auto owned = std::make_unique<SharedHandler>(std::make_shared<MessageHandler>(std::move(handler)));
    pendingHandler = owned.get();
    HWND window = CreateWindowExW(exStyle, className, title, style, 0, 0, width, height, parent, nullptr,
                                  instance, nullptr);
    if (pendingHandler) {
        // No message reached the procedure, so nothing claimed the handler.
        pendingHandler = nullptr;
        if (window)
            DestroyWindow(window);
        return nullptr;
    }
    owned.release(); // the window owns it now, also when creation failed after the first message
    return window;
}

struct ThreadStart {
    std::function<void()> body;
    HMODULE module;
};

DWORD WINAPI threadProc(void* parameter) {
    HMODULE module = nullptr;
    {
        std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
        module = start->module;
        try {
            start->body();
        } catch (...) {
            sc::trace::line(u"capture thread failed");
        }
    }
    // The library stays loaded until this thread is out of its code.
    FreeLibraryAndExitThread(module, 0);
}

} // namespace

bool startThread(std::function<void()> body) {
    auto start = std::make_unique<ThreadStart>();
    start->body = std::move(body);
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&threadProc),
                            &start->module))
        return false;
    HANDLE thread = CreateThread(nullptr, 0, threadProc, start.get(), 0, nullptr);
    if (!thread) {
        FreeLibrary(start->module);
        return false;
    }
    start.release();
    CloseHandle(thread);
    return true;
}

WindowId createCapturerWindow(MessageHandler handler) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!ensureClass(kCapturerClass.c_str(), instance, registerCapturerClass))
        return 0;
    const std::wstring title = win32::wide(sc::msg::kCapturerTitle);
    return id(createWithHandler(std::move(handler), 0, kCapturerClass.c_str(), title.c_str(), 0, 0, 0,
                                HWND_MESSAGE, nullptr));
}

WindowId createOverlayWindow(ModuleId instanceId, MessageHandler handler) {
    auto instance = reinterpret_cast<HINSTANCE>(instanceId);
    if (!ensureClass(L"TouchOverlay", instance, registerOverlayClass))
        return 0;
    const DWORD exStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    return id(createWithHandler(std::move(handler), exStyle, L"TouchOverlay", L"TouchOverlay", WS_POPUP,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                instance));
}

void showOverlayWindow(WindowId overlay, WindowId excluded) {
    RECT overlayRect{};
    RECT excludedRect{};
    if (excluded != 0 && GetWindowRect(hwnd(overlay), &overlayRect) &&
        GetWindowRect(hwnd(excluded), &excludedRect)) {
        // The overlay sits at the screen's origin, so screen and window coordinates agree.
        RECT rest{};
        SubtractRect(&rest, &overlayRect, &excludedRect);
        HRGN region = CreateRectRgnIndirect(&rest);
        if (region && !SetWindowRgn(hwnd(overlay), region, TRUE))
            DeleteObject(region);
    }
    SetLayeredWindowAttributes(hwnd(overlay), 0, 30, LWA_ALPHA);
    ShowWindow(hwnd(overlay), SW_SHOWNORMAL);
    UpdateWindow(hwnd(overlay));
}

ModuleId processModule() {
    return reinterpret_cast<ModuleId>(GetModuleHandleW(nullptr));
}

bool isWindowShown(WindowId window) {
    return IsWindowEnabled(hwnd(window)) && IsWindowVisible(hwnd(window));
}

void runMessageLoop() {
    MSG m;
    for (;;) {
        const BOOL got = GetMessageW(&m, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void postQuit() {
    PostQuitMessage(0);
}

bool postMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return PostMessageW(hwnd(window), message, wParam, lParam) != 0;
}

bool sendMessage(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                 unsigned milliseconds) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(hwnd(window), message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               milliseconds, &ignored) != 0;
}

bool destroyWindow(WindowId window) {
    return DestroyWindow(hwnd(window)) != 0;
}

TimerId setTimer(WindowId window, TimerId timer, unsigned milliseconds) {
    return SetTimer(hwnd(window), timer, milliseconds, nullptr);
}

void killTimer(WindowId window, TimerId timer) {
    KillTimer(hwnd(window), timer);
}

bool registerHotKey(WindowId window, std::uint32_t modifiers, std::uint32_t key, std::uint32_t& error) {
    const UINT mods = (modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN)) | MOD_NOREPEAT;
    if (RegisterHotKey(hwnd(window), 0, mods, key))
        return true;
    error = GetLastError();
    return false;
}

bool unregisterHotKey(WindowId window) {
    return UnregisterHotKey(hwnd(window), 0) != 0;
}

} // namespace platform::ui
