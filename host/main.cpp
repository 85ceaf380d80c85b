// strokecast-host: a reference host that drives the engine library through its exported functions.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/commands.h"

namespace host {

int fail(const std::string& message) {
    std::fprintf(stderr, "strokecast-host: %s\n", message.c_str());
    return 1;
}

int failWithCause(Context& ctx, const std::string& message) {
    text cause;
    if (fetchText([&](sc_char* b, uint32_t n) { return ctx.lib.StrokecastLastError(b, n); }, cause) &&
        !cause.empty())
        return fail(message + ": " + toUtf8(cause));
    return fail(message);
}

std::vector<text> split(const text& all, char separator) {
    std::vector<text> parts;
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find(static_cast<sc_char>(separator), start);
        if (end == text::npos)
            end = all.size();
        parts.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

const char* actionStatusWords(int32_t status) {
    switch (status) {
    case STROKECAST_ACTION_RAN:
        return "ran";
    case STROKECAST_ACTION_ALL_OFF:
        return "not run: the GLOBAL switch is on";
    case STROKECAST_ACTION_SWITCHED_OFF:
        return "not run: the gesture is switched off";
    case STROKECAST_ACTION_NOT_BOUND:
        return "not run: no action is bound";
    case STROKECAST_ACTION_UNKNOWN:
        return "not run: the bound action is unknown";
    case STROKECAST_ACTION_REFUSED:
        return "refused by the system";
    case STROKECAST_ACTION_GUARDED:
        return "not run: the stroke scored below the action's guard";
    case STROKECAST_ACTION_RECORDING:
        return "recorded only";
    default:
        return "failed";
    }
}

// The engine's console lines: to stderr with --verbose, dropped otherwise, so stdout stays parseable.
static void STROKECAST_CALL engineLine(const sc_char* line, void* context) {
    if (context != nullptr)
        std::fprintf(stderr, "engine: %s\n", toUtf8(line).c_str());
}

void Context::openGestures() {
    lib.OpenGestureManager(fromUtf8(templateFile).c_str(), fromUtf8(userFolder).c_str());
}

void Context::openActions() {
    lib.OpenActionManager(fromUtf8(configFolder).c_str());
}

bool parsePoints(const std::string& spec, std::vector<uint16_t>& values, std::string& error) {
    std::string textual = spec;
    if (!spec.empty() && spec[0] == '@') {
        std::ifstream in(spec.substr(1));
        if (!in) {
            error = "cannot read point file " + spec.substr(1);
            return false;
        }
        std::stringstream all;
        all << in.rdbuf();
        textual = all.str();
    }
    std::istringstream in(textual);
    std::string pair;
    values.clear();
    while (in >> pair) {
        long x = 0, y = 0;
        char comma = 0, extra = 0;
        std::istringstream p(pair);
        if (!(p >> x >> comma >> y) || comma != ',' || (p >> extra) || x < 1 || x > 65535 || y < 0 ||
            y > 65535) {
            error = "bad point '" + pair + "' (expected x,y with x in 1..65535 and y in 0..65535)";
            return false;
        }
        values.push_back(static_cast<uint16_t>(x));
        values.push_back(static_cast<uint16_t>(y));
    }
    values.push_back(0);
    return true;
}

// The host's own version, then the loaded library's as it reports it; 1 when the library cannot be loaded.
static int printVersion(const std::string& libraryPath) {
    std::printf("strokecast-host %s\n", STROKECAST_VERSION_STRING);
    Library lib;
    std::string error;
    if (!loadLibrary(lib, libraryPath, error))
        return fail(error);
    const uint32_t v = lib.StrokecastVersion();
    std::printf("library %u.%u.%u (%s)\n", static_cast<unsigned>(v >> 16),
                static_cast<unsigned>((v >> 8) & 0xFF), static_cast<unsigned>(v & 0xFF), lib.path.c_str());
    return 0;
}

static void usage(const Context& ctx) {
    std::printf(
        "usage: %s [--library FILE] [--templates FILE] [--user-folder DIR] [--config DIR] [--verbose] "
        "COMMAND ...\n"
        "       %s --version | --help\n"
        "gestures:  gestures | track NAME | add [--force] NAME POINTS | recognize [--scores] POINTS\n"
        "           remove GESTURE | lint\n"
        "actions:   bind GESTURE ACTION | switch GESTURE on|off | actions [--available] | run GESTURE\n"
        "           custom add KEY VALUE | custom remove KEY\n"
        "settings:  export FILE | import FILE\n"
        "apps:      apps | icon LOGO COLOR OUT.bmp | file-icon PATH OUT.bmp\n"
        "capture:   resident [--hotkey KEY] [--charm-bar] [--echo-actions] [--record] | replay STROKE\n"
        "POINTS is \"x,y x,y ...\" or @file. add refuses a gesture confused with another unless --force;\n"
        "import replaces all user gestures, bindings, switches and custom actions, or changes nothing.\n"
        "lint lists every pair of gestures whose tracks are confused and exits 1 when there is one.\n"
        "Matching follows the direction of the path from its first point: a circle is recognised only\n"
        "when drawn from the same starting point (the default circle starts at the top).\n"
        "--verbose sends the engine's console lines to stderr; without it they are dropped.\n",
        ctx.program.c_str(), ctx.program.c_str());
}

} // namespace host

static int run(int argc, char** argv) {
    using namespace host;
    Context ctx;
    ctx.program = argc > 0 ? argv[0] : "strokecast-host";
    std::string libraryPath;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc)
                return false;
            target = argv[++i];
            return true;
        };
        if (arg == "--library") {
            if (!value(libraryPath))
                return fail("--library needs a file");
        } else if (arg == "--templates") {
            if (!value(ctx.templateFile))
                return fail("--templates needs a file");
        } else if (arg == "--user-folder") {
            if (!value(ctx.userFolder))
                return fail("--user-folder needs a folder");
        } else if (arg == "--config") {
            if (!value(ctx.configFolder))
                return fail("--config needs a folder");
        } else if (arg == "--verbose") {
            ctx.verbose = true;
        } else if (arg == "--help" || arg == "-h") {
            usage(ctx);
            return 0;
        } else if (arg == "--version") {
            return printVersion(libraryPath);
        } else {
            break;
        }
    }
    if (i >= argc) {
        usage(ctx);
        return 2;
    }
    if (ctx.templateFile.empty())
        ctx.templateFile = defaultTemplateFile();
    if (ctx.userFolder.empty())
        ctx.userFolder = defaultUserFolder();
    if (ctx.configFolder.empty())
        ctx.configFolder = ctx.userFolder;

    std::string error;
    if (!loadLibrary(ctx.lib, libraryPath, error))
        return fail(error);
    ctx.lib.StrokecastSetLogSink(engineLine, ctx.verbose ? &ctx : nullptr);

    const std::string command = argv[i];
    const Args args(argv + i + 1, argv + argc);
    for (auto family : {gestureCommand, actionCommand, appsCommand, captureCommand}) {
        const int status = family(ctx, command, args);
        if (status >= 0)
            return status;
    }
    return fail("unknown command '" + command + "' (try --help)");
}

#ifdef _WIN32
#include <windows.h>

#include "common/utf16.h"

// Wide arguments become UTF-8 so every family parses one kind of text.
int wmain(int argc, wchar_t** wargv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> storage;
    std::vector<char*> argv;
    for (int i = 0; i < argc; ++i)
        storage.push_back(sc::utf16::toUtf8(std::u16string(wargv[i], wargv[i] + wcslen(wargv[i]))));
    for (auto& s : storage)
        argv.push_back(s.data());
    return run(argc, argv.data());
}
#else
int main(int argc, char** argv) {
    return run(argc, argv);
}
#endif
