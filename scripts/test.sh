#!/usr/bin/env bash
# Builds both builds and runs every test: native, native under ASan+UBSan, and Windows under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
jobs=$(nproc)

status=0
run_suite() {  # name, preset
    echo "=== $1: build"
    cmake --preset "$2" >/dev/null
    cmake --build "build/$2" -j"$jobs" >/dev/null
    echo "=== $1: test"
    (cd "build/$2" && ctest --output-on-failure -j"$jobs" "${@:3}") || status=1
}

run_suite native native
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_suite sanitizers native-asan

# shellcheck source=wine-session.sh
source scripts/wine-session.sh
wine_session_start
run_suite windows windows
exit $status
