// Starting programs and modern apps, and asking whether the modern UI covers the desktop.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// The show command for an ordinary window (SW_SHOWNORMAL).
inline constexpr int kShowNormal = 1;
// The shell's results up to this one are failures.
inline constexpr std::intptr_t kLastShellError = 32;

// ShellExecuteW and ShellExecuteA with no owner window and no directory; return the shell's result
// (> kLastShellError is success), a failure's cause recorded for the host.
std::intptr_t shellExecuteW(std::u16string_view verb, std::u16string_view file,
                            std::u16string_view parameters, int show);
std::intptr_t shellExecuteA(std::string_view verb, std::string_view file, std::string_view parameters,
                            int show);

// true when the path names no file or folder (the parent folder missing included); the cause is then
// recorded for the host. Any other answer, an unreadable drive say, counts as present.
bool pathMissing(std::u16string_view path);

// Activates a modern app by its application user model id through the activation manager, letting
// it take the foreground; returns the HRESULT of the first failing step or of the activation. COM is
// joined for the call and left only when this call joined it.
std::int32_t activateApplication(std::u16string_view appUserModelId, std::uint32_t& processId);

// 1 when the Start screen shows or a modern app is visible on any monitor, else 0 (also on any failure).
// COM is joined for the call and left only when this call joined it.
int modernUiVisible();

} // namespace platform
