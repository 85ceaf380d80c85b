// Steering the fake keyboard, session, launch, Wi-Fi and named-mutex platform from tests: scripted
// answers, and a log of every call in order with its arguments.
#pragma once

#include <cstdint>
#include <deque>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/named_mutex.h"
#include "platform/wlan.h"

namespace platform::fake {

// One recorded call: the system function's name and its arguments as text.
struct SystemCall {
    std::string name;
    std::vector<std::string> args;
    bool operator==(const SystemCall&) const = default;
};
std::ostream& operator<<(std::ostream& out, const SystemCall& call);

struct FakeWlanInterface {
    wlan::Interface info;
    bool queryFails = false;
    std::vector<wlan::PhyRadioState> phys; // what the radio state query returns
    bool capabilityFails = false;
    std::uint32_t supportedPhys = 0;        // what the capability query returns
    std::set<std::uint32_t> failingSetPhys; // PHY indices whose set call fails
};

struct SystemScript {
    std::int32_t keysRefused = 0; // events the injection drops from the end of each call
    bool lockSucceeds = true;
    std::intptr_t shellExecuteAResult = 42;
    std::intptr_t shellExecuteWResult = 42;
    std::set<std::u16string> missingPaths; // what pathMissing reports missing
    bool recycleQuerySucceeds = true;
    std::uint64_t recycleItems = 0;
    std::int32_t activationResult = 0;
    std::uint32_t activatedProcessId = 4242;
    int modernUiVisible = 0;

    bool wlanOpenSucceeds = true;
    bool wlanEnumSucceeds = true;
    std::vector<FakeWlanInterface> wlanInterfaces; // set calls that succeed change these states

    bool mutexCreateFails = false;
    std::deque<MutexWait> nextWaits; // forced results of the next waits; Abandoned still takes the mutex
};

SystemScript& systemScript();
std::vector<SystemCall> systemCalls();
// Clears the log, the script and every named mutex.
void resetSystem();

// How many takes of the named mutex are outstanding (0 when nobody owns it).
int mutexDepth(std::u16string_view name);
// How many waits on any named mutex were made since the reset.
int mutexWaitCount();

// An interface id whose bytes are all `n`, for readable cases.
wlan::InterfaceId interfaceId(std::uint8_t n);

// Adds a call to the log (used by the fake platform sources).
void record(std::string name, std::vector<std::string> args = {});
std::string hex(std::uint64_t value);

} // namespace platform::fake
