// Windows tests reach strokecast.dll the way a host does: LoadLibraryW and GetProcAddress.
#pragma once

#include <windows.h>

#include <string>

#include "strokecast.h"

namespace sctest {

// The DLL beside the test exe, loaded once per process; aborts the test run if it cannot be loaded.
HMODULE strokecastModule();
void* strokecastProc(const char* name);

// Folder of the running exe, with a trailing backslash.
std::wstring exeFolder();
// A fresh empty folder under %TEMP% for one test.
std::wstring freshTempFolder(const wchar_t* tag);

// The whole file's bytes, or "" when it cannot be read.
std::string readBytes(const std::wstring& path);
// Creates or truncates the file with exactly these bytes (a failure fails the running test).
void writeBytes(const std::wstring& path, const std::string& bytes);
// UTF-16LE bytes of a text, low byte first, no mark: what the engine's files hold.
std::string utf16le(const std::wstring& text);
bool exists(const std::wstring& path);

// Starts action_peer.exe from beside the test exe with these arguments; null when it cannot start.
HANDLE startPeer(const std::wstring& arguments);
// The process's exit code once it ended (0xDEAD when it did not within a minute); closes the handle.
DWORD exitCodeOf(HANDLE process);

} // namespace sctest

// The export `name` as a typed function pointer, resolved by name.
#define SC_FN(name) (reinterpret_cast<StrokecastFn_##name>(sctest::strokecastProc(#name)))
