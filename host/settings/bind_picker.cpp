// The bind picker window, shown modally over the settings window.
#include "host/settings/bind_picker.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "host/program/win32/window_owner.h"
#include "host/settings/ids.h"
#include "host/settings/layout.h"
#include "host/settings/pictures.h"

namespace settings {
namespace {

struct Entry {
    std::wstring label, kind, action, customValue;
    int image = -1;
};

struct Picker {
    Engine* engine = nullptr;
    std::vector<Entry> entries;
    std::vector<int> shown; // entries in the list, by row
    HWND filter = nullptr, list = nullptr, filterLabel = nullptr, program = nullptr, ok = nullptr,
         cancel = nullptr;
    HIMAGELIST images = nullptr;
    bool done = false, chosen = false;
    BindChoice choice;
    int dpi = 96;
};

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

std::wstring lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

void fillList(Picker& p) {
    const std::wstring needle = lower(windowText(p.filter));
    SendMessageW(p.list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(p.list);
    p.shown.clear();
    for (std::size_t i = 0; i < p.entries.size(); ++i) {
        const Entry& e = p.entries[i];
        if (!needle.empty() && lower(e.label).find(needle) == std::wstring::npos &&
            lower(e.action).find(needle) == std::wstring::npos)
            continue;
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(p.shown.size());
        item.pszText = const_cast<wchar_t*>(e.label.c_str());
        item.iImage = e.image >= 0 ? e.image : 0;
        item.lParam = static_cast<LPARAM>(i);
        ListView_InsertItem(p.list, &item);
        ListView_SetItemText(p.list, item.iItem, 1, const_cast<wchar_t*>(e.kind.c_str()));
        p.shown.push_back(static_cast<int>(i));
    }
    if (!p.shown.empty())
        ListView_SetItemState(p.list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(p.list, WM_SETREDRAW, TRUE, 0);
    EnableWindow(p.ok, !p.shown.empty());
}

int addPicture(Picker& p, HBITMAP picture) {
    if (!picture)
        return -1;
    const int index = ImageList_Add(p.images, picture, nullptr);
    DeleteObject(picture);
    return index;
}

void load(Picker& p, int size) {
    Engine& engine = *p.engine;
    // Image 0 is blank: built-in actions have no picture of their own.
    std::vector<POINT> none;
    addPicture(p, trackPicture(none, size, p.dpi));
    const std::vector<MetroApp> apps = engine.metroApps();
    for (const std::wstring& action : engine.actions()) {
        Entry e;
        e.action = action;
        e.label = actionLabel(action);
        if (startsWith(action, kDesktopPrefix)) {
            e.kind = L"Program";
        } else if (startsWith(action, kMetroPrefix)) {
            e.kind = L"App";
        } else {
            e.kind = isDestructive(action) ? L"Built-in: cannot be undone" : L"Built-in";
        }
        if (!e.kind.starts_with(L"Built-in"))
            e.image = addPicture(p, actionPicture(engine, action, size));
        p.entries.push_back(std::move(e));
    }
    for (const MetroApp& app : apps) {
        const std::wstring key = kMetroPrefix + app.name;
        if (std::any_of(p.entries.begin(), p.entries.end(), [&](const Entry& e) { return e.action == key; }))
            continue;
        Entry e{app.name, L"App", key, app.appId, -1};
        HBITMAP tile = static_cast<HBITMAP>(engine.lib().GetMetroIcon(app.logo.c_str(), app.tile));
        if (tile) {
            e.image = addPicture(p, bitmapPicture(tile, size));
            DeleteObject(tile);
        }
        p.entries.push_back(std::move(e));
    }
}

void layout(HWND window, Picker& p) {
    RECT client;
    GetClientRect(window, &client);
    const int m = scaled(10, p.dpi), h = scaled(24, p.dpi), bw = scaled(130, p.dpi), gap = scaled(6, p.dpi);
    const int w = client.right, ht = client.bottom;
    place(p.filterLabel, m, m + scaled(3, p.dpi), scaled(40, p.dpi), h);
    place(p.filter, m + scaled(44, p.dpi), m, w - 2 * m - scaled(44, p.dpi), h);
    place(p.list, m, m + h + gap, w - 2 * m, ht - 3 * m - 2 * h - gap);
    const int by = ht - m - h;
    place(p.program, m, by, bw + scaled(30, p.dpi), h);
    place(p.cancel, w - m - scaled(90, p.dpi), by, scaled(90, p.dpi), h);
    place(p.ok, w - m - scaled(90, p.dpi) - gap - scaled(90, p.dpi), by, scaled(90, p.dpi), h);
    ListView_SetColumnWidth(p.list, 0, (w - 2 * m) * 6 / 10);
    ListView_SetColumnWidth(p.list, 1,
                            (w - 2 * m) * 4 / 10 - GetSystemMetricsForDpi(SM_CXVSCROLL, p.dpi) - 4);
}

void choose(HWND window, Picker& p) {
    const int row = ListView_GetNextItem(p.list, -1, LVNI_SELECTED);
    if (row < 0 || row >= static_cast<int>(p.shown.size()))
        return;
    const Entry& e = p.entries[static_cast<std::size_t>(p.shown[static_cast<std::size_t>(row)])];
    p.choice = {e.action, e.customValue};
    p.chosen = true;
    p.done = true;
    (void)window;
}

void chooseProgram(HWND window, Picker& p) {
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = L"Programs (*.exe)\0*.exe\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = L"Choose a program to start";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog))
        return;
    // The key names the program; a binding cannot hold a comma, the stored path can.
    std::wstring key = std::wstring(kDesktopPrefix) + file;
    std::replace(key.begin(), key.end(), L',', L'_');
    p.choice = {key, file};
    p.chosen = true;
    p.done = true;
}

LRESULT CALLBACK pickerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* p = program::windowOwner<Picker>(window, message, lParam);
    switch (message) {
    case WM_SIZE:
        if (p && p->list)
            layout(window, *p);
        return 0;
    case WM_GETMINMAXINFO:
        if (p) {
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {scaled(380, p->dpi),
                                                                     scaled(300, p->dpi)};
            return 0;
        }
        break;
    case WM_COMMAND:
        if (!p)
            break;
        switch (LOWORD(wParam)) {
        case IDOK:
            choose(window, *p);
            return 0;
        case IDCANCEL:
            p->done = true;
            return 0;
        case IDC_BIND_PROGRAM:
            chooseProgram(window, *p);
            return 0;
        case IDC_BIND_FILTER:
            if (HIWORD(wParam) == EN_CHANGE)
                fillList(*p);
            return 0;
        default:
            break;
        }
        break;
    case WM_NOTIFY:
        if (p && reinterpret_cast<NMHDR*>(lParam)->idFrom == IDC_BIND_LIST &&
            reinterpret_cast<NMHDR*>(lParam)->code == NM_DBLCLK) {
            choose(window, *p);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (p)
            p->done = true;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void registerBindPickerClass(HINSTANCE instance) {
    registerWindowClass(instance, SETTINGS_BIND_CLASS, pickerProc, {IDC_ARROW, true, true});
}

HBITMAP actionPicture(Engine& engine, const std::wstring& action, int size) {
    if (startsWith(action, kDesktopPrefix)) {
        const std::wstring path = action.substr(wcslen(kDesktopPrefix));
        HICON icon = static_cast<HICON>(engine.lib().GetFileLargeIcon(path.c_str()));
        if (!icon)
            return nullptr;
        HBITMAP picture = iconPicture(icon, size);
        DestroyIcon(icon);
        return picture;
    }
    if (startsWith(action, kMetroPrefix)) {
        const std::wstring name = action.substr(wcslen(kMetroPrefix));
        for (const MetroApp& app : engine.metroApps()) {
            if (app.name != name)
                continue;
            HBITMAP tile = static_cast<HBITMAP>(engine.lib().GetMetroIcon(app.logo.c_str(), app.tile));
            if (!tile)
                return nullptr;
            HBITMAP picture = bitmapPicture(tile, size);
            DeleteObject(tile);
            return picture;
        }
    }
    return nullptr;
}

bool pickAction(HWND owner, Engine& engine, const std::wstring& gesture, HFONT font, BindChoice& choice) {
    Picker p;
    p.engine = &engine;
    p.dpi = static_cast<int>(GetDpiForWindow(owner));
    RECT ownerRect;
    GetWindowRect(owner, &ownerRect);
    const int w = scaled(480, p.dpi), h = scaled(520, p.dpi);
    const std::wstring title = std::wstring(SETTINGS_BIND_TITLE) + L": " + gesture;
    HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, SETTINGS_BIND_CLASS,
                                  title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                                  ownerRect.left + scaled(40, p.dpi), ownerRect.top + scaled(40, p.dpi), w, h,
                                  owner, nullptr, GetModuleHandleW(nullptr), &p);
    if (!window)
        return false;
    p.filterLabel = child(window, L"STATIC", L"&Find:", SS_LEFT, IDC_BIND_FILTER_LABEL);
    p.filter = child(window, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, IDC_BIND_FILTER, WS_EX_CLIENTEDGE);
    p.list = child(window, WC_LISTVIEWW, L"",
                   WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                   IDC_BIND_LIST, WS_EX_CLIENTEDGE);
    p.program =
        child(window, WC_BUTTONW, L"Desktop &program...", WS_TABSTOP | BS_PUSHBUTTON, IDC_BIND_PROGRAM);
    p.ok = child(window, WC_BUTTONW, L"&Bind", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
    p.cancel = child(window, WC_BUTTONW, L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
    ListView_SetExtendedListViewStyle(p.list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const int size = scaled(32, p.dpi);
    p.images = ImageList_Create(size, size, ILC_COLOR32, 16, 16);
    ListView_SetImageList(p.list, p.images, LVSIL_SMALL);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = scaled(260, p.dpi);
    column.pszText = const_cast<wchar_t*>(L"Action");
    ListView_InsertColumn(p.list, 0, &column);
    column.pszText = const_cast<wchar_t*>(L"Kind");
    column.cx = scaled(160, p.dpi);
    ListView_InsertColumn(p.list, 1, &column);
    setFontAll(window, font);
    load(p, size);
    fillList(p);
    layout(window, p);
    ShowWindow(window, SW_SHOW);
    SetFocus(p.filter);

    EnableWindow(owner, FALSE);
    MSG msg{};
    while (!p.done && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Arrow keys in the find field move the list's selection, so typing then Enter binds.
        if (msg.message == WM_KEYDOWN && msg.hwnd == p.filter &&
            (msg.wParam == VK_DOWN || msg.wParam == VK_UP)) {
            SendMessageW(p.list, WM_KEYDOWN, msg.wParam, msg.lParam);
            continue;
        }
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (msg.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(msg.wParam));
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
    DestroyWindow(window);
    ImageList_Destroy(p.images);
    if (p.chosen)
        choice = p.choice;
    return p.chosen;
}

} // namespace settings
