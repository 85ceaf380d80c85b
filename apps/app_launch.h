// Running custom actions: modern apps through app activation, desktop targets through the shell.
#pragma once

#include <cstdint>
#include <string_view>

namespace sc {

class CustomActionStore;

inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057); // E_INVALIDARG

// Starts the target of the store's entry for the action text; true when it was started. false for a
// text the store does not hold, for a key of neither kind and for a failed start. A desktop target that
// is a file path naming nothing is still handed to the shell, which shows the user its own message,
// and sets *targetMissing.
bool executeCustomAction(const CustomActionStore& store, std::u16string_view actionText,
                         bool* targetMissing = nullptr);
// Activates a modern app by its application user model id; the HRESULT (0 on success).
std::int32_t activateMetroApp(std::u16string_view appId, std::uint32_t& processId);
// 1 when the Start screen shows or a modern app is visible on a monitor, else 0.
int isModernUiVisible();

} // namespace sc
