// UTF-16 helpers and bounded copies.
#include <gtest/gtest.h>

#include "common/buffer.h"
#include "common/utf16.h"

using namespace sc;

TEST(Utf16, BytesAreLittleEndianWithoutMark) {
    EXPECT_EQ(utf16::toBytes(u"a\u20AC\n"), std::string("a\0\xAC\x20\n\0", 6));
    EXPECT_EQ(utf16::fromBytes(std::string("\xFF\xFE"
                                           "a\0b",
                                           5)),
              u"\uFEFFa"); // mark kept, odd byte dropped
}

TEST(Utf16, Utf8RoundTripsAndReplacesLoneSurrogates) {
    const std::u16string text = u"x\u00E9\u4E2D\U0001F600";
    EXPECT_EQ(utf16::fromUtf8(utf16::toUtf8(text)), text);
    EXPECT_EQ(utf16::toUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(utf16::fromUtf8("\xFF"
                              "a"),
              u"\uFFFDa");
}

TEST(Utf16, TokensSkipEmptyFields) {
    const auto t = utf16::tokens(u",,ab,,1,2,", u',');
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0], u"ab");
    EXPECT_EQ(t[2], u"2");
    EXPECT_TRUE(utf16::tokens(u",,,", u',').empty());
}

TEST(Utf16, JoinedPutsTheSeparatorOnlyBetweenParts) {
    EXPECT_EQ(utf16::joined({}, u','), u"");
    EXPECT_EQ(utf16::joined({u""}, u','), u"");
    EXPECT_EQ(utf16::joined({u"a", u"", u"bc"}, u','), u"a,,bc");
}

TEST(Utf16, SplitLinesKeepsCarriageReturns) {
    const auto lines = utf16::splitLines(u"a\r\n\nb");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], u"a\r");
    EXPECT_EQ(lines[1], u"");
    EXPECT_EQ(lines[2], u"b");
    EXPECT_EQ(utf16::splitLines(u"a\n").size(), 1u);
}

TEST(Utf16, DecimalFormsMatchPrintf) {
    EXPECT_EQ(utf16::fromInt(-2147483648LL), u"-2147483648");
    EXPECT_EQ(utf16::fromInt(0), u"0");
    EXPECT_EQ(utf16::fromUnsigned(4294967295ULL), u"4294967295");
}

TEST(Utf16, OnlyAsciiLettersFold) {
    struct Case {
        char16_t c, lower, upper;
    };
    const Case cases[] = {
        {u'A', u'a', u'A'},
        {u'z', u'z', u'Z'},
        {u'@', u'@', u'@'}, // letters and their neighbours
        {u'[', u'[', u'['},
        {u'`', u'`', u'`'},
        {u'{', u'{', u'{'}, // in the ASCII table
        {u'\u00C4', u'\u00C4', u'\u00C4'},
        {u'\u0131', u'\u0131', u'\u0131'}, // no other letter folds
        {u'\u212A', u'\u212A', u'\u212A'}, // not even KELVIN SIGN onto k
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.c));
        EXPECT_EQ(utf16::asciiLower(c.c), c.lower);
        EXPECT_EQ(utf16::asciiUpper(c.c), c.upper);
    }
}

TEST(BoundedCopy, CutsAtCapacityLessOneAndNeverSplitsAPair) {
    struct Case {
        std::u16string_view text;
        std::size_t capacity;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"abc", 4, u"abc"},         // fits with its terminator
        {u"abcd", 4, u"abc"},        // one too long: cut
        {u"", 1, u""},               // room for the terminator only
        {u"ab\U0001F600", 4, u"ab"}, // the cut would keep a lone high surrogate
        {u"ab\U0001F600", 5, u"ab\U0001F600"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "capacity " << c.capacity);
        char16_t buffer[8];
        const std::size_t n = boundedCopy(c.text, buffer, c.capacity);
        EXPECT_EQ(std::u16string_view(buffer, n), c.expected);
        EXPECT_EQ(buffer[n], 0);
    }
}

TEST(CopyOut, AllOrNothing) {
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(copyOut(u"abcd", buffer, 4), 0u);
    EXPECT_EQ(buffer[0], u'x');
    EXPECT_EQ(copyOut(u"abc", buffer, 4), 4u);
    EXPECT_EQ(std::u16string_view(buffer), u"abc");
    EXPECT_EQ(copyOut(u"a", static_cast<char16_t*>(nullptr), 4), 0u);
}
