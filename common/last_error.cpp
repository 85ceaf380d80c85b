// Thread-local storage of the last failure.
#include "common/last_error.h"

namespace sc::last_error {
namespace {

thread_local std::u16string current;

} // namespace

void set(std::u16string_view text) noexcept {
    try {
        current.assign(text);
    } catch (...) { // out of memory: the older cause stays, which beats none
    }
}

std::u16string get() {
    return current;
}

void clear() noexcept {
    current.clear();
}

void setFailure(std::u16string_view what, std::u16string_view subject, std::u16string_view reason,
                std::u16string_view code) {
    std::u16string line(what);
    line += u' ';
    line += subject;
    line += u": ";
    line += reason;
    line += u" (error ";
    line += code;
    line += u')';
    set(line);
}

} // namespace sc::last_error
