# Sourced by the scripts beside it: a wine prefix of the build's own, quiet, that never asks
# for Mono or Gecko. Sets top and build.
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$top/build-windows

windows_path() { echo "Z:$1" | tr / '\\'; }
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$build"
wineboot --init >/dev/null 2>&1 || true
