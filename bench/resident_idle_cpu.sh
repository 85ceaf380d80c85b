#!/usr/bin/env bash
# Idle CPU of a resident host under Wine: starts `strokecast-host resident`, lets it settle, and prints the
# CPU ticks it and the wineserver used in each of two 30 s windows of doing nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset windows >/dev/null
cmake --build build/windows -j2 --target strokecast strokecast-host >/dev/null
# shellcheck source=../scripts/wine-session.sh
source scripts/wine-session.sh
wine_session_start
work=$(mktemp -d)
cfg="Z:${work//\//\\}"
: >"$work/MyGesture.configure"
wine_host_resident "$root/build/windows/bin/strokecast-host.exe" "$cfg" K "$work/resident.log" 150
sleep 3
host=$(pgrep -x strokecast-host | head -1)
server=$(pgrep -f wineserver | head -1)
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
h0=$(ticks "$host")
s0=$(ticks "$server")
for round in 1 2; do
    sleep 30
    h1=$(ticks "$host")
    s1=$(ticks "$server")
    echo "idle 30 s #$round: resident host $((h1 - h0)) ticks, wineserver $((s1 - s0)) ticks (1 tick = 1/$hz s)"
    h0=$h1
    s0=$s1
done
exec 3>&-
wait "$host_resident_pid" || true
rm -rf "$work"
