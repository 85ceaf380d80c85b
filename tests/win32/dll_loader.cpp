// Loading the DLL under test and per-test scratch folders.
#include "tests/win32/dll_loader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace sctest {

std::wstring exeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

HMODULE strokecastModule() {
    static HMODULE module = [] {
        HMODULE m = LoadLibraryW((exeFolder() + L"strokecast.dll").c_str());
        if (!m) {
            std::fprintf(stderr, "cannot load strokecast.dll: %lu\n", GetLastError());
            std::exit(3);
        }
        return m;
    }();
    return module;
}

void* strokecastProc(const char* name) {
    FARPROC proc = GetProcAddress(strokecastModule(), name);
    if (!proc) {
        std::fprintf(stderr, "strokecast.dll does not export %s\n", name);
        std::exit(3);
    }
    return reinterpret_cast<void*>(proc);
}

std::wstring freshTempFolder(const wchar_t* tag) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    // Wine hands out the same small process ids run after run: a name counts only when its folder is new.
    for (;;) {
        std::wstring folder = std::wstring(temp) + L"sc_" + tag + L"_" +
                              std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
        if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS)
            return folder;
    }
}

std::string readBytes(const std::wstring& path) {
    std::string bytes;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
        char chunk[4096];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            bytes.append(chunk, n);
        std::fclose(f);
    }
    return bytes;
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string utf16le(const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HANDLE startPeer(const std::wstring& arguments) {
    std::wstring command = L"\"" + exeFolder() + L"action_peer.exe\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

DWORD exitCodeOf(HANDLE process) {
    if (WaitForSingleObject(process, 60000) != WAIT_OBJECT_0)
        return 0xDEAD;
    DWORD code = 0xDEAD;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

} // namespace sctest
