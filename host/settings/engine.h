// The engine as the settings program uses it: the loaded library and its text answers as wide strings.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/library.h"

namespace settings {

struct Scored {
    std::wstring name;
    double score = 0.0;
};

struct MetroApp {
    std::wstring appId, name, logo;
    COLORREF tile = 0;
};

class Engine {
  public:
    // Loads strokecast.dll beside the program and opens both managers on the folder.
    bool open(const std::wstring& userFolder, std::wstring& error);
    void close();
    host::Library& lib() { return lib_; }

    // The engine's account of this thread's last failure, or a plain note when it has none.
    std::wstring lastError();

    std::vector<std::wstring> gestureNames();
    std::wstring actionOf(const std::wstring& gesture); // empty when unbound
    bool switchOf(const std::wstring& gesture);
    std::vector<POINT> track(const std::wstring& gesture);
    std::vector<Scored> rank(const std::vector<uint16_t>& points, uint32_t count);
    std::vector<Scored> similar(const std::wstring& name, const std::vector<uint16_t>& points);
    std::vector<std::wstring> actions(); // built-in names, then custom action keys
    std::vector<MetroApp> metroApps();

  private:
    host::Library lib_;
    bool open_ = false;
};

// "name,score" lines as the explanation exports write them.
std::vector<Scored> scoredLines(const std::wstring& text);
// A person's words for an action name: a built-in's meaning, an app's or a program's name.
std::wstring actionLabel(const std::wstring& action);
// The keys the settings program gives the custom actions it stores.
inline constexpr wchar_t kMetroPrefix[] = L"METRO:\\";
inline constexpr wchar_t kDesktopPrefix[] = L"DESKTOP:\\";
// The built-ins that end a session or lose data: shown with a warning, guarded in the resident.
bool isDestructive(const std::wstring& action);

} // namespace settings
