// The result popup and the drawn icon.
#include "host/resident/popup.h"

#include <algorithm>
#include <vector>

#include "host/program/win32/window_owner.h"

namespace resident {
namespace {

constexpr UINT_PTR kHideTimer = 1;
constexpr COLORREF kBackground = RGB(32, 36, 44);
constexpr COLORREF kHeadline = RGB(255, 255, 255);
constexpr COLORREF kDetail = RGB(196, 204, 216);
constexpr COLORREF kAccent = RGB(64, 156, 255);

UINT dpiOf(HWND window) {
    const UINT dpi = window ? GetDpiForWindow(window) : GetDpiForSystem();
    return dpi ? dpi : 96;
}

HFONT makeFont(int pointSize, int weight, UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = -MulDiv(pointSize, static_cast<int>(dpi), 72);
    font.lfWeight = weight;
    font.lfQuality = CLEARTYPE_QUALITY;
    return CreateFontIndirectW(&font);
}

SIZE textSize(HDC dc, HFONT font, const std::wstring& text, int maxWidth) {
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

ResultPopup::ResultPopup(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DROPSHADOW;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, L"", WS_POPUP, 0,
                              0, 10, 10, nullptr, nullptr, instance, this);
}

ResultPopup::~ResultPopup() {
    if (window_)
        DestroyWindow(window_);
    if (headlineFont_)
        DeleteObject(headlineFont_);
    if (detailFont_)
        DeleteObject(detailFont_);
}

int ResultPopup::scaled(int pixels) const {
    return MulDiv(pixels, static_cast<int>(dpiOf(window_)), 96);
}

void ResultPopup::show(const std::wstring& headline, const std::wstring& detail, unsigned milliseconds) {
    if (!window_)
        return;
    headline_ = headline;
    detail_ = detail;
    SetWindowTextW(window_, detail.empty() ? headline.c_str() : (headline + L": " + detail).c_str());
    layout();
    InvalidateRect(window_, nullptr, TRUE);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTimer(window_, kHideTimer, milliseconds, nullptr);
}

void ResultPopup::hide() {
    if (!window_)
        return;
    KillTimer(window_, kHideTimer);
    ShowWindow(window_, SW_HIDE);
}

void ResultPopup::layout() {
    const UINT dpi = dpiOf(window_);
    if (dpi != fontDpi_) {
        if (headlineFont_)
            DeleteObject(headlineFont_);
        if (detailFont_)
            DeleteObject(detailFont_);
        headlineFont_ = makeFont(12, FW_SEMIBOLD, dpi);
        detailFont_ = makeFont(10, FW_NORMAL, dpi);
        fontDpi_ = dpi;
    }
    const int pad = scaled(14);
    const int maxText = scaled(340);
    HDC dc = GetDC(window_);
    const SIZE head = textSize(dc, headlineFont_, headline_, maxText);
    const SIZE body = detail_.empty() ? SIZE{0, 0} : textSize(dc, detailFont_, detail_, maxText);
    ReleaseDC(window_, dc);
    const int accent = scaled(4);
    const int width = std::max<int>(std::max(head.cx, body.cx) + 2 * pad + accent, scaled(220));
    const int height = head.cy + (body.cy ? body.cy + scaled(4) : 0) + 2 * pad;

    // The popup's corner sits at the icon when the shell says where it is, else at the work area's
    // bottom right, where the notification area usually is.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int gap = scaled(12);
    int x = work.right - width - gap;
    int y = work.bottom - height - gap;
    if (anchor_.right > anchor_.left) {
        x = std::clamp<int>(anchor_.right - width, work.left + gap, work.right - width - gap);
        y = anchor_.top >= work.bottom ? work.bottom - height - gap : anchor_.bottom + gap;
        y = std::clamp<int>(y, work.top + gap, work.bottom - height - gap);
    }
    SetWindowPos(window_, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE);
}

void ResultPopup::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);
    RECT bar = client;
    bar.right = bar.left + scaled(4);
    HBRUSH accent = CreateSolidBrush(kAccent);
    FillRect(dc, &bar, accent);
    DeleteObject(accent);

    const int pad = scaled(14);
    SetBkMode(dc, TRANSPARENT);
    RECT text{client.left + pad + scaled(4), client.top + pad, client.right - pad, client.bottom - pad};
    HGDIOBJ old = SelectObject(dc, headlineFont_);
    SetTextColor(dc, kHeadline);
    RECT measured = text;
    DrawTextW(dc, headline_.c_str(), static_cast<int>(headline_.size()), &measured,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    DrawTextW(dc, headline_.c_str(), static_cast<int>(headline_.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
    text.top = measured.bottom + scaled(4);
    SelectObject(dc, detailFont_);
    SetTextColor(dc, kDetail);
    DrawTextW(dc, detail_.c_str(), static_cast<int>(detail_.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    EndPaint(window_, &ps);
}

LRESULT CALLBACK ResultPopup::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = program::windowOwner(window, message, lParam, &ResultPopup::window_);
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        self->paint();
        return 0;
    case WM_TIMER:
        if (wParam == kHideTimer) {
            // Someone reading it with the pointer over it keeps it; the timer asks again later.
            POINT at;
            RECT r;
            if (!(GetCursorPos(&at) && GetWindowRect(window, &r) && PtInRect(&r, at)))
                self->hide();
        }
        return 0;
    case WM_LBUTTONUP:
        self->hide();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DPICHANGED:
        self->layout();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HICON drawStrokeIcon(int size) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = size;
    header.bV5Height = -size;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color =
        CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!color)
        return nullptr;
    auto* pixels = static_cast<DWORD*>(bits);
    std::fill(pixels, pixels + size * size, 0u);

    // GDI leaves alpha at 0 where it draws: draw on a blank page, then make every touched pixel opaque.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, color);
    const int s = size;
    HBRUSH round = CreateSolidBrush(RGB(32, 36, 44));
    HGDIOBJ oldBrush = SelectObject(dc, round);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    RoundRect(dc, 0, 0, s + 1, s + 1, s / 3, s / 3);
    HPEN stroke = CreatePen(PS_SOLID, std::max(2, s / 10), RGB(64, 156, 255));
    SelectObject(dc, stroke);
    const POINT curve[] = {{s * 2 / 10, s * 7 / 10}, {s * 3 / 10, s * 2 / 10}, {s * 6 / 10, s * 2 / 10},
                           {s * 5 / 10, s * 5 / 10}, {s * 4 / 10, s * 8 / 10}, {s * 8 / 10, s * 8 / 10},
                           {s * 8 / 10, s * 4 / 10}};
    PolyBezier(dc, curve, 7);
    HBRUSH dot = CreateSolidBrush(RGB(255, 255, 255));
    SelectObject(dc, dot);
    SelectObject(dc, GetStockObject(NULL_PEN));
    const int r = std::max(2, s / 9);
    Ellipse(dc, curve[0].x - r, curve[0].y - r, curve[0].x + r + 1, curve[0].y + r + 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBitmap);
    DeleteObject(dot);
    DeleteObject(stroke);
    DeleteObject(round);
    DeleteDC(dc);
    GdiFlush();
    for (int i = 0; i < s * s; ++i)
        if (pixels[i] & 0x00FFFFFF)
            pixels[i] |= 0xFF000000;

    // The alpha channel decides; the mask only has to exist, and all zero it hides nothing.
    const std::vector<BYTE> zeros(static_cast<std::size_t>((size + 15) / 16 * 2 * size), 0);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, zeros.data());
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = color;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(color);
    return icon;
}

} // namespace resident
