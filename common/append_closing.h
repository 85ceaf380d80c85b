// How an append ends what a file already holds, worked out the same way by both platforms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sc {

// The partial unit an append cuts off the end, and the terminator it writes before its record.
struct AppendClosing {
    std::int64_t cut = 0;
    std::string prefix;
};

// For a file of `length` bytes: a length that is no multiple of the terminator's size ends in a partial
// unit, which no reader sees and the append cuts; a last whole unit other than the terminator gets one.
// `readAt(offset, bytes)` fills `bytes` from the file, false when it cannot: an unreadable end counts as
// unterminated.
template <class ReadAt>
AppendClosing appendClosing(std::int64_t length, std::string_view terminator, ReadAt&& readAt) {
    AppendClosing closing;
    if (length == 0 || terminator.empty())
        return closing;
    const auto width = static_cast<std::int64_t>(terminator.size());
    closing.cut = length % width;
    const std::int64_t whole = length - closing.cut;
    if (whole == 0)
        return closing;
    std::string tail(terminator.size(), '\0');
    if (!readAt(whole - width, tail) || tail != terminator)
        closing.prefix = terminator;
    return closing;
}

} // namespace sc
