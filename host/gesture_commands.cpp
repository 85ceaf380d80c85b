// Host commands of the gesture family: list names, show a track, add a gesture, recognise a stroke.
#include <cstdio>

#include "host/commands.h"

namespace host {
namespace {

// Text exports write all or nothing; grow the buffer until the text fits.
template <class Fill> bool fetchText(Fill&& fill, text& out) {
    for (uint32_t capacity = 256; capacity <= (1u << 26); capacity *= 4) {
        text buffer(capacity, 0);
        const int32_t written = fill(buffer.data(), capacity);
        if (written > 0) {
            out.assign(buffer.data(), static_cast<std::size_t>(written - 1));
            return true;
        }
    }
    return false;
}

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

int addGesture(Context& ctx, const std::string& name, const std::string& pointSpec) {
    std::vector<uint16_t> values;
    std::string error;
    if (!parsePoints(pointSpec, values, error))
        return fail(error);
    const text wname = fromUtf8(name);
    if (ctx.lib.AddOneGesture(wname.c_str(), values.data()) != 1)
        return fail(
            "gesture '" + name +
            "' not added: the name is reserved, empty or holds a comma, fewer than two points lie more "
            "than 2 pixels apart, or the user file cannot be written");
    std::printf("%s\n", name.c_str());
    return 0;
}

int recognizeStroke(Context& ctx, const std::string& pointSpec) {
    std::vector<uint16_t> values;
    std::string error;
    if (!parsePoints(pointSpec, values, error))
        return fail(error);
    text name;
    if (!fetchText([&](sc_char* b, uint32_t n) { return ctx.lib.recognizeGesture(values.data(), b, n); },
                   name))
        return fail("recognition gave no answer");
    std::printf("%s\n", toUtf8(name).c_str());
    return 0;
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
        if (args.size() != 2)
            return fail("usage: add NAME POINTS");
        return addGesture(ctx, args[0], args[1]);
    }
    if (args.size() != 1)
        return fail("usage: recognize POINTS");
    return recognizeStroke(ctx, args[0]);
}

} // namespace

int gestureCommand(Context& ctx, const std::string& command, const Args& args) {
    if (command != "gestures" && command != "track" && command != "add" && command != "recognize")
        return -1;
    ctx.openGestures();
    const int status = run(ctx, command, args);
    ctx.lib.CloseGestureManager();
    std::fflush(stdout);
    return status;
}

} // namespace host
