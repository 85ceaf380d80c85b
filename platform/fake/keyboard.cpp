// Recorded keyboard input: each injection is one logged call; the script may drop events from its end.
#include "platform/keyboard.h"

#include <cerrno>

#include "platform/error.h"
#include "platform/fake/fake_state.h"

namespace platform {

using fake::hex;
using fake::record;

unsigned sendKeys(const std::vector<KeyEvent>& events) {
    std::vector<std::string> args;
    for (const KeyEvent& e : events)
        args.push_back(hex(e.key) + (e.up ? " up" : " down"));
    record("SendInput", std::move(args));
    const auto refused = static_cast<std::size_t>(fake::systemScript().keysRefused);
    if (refused > 0 && !events.empty())
        failedWith(u"cannot send keys to", u"the foreground window (input blocked)", EACCES);
    return static_cast<unsigned>(events.size() > refused ? events.size() - refused : 0);
}

} // namespace platform
