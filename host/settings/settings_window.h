// The main window of Strokecast Settings: gestures, recording, trying a stroke, the resident's options.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace settings {

struct StartOptions {
    std::wstring userFolder;
    std::vector<uint16_t> stroke; // --stroke: opens the recording page with it drawn
    std::wstring importFile;      // --import: asks to import this settings file
    int page = -1;                // --page: the page shown first (PAGE_*); with --stroke, record or try
};

// Creates and shows the window, then runs the message loop; the process's exit code.
int runSettings(HINSTANCE instance, const StartOptions& options);

} // namespace settings
