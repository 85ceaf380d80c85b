// The settings file: whatever the import takes is storable and writes back out as a file the import takes
// again unchanged; whatever it refuses, it says why.
#include <cstdint>
#include <string>
#include <string_view>

#include "action/action_files.h"
#include "common/utf16.h"
#include "exports/settings_file.h"
#include "gesture/gesture_manager.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace settings_file = sc::settings_file;
    const std::u16string text =
        sc::utf16::fromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    settings_file::Contents contents;
    std::u16string problem;
    if (!settings_file::parse(text, contents, problem)) {
        check(!problem.empty(), "a refusal without a reason");
        return 0;
    }
    for (const sc::Gesture& gesture : contents.gestures)
        check(sc::isPermittedGestureName(gesture.name), "a gesture name the engine refuses was taken");
    for (const auto& [gesture, action] : contents.bindings)
        check(sc::action_file::storable(gesture) && sc::action_file::storable(action),
              "an unstorable binding");
    for (const auto& entry : contents.switches)
        check(sc::action_file::storable(entry.first), "an unstorable switch");
    check(contents.switches.count(u"GLOBAL") == 1, "no GLOBAL switch");
    for (const auto& [key, value] : contents.customActions)
        check(!key.empty() && key.find_first_of(u"|\n") == std::u16string::npos &&
                  value.find_first_of(u"|\n") == std::u16string::npos,
              "an unstorable custom action");

    const std::u16string written = settings_file::format(contents);
    settings_file::Contents again;
    check(settings_file::parse(written, again, problem), "a written file is refused");
    check(settings_file::format(again) == written, "a written file reads back as something else");
    return 0;
}
