// Bounded copies.
#include "common/buffer.h"

namespace sc {

std::u16string_view boundedPrefix(std::u16string_view text, std::size_t capacity) {
    if (capacity == 0)
        return {};
    if (text.size() < capacity)
        return text;
    std::size_t n = capacity - 1;
    if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
        --n;
    return text.substr(0, n);
}

} // namespace sc
