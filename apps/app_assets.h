// Finding an app's logo file: the scale-qualified and language-qualified names an app package uses.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

// Fixed text buffers of the app code, terminator included.
inline constexpr std::size_t kPathCapacity = 260;
inline constexpr std::size_t kRegistryCapacity = 1024;
inline constexpr std::size_t kNameCapacity = 256;
inline constexpr std::size_t kLanguageListCapacity = 100;

// The text as a fixed buffer of `capacity` units would hold it: cut at capacity - 1, never between
// the two halves of a surrogate pair.
std::u16string fixedText(std::u16string_view text, std::size_t capacity);

// The extension of the last path component, from its last "." ("" when there is none); a backslash
// or a space ends the search for it, as the shell's own rule has it.
std::u16string_view pathExtension(std::u16string_view path);

// The user's preferred language names, fetched from the system on first use and kept from then on;
// a failed fetch leaves the list empty and the next use tries again.
class LanguageList {
  public:
    std::vector<std::u16string> names();

  private:
    std::mutex mutex_;
    std::vector<std::u16string> names_;
};

// The process-wide list.
LanguageList& processLanguages();

// Looks for base + extension in the folder that `pathBuffer` holds, trying the scale-qualified names
// "base.scale-N.ext" from the scale that suits `hint` upwards, then downwards, then the plain name.
// Each candidate replaces the last in the buffer, so on success it holds the found file's path.
bool findScaledAsset(std::u16string& pathBuffer, std::u16string_view baseName, std::u16string_view extension,
                     int hint);

// Finds the best logo for `relativePath` under the install folder: first in each preferred language's
// sub-folder, then in the folder itself. On success fullPath is the file's path; unchanged otherwise.
bool findLocalizedAsset(LanguageList& languages, std::u16string_view installPath,
                        std::u16string_view relativePath, int sizeHint, std::u16string& fullPath);
bool findLocalizedAsset(std::u16string_view installPath, std::u16string_view relativePath, int sizeHint,
                        std::u16string& fullPath);

} // namespace sc
