// The settings window: a tab per page, every control a person can reach with the keyboard.
#include "host/settings/settings_window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <cstdio>
#include <cwchar>

#include "host/program/win32/window_owner.h"
#include "host/settings/bind_picker.h"
#include "host/settings/canvas.h"
#include "host/settings/engine.h"
#include "host/settings/ids.h"
#include "host/settings/layout.h"
#include "host/settings/pictures.h"
#include "host/settings/resident_page.h"

namespace settings {
namespace {

constexpr wchar_t kPageClass[] = L"StrokecastSettingsPage";
constexpr wchar_t kNoGesture[] = L"_NO_GESTURE_FOUND_";
constexpr int kPageCount = 4;
constexpr int kRankedNames = 8;
// Posted once the window shows, so the import's questions appear over it.
constexpr UINT kImportRequested = WM_APP + 1;

struct App {
    Engine engine;
    StartOptions options;
    HWND main = nullptr, tabs = nullptr, status = nullptr;
    HWND pages[kPageCount] = {};
    int page = 0;
    int dpi = 96;
    HFONT font = nullptr;
    // Gestures.
    HWND global = nullptr, list = nullptr, bind = nullptr, unbind = nullptr, toggle = nullptr,
         addSample = nullptr, remove = nullptr, exportButton = nullptr, importButton = nullptr;
    HIMAGELIST pictures = nullptr;
    std::vector<std::wstring> rows;
    // Record.
    HWND recordCanvas = nullptr, nameLabel = nullptr, name = nullptr, nameHint = nullptr,
         similarity = nullptr, save = nullptr, saveAnyway = nullptr, redraw = nullptr;
    std::vector<uint16_t> recorded;
    // Try.
    HWND tryCanvas = nullptr, ranking = nullptr, verdict = nullptr, tryClear = nullptr;
    ResidentPage resident;
};

std::wstring score(double value) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%.1f", value);
    return text;
}

std::wstring quoted(const std::wstring& name) {
    return L"\u201C" + name + L"\u201D";
}

void setStatus(App& app, const std::wstring& text) {
    SetWindowTextW(app.status, text.c_str());
}

// Every failure is shown with the engine's own account of it.
void showFailure(App& app, const std::wstring& what) {
    const std::wstring text = what + L"\n\n" + app.engine.lastError();
    setStatus(app, what);
    MessageBoxW(app.main, text.c_str(), SETTINGS_WINDOW_TITLE, MB_OK | MB_ICONERROR);
}

std::wstring selectedGesture(const App& app) {
    const int row = ListView_GetNextItem(app.list, -1, LVNI_SELECTED);
    return row >= 0 && row < static_cast<int>(app.rows.size()) ? app.rows[static_cast<std::size_t>(row)]
                                                               : L"";
}

void updateGestureButtons(App& app) {
    const std::wstring name = selectedGesture(app);
    const bool any = !name.empty();
    const bool bound = any && !app.engine.actionOf(name).empty();
    for (HWND button : {app.bind, app.toggle, app.addSample, app.remove})
        EnableWindow(button, any);
    EnableWindow(app.unbind, bound);
}

int addPicture(HIMAGELIST list, HBITMAP picture) {
    if (!picture)
        return I_IMAGENONE;
    const int index = ImageList_Add(list, picture, nullptr);
    DeleteObject(picture);
    return index;
}

// Reads everything again from the engine: names, pictures, actions, switches.
void refreshGestures(App& app, const std::wstring& select = L"") {
    const std::wstring keep = select.empty() ? selectedGesture(app) : select;
    SendMessageW(app.list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(app.list);
    const int size = scaled(40, app.dpi);
    if (app.pictures)
        ImageList_Destroy(app.pictures);
    app.pictures = ImageList_Create(size, size, ILC_COLOR32, 32, 32);
    ListView_SetImageList(app.list, app.pictures, LVSIL_SMALL);
    // Actions without a picture of their own get a blank one, so every action's text starts in one column.
    const int blank = addPicture(app.pictures, trackPicture({}, size, app.dpi));
    app.rows = app.engine.gestureNames();
    int selectRow = -1;
    for (std::size_t i = 0; i < app.rows.size(); ++i) {
        const std::wstring& name = app.rows[i];
        const std::wstring action = app.engine.actionOf(name);
        const std::wstring label = actionLabel(action);
        const std::wstring state = app.engine.switchOf(name) ? L"on" : L"off";
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(name.c_str());
        item.iImage = addPicture(app.pictures, trackPicture(app.engine.track(name), size, app.dpi));
        ListView_InsertItem(app.list, &item);
        LVITEMW sub{};
        sub.mask = LVIF_TEXT | LVIF_IMAGE;
        sub.iItem = static_cast<int>(i);
        sub.iSubItem = 1;
        sub.pszText = const_cast<wchar_t*>(label.c_str());
        sub.iImage =
            action.empty() ? I_IMAGENONE : addPicture(app.pictures, actionPicture(app.engine, action, size));
        if (sub.iImage == I_IMAGENONE)
            sub.iImage = blank;
        ListView_SetItem(app.list, &sub);
        ListView_SetItemText(app.list, static_cast<int>(i), 2, const_cast<wchar_t*>(state.c_str()));
        if (name == keep)
            selectRow = static_cast<int>(i);
    }
    // A list with nothing selected gives the keyboard and the buttons nothing to act on.
    if (selectRow < 0 && !app.rows.empty())
        selectRow = 0;
    if (selectRow >= 0) {
        ListView_SetItemState(app.list, selectRow, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(app.list, selectRow, FALSE);
    }
    SendMessageW(app.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(app.list, nullptr, TRUE);
    // The engine's "GLOBAL" switch on means every gesture is off: the box shows gestures being on.
    Button_SetCheck(app.global, app.engine.switchOf(L"GLOBAL") ? BST_UNCHECKED : BST_CHECKED);
    updateGestureButtons(app);
}

void showPage(App& app, int page) {
    if (page < 0 || page >= kPageCount)
        return;
    app.page = page;
    TabCtrl_SetCurSel(app.tabs, page);
    for (int i = 0; i < kPageCount; ++i)
        ShowWindow(app.pages[i], i == page ? SW_SHOW : SW_HIDE);
    if (page == PAGE_GESTURES)
        refreshGestures(app);
    if (page == PAGE_RESIDENT)
        app.resident.load();
}

// ---- recording ----

// Why the typed name cannot be saved; empty when it can.
std::wstring nameProblem(App& app, const std::wstring& name, bool& existing) {
    existing = false;
    if (name.empty())
        return L"Type a name for the gesture.";
    if (name.find_first_of(L",\n\r") != std::wstring::npos)
        return L"A name cannot hold a comma or a line break.";
    if (name == kNoGesture || name == L"GLOBAL")
        return L"This name is reserved: choose another.";
    existing = app.engine.lib().CheckNameExist(name.c_str()) == 1;
    return L"";
}

void checkRecording(App& app) {
    bool existing = false;
    const std::wstring name = windowText(app.name);
    const std::wstring problem = nameProblem(app, name, existing);
    SetWindowTextW(app.nameHint,
                   problem.empty()
                       ? (existing ? (quoted(name) + L" exists: saving adds one more sample of it.").c_str()
                                   : L"A new gesture.")
                       : problem.c_str());
    const bool drawn = app.recorded.size() >= 5;
    std::wstring text;
    bool conflict = false;
    if (!drawn) {
        text =
            L"Draw the gesture on the left. Before it is saved, every gesture it could be confused with is "
            L"listed here.";
    } else {
        const std::vector<Scored> similar =
            app.engine.similar(name.empty() || !problem.empty() ? L"\x2007" : name, app.recorded);
        if (similar.empty()) {
            text = L"No other gesture looks like this one: it is safe to save.";
        } else {
            conflict = true;
            text = L"Warning: this stroke could be confused with\r\n";
            for (const Scored& s : similar)
                text += L"    " + quoted(s.name) + L" (" + score(s.score) + L" of 100)\r\n";
            text += L"A stroke meant for one of them could run the other's action. Redraw it, or save "
                    L"anyway.";
        }
    }
    SetWindowTextW(app.similarity, text.c_str());
    EnableWindow(app.save, drawn && problem.empty() && !conflict);
    EnableWindow(app.saveAnyway, drawn && problem.empty() && conflict);
}

void saveRecording(App& app) {
    bool existing = false;
    const std::wstring name = windowText(app.name);
    const std::wstring problem = nameProblem(app, name, existing);
    if (!problem.empty() || app.recorded.size() < 5) {
        setStatus(app, problem.empty() ? L"Draw the gesture first." : problem);
        return;
    }
    if (app.engine.lib().AddOneGesture(name.c_str(), app.recorded.data()) != 1) {
        showFailure(app, L"The gesture " + quoted(name) + L" was not saved.");
        return;
    }
    setStatus(app, (existing ? L"Added a sample to " : L"Saved the gesture ") + quoted(name) + L".");
    app.recorded.clear();
    clearCanvas(app.recordCanvas);
    SetWindowTextW(app.name, L"");
    showPage(app, PAGE_GESTURES);
    refreshGestures(app, name);
    SetFocus(app.list);
}

// ---- trying ----

void tryStroke(App& app, const std::vector<uint16_t>& stroke) {
    ListView_DeleteAllItems(app.ranking);
    const std::vector<Scored> ranked = app.engine.rank(stroke, kRankedNames);
    int row = 0;
    bool lineShown = false;
    const auto addRow = [&](const std::wstring& name, const std::wstring& value, const std::wstring& runs) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(name.c_str());
        ListView_InsertItem(app.ranking, &item);
        ListView_SetItemText(app.ranking, row, 1, const_cast<wchar_t*>(value.c_str()));
        ListView_SetItemText(app.ranking, row, 2, const_cast<wchar_t*>(runs.c_str()));
        ++row;
    };
    const std::wstring line = L"\u2014 acceptance line \u2014";
    for (const Scored& s : ranked) {
        if (!lineShown && !(s.score > STROKECAST_ACCEPT_SCORE)) {
            addRow(line, score(STROKECAST_ACCEPT_SCORE), L"");
            lineShown = true;
        }
        const std::wstring action = app.engine.actionOf(s.name);
        addRow(s.name, score(s.score), action.empty() ? L"" : actionLabel(action));
    }
    if (!lineShown)
        addRow(line, score(STROKECAST_ACCEPT_SCORE), L"");

    std::wstring text;
    if (ranked.empty()) {
        text = L"Draw a longer stroke.";
    } else if (!(ranked[0].score > STROKECAST_ACCEPT_SCORE)) {
        text = L"No gesture is recognised: the best, " + quoted(ranked[0].name) + L", scores " +
               score(ranked[0].score) + L", below the line at " + score(STROKECAST_ACCEPT_SCORE) +
               L". Nothing would run.";
    } else {
        const Scored& best = ranked[0];
        text = L"Recognised " + quoted(best.name) + L" with " + score(best.score);
        if (ranked.size() > 1)
            text += L", " + score(best.score - ranked[1].score) + L" ahead of " + quoted(ranked[1].name);
        text += L".\r\n";
        const std::wstring action = app.engine.actionOf(best.name);
        if (app.engine.switchOf(L"GLOBAL"))
            text += L"Gestures are off, so nothing would run.";
        else if (action.empty())
            text += L"Nothing is bound to it.";
        else if (!app.engine.switchOf(best.name))
            text += L"It is bound to " + actionLabel(action) + L", but switched off: nothing would run.";
        else
            text += L"Would run: " + actionLabel(action) + L".";
    }
    SetWindowTextW(app.verdict, text.c_str());
}

// ---- the gestures page's commands ----

void bindSelected(App& app) {
    const std::wstring name = selectedGesture(app);
    if (name.empty())
        return;
    BindChoice choice;
    if (!pickAction(app.main, app.engine, name, app.font, choice))
        return;
    if (!choice.customValue.empty() &&
        app.engine.lib().AddCustomAction(choice.action.c_str(), choice.customValue.c_str()) != 1) {
        showFailure(app, L"The action " + quoted(actionLabel(choice.action)) + L" could not be stored.");
        return;
    }
    if (app.engine.lib().SetGestureToAction(name.c_str(), choice.action.c_str()) != 1) {
        showFailure(app, quoted(name) + L" was not bound to " + actionLabel(choice.action) + L".");
        return;
    }
    setStatus(app, quoted(name) + L" now runs " + actionLabel(choice.action) + L".");
    refreshGestures(app, name);
}

void unbindSelected(App& app) {
    const std::wstring name = selectedGesture(app);
    if (name.empty())
        return;
    if (app.engine.lib().SetGestureToAction(name.c_str(), L"NULL") != 1) {
        showFailure(app, quoted(name) + L" was not unbound.");
        return;
    }
    setStatus(app, quoted(name) + L" runs nothing now.");
    refreshGestures(app, name);
}

void toggleSelected(App& app) {
    const std::wstring name = selectedGesture(app);
    if (name.empty())
        return;
    const bool on = !app.engine.switchOf(name);
    if (app.engine.lib().SetGestureSwitch(name.c_str(), on ? 1 : 0) != 1) {
        showFailure(app, L"The switch of " + quoted(name) + L" was not changed.");
        return;
    }
    setStatus(app, quoted(name) + (on ? L" is on." : L" is off."));
    refreshGestures(app, name);
}

void removeSelected(App& app) {
    const std::wstring name = selectedGesture(app);
    if (name.empty())
        return;
    const std::wstring question = L"Remove the gesture " + quoted(name) +
                                  L"? Its earliest recorded sample goes, with its binding and switch.";
    if (MessageBoxW(app.main, question.c_str(), SETTINGS_WINDOW_TITLE,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    if (app.engine.lib().RemoveOneGesture(name.c_str()) != 1) {
        showFailure(app, quoted(name) + L" was not removed. Only gestures you recorded can be removed; the "
                                        L"shipped ones stay.");
        return;
    }
    setStatus(app, L"Removed " + quoted(name) + L".");
    refreshGestures(app);
}

void setGlobal(App& app) {
    const bool gesturesOn = Button_GetCheck(app.global) == BST_CHECKED;
    if (app.engine.lib().SetGestureSwitch(L"GLOBAL", gesturesOn ? 0 : 1) != 1) {
        showFailure(app, L"Gestures could not be switched.");
        refreshGestures(app);
        return;
    }
    setStatus(app, gesturesOn ? L"Gestures are on." : L"Gestures are off: no stroke runs anything.");
}

bool fileDialog(App& app, bool saving, std::wstring& path) {
    wchar_t file[MAX_PATH] = L"strokecast.settings";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = app.main;
    dialog.lpstrFilter = L"Strokecast settings (*.settings)\0*.settings\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"settings";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                   (saving ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!saving)
        file[0] = 0;
    if (!(saving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)))
        return false;
    path = file;
    return true;
}

void exportSettings(App& app) {
    std::wstring path;
    if (!fileDialog(app, true, path))
        return;
    if (app.engine.lib().StrokecastExportSettings(path.c_str()) != 1) {
        showFailure(app, L"The settings were not exported.");
        return;
    }
    setStatus(app, L"Exported every gesture, binding and switch to " + path + L".");
}

void importSettings(App& app, std::wstring path) {
    if (path.empty() && !fileDialog(app, false, path))
        return;
    const std::wstring question =
        L"Import " + path +
        L"?\n\nIt replaces all your recorded gestures, bindings, switches and programs "
        L"with the file's. If anything in it is wrong, nothing changes.";
    if (MessageBoxW(app.main, question.c_str(), SETTINGS_WINDOW_TITLE,
                    MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) != IDOK)
        return;
    if (app.engine.lib().StrokecastImportSettings(path.c_str()) != 1) {
        showFailure(app, L"The settings were not imported; nothing changed.");
        refreshGestures(app);
        return;
    }
    setStatus(app, L"Imported " + path + L".");
    refreshGestures(app);
}

// ---- layout ----

void layoutPages(App& app) {
    RECT client;
    GetClientRect(app.main, &client);
    const int d = app.dpi;
    const int m = scaled(8, d), statusH = scaled(22, d);
    place(app.status, m, client.bottom - m - statusH, client.right - 2 * m, statusH);
    place(app.tabs, m, m, client.right - 2 * m, client.bottom - 3 * m - statusH);
    RECT body{m, m, client.right - m, client.bottom - 2 * m - statusH};
    TabCtrl_AdjustRect(app.tabs, FALSE, &body);
    InflateRect(&body, -scaled(4, d), -scaled(4, d));
    const int pw = body.right - body.left, ph = body.bottom - body.top;
    for (HWND page : app.pages)
        place(page, body.left, body.top, pw, ph);

    const int h = scaled(26, d), gap = scaled(6, d), bw = scaled(150, d);
    // Gestures.
    place(app.global, 0, 0, scaled(260, d), h);
    const int listW = pw - bw - 2 * gap;
    place(app.list, 0, h + gap, listW, ph - h - gap);
    int y = h + gap;
    for (HWND button : {app.bind, app.unbind, app.toggle, app.addSample, app.remove}) {
        place(button, pw - bw, y, bw, h);
        y += h + gap;
    }
    y += 2 * gap;
    for (HWND button : {app.exportButton, app.importButton}) {
        place(button, pw - bw, y, bw, h);
        y += h + gap;
    }
    const int picture = scaled(40, d);
    ListView_SetColumnWidth(app.list, 0, std::max(scaled(170, d), listW * 4 / 10));
    ListView_SetColumnWidth(app.list, 1, std::max(scaled(150, d), listW * 4 / 10));
    ListView_SetColumnWidth(
        app.list, 2, std::max(scaled(50, d), listW * 2 / 10 - GetSystemMetricsForDpi(SM_CXVSCROLL, d) - 4));
    (void)picture;

    // Record and Try: the canvas on the left, what the engine says on the right.
    const int side = std::max(scaled(240, d), pw * 2 / 5);
    const int canvasW = pw - side - 2 * gap;
    place(app.recordCanvas, 0, 0, canvasW, ph);
    const int x = canvasW + 2 * gap;
    place(app.nameLabel, x, 0, side, scaled(20, d));
    place(app.name, x, scaled(20, d), side, h);
    place(app.nameHint, x, scaled(20, d) + h + gap / 2, side, scaled(36, d));
    const int buttonsY = ph - h;
    const int simY = scaled(20, d) + h + gap + scaled(40, d);
    place(app.similarity, x, simY, side, buttonsY - simY - gap);
    const int third = (side - 2 * gap) / 3;
    place(app.save, x, buttonsY, third, h);
    place(app.saveAnyway, x + third + gap, buttonsY, third, h);
    place(app.redraw, x + 2 * (third + gap), buttonsY, third, h);

    place(app.tryCanvas, 0, 0, canvasW, ph);
    const int verdictH = scaled(80, d);
    place(app.ranking, x, 0, side, ph - verdictH - h - 2 * gap);
    place(app.verdict, x, ph - verdictH - h - gap, side, verdictH);
    place(app.tryClear, x, ph - h, scaled(100, d), h);
    ListView_SetColumnWidth(app.ranking, 0, side * 4 / 10);
    ListView_SetColumnWidth(app.ranking, 1, side * 2 / 10);
    ListView_SetColumnWidth(app.ranking, 2, side * 4 / 10 - GetSystemMetricsForDpi(SM_CXVSCROLL, d) - 4);

    app.resident.layout(pw, ph, d);
}

void applyDpi(App& app) {
    app.dpi = static_cast<int>(GetDpiForWindow(app.main));
    HFONT old = app.font;
    app.font = messageFont(app.dpi);
    setFontAll(app.main, app.font);
    if (old)
        DeleteObject(old);
    layoutPages(app);
    refreshGestures(app);
}

LRESULT CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Pages only hold controls: what the controls say goes to the main window.
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void createControls(App& app) {
    HWND main = app.main;
    app.tabs = child(main, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, IDC_TABS);
    const wchar_t* titles[kPageCount] = {L"Gestures", L"Record", L"Try a stroke", L"Resident"};
    for (int i = 0; i < kPageCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(titles[i]);
        TabCtrl_InsertItem(app.tabs, i, &item);
        app.pages[i] = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, titles[i], WS_CHILD | WS_CLIPCHILDREN,
                                       0, 0, 10, 10, main, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    app.status = child(main, L"STATIC", L"", SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX, IDC_STATUS);
    // The tab control draws its frame behind the pages, which paint their own background over its body.
    SetWindowPos(app.tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    HWND g = app.pages[PAGE_GESTURES];
    app.global = child(g, WC_BUTTONW, L"Gestures on/off", WS_TABSTOP | BS_AUTOCHECKBOX, IDC_GLOBAL);
    app.list = child(g, WC_LISTVIEWW, L"",
                     WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                     IDC_GESTURE_LIST, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(app.list,
                                      LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES | LVS_EX_DOUBLEBUFFER);
    const wchar_t* columns[] = {L"Gesture", L"Action", L"Switch"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 120;
        column.pszText = const_cast<wchar_t*>(columns[i]);
        ListView_InsertColumn(app.list, i, &column);
    }
    app.bind = child(g, WC_BUTTONW, L"&Bind...", WS_TABSTOP, IDC_BIND);
    app.unbind = child(g, WC_BUTTONW, L"&Unbind", WS_TABSTOP, IDC_UNBIND);
    app.toggle = child(g, WC_BUTTONW, L"S&witch on/off", WS_TABSTOP, IDC_TOGGLE);
    app.addSample = child(g, WC_BUTTONW, L"Add a &sample...", WS_TABSTOP, IDC_ADD_SAMPLE);
    app.remove = child(g, WC_BUTTONW, L"&Remove", WS_TABSTOP, IDC_REMOVE);
    app.exportButton = child(g, WC_BUTTONW, L"E&xport settings...", WS_TABSTOP, IDC_EXPORT);
    app.importButton = child(g, WC_BUTTONW, L"&Import settings...", WS_TABSTOP, IDC_IMPORT);

    HWND r = app.pages[PAGE_RECORD];
    app.recordCanvas = createCanvas(r, IDC_RECORD_CANVAS, L"Draw a new gesture here");
    app.nameLabel = child(r, L"STATIC", L"&Name:", SS_LEFT, IDC_NAME_LABEL);
    app.name = child(r, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, IDC_NAME, WS_EX_CLIENTEDGE);
    app.nameHint = child(r, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_NAME_HINT);
    app.similarity = child(r, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_SIMILARITY);
    app.save = child(r, WC_BUTTONW, L"&Save", WS_TABSTOP, IDC_SAVE);
    app.saveAnyway = child(r, WC_BUTTONW, L"Save &anyway", WS_TABSTOP, IDC_SAVE_ANYWAY);
    app.redraw = child(r, WC_BUTTONW, L"Re&draw", WS_TABSTOP, IDC_REDRAW);

    HWND t = app.pages[PAGE_TRY];
    app.tryCanvas = createCanvas(t, IDC_TRY_CANVAS, L"Draw a stroke here to see how it scores");
    app.ranking = child(t, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER,
                        IDC_RANKING, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(app.ranking, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const wchar_t* rankColumns[] = {L"Gesture", L"Score", L"Bound to"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = 100;
        column.pszText = const_cast<wchar_t*>(rankColumns[i]);
        ListView_InsertColumn(app.ranking, i, &column);
    }
    app.verdict = child(t, L"STATIC",
                        L"The ranking shows every gesture's score out of 100; a stroke is "
                        L"recognised above the acceptance line.",
                        SS_LEFT | SS_NOPREFIX, IDC_VERDICT);
    app.tryClear = child(t, WC_BUTTONW, L"&Clear", WS_TABSTOP, IDC_TRY_CLEAR);

    app.resident.create(
        app.pages[PAGE_RESIDENT], app.options.userFolder, [&app](const std::wstring& text, bool failed) {
            if (failed)
                MessageBoxW(app.main, text.c_str(), SETTINGS_WINDOW_TITLE, MB_OK | MB_ICONERROR);
            setStatus(app, text);
        });
}

void onCommand(App& app, int id, int code, HWND from) {
    if (id >= IDM_PAGE_FIRST && id < IDM_PAGE_FIRST + kPageCount) {
        showPage(app, id - IDM_PAGE_FIRST);
        return;
    }
    switch (id) {
    case IDC_GLOBAL:
        if (code == BN_CLICKED)
            setGlobal(app);
        break;
    case IDC_BIND:
        bindSelected(app);
        break;
    case IDC_UNBIND:
        unbindSelected(app);
        break;
    case IDC_TOGGLE:
        toggleSelected(app);
        break;
    case IDC_ADD_SAMPLE: {
        const std::wstring name = selectedGesture(app);
        showPage(app, PAGE_RECORD);
        SetWindowTextW(app.name, name.c_str());
        SetFocus(app.recordCanvas);
        break;
    }
    case IDC_REMOVE:
        removeSelected(app);
        break;
    case IDC_EXPORT:
        exportSettings(app);
        break;
    case IDC_IMPORT:
        importSettings(app, L"");
        break;
    case IDC_RECORD_CANVAS:
        if (code == CANVAS_STROKE_DONE) {
            app.recorded = canvasStroke(from);
            checkRecording(app);
        }
        break;
    case IDC_NAME:
        if (code == EN_CHANGE)
            checkRecording(app);
        break;
    case IDC_SAVE:
    case IDC_SAVE_ANYWAY:
        saveRecording(app);
        break;
    case IDC_REDRAW:
        app.recorded.clear();
        clearCanvas(app.recordCanvas);
        checkRecording(app);
        SetFocus(app.recordCanvas);
        break;
    case IDC_TRY_CANVAS:
        if (code == CANVAS_STROKE_DONE)
            tryStroke(app, canvasStroke(from));
        break;
    case IDC_TRY_CLEAR:
        clearCanvas(app.tryCanvas);
        ListView_DeleteAllItems(app.ranking);
        SetWindowTextW(app.verdict, L"");
        break;
    case IDOK:
        // Enter: saves from the name field, binds from the gesture list.
        if (GetFocus() == app.name && IsWindowEnabled(app.save))
            saveRecording(app);
        else if (GetFocus() == app.list)
            bindSelected(app);
        break;
    default:
        app.resident.command(id, code);
        break;
    }
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    App* app = program::windowOwner(window, message, lParam, &App::main);
    switch (message) {
    case WM_CREATE:
        createControls(*app);
        applyDpi(*app);
        return 0;
    case WM_SIZE:
        if (app && app->tabs)
            layoutPages(*app);
        return 0;
    case WM_GETMINMAXINFO:
        if (app) {
            const int d = app->dpi;
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {scaled(640, d), scaled(440, d)};
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        applyDpi(*app);
        return 0;
    }
    case WM_COMMAND:
        if (app)
            onCommand(*app, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (!app)
            break;
        if (header->idFrom == IDC_TABS && header->code == TCN_SELCHANGE) {
            showPage(*app, TabCtrl_GetCurSel(app->tabs));
            return 0;
        }
        if (header->idFrom == IDC_GESTURE_LIST) {
            if (header->code == LVN_ITEMCHANGED)
                updateGestureButtons(*app);
            else if (header->code == NM_DBLCLK)
                bindSelected(*app);
            else if (header->code == LVN_KEYDOWN) {
                const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
                if (key == VK_DELETE)
                    removeSelected(*app);
                else if (key == VK_SPACE)
                    toggleSelected(*app);
            }
            return 0;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case kImportRequested:
        if (app)
            importSettings(*app, app->options.importFile);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring strokeSummary(const std::vector<uint16_t>& stroke) {
    return std::to_wstring((stroke.size() - 1) / 2) + L" points";
}

} // namespace

int runSettings(HINSTANCE instance, const StartOptions& options) {
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    registerCanvasClass(instance);
    registerBindPickerClass(instance);
    registerWindowClass(instance, kPageClass, pageProc);
    registerWindowClass(instance, SETTINGS_WINDOW_CLASS, mainProc, {IDC_ARROW, true, true});

    App app;
    app.options = options;
    std::wstring error;
    if (!app.engine.open(options.userFolder, error)) {
        MessageBoxW(nullptr, (L"Strokecast Settings cannot start: " + error).c_str(), SETTINGS_WINDOW_TITLE,
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    const int dpi = static_cast<int>(GetDpiForSystem());
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, SETTINGS_WINDOW_CLASS, SETTINGS_WINDOW_TITLE,
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                  scaled(860, dpi), scaled(560, dpi), nullptr, nullptr, instance, &app);
    if (!window) {
        app.engine.close();
        return 1;
    }
    showPage(app, PAGE_GESTURES);
    checkRecording(app);
    if (!options.stroke.empty() && options.page == PAGE_TRY) {
        showPage(app, PAGE_TRY);
        setCanvasStroke(app.tryCanvas, options.stroke);
        tryStroke(app, options.stroke);
    } else if (!options.stroke.empty()) {
        showPage(app, PAGE_RECORD);
        setCanvasStroke(app.recordCanvas, options.stroke);
        app.recorded = options.stroke;
        checkRecording(app);
        setStatus(app, L"A stroke of " + strokeSummary(options.stroke) + L" to record: name it and save it.");
    } else {
        showPage(app, options.page >= 0 ? options.page : PAGE_GESTURES);
        setStatus(app, L"Settings folder: " + options.userFolder);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    if (!options.stroke.empty())
        SetFocus(app.name);
    else
        SetFocus(app.list);
    if (!options.importFile.empty())
        PostMessageW(window, kImportRequested, 0, 0);

    ACCEL keys[] = {
        {FCONTROL | FVIRTKEY, '1', IDM_PAGE_FIRST + PAGE_GESTURES},
        {FCONTROL | FVIRTKEY, '2', IDM_PAGE_FIRST + PAGE_RECORD},
        {FCONTROL | FVIRTKEY, '3', IDM_PAGE_FIRST + PAGE_TRY},
        {FCONTROL | FVIRTKEY, '4', IDM_PAGE_FIRST + PAGE_RESIDENT},
    };
    HACCEL accelerators = CreateAcceleratorTableW(keys, 4);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Ctrl+Tab and Ctrl+Shift+Tab move between pages, as in any tabbed window.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) &&
            IsChild(window, msg.hwnd)) {
            const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            showPage(app, (app.page + (back ? kPageCount - 1 : 1)) % kPageCount);
            continue;
        }
        if (TranslateAcceleratorW(window, accelerators, &msg))
            continue;
        if (IsDialogMessageW(window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DestroyAcceleratorTable(accelerators);
    if (app.pictures)
        ImageList_Destroy(app.pictures);
    if (app.font)
        DeleteObject(app.font);
    app.engine.close();
    return static_cast<int>(msg.wParam);
}

} // namespace settings
