// Gesture template files: the reader's line rules, the point reader, and the bytes the writer leaves.
#include <gtest/gtest.h>

#include "common/utf16.h"
#include "gesture/template_file.h"
#include "tests/gesture/gesture_test_support.h"

using namespace sc;
using gesturetest::OwnedList;
using gesturetest::readBytes;
using gesturetest::TempFolder;
using gesturetest::writeBytes;

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
        OwnedList loaded;
        testing::internal::CaptureStdout();
        parseGestureText(std::u16string(c.line) + u"\n", loaded.list);
        const std::string out = testing::internal::GetCapturedStdout();
        if (c.name.empty()) {
            EXPECT_TRUE(loaded.list.empty());
            EXPECT_EQ(out, c.line == u",,," ? "no name found !\n" : "");
            continue;
        }
        ASSERT_EQ(loaded.list.size(), 1u);
        EXPECT_EQ(loaded.list.begin()->first, c.name);
        EXPECT_EQ(loaded.list.begin()->second->name, c.name);
        EXPECT_EQ(pairs(loaded.list.begin()->second->points), c.points);
    }
}

TEST(TemplateFile, FileOrderWithinANameAndAMissingLastLineFeed) {
    OwnedList loaded;
    parseGestureText(u"b,1,1,2,2\na,5,5,6,6\nb,3,3,4,4\n\nx\nc,7,7", loaded.list);
    ASSERT_EQ(loaded.list.size(), 4u);
    auto it = loaded.list.begin();
    EXPECT_EQ(it->first, u"a");
    ++it;
    EXPECT_EQ(it->second->points[0].x, 1.0f); // the first b of the file comes first
    ++it;
    EXPECT_EQ(it->second->points[0].x, 3.0f);
    ++it;
    EXPECT_EQ(it->first, u"c");
    EXPECT_EQ(it->second->points.size(), 1u);
}

TEST(TemplateFile, MissingFileSaysSoAndLeavesTheListAlone) {
    TempFolder folder("tf_missing");
    OwnedList loaded;
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
    OwnedList none;
    ASSERT_TRUE(saveUserGesture(path, none.list, &z));
    ASSERT_TRUE(saveUserGesture(path, none.list, &odd));
    EXPECT_EQ(readBytes(folder.file("MyGesture.configure")),
              utf16::toBytes(u"Z,10,20,30,40\n\U0001F600 x,10,-10,0,2147483647,65535,0\n"));

    OwnedList loaded;
    loadGestureFile(path, loaded.list);
    ASSERT_EQ(loaded.list.size(), 2u);
    const Gesture& back = *loaded.list.find(u"\U0001F600 x")->second;
    EXPECT_EQ(pairs(back.points),
              (std::vector<std::pair<float, float>>{{10, -10}, {0, 2147483648.0f}, {65535, 0}}));
    // Written again, the saturated coordinate reads back the same: the file is stable.
    EXPECT_EQ(gestureLine(back), u"\U0001F600 x,10,-10,0,2147483647,65535,0\n");
}

TEST(TemplateFile, RewriteFollowsListOrderAndFailureLeavesTheFileAlone) {
    TempFolder folder("tf_rewrite");
    const std::u16string path = folder.u16File("MyGesture.configure");
    writeBytes(folder.file("MyGesture.configure"), utf16::toBytes(u"hand edited\r\n"));
    OwnedList users;
    users.add(u"b", {{1, 2}});
    users.add(u"a", {{3, 4}});
    users.add(u"b", {{5, 6}});
    ASSERT_TRUE(saveUserGesture(path, users.list, nullptr));
    EXPECT_EQ(readBytes(folder.file("MyGesture.configure")), utf16::toBytes(u"a,3,4\nb,1,2\nb,5,6\n"));

    const std::u16string unwritable = folder.u16() + u"\\missing\\MyGesture.configure";
    EXPECT_FALSE(saveUserGesture(unwritable, users.list, nullptr));
    EXPECT_FALSE(saveUserGesture(unwritable, users.list, users.list.begin()->second));
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));

    OwnedList empty;
    ASSERT_TRUE(saveUserGesture(path, empty.list, nullptr));
    EXPECT_EQ(readBytes(folder.file("MyGesture.configure")), "");
}

TEST(TemplateFile, BytesReadAsTheirCodeUnits) {
    // Units whose bytes hold 0x0A without being a line feed, a name outside the BMP, an odd last byte.
    const std::u16string text = u"\u010Aa,1,2\n\u0A00b,3,4,5,6\r\n\n\U0001F600,7,8\nc,9,10";
    for (const bool oddByte : {false, true}) {
        std::string bytes = utf16::toBytes(text);
        if (oddByte)
            bytes += '\n';
        OwnedList fromText, fromBytes;
        parseGestureText(text, fromText.list);
        parseGestureBytes(bytes, fromBytes.list);
        ASSERT_EQ(fromBytes.list.size(), fromText.list.size());
        ASSERT_EQ(fromBytes.list.size(), 4u);
        for (auto a = fromText.list.begin(), b = fromBytes.list.begin(); a != fromText.list.end(); ++a, ++b) {
            EXPECT_EQ(a->first, b->first);
            EXPECT_EQ(pairs(a->second->points), pairs(b->second->points));
        }
    }
}
