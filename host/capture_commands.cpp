// Host commands of the capture family: a resident host that keeps capture running, and a replay of a
// recorded stroke into a running capturer, as the overlay would post it.
#include <cctype>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/messages.h"
#include "host/commands.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace host {
namespace {

// The hot key's key: one letter or digit, or F1 to F12; 0 when the text names none.
uint32_t parseKey(const std::string& key) {
    if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0])))
        return static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(key[0])));
    if (key.size() >= 2 && (key[0] == 'F' || key[0] == 'f')) {
        const int n = std::atoi(key.c_str() + 1);
        if (n >= 1 && n <= 12 && key.find_first_not_of("0123456789", 1) == std::string::npos)
            return static_cast<uint32_t>(0x70 + n - 1);
    }
    return 0;
}

#ifdef _WIN32
HANDLE stopEvent = nullptr;

BOOL WINAPI onConsoleControl(DWORD) {
    SetEvent(stopEvent);
    return TRUE;
}

// Standard input closing is the stop request a script can give without a console.
DWORD WINAPI watchInput(void*) {
    char buffer[256];
    DWORD read = 0;
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    while (ReadFile(in, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    }
    SetEvent(stopEvent);
    return 0;
}

std::string keyName(DWORD vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return std::string(1, static_cast<char>(vk));
    switch (vk) {
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        return "Ctrl";
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        return "Alt";
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
        return "Shift";
    case VK_LWIN:
    case VK_RWIN:
        return "Win";
    case VK_VOLUME_MUTE:
        return "VolumeMute";
    case VK_MEDIA_NEXT_TRACK:
        return "MediaNext";
    case VK_MEDIA_PREV_TRACK:
        return "MediaPrev";
    case VK_MEDIA_PLAY_PAUSE:
        return "MediaPlayPause";
    case VK_F4:
        return "F4";
    case VK_SNAPSHOT:
        return "PrintScreen";
    default:
        break;
    }
    char text[16];
    std::snprintf(text, sizeof text, "VK 0x%02lX", static_cast<unsigned long>(vk));
    return text;
}

// Echoes synthetic key events only: what actions send, never what the user types.
LRESULT CALLBACK echoInjectedKeys(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (key->flags & LLKHF_INJECTED) {
            std::printf("resident: action key %s %s\n", keyName(key->vkCode).c_str(),
                        (key->flags & LLKHF_UP) ? "up" : "down");
            std::fflush(stdout);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Waits for Ctrl+C or the end of standard input, pumping messages for the key echo meanwhile.
void waitForStop(bool echoActions) {
    stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
    HANDLE input = CreateThread(nullptr, 0, watchInput, nullptr, 0, nullptr);
    if (input)
        CloseHandle(input);
    HHOOK hook = echoActions
                     ? SetWindowsHookExW(WH_KEYBOARD_LL, echoInjectedKeys, GetModuleHandleW(nullptr), 0)
                     : nullptr;
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &stopEvent, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1)
            break;
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&m);
    }
    if (hook)
        UnhookWindowsHookEx(hook);
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
}
#else
volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) {
    stopRequested = 1;
}

void waitForStop(bool) {
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    char buffer[256];
    while (!stopRequested && ::read(0, buffer, sizeof buffer) > 0) {
    }
}
#endif

// One line per finished stroke, on the capture thread: what was drawn, how well it scored, what ran.
void STROKECAST_CALL printStroke(const uint16_t* points, const sc_char* name, double score, int32_t status,
                                 void*) {
    std::size_t count = 0;
    while (points[2 * count] != 0)
        ++count;
    char scoreText[32];
    if (std::isnan(score))
        std::snprintf(scoreText, sizeof scoreText, "-");
    else
        std::snprintf(scoreText, sizeof scoreText, "%.2f", score);
    std::printf("resident: stroke of %zu points: %s, score %s, %s\n", count, toUtf8(name).c_str(), scoreText,
                actionStatusWords(status));
    std::fflush(stdout);
}

int resident(Context& ctx, const Args& args) {
    uint32_t hotKey = 0;
    bool charmBar = false;
    bool echoActions = false;
    bool record = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--hotkey" && i + 1 < args.size()) {
            hotKey = parseKey(args[++i]);
            if (hotKey == 0)
                return fail("--hotkey takes a letter, a digit or F1..F12");
        } else if (args[i] == "--charm-bar") {
            charmBar = true;
        } else if (args[i] == "--echo-actions") {
            echoActions = true;
        } else if (args[i] == "--record") {
            record = true;
        } else {
            return fail("usage: resident [--hotkey KEY] [--charm-bar] [--echo-actions] [--record]");
        }
    }
    // The resident order: both managers, the capturer, then its switches; closing goes the other way.
    ctx.openGestures();
    ctx.openActions();
    ctx.lib.StrokecastSetStrokeSink(printStroke, nullptr);
    ctx.lib.StrokecastSetCaptureMode(record ? 1 : 0);
    ctx.lib.OpenTouchCapturer();
    if (hotKey != 0)
        ctx.lib.SetHotKey(1, hotKey);
    if (charmBar)
        ctx.lib.SetCharmBarCptEnable(1);
    std::printf("resident: capturing; stop with Ctrl+C or by closing standard input\n");
    std::fflush(stdout);
    waitForStop(echoActions);
    ctx.lib.CloseTouchCapturer();
    ctx.lib.StrokecastSetStrokeSink(nullptr, nullptr);
    ctx.lib.CloseActionNanager();
    ctx.lib.CloseGestureManager();
    std::printf("resident: stopped\n");
    return 0;
}

int replay(Context& ctx, const Args& args) {
    if (args.size() != 1)
        return fail("usage: replay STROKE");
    std::vector<uint16_t> values;
    std::string error;
    if (!parsePoints(args[0], values, error))
        return fail(error);
#ifdef _WIN32
    // The resident host may still be starting: give its capturer window a few seconds to appear.
    const std::wstring className(sc::msg::kCapturerClass.begin(), sc::msg::kCapturerClass.end());
    const std::wstring title(sc::msg::kCapturerTitle.begin(), sc::msg::kCapturerTitle.end());
    HWND capturer = nullptr;
    for (int i = 0; i < 100 && !capturer; ++i) {
        capturer = FindWindowExW(HWND_MESSAGE, nullptr, className.c_str(), title.c_str());
        if (!capturer)
            Sleep(50);
    }
    if (!capturer)
        return fail("no capturer window: is a resident host running?");
    // One point every 10 ms, about the pace of a finger on a touch screen.
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < values.size() && values[i] != 0; i += 2, ++count) {
        if (!PostMessageW(capturer, sc::msg::kCapturePoint, values[i], values[i + 1]))
            return fail("the capturer window went away");
        Sleep(10);
    }
    std::printf("replay: posted %zu points to the capturer window\n", count);
    // The same points through the recognition export, for comparison with what the resident host ran.
    ctx.openGestures();
    std::vector<sc_char> name(256);
    if (ctx.lib.recognizeGesture(values.data(), name.data(), static_cast<uint32_t>(name.size())) > 0)
        std::printf("replay: recognizeGesture names the stroke %s\n", toUtf8(name.data()).c_str());
    ctx.lib.CloseGestureManager();
    return 0;
#else
    (void)ctx;
    return fail("replay needs the Windows build: it posts to the capturer window");
#endif
}

} // namespace

int captureCommand(Context& ctx, const std::string& command, const Args& args) {
    static const Command commands[] = {{"resident", resident}, {"replay", replay}};
    return runCommand(commands, ctx, command, args);
}

} // namespace host
