// strokecast-resident: one per user session, in the notification area, keeping gesture capture running.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "host/library.h"
#include "host/resident/resident.h"

namespace {

constexpr const wchar_t* kTitle = L"Strokecast Resident";
constexpr const wchar_t* kUsage =
    L"strokecast-resident [--user-folder FOLDER] [--templates FILE] [--library FILE] [--settings EXE]\n\n"
    L"Keeps gesture capture running from the notification area. FOLDER holds the gestures, bindings and "
    L"the resident's options (default %APPDATA%\\Strokecast).";

std::wstring wide(const std::string& utf8) {
    const host::text t = host::fromUtf8(utf8);
    return std::wstring(t.begin(), t.end());
}

std::string narrow(const std::wstring& s) {
    return host::toUtf8(host::text(s.begin(), s.end()));
}

std::wstring absolute(const std::wstring& path) {
    wchar_t full[MAX_PATH * 4];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
    return n > 0 && n < MAX_PATH * 4 ? std::wstring(full, n) : path;
}

// The session-wide name: a second resident of the same user, from any folder, finds the first.
constexpr const wchar_t* kInstanceMutex = L"Local\\StrokecastResident";

// Hands the start over to the resident already running: it shows itself; this one leaves.
int tellTheFirst() {
    const UINT activate = resident::activateMessage();
    // The first one may still be making its window.
    for (int i = 0; i < 200; ++i) {
        if (HWND first = FindWindowW(program::kResidentWindowClass, nullptr)) {
            PostMessageW(first, activate, 0, 0);
            return 0;
        }
        Sleep(50);
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    resident::Paths paths;
    std::string libraryPath;
    for (int i = 1; argv && i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--user-folder" && hasValue) {
            paths.userFolder = absolute(argv[++i]);
        } else if (arg == L"--templates" && hasValue) {
            paths.templateFile = absolute(argv[++i]);
        } else if (arg == L"--library" && hasValue) {
            libraryPath = narrow(argv[++i]);
        } else if (arg == L"--settings" && hasValue) {
            paths.settingsExe = absolute(argv[++i]);
        } else {
            MessageBoxW(nullptr, kUsage, kTitle, MB_OK | MB_ICONINFORMATION);
            LocalFree(argv);
            return 2;
        }
    }
    LocalFree(argv);

    SetLastError(0); // Wine may leave a stale code behind a successful call
    HANDLE instanceMutex = CreateMutexW(nullptr, FALSE, kInstanceMutex);
    if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(instanceMutex);
        return tellTheFirst();
    }

    if (paths.userFolder.empty())
        paths.userFolder = wide(host::defaultUserFolder());
    if (paths.templateFile.empty())
        paths.templateFile = wide(host::defaultTemplateFile());
    if (paths.settingsExe.empty())
        paths.settingsExe = wide(host::exeFolder()) + L"strokecast-settings.exe";

    host::Library engine;
    std::string error;
    if (!host::loadLibrary(engine, libraryPath, error)) {
        MessageBoxW(nullptr, (std::wstring(L"Strokecast Resident cannot start: ") += wide(error)).c_str(),
                    kTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    int code = 1;
    {
        resident::Resident app(instance, engine, paths);
        std::wstring problem;
        if (app.start(problem))
            code = app.run();
        else
            MessageBoxW(nullptr, (L"Strokecast Resident cannot start: " + problem).c_str(), kTitle,
                        MB_OK | MB_ICONERROR);
    }
    if (instanceMutex)
        CloseHandle(instanceMutex);
    return code;
}
