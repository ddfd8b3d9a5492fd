# Sourced by the scripts beside it: a wine prefix of the build's own, quiet, that never asks
# for Mono or Gecko, speaking Japanese. Sets top and build.
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$top/build-windows

windows_path() { echo "Z:$1" | tr / '\\'; }
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$build"
# A Japanese Windows: wine takes its language and code pages (932) from the locale, made
# here in the build folder, so that the machine's own set-up is left alone.
if [ ! -d "$build/locale/ja_JP.UTF-8" ]; then
    mkdir -p "$build/locale"
    localedef -i ja_JP -f UTF-8 "$build/locale/ja_JP.UTF-8"
fi
export LOCPATH="$build/locale" LANG=ja_JP.UTF-8
wineboot --init >/dev/null 2>&1 || true
