// Console output: one locked write per line so lines from several threads never interleave.
#include "common/console.h"

#include <cstdio>
#include <string>

#include "common/callback_slot.h"
#include "common/utf16.h"

namespace sc::console {
namespace {

CallbackSlot<Sink>& sinkSlot() {
    static CallbackSlot<Sink> slot;
    return slot;
}

void write(std::string_view text) {
    std::string out(text);
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

} // namespace

void line(std::string_view text) {
    if (sinkSlot().isSet()) {
        line(std::u16string_view(utf16::fromUtf8(text)));
        return;
    }
    write(text);
}

void line(std::u16string_view text) {
    const std::u16string owned(text);
    if (!sinkSlot().call(owned.c_str()))
        write(utf16::toUtf8(text));
}

void setSink(Sink sink, void* context) {
    sinkSlot().set(sink, context);
}

} // namespace sc::console
