// Recorded program starts and app activations, answered from the script.
#include "platform/launch.h"

#include <cerrno>
#include <string>

#include "common/utf16.h"
#include "platform/error.h"
#include "platform/fake/fake_state.h"

namespace platform {
namespace {

std::string utf8(std::u16string_view text) {
    return sc::utf16::toUtf8(text);
}

} // namespace

using fake::record;

std::intptr_t shellExecuteA(std::string_view verb, std::string_view file, std::string_view parameters,
                            int show) {
    record("ShellExecuteA",
           {std::string(verb), std::string(file), std::string(parameters), std::to_string(show)});
    const std::intptr_t result = fake::systemScript().shellExecuteAResult;
    if (result <= kLastShellError)
        failedWith(u"cannot start", sc::utf16::fromUtf8(std::string(file) + " " + std::string(parameters)),
                   static_cast<std::uint32_t>(result));
    return result;
}

std::intptr_t shellExecuteW(std::u16string_view verb, std::u16string_view file,
                            std::u16string_view parameters, int show) {
    record("ShellExecuteW", {utf8(verb), utf8(file), utf8(parameters), std::to_string(show)});
    const std::intptr_t result = fake::systemScript().shellExecuteWResult;
    if (result <= kLastShellError)
        failedWith(u"cannot start", std::u16string(file) + u" " + std::u16string(parameters),
                   static_cast<std::uint32_t>(result));
    return result;
}

bool pathMissing(std::u16string_view path) {
    if (fake::systemScript().missingPaths.count(std::u16string(path)) == 0)
        return false;
    return !failedWith(u"cannot start", path, ENOENT);
}

std::int32_t activateApplication(std::u16string_view appUserModelId, std::uint32_t& processId) {
    record("ActivateApplication", {utf8(appUserModelId)});
    if (fake::systemScript().activationResult == 0)
        processId = fake::systemScript().activatedProcessId;
    else
        failedWith(u"cannot activate", appUserModelId,
                   static_cast<std::uint32_t>(fake::systemScript().activationResult));
    return fake::systemScript().activationResult;
}

int modernUiVisible() {
    record("IsModernUiVisible");
    return fake::systemScript().modernUiVisible;
}

} // namespace platform
