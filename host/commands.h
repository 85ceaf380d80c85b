// The host's commands, one source per family; main.cpp parses the options and asks each family in turn.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "host/library.h"

namespace host {

struct Context {
    Library lib;
    std::string templateFile;  // --templates
    std::string userFolder;    // --user-folder: holds MyGesture.configure
    std::string configFolder;  // --config: holds the action and custom action files
    std::string program;       // argv[0], for the usage text

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

// One line on stderr; returns the failing exit status so a command can `return fail(...)`.
int fail(const std::string& message);

// Points as x,y pairs separated by blanks ("10,20 30,40"), or "@file" holding the same text; false
// with a message on a malformed point or a coordinate outside 1..65535.
bool parsePoints(const std::string& spec, std::vector<uint16_t>& values, std::string& error);

}  // namespace host
