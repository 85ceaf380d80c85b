// The DLL loads under Wine and exports all 26 names.
#include <gtest/gtest.h>

#include "tests/win32/dll_loader.h"

TEST(Dll, ExportsEveryName) {
    const char* names[] = {"OpenGestureManager", "CloseGestureManager", "recognizeGesture", "GetAllGestures",
                           "GetGestureTrack", "AddOneGesture", "CheckNameExist", "RemoveOneGesture",
                           "OpenActionManager", "CloseActionNanager", "SetGestureSwitch", "GetGestureSwitch",
                           "GetActionOfGesture", "ExecuteAction", "SetGestureToAction", "AddCustomAction",
                           "RemoveOneCustomAction", "GetMetroKeyArrary", "GetMetroAppInfo", "GetMetroIcon",
                           "GetFileLargeIcon", "OpenTouchCapturer", "CloseTouchCapturer", "SetCharmBarCptEnable",
                           "SetHotKey", "GetFnvHash"};
    for (const char* name : names) EXPECT_NE(GetProcAddress(sctest::strokecastModule(), name), nullptr) << name;
}
