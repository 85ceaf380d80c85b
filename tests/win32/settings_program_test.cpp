// Strokecast Settings driven as a person drives it: the window found, a stroke drawn on its canvas with
// SendInput, named, saved and bound, then checked through the engine's own files and exports.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "host/program/resident_options.h"
#include "host/settings/ids.h"
#include "tests/win32/dll_loader.h"
#include "tests/win32/program_windows.h"

namespace {

using sctest::readBytes;
using sctest::textOf;

// Generous: a loaded machine may take seconds to start a Wine process or repaint a window.
constexpr DWORD kDeadlineMs = 60000;

bool waitFor(const std::function<bool()>& condition, DWORD deadline = kDeadlineMs) {
    const ULONGLONG end = GetTickCount64() + deadline;
    while (!condition()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(20);
    }
    return true;
}

struct Program {
    PROCESS_INFORMATION info{};
    HWND window = nullptr;

    bool start(const std::wstring& arguments) {
        if (!sctest::startProgram(L"\"" + sctest::exeFolder() + L"strokecast-settings.exe\" " + arguments,
                                  info))
            return false;
        return waitFor([&] { return (window = topLevel(SETTINGS_WINDOW_CLASS)) != nullptr; });
    }
    // A shown top-level window of this process with the class, or null.
    HWND topLevel(const wchar_t* cls) const {
        for (HWND w : sctest::windowsOf(cls, info.dwProcessId))
            if (IsWindowVisible(w))
                return w;
        return nullptr;
    }
    DWORD close() {
        if (window)
            PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD code = 0xDEAD;
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, kDeadlineMs) != WAIT_OBJECT_0)
                TerminateProcess(info.hProcess, 0xDEAD);
            GetExitCodeProcess(info.hProcess, &code);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
            info = {};
        }
        return code;
    }
    ~Program() { close(); }
};

HWND control(HWND parent, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(w) == s->id) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

// Drags the mouse through the points, given in the canvas's own pixels, with the left button down. Each
// event waits until the cursor is there and the program has taken it: on a loaded machine a program
// that falls behind gets only the latest of several mouse moves, as a slow program on Windows does.
void drawOn(HANDLE process, HWND canvas, const std::vector<POINT>& points) {
    const auto send = [process](DWORD flags, POINT screen) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = flags;
        return SendInput(1, &input, sizeof(INPUT)) == 1 && WaitForInputIdle(process, kDeadlineMs) == 0;
    };
    const auto moveTo = [&](POINT p) {
        ClientToScreen(canvas, &p);
        if (!send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p))
            return false;
        return waitFor([&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == p.x && at.y == p.y;
        });
    };
    ASSERT_TRUE(moveTo(points[0]));
    ASSERT_TRUE(send(MOUSEEVENTF_LEFTDOWN, {}));
    // Several moves per segment, as a hand's drag arrives.
    for (std::size_t i = 1; i < points.size(); ++i) {
        for (int step = 1; step <= 8; ++step)
            ASSERT_TRUE(moveTo({points[i - 1].x + (points[i].x - points[i - 1].x) * step / 8,
                                points[i - 1].y + (points[i].y - points[i - 1].y) * step / 8}));
    }
    ASSERT_TRUE(send(MOUSEEVENTF_LEFTUP, {}));
}

class SettingsProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = sctest::freshTempFolder(L"settings");
        defaults = sctest::exeFolder() + L"default_gestures.configure";
    }
    void TearDown() override { closeEngine(); }
    void openEngine() {
        SC_FN(OpenGestureManager)(defaults.c_str(), folder.c_str());
        SC_FN(OpenActionManager)(folder.c_str());
    }
    static void closeEngine() {
        SC_FN(CloseActionNanager)();
        SC_FN(CloseGestureManager)();
    }
    static std::wstring actionOf(const wchar_t* gesture) {
        wchar_t action[256] = {};
        return SC_FN(GetActionOfGesture)(gesture, action, 256) > 0 ? action : L"(none)";
    }
    std::wstring path(const wchar_t* file) const { return folder + L"\\" + file; }
    bool startOnRecordPage(Program& program, const std::wstring& extra = L"") {
        if (!program.start(L"--user-folder \"" + folder + L"\"" + extra))
            return false;
        PostMessageW(program.window, WM_COMMAND, IDM_PAGE_FIRST + PAGE_RECORD, 0);
        canvas = control(program.window, IDC_RECORD_CANVAS);
        similarity = control(program.window, IDC_SIMILARITY);
        return canvas && similarity && waitFor([&] { return IsWindowVisible(canvas) != FALSE; });
    }
    // Draws on the record canvas and waits for the similarity check's verdict on it.
    void drawAndWait(Program& program, const std::vector<POINT>& points) {
        const std::wstring before = textOf(similarity);
        // Activation arrives late on a loaded machine, and taking it in mid-drag would end the stroke.
        SetForegroundWindow(program.window);
        ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == program.window; }));
        drawOn(program.info.hProcess, canvas, points);
        ASSERT_TRUE(waitFor([&] { return textOf(similarity) != before; })) << "no verdict on the stroke";
    }

    std::wstring folder, defaults;
    HWND canvas = nullptr, similarity = nullptr;
};

// A squared "S" (from the top right), which no shipped gesture is near.
const std::vector<POINT> kSquareS = {{200, 20}, {20, 20}, {20, 120}, {200, 120}, {200, 220}, {20, 220}};

// The squared "S" as a finger draws it on the overlay: a point every few pixels.
std::vector<uint16_t> overlayStroke(const std::vector<POINT>& corners) {
    std::vector<uint16_t> track;
    for (std::size_t i = 1; i < corners.size(); ++i) {
        for (int k = 0; k < 20; ++k) {
            track.push_back(
                static_cast<uint16_t>(300 + corners[i - 1].x + (corners[i].x - corners[i - 1].x) * k / 20));
            track.push_back(
                static_cast<uint16_t>(200 + corners[i - 1].y + (corners[i].y - corners[i - 1].y) * k / 20));
        }
    }
    track.insert(track.end(), {static_cast<uint16_t>(300 + corners.back().x),
                               static_cast<uint16_t>(200 + corners.back().y), 0});
    return track;
}

// A person's first gesture: drawn, named and bound in Settings while the resident already runs, which
// then runs it for a stroke on the overlay without a restart.
TEST_F(SettingsProgramTest, ADrawnStrokeIsNamedSavedAndBoundInTheEnginesFilesAndTheResidentRunsIt) {
    PROCESS_INFORMATION resident{};
    ASSERT_TRUE(sctest::startProgram(L"\"" + sctest::exeFolder() +
                                         L"strokecast-resident.exe\" --user-folder \"" + folder + L"\"",
                                     resident));
    struct Quit {
        PROCESS_INFORMATION& p;
        ~Quit() {
            for (HWND w : sctest::windowsOf(program::kResidentWindowClass, p.dwProcessId))
                PostMessageW(w, WM_COMMAND, 4, 0); // the menu's Quit
            if (WaitForSingleObject(p.hProcess, kDeadlineMs) != WAIT_OBJECT_0)
                TerminateProcess(p.hProcess, 1);
            CloseHandle(p.hProcess);
            CloseHandle(p.hThread);
        }
    } quitResident{resident};
    HWND capturer = nullptr;
    ASSERT_TRUE(waitFor([&] { return (capturer = sctest::capturerOf(resident.dwProcessId)) != nullptr; }));

    Program program;
    ASSERT_TRUE(startOnRecordPage(program));
    drawAndWait(program, kSquareS);
    EXPECT_EQ(textOf(similarity).find(L"Warning"), std::wstring::npos) << narrow(textOf(similarity));
    SendMessageW(control(program.window, IDC_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"squares"));
    HWND save = control(program.window, IDC_SAVE);
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(save) != FALSE; }));
    PostMessageW(save, BM_CLICK, 0, 0);

    openEngine();
    ASSERT_TRUE(waitFor([&] { return SC_FN(CheckNameExist)(L"squares") == 1; }))
        << "the gesture was not stored";
    const std::string stored = readBytes(path(L"MyGesture.configure"));
    EXPECT_EQ(stored.substr(0, 16), sctest::utf16le(L"squares,"));
    // The stored template names the same drawing again.
    const uint16_t replay[] = {210, 30, 30, 30, 30, 130, 210, 130, 210, 230, 30, 230, 0};
    wchar_t name[64] = {};
    ASSERT_GT(SC_FN(recognizeGesture)(replay, name, 64), 0);
    EXPECT_STREQ(name, L"squares");

    // Saving shows the gesture list with the new gesture selected: bind it to Copy.
    HWND bind = control(program.window, IDC_BIND);
    ASSERT_TRUE(waitFor([&] { return IsWindowVisible(bind) && IsWindowEnabled(bind); }));
    PostMessageW(bind, BM_CLICK, 0, 0);
    HWND picker = nullptr;
    ASSERT_TRUE(waitFor([&] { return (picker = program.topLevel(SETTINGS_BIND_CLASS)) != nullptr; }));
    SendMessageW(control(picker, IDC_BIND_FILTER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"CTRL_C"));
    HWND ok = control(picker, IDOK);
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(ok) != FALSE; }));
    PostMessageW(ok, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitFor([&] { return actionOf(L"squares") == L"CTRL_C"; })) << "the binding was not stored";
    EXPECT_NE(readBytes(path(L"gestureToAction.configure_v2")).find(sctest::utf16le(L"\nsquares,CTRL_C\n")),
              std::string::npos);
    EXPECT_EQ(SC_FN(GetGestureSwitch)(L"squares"), 1);
    HWND status = control(program.window, IDC_STATUS);
    EXPECT_TRUE(waitFor([&] { return textOf(status).find(L"Copy (Ctrl+C)") != std::wstring::npos; }))
        << narrow(textOf(status));

    // The resident, running since before the gesture existed, runs its new binding.
    ASSERT_TRUE(sctest::postStroke(capturer, overlayStroke(kSquareS)));
    std::wstring said;
    EXPECT_TRUE(waitFor([&] {
        const auto popups = sctest::windowsOf(L"StrokecastResidentPopup", resident.dwProcessId);
        said = popups.empty() ? L"" : textOf(popups[0]);
        return !popups.empty() && IsWindowVisible(popups[0]) && said.rfind(L"squares: ", 0) == 0 &&
               said.find(L"ran CTRL_C") != std::wstring::npos;
    })) << "the resident says: "
        << narrow(said);

    // A change made elsewhere shows in the program: the gesture list reads the engine again.
    ASSERT_EQ(SC_FN(SetGestureSwitch)(L"GLOBAL", 1), 1);
    PostMessageW(program.window, WM_COMMAND, IDM_PAGE_FIRST + PAGE_GESTURES, 0);
    HWND global = control(program.window, IDC_GLOBAL);
    EXPECT_TRUE(waitFor([&] { return SendMessageW(global, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    EXPECT_EQ(program.close(), 0u);
}

TEST_F(SettingsProgramTest, AStrokeLikeAShippedGestureIsWarnedAboutBeforeSaving) {
    Program program;
    ASSERT_TRUE(startOnRecordPage(program));
    // The shipped "V": down to the right, then up to the right.
    drawAndWait(program, {{40, 30}, {110, 200}, {180, 30}});
    const std::wstring warning = textOf(similarity);
    EXPECT_NE(warning.find(L"Warning"), std::wstring::npos);
    EXPECT_NE(warning.find(L"\u201CV\u201D"), std::wstring::npos) << narrow(warning);
    SendMessageW(control(program.window, IDC_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"vee"));
    HWND anyway = control(program.window, IDC_SAVE_ANYWAY);
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(anyway) != FALSE; }));
    EXPECT_FALSE(IsWindowEnabled(control(program.window, IDC_SAVE)));
    // The name field refuses what the engine refuses.
    SendMessageW(control(program.window, IDC_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"v,e"));
    EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(anyway) == FALSE; }));
    EXPECT_NE(textOf(control(program.window, IDC_NAME_HINT)).find(L"comma"), std::wstring::npos);
    EXPECT_EQ(program.close(), 0u);
    EXPECT_FALSE(sctest::exists(path(L"MyGesture.configure")));
}

TEST_F(SettingsProgramTest, ABadSettingsFileIsRefusedWithItsLineAndChangesNothing) {
    openEngine();
    const uint16_t stroke[] = {200, 20, 20, 20, 20, 120, 200, 120, 200, 220, 20, 220, 0};
    ASSERT_EQ(SC_FN(AddOneGesture)(L"squares", stroke), 1);
    ASSERT_EQ(SC_FN(SetGestureToAction)(L"squares", L"CTRL_C"), 1);
    closeEngine();
    const wchar_t* files[] = {L"MyGesture.configure", L"gestureToAction.configure_v2",
                              L"action.configure_v2"};
    std::vector<std::string> before;
    for (const wchar_t* f : files)
        before.push_back(readBytes(path(f)));
    sctest::writeBytes(path(L"bad.settings"),
                       sctest::utf16le(L"Strokecast settings 1\n[gestures]\nother,1,2,3\n[bindings]\n"));

    Program program;
    ASSERT_TRUE(
        program.start(L"--user-folder \"" + folder + L"\" --import \"" + path(L"bad.settings") + L"\""));
    // First the question, then the refusal: both are message boxes over the window.
    for (const wchar_t* expected : {L"replaces all your", L"line 3"}) {
        HWND box = nullptr;
        ASSERT_TRUE(waitFor([&] {
            box = program.topLevel(L"#32770");
            return box && textOf(control(box, 0xFFFF)).find(expected) != std::wstring::npos;
        })) << "no message box saying what was expected";
        PostMessageW(control(box, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
    }
    EXPECT_EQ(program.close(), 0u);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(readBytes(path(files[i])), before[i]) << "file " << i << " changed";
}

TEST_F(SettingsProgramTest, TheResidentPageStoresItsOptionsAndRefusesATakenHotKey) {
    // Another program holds Ctrl+Alt+J.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'J'));
    Program program;
    ASSERT_TRUE(program.start(L"--user-folder \"" + folder + L"\" --page resident"));
    HWND hotKey = control(program.window, IDC_HOTKEY);
    HWND apply = control(program.window, IDC_RESIDENT_APPLY);
    ASSERT_TRUE(waitFor([&] { return IsWindowVisible(hotKey) != FALSE; }));
    const WORD ctrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;
    SendMessageW(hotKey, HKM_SETHOTKEY, MAKEWORD('J', ctrlAlt), 0);
    PostMessageW(apply, BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] {
        box = program.topLevel(L"#32770");
        return box && textOf(control(box, 0xFFFF)).find(L"Ctrl+Alt+J is taken") != std::wstring::npos;
    })) << "a taken hot key was not reported";
    PostMessageW(control(box, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
    EXPECT_FALSE(sctest::exists(path(L"resident.configure")));

    SendMessageW(hotKey, HKM_SETHOTKEY, MAKEWORD('K', ctrlAlt), 0);
    PostMessageW(control(program.window, IDC_SHOW_RESULTS), BM_CLICK, 0, 0);
    ASSERT_TRUE(waitFor(
        [&] { return SendMessageW(control(program.window, IDC_SHOW_RESULTS), BM_GETCHECK, 0, 0) == 0; }));
    PostMessageW(apply, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitFor([&] { return sctest::exists(path(L"resident.configure")); }));
    const std::string options = readBytes(path(L"resident.configure"));
    EXPECT_NE(options.find(sctest::utf16le(L"hotkey,Ctrl+Alt+K\n")), std::string::npos);
    EXPECT_NE(options.find(sctest::utf16le(L"show_results,0\n")), std::string::npos);
    EXPECT_EQ(program.close(), 0u);
    UnregisterHotKey(nullptr, 1);
}

TEST_F(SettingsProgramTest, AStrokeFromTheResidentOpensReadyToNameAndSave) {
    // As the resident's "Record next stroke" starts it: the stroke's points, a y of 0 among them.
    Program program;
    ASSERT_TRUE(program.start(L"--user-folder \"" + folder +
                              L"\" --stroke 200,0,20,0,20,100,200,100,200,200,20,200"));
    HWND name = control(program.window, IDC_NAME);
    HWND save = control(program.window, IDC_SAVE);
    ASSERT_TRUE(waitFor([&] { return IsWindowVisible(name) != FALSE; }));
    EXPECT_NE(textOf(control(program.window, IDC_SIMILARITY)).find(L"safe to save"), std::wstring::npos);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"recorded"));
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(save) != FALSE; }));
    PostMessageW(save, BM_CLICK, 0, 0);
    openEngine();
    ASSERT_TRUE(waitFor([&] { return SC_FN(CheckNameExist)(L"recorded") == 1; }));
    uint16_t track[64] = {};
    ASSERT_EQ(SC_FN(GetGestureTrack)(L"recorded", track, 64), 1);
    const std::vector<uint16_t> expected = {200, 0, 20, 0, 20, 100, 200, 100, 200, 200, 20, 200, 0};
    EXPECT_EQ(std::vector<uint16_t>(track, track + expected.size()), expected);
    EXPECT_EQ(program.close(), 0u);
}

// Presses a key, with Ctrl held when asked, and waits until the program has taken it.
void press(HANDLE process, WORD key, bool control = false) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (control)
        add(VK_CONTROL, false);
    add(key, false);
    add(key, true);
    if (control)
        add(VK_CONTROL, true);
    for (INPUT& input : inputs) {
        ASSERT_EQ(SendInput(1, &input, sizeof(INPUT)), 1u);
        ASSERT_EQ(WaitForInputIdle(process, kDeadlineMs), 0u);
    }
}

TEST_F(SettingsProgramTest, TheKeyboardReachesThePagesAndTheGestureList) {
    Program program;
    ASSERT_TRUE(program.start(L"--user-folder \"" + folder + L"\""));
    // The list has the focus and its first gesture ("L", off) selected: Space switches it on. On a loaded
    // machine the window may be shown before it is the foreground one, so both are awaited.
    const HWND list = control(program.window, IDC_GESTURE_LIST);
    ASSERT_TRUE(waitFor([&] {
        if (GetForegroundWindow() != program.window)
            SetForegroundWindow(program.window);
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        return GetForegroundWindow() == program.window &&
               GetGUIThreadInfo(GetWindowThreadProcessId(program.window, nullptr), &thread) &&
               thread.hwndFocus == list && ListView_GetNextItem(list, -1, LVNI_SELECTED) == 0;
    }));
    openEngine();
    ASSERT_EQ(SC_FN(GetGestureSwitch)(L"L"), 0);
    press(program.info.hProcess, VK_SPACE);
    EXPECT_TRUE(waitFor([&] { return SC_FN(GetGestureSwitch)(L"L") == 1; }));
    // Ctrl+3 shows the try page, Ctrl+Tab the next one.
    press(program.info.hProcess, '3', true);
    EXPECT_TRUE(waitFor([&] { return IsWindowVisible(control(program.window, IDC_TRY_CANVAS)) != FALSE; }));
    press(program.info.hProcess, VK_TAB, true);
    EXPECT_TRUE(waitFor([&] { return IsWindowVisible(control(program.window, IDC_HOTKEY)) != FALSE; }));
    EXPECT_EQ(program.close(), 0u);
}

} // namespace
