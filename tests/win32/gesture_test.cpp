// The gesture exports of the real strokecast.dll on real files in a scratch folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/win32/dll_loader.h"

namespace {

using sctest::exists;
using sctest::readBytes;
using sctest::utf16le;
using sctest::writeBytes;

class GestureDll : public testing::Test {
  protected:
    std::wstring folder = sctest::freshTempFolder(L"gesture");
    std::wstring defaults = folder + L"\\defaults.configure";
    std::wstring userFile = folder + L"\\MyGesture.configure";

    void SetUp() override { SC_FN(CloseGestureManager)(); }
    void TearDown() override { SC_FN(CloseGestureManager)(); }
    void openWith(const std::wstring& defaultText) {
        writeBytes(defaults, utf16le(defaultText));
        SC_FN(OpenGestureManager)(defaults.c_str(), folder.c_str());
    }
    std::wstring names() {
        wchar_t buffer[512];
        const int32_t n = SC_FN(GetAllGestures)(buffer, 512);
        return n > 0 ? std::wstring(buffer, static_cast<std::size_t>(n - 1)) : L"<none>";
    }
    std::wstring recognize(const std::vector<uint16_t>& points) {
        wchar_t buffer[128];
        const int32_t n = SC_FN(recognizeGesture)(points.data(), buffer, 128);
        return n > 0 ? std::wstring(buffer, static_cast<std::size_t>(n - 1)) : L"<none>";
    }
};

const std::vector<uint16_t> kRight = {10, 50, 60, 50, 110, 50, 160, 50, 0};
const std::vector<uint16_t> kDown = {50, 10, 50, 60, 50, 110, 50, 160, 0};

} // namespace

TEST_F(GestureDll, ClosedManagerAnswersNeutrally) {
    wchar_t buffer[32] = L"untouched";
    uint16_t track[8] = {7};
    EXPECT_EQ(SC_FN(recognizeGesture)(kRight.data(), buffer, 32), 0);
    EXPECT_EQ(SC_FN(GetAllGestures)(buffer, 32), 0);
    EXPECT_EQ(SC_FN(GetGestureTrack)(L"x", track, 8), 0);
    EXPECT_EQ(SC_FN(AddOneGesture)(L"x", kRight.data()), 0);
    EXPECT_EQ(SC_FN(CheckNameExist)(L"x"), 1);
    EXPECT_EQ(std::wstring(buffer), L"untouched");
    EXPECT_EQ(track[0], 7);
}

TEST_F(GestureDll, AddWritesTheUserFileAndAReopenReadsItBack) {
    openWith(L"right,0,0,100,0\n");
    EXPECT_FALSE(exists(userFile));
    const uint16_t top[] = {10, 0, 11, 1, 60, 0, 110, 0, 0}; // (11,1) lies within 2.0 of (10,0)
    ASSERT_EQ(SC_FN(AddOneGesture)(L"top", top), 1);
    ASSERT_EQ(SC_FN(AddOneGesture)(L"\u00E9t\u00E9 \U0001F600", kDown.data()), 1);
    EXPECT_EQ(readBytes(userFile),
              utf16le(L"top,10,0,60,0,110,0\n\u00E9t\u00E9 \U0001F600,50,10,50,60,50,110,50,160\n"));
    EXPECT_EQ(SC_FN(AddOneGesture)(L"a,b", kRight.data()), 0);
    EXPECT_EQ(SC_FN(AddOneGesture)(L"_NO_GESTURE_FOUND_", kRight.data()), 0);
    EXPECT_EQ(SC_FN(CheckNameExist)(L"top"), 1);
    EXPECT_EQ(SC_FN(CheckNameExist)(L"Top"), 0);
    EXPECT_EQ(SC_FN(CheckNameExist)(L"_NO_GESTURE_FOUND_"), 1);

    SC_FN(CloseGestureManager)();
    SC_FN(OpenGestureManager)(defaults.c_str(), folder.c_str());
    EXPECT_EQ(names(), L"right,top,\u00E9t\u00E9 \U0001F600");
    EXPECT_EQ(recognize(kDown), L"\u00E9t\u00E9 \U0001F600");
    uint16_t track[8];
    ASSERT_EQ(SC_FN(GetGestureTrack)(L"top", track, 8), 1);
    EXPECT_EQ(std::vector<uint16_t>(track, track + 7), (std::vector<uint16_t>{10, 0, 60, 0, 110, 0, 0}));
}

TEST_F(GestureDll, BuffersTakeTheWholeTextOrNothing) {
    openWith(L"right,0,0,100,0\ndown,0,0,0,100\n");
    wchar_t name[32];
    wmemset(name, L'#', 32);
    EXPECT_EQ(SC_FN(recognizeGesture)(kRight.data(), name, 5), 0);
    EXPECT_EQ(name[0], L'#');
    EXPECT_EQ(SC_FN(recognizeGesture)(kRight.data(), name, 6), 6);
    EXPECT_EQ(std::wstring(name), L"right");
    const uint16_t none[] = {0};
    EXPECT_EQ(SC_FN(recognizeGesture)(none, name, 32), 19);
    EXPECT_EQ(std::wstring(name), L"_NO_GESTURE_FOUND_");

    wmemset(name, L'#', 32);
    EXPECT_EQ(SC_FN(GetAllGestures)(name, 10), 0);
    EXPECT_EQ(name[0], L'#');
    EXPECT_EQ(SC_FN(GetAllGestures)(name, 11), 11);
    EXPECT_EQ(std::wstring(name), L"down,right");

    uint16_t track[6] = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(SC_FN(GetGestureTrack)(L"down", track, 5), 0); // needs 2n + 2 = 6
    EXPECT_EQ(track[0], 9);
    EXPECT_EQ(SC_FN(GetGestureTrack)(L"down", track, 1), 0);
    EXPECT_EQ(track[0], 9);
    EXPECT_EQ(SC_FN(GetGestureTrack)(L"down", track, 6), 1);
    EXPECT_EQ(std::vector<uint16_t>(track, track + 6), (std::vector<uint16_t>{0, 0, 0, 100, 0, 9}));
    EXPECT_EQ(SC_FN(recognizeGesture)(nullptr, name, 32), 0);
    EXPECT_EQ(SC_FN(GetAllGestures)(nullptr, 32), 0);
    EXPECT_EQ(SC_FN(CheckNameExist)(nullptr), 1);
}

TEST_F(GestureDll, SecondOpenKeepsTheFirstFolder) {
    openWith(L"right,0,0,100,0\n");
    const std::wstring other = sctest::freshTempFolder(L"gesture_other");
    SC_FN(OpenGestureManager)(L"C:\\nowhere.configure", other.c_str());
    ASSERT_EQ(SC_FN(AddOneGesture)(L"down", kDown.data()), 1);
    EXPECT_TRUE(exists(userFile));
    EXPECT_FALSE(exists(other + L"\\MyGesture.configure"));
    EXPECT_EQ(names(), L"down,right");
}

TEST_F(GestureDll, HandEditedFilesReadAsWritten) {
    // A byte-order mark is skipped; a carriage return ends the last number; a bare name has no points and
    // never wins; an odd value is dropped.
    writeBytes(defaults,
               std::string("\xFF\xFE", 2) + utf16le(L"right,0,0,100,0\r\nbare\nright,0,0,200,0,7\n"));
    SC_FN(OpenGestureManager)(defaults.c_str(), folder.c_str());
    EXPECT_EQ(names(), L"bare,right");
    EXPECT_EQ(recognize(kRight), L"right");
    uint16_t track[8];
    ASSERT_EQ(SC_FN(GetGestureTrack)(L"right", track, 8), 1);
    EXPECT_EQ(std::vector<uint16_t>(track, track + 5), (std::vector<uint16_t>{0, 0, 100, 0, 0}));
    EXPECT_EQ(recognize(kDown), L"_NO_GESTURE_FOUND_");
}

TEST_F(GestureDll, ShippedDefaultsTravelBesideTheDll) {
    const std::wstring shipped = sctest::exeFolder() + L"default_gestures.configure";
    ASSERT_TRUE(exists(shipped));
    SC_FN(OpenGestureManager)(shipped.c_str(), folder.c_str());
    const std::wstring all = names();
    EXPECT_NE(all.find(L"circle_clockwise"), std::wstring::npos);
    EXPECT_GE(std::count(all.begin(), all.end(), L','), 15);
    // A Z drawn larger and elsewhere: right, down-left, right.
    const std::vector<uint16_t> z = {300, 300, 400, 302, 500, 300, 600, 301, 525, 375, 450, 450,
                                     375, 525, 300, 600, 400, 601, 500, 600, 600, 602, 0};
    EXPECT_EQ(recognize(z), L"Z");
    EXPECT_FALSE(exists(userFile)); // recognition writes nothing
}
