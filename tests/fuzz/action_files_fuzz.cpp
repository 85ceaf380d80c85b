// The binding and switch files: the record reader's rules, tables written out and read back, and the
// one-time conversion of old 8-bit files against a byte-by-byte reference.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "action/action_files.h"
#include "common/utf16.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::check;

bool clean(std::u16string_view field) {
    return !field.empty() && field.find(u',') == std::u16string_view::npos &&
           field.find(u'\n') == std::u16string_view::npos;
}

// The old file's bytes as the new text: Latin-1, a carriage return right before a line feed dropped,
// a line feed after a last line that had none.
std::u16string referenceConversion(std::string_view bytes) {
    std::u16string text(sc::action_file::kHeader);
    text += u'\n';
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    }
    if (!bytes.empty() && bytes.back() != '\n')
        text += u'\n';
    return text;
}

void checkRecords(std::u16string_view text) {
    const auto records = sc::action_file::parse(text);
    std::map<std::u16string, std::u16string, std::less<>> bindings;
    std::map<std::u16string, std::uint8_t, std::less<>> switches;
    for (const auto& r : records) {
        check(clean(r.key), "a key is empty or holds a separator");
        if (r.value) {
            check(clean(*r.value), "a value is empty or holds a separator");
            bindings.emplace(r.key, *r.value);
        }
        switches.emplace(r.key, r.value && *r.value == u"0" ? 0 : 1);
    }

    // Tables written out read back the same, header skipped.
    std::map<std::u16string, std::u16string, std::less<>> bindingsBack;
    for (const auto& r : sc::action_file::parse(sc::action_file::formatBindings(bindings))) {
        check(r.value.has_value(), "a written binding reads back without its action");
        check(bindingsBack.emplace(r.key, *r.value).second, "a written binding reads back twice");
    }
    check(bindingsBack == bindings, "bindings read back differently");
    std::map<std::u16string, std::uint8_t, std::less<>> switchesBack;
    for (const auto& r : sc::action_file::parse(sc::action_file::formatSwitches(switches)))
        check(switchesBack.emplace(r.key, r.value == u"0" ? 0 : 1).second,
              "a written switch reads back twice");
    check(switchesBack == switches, "switches read back differently");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkRecords(sc::utf16::fromBytes(bytes));

    const std::u16string converted = sc::action_file::convertOld(bytes);
    check(converted == referenceConversion(bytes), "conversion differs from the byte-by-byte reference");
    checkRecords(converted);
    return 0;
}
