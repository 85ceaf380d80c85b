// The settings file exports: one file carries every user template, binding, switch and custom action;
// an import replaces them all or, when anything is wrong, changes not one byte.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "common/utf16.h"
#include "tests/support/child_process.h"
#include "tests/support/engine_folder_test.h"

namespace {

const std::vector<uint16_t> kZigzag = {10, 10, 60, 60, 110, 10, 160, 60, 210, 10, 0};
const std::vector<uint16_t> kHook = {10, 10, 10, 110, 60, 110, 0};
const std::array<std::string, 4> kFiles = {"MyGesture.configure", "gestureToAction.configure_v2",
                                           "action.configure_v2", "custom_action.configure"};

class SettingsFileTest : public sctest::EngineFolderTest {
  protected:
    SettingsFileTest() : EngineFolderTest(u"right,10,50,160,50\n") {}
    std::u16string path(const std::string& name) const {
        return dir.folder() + u"\\" + sc::utf16::fromUtf8(name);
    }
    std::array<std::string, 4> allBytes() const {
        std::array<std::string, 4> bytes;
        for (std::size_t i = 0; i < kFiles.size(); ++i)
            bytes[i] = dir.exists(kFiles[i]) ? dir.bytes(kFiles[i]) : "(missing)";
        return bytes;
    }
    static std::u16string lastError() {
        char16_t line[1024] = {};
        return StrokecastLastError(line, 1024) > 0 ? std::u16string(line) : u"";
    }
    // A configuration with something in every file.
    void fill() const {
        ASSERT_EQ(AddOneGesture(u"W", kZigzag.data()), 1);
        ASSERT_EQ(AddOneGesture(u"W", kZigzag.data()), 1);
        ASSERT_EQ(AddOneGesture(u"hook", kHook.data()), 1);
        ASSERT_EQ(SetGestureToAction(u"W", u"CTRL_C"), 1);
        ASSERT_EQ(AddCustomAction(u"DESKTOP:\\Pad", u"C:\\tools\\pad, the editor.exe"), 1);
        ASSERT_EQ(SetGestureToAction(u"hook", u"DESKTOP:\\Pad"), 1);
        ASSERT_EQ(SetGestureSwitch(u"hook", 0), 1);
        ASSERT_EQ(SetGestureSwitch(u"GLOBAL", 1), 1);
    }
};

TEST_F(SettingsFileTest, ExportWritesEverythingReadablyAndImportElsewhereRestoresIt) {
    openAll();
    fill();
    ASSERT_EQ(StrokecastExportSettings(path("all.settings").c_str()), 1);
    EXPECT_EQ(dir.text("all.settings"), u"Strokecast settings 1\n"
                                        u"[gestures]\n"
                                        u"W,10,10,60,60,110,10,160,60,210,10\n"
                                        u"W,10,10,60,60,110,10,160,60,210,10\n"
                                        u"hook,10,10,10,110,60,110\n"
                                        u"[bindings]\n"
                                        u"W,CTRL_C\n"
                                        u"hook,DESKTOP:\\Pad\n"
                                        u"[switches]\n"
                                        u"GLOBAL,1\n"
                                        u"W,1\n"
                                        u"hook,0\n"
                                        u"[custom actions]\n"
                                        u"DESKTOP:\\Pad|C:\\tools\\pad, the editor.exe\n");
    closeAll();

    // Another machine: an empty folder gets the same configuration and exports the same bytes.
    sctest::TempFolder other;
    other.writeText("defaults.configure", u"right,10,50,160,50\n");
    other.writeBytes("all.settings", dir.bytes("all.settings"));
    OpenGestureManager((other.folder() + u"\\defaults.configure").c_str(), other.folder().c_str());
    OpenActionManager(other.folder().c_str());
    ASSERT_EQ(StrokecastImportSettings((other.folder() + u"\\all.settings").c_str()), 1)
        << sc::utf16::toUtf8(lastError());
    EXPECT_EQ(recognized(kZigzag), u"W");
    EXPECT_EQ(actionOf(u"hook"), u"DESKTOP:\\Pad");
    EXPECT_EQ(GetGestureSwitch(u"hook"), 0);
    EXPECT_EQ(GetGestureSwitch(u"GLOBAL"), 1);
    ASSERT_EQ(StrokecastExportSettings((other.folder() + u"\\again.settings").c_str()), 1);
    EXPECT_EQ(other.bytes("again.settings"), dir.bytes("all.settings"));
    // The engine's own files in the engine's own format: a removal works on them as on any.
    ASSERT_EQ(RemoveOneGesture(u"W"), 1);
    EXPECT_EQ(other.text("MyGesture.configure"),
              u"W,10,10,60,60,110,10,160,60,210,10\nhook,10,10,10,110,60,110\n");
}

TEST_F(SettingsFileTest, ImportReplacesInsteadOfAdding) {
    openAll();
    fill();
    dir.writeText("small.settings",
                  u"Strokecast settings 1\r\n[gestures]\r\nzig,10,10,60,60,110,10,160,60,210,"
                  u"10\r\n\r\n[bindings]\r\nzig,REDO\r\n[switches]\r\n[custom actions]\r\n");
    ASSERT_EQ(StrokecastImportSettings(path("small.settings").c_str()), 1) << sc::utf16::toUtf8(lastError());
    EXPECT_EQ(CheckNameExist(u"W"), 0);
    EXPECT_EQ(CheckNameExist(u"hook"), 0);
    EXPECT_EQ(CheckNameExist(u"right"), 1); // the defaults are not the user's to replace
    EXPECT_EQ(recognized(kZigzag), u"zig");
    EXPECT_EQ(actionOf(u"W"), u"__NULLACTION_FOUND__");
    EXPECT_EQ(actionOf(u"zig"), u"REDO");
    EXPECT_EQ(GetGestureSwitch(u"GLOBAL"), 0);
    EXPECT_EQ(dir.text("custom_action.configure"), u"");
    EXPECT_EQ(dir.text("action.configure_v2"), u"Quorvex Setting CFG\nGLOBAL,0\n");
}

TEST_F(SettingsFileTest, AMalformedFileChangesNothingAndNamesItsLine) {
    openAll();
    fill();
    const std::array<std::string, 4> before = allBytes();
    struct Case {
        std::u16string_view text;
        std::u16string_view reason;
    };
    const Case cases[] = {
        {u"", u"line 1: not a Strokecast settings file"},
        {u"W,CTRL_C\n", u"line 1: not a Strokecast settings file"},
        {u"Strokecast settings 2\n[gestures]\n", u"line 1: written by a newer Strokecast"},
        {u"Strokecast settings 1\n[gestures]\n[bindings]\n[switches]\n", u"ends before its [custom actions]"},
        {u"Strokecast settings 1\n[bindings]\n[gestures]\n", u"line 2: the sections are"},
        {u"Strokecast settings 1\nW,1,2,3,4\n", u"line 2: the sections are"},
        {u"Strokecast settings 1\n[gestures]\nW,1,2,3\n", u"line 3: the coordinates are not pairs"},
        {u"Strokecast settings 1\n[gestures]\nW,1,2,x,4\n", u"line 3: a coordinate is not a whole number"},
        {u"Strokecast settings 1\n[gestures]\nW,1,2,3,99999999999\n", u"line 3: a coordinate"},
        {u"Strokecast settings 1\n[gestures]\nW\n", u"line 3: a template needs a name"},
        {u"Strokecast settings 1\n[gestures]\n_NO_GESTURE_FOUND_,1,2,3,4\n", u"line 3: the gesture name"},
        {u"Strokecast settings 1\n[gestures]\n,1,2,3,4\n", u"line 3: the gesture name"},
        {u"Strokecast settings 1\n[gestures]\n[bindings]\nW,UNDO,REDO\n", u"line 4: a record is"},
        {u"Strokecast settings 1\n[gestures]\n[bindings]\nW,\n", u"line 4: a record is"},
        {u"Strokecast settings 1\n[gestures]\n[bindings]\nW,UNDO\nW,REDO\n",
         u"line 5: the gesture is bound twice"},
        {u"Strokecast settings 1\n[gestures]\n[bindings]\n[switches]\nW,2\n", u"line 5: a switch is 0"},
        {u"Strokecast settings 1\n[gestures]\n[bindings]\n[switches]\nW,1\nW,0\n", u"line 6: the switch is"},
        {u"Strokecast settings 1\n[gestures]\n[bindings]\n[switches]\n[custom actions]\nDESKTOP:\\x\n",
         u"line 6: a custom action is"},
        {u"Strokecast settings 1\n[gestures]\n[bindings]\n[switches]\n[custom actions]\n|C:\\x.exe\n",
         u"line 6: a custom action is"},
        {u"Strokecast settings 1\n[gestures]\n[bindings]\n[switches]\n[custom actions]\nA|b\n[gestures]\n",
         u"line 7: the sections are"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(sc::utf16::toUtf8(c.text));
        dir.writeText("bad.settings", c.text);
        EXPECT_EQ(StrokecastImportSettings(path("bad.settings").c_str()), 0);
        EXPECT_NE(lastError().find(c.reason), std::u16string::npos) << sc::utf16::toUtf8(lastError());
        EXPECT_NE(lastError().find(u"bad.settings"), std::u16string::npos);
        EXPECT_EQ(allBytes(), before);
    }
    EXPECT_EQ(StrokecastImportSettings(path("missing.settings").c_str()), 0);
    EXPECT_NE(lastError().find(u"missing.settings"), std::u16string::npos);
    EXPECT_EQ(allBytes(), before);
    EXPECT_EQ(actionOf(u"W"), u"CTRL_C");
}

TEST_F(SettingsFileTest, AWriteFailingMidwayPutsEveryFileBackByteForByte) {
    openAll();
    fill();
    closeAll();
    const std::array<std::string, 4> before = allBytes();
    // Small gesture, binding and switch files, then a custom action file too big for the "disk": the
    // first three are replaced before the fourth fails.
    std::u16string text = u"Strokecast settings 1\n[gestures]\nZ,1,1,50,50\n[bindings]\nZ,UNDO\n[switches]\n"
                          u"Z,0\n[custom actions]\nDESKTOP:\\Big|";
    text.append(2000, u'x');
    text += u"\n";
    dir.writeText("big.settings", text);
    const sctest::ChildResult result = sctest::runChild([&] {
        sctest::limitFileSize(3000);
        openAll();
        const int imported = StrokecastImportSettings(path("big.settings").c_str());
        const bool named = lastError().find(u"custom_action.configure") != std::u16string::npos;
        return imported == 0 && named ? 0 : 1;
    });
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(allBytes(), before);
    openAll();
    EXPECT_EQ(CheckNameExist(u"Z"), 0);
    EXPECT_EQ(actionOf(u"W"), u"CTRL_C");
}

TEST_F(SettingsFileTest, AnotherProcessSeesTheImportOnItsNextCall) {
    openAll();
    fill();
    ASSERT_EQ(recognized(kZigzag), u"W");
    dir.writeText("new.settings", u"Strokecast settings 1\n[gestures]\nzag,10,10,60,60,110,10,160,60,210,10\n"
                                  u"[bindings]\nzag,MUTE_KEY\n[switches]\nzag,1\n[custom actions]\n");
    // The child inherits this process's open managers, a copy of their tables as they are now, and
    // imports through them while this process's stay as they were.
    const pid_t importer = sctest::startChild(
        [&] { return StrokecastImportSettings(path("new.settings").c_str()) == 1 ? 0 : 1; });
    const sctest::ChildResult result = sctest::waitChild(importer);
    ASSERT_TRUE(result.exited && result.status == 0);
    EXPECT_EQ(recognized(kZigzag), u"zag");
    EXPECT_EQ(actionOf(u"zag"), u"MUTE_KEY");
    EXPECT_EQ(actionOf(u"W"), u"__NULLACTION_FOUND__");
    EXPECT_EQ(GetGestureSwitch(u"GLOBAL"), 0);
    EXPECT_EQ(ExecuteAction(u"zag"), 1);
}

TEST_F(SettingsFileTest, NeedsBothManagersAndAPath) {
    EXPECT_EQ(StrokecastExportSettings(path("x.settings").c_str()), 0);
    OpenGestureManager((dir.folder() + u"\\defaults.configure").c_str(), dir.folder().c_str());
    EXPECT_EQ(StrokecastExportSettings(path("x.settings").c_str()), 0);
    OpenActionManager(dir.folder().c_str());
    EXPECT_EQ(StrokecastExportSettings(nullptr), 0);
    EXPECT_EQ(StrokecastImportSettings(nullptr), 0);
    EXPECT_FALSE(dir.exists("x.settings"));
    EXPECT_EQ(StrokecastExportSettings(path("x.settings").c_str()), 1);
    EXPECT_EQ(StrokecastExportSettings((dir.folder() + u"\\no\\such\\x.settings").c_str()), 0);
    EXPECT_NE(lastError().find(u"x.settings"), std::u16string::npos);
}

} // namespace
