// Gesture template files: the reader's line rules, the point reader, and the bytes the writer leaves.
#include <gtest/gtest.h>

#include "common/utf16.h"
#include "gesture/template_file.h"
#include "tests/gesture/gesture_test_support.h"

using namespace sc;
using gesturetest::TemplateSet;
using sctest::readBytes;
using sctest::TempFolder;
using sctest::writeBytes;

namespace {

std::vector<std::pair<float, float>> pairs(const PointList& points) {
    std::vector<std::pair<float, float>> out;
    for (const GesturePoint& p : points)
        out.emplace_back(p.x, p.y);
    return out;
}

} // namespace

TEST(TemplateFile, PointsReadLikeWcstolClampedTo32Bits) {
    struct Case {
        std::u16string_view text;
        std::vector<std::pair<float, float>> points;
    };
    const Case cases[] = {
        {u"1,2", {{1, 2}}},
        {u"1,2,3", {{1, 2}}},    // an odd last value is dropped
        {u",,1,,2,", {{1, 2}}},  // empty fields are skipped
        {u"x,5", {{0, 5}}},      // no digits read as 0
        {u" 7,\t-8", {{7, -8}}}, // leading blanks and a sign
        {u"+3,4z", {{3, 4}}},    // digits up to the first other character
        {u"1 2,3", {{1, 3}}},
        {u"99999999999,-99999999999", {{2147483647.0f, -2147483648.0f}}},
        {u"2147483647,-2147483648", {{2147483647.0f, -2147483648.0f}}},
        {u"-,+", {{0, 0}}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf16::toUtf8(c.text));
        PointList points{{9, 9}};
        parsePoints(c.text, points);
        auto expected = c.points;
        expected.insert(expected.begin(), {9.0f, 9.0f}); // appends, keeping what was there
        EXPECT_EQ(pairs(points), expected);
    }
}

TEST(TemplateFile, LinesGiveNamesAndPoints) {
    struct Case {
        std::u16string_view line;
        std::u16string_view name; // empty: no template
        std::vector<std::pair<float, float>> points;
    };
    const Case cases[] = {
        {u"Z,10,20,30,40", u"Z", {{10, 20}, {30, 40}}},
        {u"ab,1,2,3", u"ab", {{1, 2}}},
        {u"ab,,1,,2", u"ab", {{1, 2}}},
        {u"ab,x,5", u"ab", {{0, 5}}},
        {u"two words,1,2", u"two words", {{1, 2}}},
        {u"name", u"name", {}},                       // a name alone: a template without points
        {u"ab,1,2\r", u"ab", {{1, 2}}},               // a carriage return ends the last number
        {u"ab\r", u"ab\r", {}},                       // ... and stays in a bare name
        {u"\uFEFFab,1,2", u"\uFEFFab", {{1, 2}}},     // a byte-order mark is part of the first name
        {u",10,20,30,40", u"10", {}},                 // what an empty name's line reads back as
        {u",,ab,1,2", u"ab", {}},                     // leading commas shift where the points start
        {u"\U0001F600,1,2", u"\U0001F600", {{1, 2}}}, // a name outside the BMP is kept unit for unit
        {u"a", u"", {}},                              // shorter than two characters: skipped
        {u"", u"", {}},
        {u",,,", u"", {}}, // no name: skipped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf16::toUtf8(c.line));
        TemplateSet loaded;
        testing::internal::CaptureStdout();
        parseGestureBytes(utf16::toBytes(std::u16string(c.line) + u"\n"), loaded.list);
        const std::string out = testing::internal::GetCapturedStdout();
        if (c.name.empty()) {
            EXPECT_TRUE(loaded.list.empty());
            EXPECT_EQ(out, c.line == u",,," ? "no name found !\n" : "");
            continue;
        }
        ASSERT_EQ(loaded.list.size(), 1u);
        EXPECT_EQ(loaded.list.begin()->first, c.name);
        EXPECT_EQ(pairs(loaded.list.begin()->second.points.unpack()), c.points);
    }
}

TEST(TemplateFile, FileOrderWithinANameAndAMissingLastLineFeed) {
    TemplateSet loaded;
    parseGestureBytes(utf16::toBytes(u"b,1,1,2,2\na,5,5,6,6\nb,3,3,4,4\n\nx\nc,7,7"), loaded.list);
    ASSERT_EQ(loaded.list.size(), 4u);
    auto it = loaded.list.begin();
    EXPECT_EQ(it->first, u"a");
    ++it;
    EXPECT_EQ(it->second.points.unpack()[0].x, 1.0f); // the first b of the file comes first
    ++it;
    EXPECT_EQ(it->second.points.unpack()[0].x, 3.0f);
    ++it;
    EXPECT_EQ(it->first, u"c");
    EXPECT_EQ(it->second.points.size(), 1u);
}

TEST(TemplateFile, MissingFileSaysSoAndLeavesTheListAlone) {
    TempFolder folder("tf_missing");
    TemplateSet loaded;
    loaded.add(u"kept", {{1, 1}});
    testing::internal::CaptureStdout();
    loadGestureFile(folder.u16File("none.configure"), loaded.list);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "load file fail : " + folder.file("none.configure").string() + "\n");
    EXPECT_EQ(loaded.list.size(), 1u);
}

TEST(TemplateFile, WriterBytesAndRoundTrip) {
    TempFolder folder("tf_write");
    const std::u16string path = folder.u16File("MyGesture.configure");
    const Gesture z{u"Z", {{10, 20}, {30, 40}}};
    const Gesture odd{u"\U0001F600 x", {{10.9f, -10.9f}, {-0.5f, 3e10f}, {65535, 0}}};
    platform::AppendUndo undo;
    ASSERT_TRUE(appendUserGesture(path, z.name, z.points, undo));
    ASSERT_TRUE(appendUserGesture(path, odd.name, odd.points, undo));
    EXPECT_EQ(readBytes(folder.file("MyGesture.configure")),
              utf16::toBytes(u"Z,10,20,30,40\n\U0001F600 x,10,-10,0,2147483647,65535,0\n"));

    TemplateSet loaded;
    loadGestureFile(path, loaded.list);
    ASSERT_EQ(loaded.list.size(), 2u);
    const PointList back = loaded.list.find(u"\U0001F600 x")->second.points.unpack();
    EXPECT_EQ(pairs(back), (std::vector<std::pair<float, float>>{{10, -10}, {0, 2147483648.0f}, {65535, 0}}));
    // Written again, the saturated coordinate reads back the same: the file is stable.
    EXPECT_EQ(gestureLine(u"\U0001F600 x", back), u"\U0001F600 x,10,-10,0,2147483647,65535,0\n");

    const std::u16string unwritable = folder.folder() + u"\\missing\\MyGesture.configure";
    EXPECT_FALSE(appendUserGesture(unwritable, z.name, z.points, undo));
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

TEST(TemplateFile, PiecesOfAnySizeReadAsTheWholeFile) {
    // Units whose bytes hold 0x0A without being a line feed, a name outside the BMP, a carriage return,
    // an empty line, a last line without its line feed; then the same with an odd last byte.
    const std::u16string text = u"\u010Aa,1,2\n\u0A00b,3,4,5,6\r\n\n\U0001F600,7,8\nc,9,10";
    for (const bool oddByte : {false, true}) {
        std::string bytes = utf16::toBytes(text);
        if (oddByte)
            bytes += '\n';
        TemplateSet whole;
        parseGestureBytes(bytes, whole.list);
        ASSERT_EQ(whole.list.size(), 4u);
        for (std::size_t piece = 1; piece <= 9; ++piece) {
            SCOPED_TRACE(testing::Message() << "pieces of " << piece << (oddByte ? ", odd last byte" : ""));
            TemplateSet pieces;
            TemplateReader reader(pieces.list, TemplateOrigin::user);
            for (std::size_t at = 0; at < bytes.size(); at += piece)
                reader.read(std::string_view(bytes).substr(at, piece));
            reader.finish();
            ASSERT_EQ(pieces.list.size(), whole.list.size());
            for (auto a = whole.list.begin(), b = pieces.list.begin(); a != whole.list.end(); ++a, ++b) {
                EXPECT_EQ(a->first, b->first);
                EXPECT_EQ(pairs(a->second.points.unpack()), pairs(b->second.points.unpack()));
                EXPECT_EQ(b->second.origin, TemplateOrigin::user);
            }
        }
    }
}

TEST(TemplateFile, ALargeFileReadsWholeAndInFileOrder) {
    // Many reads' worth, with a byte-order mark in front that is not part of the first name.
    TempFolder folder("tf_large");
    constexpr int kLines = 40000;
    std::u16string text = u"\uFEFF";
    for (int i = 0; i < kLines; ++i)
        text += u"n" + utf16::fromInt(i % 7) + u"," + utf16::fromInt(i) + u",-" + utf16::fromInt(i * 3) +
                u",17,4\n";
    writeBytes(folder.file("big.configure"), utf16::toBytes(text));
    ASSERT_GT(text.size() * 2, 1u << 20);
    TemplateSet loaded;
    loaded.add(u"n3", {{-1, -1}}); // already there: the file's templates of its name come after it
    ASSERT_TRUE(readGestureFile(folder.u16File("big.configure"), loaded.list, TemplateOrigin::user));
    ASSERT_EQ(loaded.list.size(), kLines + 1u);
    EXPECT_EQ(loaded.list.begin()->first, u"n0");
    EXPECT_EQ(loaded.list.find(u"n3")->second.origin, TemplateOrigin::defaults);
    // Within a name, file order: n3 holds templates 3, 10, 17, ...
    for (int name = 0; name < 7; ++name) {
        auto it = loaded.list.find(u"n" + utf16::fromInt(name));
        if (name == 3)
            ++it;
        for (int i = name; i < kLines; i += 7, ++it) {
            ASSERT_EQ(it->first, u"n" + utf16::fromInt(name));
            ASSERT_EQ(pairs(it->second.points.unpack()),
                      (std::vector<std::pair<float, float>>{
                          {static_cast<float>(i), static_cast<float>(-3 * i)}, {17, 4}}))
                << "template " << i;
            ASSERT_EQ(it->second.origin, TemplateOrigin::user);
        }
    }
}
