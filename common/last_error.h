// The calling thread's most recent failure, as one line a person can act on.
#pragma once

#include <string>
#include <string_view>

namespace sc::last_error {

// Replaces the thread's recorded failure. Success never clears it: a host asks only after a call
// reported failure, and by then the cause is the latest one recorded.
void set(std::u16string_view text) noexcept;
// The thread's recorded failure; empty when none was recorded.
std::u16string get();
// Records "<what> <subject>: <reason> (error <code>)", the one form every failure line takes.
void setFailure(std::u16string_view what, std::u16string_view subject, std::u16string_view reason,
                std::u16string_view code);
// Forgets the thread's failure (for tests that look at one call's cause).
void clear() noexcept;

} // namespace sc::last_error
