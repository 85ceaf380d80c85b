// Several processes on one configuration folder: what one stores the others see on their next call, no
// record is lost when they change things at once, and a writer killed or out of room leaves whole files.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <spawn.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "common/utf16.h"
#include "tests/support/child_process.h"
#include "tests/support/engine_folder_test.h"

extern char** environ;

namespace {

const std::vector<uint16_t> kRight = {10, 50, 60, 50, 110, 50, 160, 50, 0};
const std::vector<uint16_t> kDown = {50, 10, 50, 60, 50, 110, 50, 160, 0};
// A stroke no default template is near: the one that names the gestures the processes add.
const std::vector<uint16_t> kZigzag = {10, 10, 60, 60, 110, 10, 160, 60, 210, 10, 0};

class SharedFolderTest : public sctest::EngineFolderTest {
  protected:
    SharedFolderTest() : EngineFolderTest(u"right,10,50,160,50\ndown,50,10,50,160\n") {}
    static std::set<std::u16string> gestureNames() {
        std::vector<char16_t> list(1 << 16);
        if (GetAllGestures(list.data(), static_cast<uint32_t>(list.size())) == 0)
            return {};
        std::set<std::u16string> names;
        for (auto name : sc::utf16::tokens(list.data(), u','))
            names.emplace(name);
        return names;
    }
    int host(const std::vector<std::string>& command) const {
        std::vector<std::string> args = {STROKECAST_HOST,
                                         "--library",
                                         STROKECAST_LIBRARY,
                                         "--templates",
                                         dir.file("defaults.configure").string(),
                                         "--user-folder",
                                         dir.file("").string(),
                                         "--config",
                                         dir.file("").string()};
        args.insert(args.end(), command.begin(), command.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        // The host is this test's tool, not its subject: leak checking at its exit (where a sanitizer
        // build would do it) only adds a way for the tool to fail.
        std::vector<std::string> variables = {"ASAN_OPTIONS=detect_leaks=0"};
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string_view(*e).substr(0, 13) != "ASAN_OPTIONS=")
                variables.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& v : variables)
            envp.push_back(v.data());
        envp.push_back(nullptr);
        pid_t pid = 0;
        if (::posix_spawn(&pid, STROKECAST_HOST, nullptr, nullptr, argv.data(), envp.data()) != 0)
            return -1;
        const sctest::ChildResult result = sctest::waitChild(pid);
        return result.exited ? result.status : -1;
    }
};

TEST_F(SharedFolderTest, AChangeByAnotherProcessIsSeenOnTheNextCall) {
    dir.writeText("defaults.configure", u"down,50,10,50,160\n");
    openAll();
    ASSERT_EQ(recognized(kZigzag), u"_NO_GESTURE_FOUND_");
    ASSERT_EQ(actionOf(u"W"), u"__NULLACTION_FOUND__");
    ASSERT_EQ(host({"add", "W", "10,10 60,60 110,10 160,60 210,10"}), 0);
    ASSERT_EQ(host({"bind", "W", "MUTE_KEY"}), 0);
    EXPECT_EQ(recognized(kZigzag), u"W");
    EXPECT_EQ(CheckNameExist(u"W"), 1);
    EXPECT_EQ(actionOf(u"W"), u"MUTE_KEY");
    EXPECT_EQ(GetGestureSwitch(u"W"), 1);
    ASSERT_EQ(host({"switch", "GLOBAL", "on"}), 0);
    EXPECT_EQ(ExecuteAction(u"W"), 0); // everything switched off by the other process
    ASSERT_EQ(host({"switch", "GLOBAL", "off"}), 0);
    EXPECT_EQ(ExecuteAction(u"W"), 1);
    // And the other way round: this process's change reaches a fresh one.
    ASSERT_EQ(SetGestureToAction(u"W", u"NULL"), 1);
    ASSERT_EQ(RemoveOneGesture(u"W"), 1);
    EXPECT_EQ(host({"recognize", "10,10 60,60 110,10 160,60 210,10"}), 0);
    EXPECT_EQ(recognized(kZigzag), u"_NO_GESTURE_FOUND_");
}

// Each process changes only its own names, so the final state of each is known exactly.
int changeOwnNames(const sctest::TempFolder& dir, int process, int rounds) {
    OpenGestureManager((dir.folder() + u"\\defaults.configure").c_str(), dir.folder().c_str());
    OpenActionManager(dir.folder().c_str());
    int failures = 0;
    for (int r = 0; r < rounds; ++r) {
        const std::u16string p = u"p" + sc::utf16::fromInt(process) + u"_" + sc::utf16::fromInt(r);
        failures += AddOneGesture((p + u"t").c_str(), kZigzag.data()) != 1;
        failures += SetGestureToAction((p + u"b").c_str(), u"UNDO") != 1;
        failures += SetGestureToAction((p + u"b").c_str(), u"REDO") != 1; // a rewrite
        failures += SetGestureToAction((p + u"u").c_str(), u"MUTE_KEY") != 1;
        failures += SetGestureToAction((p + u"u").c_str(), u"NULL") != 1;
        failures += SetGestureSwitch((p + u"b").c_str(), 0) != 1;
        failures += AddCustomAction((u"DESKTOP:\\" + p).c_str(), u"x.exe") != 1;
        failures += SetGestureToAction((p + u"c").c_str(), (u"DESKTOP:\\" + p).c_str()) != 1;
    }
    CloseGestureManager();
    CloseActionNanager();
    return failures;
}

TEST_F(SharedFolderTest, ProcessesChangingAtOnceLoseNoRecord) {
    for (const int processes : {2, 4, 8}) {
        SCOPED_TRACE(processes);
        sctest::TempFolder shared;
        shared.writeText("defaults.configure", u"right,10,50,160,50\n");
        constexpr int kRounds = 12;
        std::vector<pid_t> children;
        for (int p = 0; p < processes; ++p)
            children.push_back(sctest::startChild([&, p] { return changeOwnNames(shared, p, kRounds); }));
        for (pid_t child : children) {
            const auto result = sctest::waitChild(child);
            EXPECT_TRUE(result.exited && result.status == 0) << result.status;
        }
        OpenGestureManager((shared.folder() + u"\\defaults.configure").c_str(), shared.folder().c_str());
        OpenActionManager(shared.folder().c_str());
        const std::set<std::u16string> names = gestureNames();
        int lost = 0;
        for (int p = 0; p < processes; ++p) {
            for (int r = 0; r < kRounds; ++r) {
                const std::u16string n = u"p" + sc::utf16::fromInt(p) + u"_" + sc::utf16::fromInt(r);
                lost += names.count(n + u"t") != 1;
                lost += actionOf(n + u"b") != u"REDO";
                lost += GetGestureSwitch((n + u"b").c_str()) != 0;
                lost += actionOf(n + u"u") != u"__NULLACTION_FOUND__";
                lost += actionOf(n + u"c") != u"DESKTOP:\\" + n;
            }
        }
        EXPECT_EQ(lost, 0);
        EXPECT_EQ(names.size(), static_cast<std::size_t>(1 + processes * kRounds));
        // Every line of every file is one whole record.
        const std::u16string templates = shared.text("MyGesture.configure");
        EXPECT_EQ(std::count(templates.begin(), templates.end(), u'\n'), processes * kRounds);
        for (auto line : sc::utf16::splitLines(templates))
            EXPECT_EQ(line.substr(0, 1), u"p") << sc::utf16::toUtf8(line);
        closeAll();
    }
}

TEST_F(SharedFolderTest, KilledWritersLeaveWholeFilesAndNoTemporaries) {
    // A child reports each success on a pipe; whatever it reported must survive its death.
    std::mt19937 random(7);
    constexpr int kKills = 60;
    int reportedTemplates = 0;
    std::string lastBinding;
    for (int kill = 0; kill < kKills; ++kill) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const int base = kill * 1000;
        const pid_t child = sctest::startChild([&]() -> int {
            ::close(fds[0]);
            openAll();
            for (int i = base;; ++i) {
                const std::u16string n = u"k" + sc::utf16::fromInt(i);
                if (AddOneGesture(n.c_str(), kZigzag.data()) == 1 &&
                    SetGestureToAction(u"B", (u"DESKTOP:\\" + n).c_str()) == 1 &&
                    AddCustomAction((u"DESKTOP:\\" + n).c_str(), u"x") == 1) {
                    const std::string line = std::to_string(i) + "\n";
                    if (::write(fds[1], line.data(), line.size()) < 0)
                        return 1;
                }
            }
        });
        ::close(fds[1]);
        // The kill falls at a random moment after the child's first whole round, however slow its start.
        std::string reported;
        char chunk[256];
        while (reported.find('\n') == std::string::npos) {
            const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
            if (n <= 0)
                break;
            reported.append(chunk, static_cast<std::size_t>(n));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 10000));
        ::kill(child, SIGKILL);
        sctest::waitChild(child);
        for (ssize_t n; (n = ::read(fds[0], chunk, sizeof chunk)) > 0;)
            reported.append(chunk, n);
        ::close(fds[0]);
        if (!reported.empty()) {
            reported.pop_back();
            lastBinding = reported.substr(reported.rfind('\n') + 1);
            reportedTemplates += static_cast<int>(std::count(reported.begin(), reported.end(), '\n')) + 1;
        }
        // Whatever moment the kill hit, every file reads as whole records.
        for (const char* file : {"action.configure_v2", "gestureToAction.configure_v2"}) {
            if (!dir.exists(file))
                continue;
            const std::u16string text = dir.text(file);
            EXPECT_EQ(text.substr(0, 20), u"Quorvex Setting CFG\n") << file;
            const auto lines = sc::utf16::splitLines(text);
            for (std::size_t i = 1; i < lines.size(); ++i)
                EXPECT_NE(lines[i].find(u','), std::u16string_view::npos);
        }
    }
    openAll(); // removes what dead writers left behind
    std::size_t temporaries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("")))
        temporaries += entry.path().filename().string().find(".tmp") != std::string::npos;
    EXPECT_EQ(temporaries, 0u);
    const std::set<std::u16string> names = gestureNames();
    EXPECT_GE(names.size(), static_cast<std::size_t>(2 + reportedTemplates));
    ASSERT_FALSE(lastBinding.empty());
    // The last binding reported is there, or a later one the child wrote before it could report it.
    const std::u16string bound = actionOf(u"B");
    ASSERT_EQ(bound.substr(0, 10), u"DESKTOP:\\k");
    EXPECT_GE(std::stoi(sc::utf16::toUtf8(bound.substr(10))), std::stoi(lastBinding));
    std::printf(
        "[ figures  ] %d kills during rewrites and appends, %d reported changes kept, %zu temporaries left\n",
        kKills, reportedTemplates, temporaries);
}

TEST_F(SharedFolderTest, OnAFullDiskEverySuccessIsStoredAndEveryFailureChangesNothing) {
    openAll();
    ASSERT_EQ(SetGestureToAction(u"A", u"UNDO"), 1);
    closeAll();
    const std::vector<std::string> files = {"MyGesture.configure", "action.configure_v2",
                                            "gestureToAction.configure_v2", "custom_action.configure"};
    // Each process-wide file size limit plays a disk with that much room for any one file.
    const auto child = sctest::runChildForText([&] {
        sctest::limitFileSize(700);
        openAll();
        int falseFailures = 0;
        std::string stored;
        for (int i = 0; i < 40; ++i) {
            const std::u16string n = u"f" + sc::utf16::fromInt(i);
            std::vector<std::string> before;
            for (const auto& f : files)
                before.push_back(dir.bytes(f));
            const int results[] = {AddOneGesture(n.c_str(), kZigzag.data()),
                                   SetGestureToAction(n.c_str(), u"REDO"), SetGestureSwitch(u"A", i % 2),
                                   AddCustomAction((u"DESKTOP:\\" + n).c_str(), u"x")};
            for (std::size_t op = 0; op < 4; ++op)
                stored += results[op] == 1 ? '1' : '0';
            // A failure changed nothing: for a call that failed alone, its files are as before.
            if (results[0] == 0 && dir.bytes(files[0]) != before[0])
                ++falseFailures;
            if (results[0] == 0 && CheckNameExist(n.c_str()) != 0)
                ++falseFailures;
            if (results[1] == 0 && actionOf(n) != u"__NULLACTION_FOUND__")
                ++falseFailures;
        }
        return stored + "\n" + std::to_string(falseFailures) + "\n";
    });
    ASSERT_TRUE(child.result.exited && child.result.status == 0);
    const std::string& report = child.text;
    const std::string stored = report.substr(0, report.find('\n'));
    EXPECT_EQ(report.substr(report.find('\n') + 1), "0\n");
    ASSERT_EQ(stored.size(), 160u);
    EXPECT_NE(stored.find('0'), std::string::npos); // the disk did fill up
    EXPECT_NE(stored.find('1'), std::string::npos);
    openAll();
    const std::set<std::u16string> names = gestureNames();
    int falseSuccesses = 0;
    for (int i = 0; i < 40; ++i) {
        const std::u16string n = u"f" + sc::utf16::fromInt(i);
        falseSuccesses += (stored[4 * i] == '1') != (names.count(n) == 1);
        falseSuccesses += (stored[4 * i + 1] == '1') != (actionOf(n) == u"REDO");
    }
    EXPECT_EQ(falseSuccesses, 0);
    EXPECT_EQ(actionOf(u"A"), u"UNDO");
    std::printf("[ figures  ] full disk: %zu calls, %zu failed, %d false successes\n", stored.size(),
                static_cast<std::size_t>(std::count(stored.begin(), stored.end(), '0')), falseSuccesses);
}

TEST_F(SharedFolderTest, AProcessMayEndOrUnloadWithEverythingOpen) {
    const auto exitOpen = sctest::runChild([&]() -> int {
        openAll();
        OpenTouchCapturer();
        std::exit(0); // the process's own exit handlers run, as in any host that forgets to close
    });
    EXPECT_TRUE(exitOpen.exited);
    EXPECT_EQ(exitOpen.status, 0);
    const auto unload = sctest::runChild([&]() -> int {
        void* library = ::dlopen(STROKECAST_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return 2;
        using OpenFolder = void (*)(const char16_t*);
        using OpenGestures = void (*)(const char16_t*, const char16_t*);
        using Open = void (*)();
        reinterpret_cast<OpenGestures>(::dlsym(library, "OpenGestureManager"))(
            (dir.folder() + u"\\defaults.configure").c_str(), dir.folder().c_str());
        reinterpret_cast<OpenFolder>(::dlsym(library, "OpenActionManager"))(dir.folder().c_str());
        reinterpret_cast<Open>(::dlsym(library, "OpenTouchCapturer"))();
        ::dlclose(library);
        std::exit(0);
    });
    EXPECT_TRUE(unload.exited);
    EXPECT_EQ(unload.status, 0);
}

TEST_F(SharedFolderTest, HandEditedFilesKeepEveryRecord) {
    struct Case {
        const char* what;
        const char* file;
        std::string bytes;
    };
    const auto utf16 = [](std::u16string_view text) { return sc::utf16::toBytes(text); };
    const Case cases[] = {
        {"template without a line end", "MyGesture.configure", utf16(u"m,1,1,5,5")},
        {"template file with a byte-order mark", "MyGesture.configure", "\xFF\xFE" + utf16(u"m,1,1,5,5\n")},
        {"template file of an odd length", "MyGesture.configure", utf16(u"m,1,1,5,5") + "5"},
        {"binding without a line end", "gestureToAction.configure_v2", utf16(u"a,MUTE_KEY")},
        {"binding file with a byte-order mark", "gestureToAction.configure_v2",
         "\xFF\xFE" + utf16(u"a,MUTE_KEY\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sctest::TempFolder own;
        own.writeText("defaults.configure", u"");
        own.writeText("action.configure_v2", u"Quorvex Setting CFG\nGLOBAL,0\n");
        own.writeText("gestureToAction.configure_v2", u"Quorvex Setting CFG\n");
        own.writeBytes(c.file, c.bytes);
        const auto open = [&] {
            OpenGestureManager((own.folder() + u"\\defaults.configure").c_str(), own.folder().c_str());
            OpenActionManager(own.folder().c_str());
        };
        open();
        ASSERT_EQ(AddOneGesture(u"new", kRight.data()), 1);
        ASSERT_EQ(SetGestureToAction(u"b", u"LOCKSCREEN"), 1);
        closeAll();
        open();
        const std::set<std::u16string> names = gestureNames();
        EXPECT_EQ(names.count(u"new"), 1u);
        EXPECT_EQ(actionOf(u"b"), u"LOCKSCREEN");
        if (std::string(c.file) == "MyGesture.configure") {
            EXPECT_EQ(names, (std::set<std::u16string>{u"m", u"new"}));
            uint16_t track[16] = {};
            ASSERT_EQ(GetGestureTrack(u"m", track, 16), 1);
            EXPECT_EQ(std::vector<uint16_t>(track, track + 5), (std::vector<uint16_t>{1, 1, 5, 5, 0}));
        } else {
            EXPECT_EQ(actionOf(u"a"), u"MUTE_KEY");
        }
        closeAll();
    }
}

TEST_F(SharedFolderTest, AOneUnitNameWithoutPointsSurvivesARewrite) {
    dir.writeText("MyGesture.configure", u"x,\ny,10,50,160,50\n");
    openAll();
    ASSERT_EQ(RemoveOneGesture(u"y"), 1);
    closeAll();
    openAll();
    EXPECT_EQ(gestureNames(), (std::set<std::u16string>{u"down", u"right", u"x"}));
}

} // namespace
