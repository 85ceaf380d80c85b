// The resident's options file: what it writes byte for byte, what it reads back, and how it survives a
// file edited by hand or broken.
#include <gtest/gtest.h>

#include "common/utf16.h"
#include "host/program/resident_options.h"
#include "tests/support/temp_folder.h"

namespace {

using program::ResidentOptions;

class ResidentOptionsTest : public ::testing::Test {
  protected:
    sctest::TempFolder dir;
};

TEST_F(ResidentOptionsTest, SavedOptionsReadBackAndTheFileIsUtf16Lines) {
    ResidentOptions options;
    options.hotKeyModifiers = program::kModControl | program::kModShift;
    options.hotKey = 0x70 + 4; // F5
    options.showStrokeResults = false;
    ASSERT_TRUE(program::saveResidentOptions(dir.folder(), options));
    EXPECT_EQ(dir.bytes("resident.configure"), sc::utf16::toBytes(u"hotkey,Ctrl+Shift+F5\nshow_results,0\n"));

    ResidentOptions read;
    read.hotKey = 0;
    ASSERT_TRUE(program::loadResidentOptions(dir.folder(), read));
    EXPECT_EQ(read, options);

    // A second save replaces the file whole.
    ASSERT_TRUE(program::saveResidentOptions(dir.folder(), ResidentOptions{}));
    EXPECT_EQ(dir.text("resident.configure"), u"hotkey,Ctrl+Alt+G\nshow_results,1\n");
}

TEST_F(ResidentOptionsTest, AMissingOrDamagedFileGivesTheDefaults) {
    ResidentOptions options;
    options.showStrokeResults = false;
    EXPECT_FALSE(program::loadResidentOptions(dir.folder(), options));
    EXPECT_EQ(options, ResidentOptions{});

    struct Case {
        const char* what;
        std::u16string text;
        ResidentOptions expected;
    };
    ResidentOptions hotKeyOnly;
    hotKeyOnly.hotKeyModifiers = program::kModWin;
    hotKeyOnly.hotKey = '7';
    ResidentOptions noHotKey;
    noHotKey.hotKeyModifiers = 0;
    noHotKey.hotKey = 0;
    const Case cases[] = {
        {"empty", u"", ResidentOptions{}},
        {"unknown keys and lines without a comma", u"colour,red\nnonsense\n\n", ResidentOptions{}},
        {"hot key naming no key", u"hotkey,Ctrl+Alt+\nshow_results,1\n", ResidentOptions{}},
        {"modifier twice", u"hotkey,Ctrl+Ctrl+K\n", ResidentOptions{}},
        {"show_results out of range", u"show_results,yes\n", ResidentOptions{}},
        {"hand edited: lower case, CR LF, no final line feed", u"hotkey,win+7\r\nshow_results,1", hotKeyOnly},
        {"hot key switched off", u"hotkey,none\n", noHotKey},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.writeText("resident.configure", c.text);
        ResidentOptions read;
        read.showStrokeResults = false;
        EXPECT_TRUE(program::loadResidentOptions(dir.folder(), read));
        EXPECT_EQ(read, c.expected);
    }
}

TEST_F(ResidentOptionsTest, AFailedSaveLeavesTheOldFile) {
    ASSERT_TRUE(program::saveResidentOptions(dir.folder(), ResidentOptions{}));
    const std::string before = dir.bytes("resident.configure");
    ResidentOptions other;
    other.hotKey = 'K';
    EXPECT_FALSE(program::saveResidentOptions(dir.folder() + u"\\missing", other));
    EXPECT_EQ(dir.bytes("resident.configure"), before);
}

TEST(HotKeyText, NamesAndParsesEveryKeyAPersonCanChoose) {
    struct Case {
        std::uint32_t modifiers;
        std::uint32_t key;
        std::u16string_view textual;
    };
    const Case cases[] = {
        {program::kModControl | program::kModAlt, 'G', u"Ctrl+Alt+G"},
        {program::kModWin | program::kModShift | program::kModAlt | program::kModControl, '0',
         u"Ctrl+Alt+Shift+Win+0"},
        {0, 0x70, u"F1"},
        {program::kModAlt, 0x87, u"Alt+F24"},
        {0, 0, u"none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(sc::utf16::toUtf8(c.textual));
        const program::text shown = program::hotKeyText(c.modifiers, c.key);
        EXPECT_EQ(std::u16string(shown.begin(), shown.end()), c.textual);
        std::uint32_t modifiers = 99;
        std::uint32_t key = 99;
        ASSERT_TRUE(program::parseHotKey(shown, modifiers, key));
        EXPECT_EQ(modifiers, c.modifiers);
        EXPECT_EQ(key, c.key);
    }
    for (std::u16string_view bad : {u"", u"Ctrl+", u"Ctrl+F25", u"Ctrl+F0", u"Hyper+G", u"Ctrl+GG", u"F01"}) {
        SCOPED_TRACE(sc::utf16::toUtf8(bad));
        std::uint32_t modifiers = 99;
        std::uint32_t key = 99;
        EXPECT_FALSE(program::parseHotKey(program::text(bad.begin(), bad.end()), modifiers, key));
        EXPECT_EQ(modifiers, 99u);
        EXPECT_EQ(key, 99u);
    }
    // A key no name covers is still shown, so a person sees what is set.
    const program::text space = program::hotKeyText(program::kModControl, 0x20);
    EXPECT_EQ(std::u16string(space.begin(), space.end()), u"Ctrl+Key 0x20");
}

} // namespace
