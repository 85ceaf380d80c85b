// The touch capturer through strokecast.dll under Wine: its window, the hot key and the overlay.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/shared_list.h"
#include "tests/win32/dll_loader.h"
#include "tests/win32/queue_watch.h"

namespace {

// Every wait is for an event, with a deadline far beyond what a loaded machine needs.
bool waitFor(const std::function<bool()>& done, int milliseconds = 20000) {
    return sctest::waitUntil(done, milliseconds);
}

HWND capturerWindow() {
    return FindWindowExW(HWND_MESSAGE, nullptr, L"Message", L"TouchCapturer Wnd");
}
HWND overlayWindow() {
    return FindWindowW(L"TouchOverlay", L"TouchOverlay");
}
DWORD threadOf(HWND window) {
    return GetWindowThreadProcessId(window, nullptr);
}

// Whether Ctrl+Alt+key is taken, asked by trying to take it for a moment. The probe itself holds the key
// for that moment, so it is asked only once the capturer thread has handled its requests.
bool hotKeyTaken(UINT key) {
    if (!RegisterHotKey(nullptr, 0x7777, MOD_ALT | MOD_CONTROL | MOD_NOREPEAT, key))
        return true;
    UnregisterHotKey(nullptr, 0x7777);
    return false;
}

// Waits until the capturer thread has handled every hot key request posted to it so far: it has taken a
// marker posted after them (requests and marker come from this thread, so they queue in that order).
void settle() {
    sctest::QueueWatch capturer(threadOf(capturerWindow()));
    ASSERT_TRUE(capturer.hooked());
    ASSERT_TRUE(capturer.flush());
}

// Key events seen system-wide through a low-level keyboard hook on a thread of its own.
class KeyWatch {
  public:
    struct Event {
        DWORD vk;
        bool up;
        DWORD time;
    };

    KeyWatch() {
        instance = this;
        thread_ = std::thread([this] {
            HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, proc, GetModuleHandleW(nullptr), 0);
            threadId_ = GetCurrentThreadId();
            ready_ = hook != nullptr ? 1 : -1;
            MSG m;
            while (GetMessageW(&m, nullptr, 0, 0) > 0) {
            }
            if (hook)
                UnhookWindowsHookEx(hook);
        });
        while (ready_ == 0)
            Sleep(1);
    }
    ~KeyWatch() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        instance = nullptr;
    }
    bool hooked() const { return ready_ == 1; }
    std::vector<Event> events() const { return events_.items(); }
    void clear() { events_.clear(); }

  private:
    static LRESULT CALLBACK proc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && instance) {
            const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
            instance->events_.add({info->vkCode, (info->flags & LLKHF_UP) != 0, GetTickCount()});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline KeyWatch* instance = nullptr;
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<int> ready_{0};
    sc::SharedList<Event> events_;
};

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
  public:
    static void SetUpTestSuite() {
        // The first input of a fresh Wine session can be lost while its desktop process starts; harmless
        // Shift presses, repeated until a low-level hook has seen one, keep the hot key tests independent
        // of running first.
        KeyWatch watch;
        INPUT shift[2]{};
        shift[0].type = shift[1].type = INPUT_KEYBOARD;
        shift[0].ki.wVk = shift[1].ki.wVk = VK_SHIFT;
        shift[1].ki.dwFlags = KEYEVENTF_KEYUP;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        do {
            SendInput(2, shift, sizeof(INPUT));
            if (!watch.hooked() || waitFor([&watch] { return watch.events().size() >= 2; }, 1000))
                return;
        } while (std::chrono::steady_clock::now() < end);
    }

  protected:
    void SetUp() override {
        sctest::strokecastModule();
        // The charm-bar watch starts with the broker: at opening, or at the first call after a slow start.
        testing::internal::CaptureStdout();
        SC_FN(OpenTouchCapturer)();
        // A cold process under a loaded machine can take seconds for its first window.
        const bool opened = waitFor([] { return capturerWindow() != nullptr; });
        SC_FN(SetCharmBarCptEnable)(0);
        openOutput = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(opened);
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
        // Opening waits half a second for the window; a loaded machine may need longer.
        ASSERT_TRUE(waitFor([] { return capturerWindow() != nullptr; }));
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
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);

    testing::internal::CaptureStdout();
    SC_FN(SetHotKey)(1, 'L');
    settle();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("last error : 1409\n"), std::string::npos) << out;

    // StrokecastSetHotKeyEx answers at once: the held key is refused with the reason, the key before stays.
    ASSERT_EQ(SC_FN(StrokecastSetHotKeyEx)(MOD_CONTROL | MOD_ALT, 'M'), 1);
    EXPECT_TRUE(hotKeyTaken('M'));
    EXPECT_EQ(SC_FN(StrokecastSetHotKeyEx)(MOD_CONTROL | MOD_ALT, 'L'), 0);
    wchar_t why[256] = L"";
    ASSERT_GT(SC_FN(StrokecastLastError)(why, 256), 0);
    EXPECT_STREQ(why, L"hot key Ctrl+Alt+L is taken by another program (error 1409)");
    EXPECT_TRUE(hotKeyTaken('M'));
    EXPECT_EQ(SC_FN(StrokecastSetHotKeyEx)(0, 0), 1);
    EXPECT_FALSE(hotKeyTaken('M'));

    CloseHandle(writeEnd);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
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

namespace {

void writeUtf16(const std::wstring& path, const std::wstring& text) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    for (wchar_t c : text) {
        std::fputc(c & 0xFF, f);
        std::fputc((c >> 8) & 0xFF, f);
    }
    std::fclose(f);
}

std::wstring templateLine(const wchar_t* name, int dx, int dy) {
    std::wstring line = name;
    for (int i = 0; i < 20; ++i)
        line += L"," + std::to_wstring(100 + i * dx) + L"," + std::to_wstring(100 + i * dy);
    return line + L"\n";
}

// Points of a stroke: `count` points from (200, 300) in steps of (dx, dy), every other one moved down by
// `zigzag`.
std::vector<POINT> line(int count, int dx, int dy, int zigzag = 0) {
    std::vector<POINT> points;
    for (int i = 0; i < count; ++i)
        points.push_back({200 + i * dx, 300 + i * dy + ((i % 2) ? zigzag : 0)});
    return points;
}

// The four key events of Ctrl+C, and nothing before or after them.
void expectCtrlC(const std::vector<KeyWatch::Event>& events) {
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].vk, static_cast<DWORD>(VK_CONTROL));
    EXPECT_FALSE(events[0].up);
    EXPECT_EQ(events[1].vk, static_cast<DWORD>('C'));
    EXPECT_FALSE(events[1].up);
    EXPECT_EQ(events[2].vk, static_cast<DWORD>('C'));
    EXPECT_TRUE(events[2].up);
    EXPECT_EQ(events[3].vk, static_cast<DWORD>(VK_CONTROL));
    EXPECT_TRUE(events[3].up);
}

constexpr UINT kCapturePoint = 0x468;

// The capturer, both managers and one gesture bound to Ctrl+C, as a resident host sets them up.
class CaptureToAction : public testing::Test {
  protected:
    static void SetUpTestSuite() { Capture::SetUpTestSuite(); }
    void SetUp() override {
        folder = sctest::freshTempFolder(L"capture");
        writeUtf16(folder + L"\\defaults.configure",
                   templateLine(L"line_right", 12, 0) + templateLine(L"line_down", 0, 12));
        writeUtf16(folder + L"\\MyGesture.configure", L"");
        testing::internal::CaptureStdout();
        SC_FN(OpenGestureManager)((folder + L"\\defaults.configure").c_str(), folder.c_str());
        SC_FN(OpenActionManager)(folder.c_str());
        const int32_t bound = SC_FN(SetGestureToAction)(L"line_right", L"CTRL_C");
        SC_FN(SetGestureSwitch)(L"line_right", 1);
        SC_FN(SetGestureSwitch)(L"GLOBAL", 0);
        SC_FN(OpenTouchCapturer)();
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(bound, 1);
        ASSERT_TRUE(waitFor([] { return capturerWindow() != nullptr; }));
        window = capturerWindow();
        ASSERT_TRUE(keys.hooked());
        capturer = std::make_unique<sctest::QueueWatch>(threadOf(window));
        ASSERT_TRUE(capturer->hooked());
    }
    void TearDown() override {
        capturer.reset();
        SC_FN(CloseTouchCapturer)();
        SC_FN(CloseActionNanager)();
        SC_FN(CloseGestureManager)();
        waitFor([] { return capturerWindow() == nullptr; });
    }
    // Posts the points as the overlay does, all while the capturer thread is held: they reach it back to
    // back, so no stall of either thread can let the 300 ms stroke timer end the stroke among them. Returns
    // the tick at which the capturer took the last point; its stroke timer starts after that.
    DWORD stroke(const std::vector<POINT>& points) {
        const std::size_t before = capturer->count(kCapturePoint, window);
        EXPECT_TRUE(capturer->hold());
        for (const POINT& p : points)
            EXPECT_TRUE(
                PostMessageW(window, kCapturePoint, static_cast<WPARAM>(p.x), static_cast<LPARAM>(p.y)));
        capturer->release();
        EXPECT_TRUE(
            waitFor([&] { return capturer->count(kCapturePoint, window) == before + points.size(); }));
        sctest::QueueWatch::Taken last{};
        EXPECT_TRUE(capturer->last(kCapturePoint, last));
        return last.tick;
    }
    std::size_t timersTaken() const { return capturer->count(WM_TIMER, window); }
    // Whether the stroke ended: the stroke timer went off after `timersBefore` timers, and the capturer
    // thread has finished handling it (it took a marker posted after it), actions included.
    bool strokeEnded(std::size_t timersBefore) {
        return waitFor([&] { return timersTaken() > timersBefore; }) && capturer->flush();
    }
    // A recognised stroke sent after a stroke that must run nothing: the capturer ends strokes one after the
    // other on its one thread, so any key of the earlier stroke would arrive ahead of these four.
    void expectOnlyTheControlStrokesKeys() {
        stroke(line(30, 15, 0));
        ASSERT_TRUE(waitFor([this] { return keys.events().size() >= 4; }));
        expectCtrlC(keys.events());
    }

    std::wstring folder;
    HWND window = nullptr;
    KeyWatch keys;
    std::unique_ptr<sctest::QueueWatch> capturer;
};

TEST_F(CaptureToAction, ARecognisedStrokeRunsItsActionOnceItsPauseIsOver) {
    for (int count : {11, 30}) {
        SCOPED_TRACE(count);
        keys.clear();
        const DWORD last = stroke(line(count, 15, 0));
        ASSERT_TRUE(waitFor([this] { return keys.events().size() >= 4; }));
        const auto events = keys.events();
        expectCtrlC(events);
        // Nothing runs before the stroke has paused for 300 ms (tick counts are coarse: some slack).
        EXPECT_GE(events[0].time - last, 250u);
    }
}

TEST_F(CaptureToAction, ShortUnknownAndUnboundStrokesRunNothing) {
    std::vector<POINT> tenOfTwenty; // every other point too close to the one before: ten are kept
    for (int i = 0; i < 20; ++i)
        tenOfTwenty.push_back({200 + (i / 2) * 15 + (i % 2) * 5, 300});
    struct Case {
        const char* what;
        std::vector<POINT> points;
    };
    const Case cases[] = {
        {"ten points", line(10, 15, 0)},
        {"ten kept of twenty", tenOfTwenty},
        {"unknown shape", line(30, 12, 0, 60)},
        {"bound to nothing", line(30, 0, 15)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        keys.clear();
        const std::size_t timers = timersTaken();
        stroke(c.points);
        ASSERT_TRUE(strokeEnded(timers));
        EXPECT_TRUE(keys.events().empty());
        expectOnlyTheControlStrokesKeys();
    }
}

TEST_F(CaptureToAction, PointsComeBeforeManagersAreOpenedAndWorkAfter) {
    SC_FN(CloseGestureManager)();
    const std::size_t timers = timersTaken();
    stroke(line(30, 15, 0));
    ASSERT_TRUE(strokeEnded(timers));
    EXPECT_TRUE(keys.events().empty()); // no gesture manager: no name, nothing runs
    testing::internal::CaptureStdout();
    SC_FN(OpenGestureManager)((folder + L"\\defaults.configure").c_str(), folder.c_str());
    testing::internal::GetCapturedStdout();
    expectOnlyTheControlStrokesKeys(); // and the same stroke runs its action now
}

// What the stroke sink was told, from the capture thread.
struct SinkEntry {
    std::size_t points;
    std::wstring name;
    double score;
    int32_t status;
};
using SinkLog = sc::SharedList<SinkEntry>;

void STROKECAST_CALL logStroke(const uint16_t* points, const sc_char* name, double score, int32_t status,
                               void* context) {
    std::size_t count = 0;
    while (points[2 * count] != 0)
        ++count;
    static_cast<SinkLog*>(context)->add({count, name, score, status});
}

TEST_F(CaptureToAction, EveryStrokeReachesTheStrokeSinkAndRecordModeRunsNothing) {
    SinkLog log;
    SC_FN(StrokecastSetStrokeSink)(logStroke, &log);
    keys.clear();
    stroke(line(30, 15, 0));
    ASSERT_TRUE(waitFor([&] { return keys.events().size() >= 4 && log.items().size() >= 1; }));
    expectCtrlC(keys.events());
    SinkEntry e = log.items().at(0);
    EXPECT_EQ(e.points, 30u);
    EXPECT_EQ(e.name, L"line_right");
    EXPECT_EQ(e.score, 100.0);
    EXPECT_EQ(e.status, STROKECAST_ACTION_RAN);

    ASSERT_EQ(SC_FN(StrokecastSetCaptureMode)(1), 1);
    keys.clear();
    std::size_t timers = timersTaken();
    stroke(line(30, 15, 0));
    ASSERT_TRUE(strokeEnded(timers));
    ASSERT_EQ(log.items().size(), 2u);
    e = log.items().at(1);
    EXPECT_EQ(e.name, L"line_right");
    EXPECT_EQ(e.status, STROKECAST_ACTION_RECORDING);
    EXPECT_TRUE(keys.events().empty());

    ASSERT_EQ(SC_FN(StrokecastSetCaptureMode)(0), 1);
    timers = timersTaken();
    stroke(line(30, 0, 15)); // line_down: recognised, bound to nothing
    ASSERT_TRUE(strokeEnded(timers));
    ASSERT_EQ(log.items().size(), 3u);
    EXPECT_EQ(log.items().at(2).name, L"line_down");
    EXPECT_EQ(log.items().at(2).status, STROKECAST_ACTION_SWITCHED_OFF);

    SC_FN(StrokecastSetStrokeSink)(nullptr, nullptr);
    expectOnlyTheControlStrokesKeys();
    EXPECT_EQ(log.items().size(), 3u); // cleared: no call after the setter returned
}

} // namespace
