// Failure lines from errno, worded by strerror.
#include "platform/error.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

#include "common/last_error.h"
#include "common/utf16.h"

namespace platform {

bool failed(std::u16string_view what, std::u16string_view subject) {
    return failedWith(what, subject, static_cast<std::uint32_t>(errno));
}

bool failedWith(std::u16string_view what, std::u16string_view subject, std::uint32_t code) {
    std::string reason = std::strerror(static_cast<int>(code));
    if (!reason.empty())
        reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    sc::last_error::setFailure(what, subject, sc::utf16::fromUtf8(reason), sc::utf16::fromUnsigned(code));
    return false;
}

} // namespace platform
