// The custom action store: its file format, load rules, add and remove.
#include <gtest/gtest.h>

#include "apps/custom_action_store.h"
#include "common/utf16.h"
#include "tests/support/bracketed.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr const char* kFile = "custom_action.configure";

TEST(CustomActionFile, LoadsByTheSeparatorRules) {
    struct Case {
        std::u16string_view text;
        std::string expected;
    };
    const Case cases[] = {
        {u"METRO:\\m|app!id\nDESKTOP:\\d|C:\\d.exe\n", "[DESKTOP:\\d=C:\\d.exe][METRO:\\m=app!id]"},
        {u"|k||v|x\n", "[k=v]"},               // leading and repeated separators, a third field
        {u"x\n\n||\n", ""},                    // one character, empty, separators only
        {u"k|first\nk|second\n", "[k=first]"}, // the first line of a key wins
        {u"k|v\r\n", "[k=v\r]"},               // a carriage return stays in the value
        {u" k | v \n", "[ k = v ]"},           // nothing is trimmed
        {u"\uFEFFk|v", "[\uFEFFk=v]"},         // a byte-order mark is part of the key
        {u"key\nkey2|\n", "[key=][key2=]"},    // a key without a value gets an empty one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(sc::utf16::toUtf8(c.text));
        EXPECT_EQ(sctest::bracketedRows(sc::parseCustomActions(c.text)), c.expected);
    }
}

class CustomActionStoreTest : public ::testing::Test {
  protected:
    sctest::TempFolder dir;
};

TEST_F(CustomActionStoreTest, FirstAddCreatesTheFileAndKeysStayOrdered) {
    sc::CustomActionStore store(dir.folder());
    EXPECT_FALSE(dir.exists(kFile));
    EXPECT_FALSE(store.find(u"DESKTOP:\\b"));
    ASSERT_TRUE(store.add(u"DESKTOP:\\b", u"b.exe"));
    EXPECT_EQ(dir.bytes(kFile), sc::utf16::toBytes(u"DESKTOP:\\b|b.exe\n"));
    ASSERT_TRUE(store.add(u"DESKTOP:\\a", u"a.exe"));
    EXPECT_EQ(dir.text(kFile), u"DESKTOP:\\a|a.exe\nDESKTOP:\\b|b.exe\n");
    EXPECT_EQ(store.find(u"DESKTOP:\\a")->value, u"a.exe");
}

TEST_F(CustomActionStoreTest, AddingAKnownKeyKeepsTheValueAndTheFile) {
    sc::CustomActionStore store(dir.folder());
    ASSERT_TRUE(store.add(u"k", u"old"));
    dir.writeText(kFile, u"marker");
    EXPECT_TRUE(store.add(u"k", u"new"));
    EXPECT_EQ(store.find(u"k")->value, u"old");
    EXPECT_EQ(dir.text(kFile), u"marker");
}

TEST_F(CustomActionStoreTest, RoundTripsAnyTextTheFileCanCarry) {
    {
        sc::CustomActionStore store(dir.folder());
        ASSERT_TRUE(store.add(u"METRO:\\caf\u00E9 \U0001F600", u"\u4E2D\u6587!App"));
        ASSERT_TRUE(store.add(u"metro:\\Small", u""));
        ASSERT_TRUE(store.add(u"Metro:\\Small", u"x"));
    }
    sc::CustomActionStore again(dir.folder());
    EXPECT_EQ(again.find(u"METRO:\\caf\u00E9 \U0001F600")->value, u"\u4E2D\u6587!App");
    EXPECT_EQ(again.find(u"metro:\\Small")->value, u"");
    EXPECT_EQ(again.find(u"Metro:\\Small")->value, u"x");
}

TEST_F(CustomActionStoreTest, RefusesWhatTheFileCannotCarry) {
    sc::CustomActionStore store(dir.folder());
    EXPECT_FALSE(store.add(u"", u"v"));
    EXPECT_FALSE(store.add(u"a|b", u"v"));
    EXPECT_FALSE(store.add(u"k", u"v|w"));
    EXPECT_FALSE(store.add(u"k", u"v\nDESKTOP:\\evil|x"));
    EXPECT_FALSE(store.find(u"k"));
    EXPECT_FALSE(dir.exists(kFile));
}

TEST_F(CustomActionStoreTest, RemoveRewritesTheFile) {
    sc::CustomActionStore store(dir.folder());
    ASSERT_TRUE(store.add(u"a", u"1"));
    ASSERT_TRUE(store.add(u"b", u"2"));
    EXPECT_TRUE(store.remove(u"a"));
    EXPECT_EQ(dir.text(kFile), u"b|2\n");
    EXPECT_TRUE(store.remove(u"missing"));
    EXPECT_TRUE(store.remove(u"b"));
    EXPECT_EQ(dir.bytes(kFile), "");
}

TEST_F(CustomActionStoreTest, AFailedWriteReportsFailureAndChangesNothing) {
    sc::CustomActionStore store(dir.folder());
    ASSERT_TRUE(store.add(u"a", u"1"));
    dir.removeAll();
    EXPECT_FALSE(store.add(u"b", u"2"));
    EXPECT_FALSE(store.find(u"b"));
    EXPECT_FALSE(store.remove(u"a"));
    EXPECT_EQ(store.find(u"a")->value, u"1"); // not removed when the file still names it
}

TEST_F(CustomActionStoreTest, LoadReplacesTheEntries) {
    dir.writeText(kFile, u"a|1\n");
    sc::CustomActionStore store(dir.folder());
    EXPECT_TRUE(store.find(u"a"));
    dir.writeText(kFile, u"b|2\n");
    EXPECT_TRUE(store.load());
    EXPECT_FALSE(store.find(u"a"));
    EXPECT_TRUE(store.find(u"b"));
    dir.removeAll();
    EXPECT_FALSE(store.load());
    EXPECT_TRUE(store.find(u"b"));
}

} // namespace
