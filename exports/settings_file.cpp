// The settings file: its text, and exporting and importing a folder pair's configuration through it.
#include "exports/settings_file.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "action/action_files.h"
#include "action/action_manager.h"
#include "apps/custom_action_store.h"
#include "common/last_error.h"
#include "common/utf16.h"
#include "files/shared_folder.h"
#include "files/textfile.h"
#include "gesture/gesture_manager.h"
#include "gesture/template_file.h"
#include "platform/file.h"

namespace sc::settings_file {
namespace {

constexpr std::u16string_view kGestureSection = u"[gestures]";
constexpr std::u16string_view kBindingSection = u"[bindings]";
constexpr std::u16string_view kSwitchSection = u"[switches]";
constexpr std::u16string_view kCustomSection = u"[custom actions]";

struct Paths {
    std::u16string gestures, switches, bindings, customActions;
};

Paths pathsOf(std::u16string_view gestureFolder, std::u16string_view actionFolder) {
    const std::u16string actions(actionFolder);
    return {std::u16string(gestureFolder) + u"\\MyGesture.configure", actions + u"\\action.configure_v2",
            actions + u"\\gestureToAction.configure_v2", actions + u"\\custom_action.configure"};
}

// A decimal 32-bit integer with an optional minus sign and nothing else.
std::optional<float> coordinate(std::u16string_view field) {
    std::size_t i = 0;
    const bool negative = !field.empty() && field[0] == u'-';
    if (negative)
        i = 1;
    if (i == field.size() || field.size() - i > 10)
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < u'0' || field[i] > u'9')
            return std::nullopt;
        value = value * 10 + (field[i] - u'0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<float>(value);
}

// Splits "key<separator>value" at the only separator; none when there is not exactly one.
std::optional<std::pair<std::u16string_view, std::u16string_view>> pair(std::u16string_view line,
                                                                        char16_t separator) {
    const std::size_t at = line.find(separator);
    if (at == std::u16string_view::npos || line.find(separator, at + 1) != std::u16string_view::npos)
        return std::nullopt;
    return std::make_pair(line.substr(0, at), line.substr(at + 1));
}

std::u16string problemAt(std::size_t line, std::u16string_view what) {
    return u"line " + utf16::fromUnsigned(line) + u": " + std::u16string(what);
}

// Reads one section line into the contents; the reason it cannot be stored, or empty.
std::u16string readLine(std::u16string_view section, std::u16string_view line, Contents& contents) {
    if (section == kGestureSection) {
        const std::size_t comma = line.find(u',');
        if (comma == std::u16string_view::npos)
            return u"a template needs a name, a comma and its coordinates";
        Gesture gesture{std::u16string(line.substr(0, comma)), {}};
        if (!isPermittedGestureName(gesture.name))
            return u"the gesture name is not one the engine accepts";
        const std::u16string_view rest = line.substr(comma + 1);
        std::vector<float> values;
        std::size_t start = 0;
        while (!rest.empty() && start <= rest.size()) {
            const std::size_t end = std::min(rest.find(u',', start), rest.size());
            const std::optional<float> value = coordinate(rest.substr(start, end - start));
            if (!value)
                return u"a coordinate is not a whole number";
            values.push_back(*value);
            start = end + 1;
        }
        if (values.size() % 2 != 0)
            return u"the coordinates are not pairs";
        for (std::size_t i = 0; i < values.size(); i += 2)
            gesture.points.push_back({values[i], values[i + 1]});
        contents.gestures.push_back(std::move(gesture));
        return {};
    }
    if (section == kBindingSection || section == kSwitchSection) {
        const auto record = pair(line, u',');
        if (!record || !action_file::storable(record->first) || !action_file::storable(record->second))
            return u"a record is a name, one comma and a value, neither empty";
        if (section == kBindingSection) {
            if (!contents.bindings.emplace(record->first, record->second).second)
                return u"the gesture is bound twice";
            return {};
        }
        if (record->second != u"0" && record->second != u"1")
            return u"a switch is 0 (off) or 1 (on)";
        if (!contents.switches.emplace(record->first, record->second == u"1" ? 1 : 0).second)
            return u"the switch is given twice";
        return {};
    }
    const auto entry = pair(line, u'|');
    if (!entry || entry->first.empty())
        return u"a custom action is a key, one \"|\" and a value";
    if (!contents.customActions.emplace(entry->first, entry->second).second)
        return u"the custom action is given twice";
    return {};
}

} // namespace

std::u16string format(const Contents& contents) {
    std::u16string text(kHeader);
    text += u'\n';
    text += kGestureSection;
    text += u'\n';
    for (const Gesture& gesture : contents.gestures) {
        std::u16string line = gestureLine(gesture.name, gesture.points);
        // Every template line carries a comma, so no line of a section reads as a section's title.
        if (line.find(u',') == std::u16string::npos)
            line.insert(line.size() - 1, 1, u',');
        text += line;
    }
    const auto section = [&text](std::u16string_view title, const auto& entries, char16_t separator,
                                 auto&& value) {
        text += title;
        text += u'\n';
        for (const auto& [key, v] : entries) {
            text += key;
            text += separator;
            text += value(v);
            text += u'\n';
        }
    };
    const auto same = [](const std::u16string& v) { return v; };
    section(kBindingSection, contents.bindings, u',', same);
    section(kSwitchSection, contents.switches, u',', [](std::uint8_t on) { return on ? u"1" : u"0"; });
    section(kCustomSection, contents.customActions, u'|', same);
    return text;
}

bool parse(std::u16string_view text, Contents& contents, std::u16string& problem) {
    Contents read;
    constexpr std::array<std::u16string_view, 4> kSections = {kGestureSection, kBindingSection,
                                                              kSwitchSection, kCustomSection};
    std::size_t next = 0; // the index of the section expected next
    std::u16string_view section;
    const std::vector<std::u16string_view> lines = utf16::splitLines(textfile::withoutByteOrderMark(text));
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::u16string_view line = lines[n];
        // A file saved by an editor that ends lines with CR LF reads the same.
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        if (n == 0) {
            if (line == kHeader)
                continue;
            problem = line.substr(0, 20) == kHeader.substr(0, 20)
                          ? problemAt(1, u"written by a newer Strokecast (this one reads version 1)")
                          : problemAt(1, u"not a Strokecast settings file");
            return false;
        }
        if (line.empty())
            continue;
        if (next < kSections.size() && line == kSections[next]) {
            section = kSections[next++];
            continue;
        }
        if (section.empty() || (line.front() == u'[' && line.back() == u']' &&
                                line.find_first_of(u",|") == std::u16string_view::npos)) {
            problem = problemAt(n + 1, u"the sections are [gestures], [bindings], [switches] and "
                                       u"[custom actions], each once and in this order");
            return false;
        }
        const std::u16string why = readLine(section, line, read);
        if (!why.empty()) {
            problem = problemAt(n + 1, why);
            return false;
        }
    }
    if (lines.empty()) {
        problem = problemAt(1, u"not a Strokecast settings file");
        return false;
    }
    if (next != kSections.size()) {
        problem = u"the file ends before its " + std::u16string(kSections[next]) + u" section";
        return false;
    }
    read.switches.emplace(kGlobalSwitch, 0);
    contents = std::move(read);
    return true;
}

bool collect(std::u16string_view gestureFolder, std::u16string_view actionFolder, Contents& contents) {
    SharedFolder gestureShared(folderObjectName(u"gestures", gestureFolder), u"gestures", gestureFolder);
    SharedFolder actionShared(kActionMutexName, u"actions", actionFolder);
    MutexHold gestureHold(gestureShared.mutex());
    MutexHold actionHold(actionShared.mutex());
    if (!gestureHold || !actionHold) {
        last_error::set(u"cannot read the settings: another program holds the configuration folder");
        return false;
    }
    const Paths paths = pathsOf(gestureFolder, actionFolder);
    Contents read;
    GestureList templates;
    if (readGestureFile(paths.gestures, templates, TemplateOrigin::user)) {
        for (const auto& [name, stored] : templates) {
            // A hand-edited file may hold a name no call could store; it could not travel either.
            if (isPermittedGestureName(name))
                read.gestures.push_back(Gesture{name, stored.points.unpack()});
        }
    }
    // The same readings as the action manager's: the first record of a gesture wins, for "GLOBAL" the
    // last, a record without a value binds nothing, and any switch value but 0 is on.
    read.switches.emplace(kGlobalSwitch, 0);
    std::u16string text;
    if (textfile::read(paths.switches, text)) {
        for (const action_file::Record& r : action_file::parse(text)) {
            const std::uint8_t on = (r.value && *r.value == u"0") ? 0 : 1;
            if (r.key == kGlobalSwitch)
                read.switches[r.key] = on;
            else
                read.switches.emplace(r.key, on);
        }
    }
    if (textfile::read(paths.bindings, text)) {
        for (const action_file::Record& r : action_file::parse(text))
            if (r.value)
                read.bindings.emplace(r.key, *r.value);
    }
    if (textfile::read(paths.customActions, text))
        read.customActions = parseCustomActions(text);
    // Records that a settings file could not carry back (a hand edit's stray comma-free value, say).
    std::erase_if(read.bindings, [](const auto& b) { return !action_file::storable(b.second); });
    std::erase_if(read.customActions,
                  [](const auto& c) { return c.second.find_first_of(u"|\n") != std::u16string::npos; });
    contents = std::move(read);
    return true;
}

bool exportTo(std::u16string_view path, std::u16string_view gestureFolder, std::u16string_view actionFolder) {
    Contents contents;
    if (!collect(gestureFolder, actionFolder, contents))
        return false;
    return textfile::replace(path, format(contents));
}

bool importFrom(std::u16string_view path, std::u16string_view gestureFolder,
                std::u16string_view actionFolder) {
    std::u16string text;
    if (!textfile::read(path, text)) {
        if (last_error::get().empty())
            last_error::set(u"cannot read " + std::u16string(path));
        return false;
    }
    Contents contents;
    std::u16string problem;
    if (!parse(text, contents, problem)) {
        last_error::set(u"cannot import " + std::u16string(path) + u": " + problem);
        return false;
    }
    std::u16string userText;
    for (const Gesture& gesture : contents.gestures)
        userText += gestureLine(gesture.name, gesture.points);
    const Paths paths = pathsOf(gestureFolder, actionFolder);
    const std::array<std::pair<const std::u16string*, std::u16string>, 4> writes = {{
        {&paths.gestures, std::move(userText)},
        {&paths.bindings, action_file::formatBindings(contents.bindings)},
        {&paths.switches, action_file::formatSwitches(contents.switches)},
        {&paths.customActions, formatCustomActions(contents.customActions)},
    }};

    SharedFolder gestureShared(folderObjectName(u"gestures", gestureFolder), u"gestures", gestureFolder);
    SharedFolder actionShared(kActionMutexName, u"actions", actionFolder);
    MutexHold gestureHold(gestureShared.mutex());
    MutexHold actionHold(actionShared.mutex());
    if (!gestureHold || !actionHold) {
        last_error::set(u"cannot import " + std::u16string(path) +
                        u": another program holds the configuration folder");
        return false;
    }
    std::array<textfile::Snapshot, 4> saved;
    for (std::size_t i = 0; i < writes.size(); ++i)
        saved[i] = textfile::snapshot(*writes[i].first);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        if (textfile::replace(*writes[i].first, writes[i].second))
            continue;
        // All or nothing: the files already replaced get their old bytes back, and the failure that
        // stopped the import stays the one reported.
        const std::u16string cause = last_error::get();
        bool restored = true;
        for (std::size_t j = 0; j < i; ++j)
            restored &= textfile::restore(*writes[j].first, saved[j]);
        last_error::set(restored ? cause : cause + u"; the old settings could not all be put back");
        if (!restored) {
            gestureShared.publish();
            actionShared.publish();
        }
        return false;
    }
    // Every process sharing the folders, this one's managers included, reads them again on its next call.
    gestureShared.publish();
    actionShared.publish();
    return true;
}

} // namespace sc::settings_file
