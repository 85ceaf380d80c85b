// The named mutex and generation counter of a configuration folder.
#include "files/shared_folder.h"

#include "common/console.h"
#include "common/fnv.h"
#include "common/utf16.h"
#include "platform/file.h"

namespace sc {

MutexHold::MutexHold(platform::MutexId mutex) : mutex_(mutex) {
    if (mutex_ == 0)
        return;
    const platform::MutexWait result = platform::waitForMutex(mutex_);
    owned_ = result != platform::MutexWait::Failed;
    if (result == platform::MutexWait::Abandoned)
        trace::line(u"a configuration mutex was abandoned; taking it");
}

MutexHold::~MutexHold() {
    if (owned_)
        platform::releaseMutex(mutex_);
}

SharedFolder::SharedFolder(std::u16string_view mutexName, std::u16string_view kind,
                           std::u16string_view folder)
    : mutex_(platform::createNamedMutex(mutexName)),
      counter_(platform::openSharedCounter(folderObjectName(std::u16string(kind) + u"-generation", folder),
                                           folder)) {}

SharedFolder::~SharedFolder() {
    platform::closeSharedCounter(counter_);
    if (mutex_ != 0)
        platform::closeMutex(mutex_);
}

std::u16string folderObjectName(std::u16string_view kind, std::u16string_view folder) {
    std::u16string path = platform::absolutePath(folder);
    for (char16_t& c : path)
        c = c == u'/' ? u'\\' : utf16::asciiUpper(c);
    while (path.size() > 1 && path.back() == u'\\')
        path.pop_back();
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    const std::uint32_t hash = fnvHash(path);
    std::u16string name = u"strokecast-" + std::u16string(kind) + u"-";
    for (int shift = 28; shift >= 0; shift -= 4)
        name += kDigits[(hash >> shift) & 0xF];
    return name;
}

} // namespace sc
