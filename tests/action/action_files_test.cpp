// The text of the switch and binding files: parsing, formatting and converting old 8-bit files.
#include <gtest/gtest.h>

#include "action/action_files.h"
#include "common/utf16.h"
#include "tests/support/bracketed.h"

namespace {

TEST(ActionFile, ParsesRecordsByTheCommaRules) {
    struct Case {
        std::u16string_view text;
        std::string expected;
    };
    const Case cases[] = {
        {u"Quorvex Setting CFG\nGLOBAL,0\n", "[GLOBAL=0]"},
        {u"Quorvex Setting CFG\nG,A", "[G=A]"},             // last line without a line feed
        {u"G,A\nQuorvex Setting CFG\nH,B\n", "[G=A][H=B]"}, // the header is optional
        {u"Quorvex Setting CFG\nQuorvex Setting CFG\n", "[Quorvex Setting CFG]"}, // a second one is a record
        {u"\uFEFFQuorvex Setting CFG\n", "[\uFEFFQuorvex Setting CFG]"},          // a byte-order mark is text
        {u"x\n\nG,0\n", "[G=0]"},                                                 // short lines are skipped
        {u",,G,0,x\n", "[G=0]"}, // leading commas, a third field
        {u"G,A,B\n", "[G=A]"},
        {u"G,,,A\n", "[G=A]"},     // a run of commas is one separator
        {u",,,\n", ""},            // commas only: no key
        {u"Gx\nG,\n", "[Gx][G]"},  // no value
        {u"G , A \n", "[G = A ]"}, // nothing is trimmed
        {u"G,A\r\n", "[G=A\r]"},   // a carriage return stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(sc::utf16::toUtf8(c.text));
        EXPECT_EQ(sctest::bracketedRows(sc::action_file::parse(c.text)), c.expected);
    }
}

TEST(ActionFile, RewritesInCodeUnitOrderAfterTheHeader) {
    const std::map<std::u16string, std::uint8_t, std::less<>> switches = {
        {u"star", 1}, {u"GLOBAL", 0}, {u"Circle", 0}, {u"Zed", 1}};
    EXPECT_EQ(sc::action_file::formatSwitches(switches),
              u"Quorvex Setting CFG\nCircle,0\nGLOBAL,0\nZed,1\nstar,1\n");
    EXPECT_EQ(sc::action_file::formatBindings({}), u"Quorvex Setting CFG\n");
    EXPECT_EQ(sc::action_file::formatBindings({{u"b", u"UNDO"}, {u"a", u"REDO"}}),
              u"Quorvex Setting CFG\na,REDO\nb,UNDO\n");
}

TEST(ActionFile, ConvertsOldLinesByteForByte) {
    struct Case {
        std::string_view bytes;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {"GLOBAL,0\nZ,1\n", u"Quorvex Setting CFG\nGLOBAL,0\nZ,1\n"},
        {"GLOBAL,0\r\nZ,1", u"Quorvex Setting CFG\nGLOBAL,0\nZ,1\n"},   // CR LF, and no final line feed
        {"caf\xE9,\xFF\n", u"Quorvex Setting CFG\ncaf\u00E9,\u00FF\n"}, // high bytes as Latin-1
        {"a\n\nb\n", u"Quorvex Setting CFG\na\n\nb\n"},                 // empty lines are copied
        {"", u"Quorvex Setting CFG\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.bytes));
        EXPECT_EQ(sc::action_file::convertOld(c.bytes), c.expected);
    }
}

TEST(ActionFile, StorableTextsCannotBreakARecord) {
    EXPECT_TRUE(sc::action_file::storable(u"Circle"));
    EXPECT_TRUE(sc::action_file::storable(u"DESKTOP:\\C:\\x y.exe"));
    EXPECT_FALSE(sc::action_file::storable(u""));
    EXPECT_FALSE(sc::action_file::storable(u"a,b"));
    EXPECT_FALSE(sc::action_file::storable(u"a\nGLOBAL,1"));
}

} // namespace
