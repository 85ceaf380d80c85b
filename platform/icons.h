// Pictures for the host's lists: an app's tile picture and a file's extra-large shell icon. Both are
// graphics objects of the system, handed over as opaque handles; the caller owns what it receives.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// A 60 x 60 32-bit bitmap: the logo file scaled to 58 x 58 and blended over the opaque pixel value
// `backgroundPixel` (0xAARRGGBB) inside a one-pixel frame of it. Null when the logo cannot be
// loaded or any drawing step fails; nothing is left allocated then. Uses COM as the thread has it.
void* tilePicture(std::u16string_view logoPath, std::uint32_t backgroundPixel);

// The shell's extra-large icon of a file; null when the image list or the icon cannot be had.
void* fileLargeIcon(std::u16string_view path);

} // namespace platform
