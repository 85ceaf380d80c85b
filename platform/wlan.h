// The Native Wi-Fi client: interfaces and the software radio state of their radios (PHYs).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace platform::wlan {

using Client = std::uintptr_t;
using InterfaceId = std::array<std::uint8_t, 16>; // the interface GUID as it lies in memory

struct Interface {
    InterfaceId id{};
    std::uint32_t state = 0; // 0: not ready
};

struct PhyRadioState {
    std::uint32_t phyIndex = 0;
    std::uint32_t softwareState = 0; // 1 on, 2 off, 0 unknown
    std::uint32_t hardwareState = 0;
};

// Each call returns false with nothing filled when the system call fails. Memory the system hands
// out is copied and freed inside the call.
bool openClient(std::uint32_t clientVersion, Client& client);
bool enumInterfaces(Client client, std::vector<Interface>& interfaces);
bool queryRadioState(Client client, const InterfaceId& id, std::vector<PhyRadioState>& phys);
bool supportedPhyCount(Client client, const InterfaceId& id, std::uint32_t& count);
bool setSoftwareRadioState(Client client, const InterfaceId& id, std::uint32_t phyIndex, std::uint32_t state);
void closeClient(Client client);

} // namespace platform::wlan
