// The gesture family's exports, called in-process: buffer rules, neutral answers, point arrays.
#include <gtest/gtest.h>

#include <array>

#include "common/utf16.h"
#include "strokecast.h"
#include "tests/gesture/gesture_test_support.h"

using sctest::readBytes;
using sctest::TempFolder;
using sctest::writeBytes;

namespace {

class GestureExports : public testing::Test {
  protected:
    TempFolder folder{"gx"};
    std::u16string defaults = folder.u16File("defaults.configure");

    void SetUp() override { CloseGestureManager(); }
    void TearDown() override { CloseGestureManager(); }
    void openWith(std::u16string_view defaultText) {
        writeBytes(folder.file("defaults.configure"), sc::utf16::toBytes(defaultText));
        OpenGestureManager(defaults.c_str(), folder.folder().c_str());
    }
    std::u16string user() const {
        return sc::utf16::fromBytes(readBytes(folder.file("MyGesture.configure")));
    }
};

// A straight rightward stroke as an export point array.
const std::vector<uint16_t> kRight = {10, 50, 60, 50, 110, 50, 160, 50, 0};
const std::vector<uint16_t> kDown = {50, 10, 50, 60, 50, 110, 50, 160, 0};

} // namespace

TEST_F(GestureExports, WithoutAManagerEveryAnswerIsNeutral) {
    char16_t name[64] = u"untouched";
    uint16_t track[8] = {7, 7, 7, 7, 7, 7, 7, 7};
    EXPECT_EQ(recognizeGesture(kRight.data(), name, 64), 0);
    EXPECT_EQ(GetAllGestures(name, 64), 0);
    EXPECT_EQ(GetGestureTrack(u"right", track, 8), 0);
    EXPECT_EQ(AddOneGesture(u"right", kRight.data()), 0);
    EXPECT_EQ(CheckNameExist(u"right"), 1);
    EXPECT_EQ(std::u16string(name), u"untouched");
    EXPECT_EQ(track[0], 7);
    CloseGestureManager(); // closing twice is harmless
    EXPECT_FALSE(std::filesystem::exists(folder.file("MyGesture.configure")));
}

TEST_F(GestureExports, NullPointersAreRefusedAndTouchNothing) {
    openWith(u"right,0,0,100,0\n");
    char16_t name[64] = u"untouched";
    uint16_t track[8] = {7, 7, 7, 7, 7, 7, 7, 7};
    EXPECT_EQ(recognizeGesture(nullptr, name, 64), 0);
    EXPECT_EQ(recognizeGesture(kRight.data(), nullptr, 64), 0);
    EXPECT_EQ(GetAllGestures(nullptr, 64), 0);
    EXPECT_EQ(GetGestureTrack(nullptr, track, 8), 0);
    EXPECT_EQ(GetGestureTrack(u"right", nullptr, 8), 0);
    EXPECT_EQ(AddOneGesture(nullptr, kRight.data()), 0);
    EXPECT_EQ(AddOneGesture(u"x", nullptr), 0);
    EXPECT_EQ(CheckNameExist(nullptr), 1);
    OpenGestureManager(nullptr, nullptr);
    EXPECT_EQ(std::u16string(name), u"untouched");
    EXPECT_EQ(track[0], 7);
    EXPECT_FALSE(std::filesystem::exists(folder.file("MyGesture.configure")));
}

TEST_F(GestureExports, RecognitionWritesAllOrNothing) {
    openWith(u"right,0,0,100,0\n");
    std::array<char16_t, 32> name;
    name.fill(u'#');
    EXPECT_EQ(recognizeGesture(kRight.data(), name.data(), 5), 0); // "right" needs 6
    EXPECT_EQ(name[0], u'#');
    EXPECT_EQ(recognizeGesture(kRight.data(), name.data(), 6), 6);
    EXPECT_EQ(std::u16string(name.data()), u"right");

    const uint16_t empty[] = {0, 99};
    name.fill(u'#');
    EXPECT_EQ(recognizeGesture(empty, name.data(), 18), 0);
    EXPECT_EQ(name[0], u'#');
    EXPECT_EQ(recognizeGesture(empty, name.data(), 19), 19);
    EXPECT_EQ(std::u16string(name.data()), u"_NO_GESTURE_FOUND_");
    EXPECT_EQ(recognizeGesture(kDown.data(), name.data(), 32), 19);
}

TEST_F(GestureExports, PointArraysCarryZeroYAndEndOnlyAtAnX) {
    openWith(u"");
    // y = 0 is a coordinate, not the end; the stroke goes right along the top edge.
    const uint16_t top[] = {10, 0, 60, 0, 110, 0, 0};
    ASSERT_EQ(AddOneGesture(u"top", top), 1);
    EXPECT_EQ(user(), u"top,10,0,60,0,110,0\n");
    // Points within 2.0 of the last one taken are dropped; fewer than two left is a refusal.
    const uint16_t dense[] = {10, 10, 11, 11, 12, 10, 10, 12, 0};
    EXPECT_EQ(AddOneGesture(u"dense", dense), 0);
    const uint16_t spaced[] = {10, 10, 11, 11, 13, 10, 14, 10, 16, 10, 0};
    ASSERT_EQ(AddOneGesture(u"spaced", spaced), 1);
    EXPECT_EQ(user(), u"top,10,0,60,0,110,0\nspaced,10,10,13,10,16,10\n");
    EXPECT_EQ(AddOneGesture(u"a,b", kRight.data()), 0);
    EXPECT_EQ(AddOneGesture(u"_NO_GESTURE_FOUND_", kRight.data()), 0);
    EXPECT_EQ(AddOneGesture(u"top", kRight.data()), 1); // an existing name gains a template
    EXPECT_EQ(CheckNameExist(u"top"), 1);
    EXPECT_EQ(CheckNameExist(u"dense"), 0);
    EXPECT_EQ(CheckNameExist(u"_NO_GESTURE_FOUND_"), 1);
}

TEST_F(GestureExports, NameListIsCommaSeparatedInCodeUnitOrder) {
    openWith(u"b,0,0,1,1\na,0,0,1,1\nb,5,5,1,1\n");
    std::array<char16_t, 8> buffer;
    buffer.fill(u'#');
    EXPECT_EQ(GetAllGestures(buffer.data(), 3), 0);
    EXPECT_EQ(buffer[0], u'#');
    EXPECT_EQ(GetAllGestures(buffer.data(), 4), 4);
    EXPECT_EQ(std::u16string(buffer.data()), u"a,b");

    CloseGestureManager();
    openWith(u"");
    buffer.fill(u'#');
    EXPECT_EQ(GetAllGestures(buffer.data(), 0), 0);
    EXPECT_EQ(GetAllGestures(buffer.data(), 1), 1); // no gesture: the empty text
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(GestureExports, NamesHoldingAZeroUnitAreLeftOutOfTheList) {
    // "\0" sorts first, so a listed one would end the text before every other name.
    using namespace std::string_literals;
    openWith(u"\0,0,0,1,1\nb,0,0,1,1\na\0z,3,3,1,1\na,0,0,1,1\n"s);
    std::array<char16_t, 16> buffer;
    buffer.fill(u'#');
    EXPECT_EQ(GetAllGestures(buffer.data(), 16), 4);
    EXPECT_EQ(std::u16string(buffer.data()), u"a,b");
}

TEST_F(GestureExports, TrackNeedsRoomForOneMoreThanItWrites) {
    openWith(u"L,10,20,10,70,60,70\nneg,-1,70000\n");
    std::array<uint16_t, 12> track;
    track.fill(0xEEEE);
    EXPECT_EQ(GetGestureTrack(u"L", track.data(), 7), 0); // 2n + 1 would fit, but 2n + 2 is needed
    EXPECT_EQ(track[0], 0xEEEE);
    EXPECT_EQ(GetGestureTrack(u"L", track.data(), 8), 1);
    EXPECT_EQ(std::vector<uint16_t>(track.begin(), track.begin() + 8),
              (std::vector<uint16_t>{10, 20, 10, 70, 60, 70, 0, 0xEEEE}));
    EXPECT_EQ(GetGestureTrack(u"neg", track.data(), 12), 1);
    EXPECT_EQ(track[0], 0xFFFF); // the low 16 bits of -1
    EXPECT_EQ(track[1], 70000 & 0xFFFF);
    EXPECT_EQ(GetGestureTrack(u"missing", track.data(), 12), 0);
    // Capacities below 2 never receive anything.
    for (uint32_t capacity : {0u, 1u}) {
        uint16_t one[2] = {0xEEEE, 0xEEEE};
        EXPECT_EQ(GetGestureTrack(u"L", one, capacity), 0);
        EXPECT_EQ(one[0], 0xEEEE);
    }
}

TEST_F(GestureExports, SecondOpenKeepsTheFirstFiles) {
    openWith(u"right,0,0,100,0\n");
    TempFolder other("gx_other");
    OpenGestureManager(u"nowhere.configure", other.folder().c_str());
    EXPECT_EQ(CheckNameExist(u"right"), 1);
    ASSERT_EQ(AddOneGesture(u"down", kDown.data()), 1);
    EXPECT_TRUE(std::filesystem::exists(folder.file("MyGesture.configure")));
    EXPECT_FALSE(std::filesystem::exists(other.file("MyGesture.configure")));
    // Close and open again: both files are read anew.
    CloseGestureManager();
    OpenGestureManager(defaults.c_str(), folder.folder().c_str());
    char16_t name[32];
    EXPECT_EQ(recognizeGesture(kDown.data(), name, 32), 5);
    EXPECT_EQ(std::u16string(name), u"down");
}
