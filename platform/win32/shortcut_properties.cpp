// Reading an app shortcut's shell properties through the shell link's property store.
#include "platform/catalog.h"

#include <windows.h>

#include <objbase.h>
#include <propidl.h>
#include <propsys.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/handles.h"

namespace platform {
namespace {

using win32::ComPtr;

// Published keys; not every SDK's headers carry them.
constexpr GUID kAppUserModel = {0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}};
constexpr GUID kTile = {0x86D40B4D, 0x9069, 0x443C, {0x81, 0x9A, 0x2A, 0x54, 0x09, 0x0D, 0xCC, 0xEC}};
constexpr PROPERTYKEY kAppId = {kAppUserModel, 5};
constexpr PROPERTYKEY kPackageFullName = {kAppUserModel, 21};
constexpr PROPERTYKEY kPackageInstallPath = {kAppUserModel, 15};
constexpr PROPERTYKEY kSmallLogoPath = {kTile, 2};
constexpr PROPERTYKEY kBackground = {kTile, 4};

// One read; the PROPVARIANT is cleared whatever it held.
bool readValue(IPropertyStore* store, const PROPERTYKEY& key, PropertyValue& value) {
    PROPVARIANT variant;
    PropVariantInit(&variant);
    if (FAILED(store->GetValue(key, &variant)))
        return false;
    value = PropertyValue();
    switch (variant.vt) {
    case VT_EMPTY:
        break;
    case VT_LPWSTR:
        value.type = PropertyValue::Type::Text;
        value.text = win32::utf16(variant.pwszVal);
        break;
    case VT_BSTR:
        value.type = PropertyValue::Type::Text;
        value.text = win32::utf16(variant.bstrVal);
        break;
    case VT_I4:
        value.type = PropertyValue::Type::Int32;
        value.number = static_cast<std::uint32_t>(variant.lVal);
        break;
    case VT_UI4:
        value.type = PropertyValue::Type::Int32;
        value.number = variant.ulVal;
        break;
    default:
        value.type = PropertyValue::Type::Other;
        break;
    }
    PropVariantClear(&variant);
    return true;
}

} // namespace

bool readShortcutProperties(std::u16string_view path, ShortcutProperties& properties) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_ALL, IID_IShellLinkW, link.putVoid())))
        return false;
    const ComPtr<IPersistFile> file = link.as<IPersistFile>(IID_IPersistFile);
    if (!file || FAILED(file->Load(win32::wide(path).c_str(), STGM_READ)))
        return false;
    const ComPtr<IPropertyStore> store = link.as<IPropertyStore>(IID_IPropertyStore);
    if (!store)
        return false;
    return readValue(store.get(), kAppId, properties.appId) &&
           readValue(store.get(), kPackageFullName, properties.package) &&
           readValue(store.get(), kPackageInstallPath, properties.installPath) &&
           readValue(store.get(), kSmallLogoPath, properties.smallLogo) &&
           readValue(store.get(), kBackground, properties.background);
}

} // namespace platform
