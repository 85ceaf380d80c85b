#!/usr/bin/env bash
# The main job: the reference host drives the real strokecast.dll under Wine on the shipped default gestures;
# then Strokecast Settings records a gesture drawn with the mouse and binds it, Strokecast Resident runs it
# for a stroke on the overlay, and both programs' pictures are written to docs/screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build build/windows -j"$(nproc)" --target strokecast strokecast-host strokecast-resident \
    strokecast-settings strokecast-drive >/dev/null
# shellcheck source=wine-session.sh
source scripts/wine-session.sh
wine_session_start
host() { "$root/scripts/wine-exec" "$root/build/windows/bin/strokecast-host.exe" "$@"; }
drive() { "$root/scripts/wine-exec" "$root/build/windows/bin/strokecast-drive.exe" "$@"; }
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
echo "== Strokecast Resident and Strokecast Settings: a gesture drawn in Settings, run by the resident"
# Both programs on the demo's folder; the resident takes its default hot key and watches for strokes.
wine64 "$root/build/windows/bin/strokecast-resident.exe" --user-folder "$cfg" >"$work/resident.log" 2>&1 &
resident=$!
wine64 "$root/build/windows/bin/strokecast-settings.exe" --user-folder "$cfg" --page record \
    >"$work/settings.log" 2>&1 &
settings=$!
# Window classes and control ids (host/settings/ids.h, host/resident/resident.h).
SETTINGS=StrokecastSettingsWindow PICKER=StrokecastBindPicker POPUP=StrokecastResidentPopup
STATUS=1001 CANVAS=1200 NAME=1201 SIMILAR=1203 SAVE=1204 BIND=1102 FIND=1500 OK=1
WM_COMMAND=0x111 WM_CLOSE=0x10 QUIT=4
# A squared "S" drawn from the top right, which no shipped gesture is near.
square_s="200,20 20,20 20,120 200,120 200,220 20,220"
echo "-- draw it on the recording canvas with the mouse, name it, save it"
drive --draw $SETTINGS $CANVAS "$square_s" --wait-text $SETTINGS $SIMILAR "safe to save" --set-text $SETTINGS $NAME square_s --click $SETTINGS $SAVE \
    --wait-text $SETTINGS $STATUS "Saved the gesture"
echo "-- bind it in the picker to a harmless action: copy"
drive --click $SETTINGS $BIND --set-text $PICKER $FIND "Copy" --click $PICKER $OK \
    --wait-text $SETTINGS $STATUS "now runs"
echo "-- what the engine's files now hold"
host --user-folder "$cfg" gestures | grep square_s
host --user-folder "$cfg" actions | grep square_s
echo "-- the same shape drawn on the overlay reaches the resident's capturer, which runs it at once"
python3 scripts/stroke_through.py "$square_s" >"$work/square_s.stroke"
host --user-folder "$cfg" replay "@$work/square_s.stroke"
printf 'resident says: '
drive --wait-text $POPUP 0 "ran"
drive --post $SETTINGS $WM_CLOSE 0 0 --post StrokecastResident $WM_COMMAND $QUIT 0
wait "$settings" "$resident" || true
wine_session_stop
rm -rf "$work"
echo "== pictures of both programs (docs/screenshots)"
bash scripts/screenshots.sh
