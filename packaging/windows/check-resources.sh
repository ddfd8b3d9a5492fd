#!/bin/sh
# Checks the resources of the Windows program, as Explorer reads them: the icon in every size
# from 16 to 256 pixels, the version and names under Properties, and the manifest.
# Usage: check-resources.sh PROGRAM.exe VERSION
set -eu
exe=$1
version=$2
fail() { echo "$exe: $*" >&2; exit 1; }

icons=$(wrestool -l --type=3 "$exe" | wc -l)
[ "$icons" -eq 7 ] || fail "holds $icons icon images, not the 7 sizes of 16 to 256 pixels"
wrestool -l --type=14 "$exe" | grep -q . || fail "has no icon group, so Explorer shows none"

# The strings of the version resource, in UTF-16.
strings=$(wrestool -x --raw --type=16 "$exe" | python3 -c '
import re, sys
text = sys.stdin.buffer.read().decode("utf-16-le", "replace")
print("\n".join(re.findall(r"[^\x00-\x1f]+", text)))')
for expected in "ProductName" "TORNAK Cabrilloログ作成" "FileDescription" \
    "TORNAKクラブ主催コンテストログ作成(Cabrillo)" "$version" "LegalCopyright" \
    "tornak-cabrillo.exe"; do
    printf '%s\n' "$strings" | grep -qxF "$expected" || fail "version resource lacks \"$expected\""
done

manifest=$(wrestool -x --raw --type=24 "$exe")
for expected in "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true</longPathAware>" \
    ">PerMonitorV2</dpiAwareness>" "level=\"asInvoker\""; do
    printf '%s\n' "$manifest" | grep -qF "$expected" || fail "manifest lacks $expected"
done
echo "$exe: icon (7 sizes), version $version and manifest present"
