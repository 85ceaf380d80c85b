#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for the given seconds each (default 60): first the
# seed corpus in tests/fuzz/corpus/<target>/ is replayed, then the target fuzzes into a scratch corpus
# under build/fuzz/corpus/ that later runs go on from. Prints executions and coverage per target and a
# closing "fuzz: N passed, M failed" line; a crash or a failed check leaves its input in
# build/fuzz/artifacts/.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
bash scripts/setup.sh || exit 1

logs=build/fuzz/logs
if ! { cmake --preset fuzz && cmake --build build/fuzz -j"$(nproc)" --target strokecast_fuzzers; } \
    >/tmp/strokecast-fuzz-build.$$ 2>&1; then
    tail -n 60 /tmp/strokecast-fuzz-build.$$
    rm -f /tmp/strokecast-fuzz-build.$$
    echo "fuzz: build failed"
    echo "fuzz: 0 passed, 1 failed"
    exit 1
fi
rm -f /tmp/strokecast-fuzz-build.$$
mkdir -p "$logs" build/fuzz/artifacts

passed=0
failed=0
for seeds in tests/fuzz/corpus/*/; do
    target=$(basename "$seeds")
    binary=build/fuzz/bin/$target
    if [ ! -x "$binary" ]; then
        echo "$target: no such fuzz target"
        failed=$((failed + 1))
        continue
    fi
    scratch=build/fuzz/corpus/$target
    mkdir -p "$scratch"
    # Standard output is closed so the engine's console lines do not flood the log; libFuzzer reports on
    # standard error. Leaks are checked at exit of each input as in the sanitizer build.
    replay="ok"
    if ! "$binary" -runs=0 -close_fd_mask=1 "$seeds" >"$logs/$target.replay" 2>&1; then
        replay="FAILED"
    fi
    "$binary" -max_total_time="$seconds" -print_final_stats=1 -close_fd_mask=1 -timeout=30 -rss_limit_mb=4096 \
        -artifact_prefix="build/fuzz/artifacts/$target-" "$scratch" "$seeds" >"$logs/$target.log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$target.log" | tail -n 1)
    cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]*' "$logs/$target.log" | tail -n 1)
    if [ "$replay" = ok ] && [ $status -eq 0 ]; then
        echo "$target: seeds replayed, ${runs:-?} executions in ${seconds} s, ${cov:-no coverage line}"
        passed=$((passed + 1))
    else
        echo "$target: FAILED (seed replay $replay, fuzzing exit $status)"
        grep -vE '^#[0-9]+ +(NEW|REDUCE|pulse|INITED)|NEW_FUNC' "$logs/$target.replay" "$logs/$target.log" |
            tail -n 40
        failed=$((failed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
