# Sourced: starts one sandboxed Wine session (prefix, Xvfb display, persistent wineserver) and stops it
# again when the sourcing shell exits. Every Wine process of a test run shares this one server.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

wine_session_stop() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${STROKECAST_XVFB_PID:-}" ] && kill "$STROKECAST_XVFB_PID" >/dev/null 2>&1 || true
}

wine_session_start() {
    mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$WINEPREFIX"
    wineserver -k >/dev/null 2>&1 || true
    # Top-level windows (the overlay) need a display; pick a free number and retry on a clash.
    if command -v Xvfb >/dev/null; then
        for n in 99 98 97 96 95; do
            [ -e "/tmp/.X11-unix/X$n" ] && continue
            Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
            STROKECAST_XVFB_PID=$!
            sleep 1
            if kill -0 "$STROKECAST_XVFB_PID" 2>/dev/null; then
                export DISPLAY=":$n"
                break
            fi
            STROKECAST_XVFB_PID=""
        done
    fi
    trap wine_session_stop EXIT
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: creating the test prefix in $WINEPREFIX (first run takes a few seconds)"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wineserver -w
    fi
    wineserver -p
    # Wine starts its background services with the first process of a server session, and they inherit
    # that process's output. Start them here on /dev/null, so no test's output pipe is held open after it ends.
    wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# wine_host_resident EXE FOLDER HOTKEY LOG [SECONDS]: starts the reference host's resident command
# (`EXE --user-folder FOLDER resident --hotkey HOTKEY`, at most SECONDS when given) in the background,
# its output in LOG, and waits up to 30 s until it captures. Its input is a pipe this shell holds open
# on descriptor 3, so `exec 3>&-` makes it leave; its process id is in host_resident_pid.
wine_host_resident() {
    local exe=$1 folder=$2 hotkey=$3 log=$4 limit=()
    [ -n "${5:-}" ] && limit=(timeout -k 5 "$5")
    mkfifo "$log.stop"
    "${limit[@]}" wine64 "$exe" --user-folder "$folder" resident --hotkey "$hotkey" <"$log.stop" >"$log" 2>&1 &
    host_resident_pid=$!
    exec 3>"$log.stop"
    for _ in $(seq 300); do
        grep -q "resident: capturing" "$log" && break
        sleep 0.1
    done
}
