// Host commands of the apps family: the installed modern apps, and their tile pictures and file icons.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/commands.h"

#ifdef _WIN32
#include <windows.h>

#include <objbase.h>
#endif

namespace host {
namespace {

// Splits at line feeds; keeps empty fields, so a failed record's texts still come out as four.
std::vector<text> lines(const text& all) {
    std::vector<text> out(1);
    for (sc_char c : all) {
        if (c == '\n')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

// A colour as the catalogue gives it (a decimal COLORREF), as 0x hex, or as #RRGGBB.
bool parseColour(const std::string& s, uint32_t& colour) {
    char* end = nullptr;
    if (s.size() == 7 && s[0] == '#') {
        const unsigned long rgb = std::strtoul(s.c_str() + 1, &end, 16);
        if (*end != '\0')
            return false;
        colour = static_cast<uint32_t>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
        return true;
    }
    const unsigned long long value = std::strtoull(s.c_str(), &end, 0);
    if (s.empty() || *end != '\0' || value > 0xFFFFFFFFull)
        return false;
    colour = static_cast<uint32_t>(value);
    return true;
}

int listApps(Context& ctx) {
    ctx.openActions();
    // The key list is rebuilt on every call, so a larger buffer simply asks again.
    text keys;
    for (uint32_t capacity = 4096; capacity <= (1u << 22); capacity *= 2) {
        text buffer(capacity, 0);
        const uint32_t n = ctx.lib.GetMetroKeyArrary(buffer.data(), capacity);
        if (n > 0) {
            keys.assign(buffer.data(), n - 1);
            break;
        }
        if (capacity == (1u << 22)) {
            ctx.lib.CloseActionNanager();
            return fail("the app list is not available (no action manager, or the list is too long)");
        }
    }
    int count = 0;
    for (const text& key : lines(keys)) {
        if (key.empty())
            continue;
        ++count;
        const uint32_t number = static_cast<uint32_t>(std::strtoul(toUtf8(key).c_str(), nullptr, 10));
        text buffer(8192, 0);
        const uint32_t n =
            ctx.lib.GetMetroAppInfo(number, buffer.data(), static_cast<uint32_t>(buffer.size()));
        const std::vector<text> fields = lines(n > 0 ? text(buffer.data(), n - 1) : text());
        if (fields.size() != 4 || fields[0].empty()) {
            std::printf("%s\t(shortcut could not be read)\n", toUtf8(key).c_str());
            continue;
        }
        uint32_t colour = 0;
        parseColour(toUtf8(fields[3]), colour);
        std::printf("%s\t%s\t\"%s\"\t%s\t%s (#%02X%02X%02X)\n", toUtf8(key).c_str(),
                    toUtf8(fields[0]).c_str(), toUtf8(fields[1]).c_str(),
                    fields[2].empty() ? "-" : toUtf8(fields[2]).c_str(), toUtf8(fields[3]).c_str(),
                    colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    }
    if (count == 0)
        std::printf("no modern apps found\n");
    ctx.lib.CloseActionNanager();
    return 0;
}

#ifdef _WIN32

// Writes a bitmap's pixels as a 32-bit bottom-up .bmp file.
bool writeBitmapFile(HBITMAP bitmap, const std::string& out, std::string& error) {
    BITMAP shape{};
    if (!GetObjectW(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0) {
        error = "the picture has no size";
        return false;
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = shape.bmWidth;
    info.biHeight = shape.bmHeight;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(shape.bmWidth * shape.bmHeight * 4);
    std::vector<unsigned char> bits(info.biSizeImage);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(shape.bmHeight), bits.data(),
                               reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != shape.bmHeight) {
        error = "the picture's pixels cannot be read";
        return false;
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::FILE* f = std::fopen(out.c_str(), "wb");
    if (!f) {
        error = "cannot write " + out;
        return false;
    }
    const bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 &&
                    std::fwrite(&info, sizeof info, 1, f) == 1 &&
                    std::fwrite(bits.data(), bits.size(), 1, f) == 1;
    if (std::fclose(f) != 0 || !ok) {
        error = "cannot write " + out;
        return false;
    }
    return true;
}

// The picture exports use COM as the calling thread has it, so the host joins an apartment first.
struct HostApartment {
    HostApartment() : joined(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~HostApartment() {
        if (joined)
            CoUninitialize();
    }
    bool joined;
};

int tileIcon(Context& ctx, const Args& args) {
    uint32_t colour = 0;
    if (args.size() != 3 || !parseColour(args[1], colour))
        return fail(
            "usage: icon LOGO COLOR OUT.bmp (COLOR: the catalogue's decimal colour, 0x..., or #RRGGBB)");
    HostApartment apartment;
    HBITMAP tile = static_cast<HBITMAP>(ctx.lib.GetMetroIcon(fromUtf8(args[0]).c_str(), colour));
    if (!tile)
        return fail("no tile picture for " + args[0] + " (missing or unreadable logo)");
    std::string error;
    const bool ok = writeBitmapFile(tile, args[2], error);
    DeleteObject(tile);
    if (!ok)
        return fail(error);
    std::printf("wrote %s\n", args[2].c_str());
    return 0;
}

int fileIcon(Context& ctx, const Args& args) {
    if (args.size() != 2)
        return fail("usage: file-icon PATH OUT.bmp");
    HostApartment apartment;
    HICON icon = static_cast<HICON>(ctx.lib.GetFileLargeIcon(fromUtf8(args[0]).c_str()));
    if (!icon)
        return fail("no icon for " + args[0]);
    ICONINFO info{};
    std::string error = "the icon has no colour picture";
    bool ok = GetIconInfo(icon, &info) && info.hbmColor != nullptr &&
              writeBitmapFile(info.hbmColor, args[1], error);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    if (!ok)
        return fail(error);
    std::printf("wrote %s\n", args[1].c_str());
    return 0;
}

#else

int tileIcon(Context&, const Args&) {
    return fail("icon: tile pictures are Windows bitmaps; this native build has none to write");
}
int fileIcon(Context&, const Args&) {
    return fail("file-icon: file icons come from the Windows shell; this native build has none to write");
}

#endif

int apps(Context& ctx, const Args& args) {
    return args.empty() ? listApps(ctx) : fail("usage: apps");
}

} // namespace

int appsCommand(Context& ctx, const std::string& command, const Args& args) {
    static const Command commands[] = {{"apps", apps}, {"icon", tileIcon}, {"file-icon", fileIcon}};
    return runCommand(commands, ctx, command, args);
}

} // namespace host
