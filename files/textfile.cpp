// UTF-16LE text files over the platform's whole-file access.
#include "files/textfile.h"

#include "common/utf16.h"

namespace sc::textfile {

namespace {
constexpr std::string_view kLineFeedBytes("\n\0", 2);
}

std::u16string_view withoutByteOrderMark(std::u16string_view text) {
    if (!text.empty() && text.front() == u'\uFEFF')
        text.remove_prefix(1);
    return text;
}

std::string_view withoutByteOrderMark(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        bytes.remove_prefix(2);
    return bytes;
}

bool read(std::u16string_view path, std::u16string& text) {
    std::string bytes;
    if (!platform::readFile(path, bytes))
        return false;
    text = utf16::fromBytes(withoutByteOrderMark(bytes));
    return true;
}

bool append(std::u16string_view path, std::u16string_view lines, platform::AppendUndo& undo) {
    return platform::appendFile(path, utf16::toBytes(lines), kLineFeedBytes, undo);
}

bool append(std::u16string_view path, std::u16string_view lines) {
    platform::AppendUndo undo;
    return append(path, lines, undo);
}

bool replace(std::u16string_view path, std::u16string_view text) {
    return platform::replaceFile(path, utf16::toBytes(text));
}

Snapshot snapshot(std::u16string_view path) {
    Snapshot taken;
    taken.existed = platform::readFile(path, taken.bytes);
    return taken;
}

bool restore(std::u16string_view path, const Snapshot& before) {
    if (!before.existed)
        return platform::removeFile(path) || !platform::canRead(path);
    // An in-place write when the move is refused: putting the old bytes back matters more than atomicity.
    return platform::replaceFile(path, before.bytes) || platform::writeFileInPlace(path, before.bytes);
}

} // namespace sc::textfile
