// The catalogue platform answered from scripted state, for native tests.
#include "platform/fake/fake_state.h"

#include "common/buffer.h"
#include "common/utf16.h"

namespace platform {
namespace {

using sc::utf16::asciiLower;
using sc::utf16::equalsAsciiNoCase;

// '*' matches any run, '?' any one unit; "*.*" matches every name, as the system's enumeration does.
bool matches(std::u16string_view mask, std::u16string_view name) {
    if (mask == u"*.*")
        return true;
    if (mask.empty())
        return name.empty();
    if (mask[0] == u'*') {
        for (std::size_t i = 0; i <= name.size(); ++i)
            if (matches(mask.substr(1), name.substr(i)))
                return true;
        return false;
    }
    if (name.empty())
        return false;
    if (mask[0] != u'?' && asciiLower(mask[0]) != asciiLower(name[0]))
        return false;
    return matches(mask.substr(1), name.substr(1));
}

const fake::CatalogState::Entry* findEntry(std::u16string_view path) {
    for (const auto& entry : fake::catalogState().entries)
        if (equalsAsciiNoCase(entry.path, path))
            return &entry;
    return nullptr;
}

template <class Map> auto findNoCase(Map& map, std::u16string_view key) {
    for (auto it = map.begin(); it != map.end(); ++it)
        if (equalsAsciiNoCase(it->first, key))
            return it;
    return map.end();
}

} // namespace

ApartmentScope::ApartmentScope() : joined_(true) {
    ++fake::catalogState().apartmentJoins;
}

ApartmentScope::~ApartmentScope() {
    if (joined_)
        ++fake::catalogState().apartmentLeaves;
}

bool expandEnvironment(std::u16string& text, std::size_t capacity) {
    auto& env = fake::catalogState().environment;
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find(u'%', i);
        const std::size_t close = open == std::u16string::npos ? open : text.find(u'%', open + 1);
        if (close == std::u16string::npos) {
            out += text.substr(i);
            break;
        }
        out += text.substr(i, open - i);
        const auto found = findNoCase(env, std::u16string_view(text).substr(open + 1, close - open - 1));
        if (found != env.end()) {
            out += found->second;
            i = close + 1;
        } else {
            out += text.substr(open, close - open);
            i = close;
        }
    }
    if (out.size() >= capacity)
        return false;
    text = out;
    return true;
}

std::vector<FolderEntry> findFiles(std::u16string_view pattern) {
    const std::size_t slash = pattern.rfind(u'\\');
    if (slash == std::u16string_view::npos)
        return {};
    const std::u16string_view folder = pattern.substr(0, slash);
    const std::u16string_view mask = pattern.substr(slash + 1);
    const auto* self = findEntry(folder);
    if (self == nullptr || !self->isDirectory)
        return {};
    std::vector<FolderEntry> out;
    for (std::u16string_view dots : {u".", u".."})
        if (matches(mask, dots))
            out.push_back({std::u16string(dots), true});
    for (const auto& entry : fake::catalogState().entries) {
        const std::size_t cut = entry.path.rfind(u'\\');
        if (cut == std::u16string::npos ||
            !equalsAsciiNoCase(std::u16string_view(entry.path).substr(0, cut), folder))
            continue;
        const std::u16string name = entry.path.substr(cut + 1);
        if (matches(mask, name))
            out.push_back({name, entry.isDirectory});
    }
    return out;
}

bool canQueryAttributes(std::u16string_view path) {
    return findEntry(path) != nullptr && !fake::catalogState().unqueryable.count(std::u16string(path));
}

bool fileExists(std::u16string_view path) {
    fake::catalogState().existenceChecks.emplace_back(path);
    return findEntry(path) != nullptr;
}

std::u16string upperCase(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        c = sc::utf16::asciiUpper(c);
    return out;
}

bool readShortcutProperties(std::u16string_view path, ShortcutProperties& properties) {
    auto& shortcuts = fake::catalogState().shortcuts;
    const auto found = findNoCase(shortcuts, path);
    if (found == shortcuts.end() || !found->second)
        return false;
    properties = *found->second;
    return true;
}

RegistryRead readUserString(std::u16string_view keyPath, std::u16string_view valueName, std::size_t capacity,
                            std::u16string& value) {
    auto& state = fake::catalogState();
    state.registryOpens.emplace_back(keyPath);
    const auto key = findNoCase(state.registry, keyPath);
    if (key == state.registry.end())
        return RegistryRead::NoKey;
    const auto found = findNoCase(key->second, valueName);
    if (found == key->second.end() || !found->second || found->second->size() + 1 > capacity)
        return RegistryRead::NoValue;
    value = *found->second;
    return RegistryRead::Value;
}

bool loadIndirectString(std::u16string_view source, std::size_t capacity, std::u16string& text) {
    if (!source.empty() && source[0] == u'@') {
        auto& strings = fake::catalogState().indirectStrings;
        const auto found = strings.find(std::u16string(source));
        if (found == strings.end())
            return false;
        source = found->second;
    }
    text = std::u16string(sc::boundedPrefix(source, capacity));
    return true;
}

bool shellDisplayName(std::u16string_view path, std::u16string& name) {
    auto& names = fake::catalogState().shellNames;
    const auto found = findNoCase(names, path);
    if (found == names.end())
        return false;
    name = found->second;
    return true;
}

bool preferredLanguages(std::size_t capacity, std::u16string& names) {
    auto& state = fake::catalogState();
    ++state.languageCalls;
    if (!state.languages || state.languages->size() > capacity)
        return false;
    names = *state.languages;
    return true;
}

} // namespace platform
