// Every built-in action name against the exact system calls it makes and what its run comes to.
#include <gtest/gtest.h>

#include "action/builtin_actions.h"
#include "common/utf16.h"
#include "platform/fake/fake_state.h"

namespace {

using platform::fake::SystemCall;
using sc::BuiltinRun;
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
    Calls calls;
    BuiltinRun run = BuiltinRun::Ran;
};

const BuiltIn kBuiltIns[] = {
    {u"LOCKSCREEN", {{"LockWorkStation", {}}}},
    {u"MUTE_KEY", {press("0xAD")}},
    {u"NEXT_KEY", {press("0xB0")}},
    {u"PREV_KEY", {press("0xB1")}},
    {u"STOP_KEY", {press("0xB3")}}, // play/pause
    {u"POWEROFF", {shutdown("-s -t 01")}},
    {u"REBOOT", {shutdown("-r -t 01")}},
    // No wireless interface is scripted: the switch is refused.
    {u"WIFISWITCH",
     {{"WlanOpenHandle", {"2"}}, {"WlanEnumInterfaces", {}}, {"WlanCloseHandle", {}}},
     BuiltinRun::Refused},
    {u"CTRL_C", {chord("0x11", "0x43")}},
    {u"CTRL_V", {chord("0x11", "0x56")}},
    {u"CTRL_X", {chord("0x11", "0x58")}},
    {u"SELECT_ALL", {chord("0x11", "0x41")}},
    {u"UNDO", {chord("0x11", "0x5A")}},
    {u"REDO", {chord("0x11", "0x59")}},
    {u"DELECT_SELECTED_ITEM", {chord("0x11", "0x44")}},
    {u"CLOSE_APP", {chord("0x12", "0x73")}},
    {u"SHOWDESKTOP", {chord("0x5B", "0x44")}},
    {u"MIN_WND", {chord("0x5B", "0x4D")}},
    {u"OPEN_SECOND_SCRN_SETTING", {chord("0x5B", "0x50")}},
    {u"PRSCRN", {chord("0x5B", "0x2C")}},
    {u"SEARCH_APP", {chord("0x5B", "0x51")}},
    {u"SEARCH_FILE", {chord("0x5B", "0x46")}},
    {u"SEARCH_SYS_SETTING", {chord("0x5B", "0x57")}},
    {u"STOPMEDIAPLAY", {press("0xB2")}},
    {u"EMPTYRECYLEBIN", {{"SHQueryRecycleBinW", {}}}}, // an empty bin is left alone
    {u"TURNOFFMONITOR", {{"SendMessageW", {"HWND_BROADCAST", "WM_SYSCOMMAND", "0xF170", "2"}}}},
    {u"LOGOFF", {shutdown("-l")}},
};

class BuiltInActions : public ::testing::Test {
  protected:
    void SetUp() override { platform::fake::resetSystem(); }
};

TEST_F(BuiltInActions, EachNameMakesExactlyItsCalls) {
    std::vector<std::u16string_view> names;
    for (const BuiltIn& b : kBuiltIns) {
        SCOPED_TRACE(sc::utf16::toUtf8(b.name));
        platform::fake::resetSystem();
        EXPECT_EQ(sc::runBuiltinAction(b.name), b.run);
        EXPECT_EQ(platform::fake::systemCalls(), b.calls);
        names.push_back(b.name);
    }
    EXPECT_EQ(sc::builtinActionNames(), names); // each listed once, media and power first
}

TEST_F(BuiltInActions, OtherNamesRunNothing) {
    const std::u16string_view names[] = {u"mute_key", u"MUTE_KEY ", u"NOTEPAD", u"CALCULATOR", u"__CUSTOM:\\",
                                         u"",         u"P",         u"PRSCR",   u"CTRL_C\r"};
    for (std::u16string_view name : names) {
        SCOPED_TRACE(sc::utf16::toUtf8(name));
        EXPECT_EQ(sc::runBuiltinAction(name), BuiltinRun::NotBuiltin);
    }
    EXPECT_TRUE(platform::fake::systemCalls().empty());
}

TEST_F(BuiltInActions, SystemFailuresAreRefusals) {
    auto& script = platform::fake::systemScript();
    script.lockSucceeds = false;
    script.shellExecuteAResult = 2;
    script.keysRefused = 4;
    script.wlanOpenSucceeds = false;
    script.recycleQuerySucceeds = false;
    for (std::u16string_view name : {u"LOCKSCREEN", u"POWEROFF", u"LOGOFF", u"MUTE_KEY", u"CLOSE_APP",
                                     u"WIFISWITCH", u"EMPTYRECYLEBIN"}) {
        SCOPED_TRACE(sc::utf16::toUtf8(name));
        EXPECT_EQ(sc::runBuiltinAction(name), BuiltinRun::Refused);
    }
    EXPECT_EQ(sc::runBuiltinAction(u"TURNOFFMONITOR"), BuiltinRun::Ran); // the broadcast answers nothing
}

TEST_F(BuiltInActions, RecycleBinIsEmptiedOnlyWhenItHoldsSomething) {
    auto& script = platform::fake::systemScript();
    script.recycleItems = 3;
    EXPECT_EQ(sc::runBuiltinAction(u"EMPTYRECYLEBIN"), BuiltinRun::Ran);
    script.recycleQuerySucceeds = false;
    script.recycleItems = 3;
    EXPECT_EQ(sc::runBuiltinAction(u"EMPTYRECYLEBIN"), BuiltinRun::Refused);
    EXPECT_EQ(
        platform::fake::systemCalls(),
        (Calls{{"SHQueryRecycleBinW", {}}, {"SHEmptyRecycleBinW", {"0x0"}}, {"SHQueryRecycleBinW", {}}}));
}

} // namespace
