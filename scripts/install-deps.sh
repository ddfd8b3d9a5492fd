#!/bin/sh
# Installs what building, testing and running need on Debian 12, and nothing that is
# already there. With --xvfb it adds the virtual display used for screenshots, with --fuzz
# clang and the libFuzzer runtime, with --windows the MinGW-w64 cross compilers and wine.
set -eu

packages="cmake g++ make clang-format qt6-base-dev qt6-translations-l10n desktop-file-utils appstream
    groff-base dpkg-dev file lintian"
[ "${1:-}" = "--xvfb" ] && packages="$packages xvfb xauth"
[ "${1:-}" = "--fuzz" ] && packages="$packages clang libclang-rt-14-dev"
[ "${1:-}" = "--windows" ] && packages="$packages g++-mingw-w64-x86-64-posix \
    gcc-mingw-w64-x86-64-posix wine wine64 ninja-build qt6-base-dev-tools xz-utils patch zip unzip \
    xvfb xauth xdotool imagemagick python3 icoutils pandoc \
    wkhtmltopdf"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
# The window's captions need a Japanese font; IPA Gothic also stands in for MS Gothic.
if ! fc-list :lang=ja 2>/dev/null | grep -q .; then
    missing="$missing fonts-ipafont-gothic"
fi
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
