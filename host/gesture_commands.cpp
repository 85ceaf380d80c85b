// Host commands of the gesture family: list names, show a track, add a gesture, recognise a stroke.
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "host/commands.h"

namespace host {
namespace {

int listGestures(Context& ctx) {
    text names;
    if (!fetchText([&](sc_char* b, uint32_t n) { return ctx.lib.GetAllGestures(b, n); }, names))
        return fail("cannot read the gesture names");
    // One name per line: names may hold spaces but never a comma.
    std::size_t start = 0;
    while (start < names.size()) {
        std::size_t end = names.find(static_cast<sc_char>(','), start);
        if (end == text::npos)
            end = names.size();
        std::printf("%s\n", toUtf8(names.substr(start, end - start)).c_str());
        start = end + 1;
    }
    return 0;
}

int showTrack(Context& ctx, const std::string& name) {
    const text wname = fromUtf8(name);
    if (ctx.lib.CheckNameExist(wname.c_str()) != 1 || name == "_NO_GESTURE_FOUND_")
        return fail("no gesture named '" + name + "'");
    for (uint32_t capacity = 1024; capacity <= (1u << 26); capacity *= 4) {
        std::vector<uint16_t> values(capacity);
        if (ctx.lib.GetGestureTrack(wname.c_str(), values.data(), capacity) != 1)
            continue;
        // The same "x,y x,y" form that add and recognize read; like them it ends at an x of 0.
        std::string line;
        for (std::size_t i = 0; values[i] != 0; i += 2) {
            if (!line.empty())
                line += ' ';
            line += std::to_string(values[i]) + "," + std::to_string(values[i + 1]);
        }
        std::printf("%s\n", line.c_str());
        return 0;
    }
    return fail("cannot read the track of '" + name + "'");
}

int addGesture(Context& ctx, const std::string& name, const std::string& pointSpec, bool force) {
    std::vector<uint16_t> values;
    std::string error;
    if (!parsePoints(pointSpec, values, error))
        return fail(error);
    const text wname = fromUtf8(name);
    text similar;
    if (fetchText(
            [&](sc_char* b, uint32_t n) {
                return ctx.lib.StrokecastCheckSimilarity(wname.c_str(), values.data(), b, n);
            },
            similar) &&
        !similar.empty()) {
        for (const text& line : split(similar, '\n')) {
            const std::size_t comma = line.rfind(static_cast<sc_char>(','));
            std::fprintf(stderr, "strokecast-host: warning: '%s' would be confused with '%s' (score %s)\n",
                         name.c_str(), toUtf8(line.substr(0, comma)).c_str(),
                         toUtf8(line.substr(comma + 1)).c_str());
        }
        if (!force)
            return fail("gesture '" + name +
                        "' not added: draw it differently, or add it anyway with --force");
    }
    if (ctx.lib.AddOneGesture(wname.c_str(), values.data()) != 1)
        return failWithCause(
            ctx,
            "gesture '" + name +
                "' not added: the name is reserved, empty or holds a comma, fewer than two points lie more "
                "than 2 pixels apart, or the user file cannot be written");
    std::printf("%s\n", name.c_str());
    return 0;
}

int recognizeStroke(Context& ctx, const std::string& pointSpec, bool scores) {
    std::vector<uint16_t> values;
    std::string error;
    if (!parsePoints(pointSpec, values, error))
        return fail(error);
    text name;
    if (!fetchText([&](sc_char* b, uint32_t n) { return ctx.lib.recognizeGesture(values.data(), b, n); },
                   name))
        return fail("recognition gave no answer");
    std::printf("%s\n", toUtf8(name).c_str());
    if (!scores)
        return 0;
    text ranking;
    if (!fetchText(
            [&](sc_char* b, uint32_t n) {
                return ctx.lib.StrokecastRankGestures(values.data(), 0xFFFFFFFFu, b, n);
            },
            ranking))
        return fail("ranking gave no answer");
    for (const text& line : split(ranking, '\n'))
        std::printf("  %s\n", toUtf8(line).c_str());
    return 0;
}

// Every gesture's stored track recognised against the whole set. A track named after another gesture
// is confused: drawing that gesture exactly as stored would run the other's action. Other gestures the
// track also scores above the acceptance bar against are close calls, listed but not failing.
int lint(Context& ctx) {
    text names;
    if (!fetchText([&](sc_char* b, uint32_t n) { return ctx.lib.GetAllGestures(b, n); }, names))
        return fail("cannot read the gesture names");
    int confused = 0;
    int close = 0;
    std::size_t count = 0;
    for (std::size_t start = 0; start < names.size();) {
        std::size_t end = names.find(static_cast<sc_char>(','), start);
        if (end == text::npos)
            end = names.size();
        const text name = names.substr(start, end - start);
        start = end + 1;
        ++count;
        std::vector<uint16_t> track;
        for (uint32_t capacity = 1024; capacity <= (1u << 26) && track.empty(); capacity *= 4) {
            std::vector<uint16_t> values(capacity);
            if (ctx.lib.GetGestureTrack(name.c_str(), values.data(), capacity) == 1)
                track = std::move(values);
        }
        text ranking;
        if (track.empty() || !fetchText(
                                 [&](sc_char* b, uint32_t n) {
                                     return ctx.lib.StrokecastRankGestures(track.data(), 0xFFFFFFFFu, b, n);
                                 },
                                 ranking))
            continue;
        bool head = true;
        for (const text& line : split(ranking, '\n')) {
            const std::size_t comma = line.rfind(static_cast<sc_char>(','));
            const text other = line.substr(0, comma);
            const std::string score = toUtf8(line.substr(comma + 1));
            const bool accepted = std::strtod(score.c_str(), nullptr) > STROKECAST_ACCEPT_SCORE;
            const bool first = std::exchange(head, false);
            if (other == name || !accepted)
                continue;
            std::printf("%s\t%s\t%s\t%s\n", first ? "confused" : "close", toUtf8(name).c_str(),
                        toUtf8(other).c_str(), score.c_str());
            ++(first ? confused : close);
        }
    }
    std::printf("lint: %zu gestures, %d confused, %d close\n", count, confused, close);
    return confused != 0 ? 1 : 0;
}

int run(Context& ctx, const std::string& command, const Args& args) {
    if (command == "gestures") {
        if (!args.empty())
            return fail("usage: gestures");
        return listGestures(ctx);
    }
    if (command == "track") {
        if (args.size() != 1)
            return fail("usage: track NAME");
        return showTrack(ctx, args[0]);
    }
    if (command == "add") {
        const bool force = !args.empty() && args[0] == "--force";
        if (args.size() != (force ? 3u : 2u))
            return fail("usage: add [--force] NAME POINTS");
        return addGesture(ctx, args[force ? 1 : 0], args[force ? 2 : 1], force);
    }
    if (command == "lint")
        return args.empty() ? lint(ctx) : fail("usage: lint");
    const bool scores = !args.empty() && args[0] == "--scores";
    if (args.size() != (scores ? 2u : 1u))
        return fail("usage: recognize [--scores] POINTS");
    return recognizeStroke(ctx, args[scores ? 1 : 0], scores);
}

} // namespace

int gestureCommand(Context& ctx, const std::string& command, const Args& args) {
    if (command != "gestures" && command != "track" && command != "add" && command != "recognize" &&
        command != "lint")
        return -1;
    ctx.openGestures();
    const int status = run(ctx, command, args);
    ctx.lib.CloseGestureManager();
    std::fflush(stdout);
    return status;
}

} // namespace host
