// The catalogue of installed modern apps, read from the system's app shortcuts and app repository.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "apps/app_assets.h"

namespace sc {

// One app. A complete record has a non-empty appId, package and installPath; a failed one (its shortcut
// could not be read through) has every text empty and background 0.
struct MetroAppRecord {
    std::u16string appId;
    std::u16string displayName;
    std::u16string package;
    std::u16string installPath;
    std::u16string iconPath;      // the chosen logo file; empty when none was found
    std::uint32_t background = 0; // the tile colour as stored
};

// The key of a shortcut: the FNV-1a hash of its path as a 260-unit buffer holds it, upper-cased.
std::uint32_t shortcutKey(std::u16string_view path);

// The shortcut files of the current user's apps: "*.lnk" in each folder directly under
// "%LOCALAPPDATA%\Microsoft\Windows\Application Shortcuts", in enumeration order.
std::vector<std::u16string> findShortcutFiles();

// Records by key, ascending. Every operation takes the catalogue's lock, so host threads may call
// in at the same time; a reader sees the content of one whole refresh.
class MetroAppCatalog {
  public:
    explicit MetroAppCatalog(LanguageList& languages = processLanguages()) : languages_(languages) {}

    // Rebuilds the catalogue from the shortcut folder and gives its keys in unsigned decimal, one per
    // line, in one step.
    std::u16string refreshAndListKeys();
    // A record's id, display name, logo path and colour, one per line; false for an unknown key.
    bool infoText(std::uint32_t key, std::u16string& text) const;
    // A copy of one record; false for an unknown key.
    bool record(std::uint32_t key, MetroAppRecord& out) const;
    std::size_t size() const;

  private:
    void refreshLocked();
    std::u16string keyListLocked() const;
    // Reads one shortcut into the catalogue. A file that cannot be queried stores nothing; a failed build
    // leaves an empty record under its key.
    void buildRecord(std::u16string_view path);

    LanguageList& languages_;
    mutable std::mutex mutex_;
    std::map<std::uint32_t, MetroAppRecord> records_;
};

} // namespace sc
