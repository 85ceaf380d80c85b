// FNV-1a.
#include "common/fnv.h"

namespace sc {

std::uint32_t fnvHash(std::u16string_view text) {
    // Hashed unit by unit, low byte first, so the result is the same on any host byte order.
    std::uint32_t h = kFnvOffsetBasis;
    const auto length = static_cast<std::uint32_t>(text.size() * 2); // the byte count is formed in 32 bits
    for (std::uint32_t i = 0; i < length / 2 && i < text.size(); ++i) {
        h = (h ^ static_cast<unsigned char>(text[i] & 0xFF)) * kFnvPrime;
        h = (h ^ static_cast<unsigned char>(text[i] >> 8)) * kFnvPrime;
    }
    return h;
}

} // namespace sc
