// Logo search over language folders and scale-qualified names.
#include "apps/app_assets.h"

#include <algorithm>
#include <array>

#include "common/buffer.h"
#include "common/utf16.h"
#include "platform/catalog.h"

namespace sc {

std::u16string fixedText(std::u16string_view text, std::size_t capacity) {
    return std::u16string(boundedPrefix(text, capacity));
}

std::u16string_view pathExtension(std::u16string_view path) {
    std::size_t dot = std::u16string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == u'\\' || path[i] == u' ')
            dot = std::u16string_view::npos;
        else if (path[i] == u'.')
            dot = i;
    }
    return dot == std::u16string_view::npos ? std::u16string_view() : path.substr(dot);
}

std::vector<std::u16string> LanguageList::names() {
    std::lock_guard lock(mutex_);
    if (names_.empty()) {
        std::u16string list;
        if (platform::preferredLanguages(kLanguageListCapacity, list)) {
            // NUL-separated names, the list ended by an empty one (or by the end of the buffer).
            for (std::size_t start = 0; start < list.size();) {
                const std::size_t end = std::min(list.find(u'\0', start), list.size());
                if (end == start)
                    break;
                names_.emplace_back(list.substr(start, end - start));
                start = end + 1;
            }
        }
    }
    return names_;
}

LanguageList& processLanguages() {
    static LanguageList languages;
    return languages;
}

namespace {

constexpr std::array<int, 4> kScales = {80, 100, 140, 180};

std::size_t startScaleIndex(int hint) {
    if (hint <= 24)
        return 0;
    if (hint <= 30)
        return 1;
    if (hint <= 42)
        return 2;
    return 3;
}

} // namespace

bool findScaledAsset(std::u16string& pathBuffer, std::u16string_view baseName, std::u16string_view extension,
                     int hint) {
    const std::u16string folder = pathBuffer;
    auto tryCandidate = [&](std::u16string_view name) {
        pathBuffer = fixedText(folder + u"\\" + std::u16string(name), kPathCapacity);
        return platform::fileExists(pathBuffer);
    };
    const std::u16string base(baseName);
    const std::u16string ext(extension);
    auto scaled = [&](std::size_t index) { return base + u".scale-" + utf16::fromInt(kScales[index]) + ext; };

    const std::size_t start = startScaleIndex(hint);
    for (std::size_t i = start; i < kScales.size(); ++i)
        if (tryCandidate(scaled(i)))
            return true;
    for (std::size_t i = start; i-- > 0;)
        if (tryCandidate(scaled(i)))
            return true;
    return tryCandidate(base + ext);
}

bool findLocalizedAsset(LanguageList& languages, std::u16string_view installPath,
                        std::u16string_view relativePath, int sizeHint, std::u16string& fullPath) {
    const std::u16string_view extension = pathExtension(relativePath);
    const std::u16string_view baseName = relativePath.substr(0, relativePath.size() - extension.size());
    std::u16string buffer;
    bool found = false;
    for (const std::u16string& language : languages.names()) {
        buffer = fixedText(std::u16string(installPath) + u"\\" + language, kPathCapacity);
        if ((found = findScaledAsset(buffer, baseName, extension, sizeHint - 2)))
            break;
    }
    if (!found) {
        buffer = fixedText(installPath, kPathCapacity);
        found = findScaledAsset(buffer, baseName, extension, sizeHint - 2);
    }
    if (found)
        fullPath = buffer;
    return found;
}

bool findLocalizedAsset(std::u16string_view installPath, std::u16string_view relativePath, int sizeHint,
                        std::u16string& fullPath) {
    return findLocalizedAsset(processLanguages(), installPath, relativePath, sizeHint, fullPath);
}

} // namespace sc
