// strokecast-screenshot: writes a PNG of one top-level window as it stands on the screen, for the
// documents. Not shipped; scripts/screenshots.sh runs it under Wine.
//
//   strokecast-screenshot [--post CLASS MESSAGE WPARAM LPARAM] [--class CLASS [--title TITLE]
//                         [--pid PID] [--hover] [--wait SECONDS] --out FILE.png]
//
// --post sends a message to the first window of CLASS first (opening a menu, say). The capture is a copy
// of the window's screen area, not PrintWindow: under Wine some controls print blank, while the screen
// shows what a person sees. The picture is taken again until two copies agree, so a window still
// painting is never caught half done. Exit 0 when written; 2 for bad arguments; 3 when no such window
// showed; 4 when the picture stayed blank (one colour) or kept changing; 5 when the PNG could not be written.
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

int usage() {
    std::fwprintf(stderr, L"usage: strokecast-screenshot [--post CLASS MESSAGE WPARAM LPARAM] [--class CLASS "
                          L"[--title TITLE] [--pid PID] [--hover] [--wait SECONDS] --out FILE.png]\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Target target;
    std::wstring out;
    std::wstring postClass;
    UINT postMessage = 0;
    WPARAM postW = 0;
    LPARAM postL = 0;
    bool hover = false;
    double waitSeconds = 30;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--post" && i + 4 < argc) {
            postClass = argv[++i];
            postMessage = static_cast<UINT>(std::wcstoul(argv[++i], nullptr, 0));
            postW = static_cast<WPARAM>(std::wcstoull(argv[++i], nullptr, 0));
            postL = static_cast<LPARAM>(std::wcstoll(argv[++i], nullptr, 0));
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
    if (postClass.empty() && target.className.empty())
        return usage();
    if (!target.className.empty() && out.empty())
        return usage();
    // Screen coordinates in physical pixels, whatever the window's own awareness.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<long>(waitSeconds * 1000));
    if (!postClass.empty()) {
        HWND to = nullptr;
        while (!(to = FindWindowW(postClass.c_str(), nullptr)) && std::chrono::steady_clock::now() < deadline)
            Sleep(50);
        if (!to || !PostMessageW(to, postMessage, postW, postL)) {
            std::fwprintf(stderr, L"strokecast-screenshot: no window of class %ls to post to\n",
                          postClass.c_str());
            return 3;
        }
    }
    if (target.className.empty())
        return 0;

    HWND window = nullptr;
    while (!(window = findVisible(target)) && std::chrono::steady_clock::now() < deadline)
        Sleep(50);
    if (!window) {
        std::fwprintf(stderr, L"strokecast-screenshot: no visible window of class %ls\n",
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
    while (std::chrono::steady_clock::now() < deadline) {
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(150);
        if (copyFromScreen(window, pixels, width, height) && !blank(pixels) && pixels == previous) {
            settled = true;
            break;
        }
        previous = pixels;
    }
    if (!settled) {
        std::fwprintf(stderr,
                      L"strokecast-screenshot: the window of class %ls stayed blank or kept changing\n",
                      target.className.c_str());
        return 4;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool written = writePng(out, pixels, width, height);
    CoUninitialize();
    if (!written) {
        std::fwprintf(stderr, L"strokecast-screenshot: cannot write %ls\n", out.c_str());
        return 5;
    }
    std::fwprintf(stdout, L"strokecast-screenshot: %ls, %dx%d\n", out.c_str(), width, height);
    return 0;
}
