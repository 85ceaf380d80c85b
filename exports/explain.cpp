// Exports that explain the engine's answers: scores, conflicts, action outcomes, failures, and sinks.
#include <charconv>
#include <cmath>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "action/action_manager.h"
#include "capture/stroke_report.h"
#include "common/buffer.h"
#include "common/last_error.h"
#include "common/utf16.h"
#include "exports/boundary.h"
#include "exports/instances.h"
#include "gesture/gesture_manager.h"
#include "gesture/point_array.h"

namespace sc {
namespace {

// The shortest text that reads back as the same double; "nan" for every NaN, whatever its sign bit.
std::u16string scoreText(double score) {
    if (std::isnan(score))
        return u"nan";
    char digits[64];
    const auto end = std::to_chars(digits, digits + sizeof digits, score).ptr;
    return std::u16string(digits, end);
}

std::u16string scoreLines(const std::vector<MatchResult>& results, std::size_t limit) {
    std::u16string text;
    for (std::size_t i = 0; i < results.size() && i < limit; ++i) {
        if (i != 0)
            text += u'\n';
        text += results[i].name;
        text += u',';
        text += scoreText(results[i].probability);
    }
    return text;
}

// The host's sink and context behind the core's plain callbacks; the core hands out char16_t text,
// which on Windows becomes wchar_t here, unit by unit.
struct LogTarget {
    StrokecastLogSink sink;
    void* context;
};

void logAdapter(const char16_t* line, void* context) {
    const auto* target = static_cast<const LogTarget*>(context);
    const std::basic_string<sc_char> text(line, line + std::char_traits<char16_t>::length(line));
    target->sink(text.c_str(), target->context);
}

struct StrokeTarget {
    StrokecastStrokeSink sink;
    void* context;
};

void strokeAdapter(const std::uint16_t* points, const char16_t* name, double score, std::int32_t status,
                   void* context) {
    const auto* target = static_cast<const StrokeTarget*>(context);
    const std::basic_string<sc_char> text(name, name + std::char_traits<char16_t>::length(name));
    target->sink(points, text.c_str(), score, status, target->context);
}

// The current targets live until the next set has waited out every call that might still read them.
std::mutex targetsMutex;
std::unique_ptr<LogTarget> logTarget;
std::unique_ptr<StrokeTarget> strokeTarget;

} // namespace
} // namespace sc

extern "C" {

int32_t STROKECAST_CALL StrokecastRankGestures(const uint16_t* points, uint32_t maxNames, sc_char* buffer,
                                               uint32_t capacity) {
    if (points == nullptr || buffer == nullptr)
        return 0;
    return sc::guardedWith(sc::gestureManager, 0, [&](sc::GestureManager& manager) {
        const auto ranked = manager.rank(sc::readPointArray(points));
        return static_cast<int32_t>(sc::copyOut(sc::scoreLines(ranked, maxNames), buffer, capacity));
    });
}

int32_t STROKECAST_CALL StrokecastCheckSimilarity(const sc_char* name, const uint16_t* points,
                                                  sc_char* buffer, uint32_t capacity) {
    if (name == nullptr || points == nullptr || buffer == nullptr)
        return 0;
    return sc::guardedWith(sc::gestureManager, 0, [&](sc::GestureManager& manager) {
        // Thinned as AddOneGesture thins a new template, so the check sees what would be stored.
        const auto similar = manager.similarNames(sc::text(name), sc::readSpacedPointArray(points));
        return static_cast<int32_t>(sc::copyOut(sc::scoreLines(similar, similar.size()), buffer, capacity));
    });
}

int32_t STROKECAST_CALL StrokecastExecuteActionEx(const sc_char* gesture) {
    if (gesture == nullptr)
        return 0;
    return sc::guardedWith(sc::actionManager, 0, [&](sc::ActionManager& am) {
        return static_cast<int32_t>(am.runActionOfGesture(sc::text(gesture)).status);
    });
}

int32_t STROKECAST_CALL StrokecastListActions(sc_char* buffer, uint32_t capacity) {
    if (buffer == nullptr)
        return 0;
    return sc::guardedWith(sc::actionManager, 0, [&](sc::ActionManager& am) {
        return static_cast<int32_t>(
            sc::copyOut(sc::utf16::joined(am.listActions(), u'\n'), buffer, capacity));
    });
}

int32_t STROKECAST_CALL StrokecastLastError(sc_char* buffer, uint32_t capacity) {
    if (buffer == nullptr)
        return 0;
    return sc::guarded<int32_t>(
        0, [&] { return static_cast<int32_t>(sc::copyOut(sc::last_error::get(), buffer, capacity)); });
}

void STROKECAST_CALL StrokecastSetLogSink(StrokecastLogSink sink, void* context) {
    sc::guardedVoid([&] {
        std::lock_guard lock(sc::targetsMutex);
        auto next = sink != nullptr ? std::make_unique<sc::LogTarget>(sc::LogTarget{sink, context}) : nullptr;
        sc::console::setSink(next ? sc::logAdapter : nullptr, next.get());
        sc::logTarget = std::move(next);
    });
}

void STROKECAST_CALL StrokecastSetStrokeSink(StrokecastStrokeSink sink, void* context) {
    sc::guardedVoid([&] {
        std::lock_guard lock(sc::targetsMutex);
        auto next =
            sink != nullptr ? std::make_unique<sc::StrokeTarget>(sc::StrokeTarget{sink, context}) : nullptr;
        sc::stroke_report::setSink(next ? sc::strokeAdapter : nullptr, next.get());
        sc::strokeTarget = std::move(next);
    });
}

int32_t STROKECAST_CALL StrokecastSetCaptureMode(int32_t mode) {
    if (mode != 0 && mode != 1)
        return 0;
    sc::stroke_report::setRecording(mode == 1);
    return 1;
}

int32_t STROKECAST_CALL StrokecastSetActionGuard(const sc_char* action, double minScore) {
    if (action == nullptr)
        return 0;
    return sc::guardedWith(sc::actionManager, 0, [&](sc::ActionManager& am) {
        return am.setActionGuard(sc::text(action), minScore) ? 1 : 0;
    });
}
}
