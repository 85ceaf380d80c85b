// The bind picker: built-in actions with readable labels, installed apps with their tiles, or a program.
#pragma once

#include <windows.h>

#include <string>

#include "host/settings/engine.h"

namespace settings {

struct BindChoice {
    std::wstring action;      // what the gesture is bound to
    std::wstring customValue; // when not empty: store the custom action (action, customValue) first
};

// Registers the picker's window class once per process.
void registerBindPickerClass(HINSTANCE instance);
// Shows the picker over owner until the person chooses or cancels; true with the choice.
bool pickAction(HWND owner, Engine& engine, const std::wstring& gesture, HFONT font, BindChoice& choice);

// A picture for an action (an app's tile, a program's icon), size x size; null for built-ins.
HBITMAP actionPicture(Engine& engine, const std::wstring& action, int size);

} // namespace settings
