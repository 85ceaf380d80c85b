// The charm-bar match: a case-insensitive search for an ASCII text.
#include "capture/charm_bar.h"

#include <algorithm>

namespace sc {
namespace {

// Only ASCII letters fold: the text searched for is ASCII, and no other letter folds onto one of its
// letters under the system's case-insensitive comparison either.
char16_t foldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

} // namespace

bool isCharmBarId(std::u16string_view automationId) {
    constexpr std::u16string_view needle = u"charm bar";
    const auto it = std::search(automationId.begin(), automationId.end(), needle.begin(), needle.end(),
                                [](char16_t a, char16_t b) { return foldAscii(a) == b; });
    return it != automationId.end();
}

} // namespace sc
