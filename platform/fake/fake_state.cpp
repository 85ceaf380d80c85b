// The call log and the scripted answers the recording fakes share, and resetting them between tests.
#include "platform/fake/fake_state.h"

#include <cstdio>
#include <mutex>

namespace platform::fake {
namespace {

std::mutex logMutex;
std::vector<SystemCall> log;

} // namespace

void resetNamedMutexes();

std::ostream& operator<<(std::ostream& out, const SystemCall& call) {
    out << call.name << "(";
    for (std::size_t i = 0; i < call.args.size(); ++i)
        out << (i ? ", " : "") << '"' << call.args[i] << '"';
    return out << ")";
}

SystemScript& systemScript() {
    static SystemScript state;
    return state;
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
    systemScript() = SystemScript{};
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

} // namespace platform::fake
