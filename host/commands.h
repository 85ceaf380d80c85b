// The host's commands, one source per family; main.cpp parses the options and asks each family in turn.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "host/library.h"

namespace host {

struct Context {
    Library lib;
    std::string templateFile; // --templates
    std::string userFolder;   // --user-folder: holds MyGesture.configure
    std::string configFolder; // --config: holds the action and custom action files
    std::string program;      // argv[0], for the usage text
    bool verbose = false;     // --verbose: the engine's console lines go to stderr

    // Open the engine's objects on the chosen files; each is closed again by main before it returns.
    void openGestures();
    void openActions();
};

using Args = std::vector<std::string>;

// Each returns -1 when the command is not its own, else the process exit status.
int gestureCommand(Context& ctx, const std::string& command, const Args& args);
int actionCommand(Context& ctx, const std::string& command, const Args& args);
int appsCommand(Context& ctx, const std::string& command, const Args& args);
int captureCommand(Context& ctx, const std::string& command, const Args& args);

// One command of a family: its name and what runs it.
struct Command {
    const char* name;
    int (*run)(Context& ctx, const Args& args);
};
// Runs the command of that name; -1 when the family has none.
template <std::size_t N>
int runCommand(const Command (&commands)[N], Context& ctx, const std::string& name, const Args& args) {
    for (const Command& command : commands)
        if (name == command.name)
            return command.run(ctx, args);
    return -1;
}

// One line on stderr; returns the failing exit status so a command can `return fail(...)`.
int fail(const std::string& message);
// The same, with the engine's own account of the calling thread's last failure appended when it has one.
int failWithCause(Context& ctx, const std::string& message);

// Text exports write all or nothing; grows the buffer until the text fits. false when it never does.
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

// The parts of a text joined by the separator: its lines for a line feed (none for the empty text).
std::vector<text> split(const text& all, char separator);

// A STROKECAST_ACTION_* code in words.
const char* actionStatusWords(int32_t status);

// Points as x,y pairs separated by blanks ("10,20 30,40"), or "@file" holding the same text; false
// with a message on a malformed point or a coordinate outside 1..65535.
bool parsePoints(const std::string& spec, std::vector<uint16_t>& values, std::string& error);

} // namespace host
