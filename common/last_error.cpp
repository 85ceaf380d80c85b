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

} // namespace sc::last_error
