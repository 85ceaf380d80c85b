// The table of built-in actions: each name with the system calls it makes and how their answer counts.
#include "action/builtin_actions.h"

#include <cstdint>
#include <string_view>

#include "action/wifi_switch.h"
#include "platform/keyboard.h"
#include "platform/launch.h"
#include "platform/session.h"

namespace sc {
namespace {

using namespace action_names;
namespace vk = platform::vk;

constexpr std::uint32_t kMonitorPowerCommand = 0xF170; // SC_MONITORPOWER
constexpr std::intptr_t kMonitorOff = 2;

BuiltinRun outcome(bool ok) {
    return ok ? BuiltinRun::Ran : BuiltinRun::Refused;
}

template <std::uint16_t Modifier, std::uint16_t Key> BuiltinRun chord() {
    return outcome(platform::sendKeyChord(Modifier, Key));
}

// Media keys go down once and are never released: the system acts on the press.
template <std::uint16_t Key> BuiltinRun press() {
    return outcome(platform::sendKeys({{Key, false}}) == 1);
}

BuiltinRun shutdown(std::string_view parameters) {
    return outcome(platform::shellExecuteA("open", "shutdown", parameters, platform::kShowNormal) >
                   platform::kLastShellError);
}

// With the shell's confirmation, and only when a bin holds an item; an empty bin counts as done.
BuiltinRun emptyRecycleBin() {
    std::uint64_t items = 0;
    if (!platform::queryRecycleBin(items))
        return BuiltinRun::Refused;
    return outcome(items == 0 || platform::emptyRecycleBin(0));
}

// The broadcast returns once every top-level window handled it and answers nothing, so it always ran.
BuiltinRun turnOffMonitor() {
    platform::broadcastSystemCommand(kMonitorPowerCommand, kMonitorOff);
    return BuiltinRun::Ran;
}

struct BuiltinAction {
    std::u16string_view name;
    BuiltinRun (*run)();
};

constexpr BuiltinAction kActions[] = {
    {kLockScreen, [] { return outcome(platform::lockWorkStation()); }},
    {kMute, press<vk::kVolumeMute>},
    {kNext, press<vk::kMediaNextTrack>},
    {kPrev, press<vk::kMediaPrevTrack>},
    {kPlayPause, press<vk::kMediaPlayPause>}, // the name says stop; the key has always been play/pause
    {kPowerOff, [] { return shutdown("-s -t 01"); }},
    {kReboot, [] { return shutdown("-r -t 01"); }},
    {kWifiSwitch, [] { return outcome(toggleWifiRadio()); }},
    {kCopy, chord<vk::kControl, 'C'>},
    {kPaste, chord<vk::kControl, 'V'>},
    {kCut, chord<vk::kControl, 'X'>},
    {kSelectAll, chord<vk::kControl, 'A'>},
    {kUndo, chord<vk::kControl, 'Z'>},
    {kRedo, chord<vk::kControl, 'Y'>},
    {kDeleteSelected, chord<vk::kControl, 'D'>},
    {kCloseApp, chord<vk::kMenu, vk::kF4>},
    {kShowDesktop, chord<vk::kLeftWindows, 'D'>},
    {kMinimizeWindows, chord<vk::kLeftWindows, 'M'>},
    {kSecondScreen, chord<vk::kLeftWindows, 'P'>},
    {kPrintScreen, chord<vk::kLeftWindows, vk::kSnapshot>},
    {kSearchApp, chord<vk::kLeftWindows, 'Q'>},
    {kSearchFile, chord<vk::kLeftWindows, 'F'>},
    {kSearchSetting, chord<vk::kLeftWindows, 'W'>},
    {kStopMedia, press<vk::kMediaStop>},
    {kEmptyRecycleBin, emptyRecycleBin},
    {kTurnOffMonitor, turnOffMonitor},
    {kLogOff, [] { return shutdown("-l"); }},
};

} // namespace

BuiltinRun runBuiltinAction(std::u16string_view action) {
    for (const BuiltinAction& builtin : kActions)
        if (builtin.name == action)
            return builtin.run();
    return BuiltinRun::NotBuiltin;
}

std::vector<std::u16string_view> builtinActionNames() {
    std::vector<std::u16string_view> names;
    names.reserve(std::size(kActions));
    for (const BuiltinAction& builtin : kActions)
        names.push_back(builtin.name);
    return names;
}

} // namespace sc
