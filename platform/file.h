// Whole-file access by UTF-16 path. Every open shares read, write and delete with other openers.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Reads the whole file; false if it cannot be opened.
bool readFile(std::u16string_view path, std::string& bytes);
// true if the file can be opened for reading.
bool canRead(std::u16string_view path);
// Appends bytes, creating the file if missing; false if it cannot be opened for writing.
bool appendFile(std::u16string_view path, std::string_view bytes);
// Creates or truncates the file and writes the bytes in place; false if it cannot be opened or written.
bool writeFileInPlace(std::u16string_view path, std::string_view bytes);
// Writes a temporary file beside the target and moves it over the target in one step, so readers see
// the old content or the new, never a mix. Falls back to an in-place write only when the move is
// refused while the temporary was written completely. false if nothing could be written.
bool replaceFile(std::u16string_view path, std::string_view bytes);
// Deletes the file; false if it did not exist or could not be deleted.
bool removeFile(std::u16string_view path);

}  // namespace platform
