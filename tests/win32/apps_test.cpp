// The app catalogue and the icon exports under Wine, on real files, shortcuts, registry keys and images.
// Wine's shell link keeps no property store, so the catalogue's record tests use strokecast_scripted.dll,
// which reads the five shortcut properties from each shortcut's arguments; the shipped DLL runs the
// same catalogue against Wine's real (empty) property store.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wincodec.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/win32/dll_loader.h"

namespace {

const std::wstring kRepository =
    L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\Repository\\"
    L"Packages\\";

// The catalogue exports of one loaded DLL.
struct Catalogue {
    decltype(&::OpenActionManager) open;
    decltype(&::CloseActionNanager) close;
    decltype(&::GetMetroKeyArrary) keys;
    decltype(&::GetMetroAppInfo) info;

    std::wstring keyText() const {
        std::vector<wchar_t> buffer(8192, L'#');
        const uint32_t n = keys(buffer.data(), static_cast<uint32_t>(buffer.size()));
        EXPECT_GT(n, 0u);
        return n ? std::wstring(buffer.data(), n - 1) : L"<none>";
    }
    std::wstring infoText(uint32_t key) const {
        std::vector<wchar_t> buffer(2048, L'#');
        const uint32_t n = info(key, buffer.data(), static_cast<uint32_t>(buffer.size()));
        return n ? std::wstring(buffer.data(), n - 1) : L"<none>";
    }
};

template <class F> F proc(HMODULE module, const char* name) {
    auto p = reinterpret_cast<F>(GetProcAddress(module, name));
    if (!p)
        ADD_FAILURE() << "missing export " << name;
    return p;
}

Catalogue catalogueOf(HMODULE module) {
    return {proc<decltype(&::OpenActionManager)>(module, "OpenActionManager"),
            proc<decltype(&::CloseActionNanager)>(module, "CloseActionNanager"),
            proc<decltype(&::GetMetroKeyArrary)>(module, "GetMetroKeyArrary"),
            proc<decltype(&::GetMetroAppInfo)>(module, "GetMetroAppInfo")};
}

HMODULE scriptedModule() {
    static HMODULE module = LoadLibraryW((sctest::exeFolder() + L"strokecast_scripted.dll").c_str());
    return module;
}

std::wstring ownExe() {
    wchar_t path[MAX_PATH];
    return std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
}

uint32_t keyOf(std::wstring path) {
    CharUpperW(path.data());
    return SC_FN(GetFnvHash)(path.c_str());
}

std::wstring decimal(uint32_t value) {
    return std::to_wstring(value);
}

void makeFolders(const std::wstring& folder) {
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
}

void touch(const std::wstring& path) {
    makeFolders(path.substr(0, path.find_last_of(L'\\')));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

void setDisplayName(const std::wstring& keyPath, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(key, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// The first preferred UI language of this thread, as the catalogue will see it.
std::wstring firstLanguage() {
    wchar_t buffer[100] = {};
    ULONG count = 0, length = 100;
    if (!GetThreadPreferredUILanguages(MUI_LANGUAGE_NAME, &count, buffer, &length) || count == 0)
        return L"";
    return buffer;
}

// A shortcut file saved through the shell link; `script` becomes its arguments (read by the scripted DLL).
void saveShortcut(const std::wstring& path, const std::wstring& script) {
    makeFolders(path.substr(0, path.find_last_of(L'\\')));
    IShellLinkW* link = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_ALL, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)),
              S_OK);
    link->SetPath(ownExe().c_str());
    link->SetArguments(script.c_str());
    IPersistFile* file = nullptr;
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
    EXPECT_EQ(file->Save(path.c_str(), TRUE), S_OK);
    file->Release();
    link->Release();
}

// A fresh %LOCALAPPDATA% with an empty shortcut root, unique package names and an open action manager
// in both DLLs; registry keys made by a test are removed again.
class AppCatalogue : public testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        local_ = sctest::freshTempFolder(L"apps");
        SetEnvironmentVariableW(L"LOCALAPPDATA", local_.c_str());
        root_ = local_ + L"\\Microsoft\\Windows\\Application Shortcuts";
        makeFolders(root_);
        ASSERT_NE(scriptedModule(), nullptr) << "strokecast_scripted.dll is missing";
        real_ = catalogueOf(sctest::strokecastModule());
        scripted_ = catalogueOf(scriptedModule());
        real_.open(local_.c_str());
        scripted_.open(local_.c_str());
    }
    void TearDown() override {
        real_.close();
        scripted_.close();
        for (const auto& package : packages_)
            RegDeleteTreeW(HKEY_CURRENT_USER, (kRepository + package).c_str());
        CoUninitialize();
    }

    std::wstring package(const wchar_t* tag) {
        static int counter = 0;
        packages_.push_back(L"ScTest." + std::wstring(tag) + L"_" + std::to_wstring(GetCurrentProcessId()) +
                            L"_" + std::to_wstring(++counter));
        return packages_.back();
    }

    std::wstring shortcut(const std::wstring& relative, const std::wstring& script) {
        const std::wstring path = root_ + L"\\" + relative;
        saveShortcut(path, script);
        return path;
    }

    std::wstring local_, root_;
    std::vector<std::wstring> packages_;
    Catalogue real_{}, scripted_{};
};

std::wstring sortedKeys(std::vector<std::wstring> paths) {
    std::vector<uint32_t> keys;
    for (const auto& p : paths)
        keys.push_back(keyOf(p));
    std::sort(keys.begin(), keys.end());
    std::wstring text;
    for (uint32_t k : keys)
        text += (text.empty() ? L"" : L"\n") + decimal(k);
    return text;
}

} // namespace

TEST_F(AppCatalogue, ShippedDllListsEveryShortcutAndFailsItsRecordsOnWinesEmptyPropertyStore) {
    const std::wstring script = L"s:A!App|s:PkgA|s:C:\\x|s:Logo.png|u:1";
    const auto a = shortcut(L"PkgA_1\\App.lnk", script);
    const auto b = shortcut(L"PkgB_1\\Other App.lnk", script);
    shortcut(L"Loose.lnk", script);                // in the root itself
    shortcut(L"PkgA_1\\Deeper\\Deep.lnk", script); // one level too deep
    touch(root_ + L"\\PkgA_1\\notes.txt");

    EXPECT_EQ(real_.keyText(), sortedKeys({a, b}));
    EXPECT_EQ(real_.infoText(keyOf(a)), L"\n\n\n0");
    EXPECT_EQ(real_.infoText(keyOf(b)), L"\n\n\n0");
}

TEST_F(AppCatalogue, ScriptedShortcutsGiveCompleteRecordsWithNamesLogosAndColours) {
    const std::wstring language = firstLanguage();
    ASSERT_FALSE(language.empty());
    const std::wstring pkgA = package(L"A"), pkgB = package(L"B"), pkgC = package(L"C");
    const std::wstring installA = local_ + L"\\Packages\\A", installB = local_ + L"\\Packages\\B";
    touch(installA + L"\\" + language + L"\\Assets\\Logo.scale-100.png");
    touch(installA + L"\\Assets\\Logo.scale-180.png");
    touch(installB + L"\\zz-ZZ\\Assets\\Logo.scale-180.png"); // not a preferred language
    touch(installB + L"\\Assets\\Logo.png");                  // found last, without a scale
    setDisplayName(kRepository + pkgA + L"\\Applications\\" + pkgA + L"!App", L"Weather Now");
    setDisplayName(kRepository + pkgB, L"Package Level Name");

    const auto a = shortcut(L"A\\App.lnk",
                            L"s:" + pkgA + L"!App|s:" + pkgA +
                                L"|s:%LOCALAPPDATA%\\Packages\\A|s:MS-RESOURCE:Assets\\Logo.png|u:14120960");
    const auto b = shortcut(L"B\\App.lnk", L"s:" + pkgB + L"!App|s:" + pkgB + L"|s:" + installB +
                                               L"|s:Assets\\Logo.png|i:-1");
    const auto c = shortcut(L"C\\Shell Named.lnk", L"s:" + pkgC + L"!App|s:" + pkgC + L"|s:" + installB +
                                                       L"|s:Assets\\Missing.png|s:not a number");
    const auto noId = shortcut(L"D\\NoId.lnk", L"|s:" + pkgC + L"|s:C:\\x|s:Logo.png|u:1");
    const auto otherType = shortcut(L"D\\Other.lnk", L"x|s:" + pkgC + L"|s:C:\\x|s:Logo.png|u:1");
    const auto readFails = shortcut(L"D\\ReadFails.lnk", L"s:id|!|s:C:\\x|s:Logo.png|u:1");
    const auto noLogo = shortcut(L"D\\NoLogo.lnk", L"s:id|s:" + pkgC + L"|s:C:\\x|s:ms-resource:|u:1");

    EXPECT_EQ(scripted_.keyText(), sortedKeys({a, b, c, noId, otherType, readFails, noLogo}));
    EXPECT_EQ(scripted_.infoText(keyOf(a)), pkgA + L"!App\nWeather Now\n" + installA + L"\\" + language +
                                                L"\\Assets\\Logo.scale-100.png\n14120960");
    EXPECT_EQ(scripted_.infoText(keyOf(b)),
              pkgB + L"!App\nPackage Level Name\n" + installB + L"\\Assets\\Logo.png\n4294967295");
    EXPECT_EQ(scripted_.infoText(keyOf(c)), pkgC + L"!App\nShell Named\n\n0");
    for (const auto& failed : {noId, otherType, readFails, noLogo})
        EXPECT_EQ(scripted_.infoText(keyOf(failed)), L"\n\n\n0");
}

TEST_F(AppCatalogue, CallerBuffersAreFilledWholeOrNotAtAll) {
    const std::wstring pkg = package(L"Buf");
    const auto a = shortcut(L"P\\a.lnk", L"s:" + pkg + L"!App|s:" + pkg + L"|s:C:\\x|s:Logo.png|u:7");
    const auto b = shortcut(L"P\\b.lnk", L"");
    const std::wstring keys = sortedKeys({a, b});
    const auto exact = static_cast<uint32_t>(keys.size() + 1);

    std::wstring buffer(64, L'#');
    EXPECT_EQ(scripted_.keys(buffer.data(), exact - 1), 0u);
    EXPECT_EQ(buffer, std::wstring(64, L'#'));
    EXPECT_EQ(scripted_.keys(buffer.data(), exact), exact);
    EXPECT_EQ(buffer.substr(0, exact), keys + L'\0');

    ASSERT_EQ(scripted_.infoText(keyOf(a)).substr(0, pkg.size() + 5), pkg + L"!App\n");
    const std::wstring full = scripted_.infoText(keyOf(a));
    buffer.assign(256, L'#');
    EXPECT_EQ(scripted_.info(keyOf(a), buffer.data(), static_cast<uint32_t>(full.size())), 0u);
    EXPECT_EQ(buffer, std::wstring(256, L'#'));
    EXPECT_EQ(scripted_.info(keyOf(a), buffer.data(), static_cast<uint32_t>(full.size() + 1)),
              full.size() + 1);

    // Gone after the next refresh; and nothing at all without an action manager.
    DeleteFileW(b.c_str());
    scripted_.keyText();
    EXPECT_EQ(scripted_.info(keyOf(b), buffer.data(), 256), 0u);
    scripted_.close();
    buffer.assign(64, L'#');
    EXPECT_EQ(scripted_.keys(buffer.data(), 64), 0u);
    EXPECT_EQ(scripted_.info(keyOf(a), buffer.data(), 64), 0u);
    EXPECT_EQ(buffer, std::wstring(64, L'#'));
}

TEST_F(AppCatalogue, LongDisplayNameIsCutWithoutSplittingASurrogatePair) {
    const std::wstring pkg = package(L"Long");
    std::wstring name(254, L'n');
    name += L"\xD83D\xDE00 tail"; // the pair would straddle the 256-unit buffer's last place
    setDisplayName(kRepository + pkg, name);
    const auto a = shortcut(L"P\\a.lnk", L"s:" + pkg + L"!App|s:" + pkg + L"|s:C:\\x|s:Logo.png|u:0");
    scripted_.keyText();
    EXPECT_EQ(scripted_.infoText(keyOf(a)), pkg + L"!App\n" + std::wstring(254, L'n') + L"\n\n0");
}

TEST_F(AppCatalogue, RefreshLeavesTheCallingThreadsComStateAsItFoundIt) {
    shortcut(L"P\\a.lnk", L"");
    struct Case {
        const char* name;
        bool joins; // false: the thread never joins COM
        DWORD model;
        HRESULT after;
        APTTYPE type;
    };
    const Case cases[] = {{"no COM", false, 0, CO_E_NOTINITIALIZED, APTTYPE_CURRENT},
                          {"single-threaded", true, COINIT_APARTMENTTHREADED, S_OK, APTTYPE_STA},
                          {"multithreaded", true, COINIT_MULTITHREADED, S_OK, APTTYPE_MTA}};
    for (const Case& c : cases) {
        HRESULT after = E_FAIL;
        APTTYPE type = APTTYPE_CURRENT;
        APTTYPEQUALIFIER qualifier{};
        uint32_t written = 0;
        std::thread([&] {
            if (c.joins)
                CoInitializeEx(nullptr, c.model);
            wchar_t buffer[64];
            written = real_.keys(buffer, 64);
            after = CoGetApartmentType(&type, &qualifier);
            if (c.joins)
                CoUninitialize();
        }).join();
        SCOPED_TRACE(c.name);
        EXPECT_GT(written, 1u);
        EXPECT_EQ(after, c.after);
        if (c.joins)
            EXPECT_EQ(type, c.type);
    }
}

TEST_F(AppCatalogue, TwoHostThreadsMayListAndReadAtOnce) {
    const std::wstring pkg = package(L"Threads");
    std::vector<std::wstring> paths;
    for (int i = 0; i < 6; ++i)
        paths.push_back(
            shortcut(L"P\\app" + std::to_wstring(i) + L".lnk",
                     L"s:" + pkg + L"!App|s:" + pkg + L"|s:C:\\x|s:Logo.png|u:" + std::to_wstring(i)));
    const std::wstring expectedKeys = sortedKeys(paths);
    scripted_.keyText();
    std::atomic<int> bad{0};
    auto worker = [&] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        for (int round = 0; round < 15; ++round) {
            if (scripted_.keyText() != expectedKeys)
                ++bad;
            for (const auto& p : paths)
                if (scripted_.infoText(keyOf(p)).rfind(pkg + L"!App\n", 0) != 0)
                    ++bad;
        }
        CoUninitialize();
    };
    std::thread first(worker), second(worker);
    first.join();
    second.join();
    EXPECT_EQ(bad.load(), 0);
}

// ---- pictures ----

namespace {

struct Bgra {
    BYTE b, g, r, a;
    bool operator==(const Bgra& o) const { return b == o.b && g == o.g && r == o.r && a == o.a; }
};

std::ostream& operator<<(std::ostream& out, const Bgra& p) {
    return out << "(" << int(p.b) << "," << int(p.g) << "," << int(p.r) << "," << int(p.a) << ")";
}

// Writes straight-alpha BGRA pixels (top row first) as a PNG through the imaging encoder.
void writePng(const std::wstring& path, UINT width, UINT height, const std::vector<Bgra>& pixels) {
    IWICImagingFactory* factory = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    ASSERT_EQ(factory->CreateStream(&stream), S_OK);
    ASSERT_EQ(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), S_OK);
    ASSERT_EQ(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder), S_OK);
    ASSERT_EQ(encoder->Initialize(stream, WICBitmapEncoderNoCache), S_OK);
    ASSERT_EQ(encoder->CreateNewFrame(&frame, &options), S_OK);
    ASSERT_EQ(frame->Initialize(options), S_OK);
    ASSERT_EQ(frame->SetSize(width, height), S_OK);
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    ASSERT_EQ(frame->SetPixelFormat(&format), S_OK);
    ASSERT_TRUE(IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA));
    std::vector<Bgra> copy = pixels;
    ASSERT_EQ(frame->WritePixels(height, width * 4, width * height * 4, reinterpret_cast<BYTE*>(copy.data())),
              S_OK);
    ASSERT_EQ(frame->Commit(), S_OK);
    ASSERT_EQ(encoder->Commit(), S_OK);
    if (options)
        options->Release();
    frame->Release();
    encoder->Release();
    stream->Release();
    factory->Release();
}

// Writes a 32-bit BI_RGB bitmap file by hand (bottom-up rows, alpha bytes kept); pixels are top row first.
void writeBmp(const std::wstring& path, LONG width, LONG height, const std::vector<Bgra>& pixels) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(width * height * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::ofstream out(std::string(path.begin(), path.end()), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    for (LONG row = height - 1; row >= 0; --row)
        out.write(reinterpret_cast<const char*>(&pixels[static_cast<size_t>(row * width)]), width * 4);
}

// The tile's 60 x 60 pixels, top row first; checks the bitmap's shape on the way.
std::vector<Bgra> tilePixels(HBITMAP tile) {
    DIBSECTION dib{};
    EXPECT_EQ(GetObjectW(tile, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, 60);
    EXPECT_EQ(dib.dsBm.bmHeight, 60);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(dib.dsBmih.biHeight, 60); // bottom-up
    EXPECT_EQ(dib.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
    std::vector<Bgra> out(3600);
    if (!dib.dsBm.bmBits)
        return out;
    const auto* bits = static_cast<const Bgra*>(dib.dsBm.bmBits);
    for (int y = 0; y < 60; ++y)
        std::memcpy(&out[static_cast<size_t>(y * 60)], bits + (59 - y) * 60, 60 * 4);
    return out;
}

// Every pixel of the rectangle [x0, x1] x [y0, y1] (inclusive, from the top left) equals `want`.
int countDifferent(const std::vector<Bgra>& tile, int x0, int y0, int x1, int y1, Bgra want) {
    int different = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            different += !(tile[static_cast<size_t>(y * 60 + x)] == want);
    return different;
}

int frameDifferent(const std::vector<Bgra>& tile, Bgra want) {
    return countDifferent(tile, 0, 0, 59, 0, want) + countDifferent(tile, 0, 59, 59, 59, want) +
           countDifferent(tile, 0, 1, 0, 58, want) + countDifferent(tile, 59, 1, 59, 58, want);
}

// GDI objects alive in this process. Wine answers GetGuiResources with 0, so under Wine the count comes
// from its per-process GDI handle table (64-bit PEB offset 0xF8; 65536 entries of 24 bytes, whose type
// byte at offset 14 is 0 for a free entry).
DWORD gdiObjects() {
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0 || !GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        return counted;
    const auto* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
    if (table == nullptr)
        return 0;
    DWORD alive = 0;
    for (size_t i = 0; i < 0x10000; ++i)
        alive += table[i * 24 + 14] != 0;
    return alive;
}

class Icons : public testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        folder_ = sctest::freshTempFolder(L"icons");
    }
    void TearDown() override { CoUninitialize(); }
    std::wstring folder_;
};

constexpr Bgra kClear{0, 0, 0, 0};
constexpr Bgra kRed{0, 0, 255, 255};
constexpr Bgra kGreen{0, 255, 0, 255};
constexpr Bgra kBlue{255, 0, 0, 255};
// COLORREF 0xAB123456: red 0x56, green 0x34, blue 0x12; the top byte means nothing.
constexpr uint32_t kBackground = 0xAB123456u;
constexpr Bgra kBackgroundPixel{0x12, 0x34, 0x56, 0xFF};

// The pixels of the tile the engine makes of a logo on kBackground, its frame checked to be the
// background; none when it made no tile.
std::vector<Bgra> tileOf(const std::wstring& logo) {
    HBITMAP tile = static_cast<HBITMAP>(SC_FN(GetMetroIcon)(logo.c_str(), kBackground));
    if (tile == nullptr)
        return {};
    const std::vector<Bgra> pixels = tilePixels(tile);
    DeleteObject(tile);
    EXPECT_EQ(frameDifferent(pixels, kBackgroundPixel), 0);
    return pixels;
}

} // namespace

TEST_F(Icons, PngLogoOfOddSizeFillsTheTileInsideABackgroundFrame) {
    // 37 x 23: the left half clear, the right half red above and green below.
    std::vector<Bgra> pixels(37 * 23);
    for (UINT y = 0; y < 23; ++y)
        for (UINT x = 0; x < 37; ++x)
            pixels[y * 37 + x] = x < 18 ? kClear : (y < 11 ? kRed : kGreen);
    const std::wstring path = folder_ + L"\\Logo.scale-100.PNG";
    writePng(path, 37, 23, pixels);

    const auto t = tileOf(path);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(countDifferent(t, 1, 1, 26, 58, kBackgroundPixel), 0) << t[30 * 60 + 10]; // clear: background
    EXPECT_EQ(countDifferent(t, 33, 1, 58, 25, kRed), 0) << t[10 * 60 + 40];
    EXPECT_EQ(countDifferent(t, 33, 33, 58, 58, kGreen), 0) << t[50 * 60 + 40];
}

TEST_F(Icons, BitmapLogoWithCapitalExtensionKeepsItsAlpha) {
    // 20 x 50, written by hand: the top half clear, the bottom half opaque blue.
    std::vector<Bgra> pixels(20 * 50);
    for (LONG y = 0; y < 50; ++y)
        for (LONG x = 0; x < 20; ++x)
            pixels[static_cast<size_t>(y * 20 + x)] = y < 25 ? kClear : kBlue;
    const std::wstring path = folder_ + L"\\Tall.BMP";
    writeBmp(path, 20, 50, pixels);

    const auto t = tileOf(path);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(countDifferent(t, 1, 1, 58, 26, kBackgroundPixel), 0) << t[10 * 60 + 10];
    EXPECT_EQ(countDifferent(t, 1, 33, 58, 58, kBlue), 0) << t[50 * 60 + 10];
}

TEST_F(Icons, BitmapNamedFileThatGdiCannotReadGoesThroughTheImageDecoders) {
    std::vector<Bgra> pixels(16 * 16, kGreen);
    const std::wstring path = folder_ + L"\\ReallyAPng.bmp";
    writePng(path, 16, 16, pixels);
    const auto t = tileOf(path);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(countDifferent(t, 1, 1, 58, 58, kGreen), 0);
}

TEST_F(Icons, MissingOrUnreadableLogoGivesNullAndLeavesNothingBehind) {
    const std::wstring garbagePng = folder_ + L"\\garbage.png", garbageBmp = folder_ + L"\\garbage.BMP";
    for (const auto& p : {garbagePng, garbageBmp}) {
        std::ofstream out(std::string(p.begin(), p.end()), std::ios::binary);
        out << "this is not an image at all";
    }
    const std::wstring paths[] = {folder_ + L"\\missing.png", folder_ + L"\\missing.bmp", garbagePng,
                                  garbageBmp, L""};
    const DWORD before = gdiObjects();
    for (int round = 0; round < 5; ++round)
        for (const auto& p : paths)
            EXPECT_EQ(SC_FN(GetMetroIcon)(p.c_str(), 0), nullptr) << std::string(p.begin(), p.end());
    EXPECT_EQ(SC_FN(GetMetroIcon)(nullptr, 0), nullptr);
    EXPECT_EQ(gdiObjects(), before);
}

TEST_F(Icons, TilePicturesLeaveNoGdiObjectsBehind) {
    std::vector<Bgra> pixels(64 * 64, kRed);
    const std::wstring path = folder_ + L"\\Solid.png";
    writePng(path, 64, 64, pixels);
    HBITMAP warmUp = static_cast<HBITMAP>(SC_FN(GetMetroIcon)(path.c_str(), 0));
    ASSERT_NE(warmUp, nullptr);
    DeleteObject(warmUp);
    const DWORD before = gdiObjects();
    if (before == 0)
        GTEST_SKIP() << "this system does not count GDI objects";
    for (int i = 0; i < 20; ++i) {
        HBITMAP tile = static_cast<HBITMAP>(SC_FN(GetMetroIcon)(path.c_str(), 0));
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(gdiObjects(), before + 1); // only the caller's bitmap
        DeleteObject(tile);
    }
    EXPECT_EQ(gdiObjects(), before);
}

TEST_F(Icons, FileLargeIconForAProgramAndForAPathTheShellCannotResolve) {
    for (const std::wstring& path : {ownExe(), std::wstring(L"C:\\no\\such\\folder\\file.xyz")}) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        HICON icon = static_cast<HICON>(SC_FN(GetFileLargeIcon)(path.c_str()));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        ASSERT_NE(info.hbmColor, nullptr);
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_GE(colour.bmWidth, 32);
        EXPECT_EQ(colour.bmWidth, colour.bmHeight);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_EQ(SC_FN(GetFileLargeIcon)(nullptr), nullptr);
}
