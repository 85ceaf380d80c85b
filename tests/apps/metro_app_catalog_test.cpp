// The app catalogue over the scripted platform: shortcut discovery, records, display names, texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "apps/metro_app_catalog.h"
#include "common/fnv.h"
#include "common/utf16.h"
#include "platform/fake/fake_state.h"

namespace {

using platform::PropertyValue;
using platform::ShortcutProperties;
using platform::fake::catalogState;

const std::u16string kLocal = u"C:\\Users\\u\\AppData\\Local";
const std::u16string kRoot = kLocal + u"\\Microsoft\\Windows\\Application Shortcuts";
const std::u16string kRepo =
    u"Software\\Classes\\Local "
    u"Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\Repository\\Packages\\";

PropertyValue text(std::u16string_view value) {
    return {PropertyValue::Type::Text, std::u16string(value), 0};
}
PropertyValue number(std::uint32_t value) {
    return {PropertyValue::Type::Int32, {}, value};
}

ShortcutProperties app(std::u16string_view id, std::u16string_view package = u"Pkg_1.0_x64__abc") {
    return {text(id), text(package), text(u"C:\\Program Files\\WindowsApps\\Pkg"), text(u"Assets\\Logo.png"),
            number(0x00D77800)};
}

class Catalog : public testing::Test {
  protected:
    void SetUp() override {
        platform::fake::resetCatalog();
        auto& s = catalogState();
        s.environment[u"LOCALAPPDATA"] = kLocal;
        s.languages = std::u16string(u"en-US\0\0", 7);
        s.addFolder(kRoot);
        s.addFolder(u"C:\\Program Files\\WindowsApps\\Pkg");
    }

    // Adds a shortcut file under a folder of the shortcut root and gives it its properties.
    std::u16string shortcut(std::u16string_view folder, std::u16string_view name,
                            std::optional<ShortcutProperties> properties) {
        auto& s = catalogState();
        const std::u16string dir = kRoot + u"\\" + std::u16string(folder);
        bool known = false;
        for (const auto& e : s.entries)
            known = known || e.path == dir;
        if (!known)
            s.addFolder(dir);
        const std::u16string path = dir + u"\\" + std::u16string(name);
        s.addFile(path);
        s.shortcuts[path] = properties;
        s.shellNames[path] = std::u16string(name.substr(0, name.size() - 4));
        return path;
    }

    static std::uint32_t keyOf(const std::u16string& path) {
        std::u16string upper = path;
        for (char16_t& c : upper)
            if (c >= u'a' && c <= u'z')
                c = static_cast<char16_t>(c - 32);
        return sc::fnvHash(upper);
    }

    static std::u16string info(const sc::MetroAppCatalog& catalog, const std::u16string& path) {
        std::u16string text;
        EXPECT_TRUE(catalog.infoText(keyOf(path), text));
        return text;
    }

    // Rebuilds the catalogue as the exports do; the number of records that came out complete (a failed
    // record keeps its key with empty texts).
    std::size_t refresh() {
        const std::u16string keys = catalog_.refreshAndListKeys();
        std::size_t complete = 0;
        for (const std::u16string_view digits : sc::utf16::tokens(keys, u'\n')) {
            std::uint32_t key = 0;
            for (const char16_t c : digits)
                key = key * 10 + static_cast<std::uint32_t>(c - u'0');
            sc::MetroAppRecord r;
            EXPECT_TRUE(catalog_.record(key, r));
            complete += r.appId.empty() ? 0 : 1;
        }
        return complete;
    }

    sc::LanguageList languages_;
    sc::MetroAppCatalog catalog_{languages_};
};

} // namespace

TEST_F(Catalog, ListsShortcutsOfTheFoldersDirectlyUnderTheRootOnly) {
    const auto a = shortcut(u"Pkg_1", u"App.lnk", app(u"Pkg!App"));
    const auto b = shortcut(u"Pkg_2", u"Two.LNK", app(u"Pkg!Two"));
    auto& s = catalogState();
    s.addFile(kRoot + u"\\Loose.lnk"); // in the root itself
    s.addFolder(kRoot + u"\\Pkg_1\\Deeper");
    s.addFile(kRoot + u"\\Pkg_1\\Deeper\\Deep.lnk"); // one level too deep
    s.addFile(kRoot + u"\\Pkg_1\\readme.txt");
    EXPECT_EQ(sc::findShortcutFiles(), (std::vector<std::u16string>{a, b}));
}

TEST_F(Catalog, MissingOrEmptyShortcutFolderGivesAnEmptyCatalogue) {
    EXPECT_EQ(catalog_.refreshAndListKeys(), u"");
    catalogState().entries.clear();
    EXPECT_EQ(refresh(), 0u);
    EXPECT_EQ(catalog_.size(), 0u);
}

TEST_F(Catalog, KeysAreTheHashOfTheUpperCasedPathInAscendingUnsignedOrder) {
    std::vector<std::uint32_t> keys;
    for (const char16_t* name : {u"a.lnk", u"b.lnk", u"c.lnk", u"d.lnk", u"e.lnk", u"f.lnk"})
        keys.push_back(keyOf(shortcut(u"P", name, app(u"P!A"))));
    std::sort(keys.begin(), keys.end());
    ASSERT_GE(keys.back(), 0x80000000u); // these names include a key with its top bit set
    std::u16string expected;
    for (std::uint32_t k : keys)
        expected += (expected.empty() ? u"" : u"\n") + sc::utf16::fromUnsigned(k);
    EXPECT_EQ(catalog_.refreshAndListKeys(), expected);
    EXPECT_EQ(catalog_.refreshAndListKeys(), expected); // stable across refreshes
}

TEST_F(Catalog, CompleteRecordCarriesIdNameLogoAndColour) {
    auto& s = catalogState();
    s.addFile(u"C:\\Program Files\\WindowsApps\\Pkg\\Assets\\Logo.scale-100.png");
    s.registry[kRepo + u"Pkg_1.0_x64__abc\\Applications\\Pkg!App"][u"DisplayName"] =
        u"@{Pkg?ms-resource://Pkg/Name}";
    s.indirectStrings[u"@{Pkg?ms-resource://Pkg/Name}"] = u"Weather";
    const auto path = shortcut(u"Pkg", u"App.lnk", app(u"Pkg!App"));
    EXPECT_EQ(refresh(), 1u);
    EXPECT_EQ(info(catalog_, path),
              u"Pkg!App\nWeather\nC:\\Program Files\\WindowsApps\\Pkg\\Assets\\Logo.scale-100.png\n14120960");
    sc::MetroAppRecord r;
    ASSERT_TRUE(catalog_.record(keyOf(path), r));
    EXPECT_EQ(r.package, u"Pkg_1.0_x64__abc");
    EXPECT_EQ(r.installPath, u"C:\\Program Files\\WindowsApps\\Pkg");
}

TEST_F(Catalog, FailedRecordsAreListedWithEmptyTexts) {
    auto noId = app(u"");
    auto wrongType = app(u"x");
    wrongType.appId = {PropertyValue::Type::Other, {}, 7};
    auto noPackage = app(u"P!A", u"");
    auto noInstall = app(u"P!A");
    noInstall.installPath = {};
    auto noLogo = app(u"P!A");
    noLogo.smallLogo = text(u"ms-resource:");
    auto bstrId = app(u"P!A");
    const std::u16string paths[] = {
        shortcut(u"P", u"noid.lnk", noId),          shortcut(u"P", u"type.lnk", wrongType),
        shortcut(u"P", u"nopkg.lnk", noPackage),    shortcut(u"P", u"noinst.lnk", noInstall),
        shortcut(u"P", u"nologo.lnk", noLogo),      shortcut(u"P", u"readfail.lnk", std::nullopt),
        shortcut(u"P", u"noname.lnk", app(u"P!A")),
    };
    catalogState().shellNames.erase(paths[6]); // no repository key and no shell name either
    EXPECT_EQ(refresh(), 0u);
    EXPECT_EQ(catalog_.size(), std::size(paths));
    for (const auto& path : paths)
        EXPECT_EQ(info(catalog_, path), u"\n\n\n0");
}

TEST_F(Catalog, UnqueryableShortcutIsNotListedAtAll) {
    const auto path = shortcut(u"P", u"a.lnk", app(u"P!A"));
    catalogState().unqueryable.insert(path);
    EXPECT_EQ(catalog_.refreshAndListKeys(), u"");
}

TEST_F(Catalog, PropertyValuesAreReadAsStored) {
    auto& s = catalogState();
    s.environment[u"ProgramFiles"] = u"C:\\Program Files";
    s.addFile(u"C:\\Program Files\\WindowsApps\\Pkg\\Assets\\Small.png");
    auto capital = app(u"P!A");
    capital.smallLogo = text(u"MS-RESOURCE:Assets\\Small.png");
    capital.installPath = text(u"%ProgramFiles%\\WindowsApps\\Pkg");
    capital.background = number(0xFF123456); // a negative 32-bit integer keeps its bits
    auto notANumber = app(u"P!B");
    notANumber.background = text(u"12");
    const auto a = shortcut(u"P", u"a.lnk", capital);
    const auto b = shortcut(u"P", u"b.lnk", notANumber);
    EXPECT_EQ(refresh(), 2u);
    EXPECT_EQ(info(catalog_, a),
              u"P!A\na\nC:\\Program Files\\WindowsApps\\Pkg\\Assets\\Small.png\n4279383126");
    EXPECT_EQ(info(catalog_, b), u"P!B\nb\n\n0"); // no logo file: complete, with an empty logo path
}

TEST_F(Catalog, DisplayNameComesFromTheAppKeyThenThePackageKeyThenTheShell) {
    auto& s = catalogState();
    const std::u16string appKey = kRepo + u"Pkg_1.0_x64__abc\\Applications\\P!A";
    const std::u16string packageKey = kRepo + u"Pkg_1.0_x64__abc";
    const auto path = shortcut(u"P", u"Shell Name.lnk", app(u"P!A"));
    auto nameNow = [&] {
        refresh();
        sc::MetroAppRecord r;
        EXPECT_TRUE(catalog_.record(keyOf(path), r));
        return r.displayName;
    };
    EXPECT_EQ(nameNow(), u"Shell Name");
    s.registry[packageKey][u"DisplayName"] = u"Package Name";
    EXPECT_EQ(nameNow(), u"Package Name");
    s.registry[appKey][u"Other"] = u"x";
    EXPECT_EQ(nameNow(), u""); // the app key opened but has no usable name: no fallback
    s.registry[appKey][u"DisplayName"] = std::nullopt;
    EXPECT_EQ(nameNow(), u"");
    s.registry[appKey][u"DisplayName"] = u"@{unresolvable}";
    EXPECT_EQ(nameNow(), u"");
    s.registry[appKey][u"DisplayName"] = std::u16string(300, u'n');
    EXPECT_EQ(nameNow(), std::u16string(255, u'n')); // names live in 256-unit buffers
    s.registry[appKey][u"DisplayName"] = u"App Name";
    EXPECT_EQ(nameNow(), u"App Name");
    EXPECT_EQ(s.registryOpens.back(), appKey);
}

TEST_F(Catalog, RefreshReplacesTheWholeContentAndBalancesCom) {
    const auto a = shortcut(u"P", u"a.lnk", app(u"P!A"));
    const auto b = shortcut(u"P", u"b.lnk", app(u"P!B"));
    refresh();
    EXPECT_EQ(catalog_.size(), 2u);
    auto& entries = catalogState().entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const auto& e) { return e.path == b; }),
                  entries.end());
    std::u16string text;
    EXPECT_TRUE(catalog_.infoText(keyOf(b), text)); // still there until the next refresh
    refresh();
    EXPECT_FALSE(catalog_.infoText(keyOf(b), text));
    EXPECT_TRUE(catalog_.infoText(keyOf(a), text));
    EXPECT_EQ(catalogState().apartmentJoins, 2);
    EXPECT_EQ(catalogState().apartmentLeaves, 2);
}

TEST_F(Catalog, ReadersAndRefreshesMayOverlap) {
    const auto a = shortcut(u"P", u"a.lnk", app(u"P!A"));
    const std::uint32_t key = keyOf(a);
    refresh();
    std::thread refresher([&] {
        for (int i = 0; i < 200; ++i)
            catalog_.refreshAndListKeys();
    });
    for (int i = 0; i < 200; ++i) {
        std::u16string text;
        ASSERT_TRUE(catalog_.infoText(key, text));
        ASSERT_EQ(text.substr(0, 4), u"P!A\n");
    }
    refresher.join();
}
