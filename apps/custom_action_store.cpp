// The custom action store and its file.
#include "apps/custom_action_store.h"

#include "common/console.h"
#include "common/utf16.h"
#include "files/textfile.h"

namespace sc {
namespace {

constexpr char16_t kSeparator = u'|';

bool storable(std::u16string_view text) {
    return text.find(kSeparator) == std::u16string_view::npos &&
           text.find(u'\n') == std::u16string_view::npos;
}

} // namespace

std::map<std::u16string, std::u16string, std::less<>> parseCustomActions(std::u16string_view text) {
    std::map<std::u16string, std::u16string, std::less<>> entries;
    for (std::u16string_view line : utf16::splitLines(text)) {
        trace::line(line);
        if (line.size() < 2)
            continue;
        const auto fields = utf16::tokens(line, kSeparator);
        if (fields.empty())
            continue;
        // A key without a value loads with an empty one, just as add stores it.
        const std::u16string_view value = fields.size() > 1 ? fields[1] : std::u16string_view();
        entries.emplace(std::u16string(fields[0]), std::u16string(value));
    }
    return entries;
}

std::u16string formatCustomActions(const std::map<std::u16string, std::u16string, std::less<>>& entries) {
    std::u16string text;
    for (const auto& [key, value] : entries) {
        text += key;
        text += kSeparator;
        text += value;
        text += u'\n';
    }
    return text;
}

CustomActionStore::CustomActionStore(std::u16string_view folder)
    : filePath_(std::u16string(folder) + u"\\custom_action.configure") {
    load();
}

bool CustomActionStore::load() {
    std::u16string text;
    if (!textfile::read(filePath_, text))
        return false;
    auto entries = parseCustomActions(text);
    std::lock_guard lock(mutex_);
    entries_ = std::move(entries);
    return true;
}

bool CustomActionStore::write(const Entries& entries) {
    return textfile::replace(filePath_, formatCustomActions(entries));
}

bool CustomActionStore::add(std::u16string_view key, std::u16string_view value) {
    if (key.empty() || !storable(key) || !storable(value))
        return false;
    std::lock_guard lock(mutex_);
    if (entries_.find(key) != entries_.end())
        return true;
    Entries next = entries_;
    next.emplace(std::u16string(key), std::u16string(value));
    if (!write(next))
        return false;
    entries_ = std::move(next);
    return true;
}

bool CustomActionStore::remove(std::u16string_view key) {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(key);
    if (it == entries_.end())
        return true;
    Entries next = entries_;
    next.erase(std::u16string(key));
    if (!write(next))
        return false;
    entries_ = std::move(next);
    return true;
}

std::vector<std::u16string> CustomActionStore::keys() const {
    std::lock_guard lock(mutex_);
    std::vector<std::u16string> out;
    out.reserve(entries_.size());
    for (const auto& entry : entries_)
        out.push_back(entry.first);
    return out;
}

std::optional<CustomAction> CustomActionStore::find(std::u16string_view key) const {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(key);
    if (it == entries_.end())
        return std::nullopt;
    return CustomAction{it->first, it->second};
}

} // namespace sc
