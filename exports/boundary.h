// What every export shares: the C header, the exception guard and argument conversion.
#pragma once

#define STROKECAST_BUILDING 1
#include "strokecast.h"

#include <exception>
#include <string>

#include "common/console.h"

namespace sc {

static_assert(sizeof(sc_char) == sizeof(char16_t));

// Runs an export's body; nothing thrown gets past the C boundary, the export's neutral answer does.
template <class R, class Body> R guarded(R fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        try {
            trace::line(u"export failed: ", e.what());
        } catch (...) {
        }
    } catch (...) {
    }
    return fallback;
}

template <class Body> void guardedVoid(Body&& body) noexcept {
    guarded(0, [&] {
        body();
        return 0;
    });
}

// Runs f(object) on a process-wide object under the guard: `fallback` while the object is closed or when
// anything throws.
template <class Object, class F>
int32_t guardedWith(const Object& instance, int32_t fallback, F&& f) noexcept {
    return guarded<int32_t>(fallback, [&] { return instance.template with<int32_t>(fallback, f); });
}

// A caller's zero-terminated string as the core's UTF-16 text. The pointer must not be null.
inline std::u16string text(const sc_char* s) {
    std::u16string out;
    for (; *s != 0; ++s)
        out += static_cast<char16_t>(*s);
    return out;
}

} // namespace sc
