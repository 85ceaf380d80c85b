// The Wi-Fi radio switch against a scripted Native Wi-Fi client.
#include <gtest/gtest.h>

#include "action/wifi_switch.h"
#include "platform/fake/fake_state.h"

namespace {

using platform::fake::FakeWlanInterface;
using platform::fake::interfaceId;
using platform::fake::SystemCall;
using Calls = std::vector<SystemCall>;

constexpr std::uint32_t kOn = 1;
constexpr std::uint32_t kOff = 2;

FakeWlanInterface ready(std::uint8_t n, std::vector<std::uint32_t> states) {
    FakeWlanInterface i;
    i.info = {interfaceId(n), 1};
    for (std::uint32_t j = 0; j < states.size(); ++j)
        i.phys.push_back({j, states[j], kOn});
    i.supportedPhys = static_cast<std::uint32_t>(states.size());
    return i;
}

SystemCall query(const char* id) {
    return {"WlanQueryInterface", {id, "radio_state"}};
}
SystemCall capability(const char* id) {
    return {"WlanGetInterfaceCapability", {id}};
}
SystemCall set(const char* id, int phy, std::uint32_t state) {
    return {"WlanSetInterface", {id, "radio_state", std::to_string(phy), std::to_string(state)}};
}
const SystemCall kOpen{"WlanOpenHandle", {"2"}};
const SystemCall kEnum{"WlanEnumInterfaces", {}};
const SystemCall kClose{"WlanCloseHandle", {}};

class WifiSwitch : public ::testing::Test {
  protected:
    void SetUp() override { platform::fake::resetSystem(); }
    std::vector<FakeWlanInterface>& interfaces() { return platform::fake::systemScript().wlanInterfaces; }
};

TEST_F(WifiSwitch, FlipsEveryPhyOfEveryReadyInterface) {
    interfaces() = {ready(1, {kOn, kOff}), ready(2, {0})};
    sc::toggleWifiRadio();
    EXPECT_EQ(platform::fake::systemCalls(),
              (Calls{kOpen, kEnum, query("0x1"), capability("0x1"), set("0x1", 0, kOff), set("0x1", 1, kOn),
                     query("0x2"), capability("0x2"), set("0x2", 0, kOn), kClose}));
    // Flipping again brings every radio back.
    sc::toggleWifiRadio();
    EXPECT_EQ(interfaces()[0].phys[0].softwareState, kOn);
    EXPECT_EQ(interfaces()[0].phys[1].softwareState, kOff);
}

TEST_F(WifiSwitch, NoInterfaceSetsNothingAndCloses) {
    sc::toggleWifiRadio();
    EXPECT_EQ(platform::fake::systemCalls(), (Calls{kOpen, kEnum, kClose}));
}

TEST_F(WifiSwitch, SkipsAndFailuresShortenOnlyTheirOwnStep) {
    FakeWlanInterface notReady = ready(1, {kOn});
    notReady.info.state = 0;
    FakeWlanInterface noCapability = ready(2, {kOn});
    noCapability.capabilityFails = true;
    FakeWlanInterface noQuery = ready(3, {kOn});
    noQuery.queryFails = true;
    FakeWlanInterface oneSetFails = ready(4, {kOn, kOn});
    oneSetFails.failingSetPhys = {0};
    interfaces() = {notReady, noCapability, noQuery, oneSetFails};
    sc::toggleWifiRadio();
    EXPECT_EQ(platform::fake::systemCalls(),
              (Calls{kOpen, kEnum, query("0x2"), capability("0x2"), query("0x3"), query("0x4"),
                     capability("0x4"), set("0x4", 0, kOff), set("0x4", 1, kOff), kClose}));
}

TEST_F(WifiSwitch, OnlyPhysWithAKnownStateAreFlipped) {
    FakeWlanInterface i = ready(1, {kOff});
    i.supportedPhys = 3; // more radios than states reported
    interfaces() = {i};
    sc::toggleWifiRadio();
    EXPECT_EQ(platform::fake::systemCalls(),
              (Calls{kOpen, kEnum, query("0x1"), capability("0x1"), set("0x1", 0, kOn), kClose}));
}

TEST_F(WifiSwitch, FailedOpenOrEnumerationStops) {
    platform::fake::systemScript().wlanOpenSucceeds = false;
    sc::toggleWifiRadio();
    EXPECT_EQ(platform::fake::systemCalls(), (Calls{kOpen}));
    platform::fake::resetSystem();
    platform::fake::systemScript().wlanEnumSucceeds = false;
    sc::toggleWifiRadio();
    EXPECT_EQ(platform::fake::systemCalls(), (Calls{kOpen, kEnum, kClose}));
}

} // namespace
