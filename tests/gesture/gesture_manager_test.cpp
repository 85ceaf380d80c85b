// The gesture manager: its three lists, the user file behind every change, and concurrent use.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <map>
#include <thread>

#include "common/utf16.h"
#include "gesture/gesture_manager.h"
#include "gesture/template_file.h"
#include "tests/gesture/generated_strokes.h"
#include "tests/gesture/gesture_test_support.h"
#include "tests/gesture/reference_matcher.h"

using namespace sc;
using gesturetest::generatedStrokes;
using gesturetest::line;
using gesturetest::RecordedStroke;
using sctest::readBytes;
using sctest::TempFolder;
using sctest::writeBytes;

namespace {

class GestureManagerTest : public testing::Test {
  protected:
    TempFolder folder{"gm"};
    std::filesystem::path defaults = folder.file("defaults.configure");
    std::filesystem::path userFile = folder.file("MyGesture.configure");

    void writeDefaults(std::u16string_view text) { writeBytes(defaults, utf16::toBytes(text)); }
    void writeUser(std::u16string_view text) { writeBytes(userFile, utf16::toBytes(text)); }
    std::unique_ptr<GestureManager> open() {
        return std::make_unique<GestureManager>(utf16::fromUtf8(defaults.string()), folder.folder());
    }
    std::u16string userText() const { return utf16::fromBytes(readBytes(userFile)); }
};

std::u16string recognized(GestureManager& manager, const PointList& stroke) {
    std::u16string name = u"stale";
    manager.recognize(stroke, name);
    return name;
}

} // namespace

TEST_F(GestureManagerTest, OpensWithoutFilesAndRecognisesNothing) {
    testing::internal::CaptureStdout();
    const auto manager = open();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("load file fail : " + defaults.string()), std::string::npos);
    EXPECT_TRUE(manager->getGestureNames().empty());
    EXPECT_EQ(recognized(*manager, line(0, 0, 100, 0)), kNoGestureFound);
    EXPECT_TRUE(manager->checkNameExist(kNoGestureFound));
    EXPECT_FALSE(manager->checkNameExist(u"right"));
    EXPECT_EQ(manager->userFile(), folder.folder() + u"\\MyGesture.configure");
}

TEST_F(GestureManagerTest, DefaultsComeBeforeUserTemplatesOfTheSameName) {
    writeDefaults(u"right,0,0,100,0\ndown,0,0,0,100\n");
    writeUser(u"right,0,0,50,1\nmine,0,0,100,100\n");
    const auto manager = open();
    EXPECT_EQ(manager->getGestureNames(), (std::vector<std::u16string>{u"down", u"mine", u"right"}));
    PointList track;
    ASSERT_TRUE(manager->getGestureTrack(u"right", track));
    ASSERT_EQ(track.size(), 2u);
    EXPECT_EQ(track[1].y, 0.0f);
    EXPECT_FALSE(manager->getGestureTrack(u"Right", track)); // names are case-sensitive
    EXPECT_EQ(recognized(*manager, line(10, 10, 10, 200)), u"down");
    EXPECT_EQ(recognized(*manager, line(10, 10, 200, 200)), u"mine");
    EXPECT_EQ(recognized(*manager, {{1, 1}}), kNoGestureFound);
}

TEST_F(GestureManagerTest, AddRefusesUnsafeNamesAndChangesNothing) {
    const auto manager = open();
    for (std::u16string_view name : {kNoGestureFound, std::u16string_view(u"a,b"), std::u16string_view(u""),
                                     std::u16string_view(u"a\nb")}) {
        SCOPED_TRACE(utf16::toUtf8(name));
        EXPECT_FALSE(manager->addGesture(name, line(0, 0, 100, 0)));
    }
    EXPECT_TRUE(manager->getGestureNames().empty());
    EXPECT_FALSE(std::filesystem::exists(userFile));
}

TEST_F(GestureManagerTest, AddAppendsAndAnExistingNameGainsATemplate) {
    writeUser(u"zeta,0,0,0,50\n");
    auto manager = open();
    EXPECT_TRUE(manager->addGesture(u"right", line(0, 0, 100, 0, 2)));
    EXPECT_TRUE(manager->addGesture(u"right", line(100, 0, 0, 0, 2)));
    EXPECT_TRUE(manager->checkNameExist(u"right"));
    EXPECT_EQ(userText(), u"zeta,0,0,0,50\nright,0,0,50,0,100,0\nright,100,0,50,0,0,0\n");
    // Forward and backward templates average out: the name is no longer accepted.
    EXPECT_EQ(recognized(*manager, line(0, 0, 100, 0)), kNoGestureFound);

    manager = open(); // the file alone brings back the same state
    EXPECT_EQ(manager->getGestureNames(), (std::vector<std::u16string>{u"right", u"zeta"}));
    PointList track;
    ASSERT_TRUE(manager->getGestureTrack(u"right", track));
    EXPECT_EQ(track[0].x, 0.0f);
}

TEST_F(GestureManagerTest, RemoveTakesTheEarliestUserTemplateAndRewritesSorted) {
    writeDefaults(u"shared,0,0,0,100\n");
    writeUser(u"zeta,0,0,0,50\nright,0,0,100,0\nshared,5,5,6,6\nright,100,0,0,0\n");
    const auto manager = open();
    EXPECT_TRUE(manager->removeGesture(u"right"));
    EXPECT_EQ(userText(), u"right,100,0,0,0\nshared,5,5,6,6\nzeta,0,0,0,50\n");
    EXPECT_EQ(recognized(*manager, line(300, 0, 0, 0)), u"right"); // the later template still answers
    EXPECT_TRUE(manager->removeGesture(u"right"));
    EXPECT_FALSE(manager->checkNameExist(u"right"));
    EXPECT_FALSE(manager->removeGesture(u"right"));

    // A default template is never removed; removing the user one keeps the name.
    EXPECT_TRUE(manager->removeGesture(u"shared"));
    EXPECT_FALSE(manager->removeGesture(u"shared"));
    EXPECT_TRUE(manager->checkNameExist(u"shared"));
    EXPECT_EQ(userText(), u"zeta,0,0,0,50\n");
}

TEST_F(GestureManagerTest, UnwritableUserFileFailsAndChangesNothing) {
    const TempFolder other("gm_ro");
    const auto manager = std::make_unique<GestureManager>(u"", other.folder() + u"\\missing");
    EXPECT_FALSE(manager->addGesture(u"right", line(0, 0, 100, 0)));
    EXPECT_EQ(recognized(*manager, line(0, 0, 100, 0)), u"_NO_GESTURE_FOUND_");
    EXPECT_FALSE(manager->checkNameExist(u"right"));
    EXPECT_FALSE(manager->removeGesture(u"right"));
}

TEST_F(GestureManagerTest, TemplatesWithoutPointsNeverBreakRecognition) {
    writeDefaults(u"bare\nright,0,0,100,0\nbare,0,0,100,0\n");
    const auto manager = open();
    EXPECT_EQ(recognized(*manager, line(0, 0, 100, 0)), u"right");
    PointList track{{1, 1}};
    ASSERT_TRUE(manager->getGestureTrack(u"bare", track));
    EXPECT_TRUE(track.empty());
}

TEST_F(GestureManagerTest, RecognitionRunsWhileOtherThreadsAddAndRemove) {
    writeDefaults(u"right,0,0,100,0\ndown,0,0,0,100\n");
    const auto manager = open();
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 2; ++r) {
        readers.emplace_back([&] {
            while (!stop) {
                // The default answers hold whatever user templates come and go.
                if (recognized(*manager, line(0, 0, 300, 2)) != u"right")
                    ++wrong;
                PointList track;
                manager->getGestureTrack(u"down", track);
                manager->getGestureNames();
                manager->checkNameExist(u"mine");
                // The reader lock favours readers: give the writer a gap now and then, as real callers do.
                std::this_thread::sleep_for(std::chrono::microseconds(20));
            }
        });
    }
    for (int i = 0; i < 60; ++i) {
        const std::u16string name = u"mine" + utf16::fromInt(i % 4);
        ASSERT_TRUE(manager->addGesture(name, line(0, 0, static_cast<float>(10 + i), 200)));
        if (i % 3 == 2) {
            EXPECT_TRUE(manager->removeGesture(name));
        }
    }
    stop = true;
    for (std::thread& t : readers)
        t.join();
    EXPECT_EQ(wrong, 0);
    // The file matches memory after the burst: reopening gives the same names.
    const auto reopened = open();
    EXPECT_EQ(reopened->getGestureNames(), manager->getGestureNames());
}

namespace {

// A set large enough that two threads take its angles scores every name exactly as the straightforward
// matcher does: defaults and user templates, names in both files, and a template of one point among them.
TEST_F(GestureManagerTest, ALargeSetScoresAsTheStraightforwardMatcher) {
    const std::vector<RecordedStroke> strokes = generatedStrokes();
    std::u16string defaultsText, userText;
    for (std::size_t i = 0; i < 900; ++i) {
        const RecordedStroke& s = strokes[(i * 7) % strokes.size()];
        (i % 3 == 0 ? userText : defaultsText) += gestureLine(utf16::fromUtf8(s.gesture), s.points);
    }
    defaultsText += u"dot,5,5\n";
    writeDefaults(defaultsText);
    writeUser(userText);
    auto manager = open();

    GestureList all;
    parseGestureBytes(utf16::toBytes(defaultsText), all, TemplateOrigin::defaults);
    parseGestureBytes(utf16::toBytes(userText), all, TemplateOrigin::user);
    const reference::Matcher straightforward(all, kSampleCount);
    int compared = 0;
    for (std::size_t q = 0; q < strokes.size(); q += 97) {
        std::vector<reference::MatchResult> expected;
        straightforward.matchAll(strokes[q].points, expected);
        std::map<std::u16string, double> got;
        for (const MatchResult& r : manager->rank(strokes[q].points))
            got[r.name] = r.probability;
        ASSERT_EQ(got.size(), expected.size());
        for (const reference::MatchResult& e : expected) {
            const double p = got[e.name];
            EXPECT_TRUE(p == e.probability || (std::isnan(p) && std::isnan(e.probability)))
                << utf16::toUtf8(e.name) << ": " << p << " against " << e.probability;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);
}

} // namespace
