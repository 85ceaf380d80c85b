// Synthetic keyboard input through SendInput.
#include "platform/keyboard.h"

#include <windows.h>

#include "platform/error.h"

namespace platform {

unsigned sendKeys(const std::vector<KeyEvent>& events) {
    std::vector<INPUT> inputs(events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        inputs[i] = INPUT{};
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = events[i].key;
        inputs[i].ki.dwFlags = events[i].up ? KEYEVENTF_KEYUP : 0;
    }
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // A window of higher integrity in front blocks injection without a word: fewer events go in.
    if (sent < inputs.size())
        failed(u"cannot send keys to", u"the foreground window (input blocked)");
    return sent;
}

} // namespace platform
