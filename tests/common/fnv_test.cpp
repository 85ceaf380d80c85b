// FNV-1a over UTF-16LE bytes.
#include <gtest/gtest.h>

#include "common/fnv.h"
#include "strokecast.h"

TEST(Fnv, HashesUtf16LittleEndianBytes) {
    EXPECT_EQ(sc::fnvHash(u""), 0x811C9DC5u);
    const unsigned char ab[] = {0x61, 0x00, 0x62, 0x00};
    EXPECT_EQ(sc::fnvHash(u"ab"), sc::fnv1a32(ab, 4, sc::kFnvOffsetBasis));
    EXPECT_EQ(sc::fnv1a32(reinterpret_cast<const unsigned char*>("a"), 1, sc::kFnvOffsetBasis), 0xE40C292Cu);
    EXPECT_NE(sc::fnvHash(u"AB"), sc::fnvHash(u"ab"));
    EXPECT_EQ(sc::fnv1a32(ab, -1, 7u), 7u);
}

TEST(Fnv, ExportMatchesCore) {
    EXPECT_EQ(GetFnvHash(u"C:\\X.LNK"), sc::fnvHash(u"C:\\X.LNK"));
    EXPECT_EQ(GetFnvHash(nullptr), 0x811C9DC5u);
}
