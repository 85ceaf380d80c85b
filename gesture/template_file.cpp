// Reading and writing gesture template files. The reader takes the whole file at once and walks it
// in place: a file of ten thousand templates must open in a few milliseconds.
#include "gesture/template_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "common/console.h"
#include "common/textfile.h"
#include "common/utf16.h"
#include "gesture/geometry.h"
#include "platform/file.h"

namespace sc {
namespace {

bool isSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// wcstol in base 10 on the field starting at `i` (a field ends at a comma), saturated to the 32-bit range:
// what a 32-bit long gives on the platform. Leaves `i` at the field's end.
std::int32_t readField(std::u16string_view text, std::size_t& i) {
    const std::size_t n = text.size();
    while (i < n && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    constexpr std::int64_t limit = std::int64_t{1} << 32; // far enough past either 32-bit bound
    std::int64_t value = 0;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (value < limit)
            value = value * 10 + (text[i] - u'0');
    }
    while (i < n && text[i] != separateChar) // the rest of the field is not read
        ++i;
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

void parseLine(std::u16string_view line, GestureList& target) {
    if (line.size() < 2)
        return;
    // The name is the first run of non-commas; commas before it are skipped.
    const std::size_t start = line.find_first_not_of(separateChar);
    if (start == std::u16string_view::npos) {
        console::line(std::string_view("no name found !"));
        return;
    }
    const std::size_t nameEnd = std::min(line.find(separateChar, start), line.size());
    const std::u16string_view name = line.substr(start, nameEnd - start);

    // Where the points start is measured from the name's length, not its position, and the comma that
    // ended the name counts as a terminator. For a line that starts with its name this is everything
    // after that comma; for a line with leading commas it is the odd remainder the stored files have
    // always been read with, which keeps such hand-edited lines loading as they always did.
    const std::size_t n = line.size();
    auto isTerminator = [&](std::size_t pos) { return pos == nameEnd && nameEnd < n; };
    std::size_t pos = name.size() - 1;
    while (pos + 1 < n) {
        ++pos;
        if (isTerminator(pos) || line[pos] != separateChar)
            break;
    }
    std::size_t textStart = pos + 1;
    std::size_t textEnd = n;
    if (textStart <= nameEnd && nameEnd < n)
        textEnd = nameEnd;
    if (textStart > textEnd)
        textStart = textEnd;

    auto gesture = std::make_unique<Gesture>();
    gesture->name = std::u16string(name);
    parsePoints(line.substr(textStart, textEnd - textStart), gesture->points);
    target.emplace(gesture->name, gesture.get());
    gesture.release();
}

} // namespace

void parsePoints(std::u16string_view text, PointList& target) {
    // Every two fields make a point; runs of commas are rare, so this is the exact size as a rule.
    const auto commas = static_cast<std::size_t>(std::count(text.begin(), text.end(), separateChar));
    target.reserve(target.size() + (commas + 1) / 2);
    bool haveX = false;
    float x = 0.0f;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == separateChar) {
            ++i;
            continue;
        }
        const float value = static_cast<float>(readField(text, i));
        if (haveX)
            target.push_back({x, value});
        else
            x = value;
        haveX = !haveX;
    }
}

void parseGestureText(std::u16string_view text, GestureList& target) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string_view::npos)
            end = text.size();
        parseLine(text.substr(start, end - start), target);
        start = end + 1;
    }
}

void parseGestureBytes(std::string_view bytes, GestureList& target) {
    // Line by line through one small buffer: the file's bytes are the only copy of the whole text, which
    // for a large file saves as much fresh memory as the file is long.
    const std::size_t units = bytes.size() / 2; // an odd last byte is no code unit
    std::u16string line;
    std::size_t start = 0;
    while (start < units) {
        std::size_t end = start;
        while (end < units) {
            const void* hit = std::memchr(bytes.data() + 2 * end, '\n', 2 * (units - end));
            if (hit == nullptr) {
                end = units;
                break;
            }
            const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes.data());
            if (at % 2 == 0 && bytes[at + 1] == '\0') {
                end = at / 2;
                break;
            }
            end = at / 2 + 1; // a 0x0A byte inside another unit
        }
        line.resize(end - start);
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto lo = static_cast<unsigned char>(bytes[2 * (start + i)]);
            const auto hi = static_cast<unsigned char>(bytes[2 * (start + i) + 1]);
            line[i] = static_cast<char16_t>(lo | (hi << 8));
        }
        parseLine(line, target);
        start = end + 1;
    }
}

void loadGestureFile(std::u16string_view path, GestureList& target) {
    std::string bytes;
    if (!platform::readFile(path, bytes)) {
        console::line(u"load file fail : " + std::u16string(path));
        return;
    }
    parseGestureBytes(textfile::withoutByteOrderMark(bytes), target);
}

std::u16string gestureLine(const Gesture& gesture) {
    std::u16string line = gesture.name;
    for (const GesturePoint& p : gesture.points) {
        line += separateChar;
        line += utf16::fromInt(truncateToInt32(p.x));
        line += separateChar;
        line += utf16::fromInt(truncateToInt32(p.y));
    }
    // The reader skips lines shorter than two units: a one-unit name without points keeps a comma.
    if (line.size() < 2)
        line += separateChar;
    line += u'\n';
    return line;
}

bool appendUserGesture(std::u16string_view path, const Gesture& gesture, platform::AppendUndo& undo) {
    if (textfile::append(path, gestureLine(gesture), undo))
        return true;
    trace::line(u"[saveUserGesture] open file fail");
    return false;
}

bool saveUserGesture(std::u16string_view path, const GestureList& userGestures, const Gesture* gesture) {
    if (gesture != nullptr) {
        platform::AppendUndo undo;
        return appendUserGesture(path, *gesture, undo);
    }
    std::u16string all;
    for (const auto& entry : userGestures)
        all += gestureLine(*entry.second);
    if (textfile::replace(path, all))
        return true;
    trace::line(u"[saveUserGesture] open file fail");
    return false;
}

void deleteGestures(GestureList& list) {
    for (auto& entry : list)
        delete entry.second;
    list.clear();
}

} // namespace sc
