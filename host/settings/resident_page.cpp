// The Resident page, stored in the resident program's own options file beside the engine's.
#include "host/settings/resident_page.h"

#include <commctrl.h>
#include <windowsx.h>

#include "host/program/resident_options.h"
#include "host/settings/ids.h"
#include "host/settings/layout.h"

namespace settings {
namespace {

// The hot key control speaks HOTKEYF_* bits, RegisterHotKey and the options file MOD_* bits.
std::uint32_t modifiersOf(BYTE hotKeyFlags) {
    std::uint32_t mods = 0;
    if (hotKeyFlags & HOTKEYF_ALT)
        mods |= program::kModAlt;
    if (hotKeyFlags & HOTKEYF_CONTROL)
        mods |= program::kModControl;
    if (hotKeyFlags & HOTKEYF_SHIFT)
        mods |= program::kModShift;
    return mods;
}

BYTE flagsOf(std::uint32_t mods) {
    BYTE flags = 0;
    if (mods & program::kModAlt)
        flags |= HOTKEYF_ALT;
    if (mods & program::kModControl)
        flags |= HOTKEYF_CONTROL;
    if (mods & program::kModShift)
        flags |= HOTKEYF_SHIFT;
    return flags;
}

std::wstring wide(const program::text& text) {
    return std::wstring(text.begin(), text.end());
}

} // namespace

void ResidentPage::create(HWND page, const std::wstring& folder, Report report) {
    folder_ = folder;
    report_ = std::move(report);
    hotKeyLabel_ = child(page, L"STATIC", L"&Hot key that opens the drawing overlay (press the keys):",
                         SS_LEFT, IDC_HOTKEY_LABEL);
    hotKey_ = child(page, HOTKEY_CLASSW, L"", WS_TABSTOP, IDC_HOTKEY, WS_EX_CLIENTEDGE);
    // A hot key without Ctrl or Alt would fire while typing.
    SendMessageW(hotKey_, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    startWithWindows_ = child(page, WC_BUTTONW, L"Start the resident &with Windows",
                              WS_TABSTOP | BS_AUTOCHECKBOX, IDC_START_WITH_WINDOWS);
    showResults_ = child(page, WC_BUTTONW, L"Show what each stroke &did, near the notification icon",
                         WS_TABSTOP | BS_AUTOCHECKBOX, IDC_SHOW_RESULTS);
    apply_ = child(page, WC_BUTTONW, L"A&pply", WS_TABSTOP, IDC_RESIDENT_APPLY);
    note_ = child(page, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_RESIDENT_NOTE);
}

void ResidentPage::layout(int width, int, int dpi) {
    const int h = scaled(26, dpi), gap = scaled(8, dpi), w = std::min(width, scaled(560, dpi));
    int y = 0;
    place(hotKeyLabel_, 0, y + scaled(4, dpi), w, h);
    y += h;
    place(hotKey_, 0, y, scaled(220, dpi), h);
    y += h + 2 * gap;
    place(startWithWindows_, 0, y, w, h);
    y += h + gap;
    place(showResults_, 0, y, w, h);
    y += h + 2 * gap;
    place(apply_, 0, y, scaled(100, dpi), h);
    y += h + 2 * gap;
    place(note_, 0, y, w, scaled(80, dpi));
}

void ResidentPage::load() {
    program::ResidentOptions options;
    program::loadResidentOptions(program::textView(folder_.data(), folder_.size()), options);
    SendMessageW(hotKey_, HKM_SETHOTKEY, MAKEWORD(options.hotKey, flagsOf(options.hotKeyModifiers)), 0);
    Button_SetCheck(startWithWindows_, program::startsWithWindows() ? BST_CHECKED : BST_UNCHECKED);
    Button_SetCheck(showResults_, options.showStrokeResults ? BST_CHECKED : BST_UNCHECKED);
    SetWindowTextW(note_, (L"The resident opens the drawing overlay with " +
                           wide(program::hotKeyText(options.hotKeyModifiers, options.hotKey)) +
                           L". Changes reach a running resident when you apply them.")
                              .c_str());
}

void ResidentPage::command(int id, int) {
    if (id == IDC_RESIDENT_APPLY)
        apply();
}

void ResidentPage::apply() {
    program::ResidentOptions old;
    const program::textView folder(folder_.data(), folder_.size());
    program::loadResidentOptions(folder, old);
    program::ResidentOptions options = old;
    const WORD chosen = static_cast<WORD>(SendMessageW(hotKey_, HKM_GETHOTKEY, 0, 0));
    options.hotKey = LOBYTE(chosen);
    options.hotKeyModifiers = options.hotKey == 0 ? 0 : modifiersOf(HIBYTE(chosen));
    options.showStrokeResults = Button_GetCheck(showResults_) == BST_CHECKED;
    const std::wstring keyText = wide(program::hotKeyText(options.hotKeyModifiers, options.hotKey));
    // A key another program holds would do nothing at all: say so now instead. The resident's own
    // current key is taken by the resident itself, so only a new key is tried.
    if (options.hotKey != 0 &&
        (options.hotKey != old.hotKey || options.hotKeyModifiers != old.hotKeyModifiers)) {
        if (!RegisterHotKey(nullptr, 0xBFFF, options.hotKeyModifiers | MOD_NOREPEAT, options.hotKey)) {
            report_(keyText + L" is taken by another program. Choose another hot key.", true);
            return;
        }
        UnregisterHotKey(nullptr, 0xBFFF);
    }
    if (!program::saveResidentOptions(folder, options)) {
        report_(L"The resident's options could not be written to " + folder_ + L".", true);
        return;
    }
    const bool start = Button_GetCheck(startWithWindows_) == BST_CHECKED;
    if (start != program::startsWithWindows() && !program::setStartWithWindows(start)) {
        report_(L"Windows refused to change whether the resident starts with it.", true);
        return;
    }
    const bool told = program::notifyResidentOptionsChanged();
    report_(told ? L"The resident now uses " + keyText + L"."
                 : L"Saved. The resident is not running; it uses " + keyText + L" when it starts.",
            false);
    load();
}

} // namespace settings
