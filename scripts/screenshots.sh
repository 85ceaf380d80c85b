#!/usr/bin/env bash
# Pictures of the programs a person runs, taken under Wine into docs/screenshots/*.png: each window is
# opened on a user folder of its own (C:\Strokecast in the prefix) holding a recorded gesture and a bound
# program, then copied from the screen by tools/drive (which refuses a blank or unsettled picture).
# Fails when any picture is blank or missing.
#   bash scripts/screenshots.sh [BUILD_DIR]     BUILD_DIR: a windows-preset build (default build/windows)
# A new window is one `shoot NAME ...` line below: NAME.png, then what opens the window and its class.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$(cd "${1:-build/windows}" 2>/dev/null && pwd || echo "$root/build/windows")
bin=$build/bin
out=$root/docs/screenshots
if [ "$build" = "$root/build/windows" ]; then
    cmake --preset windows >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target strokecast strokecast-host strokecast-resident \
    strokecast-settings strokecast-drive >/dev/null

# shellcheck source=wine-session.sh
source scripts/wine-session.sh
wine_session_start
work=$(mktemp -d)
trap 'wine_session_stop; rm -rf "$work"' EXIT
# A fixed folder inside the prefix, so the pictures that show it are the same on every machine.
folder='C:\Strokecast'
rm -rf "$WINEPREFIX/drive_c/Strokecast"
mkdir -p "$WINEPREFIX/drive_c/Strokecast" "$out"
wexec() { "$root/scripts/wine-exec" "$@"; }
host() { wexec "$bin/strokecast-host.exe" --user-folder "$folder" "$@"; }
expected=()
# shoot NAME [screenshot options...]: NAME.png from the window the options name.
shoot() {
    local name=$1
    shift
    expected+=("$name.png")
    rm -f "$out/$name.png"
    wexec "$bin/strokecast-drive.exe" "$@" --out "$(winepath -w "$out/$name.png")" 3>&-
}
post() { wexec "$bin/strokecast-drive.exe" --post "$@"; }

# The user folder: a gesture recorded by the user (an "M"), bound to a desktop program as Settings binds
# one (the key names the program's path, so Settings can show its icon).
python3 scripts/stroke_through.py "40,220 40,40 130,160 220,40 220,220" >"$work/M.stroke"
host add M "@$work/M.stroke"
host custom add 'DESKTOP:\C:\windows\notepad.exe' 'C:\windows\notepad.exe'
host bind M 'DESKTOP:\C:\windows\notepad.exe'
host bind circle_clockwise MUTE

# Strokecast Resident. First its note when another program holds its hot key: the reference host takes
# Ctrl+Alt+G before the resident starts, and leaves once the note is taken (its capturer would otherwise
# take the replayed stroke below).
wine_host_resident "$bin/strokecast-host.exe" "$folder" G "$work/host.log"
wine64 "$bin/strokecast-resident.exe" --user-folder "$folder" >"$work/resident.log" 2>&1 3>&- &
resident=$!
WM_APP_TRAY=0x8001 WM_RBUTTONUP=0x205 WM_KEYDOWN=0x100 VK_ESCAPE=0x1B WM_COMMAND=0x111 QUIT=4
shoot resident-hotkey-taken --class StrokecastResidentPopup --hover
exec 3>&-
wait "$host_resident_pid" || true
# Then its icon's menu as the shell opens it on a right click, and the note after a stroke.
shoot resident-menu --post StrokecastResident $WM_APP_TRAY 1 $WM_RBUTTONUP --class '#32768'
post '#32768' $WM_KEYDOWN $VK_ESCAPE 0
host replay "@$work/M.stroke" >/dev/null
shoot resident-result --class StrokecastResidentPopup --hover
post StrokecastResident $WM_COMMAND $QUIT 0
wait "$resident" || true

# Strokecast Settings: the gesture list, the bind picker, a stroke like the shipped "V" on the recording
# page (the confusion warning) and on the try page (its ranking), and the resident's options.
WM_CLOSE=0x10 IDC_BIND=1102 IDCANCEL=2
vee="40,30 75,115 110,200 145,115 180,30"
host bind V CTRL_C
settings() {
    wine64 "$bin/strokecast-settings.exe" --user-folder "$folder" "$@" >"$work/settings.log" 2>&1 3>&- &
    settings_pid=$!
}
close_settings() {
    post StrokecastSettingsWindow $WM_CLOSE 0 0
    wait "$settings_pid" || true
}
settings
shoot settings-gestures --class StrokecastSettingsWindow
shoot settings-bind --post StrokecastSettingsWindow $WM_COMMAND $IDC_BIND 0 --class StrokecastBindPicker
post StrokecastBindPicker $WM_COMMAND $IDCANCEL 0
close_settings
settings --stroke "$vee"
shoot settings-record --class StrokecastSettingsWindow
close_settings
settings --page try --stroke "$vee"
shoot settings-try --class StrokecastSettingsWindow
close_settings
settings --page resident
shoot settings-resident --class StrokecastSettingsWindow
close_settings

missing=0
for png in "${expected[@]}"; do
    if [ ! -s "$out/$png" ]; then
        echo "screenshots: $png is missing"
        missing=1
    fi
done
[ "$missing" -eq 0 ]
echo "screenshots: ${#expected[@]} written to docs/screenshots: ${expected[*]}"
