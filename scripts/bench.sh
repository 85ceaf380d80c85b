#!/usr/bin/env bash
# Builds and runs the gesture benchmark natively and, when the Windows toolchain and Wine are there,
# the Windows build under Wine; writes the figures with the machine they ran on to docs/performance.md.
# Figures are wall-clock medians: run it on a quiet machine (the load average is recorded with them).
# Each table keeps the figures of the document it replaces in a last column, so a change shows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
out=docs/performance.md
mkdir -p docs
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$out" "$tmp/previous.md" 2>/dev/null || true
cold_runs=7

# Opens a manager on 10,000 templates once in each of $cold_runs fresh processes ("$@" runs the
# benchmark) and prints the table rows of the medians: wall time, processor time, resident memory.
cold_opens() {
    "$@" --write-templates cold-open-templates >/dev/null
    local i
    for ((i = 0; i < cold_runs; i++)); do
        "$@" --cold-open cold-open-templates | tr -d '\r'
    done >"$tmp/cold.txt"
    rm -rf cold-open-templates
    local median=$((cold_runs / 2 + 1))
    local wall processor resident
    wall=$(cut -d' ' -f1 "$tmp/cold.txt" | sort -g | sed -n "${median}p")
    processor=$(cut -d' ' -f2 "$tmp/cold.txt" | sort -g | sed -n "${median}p")
    resident=$(cut -d' ' -f3 "$tmp/cold.txt" | sort -g | sed -n "${median}p")
    echo "| opening a manager on 10,000 templates, the first time in a fresh process (median of $cold_runs processes) | $wall ms |"
    echo "| the same, processor time of all its threads | $processor ms |"
    echo "| resident memory per 1,000 templates after that opening | $resident KB |"
    local thread
    thread=$(for ((i = 0; i < cold_runs; i++)); do "$@" --first-thread | tr -d '\r'; done | sort -g |
        sed -n "${median}p")
    echo "| of that, a fresh process's first thread (paid once, whatever the thread runs), per 1,000 | $(awk "BEGIN { printf \"%.0f\", $thread / 10 }") KB |"
    echo "| resident memory per 1,000 templates, less that one-time cost | $(awk "BEGIN { printf \"%.0f\", $resident - $thread / 10 }") KB |"
}

echo "=== native: build"
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs" --target gesture_bench >/dev/null
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "=== native: run"
build/native/bin/gesture_bench | tee "$tmp/native.md"
(cd "$tmp" && cold_opens "$root/build/native/bin/gesture_bench") | tee -a "$tmp/native.md"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
python3 scripts/bench_compare.py "$tmp/previous.md" "Native build (Linux, RelWithDebInfo)" "$tmp/native.md"

windows=no
if command -v x86_64-w64-mingw32-g++ >/dev/null && { command -v wine64 || [ -x /usr/lib/wine/wine64 ]; } >/dev/null; then
    echo "=== windows: build"
    if cmake --preset windows >/dev/null && cmake --build build/windows -j"$jobs" --target gesture_bench >/dev/null; then
        echo "=== windows: run under Wine"
        # shellcheck source=wine-session.sh
        source scripts/wine-session.sh
        wine_session_start
        if (cd build/windows/bin && STROKECAST_WINE_TIMEOUT=600 "$root/scripts/wine-exec" ./gesture_bench.exe) \
            | tr -d '\r' | tee "$tmp/windows.md" &&
            (cd build/windows/bin && cold_opens "$root/scripts/wine-exec" ./gesture_bench.exe) | tee -a "$tmp/windows.md"; then
            windows=yes
            python3 scripts/bench_compare.py "$tmp/previous.md" "Windows build (MinGW-w64, RelWithDebInfo) under Wine" \
                "$tmp/windows.md"
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
    if [ -s "$tmp/previous.md" ]; then
        echo "The last column of each table is the document this one replaced: written$(grep -m1 -o ' on [0-9-]* [0-9:]* UTC' "$tmp/previous.md" || true);"
        echo "$(grep -m1 '^Load average' "$tmp/previous.md" | sed 's/^Load/load/' || true)"
    fi
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
    echo "- Direction angles come from the engine's own single-precision arctangent (the float nearest the"
    echo "  true angle, as the Windows C library gives it), so both builds compute the same scores; under Wine"
    echo "  the library's atan2f took about 60 ns a call, most of a recognition against few templates."
    echo "- Opening is dominated by fresh memory on this virtual machine (about 10 µs per 4 KB page fault): the"
    echo "  first opening in a process pays for the templates and the angle cache (the file itself passes through"
    echo "  one reused 64 KB buffer, and templates keep their points packed, about two bytes a point); later"
    echo "  openings reuse freed memory. One thread reads the file (two, allocating at once, were slower under"
    echo "  Wine); building the angle cache uses a second thread, so opening times rise with the machine's load"
    echo "  more than recognition times do."
    echo "- Resident memory is the growth of the resident set (Linux, after malloc_trim) or of the working set"
    echo "  (Windows) over opening a 10,000-template manager, divided by ten. A fresh process also pays once for"
    echo "  its first thread (under Wine about a megabyte, whatever the thread does); \`gesture_bench"
    echo "  --first-thread\` measures that apart, and the last row takes it off."
    echo "- The first opening in a fresh process is the figure a user meets: \`gesture_bench --cold-open\` opens"
    echo "  once in a process that has freed no memory yet, and the script runs it in $cold_runs new processes. Its"
    echo "  processor time (both threads) shows the work apart from the machine's load."
    echo "- From the stroke timer firing to the action's key input (native, fake platform): the capturer's"
    echo "  timer handler ends the stroke, recognises it under the exports' gesture lock, runs the bound key"
    echo "  chord under the action manager's lock and records the injected input; the figure is the time"
    echo "  until that handler returns. Under Wine the same road runs on the real capturer thread: the points"
    echo "  are posted to its window, a message hook notes when the timer's message is taken and the stroke sink"
    echo "  notes when the action has run; most of that time is Wine's SendInput, measured alone beside it."
    echo "- The last column of each table holds the figure of the same row in the document this one replaced."
    echo
} >"$out"
echo "=== wrote $out"
