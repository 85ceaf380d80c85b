// FNV-1a over UTF-16LE bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "common/fnv.h"
#include "strokecast.h"

namespace {

// FNV-1a over plain bytes, as the algorithm is published.
std::uint32_t fnvOfBytes(std::initializer_list<unsigned char> bytes) {
    std::uint32_t h = sc::kFnvOffsetBasis;
    for (const unsigned char b : bytes)
        h = (h ^ b) * sc::kFnvPrime;
    return h;
}

} // namespace

TEST(Fnv, HashesUtf16LittleEndianBytes) {
    EXPECT_EQ(sc::fnvHash(u""), 0x811C9DC5u);
    EXPECT_EQ(fnvOfBytes({'a'}), 0xE40C292Cu); // the published value
    EXPECT_EQ(sc::fnvHash(u"ab"), fnvOfBytes({0x61, 0x00, 0x62, 0x00}));
    EXPECT_EQ(sc::fnvHash(u"\u20AC"), fnvOfBytes({0xAC, 0x20})); // low byte first
    EXPECT_NE(sc::fnvHash(u"AB"), sc::fnvHash(u"ab"));
}

TEST(Fnv, ExportMatchesCore) {
    EXPECT_EQ(GetFnvHash(u"C:\\X.LNK"), sc::fnvHash(u"C:\\X.LNK"));
    EXPECT_EQ(GetFnvHash(nullptr), 0x811C9DC5u);
}
