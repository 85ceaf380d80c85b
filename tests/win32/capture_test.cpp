// The touch capturer through strokecast.dll under Wine: its window, the hot key and the overlay.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "tests/win32/dll_loader.h"

namespace {

bool waitFor(const std::function<bool()>& done, int milliseconds = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Sleep(10);
    }
    return true;
}

HWND capturerWindow() {
    return FindWindowExW(HWND_MESSAGE, nullptr, L"Message", L"TouchCapturer Wnd");
}
HWND overlayWindow() {
    return FindWindowW(L"TouchOverlay", L"TouchOverlay");
}

// Whether Ctrl+Alt+key is taken, asked by trying to take it for a moment. The probe itself holds the key
// for that moment, so it is asked only once the capturer thread has handled its requests.
bool hotKeyTaken(UINT key) {
    if (!RegisterHotKey(nullptr, 0x7777, MOD_ALT | MOD_CONTROL | MOD_NOREPEAT, key))
        return true;
    UnregisterHotKey(nullptr, 0x7777);
    return false;
}

// Requests posted to the capturer thread are handled within a few milliseconds.
void settle() {
    Sleep(200);
}

void pressHotKey(WORD key) {
    INPUT in[6]{};
    const WORD keys[] = {VK_CONTROL, VK_MENU, key};
    for (int i = 0; i < 3; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[5 - i].type = INPUT_KEYBOARD;
        in[5 - i].ki.wVk = keys[i];
        in[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(6, in, sizeof(INPUT)), 6u);
}

class Capture : public testing::Test {
  protected:
    void SetUp() override {
        sctest::strokecastModule();
        // The charm-bar watch starts with the broker: at opening, or at the first call after a slow start.
        testing::internal::CaptureStdout();
        SC_FN(OpenTouchCapturer)();
        ASSERT_TRUE(waitFor([] { return capturerWindow() != nullptr; }));
        SC_FN(SetCharmBarCptEnable)(0);
        openOutput = testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        SC_FN(CloseTouchCapturer)();
        EXPECT_TRUE(waitFor([] { return capturerWindow() == nullptr; }));
    }
    std::string openOutput;
};

TEST_F(Capture, OpeningSetsUpTheWindowAndReportsTheMissingAutomation) {
    HWND window = capturerWindow();
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    EXPECT_EQ(pid, GetCurrentProcessId());
    // Wine registers no UI Automation class: the watch is missing, everything else works.
    EXPECT_EQ(openOutput, "CoCreateInstance in InitIUIAutomation fail\nsetCharmBarCaptureEnable : 0\n");
    SC_FN(OpenTouchCapturer)(); // a second open changes nothing
    EXPECT_EQ(capturerWindow(), window);
}

TEST_F(Capture, ClosingAndOpeningAgainGivesAFreshWindow) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        SC_FN(CloseTouchCapturer)();
        ASSERT_TRUE(waitFor([] { return capturerWindow() == nullptr; }));
        SC_FN(CloseTouchCapturer)(); // closing while closed changes nothing
        SC_FN(OpenTouchCapturer)();
        ASSERT_NE(capturerWindow(), nullptr); // open waits for the window
    }
}

TEST_F(Capture, SetHotKeyRegistersReplacesAndUnregisters) {
    testing::internal::CaptureStdout();
    SC_FN(SetHotKey)(1, 'K');
    settle();
    EXPECT_TRUE(hotKeyTaken('K'));
    SC_FN(SetHotKey)(1, 'J');
    settle();
    EXPECT_TRUE(hotKeyTaken('J'));
    EXPECT_FALSE(hotKeyTaken('K'));
    SC_FN(SetHotKey)(2, 'J'); // only 1 switches on
    settle();
    EXPECT_FALSE(hotKeyTaken('J'));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "setHotKey : 1 , K\nhot_key_in_use : 0\nsetHotKey : 1 , J\nhot_key_in_use : 1\n"
                   "setHotKey : 0 , J\nhot_key_in_use : 1\n");
}

TEST_F(Capture, ClosingGivesTheHotKeyBack) {
    SC_FN(SetHotKey)(1, 'K');
    settle();
    ASSERT_TRUE(hotKeyTaken('K'));
    SC_FN(CloseTouchCapturer)();
    EXPECT_TRUE(waitFor([] { return !hotKeyTaken('K'); }));
    SC_FN(OpenTouchCapturer)();
}

TEST_F(Capture, HotKeyHeldByAnotherProcessReportsTheError) {
    const std::wstring eventName = L"sc_hotkey_ready_" + std::to_wstring(GetCurrentProcessId());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = readEnd;
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + sctest::exeFolder() + L"hotkey_holder.exe\" L " + eventName;
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(readEnd);
    ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);

    testing::internal::CaptureStdout();
    SC_FN(SetHotKey)(1, 'L');
    settle();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("last error : 1409\n"), std::string::npos) << out;

    CloseHandle(writeEnd);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(ready);
}

TEST_F(Capture, HotKeyShowsTheOverlayAndASecondPressDismissesIt) {
    SC_FN(SetHotKey)(1, 'O');
    settle();
    ASSERT_TRUE(hotKeyTaken('O'));
    pressHotKey('O');
    ASSERT_TRUE(waitFor([] { return overlayWindow() != nullptr && IsWindowVisible(overlayWindow()); }));
    HWND overlay = overlayWindow();
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(overlay, GWL_EXSTYLE)), 0x08080088u);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(overlay, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CHILD | WS_CAPTION | WS_THICKFRAME), WS_POPUP | WS_VISIBLE);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(overlay, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 30);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    RECT rect{};
    GetWindowRect(overlay, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(overlay, region), ERROR); // no charm bar: no region
    DeleteObject(region);

    pressHotKey('O'); // before any touch: the overlay goes at once
    EXPECT_TRUE(waitFor([overlay] { return !IsWindow(overlay); }));
    pressHotKey('O'); // and the next press shows a new one
    EXPECT_TRUE(waitFor([] { return overlayWindow() != nullptr; }));
}

TEST_F(Capture, ClosingTheCapturerDismissesTheOverlay) {
    SC_FN(SetHotKey)(1, 'O');
    settle();
    ASSERT_TRUE(hotKeyTaken('O'));
    pressHotKey('O');
    ASSERT_TRUE(waitFor([] { return overlayWindow() != nullptr; }));
    HWND overlay = overlayWindow();
    SC_FN(CloseTouchCapturer)();
    EXPECT_TRUE(waitFor([overlay] { return !IsWindow(overlay); }));
    SC_FN(OpenTouchCapturer)();
}

TEST_F(Capture, ExportsDoNothingWhileClosed) {
    SC_FN(CloseTouchCapturer)();
    ASSERT_TRUE(waitFor([] { return capturerWindow() == nullptr; }));
    testing::internal::CaptureStdout();
    SC_FN(SetHotKey)(1, 'K');
    SC_FN(SetCharmBarCptEnable)(1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(hotKeyTaken('K'));
    SC_FN(OpenTouchCapturer)();
}

} // namespace
