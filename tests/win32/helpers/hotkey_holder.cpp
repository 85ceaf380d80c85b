// Holds Ctrl+Alt+<key> in a second process: registers it, signals the named event given on the command
// line, and keeps it until its standard input closes.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    const UINT key = static_cast<UINT>(argv[1][0]);
    if (!RegisterHotKey(nullptr, 1, MOD_ALT | MOD_CONTROL | MOD_NOREPEAT, key))
        return 1;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (ready)
        SetEvent(ready);
    char buffer[16];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
    UnregisterHotKey(nullptr, 1);
    return 0;
}
