// The Resident page: the hot key the resident program registers, starting with Windows, and whether it
// shows what each stroke did.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace settings {

class ResidentPage {
  public:
    // text: what happened, for the status line; failed: also shown in a message box.
    using Report = std::function<void(const std::wstring& text, bool failed)>;

    void create(HWND page, const std::wstring& folder, Report report);
    void layout(int width, int height, int dpi);
    // Shows the stored options.
    void load();
    // WM_COMMAND from the page's controls.
    void command(int id, int code);

  private:
    void apply();

    HWND hotKeyLabel_ = nullptr, hotKey_ = nullptr, startWithWindows_ = nullptr, showResults_ = nullptr,
         apply_ = nullptr, note_ = nullptr;
    std::wstring folder_;
    Report report_;
};

} // namespace settings
