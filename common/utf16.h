// UTF-16 text helpers: little-endian byte encoding, UTF-8 conversion, line splitting, ASCII case folding,
// number formatting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sc::utf16 {

// Code units as bytes, low byte first, no byte-order mark.
std::string toBytes(std::u16string_view text);
void appendBytes(std::string& out, std::u16string_view text);
// Bytes back to code units, low byte first; an odd trailing byte is dropped. No mark is skipped.
std::u16string fromBytes(std::string_view bytes);

// UTF-8 for the console and native paths; unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);
// Each byte one code unit (used for old 8-bit files and plain ASCII literals).
std::u16string fromLatin1(std::string_view text);

// Splits at U+000A; the line feed is not part of a line, and a final line feed ends the last line.
std::vector<std::u16string_view> splitLines(std::u16string_view text);

// Splits at a separator; runs count as one and leading separators are skipped, so no token is empty.
std::vector<std::u16string_view> tokens(std::u16string_view text, char16_t separator);
// The parts in order with the separator between each two; no parts give the empty text.
std::u16string joined(const std::vector<std::u16string>& parts, char16_t separator);

// Case folding of ASCII letters only: the texts compared this way are ASCII, and no other letter folds
// onto one of their letters under the system's case-insensitive comparisons either.
constexpr char16_t asciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
constexpr char16_t asciiUpper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Equal but for the case of ASCII letters.
bool equalsAsciiNoCase(std::u16string_view a, std::u16string_view b);

// Decimal forms as "%d" and "%u" give them.
std::u16string fromInt(long long value);
std::u16string fromUnsigned(unsigned long long value);

} // namespace sc::utf16
