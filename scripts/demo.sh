#!/usr/bin/env bash
# The main job: the reference host drives the real strokecast.dll under Wine on the shipped default gestures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build build/windows -j"$(nproc)" --target strokecast strokecast-host >/dev/null
# shellcheck source=wine-session.sh
source scripts/wine-session.sh
wine_session_start
host() { "$root/scripts/wine-exec" "$root/build/windows/bin/strokecast-host.exe" "$@"; }
work=$(mktemp -d)
cfg="Z:${work//\//\\}"
# A first start has no user file yet; an empty one keeps the engine's "load file fail" line out of the demo.
: >"$work/MyGesture.configure"
echo "== gestures shipped by default"
host --user-folder "$cfg" gestures
for sample in data/samples/*.stroke; do
    [ -e "$sample" ] || continue
    printf '== recognise %s: ' "$(basename "$sample" .stroke)"
    host --user-folder "$cfg" recognize "@$sample"
done
echo "== bind a gesture to a harmless action (copy) and run it"
host --user-folder "$cfg" bind circle_clockwise CTRL_C
host --user-folder "$cfg" actions
host --user-folder "$cfg" run circle_clockwise
echo "== end to end: a resident host captures, a recorded stroke is posted to it as the overlay would"
# The resident host runs until its standard input closes; its log is a file, read while it runs.
mkfifo "$work/stop"
timeout -k 5 120 wine64 "$root/build/windows/bin/strokecast-host.exe" --user-folder "$cfg" \
    resident --hotkey K --echo-actions <"$work/stop" >"$work/resident.log" 2>&1 &
resident=$!
exec 3>"$work/stop"
for _ in $(seq 100); do
    grep -q "resident: capturing" "$work/resident.log" && break
    sleep 0.1
done
host --user-folder "$cfg" replay @data/samples/circle_clockwise.stroke
# The stroke ends 300 ms after its last point; recognition and the bound action follow at once.
sleep 1
exec 3>&-
wait "$resident" || true
# Wine registers no UI Automation: the engine says so and captures on without the charm-bar watch.
cat "$work/resident.log"
rm -rf "$work"
