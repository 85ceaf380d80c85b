// The charm-bar match: a case-insensitive search for an ASCII text.
#include "capture/charm_bar.h"

#include <algorithm>

#include "common/utf16.h"

namespace sc {

bool isCharmBarId(std::u16string_view automationId) {
    constexpr std::u16string_view needle = u"charm bar";
    const auto it = std::search(automationId.begin(), automationId.end(), needle.begin(), needle.end(),
                                [](char16_t a, char16_t b) { return utf16::asciiLower(a) == b; });
    return it != automationId.end();
}

} // namespace sc
