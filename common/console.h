// Console lines (always written) and trace lines (only with the build-time trace switch on).
#pragma once

#include <string>
#include <string_view>

namespace sc {

// The debug trace switch: off in every delivered build.
inline constexpr bool kTraceEnabled = false;

namespace console {
// Writes the text and a line end to standard output, as UTF-8, in one piece.
void line(std::u16string_view text);
void line(std::string_view text);
}  // namespace console

namespace trace {
template <class... Parts>
void line(const Parts&... parts) {
    if constexpr (kTraceEnabled) {
        std::u16string text;
        (text.append(parts), ...);
        console::line(std::u16string_view(text));
    }
}
}  // namespace trace

}  // namespace sc
