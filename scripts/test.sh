#!/usr/bin/env bash
# Builds both builds and runs every test: native, native under ASan+UBSan and under ThreadSanitizer, a short
# run of every fuzz target, and Windows under Wine.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1
jobs=$(nproc)
logs=$(mktemp -d)

passed=0
failed=0
run_suite() {  # name, preset
    local name=$1 preset=$2
    echo "=== $name: build"
    if ! { cmake --preset "$preset" && cmake --build "build/$preset" -j"$jobs"; } >"$logs/$name.build" 2>&1; then
        tail -n 60 "$logs/$name.build"
        echo "=== $name: build failed"
        failed=$((failed + 1))
        return
    fi
    echo "=== $name: test"
    (cd "build/$preset" && ctest --output-on-failure -j"$jobs") | tee "$logs/$name.test"
    local summary total bad
    summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$logs/$name.test" | tail -n 1)
    if [ -z "$summary" ]; then
        echo "=== $name: ctest gave no summary"
        failed=$((failed + 1))
        return
    fi
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

run_suite native native
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_suite sanitizers native-asan
# The whole native suite: besides the tests that start threads themselves, the capturer, the overlay
# broker and opening large template sets start threads inside the engine.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_suite threads native-tsan

# Replays each fuzz target's seed corpus and fuzzes it for a few seconds; each target counts as one test.
echo "=== fuzz: build, replay seeds, fuzz"
bash scripts/fuzz.sh "${STROKECAST_FUZZ_SECONDS:-5}" | tee "$logs/fuzz"
fuzz_summary=$(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed' "$logs/fuzz" | tail -n 1)
if [ -z "$fuzz_summary" ]; then
    echo "=== fuzz: no summary"
    failed=$((failed + 1))
else
    passed=$((passed + $(sed -E 's/^fuzz: ([0-9]+) passed.*/\1/' <<<"$fuzz_summary")))
    failed=$((failed + $(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$fuzz_summary")))
fi

# shellcheck source=wine-session.sh
source scripts/wine-session.sh
wine_session_start
run_suite windows windows

rm -rf "$logs"
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
