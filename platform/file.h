// Whole-file access by UTF-16 path. Every open shares read, write and delete with other openers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Reads the whole file; false if it cannot be opened.
bool readFile(std::u16string_view path, std::string& bytes);
// Reads the file through one buffer of `pieceSize` bytes, reused for every read, and hands each read's
// bytes to `piece` in order; false if the file cannot be opened or a read fails.
bool readFilePieces(std::u16string_view path, std::size_t pieceSize,
                    const std::function<void(std::string_view)>& piece);
// true if the file can be opened for reading.
bool canRead(std::u16string_view path);

// What an append changed, so that a later failure can take it back exactly.
struct AppendUndo {
    bool created = false;     // the append made the file
    std::uint64_t length = 0; // the file's length before the append
    std::string cut;          // bytes of a partial unit the append took off the end
};
// Appends bytes as a new record, creating the file if missing. A partial unit at the end (a length
// that is no multiple of the terminator's size, which no reader sees) is taken off, and when the file
// then does not end with `terminator`, the terminator goes first: the new record never continues a
// line left open by a crash or an editor, and no earlier record changes.
// false when nothing could be written; a write that failed part way is cut back, so the file is
// then exactly as it was.
bool appendFile(std::u16string_view path, std::string_view bytes, std::string_view terminator,
                AppendUndo& undo);
// Takes back an append that succeeded: the file gets its old length again, or goes if it made it.
bool undoAppend(std::u16string_view path, const AppendUndo& undo);
// Creates or truncates the file and writes the bytes in place; false if it cannot be opened or written.
bool writeFileInPlace(std::u16string_view path, std::string_view bytes);
// Writes a temporary file beside the target and moves it over the target in one step, so readers see
// the old content or the new, never a mix. Falls back to an in-place write only when the move is
// refused while the temporary was written completely. false if nothing could be written; the file is
// then unchanged and no temporary is left behind.
bool replaceFile(std::u16string_view path, std::string_view bytes);
// Deletes the temporaries that replaceFile leaves beside `path` when a writer dies before its move.
// Only safe while no other writer of that file can be between its write and its move.
void removeStaleTemporaries(std::u16string_view path);
// Deletes the file; false if it did not exist or could not be deleted.
bool removeFile(std::u16string_view path);
// The path made absolute against the current folder, for naming what belongs to a folder.
std::u16string absolutePath(std::u16string_view path);

} // namespace platform
