// Failure lines from GetLastError or an HRESULT, worded by FormatMessageW.
#include "platform/error.h"

#include <windows.h>

#include <cwctype>
#include <string>

#include "common/last_error.h"
#include "common/utf16.h"

namespace platform {
namespace {

// The system's own sentence for the code, first letter lowered and the closing full stop dropped, so
// it reads on inside our line; empty when the system has none.
std::u16string systemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (length != 0 && buffer != nullptr)
        text.assign(buffer, buffer + length);
    if (buffer != nullptr)
        LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == u' ' || text.back() == u'.' || text.back() == u'\r' || text.back() == u'\n'))
        text.pop_back();
    if (!text.empty() && text[0] < 0x80)
        text[0] = static_cast<char16_t>(std::towlower(text[0]));
    return text;
}

} // namespace

bool failed(std::u16string_view what, std::u16string_view subject) {
    return failedWith(what, subject, GetLastError());
}

bool failedWith(std::u16string_view what, std::u16string_view subject, std::uint32_t code) {
    const std::u16string reason = systemText(code);
    std::u16string number;
    if (code & 0x80000000u) {
        static const char16_t digits[] = u"0123456789abcdef";
        number = u"0x";
        for (int shift = 28; shift >= 0; shift -= 4)
            number += digits[(code >> shift) & 0xF];
    } else {
        number = sc::utf16::fromUnsigned(code);
    }
    sc::last_error::setFailure(what, subject, reason.empty() ? u"the system gave no reason" : reason, number);
    return false;
}

} // namespace platform
