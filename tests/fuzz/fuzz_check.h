// How a fuzz target reports a broken promise: one line naming the target and the promise, then an abort,
// which libFuzzer keeps as a crash together with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

// The target's name is its source file's, taken from the call site.
[[noreturn]] inline void fail(const char* what, const char* file = __builtin_FILE()) {
    std::string_view name(file);
    name.remove_prefix(name.find_last_of("/\\") + 1);
    name = name.substr(0, name.rfind('.'));
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(name.size()), name.data(), what);
    std::abort();
}

inline void check(bool ok, const char* what, const char* file = __builtin_FILE()) {
    if (!ok)
        fail(what, file);
}

} // namespace fuzz
