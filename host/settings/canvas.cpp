// The stroke canvas: collects one stroke from the mouse, a pen or a finger and draws it as it grows.
#include "host/settings/canvas.h"

#include <windowsx.h>

#include <algorithm>

#include "host/settings/ids.h"
#include "host/settings/layout.h"
#include "host/settings/pictures.h"

namespace settings {
namespace {

struct Canvas {
    std::vector<POINT> points;
    bool drawing = false;
    bool shownOnly = false; // a stroke given from outside, scaled to fit
    std::wstring hint;
};

Canvas* canvasOf(HWND window) {
    return reinterpret_cast<Canvas*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void begin(HWND window, Canvas& c, POINT p) {
    c.points.assign(1, p);
    c.drawing = true;
    c.shownOnly = false;
    SetCapture(window);
    SetFocus(window);
    InvalidateRect(window, nullptr, TRUE);
}

void extend(HWND window, Canvas& c, POINT p) {
    if (!c.drawing || (!c.points.empty() && c.points.back().x == p.x && c.points.back().y == p.y))
        return;
    const POINT last = c.points.back();
    c.points.push_back(p);
    // Only the new piece is painted while the stroke grows.
    HDC dc = GetDC(window);
    HPEN pen = CreatePen(PS_SOLID, std::max(2, 3 * static_cast<int>(GetDpiForWindow(window)) / 96),
                         RGB(0x1F, 0x4E, 0x9A));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, last.x, last.y, nullptr);
    LineTo(dc, p.x, p.y);
    SelectObject(dc, old);
    DeleteObject(pen);
    ReleaseDC(window, dc);
}

void finish(HWND window, Canvas& c) {
    if (!c.drawing)
        return;
    c.drawing = false;
    ReleaseCapture();
    InvalidateRect(window, nullptr, TRUE);
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), CANVAS_STROKE_DONE),
                 reinterpret_cast<LPARAM>(window));
}

void paint(HWND window, Canvas& c) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    const int dpi = static_cast<int>(GetDpiForWindow(window));
    HBRUSH frame = CreateSolidBrush(GetFocus() == window ? RGB(0x1F, 0x4E, 0x9A) : RGB(0xB0, 0xB0, 0xB0));
    FrameRect(dc, &area, frame);
    DeleteObject(frame);
    if (c.points.size() >= 2 && !c.drawing) {
        // Once finished the stroke shows where it starts and where it goes: in place when drawn here,
        // scaled to fit when it came from elsewhere.
        if (c.shownOnly)
            drawTrack(dc, area, c.points, dpi);
        else
            drawPath(dc, c.points, std::max(2, 3 * dpi / 96), 14.0 * dpi / 96);
    } else if (c.points.size() >= 2) {
        HPEN pen = CreatePen(PS_SOLID, std::max(2, 3 * dpi / 96), RGB(0x1F, 0x4E, 0x9A));
        HGDIOBJ old = SelectObject(dc, pen);
        Polyline(dc, c.points.data(), static_cast<int>(c.points.size()));
        SelectObject(dc, old);
        DeleteObject(pen);
    } else {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        HGDIOBJ oldFont =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(GetParent(window), WM_GETFONT, 0, 0)));
        DrawTextW(dc, c.hint.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
    }
    EndPaint(window, &ps);
}

POINT screenToClient(HWND window, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window, &p);
    return p;
}

LRESULT CALLBACK canvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Canvas* c = canvasOf(window);
    switch (message) {
    case WM_NCCREATE: {
        auto* created = new Canvas;
        created->hint = static_cast<const wchar_t*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        break;
    }
    case WM_NCDESTROY:
        delete c;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    case WM_LBUTTONDOWN:
        if (c)
            begin(window, *c, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        if (c)
            extend(window, *c, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        if (c) {
            extend(window, *c, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            finish(window, *c);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (c && c->drawing && reinterpret_cast<HWND>(lParam) != window)
            finish(window, *c);
        return 0;
    // Pen and touch arrive as pointer messages; handling them keeps a finger's drag from panning.
    case WM_POINTERDOWN:
        if (c)
            begin(window, *c, screenToClient(window, lParam));
        return 0;
    case WM_POINTERUPDATE:
        if (c)
            extend(window, *c, screenToClient(window, lParam));
        return 0;
    case WM_POINTERUP:
        if (c) {
            extend(window, *c, screenToClient(window, lParam));
            finish(window, *c);
        }
        return 0;
    case WM_KEYDOWN:
        if (c && wParam == VK_ESCAPE) {
            clearCanvas(window);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        if (c) {
            paint(window, *c);
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void registerCanvasClass(HINSTANCE instance) {
    registerWindowClass(instance, SETTINGS_CANVAS_CLASS, canvasProc, {IDC_CROSS, false, false});
}

HWND createCanvas(HWND parent, int id, const std::wstring& hint) {
    return CreateWindowExW(0, SETTINGS_CANVAS_CLASS, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), const_cast<wchar_t*>(hint.c_str()));
}

std::vector<uint16_t> canvasStroke(HWND canvas) {
    const Canvas* c = canvasOf(canvas);
    std::vector<uint16_t> values;
    if (!c || c->points.size() < 2)
        return values;
    // The engine's coordinates are 1..65535 (0 would end the list): a drawn stroke moves one pixel in.
    const LONG shift = c->shownOnly ? 0 : 1;
    for (const POINT& p : c->points) {
        values.push_back(static_cast<uint16_t>(std::clamp<LONG>(p.x + shift, 1, 65535)));
        values.push_back(static_cast<uint16_t>(std::clamp<LONG>(p.y + shift, 1, 65535)));
    }
    values.push_back(0);
    return values;
}

void setCanvasStroke(HWND canvas, const std::vector<uint16_t>& stroke) {
    Canvas* c = canvasOf(canvas);
    if (!c)
        return;
    c->points.clear();
    for (std::size_t i = 0; i + 1 < stroke.size() && stroke[i] != 0; i += 2)
        c->points.push_back({stroke[i], stroke[i + 1]});
    c->shownOnly = true;
    c->drawing = false;
    InvalidateRect(canvas, nullptr, TRUE);
}

void clearCanvas(HWND canvas) {
    Canvas* c = canvasOf(canvas);
    if (!c)
        return;
    c->points.clear();
    c->drawing = false;
    InvalidateRect(canvas, nullptr, TRUE);
}

} // namespace settings
