#!/bin/sh
# Checks the desktop entry, the AppStream metadata and the manual page with their own
# checkers; any remark from them fails the test.
# Usage: validate.sh DESKTOP_FILE METAINFO_FILE MANPAGE VERSION
set -u
desktop=$1 metainfo=$2 manpage=$3 version=$4
failed=0

fail() {
    echo "FAIL: $*"
    failed=1
}

# desktop-file-validate exits 0 on hints and some warnings; take any output as a failure.
output=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate exited $?"
[ -z "$output" ] || fail "desktop-file-validate: $output"
grep -q '^Name\[ja\]=' "$desktop" || fail "the desktop entry has no Japanese name"
grep -q '^Comment\[ja\]=' "$desktop" || fail "the desktop entry has no Japanese comment"
grep -q '^Categories=.*HamRadio;' "$desktop" || fail "the desktop entry is not in HamRadio"

appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the AppStream metadata does not name version $version"
grep -q '<name xml:lang="ja">' "$metainfo" || fail "the AppStream metadata has no Japanese name"

# groff's warnings (-ww) go to standard error; the page itself is thrown away (-z).
output=$(preconv "$manpage" | groff -man -Tutf8 -ww -z 2>&1) || fail "groff exited $?"
[ -z "$output" ] || fail "groff: $output"
grep -q "^\.TH TORNAK-CABRILLO 1 .*\"tornak-cabrillo $version\"" "$manpage" ||
    fail "the manual page does not name version $version"
for section in SYNOPSIS OPTIONS "EXIT STATUS" FILES; do
    grep -q "^\.SH $section\$" "$manpage" || fail "the manual page lacks $section"
done

[ "$failed" -eq 0 ] && echo "desktop entry, AppStream metadata and manual page: all valid"
exit "$failed"
