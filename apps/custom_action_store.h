// The user's custom actions: launch targets keyed by the action text a gesture is bound to.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

inline constexpr std::u16string_view kMetroPrefix = u"METRO:\\";
inline constexpr std::u16string_view kDesktopPrefix = u"DESKTOP:\\";

struct CustomAction {
    std::u16string key;
    std::u16string value;
};

// Keeps the custom actions in memory and mirrors them in folder + "\custom_action.configure"
// (UTF-16LE, one "key|value" line per entry in key order). Safe to use from several threads at once.
class CustomActionStore {
  public:
    // Loads the file of the folder; a missing or unreadable file gives an empty store.
    explicit CustomActionStore(std::u16string_view folder);
    CustomActionStore(const CustomActionStore&) = delete;
    CustomActionStore& operator=(const CustomActionStore&) = delete;

    // Replaces the entries with the file's; false when the file cannot be read (entries stay).
    bool load();
    // Stores a new pair and rewrites the file. A key already stored keeps its value and reports true
    // without a write. false, with nothing changed, for a pair the file cannot carry (an empty key, a
    // "|" or a line feed) and when the rewrite failed.
    bool add(std::u16string_view key, std::u16string_view value);
    // Erases the key and rewrites the file; true when the key is gone (also when it was never there).
    // When the rewrite fails the entry is kept and the result is false.
    bool remove(std::u16string_view key);
    // The entry of exactly this key, copied out.
    std::optional<CustomAction> find(std::u16string_view key) const;
    // Every stored key, in key order.
    std::vector<std::u16string> keys() const;

  private:
    using Entries = std::map<std::u16string, std::u16string, std::less<>>;
    bool write(const Entries& entries);

    mutable std::mutex mutex_;
    Entries entries_;
    std::u16string filePath_;
};

// Parses the file's text: lines of at least two units, split at runs of "|" (leading ones skipped);
// the first token is the key, the second the value (missing: empty), the first line of a key wins.
std::map<std::u16string, std::u16string, std::less<>> parseCustomActions(std::u16string_view text);
// The file's text for the entries: "key|value\n" in key order; empty for no entries.
std::u16string formatCustomActions(const std::map<std::u16string, std::u16string, std::less<>>& entries);

} // namespace sc
