// Files on a POSIX system: the UTF-16 path becomes UTF-8 and a backslash is read as '/'.
#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "common/utf16.h"

namespace platform {
namespace {

std::string nativePath(std::u16string_view path) {
    std::string out = sc::utf16::toUtf8(path);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool writeWithFlags(const std::string& path, std::string_view bytes, int flags) {
    const int fd = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool ok = writeAll(fd, bytes);
    return (::close(fd) == 0) && ok;
}

}  // namespace

bool readFile(std::u16string_view path, std::string& bytes) {
    const int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // Read straight into a buffer of the file's size; a file that grows meanwhile is read on to its end.
    struct stat info {};
    std::size_t size = (::fstat(fd, &info) == 0 && info.st_size > 0) ? static_cast<std::size_t>(info.st_size) : 0;
    bytes.resize(size + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            ::close(fd);
            bytes.clear();
            return false;
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(have);
    return true;
}

bool canRead(std::u16string_view path) {
    const int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool appendFile(std::u16string_view path, std::string_view bytes) {
    return writeWithFlags(nativePath(path), bytes, O_CREAT | O_APPEND);
}

bool writeFileInPlace(std::u16string_view path, std::string_view bytes) {
    return writeWithFlags(nativePath(path), bytes, O_CREAT | O_TRUNC);
}

bool replaceFile(std::u16string_view path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const std::string target = nativePath(path);
    const std::string temp =
        target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter.fetch_add(1));
    const int fd = ::open(temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) == 0) return true;
    const bool fallback = writeWithFlags(target, bytes, O_CREAT | O_TRUNC);
    ::unlink(temp.c_str());
    return fallback;
}

bool removeFile(std::u16string_view path) { return ::unlink(nativePath(path).c_str()) == 0; }

}  // namespace platform
