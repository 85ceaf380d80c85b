// Starting programs and modern apps, and asking whether the modern UI covers the desktop.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// ShellExecuteW with no owner window and no directory; returns the shell's result (> 32 is success).
std::intptr_t shellExecuteW(std::u16string_view verb, std::u16string_view file,
                            std::u16string_view parameters, int show);

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
