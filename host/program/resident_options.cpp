// The resident's options file: "key,value" lines in UTF-16LE like the engine's files, read leniently.
#include "host/program/resident_options.h"

#include "common/hot_key.h"
#include "common/utf16.h"
#include "files/textfile.h"

namespace program {
namespace {

std::u16string toU16(textView s) {
    return std::u16string(s.begin(), s.end());
}

text fromU16(std::u16string_view s) {
    return text(s.begin(), s.end());
}

std::u16string filePath(textView folder) {
    std::u16string path = toU16(folder);
    path += u'\\';
    path += kResidentOptionsFile;
    return path;
}

} // namespace

text hotKeyText(std::uint32_t modifiers, std::uint32_t key) {
    return fromU16(sc::hot_key::name(modifiers, key));
}

bool parseHotKey(textView hotKey, std::uint32_t& modifiers, std::uint32_t& key) {
    return sc::hot_key::parse(toU16(hotKey), modifiers, key);
}

bool loadResidentOptions(textView folder, ResidentOptions& options) {
    options = ResidentOptions{};
    std::u16string all;
    if (!sc::textfile::read(filePath(folder), all))
        return false;
    for (std::u16string_view line : sc::utf16::splitLines(all)) {
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        const std::size_t comma = line.find(u',');
        if (comma == std::u16string_view::npos)
            continue;
        const std::u16string_view key = line.substr(0, comma);
        const std::u16string_view value = line.substr(comma + 1);
        if (key == u"hotkey") {
            std::uint32_t mods = 0;
            std::uint32_t vk = 0;
            if (parseHotKey(fromU16(value), mods, vk)) {
                options.hotKeyModifiers = mods;
                options.hotKey = vk;
            }
        } else if (key == u"show_results") {
            if (value == u"0" || value == u"1")
                options.showStrokeResults = value == u"1";
        }
    }
    return true;
}

bool saveResidentOptions(textView folder, const ResidentOptions& options) {
    std::u16string all = u"hotkey,";
    all += toU16(hotKeyText(options.hotKeyModifiers, options.hotKey));
    all += u'\n';
    all += options.showStrokeResults ? u"show_results,1\n" : u"show_results,0\n";
    return sc::textfile::replace(filePath(folder), all);
}

} // namespace program
