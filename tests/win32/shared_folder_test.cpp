// Several processes on one configuration folder through the real DLL: what one stores another sees on
// its next call, processes changing things at once lose nothing, killed writers leave whole files, a
// refused replace falls back in place, and a process may end or unload with everything open.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <set>
#include <vector>

#include "tests/win32/dll_loader.h"

namespace {

using sctest::exitCodeOf;
using sctest::readBytes;
using sctest::startPeer;
using sctest::utf16le;
using sctest::writeBytes;

// Reads as an indexer or another engine process would: sharing everything, deletion included, so the
// read never stands in the way of a writer's move over the file.
std::string readShared(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

const std::vector<uint16_t> kZigzag = {10, 10, 60, 60, 110, 10, 160, 60, 210, 10, 0};

class SharedFolderDll : public ::testing::Test {
  protected:
    void SetUp() override {
        closeAll();
        writeBytes(folder + L"\\defaults.configure", utf16le(L"down,50,10,50,160\n"));
    }
    void TearDown() override { closeAll(); }
    static void closeAll() {
        SC_FN(CloseGestureManager)();
        SC_FN(CloseActionNanager)();
    }
    void openAll() const {
        SC_FN(OpenGestureManager)((folder + L"\\defaults.configure").c_str(), folder.c_str());
        SC_FN(OpenActionManager)(folder.c_str());
    }
    static std::wstring actionOf(const std::wstring& gesture) {
        wchar_t action[256] = {};
        return SC_FN(GetActionOfGesture)(gesture.c_str(), action, 256) > 0 ? action : L"(none)";
    }
    static std::set<std::wstring> names() {
        std::vector<wchar_t> list(1 << 16);
        std::set<std::wstring> out;
        if (SC_FN(GetAllGestures)(list.data(), static_cast<uint32_t>(list.size())) == 0)
            return out;
        std::wstring all(list.data());
        for (std::size_t start = 0; start <= all.size();) {
            const std::size_t end = std::min(all.find(L',', start), all.size());
            if (end > start)
                out.insert(all.substr(start, end - start));
            start = end + 1;
        }
        return out;
    }
    std::size_t temporaries() const {
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((folder + L"\\*.tmp*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return 0;
        std::size_t count = 0;
        do
            ++count;
        while (FindNextFileW(search, &found));
        FindClose(search);
        return count;
    }

    std::wstring folder = sctest::freshTempFolder(L"shared");
};

TEST_F(SharedFolderDll, AnotherProcessesChangesAreSeenOnTheNextCallAndNoneIsLost) {
    openAll();
    wchar_t name[64] = {};
    ASSERT_EQ(SC_FN(recognizeGesture)(kZigzag.data(), name, 64), 19);
    ASSERT_EQ(std::wstring(name), L"_NO_GESTURE_FOUND_");
    constexpr int kProcesses = 4;
    constexpr int kRounds = 10;
    std::vector<HANDLE> peers;
    for (int p = 0; p < kProcesses; ++p)
        peers.push_back(startPeer(L"change \"" + folder + L"\" p" + std::to_wstring(p) + L" " +
                                  std::to_wstring(kRounds)));
    for (HANDLE peer : peers) {
        ASSERT_NE(peer, nullptr);
        EXPECT_EQ(exitCodeOf(peer), 0u);
    }
    // This process kept its managers open all along: the next calls see every peer's changes.
    const std::set<std::wstring> seen = names();
    int lost = 0;
    for (int p = 0; p < kProcesses; ++p) {
        for (int r = 0; r < kRounds; ++r) {
            const std::wstring n = L"p" + std::to_wstring(p) + L"_" + std::to_wstring(r);
            lost += seen.count(n + L"t") != 1;
            lost += actionOf(n + L"b") != L"REDO";
            lost += SC_FN(GetGestureSwitch)((n + L"b").c_str()) != 0;
            lost += actionOf(n + L"u") != L"__NULLACTION_FOUND__";
            lost += actionOf(n + L"c") != L"DESKTOP:\\" + n;
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(1 + kProcesses * kRounds));
    ASSERT_EQ(SC_FN(recognizeGesture)(kZigzag.data(), name, 64), 6);
    EXPECT_EQ(std::wstring(name).substr(0, 1), L"p");
    // No line of the template file is torn.
    const std::string bytes = readBytes(folder + L"\\MyGesture.configure");
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), kProcesses * kRounds);
    std::printf("[ figures  ] %d processes x %d rounds x 8 changes, %d records lost\n", kProcesses, kRounds,
                lost);
}

TEST_F(SharedFolderDll, KilledWritersLeaveWholeFilesAndTheirTemporariesGo) {
    std::mt19937 random(11);
    constexpr int kKills = 20;
    HANDLE churning = CreateEventW(nullptr, FALSE, FALSE, L"action_peer_churning");
    ASSERT_NE(churning, nullptr);
    for (int kill = 0; kill < kKills; ++kill) {
        HANDLE peer = startPeer(L"churn \"" + folder + L"\"");
        ASSERT_NE(peer, nullptr);
        // Killed somewhere in its changes, however long a loaded machine took to start it.
        EXPECT_EQ(WaitForSingleObject(churning, 60000), WAIT_OBJECT_0) << "the writer never got going";
        Sleep(random() % 200);
        TerminateProcess(peer, 9);
        WaitForSingleObject(peer, 20000);
        CloseHandle(peer);
    }
    CloseHandle(churning);
    // Wine signals a terminated process before its last system call is done, so the files are read
    // only after one more process has opened and closed everything.
    HANDLE last = startPeer(L"leave-open \"" + folder + L"\" exit");
    ASSERT_NE(last, nullptr);
    ASSERT_EQ(exitCodeOf(last), 0u);
    for (const wchar_t* file : {L"\\action.configure_v2", L"\\gestureToAction.configure_v2"}) {
        const std::string bytes = readShared(folder + file);
        EXPECT_EQ(bytes.substr(0, 40), utf16le(L"Quorvex Setting CFG\n")) << file;
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\n\0", 2)) << file;
    }
    openAll(); // clears what dead writers left behind
    EXPECT_EQ(temporaries(), 0u);
    EXPECT_GE(names().size(), 2u);
    EXPECT_EQ(actionOf(L"B").substr(0, 10), L"DESKTOP:\\k");
    std::printf("[ figures  ] %d writers killed, %zu temporaries left\n", kKills, temporaries());
}

TEST_F(SharedFolderDll, AReplaceRefusedByAnotherOpenerIsWrittenInPlace) {
    openAll();
    ASSERT_EQ(SC_FN(SetGestureSwitch)(L"G", 1), 1);
    // An opener that shares reading and writing but not deletion blocks the move over the file.
    const std::wstring path = folder + L"\\action.configure_v2";
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SC_FN(SetGestureSwitch)(L"G", 0), 1);
    CloseHandle(holder);
    EXPECT_EQ(readBytes(path), utf16le(L"Quorvex Setting CFG\nG,0\nGLOBAL,0\n"));
    EXPECT_EQ(temporaries(), 0u);
}

TEST_F(SharedFolderDll, AProcessMayEndOrUnloadWithEverythingOpen) {
    for (const wchar_t* how : {L"exit", L"unload"}) {
        HANDLE peer = startPeer(L"leave-open \"" + folder + L"\" " + how);
        ASSERT_NE(peer, nullptr);
        EXPECT_EQ(exitCodeOf(peer), 0u) << how;
    }
}

} // namespace
