// The recording fake of the keyboard, session, launch and Wi-Fi platform areas.
#include <cerrno>
#include <cstdio>
#include <mutex>

#include "common/utf16.h"
#include "platform/error.h"
#include "platform/fake/system_fake.h"
#include "platform/keyboard.h"
#include "platform/launch.h"
#include "platform/session.h"
#include "platform/wlan.h"

namespace platform::fake {
namespace {

std::mutex logMutex;
std::vector<SystemCall> log;

SystemScript& script() {
    static SystemScript state;
    return state;
}

std::string utf8(std::u16string_view text) {
    return sc::utf16::toUtf8(text);
}

std::string idText(const wlan::InterfaceId& id) {
    return hex(id[0]);
}

FakeWlanInterface* findInterface(const wlan::InterfaceId& id) {
    for (FakeWlanInterface& i : script().wlanInterfaces)
        if (i.info.id == id)
            return &i;
    return nullptr;
}

} // namespace

void resetNamedMutexes();

std::ostream& operator<<(std::ostream& out, const SystemCall& call) {
    out << call.name << "(";
    for (std::size_t i = 0; i < call.args.size(); ++i)
        out << (i ? ", " : "") << '"' << call.args[i] << '"';
    return out << ")";
}

SystemScript& systemScript() {
    return script();
}

std::vector<SystemCall> systemCalls() {
    std::lock_guard lock(logMutex);
    return log;
}

void resetSystem() {
    {
        std::lock_guard lock(logMutex);
        log.clear();
    }
    script() = SystemScript{};
    resetNamedMutexes();
}

void record(std::string name, std::vector<std::string> args) {
    std::lock_guard lock(logMutex);
    log.push_back({std::move(name), std::move(args)});
}

std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

wlan::InterfaceId interfaceId(std::uint8_t n) {
    wlan::InterfaceId id;
    id.fill(n);
    return id;
}

} // namespace platform::fake

namespace platform {

using fake::hex;
using fake::record;

unsigned sendKeys(const std::vector<KeyEvent>& events) {
    std::vector<std::string> args;
    for (const KeyEvent& e : events)
        args.push_back(hex(e.key) + (e.up ? " up" : " down"));
    record("SendInput", std::move(args));
    const auto refused = static_cast<std::size_t>(fake::script().keysRefused);
    if (refused > 0 && !events.empty())
        failedWith(u"cannot send keys to", u"the foreground window (input blocked)", EACCES);
    return static_cast<unsigned>(events.size() > refused ? events.size() - refused : 0);
}

bool lockWorkStation() {
    record("LockWorkStation");
    return fake::script().lockSucceeds || failedWith(u"cannot lock", u"the workstation", EACCES);
}

void broadcastSystemCommand(std::uint32_t command, std::intptr_t lParam) {
    record("SendMessageW", {"HWND_BROADCAST", "WM_SYSCOMMAND", hex(command), std::to_string(lParam)});
}

std::intptr_t shellExecuteA(std::string_view verb, std::string_view file, std::string_view parameters,
                            int show) {
    record("ShellExecuteA",
           {std::string(verb), std::string(file), std::string(parameters), std::to_string(show)});
    const std::intptr_t result = fake::script().shellExecuteAResult;
    if (result <= 32)
        failedWith(u"cannot start", sc::utf16::fromUtf8(std::string(file) + " " + std::string(parameters)),
                   static_cast<std::uint32_t>(result));
    return result;
}

bool queryRecycleBin(std::uint64_t& items) {
    record("SHQueryRecycleBinW");
    if (!fake::script().recycleQuerySucceeds)
        return false;
    items = fake::script().recycleItems;
    return true;
}

bool emptyRecycleBin(std::uint32_t flags) {
    record("SHEmptyRecycleBinW", {hex(flags)});
    fake::script().recycleItems = 0;
    return true;
}

std::intptr_t shellExecuteW(std::u16string_view verb, std::u16string_view file,
                            std::u16string_view parameters, int show) {
    record("ShellExecuteW",
           {fake::utf8(verb), fake::utf8(file), fake::utf8(parameters), std::to_string(show)});
    const std::intptr_t result = fake::script().shellExecuteWResult;
    if (result <= 32)
        failedWith(u"cannot start", std::u16string(file) + u" " + std::u16string(parameters),
                   static_cast<std::uint32_t>(result));
    return result;
}

bool pathMissing(std::u16string_view path) {
    if (fake::script().missingPaths.count(std::u16string(path)) == 0)
        return false;
    return !failedWith(u"cannot start", path, ENOENT);
}

std::int32_t activateApplication(std::u16string_view appUserModelId, std::uint32_t& processId) {
    record("ActivateApplication", {fake::utf8(appUserModelId)});
    if (fake::script().activationResult == 0)
        processId = fake::script().activatedProcessId;
    else
        failedWith(u"cannot activate", appUserModelId,
                   static_cast<std::uint32_t>(fake::script().activationResult));
    return fake::script().activationResult;
}

int modernUiVisible() {
    record("IsModernUiVisible");
    return fake::script().modernUiVisible;
}

namespace wlan {

bool openClient(std::uint32_t clientVersion, Client& client) {
    record("WlanOpenHandle", {std::to_string(clientVersion)});
    if (!fake::script().wlanOpenSucceeds)
        return failedWith(u"cannot open", u"the Wi-Fi service", ENODEV);
    client = 1;
    return true;
}

bool enumInterfaces(Client, std::vector<Interface>& interfaces) {
    record("WlanEnumInterfaces");
    if (!fake::script().wlanEnumSucceeds)
        return failedWith(u"cannot list", u"the Wi-Fi interfaces", ENODEV);
    interfaces.clear();
    for (const fake::FakeWlanInterface& i : fake::script().wlanInterfaces)
        interfaces.push_back(i.info);
    return true;
}

bool queryRadioState(Client, const InterfaceId& id, std::vector<PhyRadioState>& phys) {
    record("WlanQueryInterface", {fake::idText(id), "radio_state"});
    const fake::FakeWlanInterface* i = fake::findInterface(id);
    if (i == nullptr || i->queryFails)
        return false;
    phys = i->phys;
    return true;
}

bool supportedPhyCount(Client, const InterfaceId& id, std::uint32_t& count) {
    record("WlanGetInterfaceCapability", {fake::idText(id)});
    const fake::FakeWlanInterface* i = fake::findInterface(id);
    if (i == nullptr || i->capabilityFails)
        return false;
    count = i->supportedPhys;
    return true;
}

bool setSoftwareRadioState(Client, const InterfaceId& id, std::uint32_t phyIndex, std::uint32_t state) {
    record("WlanSetInterface",
           {fake::idText(id), "radio_state", std::to_string(phyIndex), std::to_string(state)});
    fake::FakeWlanInterface* i = fake::findInterface(id);
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
