#!/bin/sh
# Builds the whole test suite for 64-bit Windows and runs it under wine, in a wine prefix of
# its own; then converts the examples with the Windows program and the Linux one and
# compares the files byte for byte. The program's icon, version and manifest are checked first.
set -eu
qt=$("$(dirname "$0")/../../scripts/build-qt-windows.sh" | tail -n 1)
. "$(dirname "$0")/wine-env.sh"
mingw=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
"$qt/bin/qt-cmake" -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" -j "${JOBS:-$(nproc)}"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
"$top/packaging/windows/check-resources.sh" "$build/src/tornak-cabrillo.exe" "$version"

# Wine drops the QT_ variables of Linux; the WINE-prefixed ones reach the program.
export WINEPATH="$(windows_path "$qt/bin");$(windows_path "$mingw");$(windows_path /usr/x86_64-w64-mingw32/lib)"
export WINEQT_PLUGIN_PATH="$(windows_path "$qt/plugins")"
export WINEQT_QPA_FONTDIR="$(windows_path "$(dirname "$(fc-match -f '%{file}' IPAGothic)")")"
(cd "$build" && ctest --output-on-failure -j "$(nproc)")

# The same examples give the same bytes from both programs.
make -C "$top" build >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/linux" "$work/windows"
for program in linux windows; do
    if [ "$program" = linux ]; then run="$top/build/src/tornak-cabrillo"; else run="wine $build/src/tornak-cabrillo.exe"; fi
    $run convert "$top/examples/zlog-export.txt" --settings "$top/examples/ini.txt" \
        --year 2026 --output-dir "$work/$program" >/dev/null
done
cmp "$work/linux/JA1ABC.txt" "$work/windows/JA1ABC.txt"
echo "The Windows program under wine passes the suite and writes the Linux program's bytes."
