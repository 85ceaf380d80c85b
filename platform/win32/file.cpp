// Files through CreateFileW, shared for read, write and delete with every other opener.
#include "platform/file.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "common/append_closing.h"
#include "platform/error.h"
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
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool readAt(HANDLE file, LONGLONG offset, std::string& bytes) {
    LARGE_INTEGER at{};
    at.QuadPart = offset;
    DWORD got = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
           ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
           got == bytes.size();
}

bool truncateAt(HANDLE file, LONGLONG length) {
    LARGE_INTEGER at{};
    at.QuadPart = length;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

} // namespace

bool readFile(std::u16string_view path, std::string& bytes) {
    UniqueFile file = openFile(wide(path), GENERIC_READ, OPEN_EXISTING);
    if (!file)
        return failed(u"cannot read", path);
    // Read straight into a buffer of the file's size; a file that grows meanwhile is read on to its end.
    LARGE_INTEGER size{};
    const bool sized = GetFileSizeEx(file.get(), &size) && size.QuadPart > 0;
    bytes.resize(sized ? static_cast<size_t>(size.QuadPart) + 1 : 65536);
    size_t have = 0;
    for (;;) {
        if (have == bytes.size())
            bytes.resize(bytes.size() * 2);
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - have, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + have, want, &got, nullptr)) {
            failed(u"cannot read", path);
            bytes.clear();
            return false;
        }
        if (got == 0)
            break;
        have += got;
    }
    bytes.resize(have);
    return true;
}

bool readFilePieces(std::u16string_view path, std::size_t pieceSize,
                    const std::function<void(std::string_view)>& piece) {
    UniqueFile file = openFile(wide(path), GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file)
        return failed(u"cannot read", path);
    std::string buffer(std::min<size_t>(pieceSize, 1u << 30), '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
            return failed(u"cannot read", path);
        if (got == 0)
            return true;
        piece(std::string_view(buffer.data(), got));
    }
}

bool canRead(std::u16string_view path) {
    return static_cast<bool>(openFile(wide(path), GENERIC_READ, OPEN_EXISTING));
}

bool appendFile(std::u16string_view path, std::string_view bytes, std::string_view terminator,
                AppendUndo& undo) {
    const std::wstring target = wide(path);
    undo = {};
    UniqueFile file = openFile(target, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    if (!file) {
        file = openFile(target, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
        undo.created = static_cast<bool>(file);
        if (!file)
            file = openFile(target, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING); // made meanwhile
    }
    if (!file)
        return failed(u"cannot write", path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return false;
    undo.length = static_cast<std::uint64_t>(size.QuadPart);
    const sc::AppendClosing closing =
        sc::appendClosing(size.QuadPart, terminator, [&](std::int64_t offset, std::string& tail) {
            return readAt(file.get(), offset, tail);
        });
    undo.cut.resize(static_cast<std::size_t>(closing.cut));
    if (closing.cut > 0 && !readAt(file.get(), size.QuadPart - closing.cut, undo.cut))
        return false;
    const std::string record = closing.prefix + std::string(bytes);
    if (truncateAt(file.get(), size.QuadPart - closing.cut) && writeAll(file.get(), record))
        return true;
    failed(u"cannot write", path);
    // A full disk can take part of the record: put the old end back so the next record starts where
    // this one would have.
    if (undo.created) {
        file.reset();
        DeleteFileW(target.c_str());
        return false;
    }
    file.reset();
    undoAppend(path, undo);
    return false;
}

bool undoAppend(std::u16string_view path, const AppendUndo& undo) {
    const std::wstring target = wide(path);
    if (undo.created)
        return DeleteFileW(target.c_str()) != 0;
    UniqueFile file = openFile(target, GENERIC_WRITE, OPEN_EXISTING);
    return file && truncateAt(file.get(), static_cast<LONGLONG>(undo.length - undo.cut.size())) &&
           writeAll(file.get(), undo.cut);
}

bool writeFileInPlace(std::u16string_view path, std::string_view bytes) {
    // Written over the old bytes and cut to length afterwards, never emptied first: a writer stopped
    // half way leaves more than nothing.
    UniqueFile file = openFile(wide(path), GENERIC_WRITE, OPEN_ALWAYS);
    return (file && writeAll(file.get(), bytes) && SetEndOfFile(file.get())) || failed(u"cannot write", path);
}

bool replaceFile(std::u16string_view path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const std::wstring target = wide(path);
    // A leftover of a dead process with the same id (ids are reused) may hold a name: take the next one.
    std::wstring temp;
    UniqueFile file;
    for (int attempt = 0; !file && attempt < 1000; ++attempt) {
        temp = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"_" +
               std::to_wstring(counter.fetch_add(1));
        file = openFile(temp, GENERIC_WRITE, CREATE_NEW, FILE_FLAG_WRITE_THROUGH);
        if (!file && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return failed(u"cannot write", path);
    }
    if (!file)
        return failed(u"cannot write", path);
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
        failed(u"cannot write", path);
        file.reset();
        DeleteFileW(temp.c_str());
        return false;
    }
    file.reset();
    // A reader that has the target open (an indexer, a virus scanner) refuses the move for a moment:
    // try again briefly before settling for an in-place write.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (GetLastError() != ERROR_ACCESS_DENIED && GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        Sleep(5);
    }
    // The replace can be refused (for example while another process holds the target without delete
    // sharing); the complete temporary proves the bytes fit on the disk, so an in-place rewrite is safe.
    const bool fallback = writeFileInPlace(path, bytes);
    DeleteFileW(temp.c_str());
    return fallback;
}

void removeStaleTemporaries(std::u16string_view path) {
    const std::wstring target = wide(path);
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((target + L".tmp*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool removeFile(std::u16string_view path) {
    return DeleteFileW(wide(path).c_str()) != 0;
}

std::u16string absolutePath(std::u16string_view path) {
    const std::wstring relative = wide(path);
    const DWORD size = GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return std::u16string(path);
    std::wstring full(size, L'\0');
    const DWORD written = GetFullPathNameW(relative.c_str(), size, full.data(), nullptr);
    if (written == 0 || written >= size)
        return std::u16string(path);
    full.resize(written);
    return std::u16string(full.begin(), full.end());
}

} // namespace platform
