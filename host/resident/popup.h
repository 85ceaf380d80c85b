// A small top-most window near the notification area that says what just happened, then hides itself.
#pragma once

#include <windows.h>

#include <string>

namespace resident {

class ResultPopup {
  public:
    // The window class name tests and the screenshot tool find the popup by.
    static constexpr const wchar_t* kClass = L"StrokecastResidentPopup";

    explicit ResultPopup(HINSTANCE instance);
    ~ResultPopup();
    ResultPopup(const ResultPopup&) = delete;
    ResultPopup& operator=(const ResultPopup&) = delete;

    // Shows the headline over the detail line without taking the focus, for `milliseconds` and as long
    // as the pointer rests on it; a click hides it at once. The window's text is both lines joined by ": ",
    // for anyone reading it.
    void show(const std::wstring& headline, const std::wstring& detail, unsigned milliseconds);
    void hide();
    // Where the popup stands: beside the icon when the shell says where that is, else above the
    // notification area's corner of the work area.
    void setAnchor(const RECT& iconRect) { anchor_ = iconRect; }

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void layout();
    int scaled(int pixels) const;

    HWND window_ = nullptr;
    HFONT headlineFont_ = nullptr;
    HFONT detailFont_ = nullptr;
    UINT fontDpi_ = 0;
    std::wstring headline_;
    std::wstring detail_;
    RECT anchor_{};
};

// The program's icon, drawn rather than loaded: a curved stroke with its start marked, the way the
// gesture pictures in Settings show one. The caller destroys it.
HICON drawStrokeIcon(int size);

} // namespace resident
