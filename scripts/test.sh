#!/usr/bin/env bash
# Builds both builds and runs every test: native, the documents' checks and examples
# (scripts/check_docs.py), native under ASan+UBSan and under ThreadSanitizer, a short run of every fuzz
# target, Windows under Wine and the screenshots (scripts/screenshots.sh); then the release builds, their
# installed trees, archive and examples (scripts/release.sh).
# Skipped tests are listed by name. Only the tests of the recorded human strokes may skip, and only when
# those strokes are absent (../shared/data/unistrokes.csv); any other skip fails the run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1
jobs=$(nproc)
logs=$(mktemp -d)
optional_data=$root/../shared/data/unistrokes.csv
optional_suite='^(RecordedStrokes)\.'

passed=0
failed=0
skipped=0
skip_bad=0
# name of a skipped test, where it ran
note_skip() {
    local test=$1 suite=$2
    skipped=$((skipped + 1))
    if [ ! -f "$optional_data" ] && [[ $test =~ $optional_suite ]]; then
        echo "=== $suite: skipped $test (optional: no recorded strokes at $optional_data)"
    else
        echo "=== $suite: skipped $test: NOT ALLOWED"
        skip_bad=$((skip_bad + 1))
    fi
}

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
    # Windows test exes hold many tests each: their gtest reports say which of them skipped.
    local reports="$logs/$name.gtest"
    mkdir -p "$reports"
    local gtest_output=""
    [ "$name" = windows ] && gtest_output="xml:$(winepath -w "$reports" 2>/dev/null)\\"
    (cd "build/$preset" && GTEST_OUTPUT="$gtest_output" ctest --output-on-failure -j"$jobs") | tee "$logs/$name.test"
    local summary total bad skip_lines
    summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$logs/$name.test" | tail -n 1)
    if [ -z "$summary" ]; then
        echo "=== $name: ctest gave no summary"
        failed=$((failed + 1))
        return
    fi
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
    # ctest counts its skipped and disabled tests among the passed ones.
    skip_lines=$(sed -nE 's/^ *[0-9]+ - (.*) \((Skipped|Disabled|Not Run)\)$/\1/p' "$logs/$name.test")
    local count=0
    while IFS= read -r t; do
        [ -n "$t" ] || continue
        note_skip "$t" "$name"
        count=$((count + 1))
    done <<<"$skip_lines"
    # Skips inside an exe that ctest saw as passed.
    while IFS= read -r t; do
        [ -n "$t" ] || continue
        note_skip "$t" "$name"
    done < <(python3 - "$reports" <<'PY'
import pathlib, sys, xml.etree.ElementTree as ET
for report in sorted(pathlib.Path(sys.argv[1]).glob("*.xml")):
    try:
        root = ET.parse(report).getroot()
    except ET.ParseError:
        continue
    for case in root.iter("testcase"):
        if case.get("result") == "skipped" or case.find("skipped") is not None:
            print(f"{case.get('classname')}.{case.get('name')}")
PY
    )
    passed=$((passed + total - bad - count))
    failed=$((failed + bad))
}

# Every C and C++ file of the tree as .clang-format lays it out.
echo "=== format: check"
if git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format --dry-run --Werror 2>"$logs/format"; then
    passed=$((passed + 1))
else
    head -n 40 "$logs/format"
    echo "=== format: FAILED (clang-format -i the files named above)"
    failed=$((failed + 1))
fi

run_suite native native

# The documents against the tree, and their examples run against the native build just made.
echo "=== docs: check"
if python3 scripts/check_docs.py build/native; then
    passed=$((passed + 1))
else
    echo "=== docs: FAILED"
    failed=$((failed + 1))
fi

ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_suite sanitizers native-asan
# The whole native suite: besides the tests that start threads themselves, the capturer, the overlay
# broker and opening large template sets start threads inside the engine.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_suite threads native-tsan

# Replays each fuzz target's seed corpus and fuzzes it for a few seconds; each target counts as one test.
echo "=== fuzz: build, replay seeds, fuzz"
bash scripts/fuzz.sh "${STROKECAST_FUZZ_SECONDS:-10}" | tee "$logs/fuzz"
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

# The programs' windows under Wine into docs/screenshots/; a blank or missing picture fails.
echo "=== screenshots: capture"
if bash scripts/screenshots.sh build/windows >"$logs/screenshots" 2>&1; then
    tail -n 1 "$logs/screenshots"
    passed=$((passed + 1))
else
    tail -n 40 "$logs/screenshots"
    echo "=== screenshots: FAILED"
    failed=$((failed + 1))
fi

echo "=== release: build, install, package, examples"
# shellcheck source=release.sh
source scripts/release.sh
passed=$((passed + release_passed))
failed=$((failed + release_failed))

rm -rf "$logs"
echo "total: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] && [ "$skip_bad" -eq 0 ]
