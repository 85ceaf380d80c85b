// Logo search: candidate order over scales and languages, fixed buffers, the language list.
#include <gtest/gtest.h>

#include <utility>

#include "apps/app_assets.h"
#include "common/utf16.h"
#include "platform/fake/fake_state.h"

namespace {

using platform::fake::catalogState;

class AppAssets : public testing::Test {
  protected:
    void SetUp() override {
        platform::fake::resetCatalog();
        catalogState().addFolder(u"F");
    }
};

std::vector<std::u16string> scaledNames(std::u16string_view folder, std::initializer_list<int> scales) {
    std::vector<std::u16string> out;
    for (int scale : scales)
        out.push_back(std::u16string(folder) + u"\\Assets\\Logo.scale-" + sc::utf16::fromInt(scale) +
                      u".png");
    out.push_back(std::u16string(folder) + u"\\Assets\\Logo.png");
    return out;
}

} // namespace

TEST(PathExtension, FollowsTheShellRule) {
    // Each path beside the extension the shell gives it.
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"Assets\\Logo.png", u".png"},
        {u"C:\\x\\file.PNG", u".PNG"},
        {u"noext", u""},
        {u"x.tar.gz", u".gz"},
        {u"dir.d\\name", u""},
        {u"a.b c", u""},
        {u".hidden", u".hidden"},
        {u"name.", u"."},
        {u"", u""},
    };
    for (const auto& [path, extension] : cases)
        EXPECT_EQ(sc::pathExtension(path), extension) << std::string(path.begin(), path.end());
}

TEST(FixedText, CutsAtCapacityLessOneAndKeepsSurrogatePairsWhole) {
    EXPECT_EQ(sc::fixedText(u"abcd", 5), u"abcd");
    EXPECT_EQ(sc::fixedText(u"abcde", 5), u"abcd");
    EXPECT_EQ(sc::fixedText(u"abc\xD83D\xDE00", 5), u"abc"); // the pair would be split: both halves go
    EXPECT_EQ(sc::fixedText(u"ab\xD83D\xDE00z", 5), u"ab\xD83D\xDE00"); // the pair fits whole
}

TEST_F(AppAssets, ScaledCandidatesStartAtTheHintsScaleThenGoDownThenPlain) {
    struct Case {
        int hint;
        std::initializer_list<int> order;
    };
    const Case cases[] = {
        {-3, {80, 100, 140, 180}}, {24, {80, 100, 140, 180}},  {25, {100, 140, 180, 80}},
        {30, {100, 140, 180, 80}}, {31, {140, 180, 100, 80}},  {42, {140, 180, 100, 80}},
        {43, {180, 140, 100, 80}}, {400, {180, 140, 100, 80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hint);
        catalogState().existenceChecks.clear();
        std::u16string buffer = u"F";
        EXPECT_FALSE(sc::findScaledAsset(buffer, u"Assets\\Logo", u".png", c.hint));
        EXPECT_EQ(catalogState().existenceChecks, scaledNames(u"F", c.order));
    }
}

TEST_F(AppAssets, FirstExistingCandidateWins) {
    catalogState().addFile(u"F\\Assets\\Logo.png");
    std::u16string buffer = u"F";
    ASSERT_TRUE(sc::findScaledAsset(buffer, u"Assets\\Logo", u".png", 43));
    EXPECT_EQ(buffer, u"F\\Assets\\Logo.png"); // found last, after all four scales

    catalogState().addFile(u"F\\Assets\\Logo.scale-100.png");
    catalogState().existenceChecks.clear();
    buffer = u"F";
    ASSERT_TRUE(sc::findScaledAsset(buffer, u"Assets\\Logo", u".png", 43));
    EXPECT_EQ(buffer, u"F\\Assets\\Logo.scale-100.png");
    EXPECT_EQ(catalogState().existenceChecks.size(), 3u); // 180 and 140 were tried first
}

TEST_F(AppAssets, LanguagesFirstInOrderThenTheInstallFolder) {
    catalogState().languages = std::u16string(u"en-US\0en\0\0", 10);
    sc::LanguageList languages;
    std::u16string full = u"unchanged";
    EXPECT_FALSE(sc::findLocalizedAsset(languages, u"F", u"Assets\\Logo.png", 45, full));
    EXPECT_EQ(full, u"unchanged");
    std::vector<std::u16string> expected;
    for (std::u16string_view folder : {u"F\\en-US", u"F\\en", u"F"})
        for (const auto& name : scaledNames(folder, {180, 140, 100, 80}))
            expected.push_back(name);
    EXPECT_EQ(catalogState().existenceChecks, expected);
}

TEST_F(AppAssets, OnlyPreferredLanguageFoldersAreSearched) {
    catalogState().languages = std::u16string(u"en-US\0\0", 7);
    catalogState().addFile(u"F\\de-DE\\Assets\\Logo.scale-180.png");
    catalogState().addFile(u"F\\Assets\\Logo.scale-80.png");
    catalogState().addFile(u"F\\en-US\\Assets\\Logo.png");
    sc::LanguageList languages;
    std::u16string full;
    ASSERT_TRUE(sc::findLocalizedAsset(languages, u"F", u"Assets\\Logo.png", 45, full));
    EXPECT_EQ(full,
              u"F\\en-US\\Assets\\Logo.png"); // a plain name in a language folder beats a scaled one outside

    catalogState().languages = std::u16string(u"fr-FR\0\0", 7);
    sc::LanguageList french;
    ASSERT_TRUE(sc::findLocalizedAsset(french, u"F", u"Assets\\Logo.png", 45, full));
    EXPECT_EQ(full, u"F\\Assets\\Logo.scale-80.png");
}

TEST_F(AppAssets, LanguageListIsFetchedOnceAndRetriedAfterAFailure) {
    sc::LanguageList languages;
    EXPECT_TRUE(languages.names().empty()); // the system gave nothing
    catalogState().languages = std::u16string(u"de-DE\0en-US\0\0", 13);
    EXPECT_EQ(languages.names(), (std::vector<std::u16string>{u"de-DE", u"en-US"}));
    catalogState().languages = std::u16string(u"fr-FR\0\0", 7);
    EXPECT_EQ(languages.names().front(), u"de-DE"); // kept for the life of the list
    EXPECT_EQ(catalogState().languageCalls, 2);
}

TEST_F(AppAssets, CandidatePathsAreCutToThePathBuffer) {
    const std::u16string folder(250, u'f');
    catalogState().addFolder(folder);
    std::u16string buffer = folder;
    EXPECT_FALSE(sc::findScaledAsset(buffer, u"Assets\\Logo", u".png", 43));
    for (const auto& candidate : catalogState().existenceChecks)
        EXPECT_EQ(candidate.size(), 259u);
    EXPECT_EQ(catalogState().existenceChecks.front(), (folder + u"\\Assets\\L"));
}
