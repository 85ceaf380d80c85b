// The text of the switch and binding files: a header line, then "key,value" records, UTF-16LE.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sc::action_file {

inline constexpr std::u16string_view kHeader = u"Quorvex Setting CFG";

struct Record {
    std::u16string key;
    std::optional<std::u16string> value; // none when the line has no text after the key's commas
};

// Reads the records of a file's text. The first line equal to the header is skipped (a header is
// optional, and a second one is a record); lines shorter than two units and lines of commas only are
// skipped; runs of commas separate, leading commas are skipped, a third field is ignored.
std::vector<Record> parse(std::u16string_view text);

// A whole file: the header line and one record per entry, in key order.
std::u16string formatBindings(const std::map<std::u16string, std::u16string, std::less<>>& bindings);
std::u16string formatSwitches(const std::map<std::u16string, std::uint8_t, std::less<>>& switches);
// One record line, as an append writes it.
std::u16string record(std::u16string_view key, std::u16string_view value);

// The new file for an old 8-bit file: the header line, then every old line with each byte as the
// code unit of the same number (Latin-1), a carriage return before the line feed dropped.
std::u16string convertOld(std::string_view bytes);

// A key or value that a record can carry: no comma, no line feed, not empty.
bool storable(std::u16string_view text);

} // namespace sc::action_file
