// Gesture template files: UTF-16LE lines "name,x,y,x,y,..." each ended by a line feed.
#pragma once

#include <string>
#include <string_view>

#include "common/types.h"
#include "gesture/template_list.h"
#include "platform/file.h"

namespace sc {

// Separates the name from the coordinates and the coordinates from each other.
inline constexpr char16_t separateChar = u',';

// Reads template lines from a file's bytes handed over in pieces of any size, each template going into
// `target` after the others of its name, with the origin given. An odd last byte is no code unit and is
// ignored.
class TemplateReader {
  public:
    TemplateReader(GestureList& target, TemplateOrigin origin) : target_(target), origin_(origin) {}
    void read(std::string_view bytes);
    // Takes the last line, when the bytes did not end with a line feed.
    void finish();

  private:
    void readUnits(const char* bytes, std::size_t units);
    void takeLine();

    GestureList& target_;
    TemplateOrigin origin_;
    bool haveOdd_ = false; // a piece ended inside a code unit
    char odd_ = 0;         // its low byte
    std::u16string line_;  // the line being read, kept between pieces
    PointList points_;     // the line's points before they are packed
    std::vector<std::uint8_t> packing_;
};

// Appends every template of the file to `target`, read in pieces through one small buffer so that even
// a large file costs no more fresh memory than its templates; a leading byte-order mark is skipped. A
// file that cannot be read writes
// "load file fail : <path>" and leaves the target alone.
void loadGestureFile(std::u16string_view path, GestureList& target,
                     TemplateOrigin origin = TemplateOrigin::defaults);

// The same without the console line; false when the file could not be read (templates read before a
// failed read stay).
bool readGestureFile(std::u16string_view path, GestureList& target, TemplateOrigin origin);

// Reads the templates of bytes held whole, as loadGestureFile reads a file's bytes after the mark.
void parseGestureBytes(std::string_view bytes, GestureList& target,
                       TemplateOrigin origin = TemplateOrigin::defaults);

// Appends the points of "x,y,x,y,...": empty fields are skipped, a field reads like wcstol in base 10
// (no digits give 0, out-of-range values the nearest 32-bit limit), and an odd last value is dropped.
void parsePoints(std::u16string_view text, PointList& target);

// One template's line with its line feed; coordinates truncated toward zero, saturating at 32 bits.
std::u16string gestureLine(std::u16string_view name, const PointList& points);

// Appends a template's line, ending a last line left open first; false with the file unchanged when it
// could not be written. `undo` takes a successful append back.
bool appendUserGesture(std::u16string_view path, std::u16string_view name, const PointList& points,
                       platform::AppendUndo& undo);

} // namespace sc
