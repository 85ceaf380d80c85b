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

void runShutdown(std::string_view parameters) {
    platform::shellExecuteA("open", "shutdown", parameters, kShowNormal);
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

} // namespace

void sendKeyChord(std::uint16_t modifier, std::uint16_t key) {
    // The modifier goes up last, so the target window sees one whole chord.
    platform::sendKeys({{modifier, false}, {key, false}, {key, true}, {modifier, true}});
}

void sendSingleKey(std::uint16_t key) {
    platform::sendKeys({{key, false}});
}

void emptyRecycleBin() {
    std::uint64_t items = 0;
    if (platform::queryRecycleBin(items) && items != 0)
        platform::emptyRecycleBin(0);
}

void turnOffMonitor() {
    platform::broadcastSystemCommand(kMonitorPowerCommand, kMonitorOff);
}

void logOff() {
    runShutdown("-l");
}

bool runMediaAndPowerAction(std::u16string_view action) {
    if (action == kLockScreen) {
        platform::lockWorkStation();
    } else if (action == kMute) {
        sendSingleKey(vk::kVolumeMute);
    } else if (action == kNext) {
        sendSingleKey(vk::kMediaNextTrack);
    } else if (action == kPrev) {
        sendSingleKey(vk::kMediaPrevTrack);
    } else if (action == kPlayPause) {
        sendSingleKey(vk::kMediaPlayPause); // the name says stop; the key has always been play/pause
    } else if (action == kPowerOff) {
        runShutdown("-s -t 01");
    } else if (action == kReboot) {
        runShutdown("-r -t 01");
    } else if (action == kWifiSwitch) {
        toggleWifiRadio();
    } else {
        return false;
    }
    return true;
}

bool runShortcutAction(std::u16string_view action) {
    for (const Chord& chord : kChords) {
        if (action == chord.name) {
            sendKeyChord(chord.modifier, chord.key);
            return true;
        }
    }
    if (action == kStopMedia) {
        sendSingleKey(vk::kMediaStop);
    } else if (action == kEmptyRecycleBin) {
        emptyRecycleBin();
    } else if (action == kTurnOffMonitor) {
        turnOffMonitor();
    } else if (action == kLogOff) {
        logOff();
    } else {
        return false;
    }
    return true;
}

} // namespace sc
