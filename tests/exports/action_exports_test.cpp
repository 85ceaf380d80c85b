// The action family's exports: the closed state, refused pointers, buffers and flag values.
#include <gtest/gtest.h>

#include "exports/boundary.h"
#include "platform/fake/fake_state.h"
#include "tests/support/temp_folder.h"

namespace {

class ActionExports : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::fake::resetSystem();
        CloseActionNanager();
    }
    void TearDown() override { CloseActionNanager(); }
    void open() { OpenActionManager(reinterpret_cast<const sc_char*>(dir.folder().c_str())); }

    sctest::TempFolder dir;
};

const sc_char* s(const char16_t* text) {
    return reinterpret_cast<const sc_char*>(text);
}

TEST_F(ActionExports, EveryCallIsNeutralWhileClosed) {
    sc_char buffer[32] = {u'x'};
    EXPECT_EQ(SetGestureSwitch(s(u"G"), 1), 0);
    EXPECT_EQ(GetActionOfGesture(s(u"G"), buffer, 32), 0);
    EXPECT_EQ(buffer[0], u'x');
    EXPECT_EQ(ExecuteAction(s(u"G")), 0);
    EXPECT_EQ(SetGestureToAction(s(u"G"), s(u"UNDO")), 0);
    EXPECT_EQ(AddCustomAction(s(u"DESKTOP:\\a"), s(u"a")), 0);
    EXPECT_EQ(RemoveOneCustomAction(s(u"DESKTOP:\\a")), 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(GetGestureSwitch(s(u"G")), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "am is null\n");
    CloseActionNanager();
    EXPECT_TRUE(platform::fake::systemCalls().empty());
}

TEST_F(ActionExports, NullPointersAreRefused) {
    open();
    sc_char buffer[32];
    OpenActionManager(nullptr);
    EXPECT_EQ(SetGestureSwitch(nullptr, 1), 0);
    EXPECT_EQ(GetGestureSwitch(nullptr), 0);
    EXPECT_EQ(GetActionOfGesture(nullptr, buffer, 32), 0);
    EXPECT_EQ(GetActionOfGesture(s(u"G"), nullptr, 32), 0);
    EXPECT_EQ(ExecuteAction(nullptr), 0);
    EXPECT_EQ(SetGestureToAction(nullptr, s(u"UNDO")), 0);
    EXPECT_EQ(SetGestureToAction(s(u"G"), nullptr), 0);
    EXPECT_EQ(AddCustomAction(nullptr, s(u"a")), 0);
    EXPECT_EQ(AddCustomAction(s(u"a"), nullptr), 0);
    EXPECT_EQ(RemoveOneCustomAction(nullptr), 0);
}

TEST_F(ActionExports, ActionNameFitsOrNothingIsWritten) {
    open();
    ASSERT_EQ(SetGestureToAction(s(u"G"), s(u"UNDO")), 1);
    sc_char buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), u'x');
    EXPECT_EQ(GetActionOfGesture(s(u"G"), buffer, 4), 0);
    EXPECT_EQ(buffer[0], u'x');
    EXPECT_EQ(GetActionOfGesture(s(u"G"), buffer, 5), 5);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buffer)), u"UNDO");
    EXPECT_EQ(GetActionOfGesture(s(u"unbound"), buffer, 32), 21);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buffer)), u"__NULLACTION_FOUND__");
}

TEST_F(ActionExports, OnlyOneMeansOn) {
    open();
    const int32_t values[] = {1, 2, 0, -1};
    const int32_t expected[] = {1, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(SetGestureSwitch(s(u"G"), values[i]), 1);
        EXPECT_EQ(GetGestureSwitch(s(u"G")), expected[i]) << values[i];
    }
}

TEST_F(ActionExports, ASecondOpenKeepsTheFirstFolder) {
    open();
    sctest::TempFolder other;
    OpenActionManager(reinterpret_cast<const sc_char*>(other.folder().c_str()));
    ASSERT_EQ(SetGestureToAction(s(u"G"), s(u"CTRL_C")), 1);
    EXPECT_NE(dir.text("gestureToAction.configure_v2").find(u"G,CTRL_C"), std::u16string::npos);
    EXPECT_FALSE(other.exists("gestureToAction.configure_v2"));
    EXPECT_EQ(ExecuteAction(s(u"G")), 1);
    EXPECT_EQ(ExecuteAction(s(u"")), 0);
    CloseActionNanager();
    EXPECT_EQ(ExecuteAction(s(u"G")), 0);
}

TEST_F(ActionExports, CustomActionsRoundTrip) {
    open();
    EXPECT_EQ(AddCustomAction(s(u"DESKTOP:\\a"), s(u"a.exe")), 1);
    EXPECT_EQ(AddCustomAction(s(u"a|b"), s(u"x")), 0);
    ASSERT_EQ(SetGestureToAction(s(u"G"), s(u"DESKTOP:\\a")), 1);
    EXPECT_EQ(RemoveOneCustomAction(s(u"DESKTOP:\\a")), 0);
    ASSERT_EQ(SetGestureToAction(s(u"G"), s(u"UNDO")), 1);
    EXPECT_EQ(dir.text("custom_action.configure"), u"");
}

TEST_F(ActionExports, RemovingAGestureDropsItsBindingOnlyWhenATemplateWent) {
    const std::vector<uint16_t> zig = {10, 10, 60, 60, 110, 10, 160, 60, 0};
    dir.writeText("defaults.configure", u"right,0,0,100,0\n");
    const std::u16string defaults = dir.folder() + u"/defaults.configure";
    open();
    ASSERT_EQ(SetGestureToAction(s(u"zig"), s(u"UNDO")), 1);
    EXPECT_EQ(RemoveOneGesture(s(u"zig")), 0); // no gesture manager
    OpenGestureManager(reinterpret_cast<const sc_char*>(defaults.c_str()),
                       reinterpret_cast<const sc_char*>(dir.folder().c_str()));
    ASSERT_EQ(AddOneGesture(s(u"zig"), zig.data()), 1);
    ASSERT_EQ(SetGestureToAction(s(u"right"), s(u"REDO")), 1);

    EXPECT_EQ(RemoveOneGesture(s(u"right")), 0); // a default template is never removed
    EXPECT_EQ(GetGestureSwitch(s(u"right")), 1);
    EXPECT_EQ(RemoveOneGesture(nullptr), 0);
    EXPECT_EQ(RemoveOneGesture(s(u"zig")), 1);
    EXPECT_EQ(dir.text("gestureToAction.configure_v2"), u"Quorvex Setting CFG\nright,REDO\n");
    EXPECT_EQ(dir.text("action.configure_v2"), u"Quorvex Setting CFG\nGLOBAL,0\nright,1\n");
    EXPECT_EQ(CheckNameExist(s(u"zig")), 0);

    CloseActionNanager();
    ASSERT_EQ(AddOneGesture(s(u"zig"), zig.data()), 1);
    EXPECT_EQ(RemoveOneGesture(s(u"zig")), 0); // no action manager: nothing changes
    EXPECT_EQ(CheckNameExist(s(u"zig")), 1);
    CloseGestureManager();
}

} // namespace
