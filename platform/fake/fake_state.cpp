// The call log and the scripted answers the recording fakes share, and resetting them between tests.
#include "platform/fake/fake_state.h"

#include <cstdio>

#include "common/shared_list.h"

namespace platform::fake {
namespace {

sc::SharedList<SystemCall> log;

} // namespace

void resetNamedMutexes();

std::ostream& operator<<(std::ostream& out, const SystemCall& call) {
    out << call.name << "(";
    for (std::size_t i = 0; i < call.args.size(); ++i)
        out << (i ? ", " : "") << '"' << call.args[i] << '"';
    return out << ")";
}

std::vector<SystemCall> systemCalls() {
    return log.items();
}

void resetSystem() {
    log.clear();
    systemScript() = SystemScript{};
    resetNamedMutexes();
}

void record(std::string name, std::vector<std::string> args) {
    log.add({std::move(name), std::move(args)});
}

std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

} // namespace platform::fake
