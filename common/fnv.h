// 32-bit FNV-1a hashing of UTF-16 text.
#pragma once

#include <cstdint>
#include <string_view>

namespace sc {

inline constexpr std::uint32_t kFnvOffsetBasis = 0x811C9DC5u;
inline constexpr std::uint32_t kFnvPrime = 0x01000193u;

// The hash of the text's UTF-16LE bytes (low byte first), terminator excluded, from the offset basis.
std::uint32_t fnvHash(std::u16string_view text);

} // namespace sc
