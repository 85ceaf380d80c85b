// Steering the fake catalogue platform from tests: a small file tree, environment, registry,
// shortcut properties and shell answers, and a record of what was asked.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/catalog.h"

namespace platform::fake {

struct CatalogState {
    // Names are matched case-insensitively (ASCII), as the file system and environment do.
    std::map<std::u16string, std::u16string> environment;
    // Files and folders by full path, in the order the enumeration gives them.
    struct Entry {
        std::u16string path;
        bool isDirectory = false;
    };
    std::vector<Entry> entries;
    std::set<std::u16string> unqueryable; // exist, but their attributes cannot be queried
    // Shortcut path -> its properties; a path without an entry cannot be loaded, nullopt fails a read.
    std::map<std::u16string, std::optional<ShortcutProperties>> shortcuts;
    // Key path -> value name -> value; nullopt is a value of the wrong type.
    std::map<std::u16string, std::map<std::u16string, std::optional<std::u16string>>> registry;
    // "@..." sources that resolve; other "@" sources fail, plain texts come back unchanged.
    std::map<std::u16string, std::u16string> indirectStrings;
    std::map<std::u16string, std::u16string> shellNames; // file path -> shell display name
    std::optional<std::u16string> languages;             // NUL-separated list; nullopt fails the call

    // What was asked.
    int apartmentJoins = 0;
    int apartmentLeaves = 0;
    int languageCalls = 0;
    std::vector<std::u16string> existenceChecks; // every fileExists path, in order
    std::vector<std::u16string> registryOpens;   // every key path tried

    void addFolder(const std::u16string& path) { entries.push_back({path, true}); }
    void addFile(const std::u16string& path) { entries.push_back({path, false}); }
};

CatalogState& catalogState();
void resetCatalog();

} // namespace platform::fake
