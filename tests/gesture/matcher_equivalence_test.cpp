// The engine's matcher against the straightforward one: the same names, counts and probabilities, bit
// for bit (NaN included), on the generated corpus, on recorded human strokes when present, and on seeded
// random template sets that change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <thread>

#include "common/utf16.h"
#include "gesture/angle_sums.h"
#include "gesture/gesture_manager.h"
#include "gesture/matcher.h"
#include "gesture/template_file.h"
#include "tests/gesture/generated_strokes.h"
#include "tests/gesture/gesture_test_support.h"
#include "tests/gesture/reference_matcher.h"
#include "tests/gesture/unistrokes.h"

using namespace sc;
using gesturetest::RecordedStroke;
using gesturetest::TemplateSet;

namespace {

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string hex(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    char text[64];
    std::snprintf(text, sizeof text, "%a (%016llx)", v, static_cast<unsigned long long>(bits));
    return text;
}

// Compares every name's result of both matchers and their answers; returns the number of mismatches so
// a long run stops reporting after the first few.
int compareOne(const PointPatternMatcher& engine, const reference::Matcher& ref, const PointList& stroke) {
    std::vector<MatchResult> got;
    std::vector<reference::MatchResult> want;
    engine.matchAll(stroke, got);
    ref.matchAll(stroke, want);
    int mismatches = 0;
    if (got.size() != want.size()) {
        ADD_FAILURE() << "result count " << got.size() << " != " << want.size();
        return 1;
    }
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i].name != want[i].name || got[i].count != want[i].count ||
            !sameBits(got[i].probability, want[i].probability)) {
            ADD_FAILURE() << "name " << utf16::toUtf8(want[i].name) << ": " << hex(got[i].probability)
                          << " count " << got[i].count << ", reference " << hex(want[i].probability)
                          << " count " << want[i].count;
            ++mismatches;
        }
    }
    std::u16string gotName, wantName;
    engine.recognize(stroke, gotName);
    ref.recognize(stroke, wantName);
    if (gotName != wantName) {
        ADD_FAILURE() << "answer " << utf16::toUtf8(gotName) << ", reference " << utf16::toUtf8(wantName);
        ++mismatches;
    }
    return mismatches;
}

reference::Matcher referenceOf(const GestureList& list, const PointPatternMatcher& engine) {
    return reference::Matcher(
        list, engine.sampleCount(),
        std::set<std::u16string, std::less<>>(engine.names().begin(), engine.names().end()));
}

// Random strokes and templates with the awkward cases mixed in: no point, one point, all points equal,
// repeated points, long straight runs, huge and negative coordinates.
class Shapes {
  public:
    explicit Shapes(unsigned seed) : rng_(seed) {}

    PointList next() {
        const int kind = pick(0, 11);
        if (kind == 0)
            return {};
        if (kind == 1)
            return {point()};
        if (kind == 2) {
            const GesturePoint p = point();
            return PointList(static_cast<std::size_t>(pick(2, 6)), p);
        }
        PointList points{point()};
        const int count = pick(2, 70);
        const float step = kind == 3 ? 30000.0f : static_cast<float>(pick(1, 60));
        for (int i = 1; i < count; ++i) {
            GesturePoint p = points.back();
            if (pick(0, 9) != 0) { // now and then the same point again
                p.x += static_cast<float>(pick(-100, 100)) * step / 100.0f;
                p.y += static_cast<float>(pick(-100, 100)) * step / 100.0f;
            }
            if (kind == 4) // integer pixels, as the exports and files give them
                p = {std::trunc(p.x), std::trunc(p.y)};
            points.push_back(p);
        }
        return points;
    }

    std::u16string name() { return std::u16string(1, static_cast<char16_t>(u'a' + pick(0, 5))); }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  private:
    GesturePoint point() {
        return {static_cast<float>(pick(-2000, 2000)) / 4.0f, static_cast<float>(pick(-2000, 2000)) / 4.0f};
    }
    std::mt19937 rng_;
};

// The strokes `isTemplate` picks, as templates in the corpus's order.
template <class IsTemplate>
TemplateSet templatesOf(const std::vector<RecordedStroke>& strokes, IsTemplate isTemplate) {
    TemplateSet templates;
    for (const auto& s : strokes)
        if (isTemplate(s))
            templates.add(utf16::fromUtf8(s.gesture), s.points);
    return templates;
}

// Compares both matchers over `templates` on each stroke whose index `isProbe` picks; returns the
// mismatches, stopping after the first five.
template <class IsProbe>
int mismatchesOn(const TemplateSet& templates, const std::vector<RecordedStroke>& strokes, IsProbe isProbe) {
    const PointPatternMatcher engine(templates.list, sc::kSampleCount);
    const reference::Matcher ref(templates.list, sc::kSampleCount);
    int mismatches = 0;
    for (std::size_t i = 0; i < strokes.size() && mismatches < 5; ++i)
        if (isProbe(i))
            mismatches += compareOne(engine, ref, strokes[i].points);
    return mismatches;
}

} // namespace

TEST(MatcherEquivalence, GeneratedStrokesScoreAsTheReference) {
    const auto strokes = gesturetest::generatedStrokes();
    // Two templates of every gesture type, from two subjects at different speeds: names with several
    // templates of different point counts.
    const TemplateSet templates = templatesOf(strokes, [](const RecordedStroke& s) {
        return ((s.subject == 2 && s.speed == std::string("fast")) ||
                (s.subject == 7 && s.speed == std::string("slow"))) &&
               s.repetition == 3;
    });
    ASSERT_EQ(templates.list.size(), 32u);
    // Every third stroke keeps the reference's cost down; the degenerate ones at the end all run.
    EXPECT_EQ(mismatchesOn(templates, strokes,
                           [&](std::size_t i) { return i % 3 == 0 || strokes[i].gesture == "degenerate"; }),
              0);
}

// Optional: the recorded human strokes live beside the repository, without a licence to ship them.
TEST(RecordedStrokes, ScoreAsTheReference) {
    const auto strokes = gesturetest::readUnistrokes(gesturetest::unistrokesPath(STROKECAST_SHARED_DATA));
    if (strokes.empty())
        GTEST_SKIP() << "optional data: no recorded human strokes at " << STROKECAST_SHARED_DATA
                     << "/unistrokes.csv";
    // Two templates of every gesture type, from two subjects: names with several templates.
    const TemplateSet templates = templatesOf(strokes, [](const RecordedStroke& s) {
        return (s.subject == 2 || s.subject == 7) && s.speed == "fast" && s.repetition == 3;
    });
    ASSERT_EQ(templates.list.size(), 32u);
    EXPECT_EQ(mismatchesOn(templates, strokes, [](std::size_t) { return true; }), 0);
}

TEST(MatcherEquivalence, RandomTemplateSetsScoreAsTheReference) {
    // Sample counts other than 50 reach the paths where templates have fewer angles than the stroke.
    for (const std::uint64_t sampleCount : {50u, 13u, 2u, 1u, 0u}) {
        for (unsigned seed = 1; seed <= 12; ++seed) {
            SCOPED_TRACE(testing::Message() << "sample count " << sampleCount << ", seed " << seed);
            Shapes shapes(seed * 7919 + static_cast<unsigned>(sampleCount));
            TemplateSet templates;
            const int count = shapes.pick(0, 40);
            for (int i = 0; i < count; ++i)
                templates.add(shapes.name(), shapes.next());
            const PointPatternMatcher engine(templates.list, sampleCount);
            const reference::Matcher ref = referenceOf(templates.list, engine);
            int mismatches = 0;
            for (int i = 0; i < 40 && mismatches < 5; ++i)
                mismatches += compareOne(engine, ref, shapes.next());
            ASSERT_EQ(mismatches, 0);
        }
    }
}

TEST(MatcherEquivalence, AddingAndRemovingTemplatesKeepsScoresExact) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Shapes shapes(seed);
        TemplateSet templates;
        for (int i = 0; i < 12; ++i)
            templates.add(shapes.name(), shapes.next());
        PointPatternMatcher engine(templates.list, sc::kSampleCount);
        for (int step = 0; step < 60; ++step) {
            if (templates.list.empty() || shapes.pick(0, 2) != 0) {
                // As the gesture manager adds: into the list after the name's others, then tell the matcher.
                const auto added = templates.add(shapes.name(), shapes.next());
                engine.templateAdded(*added);
                engine.updateNames(added->first);
            } else {
                // Remove a random template, not always the first of its name.
                auto it = std::next(templates.list.begin(),
                                    shapes.pick(0, static_cast<int>(templates.list.size()) - 1));
                const std::u16string name = it->first;
                engine.templateRemoved(*it);
                templates.list.erase(it);
                if (templates.list.find(name) == templates.list.end())
                    engine.updateNames(name, true);
            }
            const reference::Matcher ref = referenceOf(templates.list, engine);
            int mismatches = 0;
            for (int i = 0; i < 4; ++i)
                mismatches += compareOne(engine, ref, shapes.next());
            ASSERT_EQ(mismatches, 0) << "after step " << step;
        }
        // A full rebuild from the list gives the same as the changes made one by one.
        engine.updateNames();
        EXPECT_EQ(compareOne(engine, referenceOf(templates.list, engine), shapes.next()), 0);
    }
}

TEST(MatcherEquivalence, NamesWithoutTemplatesAndTemplatesWithoutNames) {
    Shapes shapes(99);
    TemplateSet templates;
    for (int i = 0; i < 10; ++i)
        templates.add(shapes.name(), shapes.next());
    PointPatternMatcher engine(templates.list, sc::kSampleCount);
    engine.updateNames(u"zz");                               // a name with no template: 0/0
    engine.updateNames(templates.list.begin()->first, true); // templates whose name is not scored
    const reference::Matcher ref = referenceOf(templates.list, engine);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(compareOne(engine, ref, shapes.next()), 0);
}

TEST(MatcherEquivalence, EveryKernelSumsAsTheScalarLoop) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> angle(-3.2, 3.2);
    const std::size_t rowStride = 49, blocks = 7;
    std::vector<float> lanes(blocks * rowStride * kLanes);
    for (float& a : lanes)
        a = static_cast<float>(angle(rng));
    // Special values where the fold and the NaN rule show: exactly pi apart, NaN, infinities.
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const float specials[] = {nan, -nan, inf, -inf, 3.14159274f, -3.14159274f, 0.0f, -0.0f};
    for (std::size_t i = 0; i < std::size(specials); ++i)
        lanes[i * 61 % lanes.size()] = specials[i];
    std::vector<double> stroke(rowStride);
    for (double& s : stroke)
        s = static_cast<double>(static_cast<float>(angle(rng)));
    // NaNs of both signs, as arithmetic makes them (0/0, 0 * inf), meeting finite and NaN values. Two
    // NaNs of different payloads never meet: which of them an addition passes on is the compiler's
    // choice of operand order even in scalar code, and no input of the engine carries such a NaN.
    for (std::size_t lane = 0; lane < kLanes; lane += 2)
        lanes[5 * kLanes + lane] = lane % 4 == 0 ? nan : -nan;
    stroke[5] = std::numeric_limits<double>::quiet_NaN();
    stroke[9] = -std::numeric_limits<double>::quiet_NaN();
    stroke[6] = static_cast<double>(3.14159274f);
    stroke[7] = -static_cast<double>(3.14159274f);

    for (const std::size_t rows : {std::size_t{0}, std::size_t{1}, std::size_t{4}, rowStride}) {
        for (const std::size_t count : {std::size_t{1}, std::size_t{2}, blocks}) {
            std::vector<double> expected(count * kLanes);
            ASSERT_TRUE(sumAngleDifferencesWith(AngleKernel::portable, lanes.data(), count, rowStride, rows,
                                                stroke.data(), expected.data()));
            for (const AngleKernel kernel : {AngleKernel::sse2, AngleKernel::avx}) {
                std::vector<double> got(count * kLanes, -1.0);
                if (!sumAngleDifferencesWith(kernel, lanes.data(), count, rowStride, rows, stroke.data(),
                                             got.data()))
                    continue; // not on this processor
                for (std::size_t i = 0; i < got.size(); ++i)
                    EXPECT_TRUE(sameBits(got[i], expected[i]))
                        << "kernel " << static_cast<int>(kernel) << " rows " << rows << " lane " << i << ": "
                        << hex(got[i]) << " vs " << hex(expected[i]);
            }
        }
    }
    // The portable loop itself is the reference's sum.
    std::vector<double> sums(kLanes);
    sumAngleDifferencesWith(AngleKernel::portable, lanes.data(), 1, rowStride, rowStride, stroke.data(),
                            sums.data());
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
        double sum = 0.0;
        for (std::size_t r = 0; r < rowStride; ++r)
            sum += reference::angleDifference(static_cast<double>(lanes[r * kLanes + lane]), stroke[r]);
        EXPECT_TRUE(sameBits(sums[lane], sum)) << lane;
    }
}

TEST(MatcherEquivalence, ManagerChangesKeepRecognitionExact) {
    sctest::TempFolder folder("geq");
    Shapes shapes(31);
    TemplateSet defaults;
    std::u16string text;
    for (int i = 0; i < 20; ++i) {
        PointList points = shapes.next();
        for (GesturePoint& p : points) // what a file can hold
            p = {std::trunc(p.x), std::trunc(p.y)};
        defaults.add(shapes.name(), points);
    }
    // The file's order is the list's order, since each line went in after the others of its name.
    text.clear();
    for (const auto& entry : defaults.list)
        text += gestureLine(entry.first, entry.second.points.unpack());
    sctest::writeBytes(folder.file("defaults.configure"), utf16::toBytes(text));
    GestureManager manager(folder.u16File("defaults.configure"), folder.folder());

    TemplateSet mirror;
    for (const auto& entry : defaults.list)
        mirror.add(entry.first, entry.second.points.unpack());
    for (int step = 0; step < 30; ++step) {
        const std::u16string name = shapes.name();
        if (shapes.pick(0, 1) == 0) {
            PointList points = shapes.next();
            if (points.size() < 2)
                continue;
            ASSERT_TRUE(manager.addGesture(name, points));
            mirror.add(name, points);
        } else if (manager.removeGesture(name)) {
            // The name's first user template: after its defaults in the mirror.
            auto [first, last] = mirror.list.equal_range(name);
            const auto defaultCount = defaults.list.count(name);
            auto it = std::next(first, static_cast<std::ptrdiff_t>(defaultCount));
            ASSERT_NE(it, last);
            mirror.list.erase(it);
        }
        const reference::Matcher ref(mirror.list, sc::kSampleCount);
        for (int i = 0; i < 4; ++i) {
            const PointList stroke = shapes.next();
            std::u16string got, want;
            manager.recognize(stroke, got);
            ref.recognize(stroke, want);
            ASSERT_EQ(utf16::toUtf8(got), utf16::toUtf8(want)) << "step " << step;
        }
    }
}

TEST(MatcherEquivalence, RecognitionRunsWhileTemplatesChange) {
    sctest::TempFolder folder("gconc");
    GestureManager manager(folder.u16File("none.configure"), folder.folder());
    const PointList right = gesturetest::line(0, 0, 100, 0);
    ASSERT_TRUE(manager.addGesture(u"right", right));
    std::atomic<bool> stop{false};
    std::thread changer([&] {
        for (int i = 0; i < 50; ++i) {
            manager.addGesture(u"down", gesturetest::line(0, 0, 0, 100));
            manager.removeGesture(u"down");
        }
        stop = true;
    });
    int recognised = 0, other = 0;
    while (!stop) {
        std::u16string name;
        manager.recognize(right, name);
        (name == u"right" ? recognised : other)++;
    }
    changer.join();
    EXPECT_GT(recognised, 0);
    EXPECT_EQ(other, 0);
}
