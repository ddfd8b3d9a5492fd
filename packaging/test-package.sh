#!/bin/sh
# Builds the Debian package from a configured and built tree into a scratch folder,
# unpacks it into a scratch root and checks what it holds, what it depends on, and that
# its program runs from there.
# Usage: test-package.sh CPACK BUILD_DIR VERSION APP_ID TEST_DATA_DIR
set -u
cpack=$1 build=$2 version=$3 app_id=$4 data=$5
failed=0

fail() {
    echo "FAIL: $*"
    failed=1
}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tornak-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "FAIL: cpack could not build the package"
    exit 1
fi
set -- "$scratch"/out/*.deb
if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
    cat "$scratch/cpack.log"
    echo "FAIL: expected one .deb in $scratch/out"
    exit 1
fi
deb=$1
echo "built $(basename "$deb")"

field() {
    dpkg-deb -f "$deb" "$1"
}
[ "$(field Package)" = tornak-cabrillo ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Section)" = hamradio ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
echo "Depends: $depends"
for dependency in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n libc6 libstdc++6 \
    'fonts-ipafont-gothic | fonts-noto-cjk'; do
    # Each comma-separated item, with any version in brackets taken off.
    echo "$depends" | tr ',' '\n' | sed 's/ *([^)]*)//g; s/^ *//; s/ *$//' |
        grep -qxF "$dependency" || fail "Depends lacks $dependency"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
for file in usr/bin/tornak-cabrillo \
    "usr/share/applications/$app_id.desktop" \
    "usr/share/metainfo/$app_id.metainfo.xml" \
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    usr/share/man/man1/tornak-cabrillo.1.gz \
    usr/share/doc/tornak-cabrillo/README.ja.md \
    usr/share/doc/tornak-cabrillo/copyright \
    usr/share/doc/tornak-cabrillo/changelog.gz; do
    [ -f "$root/$file" ] || fail "the package lacks /$file"
done
for size in 16 22 24 32 48 64 128 256; do
    icon="usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    if [ -f "$root/$icon" ]; then
        # Width and height are the big-endian words at bytes 16 and 20 of the PNG header.
        dimensions=$(od -An -tu1 -j16 -N8 "$root/$icon" |
            awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
        [ "$dimensions" = "${size}x${size}" ] || fail "/$icon is $dimensions, not ${size}x${size}"
    else
        fail "the package lacks /$icon"
    fi
done
# Every picture the guide shows is packaged beside it.
for image in $(grep -o 'docs/images/[^)" ]*' "$root/usr/share/doc/tornak-cabrillo/README.ja.md" 2>/dev/null | sort -u); do
    [ -f "$root/usr/share/doc/tornak-cabrillo/$image" ] || fail "the guide shows $image, which is not packaged"
done
# The desktop entry starts a program and shows an icon that the package installs.
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/$app_id.desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "the desktop entry runs $exec_name, which is not in /usr/bin"
icon_name=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/$app_id.desktop")
[ "$icon_name" = "$app_id" ] || fail "the desktop entry shows icon $icon_name"
zcat "$root/usr/share/man/man1/tornak-cabrillo.1.gz" | grep -q "\"tornak-cabrillo $version\"" ||
    fail "the manual page does not name version $version"
# The metadata, the desktop entry and the icon fit together as installed.
appstreamcli validate-tree --no-net "$root" >"$scratch/tree.log" 2>&1 ||
    { cat "$scratch/tree.log"; fail "appstreamcli validate-tree"; }

# The packaged program, without the build tree's library path.
program=$root/usr/bin/tornak-cabrillo
shown=$(env -u LD_LIBRARY_PATH "$program" --version 2>&1)
[ "$shown" = "tornak-cabrillo $version" ] || fail "--version printed '$shown'"
# And it converts: Shift_JIS in and out needs the system's converter.
mkdir -p "$scratch/run"
if out=$(cd "$scratch/run" && env -u LD_LIBRARY_PATH "$program" convert "$data/club.zlog.txt" \
    --settings "$data/club.ini.txt" --year 2026 2>&1); then
    cmp -s "$scratch/run/JA1ABC.txt" "$data/club.expected.txt" ||
        fail "the packaged program wrote a different JA1ABC.txt"
else
    fail "the packaged program's convert failed: $out"
fi

# Debian's own checker finds no error in it.
lintian --fail-on error --allow-root "$deb" >"$scratch/lintian.log" 2>&1 ||
    { cat "$scratch/lintian.log"; fail "lintian"; }

[ "$failed" -eq 0 ] && echo "the package holds, declares and runs what it should"
exit "$failed"
