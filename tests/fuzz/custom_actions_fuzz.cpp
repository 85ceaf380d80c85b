// The custom action file: the reader's rules, and entries written out and read back.
#include <cstdint>
#include <string>
#include <string_view>

#include "apps/custom_action_store.h"
#include "common/utf16.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::check;

bool clean(std::u16string_view field) {
    return field.find(u'|') == std::u16string_view::npos && field.find(u'\n') == std::u16string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text =
        sc::utf16::fromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto entries = sc::parseCustomActions(text);
    for (const auto& [key, value] : entries) {
        check(!key.empty() && clean(key), "a key is empty or holds a separator");
        check(clean(value), "a value holds a separator");
    }
    // The first line of a key wins, so the file's first usable line is always read as it stands.
    for (std::u16string_view line : sc::utf16::splitLines(text)) {
        if (line.size() < 2)
            continue;
        const auto fields = sc::utf16::tokens(line, u'|');
        if (fields.empty())
            continue;
        const auto it = entries.find(fields[0]);
        check(it != entries.end(), "a line's key is missing");
        check(it->second == (fields.size() > 1 ? fields[1] : std::u16string_view()),
              "the first line's value is not the one kept");
        break;
    }
    const auto back = sc::parseCustomActions(sc::formatCustomActions(entries));
    check(back == entries, "entries read back differently");
    return 0;
}
