// The catalogue's system calls: environment, folder enumeration, attributes, registry, shell names,
// preferred languages and the COM apartment. Shortcut properties live in shortcut_properties.cpp.
#include "platform/catalog.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <vector>

#include "common/buffer.h"
#include "common/console.h"
#include "platform/win32/handles.h"

namespace platform {
namespace {

using win32::ComPtr;
using win32::utf16;
using win32::wide;
using UniqueFind = win32::Unique<HANDLE, &FindClose, win32::InvalidHandleValue>;
using UniqueKey = win32::Unique<HKEY, &RegCloseKey>;

} // namespace

ApartmentScope::ApartmentScope() {
    // S_FALSE (already joined in this model) counts as a join to undo; RPC_E_CHANGED_MODE does not.
    joined_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ApartmentScope::~ApartmentScope() {
    if (joined_)
        CoUninitialize();
}

bool expandEnvironment(std::u16string& text, std::size_t capacity) {
    if (capacity == 0)
        return false;
    std::vector<wchar_t> buffer(capacity, L'\0');
    sc::boundedCopy(text, buffer.data(), capacity);
    const DWORD result = DoEnvironmentSubstW(buffer.data(), static_cast<UINT>(capacity));
    if (HIWORD(result) == 0)
        return false; // did not fit: the system left the text as it was
    text = utf16(buffer.data());
    return true;
}

std::vector<FolderEntry> findFiles(std::u16string_view pattern) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileW(wide(pattern).c_str(), &data));
    if (!find)
        return entries;
    do {
        entries.push_back({utf16(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find.get(), &data));
    return entries;
}

bool canQueryAttributes(std::u16string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

bool fileExists(std::u16string_view path) {
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::u16string upperCase(std::u16string_view text) {
    std::wstring buffer = wide(text);
    if (!buffer.empty())
        CharUpperBuffW(buffer.data(), static_cast<DWORD>(buffer.size()));
    return utf16(std::wstring_view(buffer));
}

RegistryRead readUserString(std::u16string_view keyPath, std::u16string_view valueName, std::size_t capacity,
                            std::u16string& value) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(keyPath).c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return RegistryRead::NoKey;
    const UniqueKey key(raw);
    std::vector<wchar_t> buffer(capacity, L'\0');
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(capacity * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), wide(valueName).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS)
        return RegistryRead::NoValue;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes % sizeof(wchar_t) != 0)
        return RegistryRead::NoValue;
    const std::size_t units = bytes / sizeof(wchar_t);
    // A stored string must carry its terminator; an empty value is the empty text.
    if (units > 0 && buffer[units - 1] != L'\0')
        return RegistryRead::NoValue;
    value = utf16(buffer.data());
    return RegistryRead::Value;
}

bool loadIndirectString(std::u16string_view source, std::size_t capacity, std::u16string& text) {
    if (capacity == 0)
        return false;
    std::vector<wchar_t> buffer(capacity, L'\0');
    if (FAILED(
            SHLoadIndirectString(wide(source).c_str(), buffer.data(), static_cast<UINT>(capacity), nullptr)))
        return false;
    buffer.back() = L'\0';
    text = utf16(buffer.data());
    // The system cuts a long text at the buffer's end, which may split a surrogate pair.
    if (text.size() + 1 == capacity && text.back() >= 0xD800 && text.back() <= 0xDBFF)
        text.pop_back();
    return true;
}

bool shellDisplayName(std::u16string_view path, std::u16string& name) {
    ComPtr<IShellItem> item;
    if (FAILED(SHCreateItemFromParsingName(wide(path).c_str(), nullptr, IID_IShellItem, item.putVoid())))
        return false;
    wchar_t* shown = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_NORMALDISPLAY, &shown)) || shown == nullptr)
        return false;
    name = utf16(shown);
    CoTaskMemFree(shown);
    return true;
}

bool preferredLanguages(std::size_t capacity, std::u16string& names) {
    std::vector<wchar_t> buffer(capacity, L'\0');
    ULONG count = 0;
    ULONG length = static_cast<ULONG>(capacity);
    if (!GetThreadPreferredUILanguages(MUI_LANGUAGE_NAME, &count, buffer.data(), &length))
        return false;
    names = utf16(std::wstring_view(buffer.data(), std::min<std::size_t>(length, capacity)));
    return true;
}

} // namespace platform
