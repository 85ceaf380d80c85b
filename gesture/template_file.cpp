// Reading and writing gesture template files. The reader walks the file's bytes piece by piece through
// one reused buffer: a file of ten thousand templates must open in a few milliseconds, and the first
// opening in a process pays for every fresh page it touches.
#include "gesture/template_file.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <tuple>
#include <utility>

#include "common/console.h"
#include "common/utf16.h"
#include "files/textfile.h"
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

// The name and the points of a line, or false for a line that holds no template.
bool parseLine(std::u16string_view line, std::u16string_view& name, PointList& points) {
    if (line.size() < 2)
        return false;
    // The name is the first run of non-commas; commas before it are skipped.
    const std::size_t start = line.find_first_not_of(separateChar);
    if (start == std::u16string_view::npos) {
        console::line(std::string_view("no name found !"));
        return false;
    }
    const std::size_t nameEnd = std::min(line.find(separateChar, start), line.size());
    name = line.substr(start, nameEnd - start);

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

    points.clear();
    parsePoints(line.substr(textStart, textEnd - textStart), points);
    return true;
}

// Bytes of one piece read from a file; large enough that the reads cost little, small enough that the
// buffer stays in the cache.
constexpr std::size_t kPieceBytes = 64 * 1024;

} // namespace

void parsePoints(std::u16string_view text, PointList& target) {
    bool haveX = false;
    float x = 0.0f;
    const char16_t* const begin = text.data();
    const char16_t* const end = begin + text.size();
    const char16_t* at = begin;
    while (at < end) {
        if (*at == separateChar) {
            ++at;
            continue;
        }
        // Nearly every field is a few digits, perhaps after a minus sign: read those at once, and hand
        // anything else (spaces, a plus sign, ten digits or more, trailing text) to the full reading.
        const bool negative = *at == u'-';
        const char16_t* const digitsFrom = at + (negative ? 1 : 0);
        const char16_t* const digitsLimit = digitsFrom + std::min<std::ptrdiff_t>(9, end - digitsFrom);
        const char16_t* digit = digitsFrom;
        std::int32_t digits = 0;
        for (; digit < digitsLimit; ++digit) {
            const auto d = static_cast<std::uint32_t>(*digit) - u'0';
            if (d > 9)
                break;
            digits = digits * 10 + static_cast<std::int32_t>(d);
        }
        float value = 0.0f;
        if (digit > digitsFrom && (digit == end || *digit == separateChar)) {
            value = static_cast<float>(negative ? -digits : digits);
            at = digit;
        } else {
            std::size_t i = static_cast<std::size_t>(at - begin);
            value = static_cast<float>(readField(text, i));
            at = begin + i;
        }
        if (haveX)
            target.push_back({x, value});
        else
            x = value;
        haveX = !haveX;
    }
}

void TemplateReader::read(std::string_view bytes) {
    if (haveOdd_ && !bytes.empty()) {
        const char unit[2] = {odd_, bytes.front()};
        haveOdd_ = false;
        bytes.remove_prefix(1);
        readUnits(unit, 1);
    }
    readUnits(bytes.data(), bytes.size() / 2);
    if (bytes.size() % 2 != 0) {
        haveOdd_ = true;
        odd_ = bytes.back();
    }
}

void TemplateReader::readUnits(const char* bytes, std::size_t units) {
    const auto unitAt = [&](std::size_t i) {
        const auto lo = static_cast<unsigned char>(bytes[2 * i]);
        const auto hi = static_cast<unsigned char>(bytes[2 * i + 1]);
        return static_cast<char16_t>(lo | (hi << 8));
    };
    std::size_t start = 0;
    while (start < units) {
        // The next line feed: a 0x0A byte that is the low byte of a unit whose high byte is 0.
        std::size_t end = start;
        bool ended = false;
        while (end < units) {
            const void* hit = std::memchr(bytes + 2 * end, '\n', 2 * (units - end));
            if (hit == nullptr) {
                end = units;
                break;
            }
            const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes);
            if (at % 2 == 0 && bytes[at + 1] == '\0') {
                end = at / 2;
                ended = true;
                break;
            }
            end = at / 2 + 1; // a 0x0A byte inside another unit
        }
        const std::size_t have = line_.size();
        line_.resize(have + (end - start));
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(line_.data() + have, bytes + 2 * start, 2 * (end - start));
        } else {
            for (std::size_t i = start; i < end; ++i)
                line_[have + (i - start)] = unitAt(i);
        }
        if (!ended)
            return; // the line goes on in the next piece
        takeLine();
        start = end + 1;
    }
}

void TemplateReader::takeLine() {
    std::u16string_view name;
    if (parseLine(line_, name, points_))
        target_.emplace(std::piecewise_construct, std::forward_as_tuple(name),
                        std::forward_as_tuple(Template{PackedPoints(points_, packing_), origin_}));
    line_.clear();
}

void TemplateReader::finish() {
    if (!line_.empty())
        takeLine();
}

void parseGestureBytes(std::string_view bytes, GestureList& target, TemplateOrigin origin) {
    TemplateReader reader(target, origin);
    reader.read(bytes);
    reader.finish();
}

bool readGestureFile(std::u16string_view path, GestureList& target, TemplateOrigin origin) {
    // One thread reads: a second one, allocating at the same time, costs more than it saves under Wine,
    // whose heap takes one lock for both.
    TemplateReader reader(target, origin);
    bool first = true;
    const bool read = platform::readFilePieces(path, kPieceBytes, [&](std::string_view piece) {
        if (first)
            piece = textfile::withoutByteOrderMark(piece);
        first = false;
        reader.read(piece);
    });
    reader.finish();
    return read;
}

void loadGestureFile(std::u16string_view path, GestureList& target, TemplateOrigin origin) {
    if (!readGestureFile(path, target, origin))
        console::line(u"load file fail : " + std::u16string(path));
}

std::u16string gestureLine(std::u16string_view name, const PointList& points) {
    std::u16string line(name);
    for (const GesturePoint& p : points) {
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

bool appendUserGesture(std::u16string_view path, std::u16string_view name, const PointList& points,
                       platform::AppendUndo& undo) {
    if (textfile::append(path, gestureLine(name, points), undo))
        return true;
    trace::line(u"[saveUserGesture] open file fail");
    return false;
}

} // namespace sc
