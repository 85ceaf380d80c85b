#!/usr/bin/env bash
# Release builds as a packager makes them: a plain Release configure on g++ and on MinGW-w64 g++ (the
# library and the host only), installed into a temporary prefix; checks the installed trees, the Windows
# archive, the version resources and macros, and builds and runs the examples against the installed
# trees. Prints "release: <check>: ok|FAILED" per check and ends with "release: N passed, M failed".
# Sourced by scripts/test.sh after the Wine session is up, or run alone (it then starts one).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
work=$(mktemp -d)
release_passed=0
release_failed=0

check() {  # description, command...
    local what=$1
    shift
    if "$@" >"$work/check.log" 2>&1; then
        echo "release: $what: ok"
        release_passed=$((release_passed + 1))
    else
        echo "release: $what: FAILED"
        tail -n 30 "$work/check.log"
        release_failed=$((release_failed + 1))
    fi
}

build_release() {  # name, extra configure arguments...
    local name=$1
    shift
    cmake -S . -B "build/$name-release" -DCMAKE_BUILD_TYPE=Release -DSTROKECAST_WERROR=ON \
        -DSTROKECAST_TESTS=OFF -DSTROKECAST_BENCH=OFF "$@" &&
        cmake --build "build/$name-release" -j"$jobs" &&
        cmake --install "build/$name-release" --prefix "$work/$name" --strip
}

tree_has() {  # prefix, files...
    local prefix=$1 missing=0
    shift
    for f in "$@"; do
        [ -e "$prefix/$f" ] || { echo "missing $f"; missing=1; }
    done
    return $missing
}

version=$(sed -nE 's/^project\(strokecast VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
check "header version macros are $version" python3 scripts/check_release.py header include/strokecast.h "$version"

common_files=(include/strokecast.h include/strokecast_exports.h share/strokecast/default_gestures.configure
    share/strokecast/README.md share/strokecast/CHANGELOG.md share/strokecast/LICENSE
    lib/cmake/Strokecast/StrokecastConfig.cmake lib/cmake/Strokecast/StrokecastConfigVersion.cmake
    lib/cmake/Strokecast/StrokecastTargets.cmake)

# ---- native
n=$work/native
check "native: Release build and install" build_release native
check "native: installed tree" tree_has "$n" bin/strokecast-host "lib/libstrokecast.so.$version" \
    lib/libstrokecast.so.1 lib/libstrokecast.so lib/pkgconfig/strokecast.pc "${common_files[@]}"
check "native: SONAME libstrokecast.so.1" bash -c "objdump -p '$n/lib/libstrokecast.so.$version' | grep -qE 'SONAME +libstrokecast.so.1$'"
check "native: installed host reports $version" bash -c \
    "'$n/bin/strokecast-host' --version | tee /dev/stderr | grep -qx 'library $version (.*/lib/libstrokecast.so.1)'"
check "native: pkg-config version and flags" bash -c \
    "[ \"\$(PKG_CONFIG_PATH='$n/lib/pkgconfig' pkg-config --modversion strokecast)\" = '$version' ] &&
     PKG_CONFIG_PATH='$n/lib/pkgconfig' pkg-config --libs strokecast | grep -q -- '-lstrokecast'"
check "native: Python example" python3 examples/python/example.py "$n/lib/libstrokecast.so.1" "$work/python-cfg"
check "C# and Python declarations agree with the header" python3 scripts/check_bindings.py

# ---- windows
w=$work/windows
check "windows: Release build and install" build_release windows \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
check "windows: installed tree" tree_has "$w" bin/strokecast.dll bin/strokecast-host.exe bin/strokecast-settings.exe \
    bin/strokecast-resident.exe lib/libstrokecast.dll.a \
    lib/strokecast.lib lib/strokecast.def "${common_files[@]}"
check "windows: version resources say $version" python3 scripts/check_release.py versioninfo "$version" \
    "$w/bin/strokecast.dll" "$w/bin/strokecast-host.exe" "$w/bin/strokecast-settings.exe" \
    "$w/bin/strokecast-resident.exe"
check "windows: MSVC import library names the DLL" bash -c \
    "x86_64-w64-mingw32-objdump -a '$w/lib/strokecast.lib' >/dev/null && strings '$w/lib/strokecast.lib' | grep -q '^strokecast.dll$' && strings '$w/lib/strokecast.lib' | grep -q StrokecastVersion"
check "windows: no debug information installed" bash -c \
    "! x86_64-w64-mingw32-objdump -h '$w/bin/strokecast.dll' '$w/bin/strokecast-host.exe' '$w/bin/strokecast-settings.exe' \
       '$w/bin/strokecast-resident.exe' | grep -q '\.debug_'"
check "windows: archive strokecast-$version-win64.zip" bash -c \
    "cd build/windows-release && cpack -G ZIP >/dev/null && python3 '$root/scripts/check_release.py' archive strokecast-$version-win64.zip '$w' bin/strokecast.dll bin/strokecast-host.exe bin/strokecast-settings.exe \
     bin/strokecast-resident.exe"
if [ -z "${WINEPREFIX:-}" ]; then
    # shellcheck source=wine-session.sh
    source scripts/wine-session.sh
    wine_session_start
fi
check "windows: installed host reports $version under Wine" bash -c \
    "'$root/scripts/wine-exec' '$w/bin/strokecast-host.exe' --version | tr -d '\r' | tee /dev/stderr | grep -q '^library $version '"
c_example() {
    mkdir -p "$work/c-cfg"
    cmake -S examples/c -B "$work/c-build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_PREFIX_PATH="$w" -DCMAKE_BUILD_TYPE=Release &&
        cmake --build "$work/c-build" &&
        cp "$w/bin/strokecast.dll" "$work/c-build/" &&
        "$root/scripts/wine-exec" "$work/c-build/host.exe" "Z:${work//\//\\}\\c-cfg"
}
check "windows: C example built against the installed tree runs under Wine" c_example

rm -rf "$work"
echo "release: $release_passed passed, $release_failed failed"
