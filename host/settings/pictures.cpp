// Gesture and action pictures drawn with GDI into opaque DIB sections.
#include "host/settings/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace settings {
namespace {

struct Dib {
    HBITMAP bitmap = nullptr;
    std::uint32_t* bits = nullptr;
};

Dib makeDib(int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Dib dib;
    dib.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dib.bits = static_cast<std::uint32_t*>(bits);
    return dib;
}

// GDI leaves the alpha byte 0, which an image list of 32-bit pictures would take as transparent.
void makeOpaque(const Dib& dib, int size) {
    GdiFlush();
    for (int i = 0; i < size * size; ++i)
        dib.bits[i] |= 0xFF000000u;
}

template <class Paint> HBITMAP paintPicture(int size, Paint&& paint) {
    Dib dib = makeDib(size);
    if (!dib.bitmap)
        return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib.bitmap);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    paint(dc, all);
    SelectObject(dc, old);
    DeleteDC(dc);
    makeOpaque(dib, size);
    return dib.bitmap;
}

} // namespace

void drawTrack(HDC dc, const RECT& area, const std::vector<POINT>& points, int dpi) {
    if (points.empty())
        return;
    long minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const POINT& p : points) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const double width = area.right - area.left, height = area.bottom - area.top;
    const double margin = std::max(3.0, std::min(width, height) / 8.0);
    const double span = std::max({static_cast<double>(maxX - minX), static_cast<double>(maxY - minY), 1.0});
    const double scale = std::min(width - 2 * margin, height - 2 * margin) / span;
    // Centred in the area, keeping the shape's proportions.
    const double offsetX = area.left + (width - (maxX - minX) * scale) / 2.0;
    const double offsetY = area.top + (height - (maxY - minY) * scale) / 2.0;
    std::vector<POINT> drawn;
    for (const POINT& p : points)
        drawn.push_back({static_cast<LONG>(std::lround(offsetX + (p.x - minX) * scale)),
                         static_cast<LONG>(std::lround(offsetY + (p.y - minY) * scale))});
    // Thicker in small pictures, never heavier than a pen stroke on a large canvas.
    // Thicker in small pictures, never heavier than a pen stroke on a large canvas.
    const int line =
        std::clamp(static_cast<int>(std::min(width, height) / 22.0), 2, std::max(2, 4 * dpi / 96));
    const double head = std::clamp(std::min(width, height) / 7.0, 5.0, 18.0 * dpi / 96.0);
    drawPath(dc, drawn, line, head);
}

void drawPath(HDC dc, const std::vector<POINT>& drawn, int line, double head) {
    if (drawn.empty())
        return;
    const COLORREF ink = RGB(0x1F, 0x4E, 0x9A);
    HPEN pen = CreatePen(PS_SOLID, line, ink);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polyline(dc, drawn.data(), static_cast<int>(drawn.size()));
    SelectObject(dc, oldPen);
    DeleteObject(pen);

    // The arrow head points along the last stretch long enough to have a direction.
    const POINT end = drawn.back();
    POINT from = end;
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it) {
        from = *it;
        if (std::hypot(end.x - from.x, end.y - from.y) >= head)
            break;
    }
    const double length = std::hypot(end.x - from.x, end.y - from.y);
    HBRUSH inkBrush = CreateSolidBrush(ink);
    HGDIOBJ oldBrush = SelectObject(dc, inkBrush);
    HGDIOBJ noPen = SelectObject(dc, GetStockObject(NULL_PEN));
    if (length > 0.5) {
        const double ux = (end.x - from.x) / length, uy = (end.y - from.y) / length;
        const POINT arrow[3] = {
            {static_cast<LONG>(std::lround(end.x + ux * head * 0.4)),
             static_cast<LONG>(std::lround(end.y + uy * head * 0.4))},
            {static_cast<LONG>(std::lround(end.x - ux * head * 0.6 - uy * head * 0.5)),
             static_cast<LONG>(std::lround(end.y - uy * head * 0.6 + ux * head * 0.5))},
            {static_cast<LONG>(std::lround(end.x - ux * head * 0.6 + uy * head * 0.5)),
             static_cast<LONG>(std::lround(end.y - uy * head * 0.6 - ux * head * 0.5))},
        };
        Polygon(dc, arrow, 3);
    }
    // The start: a green dot, so a person sees where to begin.
    HBRUSH startBrush = CreateSolidBrush(RGB(0x2E, 0xA0, 0x43));
    SelectObject(dc, startBrush);
    const int r = std::max(3, static_cast<int>(head * 0.45));
    Ellipse(dc, drawn[0].x - r, drawn[0].y - r, drawn[0].x + r + 1, drawn[0].y + r + 1);
    SelectObject(dc, noPen);
    SelectObject(dc, oldBrush);
    DeleteObject(startBrush);
    DeleteObject(inkBrush);
}

HBITMAP trackPicture(const std::vector<POINT>& points, int size, int dpi) {
    return paintPicture(size, [&](HDC dc, const RECT& all) { drawTrack(dc, all, points, dpi); });
}

HBITMAP iconPicture(HICON icon, int size) {
    return paintPicture(size, [&](HDC dc, const RECT&) {
        if (icon)
            DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    });
}

HBITMAP bitmapPicture(HBITMAP source, int size) {
    return paintPicture(size, [&](HDC dc, const RECT&) {
        BITMAP info{};
        if (!source || !GetObjectW(source, sizeof info, &info))
            return;
        HDC from = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(from, source);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, size, size, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(from, old);
        DeleteDC(from);
    });
}

} // namespace settings
