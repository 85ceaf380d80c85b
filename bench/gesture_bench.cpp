// Recognition and template loading speed over recorded human strokes.
// Run: build/native/bin/gesture_bench   (figures per recognition and per manager opening)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "common/textfile.h"
#include "common/utf16.h"
#include "gesture/gesture_manager.h"
#include "gesture/template_file.h"
#include "tests/gesture/unistrokes.h"

namespace {

// The recorded strokes in round-robin order over the gesture types, so any prefix mixes all types.
const std::vector<gesturetest::RecordedStroke>& mixedStrokes() {
    static const std::vector<gesturetest::RecordedStroke> mixed = [] {
        const auto all = gesturetest::readUnistrokes(gesturetest::unistrokesPath(STROKECAST_SHARED_DATA));
        std::map<std::string, std::vector<const gesturetest::RecordedStroke*>> byType;
        for (const auto& s : all)
            byType[s.gesture].push_back(&s);
        std::vector<gesturetest::RecordedStroke> out;
        for (std::size_t i = 0; out.size() < all.size(); ++i)
            for (auto& [type, strokes] : byType)
                if (i < strokes.size())
                    out.push_back(*strokes[i]);
        return out;
    }();
    return mixed;
}

// A scratch folder holding a default template file of `count` templates drawn from the strokes; strokes
// are reused, shifted a little, when more templates are asked for than there are strokes.
struct TemplateFolder {
    std::filesystem::path folder;
    std::u16string defaults;

    explicit TemplateFolder(std::size_t count) {
        folder = std::filesystem::temp_directory_path() /
                 ("sc_bench_" + std::to_string(::getpid()) + "_" + std::to_string(count));
        std::filesystem::create_directories(folder);
        const auto& strokes = mixedStrokes();
        std::u16string text;
        for (std::size_t i = 0; i < count; ++i) {
            const auto& s = strokes[i % strokes.size()];
            sc::Gesture g{sc::utf16::fromUtf8(s.gesture), s.points};
            const float shift = static_cast<float>(i / strokes.size());
            for (sc::GesturePoint& p : g.points)
                p.x += shift;
            text += sc::gestureLine(g);
        }
        defaults = sc::utf16::fromUtf8((folder / "defaults.configure").string());
        sc::textfile::replace(defaults, text);
        // An empty user file: the manager then opens without a "load file fail" line.
        sc::textfile::replace(sc::utf16::fromUtf8((folder / "MyGesture.configure").string()), u"");
    }
    ~TemplateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

void recognizeAgainst(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    const TemplateFolder files(count);
    const sc::GestureManager manager(files.defaults, sc::utf16::fromUtf8(files.folder.string()));
    // A stroke of median length that is not among the first templates.
    const sc::PointList& stroke = mixedStrokes()[mixedStrokes().size() - 1].points;
    std::u16string name;
    for (auto _ : state) {
        manager.recognize(stroke, name);
        benchmark::DoNotOptimize(name);
    }
    state.counters["templates"] = static_cast<double>(count);
    state.counters["stroke_points"] = static_cast<double>(stroke.size());
}

void openManager(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    const TemplateFolder files(count);
    std::size_t names = 0;
    for (auto _ : state) {
        sc::GestureManager manager(files.defaults, sc::utf16::fromUtf8(files.folder.string()));
        names = manager.getGestureNames().size();
        benchmark::DoNotOptimize(names);
    }
    state.counters["templates"] = static_cast<double>(count);
    state.counters["file_bytes"] =
        static_cast<double>(std::filesystem::file_size(files.folder / "defaults.configure"));
}

BENCHMARK(recognizeAgainst)->Arg(16)->Arg(160)->Arg(1600)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(openManager)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (mixedStrokes().empty()) {
        std::fprintf(stderr, "gesture_bench: no recorded strokes at %s\n", STROKECAST_SHARED_DATA);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
