// Console output: one locked write per line so lines from several threads never interleave.
#include "common/console.h"

#include <cstdio>
#include <string>

#include "common/utf16.h"

namespace sc::console {

void line(std::string_view text) {
    std::string out(text);
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

void line(std::u16string_view text) { line(std::string_view(utf16::toUtf8(text))); }

}  // namespace sc::console
