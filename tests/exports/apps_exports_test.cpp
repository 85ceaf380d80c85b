// The catalogue and icon exports natively: the action manager gate and the caller's buffer rules.
#include <gtest/gtest.h>

#include "common/fnv.h"
#include "common/utf16.h"
#include "platform/fake/fake_state.h"
#include "strokecast.h"

namespace {

using platform::fake::catalogState;

const std::u16string kRoot = u"L\\Microsoft\\Windows\\Application Shortcuts";

class AppExports : public testing::Test {
  protected:
    void SetUp() override {
        platform::fake::resetCatalog();
        catalogState().environment.emplace(u"LOCALAPPDATA", std::u16string(u"L"));
        catalogState().addFolder(kRoot);
        OpenActionManager(u"config");
    }
    void TearDown() override { CloseActionNanager(); }
};

} // namespace

TEST_F(AppExports, WithoutAnActionManagerNothingIsTouched) {
    CloseActionNanager();
    char16_t buffer[8] = {u'x', u'y', 0};
    EXPECT_EQ(GetMetroKeyArrary(buffer, 8), 0u);
    EXPECT_EQ(GetMetroAppInfo(1, buffer, 8), 0u);
    EXPECT_EQ(std::u16string(buffer), u"xy");
    EXPECT_EQ(catalogState().apartmentJoins, 0); // no refresh happened
}

TEST_F(AppExports, EmptyCatalogueWritesTheEmptyText) {
    char16_t buffer[4] = {u'x', 0};
    EXPECT_EQ(GetMetroKeyArrary(buffer, 0), 0u);
    EXPECT_EQ(buffer[0], u'x');
    EXPECT_EQ(GetMetroKeyArrary(buffer, 1), 1u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(GetMetroKeyArrary(nullptr, 4), 0u);
}

TEST_F(AppExports, TextIsWrittenOnlyWhenItFitsWhole) {
    auto& s = catalogState();
    s.addFolder(kRoot + u"\\P");
    const std::u16string path = kRoot + u"\\P\\a.lnk";
    s.addFile(path); // cannot be loaded: a failed record
    const std::u16string key =
        sc::utf16::fromUnsigned(sc::fnvHash(u"L\\MICROSOFT\\WINDOWS\\APPLICATION SHORTCUTS\\P\\A.LNK"));

    std::u16string buffer(32, u'#');
    const auto exact = static_cast<uint32_t>(key.size() + 1);
    EXPECT_EQ(GetMetroKeyArrary(buffer.data(), exact - 1), 0u);
    EXPECT_EQ(buffer, std::u16string(32, u'#'));
    EXPECT_EQ(GetMetroKeyArrary(buffer.data(), exact), exact);
    EXPECT_EQ(buffer.substr(0, exact), key + u'\0');

    const auto numericKey = static_cast<uint32_t>(std::stoul(std::string(key.begin(), key.end())));
    EXPECT_EQ(GetMetroAppInfo(numericKey, buffer.data(), 4), 0u);
    EXPECT_EQ(GetMetroAppInfo(numericKey, buffer.data(), 5), 5u);
    EXPECT_EQ(buffer.substr(0, 5), std::u16string(u"\n\n\n0\0", 5));
    EXPECT_EQ(GetMetroAppInfo(numericKey + 1, buffer.data(), 32), 0u);
}

TEST(IconExports, NeedWindowsPictures) {
    EXPECT_EQ(GetMetroIcon(u"logo.png", 0xFF), nullptr);
    EXPECT_EQ(GetMetroIcon(nullptr, 0), nullptr);
    EXPECT_EQ(GetFileLargeIcon(u"C:\\x.exe"), nullptr);
    EXPECT_EQ(GetFileLargeIcon(nullptr), nullptr);
}
