#!/usr/bin/env bash
# Builds and runs the gesture benchmark natively and, when the Windows toolchain and Wine are there,
# the Windows build under Wine; writes the figures with the machine they ran on to docs/performance.md.
# Figures are wall-clock medians: run it on a quiet machine (the load average is recorded with them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
out=docs/performance.md
mkdir -p docs
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

echo "=== native: build"
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs" --target gesture_bench >/dev/null
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "=== native: run"
build/native/bin/gesture_bench | tee "$tmp/native.md"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

windows=no
if command -v x86_64-w64-mingw32-g++ >/dev/null && { command -v wine64 || [ -x /usr/lib/wine/wine64 ]; } >/dev/null; then
    echo "=== windows: build"
    if cmake --preset windows >/dev/null && cmake --build build/windows -j"$jobs" --target gesture_bench >/dev/null; then
        echo "=== windows: run under Wine"
        # shellcheck source=wine-session.sh
        source scripts/wine-session.sh
        wine_session_start
        if (cd build/windows/bin && STROKECAST_WINE_TIMEOUT=600 "$root/scripts/wine-exec" ./gesture_bench.exe) \
            | tr -d '\r' | tee "$tmp/windows.md"; then
            windows=yes
        fi
        load_windows=$(cut -d' ' -f1-3 /proc/loadavg)
    fi
fi

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
{
    echo "# Performance"
    echo
    echo "Written by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'). The benchmark (\`bench/gesture_bench.cpp\`)"
    echo "opens managers on template files drawn from the recorded human strokes of \`shared/data/unistrokes.csv\` (or, where"
    echo "they are absent, the generated corpus of \`tests/gesture/generated_strokes.h\`; the table names which)"
    echo "and recognises recorded strokes against them. \"Straightforward matcher\" is the reference kept in"
    echo "\`tests/gesture/reference_matcher.h\`, which resamples every template for every comparison; both run in the"
    echo "same process, and both give the same answers (checked for every query stroke). Times are medians of"
    echo "several rounds of wall-clock time."
    echo
    echo "Machine: $jobs cores ($cpu), $(uname -sr), $(g++ --version | head -n1)."
    echo "Load average (1, 5, 15 min): $load_before before the native run, $load_after after it."
    echo
    echo "## Native build (Linux, RelWithDebInfo)"
    echo
    cat "$tmp/native.md"
    echo
    if [ "$windows" = yes ]; then
        echo "## Windows build (MinGW-w64, RelWithDebInfo) under Wine"
        echo
        echo "$(x86_64-w64-mingw32-g++ --version | head -n1), $(wine64 --version). Load average after the run: $load_windows."
        echo
        cat "$tmp/windows.md"
        echo
    else
        echo "The Windows build was not run (no MinGW-w64 toolchain or Wine here)."
        echo
    fi
    echo "## Reading the figures"
    echo
    echo "- The engine resamples each template once (when it is loaded or added) and sums eight templates' angle"
    echo "  differences per vector row; the reference resamples the template and the stroke for every comparison."
    echo "  Their probabilities agree bit for bit (tests/gesture/matcher_equivalence_test.cpp)."
    echo "- Opening is dominated by fresh memory on this virtual machine (about 10 µs per 4 KB page fault): the"
    echo "  first opening in a process pays for the file's bytes, the templates and the angle cache; later"
    echo "  openings reuse freed memory. Building the angle cache uses a second thread, so opening times rise"
    echo "  with the machine's load more than recognition times do."
    echo "- Resident memory is the growth of the resident set (Linux, after malloc_trim) or of the working set"
    echo "  (Windows) over opening a 10,000-template manager, divided by ten."
    echo
} >"$out"
echo "=== wrote $out"
