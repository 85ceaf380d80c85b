// The object behind a window of the programs: handed over as the window's creation parameter and kept
// in its user data, so a static window procedure finds it again.
#pragma once

#include <windows.h>

namespace program {

// The window's object from WM_NCCREATE on, null before. On WM_NCCREATE the object is stored and, when
// `handle` names one of its members, told its window there.
template <class Owner>
Owner* windowOwner(HWND window, UINT message, LPARAM lParam, HWND Owner::*handle = nullptr) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (handle)
            owner->*handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace program
