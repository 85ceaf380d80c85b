// Recording why a system call failed, for the host's StrokecastLastError. The one place per platform
// that turns an error code into words.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// Records "<what> <subject>: <the system's text> (error <code>)" for the calling thread, with the
// code the last system call left (GetLastError on Windows, errno elsewhere). Read it before any other
// system call. Always returns false, so a failing path can `return failed(...)`.
bool failed(std::u16string_view what, std::u16string_view subject);
// The same with a code the caller holds: a Win32 error, an HRESULT (shown in hex) or errno value.
bool failedWith(std::u16string_view what, std::u16string_view subject, std::uint32_t code);

} // namespace platform
