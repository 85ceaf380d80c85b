// A second process for the action tests: holds or abandons the shared action mutex, or binds
// gestures through its own copy of strokecast.dll in the same folder as the test.
//   action_peer hold TAG      take the mutex, set event TAG_held, wait for event TAG_release, release
//   action_peer abandon TAG   take the mutex, set event TAG_held, exit without releasing
//   action_peer bind FOLDER PREFIX COUNT   bind PREFIX0..PREFIX{COUNT-1} to UNDO; exit code = failures
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

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"hold")
        return takeMutex(argv[2], true);
    if (argc == 3 && std::wstring(argv[1]) == L"abandon")
        return takeMutex(argv[2], false);
    if (argc == 5 && std::wstring(argv[1]) == L"bind")
        return bind(argv[2], argv[3], _wtoi(argv[4]));
    std::fprintf(stderr, "usage: action_peer hold|abandon TAG | bind FOLDER PREFIX COUNT\n");
    return 2;
}
