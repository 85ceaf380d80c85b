// Reading, writing and converting the action configuration files.
#include "action/action_files.h"

#include "common/utf16.h"

namespace sc::action_file {

std::vector<Record> parse(std::u16string_view text) {
    std::vector<Record> records;
    bool headerSeen = false;
    for (std::u16string_view line : utf16::splitLines(text)) {
        if (!headerSeen && line == kHeader) {
            headerSeen = true;
            continue;
        }
        if (line.size() < 2)
            continue;
        const auto fields = utf16::tokens(line, u',');
        if (fields.empty())
            continue;
        Record r{std::u16string(fields[0]), std::nullopt};
        if (fields.size() > 1)
            r.value = std::u16string(fields[1]);
        records.push_back(std::move(r));
    }
    return records;
}

std::u16string record(std::u16string_view key, std::u16string_view value) {
    std::u16string line(key);
    line += u',';
    line += value;
    line += u'\n';
    return line;
}

std::u16string formatBindings(const std::map<std::u16string, std::u16string, std::less<>>& bindings) {
    std::u16string text(kHeader);
    text += u'\n';
    for (const auto& [gesture, action] : bindings)
        text += record(gesture, action);
    return text;
}

std::u16string formatSwitches(const std::map<std::u16string, std::uint8_t, std::less<>>& switches) {
    std::u16string text(kHeader);
    text += u'\n';
    for (const auto& [gesture, on] : switches)
        text += record(gesture, on != 0 ? u"1" : u"0");
    return text;
}

std::u16string convertOld(std::string_view bytes) {
    std::u16string text(kHeader);
    text += u'\n';
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool lastWithoutEnd = end == std::string_view::npos;
        if (lastWithoutEnd)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!lastWithoutEnd && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        text += utf16::fromLatin1(line);
        text += u'\n';
        start = end + 1;
    }
    return text;
}

bool storable(std::u16string_view text) {
    return !text.empty() && text.find(u',') == std::u16string_view::npos &&
           text.find(u'\n') == std::u16string_view::npos;
}

} // namespace sc::action_file
