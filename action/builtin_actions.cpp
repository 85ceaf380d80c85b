// The two tables of built-in actions and the effects behind them.
#include "action/builtin_actions.h"

#include <array>

#include "action/wifi_switch.h"
#include "platform/keyboard.h"
#include "platform/session.h"

namespace sc {
namespace {

using namespace action_names;

constexpr int kShowNormal = 1;
constexpr std::uint32_t kMonitorPowerCommand = 0xF170; // SC_MONITORPOWER
constexpr std::intptr_t kMonitorOff = 2;

constexpr std::intptr_t kLastShellError = 32;

bool runShutdown(std::string_view parameters) {
    return platform::shellExecuteA("open", "shutdown", parameters, kShowNormal) > kLastShellError;
}

BuiltinRun outcome(bool ok) {
    return ok ? BuiltinRun::Ran : BuiltinRun::Refused;
}

struct Chord {
    std::u16string_view name;
    std::uint16_t modifier;
    std::uint16_t key;
};

constexpr std::array kChords = {
    Chord{kCopy, vk::kControl, 'C'},
    Chord{kPaste, vk::kControl, 'V'},
    Chord{kCut, vk::kControl, 'X'},
    Chord{kSelectAll, vk::kControl, 'A'},
    Chord{kUndo, vk::kControl, 'Z'},
    Chord{kRedo, vk::kControl, 'Y'},
    Chord{kDeleteSelected, vk::kControl, 'D'},
    Chord{kCloseApp, vk::kMenu, vk::kF4},
    Chord{kShowDesktop, vk::kLeftWindows, 'D'},
    Chord{kMinimizeWindows, vk::kLeftWindows, 'M'},
    Chord{kSecondScreen, vk::kLeftWindows, 'P'},
    Chord{kPrintScreen, vk::kLeftWindows, vk::kSnapshot},
    Chord{kSearchApp, vk::kLeftWindows, 'Q'},
    Chord{kSearchFile, vk::kLeftWindows, 'F'},
    Chord{kSearchSetting, vk::kLeftWindows, 'W'},
};

constexpr std::array kMediaAndPowerNames = {kLockScreen, kMute,     kNext,   kPrev,
                                            kPlayPause,  kPowerOff, kReboot, kWifiSwitch};
constexpr std::array kOtherShortcutNames = {kStopMedia, kEmptyRecycleBin, kTurnOffMonitor, kLogOff};

BuiltinRun mediaAndPower(std::u16string_view action) {
    if (action == kLockScreen)
        return outcome(platform::lockWorkStation());
    if (action == kMute)
        return outcome(sendSingleKey(vk::kVolumeMute));
    if (action == kNext)
        return outcome(sendSingleKey(vk::kMediaNextTrack));
    if (action == kPrev)
        return outcome(sendSingleKey(vk::kMediaPrevTrack));
    if (action == kPlayPause)
        return outcome(
            sendSingleKey(vk::kMediaPlayPause)); // the name says stop; the key has always been play/pause
    if (action == kPowerOff)
        return outcome(runShutdown("-s -t 01"));
    if (action == kReboot)
        return outcome(runShutdown("-r -t 01"));
    if (action == kWifiSwitch)
        return outcome(toggleWifiRadio());
    return BuiltinRun::NotBuiltin;
}

BuiltinRun shortcut(std::u16string_view action) {
    for (const Chord& chord : kChords)
        if (action == chord.name)
            return outcome(sendKeyChord(chord.modifier, chord.key));
    if (action == kStopMedia)
        return outcome(sendSingleKey(vk::kMediaStop));
    if (action == kEmptyRecycleBin)
        return outcome(emptyRecycleBin());
    if (action == kTurnOffMonitor) {
        turnOffMonitor();
        return BuiltinRun::Ran;
    }
    if (action == kLogOff)
        return outcome(logOff());
    return BuiltinRun::NotBuiltin;
}

} // namespace

bool sendKeyChord(std::uint16_t modifier, std::uint16_t key) {
    // The modifier goes up last, so the target window sees one whole chord.
    return platform::sendKeys({{modifier, false}, {key, false}, {key, true}, {modifier, true}}) == 4;
}

bool sendSingleKey(std::uint16_t key) {
    return platform::sendKeys({{key, false}}) == 1;
}

bool emptyRecycleBin() {
    std::uint64_t items = 0;
    if (!platform::queryRecycleBin(items))
        return false;
    return items == 0 || platform::emptyRecycleBin(0);
}

void turnOffMonitor() {
    platform::broadcastSystemCommand(kMonitorPowerCommand, kMonitorOff);
}

bool logOff() {
    return runShutdown("-l");
}

BuiltinRun runBuiltinAction(std::u16string_view action) {
    const BuiltinRun first = mediaAndPower(action);
    return first != BuiltinRun::NotBuiltin ? first : shortcut(action);
}

std::vector<std::u16string_view> builtinActionNames() {
    std::vector<std::u16string_view> names(kMediaAndPowerNames.begin(), kMediaAndPowerNames.end());
    for (const Chord& chord : kChords)
        names.push_back(chord.name);
    names.insert(names.end(), kOtherShortcutNames.begin(), kOtherShortcutNames.end());
    return names;
}

bool runMediaAndPowerAction(std::u16string_view action) {
    return mediaAndPower(action) != BuiltinRun::NotBuiltin;
}

bool runShortcutAction(std::u16string_view action) {
    return shortcut(action) != BuiltinRun::NotBuiltin;
}

} // namespace sc
