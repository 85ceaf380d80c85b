// The built-in system actions: media keys, keyboard shortcuts, power and session commands.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace sc {

// Names of the built-in actions and of the rest of the action vocabulary.
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
// Names of the vocabulary without a built-in effect: only a custom action of the same name runs them.
inline constexpr std::u16string_view kControlPanel = u"CONTROL_PANEL";
inline constexpr std::u16string_view kNotepad = u"NOTEPAD";
inline constexpr std::u16string_view kMyDocument = u"MYDOCUMENT";
inline constexpr std::u16string_view kMail = u"MAIL";
inline constexpr std::u16string_view kWeb = u"WEB";
inline constexpr std::u16string_view kMap = u"MAP";
inline constexpr std::u16string_view kWinStore = u"WIN_STORE";
inline constexpr std::u16string_view kVideo = u"MS_VIDEO";
inline constexpr std::u16string_view kMusic = u"MS_MUSIC";
inline constexpr std::u16string_view kMessaging = u"MS_MSG";
inline constexpr std::u16string_view kWeather = u"BING_WEATHER";
inline constexpr std::u16string_view kPeople = u"BING_PEOPLE";
inline constexpr std::u16string_view kNews = u"BING_NEWS";
inline constexpr std::u16string_view kFinance = u"BING_FINANCE";
inline constexpr std::u16string_view kTravel = u"BING_TRAVEL";
inline constexpr std::u16string_view kSports = u"BING_SPORTS";
inline constexpr std::u16string_view kPainter = u"PAINTER";
inline constexpr std::u16string_view kCalculator = u"CALCULATOR";
inline constexpr std::u16string_view kCmd = u"CMD";
inline constexpr std::u16string_view kSetting = u"SETTING";
inline constexpr std::u16string_view kXboxGames = u"XBOX_GAMES";
inline constexpr std::u16string_view kMediaPlayer = u"WMP";
inline constexpr std::u16string_view kCustomPrefix = u"__CUSTOM:\\";
} // namespace action_names

// Virtual-key codes the actions press.
namespace vk {
inline constexpr std::uint16_t kControl = 0x11;
inline constexpr std::uint16_t kMenu = 0x12;
inline constexpr std::uint16_t kSnapshot = 0x2C;
inline constexpr std::uint16_t kLeftWindows = 0x5B;
inline constexpr std::uint16_t kF4 = 0x73;
inline constexpr std::uint16_t kVolumeMute = 0xAD;
inline constexpr std::uint16_t kMediaNextTrack = 0xB0;
inline constexpr std::uint16_t kMediaPrevTrack = 0xB1;
inline constexpr std::uint16_t kMediaStop = 0xB2;
inline constexpr std::uint16_t kMediaPlayPause = 0xB3;
} // namespace vk

// What running a built-in action came to.
enum class BuiltinRun {
    NotBuiltin, // the name has no built-in effect; nothing was called
    Ran,        // the system took the request
    Refused,    // the system refused it; the cause is recorded for the host
};

// Runs a built-in action of either table by name.
BuiltinRun runBuiltinAction(std::u16string_view action);
// Every name runBuiltinAction knows, media and power first, then shortcuts, each table in its order.
std::vector<std::u16string_view> builtinActionNames();

// true when the name is a media, power or session action and its effect was started, refused or not;
// false for any other name.
bool runMediaAndPowerAction(std::u16string_view action);
// true when the name is a keyboard shortcut or one of the remaining system actions and its effect
// was started, refused or not; false for any other name.
bool runShortcutAction(std::u16string_view action);

// Modifier down, key down, key up, modifier up, in one injection; false when the system took fewer.
bool sendKeyChord(std::uint16_t modifier, std::uint16_t key);
// One press of the key and no release: how media keys are sent; false when the system refused it.
bool sendSingleKey(std::uint16_t key);
// Empties the recycle bins of every drive, with the shell's confirmation, when any holds an item;
// false when the query or the emptying failed.
bool emptyRecycleBin();
// Asks every top-level window to power the monitor off; blocks until all of them handled it.
void turnOffMonitor();
// Starts "shutdown -l"; false when the shell refused.
bool logOff();

} // namespace sc
