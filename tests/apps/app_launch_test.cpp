// Running custom actions: which keys start what, through the recorded platform.
#include <gtest/gtest.h>

#include "apps/app_launch.h"
#include "apps/custom_action_store.h"
#include "platform/fake/fake_state.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::fake::SystemCall;
using platform::fake::systemCalls;
using platform::fake::systemScript;
using Calls = std::vector<SystemCall>;

const SystemCall kVisibility{"IsModernUiVisible", {}};
const SystemCall kWinD{"SendInput", {"0x5B down", "0x44 down", "0x44 up", "0x5B up"}};
SystemCall explorer(const char* value) {
    return {"ShellExecuteW", {"open", "explorer.exe", value, "1"}};
}

class AppLaunch : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::fake::resetSystem();
        store = std::make_unique<sc::CustomActionStore>(dir.folder());
        store->add(u"METRO:\\Mail", u"microsoft.windowscommunicationsapps!Mail");
        store->add(u"METRO:\\Empty", u"");
        store->add(u"DESKTOP:\\Pad", u"C:\\Windows\\notepad.exe");
        store->add(u"x DESKTOP:\\Pad", u"C:\\x.exe");
        store->add(u"metro:\\Mail", u"lower");
    }
    sctest::TempFolder dir;
    std::unique_ptr<sc::CustomActionStore> store;
};

TEST_F(AppLaunch, MetroKeysActivateTheirApp) {
    EXPECT_TRUE(sc::executeCustomAction(*store, u"METRO:\\Mail"));
    EXPECT_EQ(systemCalls(), (Calls{{"ActivateApplication", {"microsoft.windowscommunicationsapps!Mail"}}}));
    systemScript().activationResult = static_cast<std::int32_t>(0x80040154);
    EXPECT_FALSE(sc::executeCustomAction(*store, u"METRO:\\Mail"));
}

TEST_F(AppLaunch, AnEmptyAppIdNeverReachesTheSystem) {
    std::uint32_t pid = 0;
    EXPECT_EQ(sc::activateMetroApp(u"", pid), sc::kInvalidArgument);
    EXPECT_FALSE(sc::executeCustomAction(*store, u"METRO:\\Empty"));
    EXPECT_TRUE(systemCalls().empty());
}

TEST_F(AppLaunch, DesktopKeysShowTheDesktopFirstOnlyOverTheModernUi) {
    EXPECT_TRUE(sc::executeCustomAction(*store, u"DESKTOP:\\Pad"));
    EXPECT_EQ(systemCalls(), (Calls{kVisibility, explorer("C:\\Windows\\notepad.exe")}));
    platform::fake::resetSystem();
    systemScript().modernUiVisible = 1;
    EXPECT_TRUE(sc::executeCustomAction(*store, u"DESKTOP:\\Pad"));
    EXPECT_EQ(systemCalls(), (Calls{kVisibility, kWinD, explorer("C:\\Windows\\notepad.exe")}));
}

TEST_F(AppLaunch, OnlyTheShellResultDecides) {
    const std::intptr_t results[] = {0, 2, 32, 33, 42};
    for (std::intptr_t result : results) {
        systemScript().shellExecuteWResult = result;
        testing::internal::CaptureStdout();
        const bool started = sc::executeCustomAction(*store, u"DESKTOP:\\Pad");
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(started, result > 32) << result;
        EXPECT_EQ(out, result > 32 ? "" : "error code :" + std::to_string(result) + "\n");
    }
}

TEST_F(AppLaunch, OtherTextsAreDeclinedWithoutAnyCall) {
    for (std::u16string_view text : {u"NOTEPAD", u"x DESKTOP:\\Pad", u"metro:\\Mail", u"METRO:\\mail", u""})
        EXPECT_FALSE(sc::executeCustomAction(*store, text));
    EXPECT_TRUE(systemCalls().empty());
}

} // namespace
