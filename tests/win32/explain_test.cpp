// The explanation exports through strokecast.dll under Wine: ranking, the last error of real system
// calls, a launch of a missing program, and the log sink.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/win32/dll_loader.h"

namespace {

std::wstring fetch(const std::function<int32_t(sc_char*, uint32_t)>& call) {
    std::vector<sc_char> buffer(1 << 16);
    const int32_t written = call(buffer.data(), static_cast<uint32_t>(buffer.size()));
    return written > 0 ? std::wstring(buffer.data(), static_cast<std::size_t>(written - 1)) : L"<nothing>";
}

std::wstring lastError() {
    return fetch([](sc_char* b, uint32_t n) { return SC_FN(StrokecastLastError)(b, n); });
}

std::string narrow(const std::wstring& s) {
    return std::string(s.begin(), s.end());
}

// A sample stroke file ("x,y x,y ...") as an export point array.
std::vector<uint16_t> samplePoints(const std::string& file) {
    std::ifstream in(std::string(STROKECAST_SOURCE_DIR) + "/data/samples/" + file);
    std::vector<uint16_t> values;
    std::string pair;
    while (in >> pair) {
        values.push_back(static_cast<uint16_t>(std::atoi(pair.c_str())));
        values.push_back(static_cast<uint16_t>(std::atoi(pair.c_str() + pair.find(',') + 1)));
    }
    values.push_back(0);
    return values;
}

class Explain : public testing::Test {
  protected:
    void SetUp() override { folder = sctest::freshTempFolder(L"explain"); }
    void TearDown() override {
        SC_FN(StrokecastSetLogSink)(nullptr, nullptr);
        SC_FN(CloseActionNanager)();
        SC_FN(CloseGestureManager)();
    }
    std::wstring folder;
};

TEST_F(Explain, TheRankingsHeadIsWhatRecognitionNames) {
    const std::wstring defaults =
        std::wstring(STROKECAST_SOURCE_DIR, STROKECAST_SOURCE_DIR + std::strlen(STROKECAST_SOURCE_DIR)) +
        L"/data/default_gestures.configure";
    sctest::writeBytes(folder + L"\\MyGesture.configure", "");
    SC_FN(OpenGestureManager)(defaults.c_str(), folder.c_str());
    for (const char* sample : {"V.stroke", "Z.stroke", "check.stroke", "circle_clockwise.stroke",
                               "line_left.stroke", "triangle.stroke"}) {
        SCOPED_TRACE(sample);
        const std::vector<uint16_t> points = samplePoints(sample);
        const std::wstring name =
            fetch([&](sc_char* b, uint32_t n) { return SC_FN(recognizeGesture)(points.data(), b, n); });
        const std::wstring ranking = fetch(
            [&](sc_char* b, uint32_t n) { return SC_FN(StrokecastRankGestures)(points.data(), 100, b, n); });
        std::wistringstream lines(ranking);
        std::wstring line;
        double previous = 101.0;
        bool first = true;
        int count = 0;
        while (std::getline(lines, line)) {
            const std::size_t comma = line.rfind(L',');
            const double score = std::wcstod(line.c_str() + comma + 1, nullptr);
            EXPECT_LE(score, previous) << narrow(line);
            if (first) {
                EXPECT_EQ(line.substr(0, comma), name);
                EXPECT_GT(score, STROKECAST_ACCEPT_SCORE);
            }
            first = false;
            previous = score;
            ++count;
        }
        EXPECT_EQ(count, 18);
        std::printf("[ figures  ] %s: %s\n", sample, narrow(ranking.substr(0, ranking.find(L'\n'))).c_str());
    }
}

TEST_F(Explain, AFailedWriteLeavesItsPathAndTheSystemsCode) {
    SC_FN(OpenActionManager)(folder.c_str());
    ASSERT_EQ(SC_FN(SetGestureSwitch)(L"G", 1), 1);
    const std::wstring gone = folder + L"\\gone";
    SC_FN(CloseActionNanager)();
    SC_FN(OpenActionManager)(gone.c_str()); // a folder that does not exist: every write fails
    EXPECT_EQ(SC_FN(SetGestureSwitch)(L"G", 1), 0);
    const std::wstring error = lastError();
    EXPECT_EQ(error.rfind(L"cannot write " + gone + L"\\action.configure_v2: ", 0), 0u) << narrow(error);
    EXPECT_NE(error.find(L"(error 3)"), std::wstring::npos) << narrow(error); // ERROR_PATH_NOT_FOUND
    EXPECT_EQ(error.find(L'\n'), std::wstring::npos);
    std::printf("[ figures  ] %s\n", narrow(error).c_str());
    // A later success does not clear it; another thread has its own.
    sc_char action[64];
    EXPECT_GT(SC_FN(GetActionOfGesture)(L"G", action, 64), 0);
    EXPECT_EQ(lastError(), error);
    std::wstring other;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* out) -> DWORD {
            *static_cast<std::wstring*>(out) = lastError();
            return 0;
        },
        &other, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(other, L"");
}

TEST_F(Explain, ALaunchOfAMissingProgramIsRefusedWithItsCause) {
    SC_FN(OpenActionManager)(folder.c_str());
    const std::wstring missing = folder + L"\\no_such_program.exe";
    ASSERT_EQ(SC_FN(AddCustomAction)(L"DESKTOP:\\ghost", missing.c_str()), 1);
    ASSERT_EQ(SC_FN(SetGestureToAction)(L"ghost", L"DESKTOP:\\ghost"), 1);
    ASSERT_EQ(SC_FN(SetGestureToAction)(L"odd", L"NO_SUCH_ACTION"), 1);
    ASSERT_EQ(SC_FN(SetGestureSwitch)(L"loose", 1), 1);
    EXPECT_EQ(SC_FN(StrokecastExecuteActionEx)(L"ghost"), STROKECAST_ACTION_REFUSED);
    const std::wstring error = lastError();
    EXPECT_EQ(error.rfind(L"cannot start " + missing + L": ", 0), 0u) << narrow(error);
    EXPECT_NE(error.find(L"(error 2)"), std::wstring::npos) << narrow(error);
    std::printf("[ figures  ] %s\n", narrow(error).c_str());
    EXPECT_EQ(SC_FN(StrokecastExecuteActionEx)(L"odd"), STROKECAST_ACTION_UNKNOWN);
    EXPECT_EQ(SC_FN(StrokecastExecuteActionEx)(L"loose"), STROKECAST_ACTION_NOT_BOUND);
    EXPECT_EQ(SC_FN(StrokecastExecuteActionEx)(L"nobody"), STROKECAST_ACTION_SWITCHED_OFF);
    ASSERT_EQ(SC_FN(SetGestureSwitch)(L"GLOBAL", 1), 1);
    EXPECT_EQ(SC_FN(StrokecastExecuteActionEx)(L"ghost"), STROKECAST_ACTION_ALL_OFF);
}

void STROKECAST_CALL collectLine(const sc_char* line, void* context) {
    static_cast<std::vector<std::wstring>*>(context)->emplace_back(line);
}

TEST_F(Explain, TheLogSinkTakesTheLoadFailureInsteadOfStandardOutput) {
    std::vector<std::wstring> lines;
    SC_FN(StrokecastSetLogSink)(collectLine, &lines);
    const std::wstring missing = folder + L"\\missing.configure";
    sctest::writeBytes(folder + L"\\MyGesture.configure", "");
    testing::internal::CaptureStdout();
    SC_FN(OpenGestureManager)(missing.c_str(), folder.c_str());
    SC_FN(StrokecastSetLogSink)(nullptr, nullptr);
    SC_FN(CloseGestureManager)();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], L"load file fail : " + missing);
}

} // namespace
