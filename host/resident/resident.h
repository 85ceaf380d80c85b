// Strokecast Resident: the notification-area program that keeps the engine's capture running, registers
// the hot key, shows what each stroke did, and hands recorded strokes to Strokecast Settings.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "host/library.h"
#include "host/program/resident_options.h"
#include "host/resident/popup.h"

namespace resident {

struct Paths {
    std::wstring userFolder;   // the engine's files and resident.configure
    std::wstring templateFile; // the shipped default gestures
    std::wstring settingsExe;  // started by "Open settings" and after a recorded stroke
};

// The menu's commands, also posted as WM_COMMAND by anyone who wants the same effect.
enum Command : UINT {
    kOpenSettings = 1,
    kToggleGestures = 2,
    kRecordNextStroke = 3,
    kQuit = 4,
};

// The notification icon's callback message; lParam is the mouse message, as the shell sends it.
inline constexpr UINT kTrayMessage = WM_APP + 1;
// A second start asks the running resident to show itself with this registered message.
unsigned activateMessage();

class Resident {
  public:
    Resident(HINSTANCE instance, host::Library& engine, Paths paths);
    ~Resident();
    Resident(const Resident&) = delete;
    Resident& operator=(const Resident&) = delete;

    // Makes the window and the icon and starts the engine; false with a message for the user.
    bool start(std::wstring& error);
    // Pumps messages until Quit; the process's exit code.
    int run();

  private:
    struct StrokeResult;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void STROKECAST_CALL strokeSink(const uint16_t* points, const sc_char* name, double score,
                                           int32_t status, void* context);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void addTrayIcon();
    void removeTrayIcon();
    void updateTrayTip();
    void showMenu();
    void showStatus(const std::wstring& headline);
    void applyOptions(bool announce);
    bool gesturesOn() const;
    void toggleGestures();
    void recordNextStroke();
    void showStroke(const StrokeResult& result);
    bool startSettings(const std::wstring& arguments);
    void stop();
    std::wstring lastError() const;

    HINSTANCE instance_;
    host::Library& engine_;
    Paths paths_;
    HWND window_ = nullptr;
    HWND strokeTarget_ = nullptr; // the window as the capture thread sees it: set once, before the sink
    HICON icon_ = nullptr;
    std::unique_ptr<ResultPopup> popup_;
    bool trayAdded_ = false;
    bool engineOpen_ = false;
    program::ResidentOptions options_;
    bool hotKeyRegistered_ = false;
    std::wstring hotKeyProblem_; // the engine's reason while the chosen hot key is not registered
    bool recordPending_ = false;
    UINT taskbarCreated_ = 0;
    UINT optionsChanged_ = 0;
    UINT activate_ = 0;
};

} // namespace resident
