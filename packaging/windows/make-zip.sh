#!/bin/sh
# Cross-builds the program for 64-bit Windows (Release, stripped) and packs it, with the
# libraries, plugins and Qt's Japanese catalogue it needs, a Japanese read-me, the guide as
# HTML and the licences, into dist/tornak-cabrillo-<version>-win64.zip.
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
windows=$top/packaging/windows
qt=$("$top/scripts/build-qt-windows.sh" | tail -n 1)
build=$top/build-windows
mingw=/usr/lib/gcc/x86_64-w64-mingw32/12-posix

"$qt/bin/qt-cmake" -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" -j "${JOBS:-$(nproc)}" tornak-cabrillo
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=tornak-cabrillo-$version-win64
stage=$build/zip/$name
rm -rf "$build/zip"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations" "$stage/licenses/Qt" \
    "$stage/licenses/MinGW-w64"

cp "$build/src/tornak-cabrillo.exe" "$qt/bin/Qt6Core.dll" "$qt/bin/Qt6Gui.dll" \
    "$qt/bin/Qt6Widgets.dll" "$mingw/libstdc++-6.dll" "$mingw/libgcc_s_seh-1.dll" \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"
find "$stage" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded

# Text for Notepad: Shift_JIS with CR LF, like every text file of the tool.
to_windows_text() {
    sed "s/@VERSION@/$version/; s/\$/\r/" "$1" | iconv -f UTF-8 -t CP932 >"$2"
}
to_windows_text "$windows/はじめにお読みください.txt" "$stage/はじめにお読みください.txt"
to_windows_text "$top/LICENSE" "$stage/LICENSE.txt"
to_windows_text "$windows/qt-source.txt" "$stage/licenses/Qt/SOURCE.txt"
cp "$qt/licenses/LGPL-3.0-only.txt" "$qt/licenses/GPL-3.0-only.txt" "$stage/licenses/Qt/"
cp "$windows/qt-qwindows-gdi-fonts-without-direct2d.patch" "$stage/licenses/Qt/"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/MinGW-w64/gcc-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/licenses/MinGW-w64/winpthreads-copyright.txt"
# The guide as one HTML file with its pictures inside, which a double click opens in the
# browser; the Markdown's own anchors (GitHub's) keep working, and a line break between two
# Japanese characters is no blank.
guide=使い方ガイド.html
pandoc -f gfm+east_asian_line_breaks -t html5 --standalone --self-contained --resource-path="$top" \
    --css "$windows/guide.css" --metadata pagetitle="tornak-cabrillo 使い方ガイド" \
    -o "$stage/$guide" "$top/README.ja.md"

# Names in the zip are Shift_JIS, without zip's UTF-8 flag: a Japanese Windows reads such
# names in its code page, 932, Explorer's own unpacker included.
for japanese in はじめにお読みください.txt "$guide"; do
    mv "$stage/$japanese" "$stage/$(printf '%s' "$japanese" | iconv -f UTF-8 -t CP932)"
done
mkdir -p "$top/dist"
rm -f "$top/dist/$name.zip"
(cd "$build/zip" && LC_ALL=C zip -qr -X "$top/dist/$name.zip" "$name")
echo "$top/dist/$name.zip"
