// Files through CreateFileW, shared for read, write and delete with every other opener.
#include "platform/file.h"

#include <windows.h>

#include <algorithm>

#include <atomic>

#include "platform/win32/handles.h"

namespace platform {
namespace {

using win32::UniqueFile;
using win32::wide;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

UniqueFile openFile(const std::wstring& path, DWORD access, DWORD disposition, DWORD flags = 0) {
    return UniqueFile(CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL | flags, nullptr));
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

bool readFile(std::u16string_view path, std::string& bytes) {
    UniqueFile file = openFile(wide(path), GENERIC_READ, OPEN_EXISTING);
    if (!file) return false;
    // Read straight into a buffer of the file's size; a file that grows meanwhile is read on to its end.
    LARGE_INTEGER size{};
    const bool sized = GetFileSizeEx(file.get(), &size) && size.QuadPart > 0;
    bytes.resize(sized ? static_cast<size_t>(size.QuadPart) + 1 : 65536);
    size_t have = 0;
    for (;;) {
        if (have == bytes.size()) bytes.resize(bytes.size() * 2);
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - have, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + have, want, &got, nullptr)) {
            bytes.clear();
            return false;
        }
        if (got == 0) break;
        have += got;
    }
    bytes.resize(have);
    return true;
}

bool canRead(std::u16string_view path) { return static_cast<bool>(openFile(wide(path), GENERIC_READ, OPEN_EXISTING)); }

bool appendFile(std::u16string_view path, std::string_view bytes) {
    UniqueFile file = openFile(wide(path), FILE_APPEND_DATA, OPEN_ALWAYS);
    return file && writeAll(file.get(), bytes);
}

bool writeFileInPlace(std::u16string_view path, std::string_view bytes) {
    UniqueFile file = openFile(wide(path), GENERIC_WRITE, CREATE_ALWAYS);
    return file && writeAll(file.get(), bytes);
}

bool replaceFile(std::u16string_view path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const std::wstring target = wide(path);
    const std::wstring temp = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                              std::to_wstring(counter.fetch_add(1));
    {
        UniqueFile file = openFile(temp, GENERIC_WRITE, CREATE_NEW, FILE_FLAG_WRITE_THROUGH);
        if (!file) return false;
        if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            file.reset();
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    // The replace can be refused (for example while another process holds the target without delete
    // sharing); the complete temporary proves the bytes fit on the disk, so an in-place rewrite is safe.
    const bool fallback = writeFileInPlace(path, bytes);
    DeleteFileW(temp.c_str());
    return fallback;
}

bool removeFile(std::u16string_view path) { return DeleteFileW(wide(path).c_str()) != 0; }

}  // namespace platform
