// Flipping the software radio of every wireless interface through the Native Wi-Fi client.
#include "action/wifi_switch.h"

#include <algorithm>

#include "common/console.h"
#include "platform/wlan.h"

namespace sc {
namespace {

constexpr std::uint32_t kClientVersion = 2;
constexpr std::uint32_t kNotReady = 0;
constexpr std::uint32_t kRadioOn = 1;
constexpr std::uint32_t kRadioOff = 2;

void toggleInterface(platform::wlan::Client client, const platform::wlan::Interface& wlanInterface) {
    std::vector<platform::wlan::PhyRadioState> phys;
    if (!platform::wlan::queryRadioState(client, wlanInterface.id, phys))
        return;
    std::uint32_t supported = 0;
    if (!platform::wlan::supportedPhyCount(client, wlanInterface.id, supported)) {
        trace::line(u"WlanGetInterfaceCapability error");
        return;
    }
    // Only PHYs whose state was read are flipped: a state we never saw cannot be inverted.
    const std::size_t count = std::min<std::size_t>(supported, phys.size());
    for (std::size_t j = 0; j < count; ++j) {
        const std::uint32_t next = phys[j].softwareState == kRadioOn ? kRadioOff : kRadioOn;
        if (!platform::wlan::setSoftwareRadioState(client, wlanInterface.id, static_cast<std::uint32_t>(j),
                                                   next))
            trace::line(u"WlanSetInterface fail");
    }
    trace::line(u"SetInterface ok for wifi");
}

} // namespace

void toggleWifiRadio() {
    platform::wlan::Client client = 0;
    if (!platform::wlan::openClient(kClientVersion, client)) {
        trace::line(u"Error opening Wlanapi");
        return;
    }
    std::vector<platform::wlan::Interface> interfaces;
    if (!platform::wlan::enumInterfaces(client, interfaces)) {
        trace::line(u"Error in WlanEnumInterfaces");
    } else {
        for (const platform::wlan::Interface& i : interfaces)
            if (i.state != kNotReady)
                toggleInterface(client, i);
    }
    platform::wlan::closeClient(client);
}

} // namespace sc
