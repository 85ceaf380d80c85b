// Hot keys in words.
#include "common/hot_key.h"

#include <cstdio>

#include "common/utf16.h"

namespace sc::hot_key {
namespace {

using utf16::asciiUpper;
using utf16::equalsAsciiNoCase;

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
constexpr Modifier kModifiers[] = {{kControl, u"Ctrl"}, {kAlt, u"Alt"}, {kShift, u"Shift"}, {kWin, u"Win"}};

} // namespace

std::u16string name(std::uint32_t modifiers, std::uint32_t key) {
    if (key == 0)
        return u"none";
    std::u16string out;
    for (const Modifier& m : kModifiers) {
        if (modifiers & m.bit) {
            out += m.name;
            out += u'+';
        }
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        out += static_cast<char16_t>(key);
    } else if (key >= 0x70 && key <= 0x87) {
        out += u'F';
        out += utf16::fromUnsigned(key - 0x70 + 1);
    } else {
        char code[16];
        std::snprintf(code, sizeof code, "Key 0x%02X", static_cast<unsigned>(key & 0xFFFF));
        out += utf16::fromLatin1(code);
    }
    return out;
}

bool parse(std::u16string_view text, std::uint32_t& modifiers, std::uint32_t& key) {
    if (equalsAsciiNoCase(text, u"none")) {
        modifiers = 0;
        key = 0;
        return true;
    }
    std::uint32_t mods = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = text.find(u'+', start);
        const std::u16string_view part = text.substr(start, plus - start);
        if (plus == std::u16string_view::npos) {
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

} // namespace sc::hot_key
