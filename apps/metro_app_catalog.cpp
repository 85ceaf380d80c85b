// Building the app catalogue: shortcut enumeration, shortcut properties, display names, logos, texts.
#include "apps/metro_app_catalog.h"

#include <optional>

#include "common/buffer.h"
#include "common/console.h"
#include "common/fnv.h"
#include "common/utf16.h"
#include "platform/catalog.h"

namespace sc {
namespace {

constexpr std::u16string_view kShortcutRoot = u"%LOCALAPPDATA%\\Microsoft\\Windows\\Application Shortcuts";
constexpr std::u16string_view kRepository =
    u"Software\\Classes\\Local "
    u"Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\Repository\\Packages\\";
constexpr std::u16string_view kResourcePrefix = u"ms-resource:";
// The tile logo is wanted at 45 pixels; the search itself works two below that.
constexpr int kLogoSizeHint = 45;

std::u16string textOf(const platform::PropertyValue& value) {
    return value.type == platform::PropertyValue::Type::Text ? value.text : std::u16string();
}

bool startsWithAsciiNoCase(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (utf16::asciiLower(text[i]) != prefix[i])
            return false;
    }
    return true;
}

// The app's name from the package repository, or else the shell's name of the shortcut itself.
// nullopt when neither source can name it.
std::optional<std::u16string> resolveDisplayName(std::u16string_view shortcut, const std::u16string& package,
                                                 const std::u16string& appId) {
    const std::u16string appKey =
        fixedText(std::u16string(kRepository) + package + u"\\Applications\\" + appId, kRegistryCapacity);
    const std::u16string packageKey = fixedText(std::u16string(kRepository) + package, kRegistryCapacity);
    std::u16string value;
    platform::RegistryRead read = platform::readUserString(appKey, u"DisplayName", kRegistryCapacity, value);
    if (read == platform::RegistryRead::NoKey)
        read = platform::readUserString(packageKey, u"DisplayName", kRegistryCapacity, value);
    if (read != platform::RegistryRead::NoKey) {
        std::u16string name;
        if (read == platform::RegistryRead::Value && platform::loadIndirectString(value, kNameCapacity, name))
            return fixedText(name, kNameCapacity);
        return std::u16string();
    }
    std::u16string name;
    if (!platform::shellDisplayName(shortcut, name))
        return std::nullopt;
    return fixedText(name, kNameCapacity);
}

void traceRecord(const MetroAppRecord& record, std::u16string_view logo) {
    constexpr std::u16string_view rule = u"======================================";
    trace::line(rule);
    trace::line(u"Appid : ", record.appId);
    trace::line(u"Package : ", record.package);
    trace::line(u"iconPath : ", record.installPath, u"\\", logo);
    trace::line(rule);
}

} // namespace

std::uint32_t shortcutKey(std::u16string_view path) {
    return fnvHash(platform::upperCase(boundedPrefix(path, kPathCapacity)));
}

std::vector<std::u16string> findShortcutFiles() {
    std::vector<std::u16string> paths;
    std::u16string root(kShortcutRoot);
    platform::expandEnvironment(root, kPathCapacity);
    for (const platform::FolderEntry& folder :
         platform::findFiles(fixedText(root + u"\\*.*", kPathCapacity))) {
        if (!folder.isDirectory || folder.name == u"." || folder.name == u"..")
            continue;
        const std::u16string pattern = fixedText(root + u"\\" + folder.name + u"\\*.lnk", kPathCapacity);
        for (const platform::FolderEntry& file : platform::findFiles(pattern))
            paths.push_back(fixedText(root + u"\\" + folder.name + u"\\" + file.name, kPathCapacity));
    }
    return paths;
}

std::u16string MetroAppCatalog::refreshAndListKeys() {
    std::lock_guard lock(mutex_);
    refreshLocked();
    return keyListLocked();
}

bool MetroAppCatalog::infoText(std::uint32_t key, std::u16string& text) const {
    MetroAppRecord r;
    if (!record(key, r))
        return false;
    text = r.appId + u"\n" + r.displayName + u"\n" + r.iconPath + u"\n" + utf16::fromUnsigned(r.background);
    return true;
}

bool MetroAppCatalog::record(std::uint32_t key, MetroAppRecord& out) const {
    std::lock_guard lock(mutex_);
    const auto found = records_.find(key);
    if (found == records_.end())
        return false;
    out = found->second;
    return true;
}

std::size_t MetroAppCatalog::size() const {
    std::lock_guard lock(mutex_);
    return records_.size();
}

void MetroAppCatalog::refreshLocked() {
    // Shortcut loading is COM work; the thread's own COM state is restored when the scope ends.
    const platform::ApartmentScope apartment;
    records_.clear();
    for (const std::u16string& path : findShortcutFiles())
        buildRecord(path);
}

std::u16string MetroAppCatalog::keyListLocked() const {
    std::u16string text;
    for (const auto& [key, record] : records_) {
        if (!text.empty())
            text += u'\n';
        text += utf16::fromUnsigned(key);
    }
    return text;
}

void MetroAppCatalog::buildRecord(std::u16string_view path) {
    if (!platform::canQueryAttributes(path))
        return;
    // From here on the key is listed; the record stays failed (all empty) unless the build completes,
    // even if an earlier shortcut of this refresh had filled the same key.
    MetroAppRecord& stored = records_[shortcutKey(path)];
    stored = MetroAppRecord();

    platform::ShortcutProperties properties;
    if (!platform::readShortcutProperties(path, properties))
        return;
    MetroAppRecord built;
    built.appId = textOf(properties.appId);
    if (built.appId.empty())
        return;
    built.package = textOf(properties.package);
    if (built.package.empty())
        return;
    built.installPath = fixedText(textOf(properties.installPath), kPathCapacity);
    platform::expandEnvironment(built.installPath, kPathCapacity);
    if (built.installPath.empty())
        return;
    std::u16string logo = textOf(properties.smallLogo);
    if (startsWithAsciiNoCase(logo, kResourcePrefix))
        logo.erase(0, kResourcePrefix.size());
    if (logo.empty())
        return;
    if (properties.background.type == platform::PropertyValue::Type::Int32)
        built.background = properties.background.number;

    std::optional<std::u16string> name = resolveDisplayName(path, built.package, built.appId);
    if (!name)
        return;
    built.displayName = std::move(*name);
    findLocalizedAsset(languages_, built.installPath, logo, kLogoSizeHint, built.iconPath);

    stored = std::move(built);
    traceRecord(stored, logo);
}

} // namespace sc
