// Starting the target of a custom action.
#include "apps/app_launch.h"

#include "apps/custom_action_store.h"
#include "common/console.h"
#include "common/utf16.h"
#include "platform/keyboard.h"
#include "platform/launch.h"

namespace sc {
namespace {

// A drive path ("C:\...") or a network path ("\\server\..."): the targets whose absence can be seen.
bool isFilePath(std::u16string_view target) {
    return (target.size() > 2 && target[1] == u':' && (target[2] == u'\\' || target[2] == u'/')) ||
           target.starts_with(u"\\\\");
}

bool launchDesktopTarget(std::u16string_view target, bool* targetMissing) {
    if (targetMissing != nullptr && isFilePath(target))
        *targetMissing = platform::pathMissing(target);
    // The modern UI would hide the program that starts behind it, so the desktop comes forward first.
    if (isModernUiVisible() == 1)
        platform::sendKeyChord(platform::vk::kLeftWindows, 'D');
    trace::line(u"It will launch a custom desktop app");
    trace::line(target);
    const std::intptr_t result =
        platform::shellExecuteW(u"open", u"explorer.exe", target, platform::kShowNormal);
    if (result <= platform::kLastShellError) {
        console::line(u"error code :" + utf16::fromInt(result));
        trace::line(u"Launch program fail!");
        return false;
    }
    return true;
}

} // namespace

bool executeCustomAction(const CustomActionStore& store, std::u16string_view actionText,
                         bool* targetMissing) {
    const auto entry = store.find(actionText);
    if (!entry)
        return false;
    if (entry->key.starts_with(kMetroPrefix)) {
        trace::line(u"It will launch metro app");
        std::uint32_t processId = 0;
        if (activateMetroApp(entry->value, processId) != 0) {
            trace::line(u"launch metro app fail");
            return false;
        }
        return true;
    }
    if (entry->key.starts_with(kDesktopPrefix))
        return launchDesktopTarget(entry->value, targetMissing);
    trace::line(u"You should never see it in executeCustomAction");
    return false;
}

std::int32_t activateMetroApp(std::u16string_view appId, std::uint32_t& processId) {
    if (appId.empty())
        return kInvalidArgument;
    return platform::activateApplication(appId, processId);
}

int isModernUiVisible() {
    return platform::modernUiVisible();
}

} // namespace sc
