// Hot keys in words, as a person reads and writes them ("Ctrl+Alt+G", "Shift+F5", "none"): the engine's
// failure lines and the resident's options file use the same names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sc::hot_key {

// RegisterHotKey's modifier bits, the same numbers on every build.
inline constexpr std::uint32_t kAlt = 0x1;
inline constexpr std::uint32_t kControl = 0x2;
inline constexpr std::uint32_t kShift = 0x4;
inline constexpr std::uint32_t kWin = 0x8;
inline constexpr std::uint32_t kAllModifiers = kAlt | kControl | kShift | kWin;

// "Ctrl+Alt+G"; "none" when key is 0; a key with no name of its own as "Key 0x0D".
std::u16string name(std::uint32_t modifiers, std::uint32_t key);

// The reverse of name, case-insensitive ("ctrl+shift+f5"); false, outputs unchanged, for text that names
// no key or a modifier twice. "none" gives 0, 0.
bool parse(std::u16string_view text, std::uint32_t& modifiers, std::uint32_t& key);

} // namespace sc::hot_key
