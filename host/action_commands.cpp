// Host commands of the action family: bind, switch, list and run gestures' actions, custom actions,
// and removing a user gesture together with its binding.
#include <cstdio>

#include "host/commands.h"

namespace host {
namespace {

constexpr const char* kGlobal = "GLOBAL";

// The action bound to a gesture, or the engine's "__NULLACTION_FOUND__".
std::string actionOf(Context& ctx, const text& gesture) {
    for (uint32_t capacity = 64; capacity <= (1u << 20); capacity *= 4) {
        text buffer(capacity, 0);
        const int32_t written = ctx.lib.GetActionOfGesture(gesture.c_str(), buffer.data(), capacity);
        if (written > 0)
            return toUtf8(buffer.substr(0, static_cast<std::size_t>(written - 1)));
    }
    return "?";
}

// Every gesture name the gesture manager knows, in its order.
std::vector<text> gestureNames(Context& ctx) {
    std::vector<text> names;
    for (uint32_t capacity = 1024; capacity <= (1u << 26); capacity *= 4) {
        text buffer(capacity, 0);
        const int32_t written = ctx.lib.GetAllGestures(buffer.data(), capacity);
        if (written <= 0)
            continue;
        names = split(buffer.substr(0, static_cast<std::size_t>(written - 1)), ',');
        break;
    }
    return names;
}

int bind(Context& ctx, const std::string& gesture, const std::string& action) {
    ctx.openActions();
    const int ok = ctx.lib.SetGestureToAction(fromUtf8(gesture).c_str(), fromUtf8(action).c_str());
    ctx.lib.CloseActionNanager();
    if (ok != 1)
        return failWithCause(ctx, "'" + gesture +
                                      "' not bound: a name is empty or holds a comma or line feed, or the " +
                                      "configuration files cannot be written");
    std::printf(action == "NULL" ? "%s unbound\n" : "%s -> %s\n", gesture.c_str(), action.c_str());
    return 0;
}

int setSwitch(Context& ctx, const std::string& gesture, const std::string& state) {
    if (state != "on" && state != "off")
        return fail("usage: switch GESTURE on|off");
    ctx.openActions();
    const int ok = ctx.lib.SetGestureSwitch(fromUtf8(gesture).c_str(), state == "on" ? 1 : 0);
    ctx.lib.CloseActionNanager();
    if (ok != 1)
        return failWithCause(ctx, "switch of '" + gesture + "' not stored");
    std::printf("%s %s\n", gesture.c_str(), state.c_str());
    return 0;
}

int listActions(Context& ctx) {
    ctx.openGestures();
    ctx.openActions();
    const text global = fromUtf8(kGlobal);
    // "GLOBAL" on stops every gesture action; each gesture runs only while its own switch is on.
    std::printf("%s\t%s\n", kGlobal,
                ctx.lib.GetGestureSwitch(global.c_str()) == 1 ? "on (no action runs)" : "off");
    for (const text& name : gestureNames(ctx)) {
        const std::string action = actionOf(ctx, name);
        std::printf("%s\t%s\t%s\n", toUtf8(name).c_str(),
                    action == "__NULLACTION_FOUND__" ? "-" : action.c_str(),
                    ctx.lib.GetGestureSwitch(name.c_str()) == 1 ? "on" : "off");
    }
    ctx.lib.CloseActionNanager();
    ctx.lib.CloseGestureManager();
    return 0;
}

// The vocabulary a gesture may be bound to: built-in names, then custom action keys.
int listAvailable(Context& ctx) {
    ctx.openActions();
    text all;
    const bool ok =
        fetchText([&](sc_char* b, uint32_t n) { return ctx.lib.StrokecastListActions(b, n); }, all);
    ctx.lib.CloseActionNanager();
    if (!ok)
        return failWithCause(ctx, "cannot read the action names");
    for (const text& line : split(all, '\n'))
        std::printf("%s\n", toUtf8(line).c_str());
    return 0;
}

int run(Context& ctx, const std::string& gesture) {
    ctx.openActions();
    const text name = fromUtf8(gesture);
    const std::string action = actionOf(ctx, name);
    const int32_t status = ctx.lib.StrokecastExecuteActionEx(name.c_str());
    ctx.lib.CloseActionNanager();
    if (status != STROKECAST_ACTION_RAN) {
        const std::string message =
            "'" + gesture + "' (bound to " + action + "): " + actionStatusWords(status);
        return status == STROKECAST_ACTION_REFUSED || status == STROKECAST_ACTION_FAILED
                   ? failWithCause(ctx, message)
                   : fail(message);
    }
    std::printf("%s ran %s\n", gesture.c_str(), action.c_str());
    return 0;
}

int custom(Context& ctx, const Args& args) {
    if (args.size() == 3 && args[0] == "add") {
        ctx.openActions();
        const int ok = ctx.lib.AddCustomAction(fromUtf8(args[1]).c_str(), fromUtf8(args[2]).c_str());
        ctx.lib.CloseActionNanager();
        if (ok != 1)
            return failWithCause(
                ctx, "custom action not stored: the key is empty, a text holds '|' or a line feed, or the " +
                         std::string("file cannot be written"));
        std::printf("%s = %s\n", args[1].c_str(), args[2].c_str());
        return 0;
    }
    if (args.size() == 2 && args[0] == "remove") {
        ctx.openActions();
        const int ok = ctx.lib.RemoveOneCustomAction(fromUtf8(args[1]).c_str());
        ctx.lib.CloseActionNanager();
        if (ok != 1)
            return failWithCause(
                ctx, "'" + args[1] +
                         "' not removed: a gesture is still bound to it, or the file cannot be written");
        std::printf("%s removed\n", args[1].c_str());
        return 0;
    }
    return fail("usage: custom add KEY VALUE | custom remove KEY");
}

int removeGesture(Context& ctx, const std::string& gesture) {
    ctx.openGestures();
    ctx.openActions();
    const int ok = ctx.lib.RemoveOneGesture(fromUtf8(gesture).c_str());
    ctx.lib.CloseActionNanager();
    ctx.lib.CloseGestureManager();
    if (ok != 1)
        return failWithCause(ctx, "'" + gesture +
                                      "' not removed: it has no user template, or a file cannot be written");
    std::printf("%s removed\n", gesture.c_str());
    return 0;
}

// export and import: the whole configuration (both folders) as one settings file.
int transfer(Context& ctx, const std::string& command, const std::string& file) {
    ctx.openGestures();
    ctx.openActions();
    const text path = fromUtf8(file);
    const bool exporting = command == "export";
    const int ok = exporting ? ctx.lib.StrokecastExportSettings(path.c_str())
                             : ctx.lib.StrokecastImportSettings(path.c_str());
    ctx.lib.CloseActionNanager();
    ctx.lib.CloseGestureManager();
    if (ok != 1)
        return failWithCause(ctx,
                             exporting ? "settings not exported" : "settings not imported, nothing changed");
    std::printf(exporting ? "exported to %s\n" : "imported %s\n", file.c_str());
    return 0;
}

} // namespace

int actionCommand(Context& ctx, const std::string& command, const Args& args) {
    if (command == "bind")
        return args.size() == 2 ? bind(ctx, args[0], args[1]) : fail("usage: bind GESTURE ACTION");
    if (command == "switch")
        return args.size() == 2 ? setSwitch(ctx, args[0], args[1]) : fail("usage: switch GESTURE on|off");
    if (command == "actions") {
        if (args.size() == 1 && args[0] == "--available")
            return listAvailable(ctx);
        return args.empty() ? listActions(ctx) : fail("usage: actions [--available]");
    }
    if (command == "run")
        return args.size() == 1 ? run(ctx, args[0]) : fail("usage: run GESTURE");
    if (command == "custom")
        return custom(ctx, args);
    if (command == "remove")
        return args.size() == 1 ? removeGesture(ctx, args[0]) : fail("usage: remove GESTURE");
    if (command == "export" || command == "import")
        return args.size() == 1 ? transfer(ctx, command, args[0]) : fail("usage: " + command + " FILE");
    return -1;
}

} // namespace host
