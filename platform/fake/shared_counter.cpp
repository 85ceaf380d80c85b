// The shared counter as eight bytes of a file in the folder, mapped by every process that opens it.
#include "platform/shared_counter.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>

#include "common/utf16.h"

namespace platform {
namespace {

std::atomic_ref<std::uint64_t> counterAt(CounterId counter) {
    return std::atomic_ref<std::uint64_t>(*reinterpret_cast<std::uint64_t*>(counter));
}

} // namespace

CounterId openSharedCounter(std::u16string_view name, std::u16string_view folder) {
    std::string path = sc::utf16::toUtf8(folder);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    path += "/." + sc::utf16::toUtf8(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return 0;
    // Growing a new file to eight bytes gives zeros; a second opener doing the same changes nothing. The
    // blocks are taken now: a page mapped over a hole on a full disk would fault on its first write.
    const bool sized = ::posix_fallocate(fd, 0, 8) == 0;
    void* view = sized ? ::mmap(nullptr, 8, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
    ::close(fd);
    return view == MAP_FAILED ? 0 : reinterpret_cast<CounterId>(view);
}

std::uint64_t readSharedCounter(CounterId counter) {
    return counter == 0 ? 0 : counterAt(counter).load(std::memory_order_acquire);
}

std::uint64_t incrementSharedCounter(CounterId counter) {
    return counter == 0 ? 0 : counterAt(counter).fetch_add(1, std::memory_order_acq_rel) + 1;
}

void closeSharedCounter(CounterId counter) {
    if (counter != 0)
        ::munmap(reinterpret_cast<void*>(counter), 8);
}

} // namespace platform
