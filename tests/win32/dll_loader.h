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

}  // namespace sctest

// The export `name` as a typed function pointer, resolved by name.
#define SC_FN(name) (reinterpret_cast<decltype(&::name)>(sctest::strokecastProc(#name)))
