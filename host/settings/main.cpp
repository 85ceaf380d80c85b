// Strokecast Settings: a person's gestures, their pictures and actions, recording and trying strokes.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>

#include "host/library.h"
#include "host/settings/ids.h"
#include "host/settings/settings_window.h"

namespace {

// "x,y,x,y,..." as the engine's stroke: 16-bit values ended by a 0; false for anything else.
bool parseStroke(const std::wstring& text, std::vector<uint16_t>& stroke) {
    stroke.clear();
    const wchar_t* p = text.c_str();
    while (*p != 0) {
        wchar_t* end = nullptr;
        const unsigned long value = std::wcstoul(p, &end, 10);
        // An x of 0 would end the stroke for the engine; a y of 0 is an ordinary coordinate.
        const bool isX = stroke.size() % 2 == 0;
        if (end == p || value > 65535 || (isX && value == 0))
            return false;
        stroke.push_back(static_cast<uint16_t>(value));
        p = end;
        if (*p == L',' || *p == L' ')
            ++p;
        else if (*p != 0)
            return false;
    }
    if (stroke.size() < 4 || stroke.size() % 2 != 0)
        return false;
    stroke.push_back(0);
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    settings::StartOptions options;
    std::wstring problem;
    for (int i = 1; args && i < count; ++i) {
        const std::wstring arg = args[i];
        if (arg == L"--user-folder" && i + 1 < count) {
            options.userFolder = args[++i];
        } else if (arg == L"--page" && i + 1 < count) {
            const std::wstring page = args[++i];
            const wchar_t* pages[] = {L"gestures", L"record", L"try", L"resident"};
            for (int p = 0; p < 4; ++p)
                if (page == pages[p])
                    options.page = p;
            if (options.page < 0)
                problem = L"--page is gestures, record, try or resident.";
        } else if (arg == L"--import" && i + 1 < count) {
            options.importFile = args[++i];
        } else if (arg == L"--stroke" && i + 1 < count) {
            if (!parseStroke(args[++i], options.stroke))
                problem =
                    L"--stroke takes x,y,x,y,... with at least two points, x from 1 and y from 0 to 65535.";
        } else {
            problem = L"Unknown option " + arg +
                      L".\n\nstrokecast-settings [--user-folder FOLDER] [--page "
                      L"gestures|record|try|resident]\n    [--stroke x,y,x,y,...] [--import FILE]";
        }
    }
    LocalFree(args);
    if (!problem.empty()) {
        MessageBoxW(nullptr, problem.c_str(), SETTINGS_WINDOW_TITLE, MB_OK | MB_ICONERROR);
        return 2;
    }
    if (options.userFolder.empty()) {
        const host::text folder = host::fromUtf8(host::defaultUserFolder());
        options.userFolder.assign(folder.begin(), folder.end());
    }
    return settings::runSettings(instance, options);
}
