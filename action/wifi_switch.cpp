// Flipping the software radio of every wireless interface through the Native Wi-Fi client.
#include "action/wifi_switch.h"

#include <algorithm>

#include "common/console.h"
#include "common/last_error.h"
#include "platform/wlan.h"

namespace sc {
namespace {

constexpr std::uint32_t kClientVersion = 2;
constexpr std::uint32_t kNotReady = 0;
constexpr std::uint32_t kRadioOn = 1;
constexpr std::uint32_t kRadioOff = 2;

// The number of PHYs switched.
std::size_t toggleInterface(platform::wlan::Client client, const platform::wlan::Interface& wlanInterface) {
    std::vector<platform::wlan::PhyRadioState> phys;
    if (!platform::wlan::queryRadioState(client, wlanInterface.id, phys))
        return 0;
    std::uint32_t supported = 0;
    if (!platform::wlan::supportedPhyCount(client, wlanInterface.id, supported)) {
        trace::line(u"WlanGetInterfaceCapability error");
        return 0;
    }
    std::size_t switched = 0;
    // Only PHYs whose state was read are flipped: a state we never saw cannot be inverted.
    const std::size_t count = std::min<std::size_t>(supported, phys.size());
    for (std::size_t j = 0; j < count; ++j) {
        const std::uint32_t next = phys[j].softwareState == kRadioOn ? kRadioOff : kRadioOn;
        if (platform::wlan::setSoftwareRadioState(client, wlanInterface.id, static_cast<std::uint32_t>(j),
                                                  next))
            ++switched;
        else
            trace::line(u"WlanSetInterface fail");
    }
    trace::line(u"SetInterface ok for wifi");
    return switched;
}

} // namespace

bool toggleWifiRadio() {
    platform::wlan::Client client = 0;
    if (!platform::wlan::openClient(kClientVersion, client)) {
        trace::line(u"Error opening Wlanapi");
        return false;
    }
    std::vector<platform::wlan::Interface> interfaces;
    std::size_t switched = 0;
    bool listed = platform::wlan::enumInterfaces(client, interfaces);
    if (!listed) {
        trace::line(u"Error in WlanEnumInterfaces");
    } else {
        for (const platform::wlan::Interface& i : interfaces)
            if (i.state != kNotReady)
                switched += toggleInterface(client, i);
    }
    platform::wlan::closeClient(client);
    // The system calls record their own failures; a machine without a ready radio is ours to name.
    if (listed && switched == 0 && std::none_of(interfaces.begin(), interfaces.end(), [](const auto& i) {
            return i.state != kNotReady;
        }))
        last_error::set(u"cannot switch the Wi-Fi radio: no wireless interface is ready");
    return switched != 0;
}

} // namespace sc
