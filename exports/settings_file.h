// One file that carries a person's whole configuration: user templates, bindings, switches and custom
// actions, for moving it to another machine or keeping a copy.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"

namespace sc::settings_file {

// The first line of every settings file; the number is the format's version.
inline constexpr std::u16string_view kHeader = u"Strokecast settings 1";

struct Contents {
    std::vector<Gesture> gestures; // the user's templates, in the user file's order
    std::map<std::u16string, std::u16string, std::less<>> bindings;
    std::map<std::u16string, std::uint8_t, std::less<>> switches; // "GLOBAL" included
    std::map<std::u16string, std::u16string, std::less<>> customActions;
};

// The text of a settings file for the contents.
std::u16string format(const Contents& contents);

// Reads a settings file's text, refusing it whole at the first line the engine could not store;
// `problem` then says which line and why ("line 7: ...").
bool parse(std::u16string_view text, Contents& contents, std::u16string& problem);

// The folders' current configuration, read from their files under the folders' mutexes, exactly as
// the managers read them. false when a mutex cannot be taken.
bool collect(std::u16string_view gestureFolder, std::u16string_view actionFolder, Contents& contents);

// Writes the folders' configuration to `path` (replaced whole). false, with a last-error line, when
// the folders cannot be read or the file cannot be written.
bool exportTo(std::u16string_view path, std::u16string_view gestureFolder, std::u16string_view actionFolder);

// Replaces the folders' configuration by the file's: the whole file is checked first, then the four
// files are replaced under both folders' mutexes; if any write fails, every file gets its old bytes
// back. On success the folders' generations move on, so every process sharing them reloads. false,
// with a last-error line and nothing changed, when the file is unreadable or malformed, a mutex cannot
// be taken, or a write failed.
bool importFrom(std::u16string_view path, std::u16string_view gestureFolder,
                std::u16string_view actionFolder);

} // namespace sc::settings_file
