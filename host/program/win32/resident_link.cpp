// The Windows side of the resident's options: the per-user Run key and the message that makes a running
// resident read its options again.
#include <windows.h>

#include "host/program/resident_options.h"

namespace program {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Strokecast Resident";

std::wstring residentExePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"strokecast-resident.exe";
}

} // namespace

bool startsWithWindows() {
    DWORD size = 0;
    return RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, nullptr, &size) ==
           ERROR_SUCCESS;
}

bool setStartWithWindows(bool on) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LSTATUS status;
    if (on) {
        // Quoted, so a folder with spaces ("Program Files") is not split into a program and arguments.
        const std::wstring command = L"\"" + residentExePath() + L"\"";
        status = RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    } else {
        status = RegDeleteValueW(key, kRunValue);
        if (status == ERROR_FILE_NOT_FOUND)
            status = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

unsigned residentOptionsChangedMessage() {
    return RegisterWindowMessageW(L"StrokecastResidentOptionsChanged");
}

bool notifyResidentOptionsChanged() {
    HWND resident = FindWindowW(kResidentWindowClass, nullptr);
    return resident != nullptr && PostMessageW(resident, residentOptionsChangedMessage(), 0, 0);
}

} // namespace program
