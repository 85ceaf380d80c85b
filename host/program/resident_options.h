// The resident program's own options (its hot key, whether stroke results show) in a small file beside
// the engine's, and the ways Settings reaches a running resident: the Run key and a window message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/hot_key.h"
#include "strokecast.h"

namespace program {

using text = std::basic_string<sc_char>;
using textView = std::basic_string_view<sc_char>;

// RegisterHotKey's modifier bits, the same numbers on every build.
inline constexpr std::uint32_t kModAlt = sc::hot_key::kAlt;
inline constexpr std::uint32_t kModControl = sc::hot_key::kControl;
inline constexpr std::uint32_t kModShift = sc::hot_key::kShift;
inline constexpr std::uint32_t kModWin = sc::hot_key::kWin;

struct ResidentOptions {
    // Ctrl+Alt+G: free in Windows and the common desktop programs. A key of 0 means no hot key.
    std::uint32_t hotKeyModifiers = kModControl | kModAlt;
    std::uint32_t hotKey = 'G';
    bool showStrokeResults = true; // the small popup near the tray icon after each stroke

    bool operator==(const ResidentOptions&) const = default;
};

// The file's name in the user folder, beside MyGesture.configure.
inline constexpr std::u16string_view kResidentOptionsFile = u"resident.configure";

// Reads folder\resident.configure into options, starting from the defaults: unknown keys, malformed
// lines and values out of range keep the default. false when the file cannot be read (options are
// then exactly the defaults).
bool loadResidentOptions(textView folder, ResidentOptions& options);
// Writes the whole file in one atomic step (temporary file, then a move); false when it could not be
// written, the old file then being unchanged.
bool saveResidentOptions(textView folder, const ResidentOptions& options);

// "Ctrl+Alt+G" as a person reads it; "none" when key is 0.
text hotKeyText(std::uint32_t modifiers, std::uint32_t key);
// The reverse of hotKeyText, case-insensitive ("ctrl+shift+f5"); false, outputs unchanged, for text
// that names no key or a modifier twice. "none" gives 0, 0.
bool parseHotKey(textView hotKey, std::uint32_t& modifiers, std::uint32_t& key);

// ---- Windows only: the programs themselves ----

// The resident's hidden top-level window, which owns the tray icon: found by this class.
inline constexpr const sc_char* kResidentWindowClass = STROKECAST_TEXT("StrokecastResident");
// true when HKCU\Software\Microsoft\Windows\CurrentVersion\Run holds "Strokecast Resident".
bool startsWithWindows();
// Adds (on) or removes (off) that value; on stores the quoted path of strokecast-resident.exe beside
// the calling program. false when the registry refused.
bool setStartWithWindows(bool on);
// Tells a running resident to read its options file again; false when no resident is running.
bool notifyResidentOptionsChanged();
// The registered message notifyResidentOptionsChanged posts to the resident's window.
unsigned residentOptionsChangedMessage();

} // namespace program
