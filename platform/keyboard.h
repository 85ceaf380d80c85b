// Synthetic keyboard input.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// One keyboard event: a virtual-key code pressed or released (no scan code, no extra flags).
struct KeyEvent {
    std::uint16_t key = 0;
    bool up = false;
};

// Injects all events in one call, in order, so nothing the user types can land between them.
// Returns the number of events the system accepted.
unsigned sendKeys(const std::vector<KeyEvent>& events);

// Modifier down, key down, key up, modifier up, in one injection; false when the system took fewer.
// The modifier goes up last, so the target window sees one whole chord.
inline bool sendKeyChord(std::uint16_t modifier, std::uint16_t key) {
    return sendKeys({{modifier, false}, {key, false}, {key, true}, {modifier, true}}) == 4;
}

// Virtual-key codes the engine presses; letters and digits are their own ASCII codes.
namespace vk {
inline constexpr std::uint16_t kControl = 0x11;
inline constexpr std::uint16_t kMenu = 0x12;
inline constexpr std::uint16_t kSnapshot = 0x2C;
inline constexpr std::uint16_t kLeftWindows = 0x5B;
inline constexpr std::uint16_t kF4 = 0x73;
inline constexpr std::uint16_t kVolumeMute = 0xAD;
inline constexpr std::uint16_t kMediaNextTrack = 0xB0;
inline constexpr std::uint16_t kMediaPrevTrack = 0xB1;
inline constexpr std::uint16_t kMediaStop = 0xB2;
inline constexpr std::uint16_t kMediaPlayPause = 0xB3;
} // namespace vk

} // namespace platform
