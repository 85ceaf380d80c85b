// Console lines (always written) and trace lines (only with the build-time trace switch on).
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "common/utf16.h"

namespace sc {

// The debug trace switch: off in every delivered build.
inline constexpr bool kTraceEnabled = false;

namespace console {
// Writes the text and a line end to standard output, as UTF-8, in one piece; or, while a sink is set,
// hands the text to the sink instead, on the calling thread.
void line(std::u16string_view text);
void line(std::string_view text);

// Where lines go: the sink (called with the zero-terminated text and the context) or, when null,
// standard output. Returns once no call of the previous sink is running.
using Sink = void (*)(const char16_t* line, void* context);
void setSink(Sink sink, void* context);
} // namespace console

namespace trace {
// A part of a trace line: text, a narrow ASCII text (an exception's what()), or a number, which is put
// into words only here, so a line compiled out builds nothing.
inline void appendPart(std::u16string& text, std::u16string_view part) {
    text.append(part);
}
inline void appendPart(std::u16string& text, const char* part) {
    for (; *part != '\0'; ++part)
        text += static_cast<char16_t>(static_cast<unsigned char>(*part));
}
template <class Number>
requires(std::is_integral_v<Number> && !std::is_same_v<Number, bool>) void appendPart(std::u16string& text,
                                                                                      Number part) {
    if constexpr (std::is_signed_v<Number>)
        text.append(utf16::fromInt(part));
    else
        text.append(utf16::fromUnsigned(part));
}

template <class... Parts> void line(const Parts&... parts) {
    if constexpr (kTraceEnabled) {
        std::u16string text;
        (appendPart(text, parts), ...);
        console::line(std::u16string_view(text));
    }
}
} // namespace trace

} // namespace sc
