// Pictures of gestures and actions for the lists: a track with its start marked and its direction shown.
#pragma once

#include <windows.h>

#include <vector>

namespace settings {

// Draws the track scaled into the rectangle: the path, a green dot where it starts and an arrow head
// where it ends.
void drawTrack(HDC dc, const RECT& area, const std::vector<POINT>& points, int dpi);
// Draws points already placed: the path `line` wide, the start dot and an arrow head `head` long.
void drawPath(HDC dc, const std::vector<POINT>& points, int line, double head);
// A size x size opaque 32-bit picture of the track; the caller deletes it.
HBITMAP trackPicture(const std::vector<POINT>& points, int size, int dpi);
// Draws points already placed: the path `line` wide, the start dot and an arrow head `head` long.
void drawPath(HDC dc, const std::vector<POINT>& points, int line, double head);
// A size x size opaque 32-bit copy of an icon or bitmap, centred on the window colour; the caller deletes it.
HBITMAP iconPicture(HICON icon, int size);
HBITMAP bitmapPicture(HBITMAP source, int size);

} // namespace settings
