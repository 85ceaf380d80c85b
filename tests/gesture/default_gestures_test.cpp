// The shipped default gestures: reproducible from their generator, and each one told apart from the rest.
#include <gtest/gtest.h>

#include "common/utf16.h"
#include "files/textfile.h"
#include "gesture/gesture_manager.h"
#include "gesture/matcher.h"
#include "gesture/template_file.h"
#include "tests/gesture/gesture_test_support.h"
#include "tools/default_gestures.h"

using namespace sc;

namespace {

const std::string kShipped = std::string(STROKECAST_SOURCE_DIR) + "/data/default_gestures.configure";

} // namespace

TEST(DefaultGestures, ShippedFileIsWhatTheGeneratorWrites) {
    std::u16string expected;
    for (const Gesture& g : defaults::gestures())
        expected += gestureLine(g.name, g.points);
    std::u16string shipped;
    ASSERT_TRUE(textfile::read(utf16::fromUtf8(kShipped), shipped));
    EXPECT_EQ(shipped, expected) << "regenerate with tools/make_default_gestures";
}

TEST(DefaultGestures, EachRecognisesItselfAndHandDrawnCopiesAndNoneIsConfused) {
    GestureManager manager(utf16::fromUtf8(kShipped), u"/nonexistent-folder");
    gesturetest::TemplateSet templates;
    loadGestureFile(utf16::fromUtf8(kShipped), templates.list);
    ASSERT_GE(templates.list.size(), 16u);
    ASSERT_EQ(manager.getGestureNames().size(), templates.list.size()); // one template per name
    PointPatternMatcher matcher(templates.list, sc::kSampleCount);

    double worstMargin = 100.0;
    for (const auto& [name, gesture] : templates.list) {
        const PointList points = gesture.points.unpack();
        for (std::uint32_t seed = 0; seed <= 10; ++seed) {
            // Seed 0 is the template itself; the others are moved, scaled, turned and jittered copies.
            const PointList stroke = seed == 0 ? points : defaults::handDrawn(points, seed);
            SCOPED_TRACE(utf16::toUtf8(name) + " seed " + std::to_string(seed));
            std::u16string answer;
            manager.recognize(stroke, answer);
            EXPECT_EQ(answer, name);
            std::vector<MatchResult> results;
            matcher.matchAll(stroke, results);
            double own = 0.0, bestOther = 0.0;
            for (const MatchResult& r : results) {
                if (r.name == name)
                    own = r.probability;
                else
                    bestOther = std::max(bestOther, r.probability);
            }
            if (seed == 0) {
                EXPECT_EQ(own, 100.0);
            }
            worstMargin = std::min(worstMargin, own - bestOther);
        }
    }
    // Every copy beats the nearest other gesture by a clear distance, not by rounding.
    EXPECT_GT(worstMargin, 10.0);
}

TEST(DefaultGestures, DemoSamplesAreRecognisedAsTheirFileNames) {
    GestureManager manager(utf16::fromUtf8(kShipped), u"/nonexistent-folder");
    int samples = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(STROKECAST_SOURCE_DIR) + "/data/samples")) {
        if (entry.path().extension() != ".stroke")
            continue;
        ++samples;
        std::ifstream in(entry.path());
        PointList stroke;
        std::string pair;
        while (in >> pair) {
            const std::size_t comma = pair.find(',');
            ASSERT_NE(comma, std::string::npos) << pair;
            const int x = std::stoi(pair.substr(0, comma));
            ASSERT_GT(x, 0) << "an x of 0 would end the host's point array";
            stroke.push_back({static_cast<float>(x), static_cast<float>(std::stoi(pair.substr(comma + 1)))});
        }
        std::u16string answer;
        manager.recognize(stroke, answer);
        EXPECT_EQ(utf16::toUtf8(answer), entry.path().stem().string());
    }
    EXPECT_GE(samples, 3);
}
