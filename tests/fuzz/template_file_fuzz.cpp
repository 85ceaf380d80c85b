// Gesture template files: the bytes read whole against the same bytes read in pieces, the names it
// yields, the points against a plain strtoll reading of each field, and a rewrite read back to the same
// templates.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"
#include "common/utf16.h"
#include "gesture/template_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::check;
using fuzz::fail;

// A field as wcstol reads it in base 10, through the C library: code units beyond ASCII can be neither
// space, sign nor digit, so they become a byte that is none of those either.
std::int32_t referenceField(std::u16string_view field) {
    std::string narrow;
    for (char16_t c : field)
        narrow += c < 0x80 && c != 0 ? static_cast<char>(c) : '?';
    const long long value = std::strtoll(narrow.c_str(), nullptr, 10);
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

sc::PointList referencePoints(std::u16string_view text) {
    std::vector<float> values;
    for (std::u16string_view field : sc::utf16::tokens(text, u','))
        values.push_back(static_cast<float>(referenceField(field)));
    sc::PointList points;
    for (std::size_t i = 0; i + 1 < values.size(); i += 2)
        points.push_back({values[i], values[i + 1]});
    return points;
}

bool samePoints(const sc::PointList& a, const sc::PointList& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y)
            return false;
    return true;
}

// The templates of a list in order, as plain names and points.
std::vector<sc::Gesture> flatten(const sc::GestureList& list) {
    std::vector<sc::Gesture> out;
    for (const auto& [name, t] : list)
        out.push_back({name, t.points.unpack()});
    return out;
}

std::vector<sc::Gesture> parsed(std::u16string_view text) {
    sc::GestureList list;
    sc::parseGestureBytes(sc::utf16::toBytes(text), list);
    return flatten(list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    sc::GestureList fromBytes;
    sc::parseGestureBytes(bytes, fromBytes);
    const std::u16string text = sc::utf16::fromBytes(bytes);
    // The same bytes in pieces of a size the input chooses, as a file is read.
    const std::size_t pieceSize = size == 0 ? 1 : 1 + data[0] % 13;
    sc::GestureList fromPieces;
    sc::TemplateReader reader(fromPieces, sc::TemplateOrigin::user);
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize)
        reader.read(bytes.substr(at, pieceSize));
    reader.finish();
    const std::vector<sc::Gesture> templates = flatten(fromBytes);
    const std::vector<sc::Gesture> pieceTemplates = flatten(fromPieces);

    check(templates.size() == pieceTemplates.size(), "whole and piecewise reading give different counts");
    for (std::size_t i = 0; i < templates.size(); ++i) {
        const sc::Gesture& g = templates[i];
        check(g.name == pieceTemplates[i].name && samePoints(g.points, pieceTemplates[i].points),
              "whole and piecewise reading give different templates");
        check(!g.name.empty(), "empty name");
        check(g.name.find(u',') == std::u16string::npos && g.name.find(u'\n') == std::u16string::npos,
              "name holds a separator");
    }

    // A line that starts with its name: the points are exactly the fields after the name's comma.
    for (std::u16string_view line : sc::utf16::splitLines(text)) {
        if (line.size() < 2 || line[0] == u',')
            continue;
        const std::vector<sc::Gesture> one = parsed(line);
        check(one.size() == 1, "a line with a name gives no template");
        const std::size_t comma = line.find(u',');
        check(one[0].name == line.substr(0, comma), "name is not the text before the first comma");
        const std::u16string_view rest =
            comma == std::u16string_view::npos ? std::u16string_view() : line.substr(comma + 1);
        check(samePoints(one[0].points, referencePoints(rest)), "points differ from a strtoll reading");
    }

    // Written out and read back, every template comes back the same, in the same order.
    std::u16string rewritten;
    std::vector<sc::Gesture> expected;
    for (const sc::Gesture& g : templates) {
        rewritten += sc::gestureLine(g.name, g.points);
        expected.push_back(g);
    }
    const std::vector<sc::Gesture> back = parsed(rewritten);
    check(back.size() == expected.size(), "a rewritten file reads back a different number of templates");
    for (std::size_t i = 0; i < back.size(); ++i)
        check(back[i].name == expected[i].name && samePoints(back[i].points, expected[i].points),
              "a rewritten template reads back differently");
    return 0;
}
