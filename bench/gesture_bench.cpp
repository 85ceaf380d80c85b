// Recognition and template loading speed over recorded human strokes, the engine against the
// straightforward matcher (which resamples every template for every comparison).
// Run: build/native/bin/gesture_bench             one table: recognition, opening, memory (Markdown)
//      build/native/bin/gesture_bench --gbench    the same cases through Google Benchmark (native only)
//      gesture_bench --write-templates DIR        writes DIR/defaults.configure of 10,000 templates
//      gesture_bench --cold-open DIR              opens a manager on it once, in this fresh process, and
//                                                 prints "<ms wall> <ms processor> <KB per 1,000 templates>"
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// psapi.h needs the types of windows.h
#include <psapi.h>
#else
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#ifdef STROKECAST_GOOGLE_BENCHMARK
#include <benchmark/benchmark.h>
#endif

#include "common/messages.h"
#include "strokecast.h"

#ifdef STROKECAST_FAKE_PLATFORM
#include "capture/touch_capturer.h"
#include "exports/boundary.h"
#include "exports/instances.h"
#include "platform/fake/fake_state.h"
#endif

#include "capture/stroke_collector.h"
#include "common/utf16.h"
#include "files/textfile.h"
#include "gesture/angle_sums.h"
#include "gesture/gesture_manager.h"
#include "gesture/matcher.h"
#include "gesture/template_file.h"
#include "platform/keyboard.h"
#include "tests/gesture/generated_strokes.h"
#include "tests/gesture/reference_matcher.h"
#include "tests/gesture/unistrokes.h"

namespace {

using Clock = std::chrono::steady_clock;

// The corpus: the recorded human strokes when they are beside the repository, else the generated ones
// (degenerate strokes left out: nobody draws them).
bool recordedCorpus = false;

std::vector<gesturetest::RecordedStroke> corpus() {
    auto recorded = gesturetest::readUnistrokes(gesturetest::unistrokesPath(STROKECAST_SHARED_DATA));
    recordedCorpus = !recorded.empty();
    if (recordedCorpus)
        return recorded;
    std::vector<gesturetest::RecordedStroke> generated;
    for (auto& s : gesturetest::generatedStrokes())
        if (s.gesture != "degenerate")
            generated.push_back(std::move(s));
    return generated;
}

const char* corpusName() {
    return recordedCorpus ? "recorded human strokes" : "generated strokes";
}

// The corpus in round-robin order over the gesture types, so any prefix mixes all types.
const std::vector<gesturetest::RecordedStroke>& mixedStrokes() {
    static const std::vector<gesturetest::RecordedStroke> mixed = [] {
        const auto all = corpus();
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

// Template i: stroke i of the mixed order; strokes are reused, shifted a little, when more templates are
// asked for than there are strokes.
sc::Gesture templateAt(std::size_t i) {
    const auto& strokes = mixedStrokes();
    const auto& s = strokes[i % strokes.size()];
    sc::Gesture g{sc::utf16::fromUtf8(s.gesture), s.points};
    const float shift = static_cast<float>(i / strokes.size());
    for (sc::GesturePoint& p : g.points)
        p.x += shift;
    return g;
}

// The strokes recognised: the last ones of the mixed order, every gesture type among them.
std::vector<sc::PointList> queryStrokes() {
    const auto& strokes = mixedStrokes();
    std::vector<sc::PointList> out;
    for (std::size_t i = strokes.size() - 32; i < strokes.size(); ++i)
        out.push_back(strokes[i].points);
    return out;
}

// Writes the default template file of `count` templates and an empty user file into `folder`.
void writeTemplateFiles(const std::filesystem::path& folder, std::size_t count) {
    std::filesystem::create_directories(folder);
    std::u16string text;
    for (std::size_t i = 0; i < count; ++i) {
        const sc::Gesture g = templateAt(i);
        text += sc::gestureLine(g.name, g.points);
    }
    sc::textfile::replace(sc::utf16::fromUtf8((folder / "defaults.configure").string()), text);
    // An empty user file: the manager then opens without a "load file fail" line.
    sc::textfile::replace(sc::utf16::fromUtf8((folder / "MyGesture.configure").string()), u"");
}

// A scratch folder holding a default template file of `count` templates and an empty user file.
struct TemplateFolder {
    std::filesystem::path folder;
    std::u16string defaults;

    explicit TemplateFolder(std::size_t count) {
        const auto stamp = Clock::now().time_since_epoch().count();
        folder = std::filesystem::temp_directory_path() /
                 ("sc_bench_" + std::to_string(stamp) + "_" + std::to_string(count));
        writeTemplateFiles(folder, count);
        defaults = sc::utf16::fromUtf8((folder / "defaults.configure").string());
    }
    ~TemplateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::u16string userFolder() const { return sc::utf16::fromUtf8(folder.string()); }
};

// The templates as the manager holds them once read from a file (integer coordinates), for the
// straightforward matcher.
struct TemplateList {
    sc::GestureList list;
    explicit TemplateList(const TemplateFolder& files) { sc::loadGestureFile(files.defaults, list); }
};

// Median over rounds of the time per call, each round repeating `body` for at least `roundSeconds`.
template <class Body> double medianSecondsPerCall(Body&& body, double roundSeconds, int rounds = 5) {
    std::vector<double> perCall;
    for (int r = 0; r < rounds; ++r) {
        std::size_t calls = 0;
        const auto start = Clock::now();
        double elapsed = 0.0;
        do {
            calls += body();
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        } while (elapsed < roundSeconds);
        perCall.push_back(elapsed / static_cast<double>(calls));
    }
    std::sort(perCall.begin(), perCall.end());
    return perCall[perCall.size() / 2];
}

std::size_t residentBytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
#else
    malloc_trim(0); // freed heap pages do not count against what is kept
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    unsigned long size = 0, resident = 0;
    if (f != nullptr) {
        if (std::fscanf(f, "%lu %lu", &size, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
#endif
}

// Processor time of the whole process (every thread), in seconds.
double processorSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) * 1e-7;
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
#endif
}

// One opening of a 10,000-template manager, the first in this process: wall time, processor time and
// the resident growth per 1,000 templates.
int coldOpen(const std::filesystem::path& folder) {
    const std::u16string defaults = sc::utf16::fromUtf8((folder / "defaults.configure").string());
    const std::size_t before = residentBytes();
    const double processorBefore = processorSeconds();
    const auto start = Clock::now();
    const sc::GestureManager manager(defaults, sc::utf16::fromUtf8(folder.string()));
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double processor = processorSeconds() - processorBefore;
    const std::size_t after = residentBytes();
    std::printf("%.1f %.1f %.0f\n", wall * 1e3, processor * 1e3,
                (static_cast<double>(after) - static_cast<double>(before)) / 10.0 / 1024.0);
    return 0;
}

// The growth of resident memory, in KB, from a fresh process's first thread, which opening a large file
// starts: under Wine that first thread costs about a megabyte once, whatever it runs.
int firstThread() {
    const std::size_t before = residentBytes();
    std::thread([] {}).join();
    const std::size_t after = residentBytes();
    std::printf("%.0f\n", (static_cast<double>(after) - static_cast<double>(before)) / 1024.0);
    return 0;
}

#if defined(STROKECAST_FAKE_PLATFORM) || defined(_WIN32)

// Opens both managers through the exports on a fresh folder of 16 templates. Every name a stroke can get
// runs a key chord, so every recognised stroke ends in sent input. The folder is the caller's to remove.
std::filesystem::path openTouchManagers() {
    const auto text = [](const std::u16string& s) { return reinterpret_cast<const sc_char*>(s.c_str()); };
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("sc_bench_touch_" + std::to_string(Clock::now().time_since_epoch().count()));
    writeTemplateFiles(folder, 16);
    const std::u16string defaults = sc::utf16::fromUtf8((folder / "defaults.configure").string());
    const std::u16string userFolder = sc::utf16::fromUtf8(folder.string());
    OpenGestureManager(text(defaults), text(userFolder));
    OpenActionManager(text(userFolder));
    for (std::size_t i = 0; i < 16; ++i)
        SetGestureToAction(text(templateAt(i).name), text(u"CTRL_C"));
    return folder;
}

#endif

#ifdef STROKECAST_FAKE_PLATFORM

// From the last touch to the action: a stroke drawn into the capturer through the fake platform, then
// the time from the stroke timer firing (the manual clock reaching it) until its handler has returned,
// which covers recognition under the exports' gesture lock, the action manager's lock and the recorded
// key input of the bound action. Median and 99th percentile over many strokes, in µs.
void printLastTouchToAction() {
    namespace fake = platform::fake;
    fake::reset();
    fake::resetSystem();
    const std::filesystem::path folder = openTouchManagers();
    fake::ui().threadsStart = true;
    OpenTouchCapturer();
    fake::runThreads();
    const platform::ui::WindowId window =
        sc::touchCapturer.with(platform::ui::WindowId{0}, [](sc::TouchCapturer& c) { return c.window(); });

    const std::vector<sc::PointList> strokes = queryStrokes();
    std::vector<double> times; // of the strokes that ended in key input
    std::size_t drawn = 0;
    for (int round = 0; round < 30; ++round) {
        for (const sc::PointList& stroke : strokes) {
            for (const sc::GesturePoint& p : stroke) {
                fake::send(window, sc::msg::kCapturePoint, static_cast<std::uintptr_t>(p.x),
                           static_cast<std::intptr_t>(p.y));
                fake::advance(10);
            }
            const std::size_t before = fake::systemCalls().size();
            const auto start = Clock::now();
            fake::advance(300);
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            const auto calls = fake::systemCalls();
            ++drawn;
            if (calls.size() > before && calls.back().name == "SendInput")
                times.push_back(elapsed);
        }
    }
    CloseTouchCapturer();
    CloseActionNanager();
    CloseGestureManager();
    fake::reset();
    fake::resetSystem();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);

    std::sort(times.begin(), times.end());
    const auto at = [&](double q) {
        return times[static_cast<std::size_t>(q * static_cast<double>(times.size() - 1))];
    };
    std::fprintf(stderr, "gesture_bench: %zu of %zu strokes drawn into the capturer ended in key input\n",
                 times.size(), drawn);
    if (times.empty())
        return;
    std::printf(
        "| from the stroke timer firing to the action's key input, 16 templates (median) | %.1f µs |\n",
        at(0.5) * 1e6);
    std::printf("| the same, 99th percentile | %.1f µs |\n", at(0.99) * 1e6);
}

#elif defined(_WIN32)

// From the last touch to the action on the real capturer thread: the stroke's points are posted to the
// capturer window as the overlay posts them, a hook on that thread notes when the stroke timer's message
// is taken, and the stroke sink, which the thread calls once the action has run, notes the end. The
// difference covers recognition under the exports' gesture lock, the action manager's lock and the
// SendInput of the bound key chord. Median and 99th percentile over the strokes that ran it, in µs.
namespace touch {

HWND capturer = nullptr;
std::atomic<long long> timerTaken{0}, reported{0};
std::atomic<int> status{0};
HANDLE strokeEnded = nullptr;

long long now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

LRESULT CALLBACK onMessage(int code, WPARAM removed, LPARAM message) {
    const auto* m = reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removed == PM_REMOVE && m->message == WM_TIMER && m->hwnd == capturer)
        timerTaken = now();
    return CallNextHookEx(nullptr, code, removed, message);
}

// The engine's console lines would land in the table this program prints.
void STROKECAST_CALL ignoreLine(const sc_char*, void*) {}

void STROKECAST_CALL onStroke(const uint16_t*, const sc_char*, double, int32_t actionStatus, void*) {
    reported = now();
    status = actionStatus;
    SetEvent(strokeEnded);
}

} // namespace touch

void printLastTouchToAction() {
    const std::filesystem::path folder = openTouchManagers();
    touch::strokeEnded = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    StrokecastSetLogSink(touch::ignoreLine, nullptr);
    StrokecastSetStrokeSink(touch::onStroke, nullptr);
    OpenTouchCapturer();
    for (int tries = 0; touch::capturer == nullptr && tries < 1000; ++tries) {
        touch::capturer = FindWindowExW(HWND_MESSAGE, nullptr, L"Message", L"TouchCapturer Wnd");
        if (touch::capturer == nullptr)
            Sleep(10);
    }
    HHOOK hook = touch::capturer == nullptr
                     ? nullptr
                     : SetWindowsHookExW(WH_GETMESSAGE, touch::onMessage, nullptr,
                                         GetWindowThreadProcessId(touch::capturer, nullptr));
    std::vector<double> times;
    std::size_t drawn = 0;
    if (hook != nullptr) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        for (const sc::PointList& stroke : queryStrokes()) {
            touch::timerTaken = 0;
            for (const sc::GesturePoint& p : stroke)
                PostMessageW(touch::capturer, sc::msg::kCapturePoint, static_cast<WPARAM>(p.x),
                             static_cast<LPARAM>(p.y));
            if (WaitForSingleObject(touch::strokeEnded, 10000) != WAIT_OBJECT_0)
                break;
            ++drawn;
            if (touch::status == STROKECAST_ACTION_RAN && touch::timerTaken != 0)
                times.push_back(static_cast<double>(touch::reported - touch::timerTaken) /
                                static_cast<double>(frequency.QuadPart));
        }
        UnhookWindowsHookEx(hook);
    }
    CloseTouchCapturer();
    StrokecastSetStrokeSink(nullptr, nullptr);
    StrokecastSetLogSink(nullptr, nullptr);
    CloseActionNanager();
    CloseGestureManager();
    CloseHandle(touch::strokeEnded);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);

    std::sort(times.begin(), times.end());
    std::fprintf(stderr, "gesture_bench: %zu of %zu strokes posted to the capturer ran their key chord\n",
                 times.size(), drawn);
    if (times.empty())
        return;
    const auto at = [&](double q) {
        return times[static_cast<std::size_t>(q * static_cast<double>(times.size() - 1))];
    };
    std::printf("| from the stroke timer firing to the action's key input sent, 16 templates, real capturer "
                "thread (median of %zu) | %.1f µs |\n",
                times.size(), at(0.5) * 1e6);
    std::printf("| the same, slowest | %.1f µs |\n", times.back() * 1e6);
    // What the system itself takes for the chord's four events, for comparison.
    std::vector<double> chords;
    for (int i = 0; i < 29; ++i) {
        const long long start = touch::now();
        platform::sendKeyChord(platform::vk::kControl, 'C');
        chords.push_back(static_cast<double>(touch::now() - start));
    }
    std::sort(chords.begin(), chords.end());
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::printf(
        "| of that, the system's SendInput of the chord's four key events alone (median) | %.1f µs |\n",
        chords[chords.size() / 2] / static_cast<double>(frequency.QuadPart) * 1e6);
}

#endif

const char* kernelName(sc::AngleKernel k) {
    switch (k) {
    case sc::AngleKernel::avx:
        return "AVX";
    case sc::AngleKernel::sse2:
        return "SSE2";
    default:
        return "portable";
    }
}

int printTable() {
    const std::vector<sc::PointList> queries = queryStrokes();
    const std::size_t counts[] = {16, 160, 1600, 10000};

    // Memory first, while the heap holds little else: what a manager of 10,000 templates keeps.
    double residentPerThousand = 0.0, cachePerThousand = 0.0, firstOpen = 0.0;
    {
        const TemplateFolder files(10000);
        const std::size_t before = residentBytes();
        const auto start = Clock::now();
        auto manager = std::make_unique<sc::GestureManager>(files.defaults, files.userFolder());
        firstOpen = std::chrono::duration<double>(Clock::now() - start).count();
        const std::size_t after = residentBytes();
        residentPerThousand = (static_cast<double>(after) - static_cast<double>(before)) / 10.0;
        const TemplateList templates(files);
        const sc::PointPatternMatcher matcher(templates.list, sc::kSampleCount);
        cachePerThousand = static_cast<double>(matcher.cacheBytes()) / 10.0;
    }

    std::printf("Recognition of %zu %s in turn (one recognition = one stroke against every "
                "template); angle kernel: %s.\n\n",
                queries.size(), corpusName(), kernelName(sc::bestAngleKernel()));
    std::printf("| templates | straightforward matcher | engine | speed-up | same answers |\n");
    std::printf("|---:|---:|---:|---:|:---:|\n");
    std::fflush(stdout);
    for (const std::size_t count : counts) {
        const TemplateFolder files(count);
        sc::GestureManager manager(files.defaults, files.userFolder());
        const TemplateList templates(files);
        const reference::Matcher ref(templates.list, sc::kSampleCount);

        bool same = true;
        for (const sc::PointList& q : queries) {
            std::u16string a, b;
            manager.recognize(q, a);
            ref.recognize(q, b);
            same = same && a == b;
        }
        std::size_t next = 0;
        std::u16string name;
        const double engine = medianSecondsPerCall(
            [&] {
                manager.recognize(queries[next++ % queries.size()], name);
                return std::size_t{1};
            },
            0.2);
        const double straightforward = medianSecondsPerCall(
            [&] {
                ref.recognize(queries[next++ % queries.size()], name);
                return std::size_t{1};
            },
            count >= 10000 ? 0.4 : 0.2, count >= 10000 ? 3 : 5);
        std::printf("| %zu | %.1f µs | %.2f µs | %.0f× | %s |\n", count, straightforward * 1e6, engine * 1e6,
                    straightforward / engine, same ? "yes" : "NO");
        std::fflush(stdout);
    }

    // The capturer's road for one stroke: every point through the spacing filter, then recognition
    // and the (here empty) action, against recognising the kept points directly.
    double direct = 0.0, captured = 0.0;
    {
        const TemplateFolder files(16);
        sc::GestureManager manager(files.defaults, files.userFolder());
        std::vector<sc::PointList> kept;
        for (const sc::PointList& q : queries) {
            sc::StrokeCollector collector;
            for (const sc::GesturePoint& p : q)
                collector.add(p);
            kept.push_back(collector.points());
        }
        sc::StrokeHooks hooks;
        hooks.recognize = [&](const sc::PointList& points, std::u16string& name) {
            manager.recognize(points, name);
        };
        hooks.execute = [](std::u16string_view) { return false; };
        std::size_t next = 0;
        std::u16string name;
        sc::StrokeCollector collector;
        direct = medianSecondsPerCall(
            [&] {
                manager.recognize(kept[next++ % kept.size()], name);
                return std::size_t{1};
            },
            0.2);
        captured = medianSecondsPerCall(
            [&] {
                for (const sc::GesturePoint& p : queries[next++ % queries.size()])
                    collector.add(p);
                collector.finish(hooks);
                return std::size_t{1};
            },
            0.2);
    }

    const TemplateFolder files(10000);
    const double open = medianSecondsPerCall(
        [&] {
            sc::GestureManager manager(files.defaults, files.userFolder());
            return std::size_t{1};
        },
        0.3);
    std::printf("\n| measure | figure |\n|---|---:|\n");
    std::printf(
        "| opening a manager on a 10,000-template file (%.1f MB), median of repeated openings | %.1f ms |\n",
        static_cast<double>(std::filesystem::file_size(files.folder / "defaults.configure")) / 1e6,
        open * 1e3);
    std::printf("| the same, the first time in this process (no freed memory to reuse yet) | %.1f ms |\n",
                firstOpen * 1e3);
    std::printf("| resident memory per 1,000 templates (whole manager) | %.0f KB |\n",
                residentPerThousand / 1024.0);
    std::printf("| of which the matcher's angle cache | %.0f KB |\n", cachePerThousand / 1024.0);
    std::printf("| one stroke (16 templates), recognising its kept points directly | %.2f µs |\n",
                direct * 1e6);
    std::printf("| the same stroke through the capturer's point filter and end of stroke | %.2f µs |\n",
                captured * 1e6);
#if defined(STROKECAST_FAKE_PLATFORM) || defined(_WIN32)
    printLastTouchToAction();
#endif
    return 0;
}

#ifdef STROKECAST_GOOGLE_BENCHMARK

// A stroke of median length that is not among the first templates.
const sc::PointList& medianStroke() {
    return mixedStrokes()[mixedStrokes().size() - 1].points;
}

// Recognises the median stroke over and over.
template <class Recognize> void recognizeRepeatedly(benchmark::State& state, Recognize&& recognize) {
    const sc::PointList& stroke = medianStroke();
    std::u16string name;
    for (auto _ : state) {
        recognize(stroke, name);
        benchmark::DoNotOptimize(name);
    }
    state.counters["templates"] = static_cast<double>(state.range(0));
}

void recognizeAgainst(benchmark::State& state) {
    const TemplateFolder files(static_cast<std::size_t>(state.range(0)));
    sc::GestureManager manager(files.defaults, files.userFolder());
    recognizeRepeatedly(
        state, [&](const sc::PointList& stroke, std::u16string& name) { manager.recognize(stroke, name); });
    state.counters["stroke_points"] = static_cast<double>(medianStroke().size());
}

void recognizeStraightforward(benchmark::State& state) {
    const TemplateFolder files(static_cast<std::size_t>(state.range(0)));
    const TemplateList templates(files);
    const reference::Matcher ref(templates.list, sc::kSampleCount);
    recognizeRepeatedly(
        state, [&](const sc::PointList& stroke, std::u16string& name) { ref.recognize(stroke, name); });
}

void openManager(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    const TemplateFolder files(count);
    std::size_t names = 0;
    for (auto _ : state) {
        sc::GestureManager manager(files.defaults, files.userFolder());
        names = manager.getGestureNames().size();
        benchmark::DoNotOptimize(names);
    }
    state.counters["templates"] = static_cast<double>(count);
    state.counters["file_bytes"] =
        static_cast<double>(std::filesystem::file_size(files.folder / "defaults.configure"));
}

BENCHMARK(recognizeAgainst)->Arg(16)->Arg(160)->Arg(1600)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(recognizeStraightforward)->Arg(16)->Arg(160)->Arg(1600)->Unit(benchmark::kMicrosecond);
BENCHMARK(openManager)->Arg(10000)->Unit(benchmark::kMillisecond);

#endif

} // namespace

int main(int argc, char** argv) {
    // Before anything else takes memory: the opening must find none freed to reuse.
    if (argc == 3 && std::strcmp(argv[1], "--cold-open") == 0)
        return coldOpen(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "--first-thread") == 0)
        return firstThread();
    if (mixedStrokes().empty()) {
        std::fprintf(stderr, "gesture_bench: no strokes\n");
        return 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--write-templates") == 0) {
        writeTemplateFiles(argv[2], 10000);
        return 0;
    }
    std::fprintf(stderr, "gesture_bench: %s\n", corpusName());
    if (argc > 1 && std::strcmp(argv[1], "--gbench") == 0) {
#ifdef STROKECAST_GOOGLE_BENCHMARK
        argv[1] = argv[0];
        --argc;
        ++argv;
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            return 1;
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
#else
        std::fprintf(stderr, "gesture_bench: built without Google Benchmark\n");
        return 1;
#endif
    }
    return printTable();
}
