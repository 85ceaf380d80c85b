// The action manager: its files, table rules, the shared mutex and running a gesture's action.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <thread>
#include <utility>

#include "action/action_files.h"
#include "action/action_manager.h"
#include "common/utf16.h"
#include "platform/fake/fake_state.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::fake::SystemCall;
using platform::fake::systemCalls;
using platform::fake::systemScript;

constexpr const char* kSwitchFile = "action.configure_v2";
constexpr const char* kBindingFile = "gestureToAction.configure_v2";
constexpr const char* kCustomFile = "custom_action.configure";

std::u16string withHeader(std::u16string_view records) {
    return u"Quorvex Setting CFG\n" + std::u16string(records);
}

using Bindings = std::initializer_list<std::pair<std::u16string_view, std::u16string_view>>;

// Binds each gesture to its action in turn; false as soon as one binding is refused.
bool bindAll(sc::ActionManager& am, Bindings bindings) {
    for (const auto& [gesture, action] : bindings) {
        if (!am.setGestureToAction(gesture, action))
            return false;
    }
    return true;
}

const SystemCall kCtrlC{"SendInput", {"0x11 down", "0x43 down", "0x43 up", "0x11 up"}};

class ActionManagerTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::fake::resetSystem(); }
    std::unique_ptr<sc::ActionManager> open() const {
        return std::make_unique<sc::ActionManager>(dir.folder());
    }
    // Every operation gives the named mutex back before it returns.
    void TearDown() override { EXPECT_EQ(platform::fake::mutexDepth(sc::kActionMutexName), 0); }

    sctest::TempFolder dir;
};

TEST_F(ActionManagerTest, FreshFolderGetsBothFilesExactly) {
    auto am = open();
    EXPECT_EQ(dir.bytes(kSwitchFile), sc::utf16::toBytes(withHeader(u"GLOBAL,0\n")));
    EXPECT_EQ(dir.bytes(kBindingFile), sc::utf16::toBytes(withHeader(u"")));
    EXPECT_EQ(dir.bytes(kSwitchFile).substr(0, 4), std::string("Q\0u\0", 4)); // no byte-order mark
    EXPECT_FALSE(am->getGestureSwitch(u"GLOBAL"));
    EXPECT_EQ(am->getActionOfGesture(u"Circle"), u"__NULLACTION_FOUND__");
}

TEST_F(ActionManagerTest, LoadsSwitchRecords) {
    dir.writeText(kSwitchFile,
                  withHeader(u"GLOBAL,1\nOff,0\nOn,1\nYes,yes\nEmpty,\nNo\nTwice,0\nTwice,1\nGLOBAL,0\n"));
    dir.writeText(kBindingFile, withHeader(u""));
    auto am = open();
    EXPECT_FALSE(am->getGestureSwitch(u"Off"));
    EXPECT_TRUE(am->getGestureSwitch(u"On"));
    EXPECT_TRUE(am->getGestureSwitch(u"Yes"));
    EXPECT_TRUE(am->getGestureSwitch(u"Empty"));
    EXPECT_TRUE(am->getGestureSwitch(u"No"));
    EXPECT_FALSE(am->getGestureSwitch(u"Twice"));  // first record of a gesture wins
    EXPECT_FALSE(am->getGestureSwitch(u"GLOBAL")); // last global record wins
    EXPECT_FALSE(am->getGestureSwitch(u"Missing"));
}

TEST_F(ActionManagerTest, LoadsBindingRecords) {
    dir.writeText(kSwitchFile, withHeader(u"GLOBAL,0\n"));
    dir.writeText(kBindingFile, withHeader(u"G,UNDO\nG,REDO\nThree,A,B\nQuorvex Setting CFG\nNoValue\n"));
    auto am = open();
    EXPECT_EQ(am->getActionOfGesture(u"G"), u"UNDO");
    EXPECT_EQ(am->getActionOfGesture(u"Three"), u"A");
    EXPECT_EQ(am->getActionOfGesture(u"NoValue"), u"__NULLACTION_FOUND__");
    EXPECT_EQ(am->getActionOfGesture(u"Quorvex Setting CFG"), u"__NULLACTION_FOUND__");
}

TEST_F(ActionManagerTest, NewBindingAppendsAndRebindingRewrites) {
    auto am = open();
    ASSERT_TRUE(bindAll(*am, {{u"star", u"UNDO"}, {u"Circle", u"REDO"}}));
    EXPECT_EQ(dir.text(kBindingFile), withHeader(u"star,UNDO\nCircle,REDO\n"));
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\nstar,1\nCircle,1\n"));
    EXPECT_TRUE(am->getGestureSwitch(u"star"));

    ASSERT_TRUE(am->setGestureToAction(u"star", u"CTRL_C"));
    EXPECT_EQ(dir.text(kBindingFile), withHeader(u"Circle,REDO\nstar,CTRL_C\n"));
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\nstar,1\nCircle,1\n"));

    ASSERT_TRUE(am->setGestureSwitch(u"Circle", false));
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"Circle,0\nGLOBAL,0\nstar,1\n"));
    ASSERT_TRUE(am->setGestureSwitch(u"new", false));
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"Circle,0\nGLOBAL,0\nstar,1\nnew,0\n"));

    // The same state comes back from the files.
    am.reset();
    am = open();
    EXPECT_EQ(am->getActionOfGesture(u"star"), u"CTRL_C");
    EXPECT_FALSE(am->getGestureSwitch(u"Circle"));
    EXPECT_FALSE(am->getGestureSwitch(u"new"));
}

TEST_F(ActionManagerTest, BindingTheSameActionWritesNothing) {
    auto am = open();
    ASSERT_TRUE(am->setGestureToAction(u"G", u"UNDO"));
    dir.writeText(kBindingFile, u"marker");
    dir.writeText(kSwitchFile, u"marker");
    EXPECT_TRUE(am->setGestureToAction(u"G", u"UNDO"));
    EXPECT_EQ(dir.text(kBindingFile), u"marker");
    EXPECT_EQ(dir.text(kSwitchFile), u"marker");
}

TEST_F(ActionManagerTest, BindingKeepsAnEarlierSwitch) {
    auto am = open();
    ASSERT_TRUE(am->setGestureSwitch(u"G", false));
    ASSERT_TRUE(am->setGestureToAction(u"G", u"UNDO"));
    EXPECT_FALSE(am->getGestureSwitch(u"G"));
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\nG,0\n"));
    am.reset();
    EXPECT_FALSE(open()->getGestureSwitch(u"G"));
}

TEST_F(ActionManagerTest, BindingAGestureNamedGlobalLeavesTheGlobalSwitchAlone) {
    auto am = open();
    ASSERT_TRUE(bindAll(*am, {{u"G", u"CTRL_C"}, {u"GLOBAL", u"UNDO"}}));
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\nG,1\n"));
    am.reset();
    am = open();
    EXPECT_FALSE(am->getGestureSwitch(u"GLOBAL"));
    EXPECT_TRUE(am->executeActionOfGesture(u"G"));
}

TEST_F(ActionManagerTest, NullRemovesTheGestureFromBothFiles) {
    auto am = open();
    ASSERT_TRUE(bindAll(*am, {{u"G", u"UNDO"}, {u"H", u"REDO"}}));
    EXPECT_TRUE(am->setGestureToAction(u"G", u"NULL"));
    EXPECT_EQ(dir.text(kBindingFile), withHeader(u"H,REDO\n"));
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\nH,1\n"));
    EXPECT_EQ(am->getActionOfGesture(u"G"), u"__NULLACTION_FOUND__");

    // A gesture without entries: both files are still rewritten.
    dir.writeText(kBindingFile, u"marker");
    EXPECT_TRUE(am->setGestureToAction(u"Unknown", u"NULL"));
    EXPECT_EQ(dir.text(kBindingFile), withHeader(u"H,REDO\n"));
    EXPECT_TRUE(am->removeGestureFromAllMaps(u"H"));
    EXPECT_EQ(dir.text(kBindingFile), withHeader(u""));
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\n"));
}

TEST_F(ActionManagerTest, RemovingAGestureNamedGlobalKeepsTheGlobalSwitch) {
    const std::function<bool(sc::ActionManager&)> removals[] = {
        [](sc::ActionManager& am) { return am.removeGestureFromAllMaps(u"GLOBAL"); },
        [](sc::ActionManager& am) { return am.setGestureToAction(u"GLOBAL", u"NULL"); },
    };
    for (const auto& remove : removals) {
        auto am = open();
        ASSERT_TRUE(bindAll(*am, {{u"G", u"CTRL_C"}, {u"GLOBAL", u"UNDO"}}));
        ASSERT_TRUE(am->setGestureSwitch(u"GLOBAL", true));
        ASSERT_TRUE(remove(*am));
        EXPECT_EQ(am->getActionOfGesture(u"GLOBAL"), u"__NULLACTION_FOUND__");
        EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"G,1\nGLOBAL,1\n"));
        EXPECT_FALSE(am->executeActionOfGesture(u"G")); // everything stays switched off
        am.reset();
        am = open();
        EXPECT_TRUE(am->getGestureSwitch(u"GLOBAL"));
        ASSERT_TRUE(am->setGestureSwitch(u"GLOBAL", false));
    }
}

TEST_F(ActionManagerTest, RefusesNamesThatWouldBreakTheFiles) {
    auto am = open();
    EXPECT_FALSE(am->setGestureToAction(u"a,b", u"UNDO"));
    EXPECT_FALSE(am->setGestureToAction(u"G", u"UNDO\nGLOBAL,1"));
    EXPECT_FALSE(am->setGestureToAction(u"", u"UNDO"));
    EXPECT_FALSE(am->setGestureToAction(u"G", u""));
    EXPECT_FALSE(am->setGestureSwitch(u"x\ny", true));
    EXPECT_EQ(dir.text(kBindingFile), withHeader(u""));
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\n"));
}

TEST_F(ActionManagerTest, AFailedWriteReportsFailureAndChangesNothing) {
    auto am = open();
    ASSERT_TRUE(am->setGestureToAction(u"G", u"UNDO"));
    dir.removeAll();
    EXPECT_FALSE(am->setGestureToAction(u"H", u"UNDO"));
    EXPECT_EQ(am->getActionOfGesture(u"H"), u"__NULLACTION_FOUND__");
    EXPECT_FALSE(am->getGestureSwitch(u"H"));
    EXPECT_FALSE(am->setGestureToAction(u"G", u"REDO"));
    EXPECT_EQ(am->getActionOfGesture(u"G"), u"UNDO");
    EXPECT_FALSE(am->setGestureSwitch(u"GLOBAL", true));
    EXPECT_FALSE(am->getGestureSwitch(u"GLOBAL"));
    EXPECT_FALSE(am->setGestureSwitch(u"G", false));
    EXPECT_TRUE(am->getGestureSwitch(u"G"));
    EXPECT_FALSE(am->setGestureToAction(u"G", u"NULL"));
    EXPECT_FALSE(am->removeGestureFromAllMaps(u"G"));
    EXPECT_EQ(am->getActionOfGesture(u"G"), u"UNDO");
    EXPECT_FALSE(am->addCustomAction(u"DESKTOP:\\x", u"x"));
    EXPECT_FALSE(am->setGestureToAction(u"G", u"DESKTOP:\\x"));
}

// A removal rewrites the switch file first; when the binding file then cannot be written, the switch
// file is as it was: its own bytes, or no file when there was none.
TEST_F(ActionManagerTest, AFailedRemovalLeavesTheSwitchFileAsItWas) {
    for (const bool switchFileThere : {true, false}) {
        auto am = open();
        ASSERT_TRUE(am->setGestureToAction(u"G", u"UNDO"));
        dir.writeText(kSwitchFile, withHeader(u"GLOBAL,0\nG,1\nfrom another program,1\n"));
        if (!switchFileThere)
            std::filesystem::remove(dir.file(kSwitchFile));
        const std::string before = switchFileThere ? dir.bytes(kSwitchFile) : std::string();
        std::filesystem::remove(dir.file(kBindingFile));
        std::filesystem::create_directory(dir.file(kBindingFile)); // no write to it can succeed
        EXPECT_FALSE(am->setGestureToAction(u"G", u"NULL"));
        EXPECT_EQ(dir.exists(kSwitchFile), switchFileThere);
        EXPECT_EQ(switchFileThere ? dir.bytes(kSwitchFile) : std::string(), before);
        EXPECT_EQ(am->getActionOfGesture(u"G"), u"UNDO");
        am.reset();
        std::filesystem::remove_all(dir.file(kBindingFile));
    }
}

TEST_F(ActionManagerTest, WithoutTheMutexChangesFailAndLookupsWork) {
    dir.writeText(kSwitchFile, withHeader(u"GLOBAL,1\nG,1\n"));
    dir.writeText(kBindingFile, withHeader(u"G,CTRL_C\n"));
    systemScript().mutexCreateFails = true;
    auto am = open();
    EXPECT_TRUE(am->getGestureSwitch(u"GLOBAL")); // the global record is applied all the same
    EXPECT_FALSE(am->setGestureToAction(u"H", u"UNDO"));
    EXPECT_FALSE(am->setGestureSwitch(u"GLOBAL", false));
    EXPECT_FALSE(am->removeGestureFromAllMaps(u"G"));
    EXPECT_EQ(am->getActionOfGesture(u"G"), u"CTRL_C");
    EXPECT_EQ(am->getActionOfGesture(u"H"), u"__NULLACTION_FOUND__");
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,1\nG,1\n"));
}

TEST_F(ActionManagerTest, AnAbandonedMutexIsTakenAndGivenBack) {
    auto am = open();
    systemScript().nextWaits = {platform::MutexWait::Abandoned};
    EXPECT_TRUE(am->setGestureToAction(u"G", u"UNDO"));
    EXPECT_EQ(platform::fake::mutexDepth(sc::kActionMutexName), 0);
    systemScript().nextWaits = {platform::MutexWait::Failed};
    EXPECT_FALSE(am->setGestureToAction(u"H", u"UNDO"));
    EXPECT_EQ(am->getActionOfGesture(u"H"), u"__NULLACTION_FOUND__");
    EXPECT_EQ(dir.text(kBindingFile), withHeader(u"G,UNDO\n"));
}

TEST_F(ActionManagerTest, ChangesTakeTheMutexLookupsDoNot) {
    auto am = open();
    const int afterOpen = platform::fake::mutexWaitCount();
    am->getActionOfGesture(u"G");
    am->getGestureSwitch(u"G");
    am->executeActionOfGesture(u"G");
    EXPECT_EQ(platform::fake::mutexWaitCount(), afterOpen);
    am->setGestureToAction(u"G", u"NULL"); // the nested removal takes it again on the same thread
    EXPECT_EQ(platform::fake::mutexWaitCount(), afterOpen + 1);
}

TEST_F(ActionManagerTest, ConvertsOldFilesOnce) {
    dir.writeBytes("action.configure", "GLOBAL,0\r\nZ,1\n");
    dir.writeBytes("gestureToAction.configure", "Z,UNDO\n");
    auto am = open();
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\nZ,1\n"));
    EXPECT_EQ(dir.text(kBindingFile), withHeader(u"Z,UNDO\n"));
    EXPECT_FALSE(dir.exists("action.configure"));
    EXPECT_FALSE(dir.exists("gestureToAction.configure"));
    EXPECT_EQ(am->getActionOfGesture(u"Z"), u"UNDO");
    am.reset();
    EXPECT_EQ(open()->getActionOfGesture(u"Z"), u"UNDO");
}

TEST_F(ActionManagerTest, AMissingNewFileConvertsBothOldFiles) {
    dir.writeBytes("action.configure", "GLOBAL,0\nOld,0\n");
    dir.writeBytes("gestureToAction.configure", "Old,UNDO\n");
    dir.writeText(kSwitchFile, withHeader(u"GLOBAL,0\nNew,1\n"));
    auto am = open();
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\nOld,0\n"));
    EXPECT_FALSE(am->getGestureSwitch(u"New"));
}

TEST_F(ActionManagerTest, AnOldFileWithoutATwinLeavesTheOtherAlone) {
    dir.writeBytes("gestureToAction.configure", "G,UNDO\n");
    auto am = open();
    EXPECT_EQ(dir.text(kSwitchFile), withHeader(u"GLOBAL,0\n")); // created by its loader
    EXPECT_EQ(am->getActionOfGesture(u"G"), u"UNDO");
}

struct ExecuteCase {
    const char* what;
    std::u16string_view switches;
    std::u16string_view bindings;
    std::u16string_view gesture;
    bool ran;
};

std::string caseName(const ::testing::TestParamInfo<ExecuteCase>& param) {
    std::string name = param.param.what;
    for (char& ch : name)
        if (ch == ' ' || ch == '-')
            ch = '_';
    return name;
}

class ExecuteRules : public ActionManagerTest, public ::testing::WithParamInterface<ExecuteCase> {};

TEST_P(ExecuteRules, RunsOnlyWhatMayRun) {
    const ExecuteCase& c = GetParam();
    dir.writeText(kSwitchFile, withHeader(c.switches));
    dir.writeText(kBindingFile, withHeader(c.bindings));
    auto am = open();
    EXPECT_EQ(am->executeActionOfGesture(c.gesture), c.ran);
    EXPECT_EQ(systemCalls(), c.ran ? std::vector<SystemCall>{kCtrlC} : std::vector<SystemCall>{});
}

INSTANTIATE_TEST_SUITE_P(
    ActionManager, ExecuteRules,
    ::testing::Values(ExecuteCase{"bound and on", u"GLOBAL,0\nG,1\n", u"G,CTRL_C\n", u"G", true},
                      ExecuteCase{"global off switch set", u"GLOBAL,1\nG,1\n", u"G,CTRL_C\n", u"G", false},
                      ExecuteCase{"gesture switched off", u"GLOBAL,0\nG,0\n", u"G,CTRL_C\n", u"G", false},
                      ExecuteCase{"no switch entry", u"GLOBAL,0\n", u"G,CTRL_C\n", u"G", false},
                      ExecuteCase{"switch without binding", u"GLOBAL,0\nG,1\n", u"", u"G", false},
                      ExecuteCase{"empty name", u"GLOBAL,0\n,1\n", u",CTRL_C\n", u"", false},
                      ExecuteCase{"no-match name", u"GLOBAL,0\n_NO_GESTURE_FOUND_,1\n",
                                  u"_NO_GESTURE_FOUND_,CTRL_C\n", u"_NO_GESTURE_FOUND_", false},
                      ExecuteCase{"gesture named GLOBAL", u"GLOBAL,0\n", u"GLOBAL,CTRL_C\n", u"GLOBAL",
                                  false},
                      ExecuteCase{"unknown action", u"GLOBAL,0\nG,1\n", u"G,NOTEPAD\n", u"G", false},
                      ExecuteCase{"lower-case built-in", u"GLOBAL,0\nG,1\n", u"G,ctrl_c\n", u"G", false}),
    caseName);

TEST_F(ActionManagerTest, GlobalSwitchStopsExecutionButNotLookups) {
    auto am = open();
    ASSERT_TRUE(am->setGestureToAction(u"G", u"CTRL_C"));
    ASSERT_TRUE(am->setGestureSwitch(u"GLOBAL", true));
    EXPECT_FALSE(am->executeActionOfGesture(u"G"));
    EXPECT_EQ(am->getActionOfGesture(u"G"), u"CTRL_C");
    EXPECT_TRUE(am->getGestureSwitch(u"GLOBAL"));
    ASSERT_TRUE(am->setGestureSwitch(u"GLOBAL", false));
    EXPECT_TRUE(am->executeActionOfGesture(u"G"));
}

TEST_F(ActionManagerTest, ACustomActionIsOfferedBeforeTheBuiltInOfTheSameName) {
    auto am = open();
    ASSERT_TRUE(am->addCustomAction(u"MUTE_KEY", u"ignored")); // neither prefix: the store declines it
    ASSERT_TRUE(am->addCustomAction(u"DESKTOP:\\pad", u"C:\\pad.exe"));
    ASSERT_TRUE(bindAll(*am, {{u"M", u"MUTE_KEY"}, {u"P", u"DESKTOP:\\pad"}}));
    EXPECT_TRUE(am->executeActionOfGesture(u"M"));
    EXPECT_TRUE(am->executeActionOfGesture(u"P"));
    EXPECT_EQ(systemCalls(),
              (std::vector<SystemCall>{{"SendInput", {"0xAD down"}},
                                       {"IsModernUiVisible", {}},
                                       {"ShellExecuteW", {"open", "explorer.exe", "C:\\pad.exe", "1"}}}));
    // A failed launch is not run as a built-in of the same text.
    systemScript().shellExecuteWResult = 2;
    EXPECT_FALSE(am->executeActionOfGesture(u"P"));
}

TEST_F(ActionManagerTest, ACustomActionGoesWhenNoGestureNamesItAnyMore) {
    auto am = open();
    ASSERT_TRUE(am->addCustomAction(u"DESKTOP:\\a", u"a.exe"));
    ASSERT_TRUE(am->addCustomAction(u"DESKTOP:\\b", u"b.exe"));
    ASSERT_TRUE(bindAll(*am, {{u"G", u"DESKTOP:\\a"}, {u"H", u"DESKTOP:\\a"}, {u"K", u"DESKTOP:\\b"}}));

    EXPECT_FALSE(am->removeCustomAction(u"DESKTOP:\\a")); // still bound: the user's binding keeps it
    ASSERT_TRUE(am->setGestureToAction(u"G", u"UNDO"));   // H still names it
    EXPECT_EQ(dir.text(kCustomFile), u"DESKTOP:\\a|a.exe\nDESKTOP:\\b|b.exe\n");
    ASSERT_TRUE(am->removeGestureFromAllMaps(u"H")); // the last binding goes, and the action with it
    EXPECT_EQ(dir.text(kCustomFile), u"DESKTOP:\\b|b.exe\n");
    ASSERT_TRUE(am->setGestureToAction(u"K", u"NULL"));
    EXPECT_EQ(dir.text(kCustomFile), u"");

    ASSERT_TRUE(am->addCustomAction(u"DESKTOP:\\c", u"c.exe"));
    EXPECT_TRUE(am->removeCustomAction(u"DESKTOP:\\c")); // nothing binds it: really removed
    EXPECT_EQ(dir.text(kCustomFile), u"");
    EXPECT_TRUE(am->removeCustomAction(u"DESKTOP:\\never"));
}

TEST_F(ActionManagerTest, ExecutingWhileBindingFromAnotherThreadIsSafe) {
    auto am = open();
    ASSERT_TRUE(am->setGestureToAction(u"Run", u"CTRL_C"));
    ASSERT_TRUE(am->addCustomAction(u"DESKTOP:\\x", u"x.exe"));
    std::atomic<bool> done{false};
    std::atomic<int> ran{0};
    std::thread capture([&] {
        while (!done) {
            if (am->executeActionOfGesture(u"Run"))
                ++ran;
            am->executeActionOfGesture(u"G3");
            am->getActionOfGesture(u"G7");
        }
    });
    for (int round = 0; round < 40; ++round) {
        const std::u16string gesture = u"G" + sc::utf16::fromInt(round % 10);
        EXPECT_TRUE(am->setGestureToAction(gesture, round % 2 ? u"DESKTOP:\\x" : u"UNDO"));
        EXPECT_TRUE(am->setGestureSwitch(gesture, round % 3 != 0));
        if (round % 7 == 0) {
            EXPECT_TRUE(am->setGestureToAction(gesture, u"NULL"));
        }
    }
    done = true;
    capture.join();
    EXPECT_GT(ran.load(), 0);
    // The files hold exactly what the tables hold.
    const auto records = sc::action_file::parse(dir.text(kBindingFile));
    for (const auto& r : records)
        EXPECT_EQ(am->getActionOfGesture(r.key), *r.value);
}

} // namespace
