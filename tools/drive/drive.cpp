// strokecast-drive: works the programs' windows as a person would and writes a PNG of one top-level
// window as it stands on the screen, for the documents and the demo. Not shipped; scripts/screenshots.sh
// and scripts/demo.sh run it under Wine.
//
//   strokecast-drive [STEP...] [--class CLASS [--title TITLE] [--pid PID] [--hover] --out FILE.png]
//                    [--wait SECONDS]
//
// The steps run in the order given, each on the first visible top-level window of CLASS (waiting for it
// to show); ID names a control in it by its id, 0 the window itself:
//   --post CLASS MESSAGE WPARAM LPARAM   posts a message (opening a menu, say);
//   --draw CLASS ID "x,y x,y ..."        drags the mouse through the points (the control's own pixels)
//                                        with the left button down, through SendInput;
//   --set-text CLASS ID TEXT             sets a control's text, as typing it would;
//   --click CLASS ID                     presses a button once it is enabled;
//   --wait-text CLASS ID TEXT            waits until the control's text holds TEXT, then prints it;
//   --print CLASS ID                     prints the control's text.
// Then the capture, when --class is given. The capture is a copy
// of the window's screen area, not PrintWindow: under Wine some controls print blank, while the screen
// shows what a person sees. The picture is taken again until two copies agree, so a window still
// painting is never caught half done. Exit 0 when every step and the capture succeeded; 2 for bad
// arguments; 3 when no such window or control showed, or a step failed; 4 when the picture stayed blank
// (one colour) or kept changing; 5 when the PNG could not be written; 6 when awaited text never came.
#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

struct Target {
    std::wstring className;
    std::wstring title;
    DWORD pid = 0;
    HWND found = nullptr;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
    auto* t = reinterpret_cast<Target*>(context);
    wchar_t name[256];
    if (!GetClassNameW(window, name, 256) || t->className != name || !IsWindowVisible(window))
        return TRUE;
    if (!t->title.empty()) {
        wchar_t title[512];
        GetWindowTextW(window, title, 512);
        if (t->title != title)
            return TRUE;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (t->pid != 0 && pid != t->pid)
        return TRUE;
    t->found = window;
    return FALSE;
}

HWND findVisible(Target target) {
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&target));
    return target.found;
}

// The window's pixels as they are on the screen, top row first, 0xAARRGGBB with alpha 255.
bool copyFromScreen(HWND window, std::vector<DWORD>& pixels, int& width, int& height) {
    RECT r;
    if (!GetWindowRect(window, &r))
        return false;
    width = r.right - r.left;
    height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT) != 0;
        GdiFlush();
        if (ok) {
            const auto* p = static_cast<const DWORD*>(bits);
            pixels.assign(p, p + static_cast<std::size_t>(width) * height);
            for (DWORD& px : pixels)
                px |= 0xFF000000;
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

// One colour over nearly all of the picture: nothing of the window was drawn.
bool blank(const std::vector<DWORD>& pixels) {
    std::map<DWORD, std::size_t> counts;
    for (DWORD px : pixels)
        ++counts[px];
    std::size_t most = 0;
    for (const auto& [colour, count] : counts)
        most = std::max(most, count);
    return counts.size() < 3 || most * 1000 > pixels.size() * 995;
}

bool writePng(const std::wstring& path, const std::vector<DWORD>& pixels, int width, int height) {
    IWICImagingFactory* factory = nullptr;
    if (FAILED(
            CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return false;
    bool ok = false;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const UINT stride = static_cast<UINT>(width) * 4;
    if (SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGRA &&
        SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                                     reinterpret_cast<BYTE*>(const_cast<DWORD*>(pixels.data())))) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()))
        ok = true;
    if (frame)
        frame->Release();
    if (encoder)
        encoder->Release();
    if (stream)
        stream->Release();
    factory->Release();
    return ok;
}

struct Step {
    std::wstring verb;
    std::wstring className;
    int id = 0;
    std::vector<std::wstring> values;
};

using Clock = std::chrono::steady_clock;

HWND waitForWindow(const std::wstring& className, Clock::time_point deadline) {
    Target target;
    target.className = className;
    HWND window = nullptr;
    while (!(window = findVisible(target)) && Clock::now() < deadline)
        Sleep(50);
    return window;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK matchControl(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ControlSearch*>(context);
    if (GetDlgCtrlID(child) != search->id || !IsWindowVisible(child))
        return TRUE;
    search->found = child;
    return FALSE;
}

// The control with the id anywhere below the window (pages nest their controls), or the window for 0.
HWND waitForControl(const Step& step, Clock::time_point deadline) {
    HWND window = nullptr;
    if (step.verb == L"--post") {
        // Messages go to hidden windows too (a program's own message window, an open menu).
        while (!(window = FindWindowW(step.className.c_str(), nullptr)) && Clock::now() < deadline)
            Sleep(50);
    } else {
        window = waitForWindow(step.className, deadline);
    }
    if (!window || step.id == 0)
        return window;
    ControlSearch search{step.id, nullptr};
    for (;;) {
        EnumChildWindows(window, matchControl, reinterpret_cast<LPARAM>(&search));
        if (search.found || Clock::now() >= deadline)
            return search.found;
        Sleep(50);
    }
}

std::wstring textOf(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

// One line of a control's text as UTF-8: the C runtime's own conversion stops at the first character
// outside its code page (the programs quote names with curly quotes).
void printLine(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    bytes += '\n';
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// Drags the mouse through the points with the left button down. Each event waits until the cursor is
// there and the program has taken it, so a loaded machine slows the drag instead of dropping points.
bool drawOn(HWND control, const std::wstring& text, Clock::time_point deadline) {
    std::vector<POINT> points;
    const wchar_t* at = text.c_str();
    for (;;) {
        wchar_t* end = nullptr;
        const long x = std::wcstol(at, &end, 10);
        if (end == at || *end != L',')
            break;
        at = end + 1;
        const long y = std::wcstol(at, &end, 10);
        if (end == at)
            return false;
        points.push_back({x, y});
        at = end;
        while (*at == L' ')
            ++at;
    }
    if (points.size() < 2 || *at != 0)
        return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(control, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    const auto idleMs = [deadline] {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        return static_cast<DWORD>(std::max<long long>(left.count(), 1));
    };
    const auto send = [&](DWORD flags, POINT screen) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = flags;
        return SendInput(1, &input, sizeof(INPUT)) == 1 &&
               (!process || WaitForInputIdle(process, idleMs()) == 0);
    };
    const auto moveTo = [&](POINT p) {
        ClientToScreen(control, &p);
        if (!send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p))
            return false;
        POINT cursor{};
        while (GetCursorPos(&cursor) && (cursor.x != p.x || cursor.y != p.y) && Clock::now() < deadline)
            Sleep(10);
        return cursor.x == p.x && cursor.y == p.y;
    };
    bool ok = moveTo(points[0]) && send(MOUSEEVENTF_LEFTDOWN, {});
    // Several moves a segment, as a hand's drag arrives.
    for (std::size_t i = 1; ok && i < points.size(); ++i) {
        for (int k = 1; ok && k <= 8; ++k)
            ok = moveTo({points[i - 1].x + (points[i].x - points[i - 1].x) * k / 8,
                         points[i - 1].y + (points[i].y - points[i - 1].y) * k / 8});
    }
    ok = send(MOUSEEVENTF_LEFTUP, {}) && ok;
    if (process)
        CloseHandle(process);
    return ok;
}

// Runs one step; the exit code of the tool when it fails, else 0.
int runStep(const Step& step, Clock::time_point deadline) {
    HWND control = waitForControl(step, deadline);
    if (!control) {
        std::fwprintf(stderr, L"strokecast-drive: no visible window of class %ls with control %d\n",
                      step.className.c_str(), step.id);
        return 3;
    }
    bool ok = true;
    if (step.verb == L"--post") {
        ok = PostMessageW(control, static_cast<UINT>(std::wcstoul(step.values[0].c_str(), nullptr, 0)),
                          static_cast<WPARAM>(std::wcstoull(step.values[1].c_str(), nullptr, 0)),
                          static_cast<LPARAM>(std::wcstoll(step.values[2].c_str(), nullptr, 0)));
    } else if (step.verb == L"--draw") {
        ok = drawOn(control, step.values[0], deadline);
    } else if (step.verb == L"--set-text") {
        ok = SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.values[0].c_str())) != 0;
    } else if (step.verb == L"--click") {
        // A person waits for a button to come alive. The click is posted, as a click arrives: a button
        // that opens a window of its own must not hold the driver.
        while (!IsWindowEnabled(control) && Clock::now() < deadline)
            Sleep(50);
        ok = IsWindowEnabled(control) &&
             PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(step.id, BN_CLICKED),
                          reinterpret_cast<LPARAM>(control));
    } else if (step.verb == L"--wait-text") {
        while (textOf(control).find(step.values[0]) == std::wstring::npos && Clock::now() < deadline)
            Sleep(50);
        const std::wstring text = textOf(control);
        if (text.find(step.values[0]) == std::wstring::npos) {
            std::fwprintf(stderr, L"strokecast-drive: control %d of %ls says \"%ls\", not \"%ls\"\n", step.id,
                          step.className.c_str(), text.c_str(), step.values[0].c_str());
            return 6;
        }
        printLine(text);
    } else if (step.verb == L"--print") {
        printLine(textOf(control));
    }
    if (!ok) {
        std::fwprintf(stderr, L"strokecast-drive: %ls on control %d of %ls failed\n", step.verb.c_str(),
                      step.id, step.className.c_str());
        return 3;
    }
    std::fflush(stdout);
    return 0;
}

int usage() {
    std::fwprintf(stderr,
                  L"usage: strokecast-drive [--post CLASS MESSAGE WPARAM LPARAM] [--draw CLASS ID POINTS] "
                  L"[--set-text CLASS ID TEXT] [--click CLASS ID] [--wait-text CLASS ID TEXT] "
                  L"[--print CLASS ID]... [--class CLASS [--title TITLE] [--pid PID] [--hover] "
                  L"--out FILE.png] [--wait SECONDS]\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Target target;
    std::wstring out;
    std::vector<Step> steps;
    bool hover = false;
    double waitSeconds = 30;
    // How many values follow CLASS (and ID, for the verbs that name a control).
    const std::map<std::wstring, std::pair<bool, int>> verbs = {
        {L"--post", {false, 3}}, {L"--draw", {true, 1}},      {L"--set-text", {true, 1}},
        {L"--click", {true, 0}}, {L"--wait-text", {true, 1}}, {L"--print", {true, 0}}};
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const auto verb = verbs.find(arg);
        if (verb != verbs.end()) {
            const auto [hasId, values] = verb->second;
            if (i + 1 + (hasId ? 1 : 0) + values >= argc)
                return usage();
            Step step;
            step.verb = arg;
            step.className = argv[++i];
            if (hasId)
                step.id = static_cast<int>(std::wcstol(argv[++i], nullptr, 0));
            for (int k = 0; k < values; ++k)
                step.values.push_back(argv[++i]);
            steps.push_back(std::move(step));
        } else if (arg == L"--class" && i + 1 < argc) {
            target.className = argv[++i];
        } else if (arg == L"--title" && i + 1 < argc) {
            target.title = argv[++i];
        } else if (arg == L"--pid" && i + 1 < argc) {
            target.pid = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 0));
        } else if (arg == L"--hover") {
            hover = true;
        } else if (arg == L"--wait" && i + 1 < argc) {
            waitSeconds = std::wcstod(argv[++i], nullptr);
        } else if (arg == L"--out" && i + 1 < argc) {
            out = argv[++i];
        } else {
            return usage();
        }
    }
    if (steps.empty() && target.className.empty())
        return usage();
    if (!target.className.empty() && out.empty())
        return usage();
    // Screen coordinates in physical pixels, whatever the window's own awareness.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<long>(waitSeconds * 1000));
    for (const Step& step : steps) {
        if (const int failed = runStep(step, deadline))
            return failed;
    }
    if (target.className.empty())
        return 0;

    HWND window = nullptr;
    while (!(window = findVisible(target)) && Clock::now() < deadline)
        Sleep(50);
    if (!window) {
        std::fwprintf(stderr, L"strokecast-drive: no visible window of class %ls\n",
                      target.className.c_str());
        return 3;
    }
    if (hover) {
        // A popup that stays while the pointer is over it waits for the picture.
        RECT r;
        GetWindowRect(window, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::vector<DWORD> previous;
    std::vector<DWORD> pixels;
    int width = 0;
    int height = 0;
    bool settled = false;
    while (Clock::now() < deadline) {
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(150);
        if (copyFromScreen(window, pixels, width, height) && !blank(pixels) && pixels == previous) {
            settled = true;
            break;
        }
        previous = pixels;
    }
    if (!settled) {
        std::fwprintf(stderr, L"strokecast-drive: the window of class %ls stayed blank or kept changing\n",
                      target.className.c_str());
        return 4;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool written = writePng(out, pixels, width, height);
    CoUninitialize();
    if (!written) {
        std::fwprintf(stderr, L"strokecast-drive: cannot write %ls\n", out.c_str());
        return 5;
    }
    std::fwprintf(stdout, L"strokecast-drive: %ls, %dx%d\n", out.c_str(), width, height);
    return 0;
}
