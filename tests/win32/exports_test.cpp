// The DLL loads under Wine, exports exactly the listed names and carries the project's version.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/support/export_names.h"
#include "tests/win32/dll_loader.h"

namespace {

using sctest::listedExports;

// The names in the loaded module's export directory.
std::set<std::string> exportDirectory(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::set<std::string> names;
    if (entry.VirtualAddress == 0)
        return names;
    const auto* dir = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + dir->AddressOfNames);
    for (DWORD i = 0; i < dir->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char*>(base + nameOffsets[i]));
    return names;
}

struct Version {
    unsigned major = 0, minor = 0, patch = 0;
};

Version projectVersion() {
    Version v;
    EXPECT_EQ(std::sscanf(STROKECAST_PROJECT_VERSION, "%u.%u.%u", &v.major, &v.minor, &v.patch), 3);
    return v;
}

std::wstring widen(const char* s) {
    return std::wstring(s, s + std::strlen(s));
}

// One string of the file's version resource (US English, Unicode), or "" when it has none.
std::wstring versionString(const std::vector<BYTE>& info, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0)
        return L"";
    return std::wstring(static_cast<const wchar_t*>(value));
}

} // namespace

TEST(Dll, ExportsExactlyTheListedNames) {
    const std::set<std::string> names = listedExports();
    for (const std::string& name : names)
        EXPECT_NE(GetProcAddress(sctest::strokecastModule(), name.c_str()), nullptr) << name;
    EXPECT_EQ(exportDirectory(sctest::strokecastModule()), names);
}

TEST(Dll, ReportsTheProjectVersion) {
    const Version v = projectVersion();
    EXPECT_EQ(SC_FN(StrokecastVersion)(), v.major << 16 | v.minor << 8 | v.patch);
    EXPECT_EQ(SC_FN(StrokecastVersion)(), STROKECAST_VERSION_NUMBER);
    EXPECT_STREQ(STROKECAST_VERSION_STRING, STROKECAST_PROJECT_VERSION);
}

TEST(Dll, ShippedFilesCarryTheVersionResource) {
    const Version v = projectVersion();
    for (const wchar_t* file : {L"strokecast.dll", L"strokecast-host.exe"}) {
        SCOPED_TRACE(testing::Message() << "file " << std::string(file, file + std::wcslen(file)));
        const std::wstring path = sctest::exeFolder() + file;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u);
        std::vector<BYTE> info(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, v.major << 16 | v.minor);
        EXPECT_EQ(fixed->dwFileVersionLS, v.patch << 16);
        EXPECT_EQ(fixed->dwProductVersionMS, v.major << 16 | v.minor);
        EXPECT_EQ(fixed->dwProductVersionLS, v.patch << 16);
        EXPECT_EQ(versionString(info, L"FileVersion"), widen(STROKECAST_PROJECT_VERSION));
        EXPECT_EQ(versionString(info, L"ProductVersion"), widen(STROKECAST_PROJECT_VERSION));
        EXPECT_EQ(versionString(info, L"OriginalFilename"), file);
        EXPECT_NE(versionString(info, L"LegalCopyright").find(L"the Strokecast developers"),
                  std::wstring::npos);
        EXPECT_FALSE(versionString(info, L"FileDescription").empty());
    }
}
