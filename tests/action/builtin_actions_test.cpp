// Every built-in action name against the exact system calls it makes.
#include <gtest/gtest.h>

#include "action/builtin_actions.h"
#include "common/utf16.h"
#include "platform/fake/system_fake.h"

namespace {

using platform::fake::SystemCall;
using Calls = std::vector<SystemCall>;

SystemCall chord(const char* modifier, const char* key) {
    return {"SendInput",
            {std::string(modifier) + " down", std::string(key) + " down", std::string(key) + " up",
             std::string(modifier) + " up"}};
}
SystemCall press(const char* key) {
    return {"SendInput", {std::string(key) + " down"}};
}
SystemCall shutdown(const char* parameters) {
    return {"ShellExecuteA", {"open", "shutdown", parameters, "1"}};
}

struct BuiltIn {
    std::u16string_view name;
    bool firstTable;
    Calls calls;
};

const BuiltIn kBuiltIns[] = {
    {u"LOCKSCREEN", true, {{"LockWorkStation", {}}}},
    {u"MUTE_KEY", true, {press("0xAD")}},
    {u"NEXT_KEY", true, {press("0xB0")}},
    {u"PREV_KEY", true, {press("0xB1")}},
    {u"STOP_KEY", true, {press("0xB3")}}, // play/pause
    {u"POWEROFF", true, {shutdown("-s -t 01")}},
    {u"REBOOT", true, {shutdown("-r -t 01")}},
    {u"WIFISWITCH", true, {{"WlanOpenHandle", {"2"}}, {"WlanEnumInterfaces", {}}, {"WlanCloseHandle", {}}}},
    {u"CTRL_C", false, {chord("0x11", "0x43")}},
    {u"CTRL_V", false, {chord("0x11", "0x56")}},
    {u"CTRL_X", false, {chord("0x11", "0x58")}},
    {u"SELECT_ALL", false, {chord("0x11", "0x41")}},
    {u"UNDO", false, {chord("0x11", "0x5A")}},
    {u"REDO", false, {chord("0x11", "0x59")}},
    {u"DELECT_SELECTED_ITEM", false, {chord("0x11", "0x44")}},
    {u"CLOSE_APP", false, {chord("0x12", "0x73")}},
    {u"SHOWDESKTOP", false, {chord("0x5B", "0x44")}},
    {u"MIN_WND", false, {chord("0x5B", "0x4D")}},
    {u"OPEN_SECOND_SCRN_SETTING", false, {chord("0x5B", "0x50")}},
    {u"PRSCRN", false, {chord("0x5B", "0x2C")}},
    {u"SEARCH_APP", false, {chord("0x5B", "0x51")}},
    {u"SEARCH_FILE", false, {chord("0x5B", "0x46")}},
    {u"SEARCH_SYS_SETTING", false, {chord("0x5B", "0x57")}},
    {u"STOPMEDIAPLAY", false, {press("0xB2")}},
    {u"EMPTYRECYLEBIN", false, {{"SHQueryRecycleBinW", {}}}}, // an empty bin is left alone
    {u"TURNOFFMONITOR", false, {{"SendMessageW", {"HWND_BROADCAST", "WM_SYSCOMMAND", "0xF170", "2"}}}},
    {u"LOGOFF", false, {shutdown("-l")}},
};

class BuiltInActions : public ::testing::Test {
  protected:
    void SetUp() override { platform::fake::resetSystem(); }
};

TEST_F(BuiltInActions, EachNameMakesExactlyItsCallsInItsOwnTable) {
    for (const BuiltIn& b : kBuiltIns) {
        SCOPED_TRACE(sc::utf16::toUtf8(b.name));
        platform::fake::resetSystem();
        EXPECT_EQ(sc::runMediaAndPowerAction(b.name), b.firstTable);
        if (!b.firstTable) {
            EXPECT_TRUE(platform::fake::systemCalls().empty());
            EXPECT_TRUE(sc::runShortcutAction(b.name));
        } else {
            EXPECT_FALSE(sc::runShortcutAction(b.name));
        }
        EXPECT_EQ(platform::fake::systemCalls(), b.calls);
    }
}

TEST_F(BuiltInActions, OtherNamesRunNothing) {
    const std::u16string_view names[] = {u"mute_key", u"MUTE_KEY ", u"NOTEPAD", u"CALCULATOR", u"__CUSTOM:\\",
                                         u"",         u"P",         u"PRSCR",   u"CTRL_C\r"};
    for (std::u16string_view name : names) {
        SCOPED_TRACE(sc::utf16::toUtf8(name));
        EXPECT_FALSE(sc::runMediaAndPowerAction(name));
        EXPECT_FALSE(sc::runShortcutAction(name));
    }
    EXPECT_TRUE(platform::fake::systemCalls().empty());
}

TEST_F(BuiltInActions, SystemFailuresStillCountAsRun) {
    auto& script = platform::fake::systemScript();
    script.lockSucceeds = false;
    script.shellExecuteAResult = 2;
    script.keysRefused = 4;
    script.wlanOpenSucceeds = false;
    for (std::u16string_view name : {u"LOCKSCREEN", u"POWEROFF", u"MUTE_KEY", u"WIFISWITCH"})
        EXPECT_TRUE(sc::runMediaAndPowerAction(name));
    EXPECT_TRUE(sc::runShortcutAction(u"CLOSE_APP"));
}

TEST_F(BuiltInActions, RecycleBinIsEmptiedOnlyWhenItHoldsSomething) {
    auto& script = platform::fake::systemScript();
    script.recycleItems = 3;
    EXPECT_TRUE(sc::runShortcutAction(u"EMPTYRECYLEBIN"));
    script.recycleQuerySucceeds = false;
    script.recycleItems = 3;
    EXPECT_TRUE(sc::runShortcutAction(u"EMPTYRECYLEBIN"));
    EXPECT_EQ(
        platform::fake::systemCalls(),
        (Calls{{"SHQueryRecycleBinW", {}}, {"SHEmptyRecycleBinW", {"0x0"}}, {"SHQueryRecycleBinW", {}}}));
}

} // namespace
