// Gesture template files: UTF-16LE lines "name,x,y,x,y,..." each ended by a line feed.
#pragma once

#include <string>
#include <string_view>

#include "common/types.h"
#include "platform/file.h"

namespace sc {

// Separates the name from the coordinates and the coordinates from each other.
inline constexpr char16_t separateChar = u',';

// Appends every template of the file to `target` in file order, each a new Gesture that the caller
// then owns; a leading byte-order mark is skipped. A file that cannot be read writes
// "load file fail : <path>" and leaves the target alone.
void loadGestureFile(std::u16string_view path, GestureList& target);

// Parses the templates of a whole file's text into `target`, as loadGestureFile does after reading.
void parseGestureText(std::u16string_view text, GestureList& target);

// The same over the file's bytes, UTF-16LE (an odd last byte is ignored).
void parseGestureBytes(std::string_view bytes, GestureList& target);

// Appends the points of "x,y,x,y,...": empty fields are skipped, a field reads like wcstol in base 10
// (no digits give 0, out-of-range values the nearest 32-bit limit), and an odd last value is dropped.
void parsePoints(std::u16string_view text, PointList& target);

// One template's line with its line feed; coordinates truncated toward zero, saturating at 32 bits.
std::u16string gestureLine(const Gesture& gesture);

// Appends the gesture's line, ending a last line left open first; false with the file unchanged when it
// could not be written. `undo` takes a successful append back.
bool appendUserGesture(std::u16string_view path, const Gesture& gesture, platform::AppendUndo& undo);

// With a gesture: appends its line to the file. Without: replaces the whole file by the lines of
// `userGestures` in list order, atomically. false if the file could not be written; it is then unchanged.
bool saveUserGesture(std::u16string_view path, const GestureList& userGestures, const Gesture* gesture);

// Deletes every Gesture of the list and empties it; for lists that own their templates.
void deleteGestures(GestureList& list);

} // namespace sc
