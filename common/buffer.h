// Copies into caller buffers and fixed text buffers, never past their capacity.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sc {

// All or nothing: writes the text and its terminator when capacity >= length + 1 and returns
// length + 1; otherwise writes nothing and returns 0. A null buffer writes nothing and returns 0.
template <class Unit> std::uint32_t copyOut(std::u16string_view text, Unit* buffer, std::uint32_t capacity) {
    static_assert(sizeof(Unit) == 2);
    if (buffer == nullptr || text.size() >= capacity || text.size() >= 0xFFFFFFFFu)
        return 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        buffer[i] = static_cast<Unit>(text[i]);
    buffer[text.size()] = 0;
    return static_cast<std::uint32_t>(text.size() + 1);
}

// The longest prefix that fits a fixed buffer of the capacity (terminator included): cut at
// capacity - 1 units, one less when the cut would leave the first half of a surrogate pair.
std::u16string_view boundedPrefix(std::u16string_view text, std::size_t capacity);

// Copies boundedPrefix(text, capacity) and a terminator into a fixed buffer; returns the units copied
// without the terminator. A capacity of 0 writes nothing.
template <class Unit> std::size_t boundedCopy(std::u16string_view text, Unit* buffer, std::size_t capacity) {
    static_assert(sizeof(Unit) == 2);
    if (buffer == nullptr || capacity == 0)
        return 0;
    const std::u16string_view cut = boundedPrefix(text, capacity);
    for (std::size_t i = 0; i < cut.size(); ++i)
        buffer[i] = static_cast<Unit>(cut[i]);
    buffer[cut.size()] = 0;
    return cut.size();
}

} // namespace sc
