// The explanation exports in-process on the fake platform: ranking against the matcher's own scores,
// similarity, each action status, the last error, and the log sink.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <unistd.h>

#include "common/last_error.h"
#include "common/utf16.h"
#include "gesture/matcher.h"
#include "gesture/point_array.h"
#include "gesture/template_file.h"
#include "platform/fake/fake_state.h"
#include "strokecast.h"
#include "tests/gesture/generated_strokes.h"
#include "tests/gesture/unistrokes.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace {

const sc_char* s(const char16_t* text) {
    return reinterpret_cast<const sc_char*>(text);
}

// Fills a buffer through a buffer-filling export; nullopt when it wrote nothing.
template <class Call> std::optional<std::u16string> read(Call call, uint32_t capacity = 1 << 16) {
    std::vector<sc_char> buffer(capacity);
    const int32_t written = call(buffer.data(), capacity);
    if (written == 0)
        return std::nullopt;
    return std::u16string(buffer.begin(), buffer.begin() + written - 1);
}

std::u16string lastError() {
    return read([](sc_char* b, uint32_t c) { return StrokecastLastError(b, c); }).value_or(u"<none>");
}

std::vector<uint16_t> pointArray(const sc::PointList& points) {
    std::vector<uint16_t> values;
    for (const sc::GesturePoint& p : points) {
        values.push_back(static_cast<uint16_t>(std::lround(std::fmax(p.x, 1.0f))));
        values.push_back(static_cast<uint16_t>(std::lround(std::fmax(p.y, 0.0f))));
    }
    values.push_back(0);
    return values;
}

struct Line {
    std::u16string name;
    double score;
};

std::vector<Line> parseLines(const std::u16string& text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        const std::u16string line = text.substr(start, end - start);
        const std::size_t comma = line.rfind(u',');
        const std::string number = sc::utf16::toUtf8(line.substr(comma + 1));
        lines.push_back({line.substr(0, comma), std::strtod(number.c_str(), nullptr)});
        start = end + 1;
    }
    return lines;
}

bool sameBits(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

class Explain : public testing::Test {
  protected:
    void SetUp() override {
        platform::fake::resetSystem();
        CloseGestureManager();
        CloseActionNanager();
        sc::last_error::clear();
    }
    void TearDown() override {
        StrokecastSetLogSink(nullptr, nullptr);
        CloseGestureManager();
        CloseActionNanager();
    }
    void openGestures(const std::u16string& defaults) {
        dir.writeBytes("defaults.configure", sc::utf16::toBytes(defaults));
        OpenGestureManager(s((dir.folder() + u"/defaults.configure").c_str()), s(dir.folder().c_str()));
    }
    std::u16string rank(const std::vector<uint16_t>& points, uint32_t maxNames = 1000) {
        return read([&](sc_char* b, uint32_t c) {
                   return StrokecastRankGestures(points.data(), maxNames, b, c);
               })
            .value_or(u"<nothing>");
    }
    std::u16string recognize(const std::vector<uint16_t>& points) {
        return read([&](sc_char* b, uint32_t c) { return recognizeGesture(points.data(), b, c); })
            .value_or(u"");
    }

    sctest::TempFolder dir;
};

// Every line's score is the matcher's own mean for that name, bit for bit; the order is best first
// with ties in name order and NaN last; the head is what recognition names.
void expectRankingOf(Explain& t, const std::u16string& ranking, const sc::PointPatternMatcher& matcher,
                     const std::vector<uint16_t>& points, const std::u16string& recognised) {
    std::vector<sc::MatchResult> expected;
    matcher.matchAll(sc::readPointArray(points.data()), expected);
    const std::vector<Line> lines = parseLines(ranking);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto it = std::find_if(expected.begin(), expected.end(),
                                     [&](const sc::MatchResult& r) { return r.name == lines[i].name; });
        ASSERT_NE(it, expected.end());
        EXPECT_TRUE(sameBits(lines[i].score, it->probability))
            << sc::utf16::toUtf8(lines[i].name) << " " << lines[i].score << " vs " << it->probability;
        if (i > 0) {
            const Line& a = lines[i - 1];
            const Line& b = lines[i];
            if (!std::isnan(b.score)) {
                EXPECT_FALSE(std::isnan(a.score));
                EXPECT_GE(a.score, b.score);
                if (a.score == b.score) {
                    EXPECT_LT(a.name, b.name);
                }
            }
        }
    }
    EXPECT_EQ(recognised, lines.empty() || !(lines[0].score > STROKECAST_ACCEPT_SCORE)
                              ? std::u16string(u"_NO_GESTURE_FOUND_")
                              : lines[0].name);
    (void)t;
}

TEST_F(Explain, RankingOnStrokesIsRecognitionsOwnScores) {
    const std::u16string defaults =
        sc::utf16::fromUtf8(STROKECAST_SOURCE_DIR "/data/default_gestures.configure");
    OpenGestureManager(s(defaults.c_str()), s(dir.folder().c_str()));
    sc::GestureList templates;
    sc::loadGestureFile(defaults, templates);
    ASSERT_FALSE(templates.empty());
    const sc::PointPatternMatcher matcher(templates, sc::kSampleCount);
    // The recorded human strokes when they lie beside the repository, else the seeded ones made alike.
    auto strokes = gesturetest::readUnistrokes(gesturetest::unistrokesPath(STROKECAST_SHARED_DATA));
    if (strokes.empty())
        strokes = gesturetest::generatedStrokes();
    ASSERT_FALSE(strokes.empty());
    int accepted = 0;
    for (std::size_t i = 0; i < strokes.size(); i += 7) {
        SCOPED_TRACE(testing::Message() << "stroke " << i << " " << strokes[i].gesture);
        const std::vector<uint16_t> points = pointArray(strokes[i].points);
        const std::u16string recognised = recognize(points);
        accepted += recognised != u"_NO_GESTURE_FOUND_";
        expectRankingOf(*this, rank(points), matcher, points, recognised);
    }
    EXPECT_GT(accepted, 0);
}

TEST_F(Explain, RankingOnSeededTemplateSetsKeepsTiesNaNAndTheLimit) {
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> coordinate(1, 400);
    for (int set = 0; set < 12; ++set) {
        SCOPED_TRACE(testing::Message() << "set " << set);
        std::u16string text;
        // Names repeat (means over several templates), one pair is identical (a tie) and one template
        // has a single point (NaN, never chosen).
        for (int t = 0; t < 10; ++t) {
            text += u"n" + sc::utf16::fromInt(t % 6);
            for (int k = 0; k < 6; ++k)
                text += u"," + sc::utf16::fromInt(coordinate(random)) + u"," +
                        sc::utf16::fromInt(coordinate(random));
            text += u"\n";
        }
        text += u"tieA,10,10,200,10,200,200\ntieB,10,10,200,10,200,200\ndot,5,5\n";
        CloseGestureManager();
        openGestures(text);
        sc::GestureList templates;
        sc::parseGestureBytes(sc::utf16::toBytes(text), templates);
        const sc::PointPatternMatcher matcher(templates, sc::kSampleCount);
        for (int stroke = 0; stroke < 5; ++stroke) {
            std::vector<uint16_t> points;
            for (int k = 0; k < 8; ++k) {
                points.push_back(static_cast<uint16_t>(coordinate(random)));
                points.push_back(static_cast<uint16_t>(coordinate(random)));
            }
            points.push_back(0);
            const std::u16string ranking = rank(points);
            expectRankingOf(*this, ranking, matcher, points, recognize(points));
            EXPECT_EQ(ranking.substr(ranking.rfind(u'\n') + 1), u"dot,nan");
            EXPECT_LT(ranking.find(u"tieA,"), ranking.find(u"tieB,"));
            EXPECT_EQ(parseLines(rank(points, 3)).size(), 3u);
        }
    }
    const std::vector<uint16_t> onePoint = {5, 5, 0};
    EXPECT_EQ(rank(onePoint), u"");
    EXPECT_EQ(rank({10, 10, 200, 10, 0}, 0), u"");
}

TEST_F(Explain, ScoresAreTheShortestTextThatReadsBack) {
    openGestures(u"right,10,50,60,50,110,50,160,50\nwavy,10,50,60,57,110,44,160,53\n");
    const std::u16string ranking = rank({10, 50, 60, 50, 110, 50, 160, 50, 0});
    EXPECT_EQ(ranking.substr(0, ranking.find(u'\n')), u"right,100");
    const std::u16string second = ranking.substr(ranking.find(u'\n') + 1);
    // Shortest round-trip text: reading it back gives the same double, one digit fewer would not.
    const std::string number = sc::utf16::toUtf8(second.substr(second.find(u',') + 1));
    const double value = std::strtod(number.c_str(), nullptr);
    const std::string significant = number.substr(number.find_first_not_of("0."));
    const int digits = static_cast<int>(std::count_if(significant.begin(), significant.end(), ::isdigit));
    ASSERT_GT(digits, 1) << number;
    char shorter[512];
    std::snprintf(shorter, sizeof shorter, "%.*g", digits - 1, value);
    EXPECT_NE(std::strtod(shorter, nullptr), value) << number;
}

TEST_F(Explain, BuffersAndClosedManagersGetTheNeutralAnswer) {
    const std::vector<uint16_t> points = {10, 50, 60, 50, 0};
    sc_char buffer[8] = {u'x'};
    EXPECT_EQ(StrokecastRankGestures(points.data(), 5, buffer, 8), 0);
    EXPECT_EQ(StrokecastCheckSimilarity(s(u"a"), points.data(), buffer, 8), 0);
    EXPECT_EQ(StrokecastListActions(buffer, 8), 0);
    EXPECT_EQ(StrokecastExecuteActionEx(s(u"a")), STROKECAST_ACTION_FAILED);
    EXPECT_EQ(StrokecastSetActionGuard(s(u"POWEROFF"), 90.0), 0);
    openGestures(u"right,10,50,60,50,110,50,160,50\n");
    EXPECT_EQ(StrokecastRankGestures(nullptr, 5, buffer, 8), 0);
    EXPECT_EQ(StrokecastRankGestures(points.data(), 5, nullptr, 8), 0);
    EXPECT_EQ(StrokecastRankGestures(points.data(), 5, buffer, 9), 0); // "right,100" needs 10 units
    EXPECT_EQ(buffer[0], u'x');
    sc_char fits[10];
    EXPECT_EQ(StrokecastRankGestures(points.data(), 5, fits, 10), 10);
    EXPECT_EQ(StrokecastSetCaptureMode(2), 0);
    EXPECT_EQ(StrokecastLastError(nullptr, 8), 0);
}

TEST_F(Explain, SimilarityNamesConfusableGesturesAndStoresNothing) {
    openGestures(u"right,10,50,60,50,110,50,160,50\ndown,50,10,50,60,50,110,50,160\n"
                 u"vee,10,10,60,110,110,10\n");
    struct Case {
        const char16_t* name;
        std::vector<uint16_t> points;
        const char16_t* conflicts;
    };
    const Case cases[] = {
        {u"right2", {20, 80, 70, 81, 120, 80, 170, 82, 0}, u"right,"}, // the same shape, drawn again
        {u"up", {50, 160, 50, 110, 50, 60, 50, 10, 0}, u""},           // the reverse of down: no conflict
        {u"right", {20, 80, 70, 81, 120, 80, 170, 82, 0}, u""},        // its own name is no conflict
        {u"left", {200, 50, 150, 50, 100, 50, 50, 50, 0}, u""},        // the reverse of right
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(sc::utf16::toUtf8(c.name));
        const auto text = read([&](sc_char* b, uint32_t n) {
            return StrokecastCheckSimilarity(s(c.name), c.points.data(), b, n);
        });
        ASSERT_TRUE(text);
        EXPECT_EQ(text->substr(0, std::u16string(c.conflicts).size()), c.conflicts);
        if (*c.conflicts == 0) {
            EXPECT_EQ(*text, u"");
        }
        for (const Line& l : parseLines(*text))
            EXPECT_GT(l.score, STROKECAST_ACCEPT_SCORE);
    }
    EXPECT_EQ(CheckNameExist(s(u"right2")), 0);
    EXPECT_FALSE(dir.exists("MyGesture.configure"));
}

TEST_F(Explain, SimilarityCountsATrackTheNewTemplateWouldSwallow) {
    // "zig" has a zigzag template first and a straight one after it: a new zigzag scores only the mean
    // of the two against zig, below the bar, but zig's first track would be named after the new
    // gesture once it is added.
    openGestures(u"zig,10,10,60,60,110,10,160,60,210,10\nzig,210,50,160,50,110,50,60,50,10,50\n");
    const std::vector<uint16_t> zigzag = {10, 10, 60, 60, 110, 10, 160, 60, 210, 10, 0};
    const std::u16string ranking = rank(zigzag);
    ASSERT_LT(parseLines(ranking)[0].score, STROKECAST_ACCEPT_SCORE) << sc::utf16::toUtf8(ranking);
    const auto text = read(
        [&](sc_char* b, uint32_t n) { return StrokecastCheckSimilarity(s(u"saw"), zigzag.data(), b, n); });
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, u"zig,100");
}

class ActionStatuses : public Explain {
  protected:
    void SetUp() override {
        Explain::SetUp();
        OpenActionManager(s(dir.folder().c_str()));
        ASSERT_EQ(SetGestureToAction(s(u"copy"), s(u"CTRL_C")), 1);
        ASSERT_EQ(SetGestureToAction(s(u"odd"), s(u"NO_SUCH_ACTION")), 1);
        ASSERT_EQ(SetGestureToAction(s(u"off"), s(u"CTRL_V")), 1);
        ASSERT_EQ(SetGestureSwitch(s(u"off"), 0), 1);
        ASSERT_EQ(SetGestureSwitch(s(u"loose"), 1), 1);
        ASSERT_EQ(AddCustomAction(s(u"DESKTOP:\\editor"), s(u"C:\\missing\\editor.exe")), 1);
        ASSERT_EQ(SetGestureToAction(s(u"edit"), s(u"DESKTOP:\\editor")), 1);
        ASSERT_EQ(SetGestureToAction(s(u"lock"), s(u"LOCKSCREEN")), 1);
        ASSERT_EQ(SetGestureToAction(s(u"wifi"), s(u"WIFISWITCH")), 1);
    }
};

TEST_F(ActionStatuses, EachOutcomeHasItsCodeAndExecuteActionKeepsItsAnswer) {
    struct Case {
        const char* label;
        const char16_t* gesture;
        void (*script)(platform::fake::SystemScript&);
        int32_t status;
        int32_t plain;         // what ExecuteAction has always answered
        const char* lastError; // a part of StrokecastLastError, or null when nothing is recorded
    };
    const auto none = [](platform::fake::SystemScript&) {};
    const Case cases[] = {
        {"ran", u"copy", none, STROKECAST_ACTION_RAN, 1, nullptr},
        {"input blocked", u"copy", [](auto& sc) { sc.keysRefused = 2; }, STROKECAST_ACTION_REFUSED, 1,
         "cannot send keys to the foreground window (input blocked)"},
        {"launch failed", u"edit", [](auto& sc) { sc.shellExecuteWResult = 2; }, STROKECAST_ACTION_REFUSED, 0,
         "cannot start explorer.exe C:\\missing\\editor.exe: no such file or directory (error 2)"},
        {"launch ran", u"edit", none, STROKECAST_ACTION_RAN, 1, nullptr},
        {"program missing", u"edit", [](auto& sc) { sc.missingPaths = {u"C:\\missing\\editor.exe"}; },
         STROKECAST_ACTION_REFUSED, 1,
         "cannot start C:\\missing\\editor.exe: no such file or directory (error 2)"},
        {"lock refused", u"lock", [](auto& sc) { sc.lockSucceeds = false; }, STROKECAST_ACTION_REFUSED, 1,
         "cannot lock the workstation"},
        {"no radio", u"wifi", none, STROKECAST_ACTION_REFUSED, 1, "no wireless interface is ready"},
        {"unknown", u"odd", none, STROKECAST_ACTION_UNKNOWN, 0, nullptr},
        {"switched off", u"off", none, STROKECAST_ACTION_SWITCHED_OFF, 0, nullptr},
        {"not bound", u"loose", none, STROKECAST_ACTION_NOT_BOUND, 0, nullptr},
        {"no switch", u"nobody", none, STROKECAST_ACTION_SWITCHED_OFF, 0, nullptr},
        {"no gesture", u"_NO_GESTURE_FOUND_", none, STROKECAST_ACTION_FAILED, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        for (int plain = 0; plain < 2; ++plain) {
            // The script only: resetting the whole fake would drop the manager's named mutex.
            platform::fake::systemScript() = {};
            c.script(platform::fake::systemScript());
            sc::last_error::clear();
            if (plain == 1) {
                EXPECT_EQ(ExecuteAction(s(c.gesture)), c.plain);
                continue;
            }
            EXPECT_EQ(StrokecastExecuteActionEx(s(c.gesture)), c.status);
            if (c.lastError != nullptr)
                EXPECT_NE(sc::utf16::toUtf8(lastError()).find(c.lastError), std::string::npos)
                    << sc::utf16::toUtf8(lastError());
            else
                EXPECT_EQ(lastError(), u"");
        }
    }
    EXPECT_EQ(StrokecastExecuteActionEx(nullptr), STROKECAST_ACTION_FAILED);
    ASSERT_EQ(SetGestureSwitch(s(u"GLOBAL"), 1), 1);
    platform::fake::systemScript() = {};
    const std::size_t calls = platform::fake::systemCalls().size();
    EXPECT_EQ(StrokecastExecuteActionEx(s(u"copy")), STROKECAST_ACTION_ALL_OFF);
    EXPECT_EQ(platform::fake::systemCalls().size(), calls);
}

TEST_F(ActionStatuses, ListsTheBuiltInVocabularyThenCustomKeys) {
    const auto list = read([](sc_char* b, uint32_t c) { return StrokecastListActions(b, c); });
    ASSERT_TRUE(list);
    EXPECT_EQ(list->substr(0, 11), u"LOCKSCREEN\n");
    EXPECT_EQ(list->substr(list->size() - 16), u"\nDESKTOP:\\editor");
    for (const char16_t* name : {u"\nCTRL_C\n", u"\nPOWEROFF\n", u"\nEMPTYRECYLEBIN\n", u"\nLOGOFF\n"})
        EXPECT_NE(list->find(name), std::u16string::npos) << sc::utf16::toUtf8(name);
    // Every listed built-in name really runs something.
    for (std::size_t start = 0, end; start < list->size(); start = end + 1) {
        end = std::min(list->find(u'\n', start), list->size());
        const std::u16string name = list->substr(start, end - start);
        if (name.starts_with(u"DESKTOP:") || name == u"POWEROFF" || name == u"REBOOT" || name == u"LOGOFF")
            continue;
        ASSERT_EQ(SetGestureToAction(s(u"probe"), s(name.c_str())), 1);
        EXPECT_NE(StrokecastExecuteActionEx(s(u"probe")), STROKECAST_ACTION_UNKNOWN)
            << sc::utf16::toUtf8(name);
    }
}

TEST_F(Explain, LastErrorNamesAFailedWriteKeepsItThroughSuccessAndStaysOnItsThread) {
    OpenActionManager(s(dir.folder().c_str()));
    std::filesystem::remove_all(dir.file(""));
    EXPECT_EQ(SetGestureSwitch(s(u"G"), 1), 0);
    const std::string error = sc::utf16::toUtf8(lastError());
    const std::string path = sc::utf16::toUtf8(dir.folder()) + "/action.configure_v2";
    EXPECT_EQ(error.rfind("cannot write ", 0), 0u) << error;
    EXPECT_NE(error.find("action.configure_v2: no such file or directory (error 2)"), std::string::npos)
        << error;
    std::u16string other = u"<unset>";
    std::thread([&] { other = lastError(); }).join();
    EXPECT_EQ(other, u"");
    std::filesystem::create_directories(dir.file(""));
    EXPECT_EQ(SetGestureSwitch(s(u"G"), 1), 1);
    EXPECT_EQ(sc::utf16::toUtf8(lastError()), error); // success does not clear it
    (void)path;
}

TEST_F(Explain, LastErrorAfterAFullDisk) {
    const auto child = sctest::runChildForText([&] {
        sctest::limitFileSize(200); // a disk with room for 200 bytes in any one file
        OpenActionManager(s(dir.folder().c_str()));
        std::u16string name = u"g";
        while (SetGestureToAction(s(name.c_str()), s(u"CTRL_C")) == 1)
            name += u"g";
        return sc::utf16::toUtf8(lastError());
    });
    ASSERT_TRUE(child.result.exited && child.result.status == 0);
    const std::string& error = child.text;
    EXPECT_EQ(error.rfind("cannot write ", 0), 0u) << error;
    EXPECT_NE(error.find(".configure_v2: file too large (error 27)"), std::string::npos) << error;
    std::printf("[ figures  ] full disk: %s\n", error.c_str());
}

void STROKECAST_CALL collectLine(const sc_char* line, void* context) {
    static_cast<std::vector<std::u16string>*>(context)->emplace_back(line);
}

TEST_F(Explain, TheLogSinkTakesConsoleLinesUntilCleared) {
    std::vector<std::u16string> lines;
    StrokecastSetLogSink(collectLine, &lines);
    testing::internal::CaptureStdout();
    const std::u16string missing = dir.folder() + u"/missing.configure";
    OpenGestureManager(s(missing.c_str()), s(dir.folder().c_str()));
    StrokecastSetLogSink(nullptr, nullptr);
    CloseActionNanager();
    GetGestureSwitch(s(u"G")); // "am is null", now on standard output
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "am is null\n");
    ASSERT_EQ(lines.size(), 2u); // the default file, then the user's, not made yet
    EXPECT_EQ(lines[0], u"load file fail : " + missing);
    EXPECT_EQ(lines[1].substr(0, 17), u"load file fail : ");
}

} // namespace
