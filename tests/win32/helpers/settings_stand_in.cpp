// Stands in for a program the resident starts (Strokecast Settings, or a desktop program bound to a
// gesture): appends its command line as one UTF-8 line to the file STROKECAST_STAND_IN_LOG names, and ends.
#include <windows.h>

#include <string>

int wmain() {
    wchar_t logPath[MAX_PATH];
    if (GetEnvironmentVariableW(L"STROKECAST_STAND_IN_LOG", logPath, MAX_PATH) == 0)
        return 1;
    const wchar_t* line = GetCommandLineW();
    const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8.data(), size, nullptr, nullptr);
    utf8.back() = '\n'; // in place of the terminator
    HANDLE file = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 3;
}
