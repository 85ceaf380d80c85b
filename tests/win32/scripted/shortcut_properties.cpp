// Test build only: shortcut properties scripted in each shortcut's own arguments, because Wine's shell
// link keeps no property store. The shortcut is still created and loaded through the real shell link.
//
// The arguments hold the five properties in their usual order, separated by "|":
//   "s:text" a string, "i:-5" or "u:7" a 32-bit integer, "x" some other kind, "" nothing stored,
//   "!" a read that fails. Missing trailing fields are nothing stored.
#include "platform/catalog.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cwchar>
#include <string>

#include "platform/win32/handles.h"

namespace platform {
namespace {

bool scriptedValue(std::wstring_view field, PropertyValue& value) {
    value = PropertyValue();
    if (field == L"!")
        return false;
    if (field.empty())
        return true;
    if (field == L"x") {
        value.type = PropertyValue::Type::Other;
    } else if (field.substr(0, 2) == L"s:") {
        value.type = PropertyValue::Type::Text;
        value.text = win32::utf16(field.substr(2));
    } else if (field.substr(0, 2) == L"i:" || field.substr(0, 2) == L"u:") {
        value.type = PropertyValue::Type::Int32;
        const std::wstring digits(field.substr(2));
        value.number = field[0] == L'i'
                           ? static_cast<std::uint32_t>(std::wcstol(digits.c_str(), nullptr, 10))
                           : static_cast<std::uint32_t>(std::wcstoul(digits.c_str(), nullptr, 10));
    } else {
        value.type = PropertyValue::Type::Other;
    }
    return true;
}

} // namespace

bool readShortcutProperties(std::u16string_view path, ShortcutProperties& properties) {
    win32::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_ALL, IID_IShellLinkW, link.putVoid())))
        return false;
    const auto file = link.as<IPersistFile>(IID_IPersistFile);
    if (!file || FAILED(file->Load(win32::wide(path).c_str(), STGM_READ)))
        return false;
    wchar_t arguments[INFOTIPSIZE] = {};
    if (FAILED(link->GetArguments(arguments, INFOTIPSIZE)))
        return false;

    std::wstring_view rest = arguments;
    PropertyValue* fields[] = {&properties.appId, &properties.package, &properties.installPath,
                               &properties.smallLogo, &properties.background};
    for (PropertyValue* field : fields) {
        const std::size_t bar = rest.find(L'|');
        if (!scriptedValue(rest.substr(0, bar), *field))
            return false;
        rest = bar == std::wstring_view::npos ? std::wstring_view() : rest.substr(bar + 1);
    }
    return true;
}

} // namespace platform
