// Recognition takes no fresh memory once a first stroke has run: every allocation of this program goes
// through the counting operator new below, so it is a program of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

#include "gesture/gesture_manager.h"
#include "gesture/template_file.h"
#include "tests/gesture/generated_strokes.h"
#include "tests/gesture/gesture_test_support.h"

namespace {

std::atomic<std::size_t> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

// A manager on every tenth generated stroke as a template, and the rest to recognise.
class RecognitionAllocations : public testing::Test {
  protected:
    void SetUp() override {
        std::u16string text;
        const auto all = gesturetest::generatedStrokes();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (i % 10 == 0)
                text += sc::gestureLine(sc::utf16::fromUtf8(all[i].gesture), all[i].points);
            else
                strokes.push_back(all[i].points);
        }
        sctest::writeBytes(folder.file("defaults.configure"), sc::utf16::toBytes(text));
        sctest::writeBytes(folder.file("MyGesture.configure"), "");
        manager = std::make_unique<sc::GestureManager>(folder.u16File("defaults.configure"), folder.folder());
    }

    sctest::TempFolder folder{"ralloc"};
    std::vector<sc::PointList> strokes;
    std::unique_ptr<sc::GestureManager> manager;
};

TEST_F(RecognitionAllocations, NoneOnceAFirstStrokeHasRun) {
    ASSERT_GT(manager->getGestureNames().size(), 10u);
    std::u16string name;
    std::size_t recognised = 0;
    // The first pass may grow the working space and the result's capacity; the second may not.
    for (const sc::PointList& stroke : strokes)
        manager->recognize(stroke, name);
    const std::size_t before = allocations.load();
    for (const sc::PointList& stroke : strokes) {
        manager->recognize(stroke, name);
        recognised += name != sc::kNoGestureFound;
    }
    EXPECT_EQ(allocations.load() - before, 0u) << "over " << strokes.size() << " recognitions";
    EXPECT_GT(recognised, strokes.size() / 2); // the strokes were really compared
}

TEST_F(RecognitionAllocations, NoneWhileTwoThreadsRecognise) {
    // Two recognitions at once each take a working space of their own; both are kept for later strokes.
    std::u16string first, second;
    const auto pass = [&](std::u16string& name) {
        for (const sc::PointList& stroke : strokes)
            manager->recognize(stroke, name);
    };
    std::thread warm([&] { pass(second); });
    pass(first);
    warm.join();
    const std::size_t before = allocations.load();
    std::thread other([&] { pass(second); });
    pass(first);
    other.join();
    // Starting the thread allocates its state; nothing else may.
    EXPECT_LE(allocations.load() - before, 1u);
}

} // namespace
