// The action exports of the real strokecast.dll: files and their bytes, the shared mutex across
// processes, key actions seen by a low-level keyboard hook, and a desktop launch through the shell.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/win32/dll_loader.h"

#include <objbase.h>
#include <tlhelp32.h>

namespace {

using sctest::exists;
using sctest::exitCodeOf;
using sctest::readBytes;
using sctest::startPeer;
using sctest::utf16le;
using sctest::writeBytes;

const wchar_t* kMutexName = L"ed486497-d970-4a4e-87eb-93d9ed274914";

// Starts the helper process with the arguments; the handle is closed by the caller.
// Ends the explorer.exe processes this test started: they linger after the launch and would keep
// the runner's output pipe open.
void endExplorerChildren() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != GetCurrentProcessId() ||
            _wcsicmp(entry.szExeFile, L"explorer.exe") != 0)
            continue;
        if (HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(child, 0);
            WaitForSingleObject(child, 5000);
            CloseHandle(child);
        }
    }
    CloseHandle(snapshot);
}

class ActionDll : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = sctest::freshTempFolder(L"act");
        SC_FN(CloseActionNanager)();
    }
    void TearDown() override { SC_FN(CloseActionNanager)(); }
    void open() { SC_FN(OpenActionManager)(folder.c_str()); }
    std::wstring file(const wchar_t* name) const { return folder + L"\\" + name; }
    int bind(const wchar_t* gesture, const wchar_t* action) {
        return SC_FN(SetGestureToAction)(gesture, action);
    }

    std::wstring folder;
};

TEST_F(ActionDll, WritesTheFilesByteForByte) {
    open();
    EXPECT_EQ(readBytes(file(L"action.configure_v2")), utf16le(L"Quorvex Setting CFG\nGLOBAL,0\n"));
    EXPECT_EQ(readBytes(file(L"gestureToAction.configure_v2")), utf16le(L"Quorvex Setting CFG\n"));
    ASSERT_EQ(bind(L"star", L"UNDO"), 1);
    ASSERT_EQ(bind(L"Circle", L"REDO"), 1);
    EXPECT_EQ(readBytes(file(L"gestureToAction.configure_v2")),
              utf16le(L"Quorvex Setting CFG\nstar,UNDO\nCircle,REDO\n"));
    ASSERT_EQ(bind(L"star", L"NULL"), 1);
    EXPECT_EQ(readBytes(file(L"gestureToAction.configure_v2")),
              utf16le(L"Quorvex Setting CFG\nCircle,REDO\n"));
    EXPECT_EQ(readBytes(file(L"action.configure_v2")), utf16le(L"Quorvex Setting CFG\nCircle,1\nGLOBAL,0\n"));
    ASSERT_EQ(SC_FN(AddCustomAction)(L"DESKTOP:\\pad", L"C:\\pad \u00E9.exe"), 1);
    EXPECT_EQ(readBytes(file(L"custom_action.configure")), utf16le(L"DESKTOP:\\pad|C:\\pad \u00E9.exe\n"));
    // No temporary file of the atomic rewrites is left behind.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.tmp*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST_F(ActionDll, ConvertsOldEightBitFilesOnce) {
    writeBytes(file(L"action.configure"), "GLOBAL,0\r\ncaf\xE9,0\r\n");
    writeBytes(file(L"gestureToAction.configure"), "caf\xE9,MUTE_KEY\n");
    open();
    EXPECT_EQ(readBytes(file(L"action.configure_v2")),
              utf16le(L"Quorvex Setting CFG\nGLOBAL,0\ncaf\u00E9,0\n"));
    EXPECT_EQ(readBytes(file(L"gestureToAction.configure_v2")),
              utf16le(L"Quorvex Setting CFG\ncaf\u00E9,MUTE_KEY\n"));
    EXPECT_FALSE(exists(file(L"action.configure")));
    EXPECT_FALSE(exists(file(L"gestureToAction.configure")));
    wchar_t action[32];
    EXPECT_EQ(SC_FN(GetActionOfGesture)(L"caf\u00E9", action, 32), 9);
    EXPECT_EQ(SC_FN(GetGestureSwitch)(L"caf\u00E9"), 0);
}

TEST_F(ActionDll, AWriteWaitsWhileAnotherProcessHoldsTheMutex) {
    open();
    const std::wstring tag = L"sc_act_hold_" + std::to_wstring(GetCurrentProcessId());
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, (tag + L"_held").c_str());
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, (tag + L"_release").c_str());
    HANDLE peer = startPeer(L"hold " + tag);
    ASSERT_NE(peer, nullptr);
    ASSERT_EQ(WaitForSingleObject(held, 20000), WAIT_OBJECT_0);

    std::atomic<int> result{-1};
    std::thread writer([&] { result = SC_FN(SetGestureToAction)(L"G", L"UNDO"); });
    Sleep(400);
    EXPECT_EQ(result.load(), -1); // still waiting for the peer
    EXPECT_EQ(readBytes(file(L"gestureToAction.configure_v2")), utf16le(L"Quorvex Setting CFG\n"));
    SetEvent(release);
    writer.join();
    EXPECT_EQ(result.load(), 1);
    EXPECT_EQ(readBytes(file(L"gestureToAction.configure_v2")), utf16le(L"Quorvex Setting CFG\nG,UNDO\n"));
    EXPECT_EQ(exitCodeOf(peer), 0u);
    CloseHandle(held);
    CloseHandle(release);
}

TEST_F(ActionDll, AnAbandonedMutexIsTakenAndNotKept) {
    open();
    const std::wstring tag = L"sc_act_abandon_" + std::to_wstring(GetCurrentProcessId());
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, (tag + L"_held").c_str());
    HANDLE peer = startPeer(L"abandon " + tag);
    ASSERT_NE(peer, nullptr);
    ASSERT_EQ(WaitForSingleObject(held, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(exitCodeOf(peer), 0u);
    EXPECT_EQ(bind(L"G", L"UNDO"), 1);
    EXPECT_EQ(SC_FN(SetGestureSwitch)(L"G", 0), 1);
    // Another thread can take the mutex at once: the call above gave it back.
    std::thread other([] {
        HANDLE mutex = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kMutexName);
        ASSERT_NE(mutex, nullptr);
        // Other processes on other folders share this mutex, so it may be busy for a moment; a hold this
        // thread kept would keep it from every other thread for good.
        const DWORD wait = WaitForSingleObject(mutex, 20000);
        EXPECT_TRUE(wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) << wait;
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    other.join();
    CloseHandle(held);
}

TEST_F(ActionDll, TwoProcessesBindingAtOnceLoseNoLine) {
    open(); // this process's manager is open too, so three copies share the mutex
    const int count = 25;
    HANDLE a = startPeer(L"bind \"" + folder + L"\" A " + std::to_wstring(count));
    HANDLE b = startPeer(L"bind \"" + folder + L"\" B " + std::to_wstring(count));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(exitCodeOf(a), 0u);
    EXPECT_EQ(exitCodeOf(b), 0u);
    const std::string bindings = readBytes(file(L"gestureToAction.configure_v2"));
    const std::string switches = readBytes(file(L"action.configure_v2"));
    EXPECT_EQ(bindings.size(), utf16le(L"Quorvex Setting CFG\n").size() +
                                   2 * count * utf16le(L"A0,UNDO\n").size() + 2 * (count - 10) * 2);
    for (const wchar_t* prefix : {L"A", L"B"}) {
        for (int i = 0; i < count; ++i) {
            const std::wstring gesture = prefix + std::to_wstring(i);
            EXPECT_NE(bindings.find(utf16le(L"\n" + gesture + L",UNDO\n")), std::string::npos) << i;
            EXPECT_NE(switches.find(utf16le(L"\n" + gesture + L",1\n")), std::string::npos) << i;
        }
    }
}

TEST_F(ActionDll, RemovingAUserGestureDropsItsBindingAndSwitch) {
    writeBytes(file(L"defaults.configure"), utf16le(L"right,0,0,100,0\n"));
    SC_FN(OpenGestureManager)(file(L"defaults.configure").c_str(), folder.c_str());
    open();
    const uint16_t zig[] = {10, 10, 60, 60, 110, 10, 160, 60, 0};
    ASSERT_EQ(SC_FN(AddOneGesture)(L"zig", zig), 1);
    ASSERT_EQ(bind(L"zig", L"UNDO"), 1);
    ASSERT_EQ(bind(L"right", L"REDO"), 1);
    EXPECT_EQ(SC_FN(RemoveOneGesture)(L"right"), 0); // only user templates are removed
    EXPECT_EQ(SC_FN(RemoveOneGesture)(L"zig"), 1);
    EXPECT_EQ(readBytes(file(L"gestureToAction.configure_v2")),
              utf16le(L"Quorvex Setting CFG\nright,REDO\n"));
    EXPECT_EQ(readBytes(file(L"action.configure_v2")), utf16le(L"Quorvex Setting CFG\nGLOBAL,0\nright,1\n"));
    SC_FN(CloseGestureManager)();
}

// Records the injected key events a low-level hook sees and keeps them from reaching any window.
class KeyboardWatch {
  public:
    KeyboardWatch() {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] {
            instance_ = this;
            hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardWatch::proc, GetModuleHandleW(nullptr), 0);
            threadId_ = GetCurrentThreadId();
            SetEvent(ready_);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            if (hook_)
                UnhookWindowsHookEx(hook_);
        });
        WaitForSingleObject(ready_, 10000);
    }
    ~KeyboardWatch() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        CloseHandle(ready_);
        instance_ = nullptr;
    }
    bool hooked() const { return hook_ != nullptr; }
    // Waits until n events arrived (or the time passed) and takes them: "vk down" / "vk up", hex.
    std::vector<std::string> take(std::size_t n, int milliseconds = 20000) {
        for (int i = 0; i < milliseconds / 10 && count() < n; ++i)
            Sleep(10);
        EnterCriticalSection(&lock_);
        std::vector<std::string> out;
        out.swap(events_);
        LeaveCriticalSection(&lock_);
        return out;
    }

  private:
    static LRESULT CALLBACK proc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && instance_) {
            const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
            char text[48];
            std::snprintf(text, sizeof text, "%02lX %s%s", key->vkCode,
                          (key->flags & LLKHF_UP) ? "up" : "down",
                          (key->flags & LLKHF_INJECTED) ? "" : " (not injected)");
            EnterCriticalSection(&instance_->lock_);
            instance_->events_.push_back(text);
            LeaveCriticalSection(&instance_->lock_);
            return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    std::size_t count() {
        EnterCriticalSection(&lock_);
        const std::size_t n = events_.size();
        LeaveCriticalSection(&lock_);
        return n;
    }
    struct Lock {
        Lock(CRITICAL_SECTION& cs) { InitializeCriticalSection(&cs); }
    };

    static inline KeyboardWatch* instance_ = nullptr;
    CRITICAL_SECTION lock_;
    Lock init_{lock_};
    std::vector<std::string> events_;
    HANDLE ready_ = nullptr;
    HHOOK hook_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
};

TEST_F(ActionDll, KeyActionsReachALowLevelHookInOrder) {
    KeyboardWatch watch;
    ASSERT_TRUE(watch.hooked());
    open();
    ASSERT_EQ(bind(L"copy", L"CTRL_C"), 1);
    ASSERT_EQ(bind(L"all", L"SELECT_ALL"), 1);
    ASSERT_EQ(bind(L"mute", L"MUTE_KEY"), 1);
    ASSERT_EQ(bind(L"stop", L"STOPMEDIAPLAY"), 1);

    EXPECT_EQ(SC_FN(ExecuteAction)(L"copy"), 1);
    EXPECT_EQ(watch.take(4), (std::vector<std::string>{"11 down", "43 down", "43 up", "11 up"}));
    EXPECT_EQ(SC_FN(ExecuteAction)(L"all"), 1);
    EXPECT_EQ(watch.take(4), (std::vector<std::string>{"11 down", "41 down", "41 up", "11 up"}));
    EXPECT_EQ(SC_FN(ExecuteAction)(L"mute"), 1);
    EXPECT_EQ(SC_FN(ExecuteAction)(L"stop"), 1);
    EXPECT_EQ(watch.take(2), (std::vector<std::string>{"AD down", "B2 down"})); // presses only

    ASSERT_EQ(SC_FN(SetGestureSwitch)(L"GLOBAL", 1), 1);
    EXPECT_EQ(SC_FN(ExecuteAction)(L"copy"), 0);
    ASSERT_EQ(SC_FN(SetGestureSwitch)(L"GLOBAL", 0), 1);
    ASSERT_EQ(SC_FN(SetGestureSwitch)(L"copy", 0), 1);
    EXPECT_EQ(SC_FN(ExecuteAction)(L"copy"), 0);
    // The hook sees injected keys in order: a key of the refused actions would come before this one.
    EXPECT_EQ(SC_FN(ExecuteAction)(L"mute"), 1);
    EXPECT_EQ(watch.take(1), std::vector<std::string>{"AD down"});
}

TEST_F(ActionDll, ADesktopActionStartsExplorerAndLeavesComAsFound) {
    open();
    ASSERT_EQ(SC_FN(AddCustomAction)(L"DESKTOP:\\scratch", folder.c_str()), 1);
    ASSERT_EQ(SC_FN(AddCustomAction)(L"METRO:\\none", L"NoSuch.App_0000000000000!App"), 1);
    ASSERT_EQ(bind(L"open", L"DESKTOP:\\scratch"), 1);
    ASSERT_EQ(bind(L"app", L"METRO:\\none"), 1);
    std::thread sta([&] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        // The shell gives 33 for explorer.exe; no activation service exists here, so the app fails.
        EXPECT_EQ(SC_FN(ExecuteAction)(L"open"), 1);
        EXPECT_EQ(SC_FN(ExecuteAction)(L"app"), 0);
        APTTYPE type;
        APTTYPEQUALIFIER qualifier;
        EXPECT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
        CoUninitialize();
        EXPECT_EQ(CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED);
    });
    sta.join();
    endExplorerChildren();
}

TEST_F(ActionDll, WifiSwitchWithoutAdaptersRunsAndReportsSuccess) {
    // Only the no-adapter path is safe here: the set and capability calls are fatal stubs in Wine.
    HMODULE wlan = LoadLibraryW(L"wlanapi.dll");
    ASSERT_NE(wlan, nullptr);
    using Open = DWORD(WINAPI*)(DWORD, void*, DWORD*, HANDLE*);
    using Enum = DWORD(WINAPI*)(HANDLE, void*, void**);
    using Free = void(WINAPI*)(void*);
    using Close = DWORD(WINAPI*)(HANDLE, void*);
    auto openHandle = reinterpret_cast<Open>(reinterpret_cast<void*>(GetProcAddress(wlan, "WlanOpenHandle")));
    auto enumerate =
        reinterpret_cast<Enum>(reinterpret_cast<void*>(GetProcAddress(wlan, "WlanEnumInterfaces")));
    auto freeMemory = reinterpret_cast<Free>(reinterpret_cast<void*>(GetProcAddress(wlan, "WlanFreeMemory")));
    auto closeHandle =
        reinterpret_cast<Close>(reinterpret_cast<void*>(GetProcAddress(wlan, "WlanCloseHandle")));
    DWORD version = 0;
    HANDLE client = nullptr;
    void* list = nullptr;
    DWORD interfaces = 1;
    if (openHandle(2, nullptr, &version, &client) == 0) {
        if (enumerate(client, nullptr, &list) == 0 && list) {
            interfaces = *static_cast<DWORD*>(list);
            freeMemory(list);
        }
        closeHandle(client, nullptr);
    }
    if (interfaces != 0)
        GTEST_SKIP() << "a wireless interface is present; its radio is not touched by tests";
    open();
    ASSERT_EQ(bind(L"wifi", L"WIFISWITCH"), 1);
    EXPECT_EQ(SC_FN(ExecuteAction)(L"wifi"), 1);
}

} // namespace
