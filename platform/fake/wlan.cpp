// The Wi-Fi client over scripted interfaces: set calls that succeed change the scripted radio states.
#include "platform/wlan.h"

#include <cerrno>
#include <string>

#include "platform/error.h"
#include "platform/fake/fake_state.h"

namespace platform {
namespace fake {

wlan::InterfaceId interfaceId(std::uint8_t n) {
    wlan::InterfaceId id;
    id.fill(n);
    return id;
}

} // namespace fake

namespace wlan {
namespace {

using fake::record;

std::string idText(const InterfaceId& id) {
    return fake::hex(id[0]);
}

fake::FakeWlanInterface* findInterface(const InterfaceId& id) {
    for (fake::FakeWlanInterface& i : fake::systemScript().wlanInterfaces)
        if (i.info.id == id)
            return &i;
    return nullptr;
}

} // namespace

bool openClient(std::uint32_t clientVersion, Client& client) {
    record("WlanOpenHandle", {std::to_string(clientVersion)});
    if (!fake::systemScript().wlanOpenSucceeds)
        return failedWith(u"cannot open", u"the Wi-Fi service", ENODEV);
    client = 1;
    return true;
}

bool enumInterfaces(Client, std::vector<Interface>& interfaces) {
    record("WlanEnumInterfaces");
    if (!fake::systemScript().wlanEnumSucceeds)
        return failedWith(u"cannot list", u"the Wi-Fi interfaces", ENODEV);
    interfaces.clear();
    for (const fake::FakeWlanInterface& i : fake::systemScript().wlanInterfaces)
        interfaces.push_back(i.info);
    return true;
}

bool queryRadioState(Client, const InterfaceId& id, std::vector<PhyRadioState>& phys) {
    record("WlanQueryInterface", {idText(id), "radio_state"});
    const fake::FakeWlanInterface* i = findInterface(id);
    if (i == nullptr || i->queryFails)
        return false;
    phys = i->phys;
    return true;
}

bool supportedPhyCount(Client, const InterfaceId& id, std::uint32_t& count) {
    record("WlanGetInterfaceCapability", {idText(id)});
    const fake::FakeWlanInterface* i = findInterface(id);
    if (i == nullptr || i->capabilityFails)
        return false;
    count = i->supportedPhys;
    return true;
}

bool setSoftwareRadioState(Client, const InterfaceId& id, std::uint32_t phyIndex, std::uint32_t state) {
    record("WlanSetInterface", {idText(id), "radio_state", std::to_string(phyIndex), std::to_string(state)});
    fake::FakeWlanInterface* i = findInterface(id);
    if (i == nullptr || i->failingSetPhys.count(phyIndex) != 0)
        return failedWith(u"cannot switch", u"the Wi-Fi radio", EIO);
    for (PhyRadioState& phy : i->phys)
        if (phy.phyIndex == phyIndex)
            phy.softwareState = state;
    return true;
}

void closeClient(Client) {
    record("WlanCloseHandle");
}

} // namespace wlan
} // namespace platform
