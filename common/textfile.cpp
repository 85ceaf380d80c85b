// UTF-16LE text files over the platform's whole-file access.
#include "common/textfile.h"

#include "common/utf16.h"
#include "platform/file.h"

namespace sc::textfile {

bool read(std::u16string_view path, std::u16string& text) {
    std::string bytes;
    if (!platform::readFile(path, bytes)) return false;
    text = utf16::fromBytes(bytes);
    return true;
}

bool append(std::u16string_view path, std::u16string_view text) {
    return platform::appendFile(path, utf16::toBytes(text));
}

bool replace(std::u16string_view path, std::u16string_view text) {
    return platform::replaceFile(path, utf16::toBytes(text));
}

}  // namespace sc::textfile
