// Starting programs through the shell and modern apps through app activation; app visibility.
#include "platform/launch.h"

#include <windows.h>
// The shell headers need windows.h first.
#include <shellapi.h>
#include <shobjidl.h>

#include <string>

#include "common/utf16.h"
#include "platform/error.h"
#include "platform/win32/handles.h"

namespace platform {
namespace {

using win32::ComPtr;
using win32::ComScope;

// The identifiers are declared here so nothing depends on which of them the SDK headers carry.
const CLSID kApplicationActivationManager = {
    0x45BA127D, 0x10A8, 0x46EA, {0x8A, 0xB7, 0x56, 0xEA, 0x90, 0x78, 0x94, 0x3C}};
const IID kIApplicationActivationManager = {
    0x2E941141, 0x7F97, 0x4756, {0xBA, 0x1D, 0x9D, 0xEC, 0xDE, 0x89, 0x4A, 0x3D}};
const CLSID kAppVisibility = {0x7E5FE3D9, 0x985F, 0x4908, {0x91, 0xF9, 0xEE, 0x19, 0xF9, 0xFD, 0x15, 0x14}};
const IID kIAppVisibility = {0x2246EA2D, 0xCAEA, 0x4444, {0xA3, 0xC4, 0x6D, 0xE8, 0x27, 0xE4, 0x43, 0x13}};

constexpr int kAppVisible = 2; // MAV_APP_VISIBLE

struct MonitorSearch {
    IAppVisibility* visibility;
    int found;
};

BOOL CALLBACK visitMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* search = reinterpret_cast<MonitorSearch*>(data);
    MONITOR_APP_VISIBILITY mode = MAV_UNKNOWN;
    if (SUCCEEDED(search->visibility->GetAppVisibilityOnMonitor(monitor, &mode)) && mode == kAppVisible)
        search->found = 1;
    return TRUE;
}

} // namespace

std::intptr_t shellExecuteW(std::u16string_view verb, std::u16string_view file,
                            std::u16string_view parameters, int show) {
    const std::wstring v = win32::wide(verb), f = win32::wide(file), p = win32::wide(parameters);
    const auto result = reinterpret_cast<std::intptr_t>(
        ShellExecuteW(nullptr, v.c_str(), f.c_str(), p.c_str(), nullptr, show));
    if (result <= kLastShellError) {
        // The shell's small result codes 2, 3, 5, 8 and 11 are the system's own; GetLastError is richer.
        const DWORD error = GetLastError();
        std::u16string what(file);
        if (!parameters.empty()) {
            what += u' ';
            what += parameters;
        }
        failedWith(u"cannot start", what, error != 0 ? error : static_cast<DWORD>(result));
    }
    return result;
}

std::intptr_t shellExecuteA(std::string_view verb, std::string_view file, std::string_view parameters,
                            int show) {
    const std::string v(verb), f(file), p(parameters);
    const auto result = reinterpret_cast<std::intptr_t>(
        ShellExecuteA(nullptr, v.c_str(), f.c_str(), p.c_str(), nullptr, show));
    if (result <= kLastShellError) {
        const DWORD error = GetLastError();
        failedWith(u"cannot start", sc::utf16::fromUtf8(f + " " + p),
                   error != 0 ? error : static_cast<DWORD>(result));
    }
    return result;
}

bool pathMissing(std::u16string_view path) {
    if (GetFileAttributesW(win32::wide(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        return false;
    failedWith(u"cannot start", path, error);
    return true;
}

std::int32_t activateApplication(std::u16string_view appUserModelId, std::uint32_t& processId) {
    ComScope com;
    ComPtr<IApplicationActivationManager> manager;
    HRESULT hr = CoCreateInstance(kApplicationActivationManager, nullptr, CLSCTX_LOCAL_SERVER,
                                  kIApplicationActivationManager, manager.putVoid());
    if (FAILED(hr)) {
        failedWith(u"cannot activate", appUserModelId, static_cast<std::uint32_t>(hr));
        return hr;
    }
    hr = CoAllowSetForegroundWindow(manager.get(), nullptr);
    if (FAILED(hr)) {
        failedWith(u"cannot activate", appUserModelId, static_cast<std::uint32_t>(hr));
        return hr;
    }
    const std::wstring id = win32::wide(appUserModelId);
    DWORD pid = 0;
    hr = manager->ActivateApplication(id.c_str(), nullptr, AO_NONE, &pid);
    processId = pid;
    if (FAILED(hr))
        failedWith(u"cannot activate", appUserModelId, static_cast<std::uint32_t>(hr));
    return hr;
}

int modernUiVisible() {
    ComScope com;
    ComPtr<IAppVisibility> visibility;
    if (FAILED(CoCreateInstance(kAppVisibility, nullptr, CLSCTX_INPROC_SERVER, kIAppVisibility,
                                visibility.putVoid())))
        return 0;
    BOOL launcher = FALSE;
    if (FAILED(visibility->IsLauncherVisible(&launcher)))
        return 0;
    if (launcher)
        return 1;
    MonitorSearch search{visibility.get(), 0};
    if (!EnumDisplayMonitors(nullptr, nullptr, visitMonitor, reinterpret_cast<LPARAM>(&search)))
        return 0;
    return search.found;
}

} // namespace platform
