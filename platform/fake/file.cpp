// Files on a POSIX system: the UTF-16 path becomes UTF-8 and a backslash is read as '/'.
#include "platform/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "common/append_closing.h"
#include "common/utf16.h"
#include "platform/error.h"

namespace platform {
namespace {

std::string nativePath(std::u16string_view path) {
    std::string out = sc::utf16::toUtf8(path);
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Owns a descriptor for one operation.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

} // namespace

bool readFile(std::u16string_view path, std::string& bytes) {
    Descriptor fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return failed(u"cannot read", path);
    // Read straight into a buffer of the file's size; a file that grows meanwhile is read on to its end.
    struct stat info {};
    std::size_t size =
        (::fstat(fd.get(), &info) == 0 && info.st_size > 0) ? static_cast<std::size_t>(info.st_size) : 0;
    bytes.resize(size + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd.get(), bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            bytes.clear();
            return failed(u"cannot read", path);
        }
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    bytes.resize(have);
    return true;
}

bool readFilePieces(std::u16string_view path, std::size_t pieceSize,
                    const std::function<void(std::string_view)>& piece) {
    Descriptor fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return failed(u"cannot read", path);
    std::string buffer(pieceSize, '\0');
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0)
            return failed(u"cannot read", path);
        if (n == 0)
            return true;
        piece(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
}

bool canRead(std::u16string_view path) {
    const int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool appendFile(std::u16string_view path, std::string_view bytes, std::string_view terminator,
                AppendUndo& undo) {
    const std::string target = nativePath(path);
    undo = {};
    int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        fd = ::open(target.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        undo.created = fd >= 0;
        if (fd < 0)
            fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC); // made by someone else meanwhile
    }
    Descriptor file(fd);
    if (!file)
        return failed(u"cannot write", path);
    const off_t length = ::lseek(file.get(), 0, SEEK_END);
    if (length < 0)
        return false;
    undo.length = static_cast<std::uint64_t>(length);
    const sc::AppendClosing closing =
        sc::appendClosing(length, terminator, [&](std::int64_t offset, std::string& tail) {
            return ::pread(file.get(), tail.data(), tail.size(), offset) == static_cast<ssize_t>(tail.size());
        });
    undo.cut.resize(static_cast<std::size_t>(closing.cut));
    if (closing.cut > 0 &&
        ::pread(file.get(), undo.cut.data(), undo.cut.size(), length - closing.cut) != closing.cut)
        return false;
    std::string record = closing.prefix;
    record += bytes;
    if (::lseek(file.get(), length - closing.cut, SEEK_SET) >= 0 &&
        ::ftruncate(file.get(), length - closing.cut) == 0 && writeAll(file.get(), record) && file.close())
        return true;
    failed(u"cannot write", path);
    // A full disk or a size limit can take part of the record: put the old end back so the next record
    // starts where this one would have.
    if (undo.created) {
        ::unlink(target.c_str());
        return false;
    }
    undoAppend(path, undo);
    return false;
}

bool undoAppend(std::u16string_view path, const AppendUndo& undo) {
    const std::string target = nativePath(path);
    if (undo.created)
        return ::unlink(target.c_str()) == 0;
    const auto whole = static_cast<off_t>(undo.length - undo.cut.size());
    Descriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    return file && ::ftruncate(file.get(), whole) == 0 &&
           ::pwrite(file.get(), undo.cut.data(), undo.cut.size(), whole) ==
               static_cast<ssize_t>(undo.cut.size()) &&
           file.close();
}

bool writeFileInPlace(std::u16string_view path, std::string_view bytes) {
    // Written over the old bytes and cut to length afterwards, never emptied first: a writer stopped
    // half way leaves more than nothing.
    Descriptor file(::open(nativePath(path).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    if (!file)
        return failed(u"cannot write", path);
    const bool ok =
        writeAll(file.get(), bytes) && ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) == 0;
    return (file.close() && ok) || failed(u"cannot write", path);
}

bool replaceFile(std::u16string_view path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const std::string target = nativePath(path);
    // A leftover of a dead process with the same id may hold a name: take the next free one.
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 1000; ++attempt) {
        temp = target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter.fetch_add(1));
        fd = ::open(temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            return failed(u"cannot write", path);
    }
    Descriptor file(fd);
    if (!file)
        return failed(u"cannot write", path);
    bool ok = writeAll(file.get(), bytes) && ::fsync(file.get()) == 0;
    ok = file.close() && ok;
    if (!ok) {
        failed(u"cannot write", path);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) == 0)
        return true;
    const bool fallback = writeFileInPlace(path, bytes);
    ::unlink(temp.c_str());
    return fallback;
}

void removeStaleTemporaries(std::u16string_view path) {
    const std::string target = nativePath(path);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    const std::string prefix = (slash == std::string::npos ? target : target.substr(slash + 1)) + ".tmp";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix)
            ::unlink((folder + "/" + std::string(name)).c_str());
    }
    ::closedir(dir);
}

bool removeFile(std::u16string_view path) {
    return ::unlink(nativePath(path).c_str()) == 0;
}

std::u16string absolutePath(std::u16string_view path) {
    const std::string native = nativePath(path);
    // Every spelling of an existing folder gives the same answer, so processes agree on its name.
    if (char* resolved = ::realpath(native.c_str(), nullptr)) {
        std::u16string out = sc::utf16::fromUtf8(resolved);
        std::free(resolved);
        return out;
    }
    if (!native.empty() && native.front() == '/')
        return sc::utf16::fromUtf8(native);
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr)
        return std::u16string(path);
    return sc::utf16::fromUtf8(std::string(cwd) + "/" + native);
}

} // namespace platform
