// The built-in system actions: media keys, keyboard shortcuts, power and session commands.
#pragma once

#include <string_view>
#include <vector>

namespace sc {

// Names of the built-in actions.
namespace action_names {
inline constexpr std::u16string_view kLockScreen = u"LOCKSCREEN";
inline constexpr std::u16string_view kMute = u"MUTE_KEY";
inline constexpr std::u16string_view kNext = u"NEXT_KEY";
inline constexpr std::u16string_view kPrev = u"PREV_KEY";
inline constexpr std::u16string_view kPlayPause = u"STOP_KEY";
inline constexpr std::u16string_view kPowerOff = u"POWEROFF";
inline constexpr std::u16string_view kReboot = u"REBOOT";
inline constexpr std::u16string_view kWifiSwitch = u"WIFISWITCH";
inline constexpr std::u16string_view kCopy = u"CTRL_C";
inline constexpr std::u16string_view kPaste = u"CTRL_V";
inline constexpr std::u16string_view kCut = u"CTRL_X";
inline constexpr std::u16string_view kSelectAll = u"SELECT_ALL";
inline constexpr std::u16string_view kUndo = u"UNDO";
inline constexpr std::u16string_view kRedo = u"REDO";
inline constexpr std::u16string_view kDeleteSelected = u"DELECT_SELECTED_ITEM";
inline constexpr std::u16string_view kCloseApp = u"CLOSE_APP";
inline constexpr std::u16string_view kShowDesktop = u"SHOWDESKTOP";
inline constexpr std::u16string_view kMinimizeWindows = u"MIN_WND";
inline constexpr std::u16string_view kSecondScreen = u"OPEN_SECOND_SCRN_SETTING";
inline constexpr std::u16string_view kPrintScreen = u"PRSCRN";
inline constexpr std::u16string_view kSearchApp = u"SEARCH_APP";
inline constexpr std::u16string_view kSearchFile = u"SEARCH_FILE";
inline constexpr std::u16string_view kSearchSetting = u"SEARCH_SYS_SETTING";
inline constexpr std::u16string_view kStopMedia = u"STOPMEDIAPLAY";
inline constexpr std::u16string_view kEmptyRecycleBin = u"EMPTYRECYLEBIN";
inline constexpr std::u16string_view kTurnOffMonitor = u"TURNOFFMONITOR";
inline constexpr std::u16string_view kLogOff = u"LOGOFF";
} // namespace action_names

// What running a built-in action came to.
enum class BuiltinRun {
    NotBuiltin, // the name has no built-in effect; nothing was called
    Ran,        // the system took the request
    Refused,    // the system refused it; the cause is recorded for the host
};

// Runs the built-in action of that name (exact, case-sensitive).
BuiltinRun runBuiltinAction(std::u16string_view action);
// Every name runBuiltinAction knows, in the order of its table.
std::vector<std::u16string_view> builtinActionNames();

} // namespace sc
