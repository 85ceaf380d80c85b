// A drawing surface for one stroke: mouse, pen and touch, the stroke shown as it is drawn.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace settings {

// Registers the canvas class (SETTINGS_CANVAS_CLASS) once per process.
void registerCanvasClass(HINSTANCE instance);
// When a stroke is finished the canvas sends WM_COMMAND (its id, CANVAS_STROKE_DONE) to its parent.
HWND createCanvas(HWND parent, int id, const std::wstring& hint);

// The stroke as the engine takes it: x,y pairs of 16-bit values ended by a 0 (empty when none).
std::vector<uint16_t> canvasStroke(HWND canvas);
// Shows a stroke given in that format, scaled into the canvas; an empty one clears it.
void setCanvasStroke(HWND canvas, const std::vector<uint16_t>& stroke);
void clearCanvas(HWND canvas);

} // namespace settings
