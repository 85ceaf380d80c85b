// Recognising the system's charm bar among the windows that open and close.
#pragma once

#include <string_view>

namespace sc {

// The charm bar's automation id contains "Charm Bar" in any letter case.
bool isCharmBarId(std::u16string_view automationId);

} // namespace sc
