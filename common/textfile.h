// UTF-16LE text files without byte-order mark and without newline translation.
#pragma once

#include <string>
#include <string_view>

namespace sc::textfile {

// Reads the whole file as code units; false if it cannot be opened. A byte-order mark stays in the text.
bool read(std::u16string_view path, std::u16string& text);
// Appends the text's code units; the file is created when missing.
bool append(std::u16string_view path, std::u16string_view text);
// Replaces the whole file atomically: readers see the old content or the new, never a mix.
bool replace(std::u16string_view path, std::u16string_view text);

}  // namespace sc::textfile
