// Table rows written out for a test's expectation: "[key=value]", or "[key]" for a key alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/utf16.h"

namespace sctest {

inline std::string bracketed(std::u16string_view key, std::optional<std::u16string_view> value) {
    // Appended piece by piece: GCC 12 at -O2 reports a false -Wrestrict overlap in "[" + string.
    std::string out;
    out += '[';
    out += sc::utf16::toUtf8(key);
    if (value) {
        out += '=';
        out += sc::utf16::toUtf8(*value);
    }
    out += ']';
    return out;
}

// Every row of a table of key and value pairs, in its order.
template <class Rows> std::string bracketedRows(const Rows& rows) {
    std::string out;
    for (const auto& [key, value] : rows)
        out += bracketed(key, value);
    return out;
}

} // namespace sctest
