// UTF-16LE text files without byte-order mark and without newline translation.
#pragma once

#include <string>
#include <string_view>

#include "platform/file.h"

namespace sc::textfile {

// Reads the whole file as code units; false if it cannot be opened. A leading byte-order mark, as
// editors write one, is skipped.
bool read(std::u16string_view path, std::u16string& text);
// Appends one or more whole lines (the text ends with a line feed); the file is created when missing.
// A last line left without its line feed is ended first. false with the file unchanged when the
// lines could not be written; `undo` then takes a successful append back.
bool append(std::u16string_view path, std::u16string_view lines, platform::AppendUndo& undo);
bool append(std::u16string_view path, std::u16string_view lines);
// Replaces the whole file atomically: readers see the old content or the new, never a mix.
bool replace(std::u16string_view path, std::u16string_view text);

// A file's bytes as they were, or that there was no file, kept to put the file back after a change that
// failed part way.
struct Snapshot {
    bool existed = false;
    std::string bytes;
};
Snapshot snapshot(std::u16string_view path);
// Puts the file back as the snapshot found it: its old bytes, or no file. false when that failed.
bool restore(std::u16string_view path, const Snapshot& before);

// The text without a leading byte-order mark.
std::u16string_view withoutByteOrderMark(std::u16string_view text);
std::string_view withoutByteOrderMark(std::string_view bytes);

} // namespace sc::textfile
