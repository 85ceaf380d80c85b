// A second process for the action tests: holds or abandons the shared action mutex, or binds
// gestures through its own copy of strokecast.dll in the same folder as the test.
//   action_peer hold TAG      take the mutex, set event TAG_held, wait for event TAG_release, release
//   action_peer abandon TAG   take the mutex, set event TAG_held, exit without releasing
//   action_peer bind FOLDER PREFIX COUNT   bind PREFIX0..PREFIX{COUNT-1} to UNDO; exit code = failures
//   action_peer change FOLDER PREFIX ROUNDS   every kind of change on its own names; exit code = failures
//   action_peer churn FOLDER   changes without end, until the test terminates it; sets the event
//                              "action_peer_churning" once its first round of changes is written
//   action_peer leave-open FOLDER exit|unload   opens everything, then ends or unloads without closing
#include <windows.h>

#include <cstdio>
#include <string>

#include "strokecast.h"

namespace {

const wchar_t* kMutexName = L"ed486497-d970-4a4e-87eb-93d9ed274914";

std::wstring exeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

int takeMutex(const std::wstring& tag, bool release) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (!mutex || WaitForSingleObject(mutex, 10000) != WAIT_OBJECT_0)
        return 10;
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, (tag + L"_held").c_str());
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, (tag + L"_release").c_str());
    SetEvent(held);
    if (!release)
        return 0; // the system abandons the mutex as the process ends
    WaitForSingleObject(go, 20000);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return 0;
}

int bind(const std::wstring& folder, const std::wstring& prefix, int count) {
    HMODULE dll = LoadLibraryW((exeFolder() + L"strokecast.dll").c_str());
    if (!dll)
        return 100;
    auto open = reinterpret_cast<decltype(&OpenActionManager)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "OpenActionManager")));
    auto close = reinterpret_cast<decltype(&CloseActionNanager)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "CloseActionNanager")));
    auto setAction = reinterpret_cast<decltype(&SetGestureToAction)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "SetGestureToAction")));
    if (!open || !close || !setAction)
        return 101;
    open(folder.c_str());
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        const std::wstring gesture = prefix + std::to_wstring(i);
        if (setAction(gesture.c_str(), L"UNDO") != 1)
            ++failures;
    }
    close();
    return failures;
}

template <class F> F* proc(HMODULE dll, const char* name) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

// A zig-zag stroke in the export point format.
const uint16_t kStroke[] = {10, 10, 60, 60, 110, 10, 160, 60, 210, 10, 0};

struct Engine {
    HMODULE dll = LoadLibraryW((exeFolder() + L"strokecast.dll").c_str());
    decltype(&OpenGestureManager) openGestures =
        proc<decltype(OpenGestureManager)>(dll, "OpenGestureManager");
    decltype(&OpenActionManager) openActions = proc<decltype(OpenActionManager)>(dll, "OpenActionManager");
    decltype(&AddOneGesture) add = proc<decltype(AddOneGesture)>(dll, "AddOneGesture");
    decltype(&SetGestureToAction) bind = proc<decltype(SetGestureToAction)>(dll, "SetGestureToAction");
    decltype(&SetGestureSwitch) setSwitch = proc<decltype(SetGestureSwitch)>(dll, "SetGestureSwitch");
    decltype(&AddCustomAction) addCustom = proc<decltype(AddCustomAction)>(dll, "AddCustomAction");
    void open(const std::wstring& folder) const {
        openGestures((folder + L"\\defaults.configure").c_str(), folder.c_str());
        openActions(folder.c_str());
    }
};

// Mirrors what the tests check: p<prefix>_<round> t (template), b (REDO, off), u (unbound), c (custom).
int change(const std::wstring& folder, const std::wstring& prefix, int rounds) {
    const Engine e;
    if (!e.dll)
        return 100;
    e.open(folder);
    int failures = 0;
    for (int r = 0; r < rounds; ++r) {
        const std::wstring p = prefix + L"_" + std::to_wstring(r);
        failures += e.add((p + L"t").c_str(), kStroke) != 1;
        failures += e.bind((p + L"b").c_str(), L"UNDO") != 1;
        failures += e.bind((p + L"b").c_str(), L"REDO") != 1;
        failures += e.bind((p + L"u").c_str(), L"MUTE_KEY") != 1;
        failures += e.bind((p + L"u").c_str(), L"NULL") != 1;
        failures += e.setSwitch((p + L"b").c_str(), 0) != 1;
        failures += e.addCustom((L"DESKTOP:\\" + p).c_str(), L"x.exe") != 1;
        failures += e.bind((p + L"c").c_str(), (L"DESKTOP:\\" + p).c_str()) != 1;
    }
    return failures;
}

int churn(const std::wstring& folder) {
    const Engine e;
    if (!e.dll)
        return 100;
    e.open(folder);
    for (int i = 0;; ++i) {
        const std::wstring n = L"k" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(i);
        e.add(n.c_str(), kStroke);
        e.bind(L"B", (L"DESKTOP:\\" + n).c_str());
        e.addCustom((L"DESKTOP:\\" + n).c_str(), L"x");
        e.setSwitch(L"B", i % 2);
        if (i == 0) {
            // One whole round is on disk: the test may kill this process from now on.
            if (HANDLE churning = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"action_peer_churning")) {
                SetEvent(churning);
                CloseHandle(churning);
            }
        }
    }
}

int leaveOpen(const std::wstring& folder, const std::wstring& how) {
    const Engine e;
    if (!e.dll)
        return 100;
    e.open(folder);
    proc<decltype(OpenTouchCapturer)>(e.dll, "OpenTouchCapturer")();
    if (how == L"unload" && !FreeLibrary(e.dll))
        return 101;
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"hold")
        return takeMutex(argv[2], true);
    if (argc == 3 && std::wstring(argv[1]) == L"abandon")
        return takeMutex(argv[2], false);
    if (argc == 5 && std::wstring(argv[1]) == L"bind")
        return bind(argv[2], argv[3], _wtoi(argv[4]));
    if (argc == 5 && std::wstring(argv[1]) == L"change")
        return change(argv[2], argv[3], _wtoi(argv[4]));
    if (argc == 3 && std::wstring(argv[1]) == L"churn")
        return churn(argv[2]);
    if (argc == 4 && std::wstring(argv[1]) == L"leave-open")
        return leaveOpen(argv[2], argv[3]);
    std::fprintf(stderr,
                 "usage: action_peer hold|abandon TAG | bind FOLDER PREFIX COUNT | change FOLDER PREFIX "
                 "ROUNDS | churn FOLDER | leave-open FOLDER exit|unload\n");
    return 2;
}
