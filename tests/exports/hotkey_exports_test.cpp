// StrokecastSetHotKeyEx on the fake platform: any modifiers, a key another program holds reported with
// the old key kept, and every refusal explained through StrokecastLastError.
#include <gtest/gtest.h>

#include <string>

#include "exports/boundary.h"
#include "platform/fake/fake_state.h"

namespace {

namespace fake = platform::fake;

constexpr uint32_t kAlt = 1, kCtrl = 2, kShift = 4, kWin = 8;

std::u16string lastError() {
    sc_char buffer[256];
    if (StrokecastLastError(buffer, 256) == 0)
        return u"<does not fit>";
    return std::u16string(buffer, buffer + std::char_traits<sc_char>::length(buffer));
}

class HotKeyEx : public testing::Test {
  protected:
    void SetUp() override {
        fake::reset();
        fake::ui().threadsStart = true; // started threads wait for runThreads
        OpenTouchCapturer();
        fake::runThreads();
    }
    void TearDown() override {
        CloseTouchCapturer();
        fake::reset();
    }
};

TEST_F(HotKeyEx, RegistersAnyModifiersAndReplacesTheKeyBefore) {
    ASSERT_EQ(StrokecastSetHotKeyEx(kCtrl | kShift, 'K'), 1);
    EXPECT_EQ(fake::ui().registeredKey, 'K');
    EXPECT_EQ(fake::ui().registeredModifiers, kCtrl | kShift);
    ASSERT_EQ(StrokecastSetHotKeyEx(kWin | kAlt, 0x70), 1);
    EXPECT_EQ(fake::ui().registeredKey, 0x70u);
    EXPECT_EQ(fake::ui().registeredModifiers, kWin | kAlt);
    EXPECT_EQ(fake::ui().hotKeyCalls,
              (std::vector<std::string>{"register 75", "unregister", "register 112"}));

    // Key 0 gives the hot key back; a second time there is nothing to give back, and that is no failure.
    ASSERT_EQ(StrokecastSetHotKeyEx(0, 0), 1);
    EXPECT_FALSE(fake::ui().registeredKey.has_value());
    EXPECT_EQ(StrokecastSetHotKeyEx(0, 0), 1);
}

TEST_F(HotKeyEx, AKeyAnotherProgramHoldsIsReportedAndTheOldKeyStays) {
    ASSERT_EQ(StrokecastSetHotKeyEx(kCtrl | kAlt, 'G'), 1);
    fake::ui().takenKeys.insert({kCtrl | kAlt, 'K'});
    EXPECT_EQ(StrokecastSetHotKeyEx(kCtrl | kAlt, 'K'), 0);
    EXPECT_EQ(lastError(), u"hot key Ctrl+Alt+K is taken by another program (error 1409)");
    EXPECT_EQ(fake::ui().registeredKey, 'G');
    EXPECT_EQ(fake::ui().registeredModifiers, kCtrl | kAlt);
    // The same key with Shift is free.
    EXPECT_EQ(StrokecastSetHotKeyEx(kCtrl | kAlt | kShift, 'K'), 1);
    EXPECT_EQ(fake::ui().registeredKey, 'K');
}

TEST_F(HotKeyEx, RefusalsChangeNothingAndSayWhy) {
    ASSERT_EQ(StrokecastSetHotKeyEx(kCtrl | kAlt, 'G'), 1);
    const std::vector<std::string> callsBefore = fake::ui().hotKeyCalls;

    EXPECT_EQ(StrokecastSetHotKeyEx(0x4000 | kCtrl, 'K'), 0);
    EXPECT_EQ(lastError(), u"hot key modifiers 16386 hold more than Alt 1, Ctrl 2, Shift 4 and Win 8");

    fake::ui().sendsAnswered = false;
    EXPECT_EQ(StrokecastSetHotKeyEx(kCtrl, 0x71), 0);
    EXPECT_EQ(lastError(), u"cannot register hot key Ctrl+F2: the capture thread did not answer");
    EXPECT_EQ(fake::ui().hotKeyCalls, callsBefore);
    EXPECT_EQ(fake::ui().registeredKey, 'G');

    CloseTouchCapturer();
    EXPECT_EQ(StrokecastSetHotKeyEx(kCtrl | kAlt, 'K'), 0);
    EXPECT_EQ(lastError(), u"cannot register hot key Ctrl+Alt+K: the touch capturer is not open");
}

} // namespace
