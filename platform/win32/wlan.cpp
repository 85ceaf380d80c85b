// The Native Wi-Fi client. Every buffer the system hands out is copied and freed at once.
#include "platform/wlan.h"

#include <windows.h>
#include <wlanapi.h>

#include "platform/error.h"

#include <cstring>

namespace platform::wlan {
namespace {

HANDLE handle(Client client) {
    return reinterpret_cast<HANDLE>(client);
}

GUID guid(const InterfaceId& id) {
    GUID g;
    static_assert(sizeof g == sizeof id);
    std::memcpy(&g, id.data(), sizeof g);
    return g;
}

template <class T> struct WlanMemory {
    T* p = nullptr;
    ~WlanMemory() {
        if (p)
            WlanFreeMemory(p);
    }
};

} // namespace

bool openClient(std::uint32_t clientVersion, Client& client) {
    DWORD negotiated = 0;
    HANDLE h = nullptr;
    const DWORD error = WlanOpenHandle(clientVersion, nullptr, &negotiated, &h);
    if (error != ERROR_SUCCESS)
        return failedWith(u"cannot open", u"the Wi-Fi service", error);
    client = reinterpret_cast<Client>(h);
    return true;
}

bool enumInterfaces(Client client, std::vector<Interface>& interfaces) {
    WlanMemory<WLAN_INTERFACE_INFO_LIST> list;
    const DWORD error = WlanEnumInterfaces(handle(client), nullptr, &list.p);
    if (error != ERROR_SUCCESS || list.p == nullptr)
        return failedWith(u"cannot list", u"the Wi-Fi interfaces", error);
    interfaces.clear();
    for (DWORD i = 0; i < list.p->dwNumberOfItems; ++i) {
        Interface item;
        std::memcpy(item.id.data(), &list.p->InterfaceInfo[i].InterfaceGuid, item.id.size());
        item.state = static_cast<std::uint32_t>(list.p->InterfaceInfo[i].isState);
        interfaces.push_back(item);
    }
    return true;
}

bool queryRadioState(Client client, const InterfaceId& id, std::vector<PhyRadioState>& phys) {
    const GUID g = guid(id);
    DWORD size = 0;
    WlanMemory<WLAN_RADIO_STATE> state;
    if (WlanQueryInterface(handle(client), &g, wlan_intf_opcode_radio_state, nullptr, &size,
                           reinterpret_cast<void**>(&state.p), nullptr) != ERROR_SUCCESS ||
        state.p == nullptr)
        return false;
    phys.clear();
    const DWORD count =
        state.p->dwNumberOfPhys < WLAN_MAX_PHY_INDEX ? state.p->dwNumberOfPhys : WLAN_MAX_PHY_INDEX;
    for (DWORD i = 0; i < count; ++i) {
        const WLAN_PHY_RADIO_STATE& phy = state.p->PhyRadioState[i];
        phys.push_back({phy.dwPhyIndex, static_cast<std::uint32_t>(phy.dot11SoftwareRadioState),
                        static_cast<std::uint32_t>(phy.dot11HardwareRadioState)});
    }
    return true;
}

bool supportedPhyCount(Client client, const InterfaceId& id, std::uint32_t& count) {
    const GUID g = guid(id);
    WlanMemory<WLAN_INTERFACE_CAPABILITY> capability;
    if (WlanGetInterfaceCapability(handle(client), &g, nullptr, &capability.p) != ERROR_SUCCESS ||
        capability.p == nullptr)
        return false;
    count = capability.p->dwNumberOfSupportedPhys;
    return true;
}

bool setSoftwareRadioState(Client client, const InterfaceId& id, std::uint32_t phyIndex,
                           std::uint32_t state) {
    const GUID g = guid(id);
    WLAN_PHY_RADIO_STATE phy{};
    phy.dwPhyIndex = phyIndex;
    phy.dot11SoftwareRadioState = static_cast<DOT11_RADIO_STATE>(state);
    const DWORD error =
        WlanSetInterface(handle(client), &g, wlan_intf_opcode_radio_state, sizeof phy, &phy, nullptr);
    return error == ERROR_SUCCESS || failedWith(u"cannot switch", u"the Wi-Fi radio", error);
}

void closeClient(Client client) {
    WlanCloseHandle(handle(client), nullptr);
}

} // namespace platform::wlan
