// The Resident page, stored through the resident program's own options file.
#include "host/settings/resident_page.h"

#include <commctrl.h>

#include "host/settings/ids.h"
#include "host/settings/layout.h"

namespace settings {

void ResidentPage::create(HWND page, const std::wstring& folder, Report report) {
    folder_ = folder;
    report_ = std::move(report);
    hotKeyLabel_ =
        child(page, L"STATIC", L"&Hot key that opens the drawing overlay:", SS_LEFT, IDC_HOTKEY_LABEL);
    hotKey_ = child(page, HOTKEY_CLASSW, L"", WS_TABSTOP, IDC_HOTKEY, WS_EX_CLIENTEDGE);
    startWithWindows_ = child(page, WC_BUTTONW, L"Start the resident &with Windows",
                              WS_TABSTOP | BS_AUTOCHECKBOX, IDC_START_WITH_WINDOWS);
    showResults_ = child(page, WC_BUTTONW, L"Show what each stroke &did, near the notification icon",
                         WS_TABSTOP | BS_AUTOCHECKBOX, IDC_SHOW_RESULTS);
    apply_ = child(page, WC_BUTTONW, L"A&pply", WS_TABSTOP, IDC_RESIDENT_APPLY);
    note_ = child(page, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_RESIDENT_NOTE);
}

void ResidentPage::layout(int width, int, int dpi) {
    const int h = scaled(26, dpi), gap = scaled(8, dpi), w = std::min(width, scaled(520, dpi));
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
    SetWindowTextW(note_, L"These options belong to Strokecast Resident, which is not installed beside this "
                          L"program.");
    for (HWND control : {hotKey_, startWithWindows_, showResults_, apply_})
        EnableWindow(control, FALSE);
}

void ResidentPage::command(int id, int) {
    if (id == IDC_RESIDENT_APPLY)
        apply();
}

void ResidentPage::apply() {}

} // namespace settings
