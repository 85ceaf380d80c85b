// The resident's window, notification icon, menu and engine session.
#include "host/resident/resident.h"

#include <shellapi.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "host/program/win32/window_owner.h"
namespace resident {
namespace {

constexpr UINT kStrokeMessage = WM_APP + 2; // lParam: a StrokeResult the window then owns
constexpr UINT kTrayId = 1;
constexpr unsigned kResultMs = 4000;   // long enough to read a name and a score
constexpr unsigned kProblemMs = 12000; // a problem the user has to act on stays longer
constexpr const wchar_t* kNoGesture = L"_NO_GESTURE_FOUND_";
constexpr const wchar_t* kNoAction = L"__NULLACTION_FOUND__";
constexpr const wchar_t* kAllOff = L"GLOBAL"; // the engine's switch for all gestures, never shown

// The engine's text read through a sizing call: grows the buffer until the text fits.
template <class Read> std::wstring fetch(Read read) {
    for (uint32_t capacity = 256; capacity <= (1u << 20); capacity *= 4) {
        std::vector<sc_char> buffer(capacity);
        if (read(buffer.data(), capacity) > 0)
            return std::wstring(buffer.data());
    }
    return {};
}

// How a bound action reads in the popup: an app by its name, a program by its file name without the
// folder and ".exe" (Settings names a program's action by its path), a built-in action as named.
std::wstring actionLabel(const std::wstring& action) {
    const std::wstring metro = L"METRO:\\";
    const std::wstring desktop = L"DESKTOP:\\";
    if (action.compare(0, metro.size(), metro) == 0)
        return action.substr(metro.size());
    if (action.compare(0, desktop.size(), desktop) != 0)
        return action;
    std::wstring name = action.substr(desktop.size());
    name = name.substr(name.find_last_of(L"\\/") + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0 && _wcsicmp(name.c_str() + dot, L".exe") == 0)
        name.resize(dot);
    return name;
}

std::wstring quoted(const std::wstring& s) {
    return L"\"" + s + L"\"";
}

// Pieces joined in one buffer. GCC 12 reports overlaps that cannot happen when a literal is put before a
// temporary string, so text here is joined this way rather than with +.
std::wstring join(std::initializer_list<std::wstring_view> parts) {
    std::wstring out;
    for (std::wstring_view part : parts)
        out += part;
    return out;
}

} // namespace

struct Resident::StrokeResult {
    std::vector<uint16_t> points; // x,y pairs, without the closing 0
    std::wstring name;
    double score = NAN;
    int32_t status = STROKECAST_ACTION_FAILED;
    std::wstring action; // what the gesture is bound to, read on the capture thread
    std::wstring error;  // the engine's reason when the action was refused or failed
};

unsigned activateMessage() {
    return RegisterWindowMessageW(L"StrokecastResidentActivate");
}

Resident::Resident(HINSTANCE instance, host::Library& engine, Paths paths)
    : instance_(instance), engine_(engine), paths_(std::move(paths)) {}

Resident::~Resident() {
    stop();
    if (icon_)
        DestroyIcon(icon_);
}

bool Resident::start(std::wstring& error) {
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    optionsChanged_ = program::residentOptionsChangedMessage();
    activate_ = activateMessage();

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = program::kResidentWindowClass;
    if (!RegisterClassExW(&wc)) {
        error = join(
            {L"cannot register the resident's window class (error ", std::to_wstring(GetLastError()), L")"});
        return false;
    }
    // A hidden top-level window: it owns the icon and the menu, and Settings finds it by its class.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, program::kResidentWindowClass, L"Strokecast Resident",
                              WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, this);
    if (!window_) {
        error = join({L"cannot create the resident's window (error ", std::to_wstring(GetLastError()), L")"});
        return false;
    }
    strokeTarget_ = window_;
    popup_ = std::make_unique<ResultPopup>(instance_);
    icon_ = drawStrokeIcon(GetSystemMetrics(SM_CXSMICON) > 0 ? GetSystemMetrics(SM_CXSMICON) : 16);

    CreateDirectoryW(paths_.userFolder.c_str(), nullptr); // the engine makes files, not their folder
    program::loadResidentOptions(paths_.userFolder, options_);

    // Both managers, then the capturer and its hot key; stop() closes them the other way round.
    // A program without a console: the engine's lines go to the debugger, where a developer looks.
    engine_.StrokecastSetLogSink([](const sc_char* line, void*) { OutputDebugStringW(line); }, nullptr);
    engine_.OpenGestureManager(paths_.templateFile.c_str(), paths_.userFolder.c_str());
    engine_.OpenActionManager(paths_.userFolder.c_str());
    engine_.StrokecastSetStrokeSink(strokeSink, this);
    engine_.StrokecastSetCaptureMode(0);
    engine_.OpenTouchCapturer();
    engineOpen_ = true;

    addTrayIcon();
    applyOptions(false);
    return true;
}

int Resident::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void Resident::stop() {
    if (engineOpen_) {
        engineOpen_ = false;
        engine_.CloseTouchCapturer();
        engine_.StrokecastSetStrokeSink(nullptr, nullptr); // returns once no stroke call is running
        engine_.CloseActionNanager();
        engine_.CloseGestureManager();
    }
    removeTrayIcon();
    popup_.reset();
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

std::wstring Resident::lastError() const {
    return fetch([&](sc_char* b, uint32_t n) { return engine_.StrokecastLastError(b, n); });
}

void Resident::removeTrayIcon() {
    if (!trayAdded_)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kTrayId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    trayAdded_ = false;
}

void Resident::addTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kTrayId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon_;
    lstrcpynW(data.szTip, L"Strokecast Resident", ARRAYSIZE(data.szTip));
    trayAdded_ = Shell_NotifyIconW(NIM_ADD, &data) != 0;
    if (trayAdded_) {
        NOTIFYICONIDENTIFIER id{};
        id.cbSize = sizeof id;
        id.hWnd = window_;
        id.uID = kTrayId;
        RECT rect{};
        if (SUCCEEDED(Shell_NotifyIconGetRect(&id, &rect)))
            popup_->setAnchor(rect);
    }
    updateTrayTip();
}

void Resident::updateTrayTip() {
    if (!trayAdded_)
        return;
    std::wstring tip = L"Strokecast Resident: gestures ";
    tip += gesturesOn() ? L"on" : L"off";
    if (hotKeyRegistered_)
        tip += join({L", ", program::hotKeyText(options_.hotKeyModifiers, options_.hotKey)});
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kTrayId;
    data.uFlags = NIF_TIP;
    lstrcpynW(data.szTip, tip.c_str(), ARRAYSIZE(data.szTip));
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

bool Resident::gesturesOn() const {
    // The engine's all-gestures switch says "suppress" when on, so gestures are on while it is off.
    return engine_.GetGestureSwitch(kAllOff) != 1;
}

void Resident::toggleGestures() {
    const bool turnOn = !gesturesOn();
    if (engine_.SetGestureSwitch(kAllOff, turnOn ? 0 : 1) != 1) {
        popup_->show(turnOn ? L"Gestures could not be turned on" : L"Gestures could not be turned off",
                     lastError(), kProblemMs);
        return;
    }
    popup_->show(turnOn ? L"Gestures on" : L"Gestures off",
                 turnOn ? L"Strokes run their actions again."
                        : L"Strokes run nothing until you turn gestures on.",
                 kResultMs);
    updateTrayTip();
}

void Resident::applyOptions(bool announce) {
    const program::ResidentOptions before = options_;
    program::loadResidentOptions(paths_.userFolder, options_);
    const bool keyChanged =
        before.hotKey != options_.hotKey || before.hotKeyModifiers != options_.hotKeyModifiers;
    if (announce && !keyChanged && hotKeyRegistered_)
        return;
    const std::wstring name = program::hotKeyText(options_.hotKeyModifiers, options_.hotKey);
    if (engine_.StrokecastSetHotKeyEx(options_.hotKey ? options_.hotKeyModifiers : 0, options_.hotKey) == 1) {
        hotKeyRegistered_ = options_.hotKey != 0;
        hotKeyProblem_.clear();
        if (announce)
            popup_->show(options_.hotKey ? L"Hot key " + name : L"No hot key",
                         options_.hotKey ? L"It opens the drawing surface."
                                         : L"Choose one in Strokecast Settings.",
                         kResultMs);
    } else {
        // The key before stays registered when there was one; say which is in force.
        hotKeyProblem_ = lastError();
        popup_->show(L"The hot key is not available",
                     hotKeyProblem_ + L". Choose another in Strokecast Settings.", kProblemMs);
    }
    updateTrayTip();
}

void Resident::showStatus(const std::wstring& headline) {
    std::wstring detail = gesturesOn() ? L"Gestures on" : L"Gestures off";
    if (hotKeyRegistered_)
        detail += join({L", hot key ", program::hotKeyText(options_.hotKeyModifiers, options_.hotKey)});
    if (!hotKeyProblem_.empty())
        detail += L". " + hotKeyProblem_;
    popup_->show(headline, detail, hotKeyProblem_.empty() ? kResultMs : kProblemMs);
}

void Resident::showMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kOpenSettings, L"Open settings");
    AppendMenuW(menu, MF_STRING | (gesturesOn() ? MF_CHECKED : MF_UNCHECKED), kToggleGestures,
                L"Gestures on/off");
    AppendMenuW(menu, MF_STRING | (recordPending_ ? MF_CHECKED : MF_UNCHECKED), kRecordNextStroke,
                L"Record next stroke");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kQuit, L"Quit");
    SetMenuDefaultItem(menu, kOpenSettings, FALSE);
    POINT at;
    GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere only if its owner is in the foreground.
    SetForegroundWindow(window_);
    const UINT flags =
        TPM_RIGHTBUTTON | (GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    TrackPopupMenuEx(menu, flags, at.x, at.y, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

void Resident::recordNextStroke() {
    if (recordPending_) {
        recordPending_ = false;
        engine_.StrokecastSetCaptureMode(0);
        popup_->show(L"Recording cancelled", L"Strokes run their actions again.", kResultMs);
        return;
    }
    recordPending_ = true;
    engine_.StrokecastSetCaptureMode(1);
    std::wstring how = L"Draw the new gesture";
    if (hotKeyRegistered_)
        how += join({L" (", program::hotKeyText(options_.hotKeyModifiers, options_.hotKey),
                     L" opens the drawing surface)"});
    popup_->show(L"Recording the next stroke", how + L"; Strokecast Settings then opens to save it.",
                 kProblemMs);
}

bool Resident::startSettings(const std::wstring& arguments) {
    std::wstring command = quoted(paths_.settingsExe) + L" --user-folder " + quoted(paths_.userFolder);
    if (!arguments.empty())
        command += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(paths_.settingsExe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        const DWORD code = GetLastError();
        popup_->show(L"Strokecast Settings did not start",
                     join({L"cannot start ", paths_.settingsExe, L" (error ", std::to_wstring(code), L")"}),
                     kProblemMs);
        return false;
    }
    // Settings puts its own window forward; the resident has nothing more to do with the process.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void Resident::showStroke(const StrokeResult& result) {
    if (result.status == STROKECAST_ACTION_RECORDING) {
        if (!recordPending_)
            return; // a second stroke drawn before record mode ended
        recordPending_ = false;
        engine_.StrokecastSetCaptureMode(0);
        std::wstring stroke;
        for (uint16_t value : result.points)
            stroke += (stroke.empty() ? L"" : L",") + std::to_wstring(value);
        if (startSettings(L"--stroke " + stroke))
            popup_->show(L"Stroke recorded", L"Name and save it in Strokecast Settings.", kResultMs);
        return;
    }
    wchar_t score[32] = L"";
    if (!std::isnan(result.score))
        std::swprintf(score, 32, L"score %.0f", result.score);
    const bool named = result.name != kNoGesture && !result.name.empty();
    const bool problem =
        result.status == STROKECAST_ACTION_REFUSED || (named && result.status == STROKECAST_ACTION_FAILED);
    if (!options_.showStrokeResults && !problem)
        return;
    if (!named) {
        popup_->show(L"No gesture recognised",
                     score[0] ? std::wstring(L"Best ") + score + L", below the acceptance line"
                              : L"Too short",
                     kResultMs);
        return;
    }
    std::wstring what;
    // The engine finds an unbound gesture's missing switch first; to a person it is simply not bound.
    const bool bound = !result.action.empty() && result.action != kNoAction;
    switch (bound ? result.status : STROKECAST_ACTION_NOT_BOUND) {
    case STROKECAST_ACTION_RAN:
        what = join({L"ran ", actionLabel(result.action)});
        break;
    case STROKECAST_ACTION_ALL_OFF:
        what = L"nothing ran: gestures are off";
        break;
    case STROKECAST_ACTION_SWITCHED_OFF:
        what = L"nothing ran: this gesture is switched off";
        break;
    case STROKECAST_ACTION_NOT_BOUND:
        what = L"no action is bound";
        break;
    case STROKECAST_ACTION_UNKNOWN:
        what = join({L"nothing ran: the bound action ", actionLabel(result.action), L" is unknown"});
        break;
    case STROKECAST_ACTION_GUARDED:
        what = join({L"nothing ran: ", actionLabel(result.action), L" needs a clearer stroke"});
        break;
    case STROKECAST_ACTION_REFUSED:
        what = join({L"Windows refused ", actionLabel(result.action)});
        break;
    default:
        what = actionLabel(result.action) + L" failed";
        break;
    }
    if (!result.error.empty() && problem)
        what += L" (" + result.error + L")";
    popup_->show(result.name, (score[0] ? std::wstring(score) + L", " : std::wstring()) + what,
                 problem ? kProblemMs : kResultMs);
}

void STROKECAST_CALL Resident::strokeSink(const uint16_t* points, const sc_char* name, double score,
                                          int32_t status, void* context) {
    // The capture thread: gather what the window needs and hand it over; the window thread shows it.
    auto* self = static_cast<Resident*>(context);
    auto result = std::make_unique<StrokeResult>();
    for (const uint16_t* p = points; p[0] != 0; p += 2) {
        result->points.push_back(p[0]);
        result->points.push_back(p[1]);
    }
    result->name = name;
    result->score = score;
    result->status = status;
    if (result->name != kNoGesture) {
        result->action =
            fetch([&](sc_char* b, uint32_t n) { return self->engine_.GetActionOfGesture(name, b, n); });
        if (status == STROKECAST_ACTION_REFUSED || status == STROKECAST_ACTION_FAILED)
            result->error = self->lastError(); // the action ran on this thread, so its reason is here
    }
    if (PostMessageW(self->strokeTarget_, kStrokeMessage, 0, reinterpret_cast<LPARAM>(result.get())))
        result.release();
}

LRESULT Resident::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == optionsChanged_ && optionsChanged_ != 0) {
        applyOptions(true);
        return 0;
    }
    if (message == activate_ && activate_ != 0) {
        showStatus(L"Strokecast Resident is running");
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        addTrayIcon(); // the shell restarted and forgot its icons
        return 0;
    }
    switch (message) {
    case kTrayMessage:
        switch (static_cast<UINT>(lParam)) {
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
            showMenu();
            break;
        case WM_LBUTTONUP:
            showStatus(L"Strokecast Resident");
            break;
        case WM_LBUTTONDBLCLK:
            startSettings(L"");
            break;
        default:
            break;
        }
        return 0;
    case kStrokeMessage: {
        std::unique_ptr<StrokeResult> result(reinterpret_cast<StrokeResult*>(lParam));
        showStroke(*result);
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kOpenSettings:
            startSettings(L"");
            break;
        case kToggleGestures:
            toggleGestures();
            break;
        case kRecordNextStroke:
            recordNextStroke();
            break;
        case kQuit:
            DestroyWindow(window_);
            break;
        default:
            break;
        }
        return 0;
    case WM_CLOSE:
    case WM_ENDSESSION:
        if (message == WM_CLOSE || wParam)
            DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        removeTrayIcon();
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT CALLBACK Resident::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = program::windowOwner(window, message, lParam, &Resident::window_);
    if (!self || self->window_ != window)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

} // namespace resident
