// Pictures need the system's graphics; natively there are none.
#include "platform/icons.h"

namespace platform {

void* tilePicture(std::u16string_view, std::uint32_t) {
    return nullptr;
}
void* fileLargeIcon(std::u16string_view) {
    return nullptr;
}

} // namespace platform
