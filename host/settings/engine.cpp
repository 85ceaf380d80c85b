// The settings program's calls into strokecast.dll.
#include "host/settings/engine.h"

#include <cwchar>
#include <map>

namespace settings {
namespace {

// Text exports write all or nothing: grow the buffer until the text fits.
template <class Fill> bool fetch(Fill&& fill, std::wstring& out) {
    for (uint32_t capacity = 512; capacity <= (1u << 24); capacity *= 4) {
        std::wstring buffer(capacity, L'\0');
        const int64_t written = static_cast<int64_t>(fill(buffer.data(), capacity));
        if (written > 0) {
            out.assign(buffer.data(), static_cast<std::size_t>(written - 1));
            return true;
        }
    }
    return false;
}

std::vector<std::wstring> split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::wstring::npos)
            end = text.size();
        if (end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace

bool Engine::open(const std::wstring& userFolder, std::wstring& error) {
    std::string message;
    if (!host::loadLibrary(lib_, "", message)) {
        error = std::wstring(host::fromUtf8(message).c_str());
        return false;
    }
    lib_.StrokecastSetLogSink(nullptr, nullptr);
    const host::text templates = host::fromUtf8(host::defaultTemplateFile());
    lib_.OpenGestureManager(templates.c_str(), userFolder.c_str());
    lib_.OpenActionManager(userFolder.c_str());
    open_ = true;
    return true;
}

void Engine::close() {
    if (!open_)
        return;
    lib_.CloseActionNanager();
    lib_.CloseGestureManager();
    open_ = false;
}

std::wstring Engine::lastError() {
    std::wstring line;
    if (fetch([&](wchar_t* b, uint32_t c) { return lib_.StrokecastLastError(b, c); }, line) && !line.empty())
        return line;
    return L"the engine gave no reason";
}

std::vector<std::wstring> Engine::gestureNames() {
    std::wstring all;
    if (!fetch([&](wchar_t* b, uint32_t c) { return lib_.GetAllGestures(b, c); }, all))
        return {};
    return split(all, L',');
}

std::wstring Engine::actionOf(const std::wstring& gesture) {
    std::wstring action;
    if (!fetch([&](wchar_t* b, uint32_t c) { return lib_.GetActionOfGesture(gesture.c_str(), b, c); },
               action))
        return L"";
    return action == L"__NULLACTION_FOUND__" ? L"" : action;
}

bool Engine::switchOf(const std::wstring& gesture) {
    return lib_.GetGestureSwitch(gesture.c_str()) == 1;
}

std::vector<POINT> Engine::track(const std::wstring& gesture) {
    for (uint32_t capacity = 1024; capacity <= (1u << 22); capacity *= 4) {
        std::vector<uint16_t> values(capacity, 0);
        if (lib_.GetGestureTrack(gesture.c_str(), values.data(), capacity) != 1)
            continue;
        std::vector<POINT> points;
        for (std::size_t i = 0; i + 1 < values.size() && values[i] != 0; i += 2)
            points.push_back({values[i], values[i + 1]});
        return points;
    }
    return {};
}

std::vector<Scored> scoredLines(const std::wstring& text) {
    std::vector<Scored> out;
    for (const std::wstring& line : split(text, L'\n')) {
        const std::size_t comma = line.rfind(L',');
        if (comma == std::wstring::npos)
            continue;
        out.push_back({line.substr(0, comma), std::wcstod(line.c_str() + comma + 1, nullptr)});
    }
    return out;
}

std::vector<Scored> Engine::rank(const std::vector<uint16_t>& points, uint32_t count) {
    std::wstring text;
    if (!fetch(
            [&](wchar_t* b, uint32_t c) { return lib_.StrokecastRankGestures(points.data(), count, b, c); },
            text))
        return {};
    return scoredLines(text);
}

std::vector<Scored> Engine::similar(const std::wstring& name, const std::vector<uint16_t>& points) {
    std::wstring text;
    if (!fetch([&](wchar_t* b,
                   uint32_t c) { return lib_.StrokecastCheckSimilarity(name.c_str(), points.data(), b, c); },
               text))
        return {};
    return scoredLines(text);
}

std::vector<std::wstring> Engine::actions() {
    std::wstring text;
    if (!fetch([&](wchar_t* b, uint32_t c) { return lib_.StrokecastListActions(b, c); }, text))
        return {};
    return split(text, L'\n');
}

std::vector<MetroApp> Engine::metroApps() {
    std::wstring keys;
    if (!fetch([&](wchar_t* b, uint32_t c) { return lib_.GetMetroKeyArrary(b, c); }, keys))
        return {};
    std::vector<MetroApp> apps;
    for (const std::wstring& key : split(keys, L'\n')) {
        const uint32_t number = static_cast<uint32_t>(std::wcstoul(key.c_str(), nullptr, 10));
        std::wstring info;
        if (!fetch([&](wchar_t* b, uint32_t c) { return lib_.GetMetroAppInfo(number, b, c); }, info))
            continue;
        std::vector<std::wstring> fields;
        std::size_t start = 0;
        for (int i = 0; i < 4; ++i) {
            const std::size_t end = std::min(info.find(L'\n', start), info.size());
            fields.push_back(start <= info.size() ? info.substr(start, end - start) : L"");
            start = end + 1;
        }
        if (fields[0].empty())
            continue;
        apps.push_back({fields[0], fields[1].empty() ? fields[0] : fields[1], fields[2],
                        static_cast<COLORREF>(std::wcstoul(fields[3].c_str(), nullptr, 0))});
    }
    return apps;
}

std::wstring actionLabel(const std::wstring& action) {
    static const std::map<std::wstring, std::wstring> labels = {
        {L"LOCKSCREEN", L"Lock the screen"},
        {L"MUTE_KEY", L"Mute or unmute sound"},
        {L"NEXT_KEY", L"Next track"},
        {L"PREV_KEY", L"Previous track"},
        {L"STOP_KEY", L"Play or pause"},
        {L"STOPMEDIAPLAY", L"Stop playing"},
        {L"POWEROFF", L"Shut down"},
        {L"REBOOT", L"Restart"},
        {L"LOGOFF", L"Sign out"},
        {L"WIFISWITCH", L"Wi-Fi on/off"},
        {L"CTRL_C", L"Copy (Ctrl+C)"},
        {L"CTRL_V", L"Paste (Ctrl+V)"},
        {L"CTRL_X", L"Cut (Ctrl+X)"},
        {L"SELECT_ALL", L"Select all (Ctrl+A)"},
        {L"UNDO", L"Undo (Ctrl+Z)"},
        {L"REDO", L"Redo (Ctrl+Y)"},
        {L"DELECT_SELECTED_ITEM", L"Delete the selected item (Ctrl+D)"},
        {L"CLOSE_APP", L"Close the window (Alt+F4)"},
        {L"SHOWDESKTOP", L"Show the desktop (Win+D)"},
        {L"MIN_WND", L"Minimise all windows (Win+M)"},
        {L"OPEN_SECOND_SCRN_SETTING", L"Second screen choices (Win+P)"},
        {L"PRSCRN", L"Screenshot to a file (Win+Print Screen)"},
        {L"SEARCH_APP", L"Search apps (Win+Q)"},
        {L"SEARCH_FILE", L"Search files (Win+F)"},
        {L"SEARCH_SYS_SETTING", L"Search settings (Win+W)"},
        {L"EMPTYRECYLEBIN", L"Empty the recycle bin"},
        {L"TURNOFFMONITOR", L"Turn the monitor off"},
    };
    if (action.empty())
        return L"(nothing)";
    if (const auto found = labels.find(action); found != labels.end())
        return found->second;
    const std::wstring metro = kMetroPrefix, desktop = kDesktopPrefix;
    if (action.compare(0, metro.size(), metro) == 0)
        return action.substr(metro.size());
    if (action.compare(0, desktop.size(), desktop) == 0) {
        const std::wstring path = action.substr(desktop.size());
        const std::size_t slash = path.find_last_of(L"\\/");
        return slash == std::wstring::npos ? path : path.substr(slash + 1);
    }
    return action;
}

bool isDestructive(const std::wstring& action) {
    return action == L"POWEROFF" || action == L"REBOOT" || action == L"LOGOFF" || action == L"EMPTYRECYLEBIN";
}

} // namespace settings
