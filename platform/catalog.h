// What the modern-app catalogue asks of the system: folders, shortcut properties, the app repository
// in the registry, shell names, preferred languages and the COM apartment of the calling thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Joins the calling thread to a single-threaded COM apartment for the object's life; it leaves only if
// its own join succeeded, so the thread's COM state is as it was found.
class ApartmentScope {
  public:
    ApartmentScope();
    ~ApartmentScope();
    ApartmentScope(const ApartmentScope&) = delete;
    ApartmentScope& operator=(const ApartmentScope&) = delete;

  private:
    bool joined_ = false;
};

// Replaces %NAME% references in place, within a buffer of `capacity` units (terminator included).
// false when the result would not fit; the text then stays as it was. Unknown names stay as written.
bool expandEnvironment(std::u16string& text, std::size_t capacity);

struct FolderEntry {
    std::u16string name;
    bool isDirectory = false;
};
// The entries matching a wildcard pattern ("C:\x\*.lnk"), in the order the file system gives them;
// empty when nothing matches or the folder is missing.
std::vector<FolderEntry> findFiles(std::u16string_view pattern);

// true when the file's standard attributes can be queried.
bool canQueryAttributes(std::u16string_view path);
// true when the file or folder exists.
bool fileExists(std::u16string_view path);

// The text upper-cased the way the system's user interface does it (a linguistic-free mapping).
std::u16string upperCase(std::u16string_view text);

// One shell property as it was stored: a string, a 32-bit integer, nothing, or some other kind.
struct PropertyValue {
    enum class Type { Empty, Text, Int32, Other };
    Type type = Type::Empty;
    std::u16string text;      // for Text
    std::uint32_t number = 0; // for Int32 (signed values keep their bits)
};

// The five properties of an app shortcut, in the order they are read.
struct ShortcutProperties {
    PropertyValue appId;       // System.AppUserModel.ID
    PropertyValue package;     // System.AppUserModel.PackageFullName
    PropertyValue installPath; // System.AppUserModel.PackageInstallPath
    PropertyValue smallLogo;   // System.Tile.SmallLogoPath
    PropertyValue background;  // System.Tile.Background
};
// Loads the shortcut and reads its five properties; false when the shortcut cannot be loaded, has no
// property store, or one read fails. Uses COM as the calling thread has it.
bool readShortcutProperties(std::u16string_view path, ShortcutProperties& properties);

enum class RegistryRead {
    NoKey,   // the key cannot be opened for reading
    NoValue, // the key opened, but the value is missing or not a usable string
    Value,   // the value was read
};
// Reads a string value (REG_SZ or REG_EXPAND_SZ, unexpanded, at most `capacity` units with its
// terminator, which it must carry) from a key under the current user's hive.
RegistryRead readUserString(std::u16string_view keyPath, std::u16string_view valueName, std::size_t capacity,
                            std::u16string& value);

// Resolves an indirect string ("@{...}" or "@file,-id") into its text, at most `capacity` units with
// the terminator; a plain text comes back unchanged. false when it cannot be resolved.
bool loadIndirectString(std::u16string_view source, std::size_t capacity, std::u16string& text);

// The shell's normal display name of a file; false when the shell cannot name it.
bool shellDisplayName(std::u16string_view path, std::u16string& name);

// The thread's preferred user-interface language names ("en-US"), each followed by a NUL and the list
// ended by an empty name, in at most `capacity` units; false when they cannot be had or do not fit.
bool preferredLanguages(std::size_t capacity, std::u16string& names);

} // namespace platform
