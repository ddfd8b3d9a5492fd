#!/bin/sh
# Builds Qt for 64-bit Windows (MinGW-w64) from Debian's own qt6-base source, once, into a
# cache folder outside the repository; does nothing when that cache is complete. Prints the
# cache's path (the Qt prefix) on its last line.
#
# QT_WINDOWS_CACHE sets the cache folder (default ~/.cache/tornak-cabrillo/qt-windows).
# The build takes about 35 minutes on two cores; the cache then holds about 80 MB.
set -eu
# Everything but the prefix goes to standard error, so that a caller can take the prefix.
exec 3>&1 1>&2

here=$(cd "$(dirname "$0")/.." && pwd)
windows="$here/packaging/windows"
cache=${QT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tornak-cabrillo/qt-windows}

"$here/scripts/install-deps.sh" --windows

# Debian's host tools of the same version build the Windows libraries (moc, rcc, uic).
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%+*}
# A new Qt version, or a changed patch, toolchain or option, means a new build.
stamp="$version $(cat "$windows/qt-qwindows-gdi-fonts-without-direct2d.patch" \
    "$windows/toolchain-mingw64-posix.cmake" "$windows/qt-configure-options.txt" |
    sha256sum | cut -c1-16)"
prefix="$cache/$upstream"
if [ -f "$prefix/.complete" ] && [ "$(cat "$prefix/.complete")" = "$stamp" ]; then
    echo "$prefix" >&3
    exit 0
fi

work="$cache/work"
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial"

# The source package, through apt's own signature checks, with a source list of our own
# so that the machine's apt configuration is left as it is.
cat >"$work/apt/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] ${DEBIAN_MIRROR:-http://deb.debian.org/debian} bookworm main
EOF
apt_options="-o Dir::Etc::SourceList=$work/apt/sources.list -o Dir::Etc::SourceParts=-
    -o Dir::State::Lists=$work/apt/lists -o Dir::Cache=$work/apt -o APT::Sandbox::User=root"
# shellcheck disable=SC2086
apt-get -qq $apt_options update
# shellcheck disable=SC2086
(cd "$work" && apt-get -qq $apt_options source --download-only "qt6-base=$version")

tar -C "$work" -xf "$work"/qt6-base_"$upstream"*.orig.tar.xz
src=$(echo "$work"/qtbase-everywhere-src-"$upstream")
patch -d "$src" -p1 <"$windows/qt-qwindows-gdi-fonts-without-direct2d.patch"

# shellcheck disable=SC2046
cmake -G Ninja -S "$src" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE="$windows/toolchain-mingw64-posix.cmake" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    $(grep -v '^#' "$windows/qt-configure-options.txt")
ninja -C "$work/build" -j "${JOBS:-$(nproc)}"
ninja -C "$work/build" install
# Qt's licence texts go into the zip beside the libraries.
mkdir -p "$prefix/licenses"
cp "$src"/LICENSES/*.txt "$prefix/licenses/"
echo "$stamp" >"$prefix/.complete"
rm -rf "$work"
echo "$prefix" >&3
