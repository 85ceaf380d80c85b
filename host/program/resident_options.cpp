// The resident's options file: "key,value" lines in UTF-16LE like the engine's files, read leniently.
#include "host/program/resident_options.h"

#include <cstdio>

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

using sc::utf16::asciiUpper;
using sc::utf16::equalsAsciiNoCase;

// Keys a person can name: letters, digits and F1 to F24; 0 for anything else.
std::uint32_t keyFromName(std::u16string_view name) {
    if (name.size() == 1) {
        const char16_t c = asciiUpper(name[0]);
        if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
            return c;
        return 0;
    }
    if (name.size() >= 2 && name.size() <= 3 && asciiUpper(name[0]) == u'F') {
        std::uint32_t n = 0;
        for (char16_t c : name.substr(1)) {
            if (c < u'0' || c > u'9')
                return 0;
            n = n * 10 + (c - u'0');
        }
        if (n >= 1 && n <= 24 && name[1] != u'0')
            return 0x70 + n - 1;
    }
    return 0;
}

struct Modifier {
    std::uint32_t bit;
    std::u16string_view name;
};
// In the order Windows itself writes shortcuts.
constexpr Modifier kModifiers[] = {
    {kModControl, u"Ctrl"}, {kModAlt, u"Alt"}, {kModShift, u"Shift"}, {kModWin, u"Win"}};

} // namespace

text hotKeyText(std::uint32_t modifiers, std::uint32_t key) {
    if (key == 0)
        return fromU16(u"none");
    std::u16string out;
    for (const Modifier& m : kModifiers)
        if (modifiers & m.bit)
            out += std::u16string(m.name) + u"+";
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        out += static_cast<char16_t>(key);
    } else if (key >= 0x70 && key <= 0x87) {
        out += u'F';
        out += sc::utf16::fromUnsigned(key - 0x70 + 1);
    } else {
        char code[16];
        std::snprintf(code, sizeof code, "Key 0x%02X", static_cast<unsigned>(key & 0xFFFF));
        out += sc::utf16::fromLatin1(code);
    }
    return fromU16(out);
}

bool parseHotKey(textView hotKey, std::uint32_t& modifiers, std::uint32_t& key) {
    const std::u16string whole = toU16(hotKey);
    if (equalsAsciiNoCase(whole, u"none")) {
        modifiers = 0;
        key = 0;
        return true;
    }
    std::uint32_t mods = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = whole.find(u'+', start);
        const std::u16string_view part = std::u16string_view(whole).substr(start, plus - start);
        if (plus == std::u16string::npos) {
            const std::uint32_t k = keyFromName(part);
            if (k == 0)
                return false;
            modifiers = mods;
            key = k;
            return true;
        }
        bool known = false;
        for (const Modifier& m : kModifiers) {
            if (equalsAsciiNoCase(part, m.name)) {
                if (mods & m.bit)
                    return false;
                mods |= m.bit;
                known = true;
            }
        }
        if (!known)
            return false;
        start = plus + 1;
    }
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
