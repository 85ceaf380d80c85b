// The host's view of the engine: the library loaded at run time and every listed export looked up by name.
#pragma once

#include <string>

#include "strokecast.h"

namespace host {

using text = std::basic_string<sc_char>;

struct Library {
#define STROKECAST_MEMBER(result, name, parameters) StrokecastFn_##name name = nullptr;
    STROKECAST_EXPORT_LIST(STROKECAST_MEMBER)
#undef STROKECAST_MEMBER
    std::string path; // the file loaded
};

// Loads the library beside the host executable (or at `path` when given); false with a message if
// the file or one of its functions is missing.
bool loadLibrary(Library& lib, const std::string& path, std::string& error);

// Conversions between the command line's UTF-8 and the library's UTF-16.
text fromUtf8(const std::string& s);
std::string toUtf8(const sc_char* s);
std::string toUtf8(const text& s);

// The per-user folder used when no option names one: %APPDATA%\Strokecast or $XDG_CONFIG_HOME/strokecast.
std::string defaultUserFolder();
// The shipped default template file: beside the executable, or in the source tree's data folder.
std::string defaultTemplateFile();
// Folder of the running executable, with a trailing separator.
std::string exeFolder();

} // namespace host
