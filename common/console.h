// Console lines (always written) and trace lines (only with the build-time trace switch on).
#pragma once

#include <string>
#include <string_view>

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
template <class... Parts> void line(const Parts&... parts) {
    if constexpr (kTraceEnabled) {
        std::u16string text;
        (text.append(parts), ...);
        console::line(std::u16string_view(text));
    }
}
} // namespace trace

} // namespace sc
