// Loading the engine library and the host's text conversions.
#include "host/library.h"

#include <cstdlib>
#include <sys/stat.h>
#include <vector>

#include "common/utf16.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#endif

namespace host {

text fromUtf8(const std::string& s) {
    const std::u16string u = sc::utf16::fromUtf8(s);
    return text(u.begin(), u.end());
}

std::string toUtf8(const sc_char* s) {
    std::u16string u;
    for (; s && *s; ++s)
        u += static_cast<char16_t>(*s);
    return sc::utf16::toUtf8(u);
}

std::string toUtf8(const text& s) {
    return toUtf8(s.c_str());
}

static bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

#ifdef _WIN32
std::string exeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    folder = folder.substr(0, folder.find_last_of(L'\\') + 1);
    return toUtf8(text(folder.begin(), folder.end()));
}

static void* openModule(const std::string& file, std::string& error) {
    HMODULE module = LoadLibraryW(fromUtf8(file).c_str());
    if (!module)
        error = "cannot load " + file + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(module);
}

static void* findSymbol(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

static const char* const kLibraryName = "strokecast.dll";

std::string defaultUserFolder() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    std::wstring base = appData ? appData : L".";
    std::wstring folder = base + L"\\Strokecast";
    CreateDirectoryW(folder.c_str(), nullptr);
    return toUtf8(text(folder.begin(), folder.end()));
}
#else
std::string exeFolder() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::string folder = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string("./x");
    return folder.substr(0, folder.find_last_of('/') + 1);
}

static void* openModule(const std::string& file, std::string& error) {
    void* module = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        error = std::string("cannot load library: ") + ::dlerror();
    return module;
}

static void* findSymbol(void* module, const char* name) {
    return ::dlsym(module, name);
}

static const char* const kLibraryName = "libstrokecast.so";

std::string defaultUserFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string base = xdg && *xdg ? xdg : std::string(home ? home : ".") + "/.config";
    ::mkdir(base.c_str(), 0755);
    const std::string folder = base + "/strokecast";
    ::mkdir(folder.c_str(), 0755);
    return folder;
}
#endif

// Candidates in order: the given path; else beside the executable (a build or a Windows install), then
// the installed tree's library folder (a native install, where the host sits in bin/ and the library in
// lib/).
static std::vector<std::string> libraryCandidates(const std::string& path) {
    if (!path.empty())
        return {path};
    std::vector<std::string> files{exeFolder() + kLibraryName};
#ifndef _WIN32
    files.push_back(exeFolder() + STROKECAST_HOST_TO_LIB "/" + kLibraryName + "." STROKECAST_SOVERSION);
#endif
    return files;
}

bool loadLibrary(Library& lib, const std::string& path, std::string& error) {
    void* module = nullptr;
    for (const std::string& file : libraryCandidates(path)) {
        if (!path.empty() || exists(file)) {
            lib.path = file;
            module = openModule(file, error);
            break;
        }
    }
    if (lib.path.empty())
        error = std::string("cannot find ") + kLibraryName + " beside " + exeFolder();
    if (!module)
        return false;
#define STROKECAST_LOAD(result, name, parameters)                                                            \
    lib.name = reinterpret_cast<StrokecastFn_##name>(findSymbol(module, #name));                             \
    if (!lib.name) {                                                                                         \
        error = lib.path + " does not export " #name;                                                        \
        return false;                                                                                        \
    }
    STROKECAST_EXPORT_LIST(STROKECAST_LOAD)
#undef STROKECAST_LOAD
    return true;
}

std::string defaultTemplateFile() {
    const std::string beside = exeFolder() + "default_gestures.configure";
    if (exists(beside))
        return beside;
    const std::string installed = exeFolder() + STROKECAST_HOST_TO_DATA "/default_gestures.configure";
    if (exists(installed))
        return installed;
    return std::string(STROKECAST_SOURCE_DIR) + "/data/default_gestures.configure";
}

} // namespace host
