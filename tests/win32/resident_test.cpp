// strokecast-resident.exe under Wine, driven as a person and the shell would: started on a scratch folder,
// its icon's menu opened, strokes replayed into its capturer as the overlay posts them, its options and
// bindings changed by other processes while it runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "host/program/resident_options.h"
#include "tests/win32/dll_loader.h"
#include "tests/win32/program_windows.h"
#include "tests/win32/queue_watch.h"

namespace {

using sctest::capturerOf;
using sctest::exeFolder;
using sctest::textOf;
using sctest::utf16le;
using sctest::windowsOf;
using sctest::writeBytes;

// Every wait is for an event, with a deadline far beyond what a loaded machine needs.
bool waitFor(const std::function<bool()>& done, int milliseconds = 30000) {
    return sctest::waitUntil(done, milliseconds);
}

// The resident's command ids and the shell's callback message, as the resident defines them.
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr WORD kToggleGestures = 2, kRecordNextStroke = 3, kQuit = 4;

class Resident : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = sctest::freshTempFolder(L"resident");
        standInLog = folder + L"\\stand_in.log";
        SetEnvironmentVariableW(L"STROKECAST_STAND_IN_LOG", standInLog.c_str());
    }
    void TearDown() override {
        if (holderInput)
            CloseHandle(holderInput); // the hot key holder ends
        for (PROCESS_INFORMATION& p : started) {
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) {
                for (HWND w : windowsOf(program::kResidentWindowClass, p.dwProcessId))
                    PostMessageW(w, WM_COMMAND, kQuit, 0);
                if (WaitForSingleObject(p.hProcess, 30000) != WAIT_OBJECT_0)
                    TerminateProcess(p.hProcess, 1);
            }
            CloseHandle(p.hProcess);
            CloseHandle(p.hThread);
        }
        if (engineOpen) {
            SC_FN(CloseActionNanager)();
            SC_FN(CloseGestureManager)();
        }
    }

    // Starts a resident on the scratch folder with the shipped gestures and the stand-in as Settings.
    PROCESS_INFORMATION start() {
        std::wstring command = L"\"" + exeFolder() + L"strokecast-resident.exe\" --user-folder \"" + folder +
                               L"\" --templates \"" + templates() + L"\" --settings \"" + standIn() + L"\"";
        PROCESS_INFORMATION pi{};
        EXPECT_TRUE(sctest::startProgram(command, pi));
        started.push_back(pi);
        return pi;
    }
    // The resident's window once it has opened the engine: its capturer window exists too.
    HWND residentWindow(DWORD pid) {
        HWND window = nullptr;
        EXPECT_TRUE(waitFor([&] {
            const auto own = windowsOf(program::kResidentWindowClass, pid);
            window = own.empty() ? nullptr : own[0];
            return window != nullptr && capturerOf(pid) != nullptr;
        }));
        return window;
    }
    // Waits until the resident's popup is shown with exactly this text.
    ::testing::AssertionResult popupSays(DWORD pid, const std::wstring& expected) {
        std::wstring seen;
        const bool shown = waitFor([&] {
            const auto popups = windowsOf(L"StrokecastResidentPopup", pid);
            seen = popups.empty() ? L"<no popup>" : textOf(popups[0]);
            return !popups.empty() && IsWindowVisible(popups[0]) && seen == expected;
        });
        if (shown)
            return ::testing::AssertionSuccess();
        std::string narrow(seen.begin(), seen.end());
        return ::testing::AssertionFailure() << "the popup says: " << narrow;
    }
    // Posts a stroke to the resident's capturer window point by point, as the overlay does.
    void replay(DWORD pid, const std::vector<uint16_t>& track) {
        HWND capturer = capturerOf(pid);
        ASSERT_NE(capturer, nullptr);
        ASSERT_TRUE(sctest::postStroke(capturer, track));
    }
    void openEngine() {
        SC_FN(OpenGestureManager)(templates().c_str(), folder.c_str());
        SC_FN(OpenActionManager)(folder.c_str());
        engineOpen = true;
    }
    // A shipped gesture and its own track, which scores 100 against itself.
    std::pair<std::wstring, std::vector<uint16_t>> shippedGesture() {
        wchar_t names[4096];
        EXPECT_GT(SC_FN(GetAllGestures)(names, 4096), 1);
        std::wstring name = names;
        name = name.substr(0, name.find(L','));
        std::vector<uint16_t> track(4096);
        EXPECT_EQ(SC_FN(GetGestureTrack)(name.c_str(), track.data(), static_cast<uint32_t>(track.size())), 1);
        return {name, track};
    }
    std::string standInLines() const { return sctest::readBytes(standInLog); }
    static std::wstring templates() { return exeFolder() + L"default_gestures.configure"; }
    static std::wstring standIn() { return exeFolder() + L"settings_stand_in.exe"; }
    static void quit(HWND window, const PROCESS_INFORMATION& p) {
        PostMessageW(window, WM_COMMAND, kQuit, 0);
        ASSERT_EQ(WaitForSingleObject(p.hProcess, 30000), WAIT_OBJECT_0);
        DWORD code = 0xDEAD;
        GetExitCodeProcess(p.hProcess, &code);
        EXPECT_EQ(code, 0u);
    }

    std::wstring folder;
    std::wstring standInLog;
    std::vector<PROCESS_INFORMATION> started;
    HANDLE holderInput = nullptr;
    bool engineOpen = false;
};

TEST_F(Resident, RunsOncePerSessionAndItsIconOpensTheMenu) {
    const PROCESS_INFORMATION first = start();
    HWND window = residentWindow(first.dwProcessId);
    ASSERT_NE(window, nullptr);

    // The shell's right click on the icon: the menu opens, owned by the resident.
    PostMessageW(window, kTrayMessage, 1, WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(waitFor([&] {
        const auto menus = windowsOf(L"#32768", first.dwProcessId);
        menu = menus.empty() ? nullptr : menus[0];
        return menu && IsWindowVisible(menu);
    }));
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindowVisible(menu); }));

    // A second start, from another folder even, hands over to the first and leaves.
    const std::wstring otherFolder = sctest::freshTempFolder(L"resident_other");
    std::wstring command =
        L"\"" + exeFolder() + L"strokecast-resident.exe\" --user-folder \"" + otherFolder + L"\"";
    PROCESS_INFORMATION second{};
    ASSERT_TRUE(sctest::startProgram(command, second));
    started.push_back(second);
    ASSERT_EQ(WaitForSingleObject(second.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 0xDEAD;
    GetExitCodeProcess(second.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(
        popupSays(first.dwProcessId, L"Strokecast Resident is running: Gestures on, hot key Ctrl+Alt+G"));
    EXPECT_EQ(windowsOf(program::kResidentWindowClass, 0).size(), 1u);
    EXPECT_FALSE(sctest::exists(otherFolder + L"\\resident.configure"));

    quit(window, first);
    EXPECT_TRUE(windowsOf(program::kResidentWindowClass, 0).empty());
}

TEST_F(Resident, ATakenHotKeyIsReportedAndAChosenOneTakesEffectWithoutRestart) {
    // Another program holds Ctrl+Alt+K before the resident asks for it, until its standard input closes.
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"resident_test_hotkey_held");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &holderInput, &inherit, 0));
    SetHandleInformation(holderInput, HANDLE_FLAG_INHERIT, 0);
    std::wstring holderCommand = L"\"" + exeFolder() + L"hotkey_holder.exe\" K resident_test_hotkey_held";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = readEnd;
    PROCESS_INFORMATION holder{};
    ASSERT_TRUE(CreateProcessW(nullptr, holderCommand.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &si, &holder));
    CloseHandle(readEnd);
    started.push_back(holder);
    ASSERT_EQ(WaitForSingleObject(held, 30000), WAIT_OBJECT_0);
    CloseHandle(held);

    writeBytes(folder + L"\\resident.configure", utf16le(L"hotkey,Ctrl+Alt+K\nshow_results,1\n"));
    const PROCESS_INFORMATION resident = start();
    ASSERT_NE(residentWindow(resident.dwProcessId), nullptr);
    EXPECT_TRUE(popupSays(resident.dwProcessId,
                          L"The hot key is not available: hot key Ctrl+Alt+K is taken by another program "
                          L"(error 1409). Choose another in Strokecast Settings."));

    // Settings stores another key and says so; the resident takes it at once.
    program::ResidentOptions options;
    options.hotKeyModifiers = program::kModControl | program::kModShift;
    options.hotKey = 'J';
    ASSERT_TRUE(program::saveResidentOptions(folder, options));
    ASSERT_TRUE(program::notifyResidentOptionsChanged());
    EXPECT_TRUE(popupSays(resident.dwProcessId, L"Hot key Ctrl+Shift+J: It opens the drawing surface."));
    EXPECT_FALSE(RegisterHotKey(nullptr, 0x5151, MOD_CONTROL | MOD_SHIFT | MOD_NOREPEAT, 'J'));
    EXPECT_EQ(GetLastError(), 1409u);
}

TEST_F(Resident, ReplayedStrokesRunTheBindingOfTheMomentAndThePopupSaysWhat) {
    openEngine();
    const auto [name, track] = shippedGesture();
    const PROCESS_INFORMATION resident = start();
    HWND window = residentWindow(resident.dwProcessId);
    ASSERT_NE(window, nullptr);
    const std::wstring said = name + L": score 100, ";

    replay(resident.dwProcessId, track);
    EXPECT_TRUE(popupSays(resident.dwProcessId, said + L"no action is bound"));

    // Another process binds the gesture to a harmless program; the running resident runs it.
    ASSERT_EQ(SC_FN(AddCustomAction)(L"DESKTOP:\\stand-in", standIn().c_str()), 1);
    ASSERT_EQ(SC_FN(SetGestureToAction)(name.c_str(), L"DESKTOP:\\stand-in"), 1);
    replay(resident.dwProcessId, track);
    EXPECT_TRUE(popupSays(resident.dwProcessId, said + L"ran stand-in"));
    EXPECT_TRUE(waitFor([&] { return standInLines().find("settings_stand_in.exe") != std::string::npos; }));

    // "Gestures on/off" is the engine's all-gestures switch, seen by every process sharing the folder.
    PostMessageW(window, WM_COMMAND, kToggleGestures, 0);
    EXPECT_TRUE(
        popupSays(resident.dwProcessId, L"Gestures off: Strokes run nothing until you turn gestures on."));
    EXPECT_EQ(SC_FN(GetGestureSwitch)(L"GLOBAL"), 1);
    replay(resident.dwProcessId, track);
    EXPECT_TRUE(popupSays(resident.dwProcessId, said + L"nothing ran: gestures are off"));
    PostMessageW(window, WM_COMMAND, kToggleGestures, 0);
    EXPECT_TRUE(popupSays(resident.dwProcessId, L"Gestures on: Strokes run their actions again."));
    EXPECT_EQ(SC_FN(GetGestureSwitch)(L"GLOBAL"), 0);
}

TEST_F(Resident, RecordNextStrokeHandsTheStrokeToSettingsOnce) {
    openEngine();
    const auto [name, track] = shippedGesture();
    ASSERT_EQ(SC_FN(SetGestureToAction)(name.c_str(), L"UNDO"), 1);
    const PROCESS_INFORMATION resident = start();
    HWND window = residentWindow(resident.dwProcessId);
    ASSERT_NE(window, nullptr);

    PostMessageW(window, WM_COMMAND, kRecordNextStroke, 0);
    EXPECT_TRUE(popupSays(resident.dwProcessId,
                          L"Recording the next stroke: Draw the new gesture (Ctrl+Alt+G opens "
                          L"the drawing surface); Strokecast Settings then opens to save it."));
    replay(resident.dwProcessId, track);
    EXPECT_TRUE(
        popupSays(resident.dwProcessId, L"Stroke recorded: Name and save it in Strokecast Settings."));
    // Settings gets the folder and the stroke as the engine kept it: the same ends, the same gesture.
    const std::string narrowFolder(folder.begin(), folder.end());
    const std::string head = "--user-folder \"" + narrowFolder + "\" --stroke ";
    ASSERT_TRUE(waitFor([&] { return standInLines().find('\n') != std::string::npos; }));
    const std::string line = standInLines();
    const std::size_t at = line.find(head);
    ASSERT_NE(at, std::string::npos) << line;
    std::string values = line.substr(at + head.size());
    values = values.substr(0, values.find('\n'));
    std::replace(values.begin(), values.end(), ',', ' ');
    std::istringstream in(values);
    std::vector<uint16_t> handed;
    for (unsigned value = 0; in >> value;)
        handed.push_back(static_cast<uint16_t>(value));
    std::size_t points = 0;
    while (track[2 * points] != 0)
        ++points;
    ASSERT_GE(handed.size(), 4u);
    EXPECT_EQ(handed[0], track[0]);
    EXPECT_EQ(handed[1], track[1]);
    EXPECT_EQ(handed[handed.size() - 2], track[2 * points - 2]);
    EXPECT_EQ(handed.back(), track[2 * points - 1]);
    handed.push_back(0);
    wchar_t recognised[64] = L"";
    ASSERT_GT(SC_FN(recognizeGesture)(handed.data(), recognised, 64), 0);
    EXPECT_EQ(recognised, name);

    // Recording was for one stroke: the next runs its action again and starts nothing.
    replay(resident.dwProcessId, track);
    EXPECT_TRUE(popupSays(resident.dwProcessId, name + L": score 100, ran UNDO"));
    const std::string lines = standInLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1);
}

} // namespace

namespace {

// The links Settings uses to reach the resident: the per-user Run key and the options message.
TEST(ResidentLink, StartWithWindowsStoresTheQuotedResidentBesideTheCaller) {
    const wchar_t* runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    ASSERT_TRUE(program::setStartWithWindows(true));
    EXPECT_TRUE(program::startsWithWindows());
    wchar_t stored[1024] = L"";
    DWORD size = sizeof stored;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, runKey, L"Strokecast Resident", RRF_RT_REG_SZ, nullptr, stored,
                           &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(stored), L"\"" + exeFolder() + L"strokecast-resident.exe\"");

    ASSERT_TRUE(program::setStartWithWindows(false));
    EXPECT_FALSE(program::startsWithWindows());
    EXPECT_TRUE(program::setStartWithWindows(false)); // nothing to remove is no failure
}

TEST(ResidentLink, NoResidentRunningIsReportedToSettings) {
    ASSERT_TRUE(windowsOf(program::kResidentWindowClass, 0).empty());
    EXPECT_FALSE(program::notifyResidentOptionsChanged());
}

} // namespace
