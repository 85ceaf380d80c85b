// Faults already known in the engine that a fuzz target can be told to steer around, so that a short
// run stays a check for new findings. STROKECAST_FUZZ_KNOWN lists their letters, e.g. "abe"; unset, every
// input is checked strictly. Each target consults this only where an input would reach such a fault.
#pragma once

#include <cstdlib>
#include <cstring>

namespace scfuzz {

// a: a file whose last line lacks its line feed swallows the next appended record.
// b: a call that reports 0 after a failed write still changes what is stored.
// c: a one-unit gesture name without points is lost when the file is rewritten.
// d: unbinding or removing a gesture named "GLOBAL" erases the global switch.
// e: a leading byte-order mark stays in the first name of a file.
// g: a file of odd length (a stray byte at its end) shifts every appended record by one byte.
inline bool knownFault(char letter) {
    static const char* const known = [] {
        const char* value = std::getenv("STROKECAST_FUZZ_KNOWN");
        return value != nullptr ? value : "";
    }();
    return std::strchr(known, letter) != nullptr;
}

} // namespace scfuzz
