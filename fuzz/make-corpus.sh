#!/bin/sh
# Writes the seed inputs of the fuzz targets from the tests' own data into fuzz/corpus/
# (or the folder given), one folder per target.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
out=${1:-$here/corpus}
data=$top/tests/data

mkdir -p "$out/fuzz_log" "$out/fuzz_settings" "$out/fuzz_export"

# Copies a file into a folder unless the folder already holds the same bytes.
copy_new() {
    for existing in "$2"/*; do
        [ -f "$existing" ] && cmp -s "$1" "$existing" && return 0
    done
    cp "$1" "$2/$(basename "$1")"
}

# The Cabrillo files are text in the same encoding, and show a line layout the log lacks.
for log in "$data"/*.zlog.txt "$data"/*.expected.txt "$top/examples/zlog-export.txt"; do
    copy_new "$log" "$out/fuzz_log"
done
for ini in "$data"/*.ini.txt "$top/examples/ini.txt"; do
    copy_new "$ini" "$out/fuzz_settings"
done
# Inputs that once found a fault stay seeds, so that the fuzzer starts next to them.
for kept in "$data"/fuzz-regressions/*; do
    case $(basename "$kept") in
    log-*) copy_new "$kept" "$out/fuzz_log" ;;
    settings-*) copy_new "$kept" "$out/fuzz_settings" ;;
    export-*) copy_new "$kept" "$out/fuzz_export" ;;
    esac
done

# fuzz_export reads five choice bytes (contest, callsign, entries left empty, flags, free-text
# target and year), then three free texts, each a length byte and UTF-8, then the log.
seed() { # name, five bytes in octal, free text A, log file
    {
        printf "$2"
        printf "\\$(printf '%03o' "$(printf '%s' "$3" | wc -c)")"
        printf '%s\000\000' "$3"
        cat "$4"
    } >"$out/fuzz_export/$1"
}
seed club.zlog.txt '\001\001\000\000\017' '' "$data/club.zlog.txt"
seed lets.zlog.txt '\000\000\000\010\017' '' "$data/lets.zlog.txt"
seed free-contest.zlog.txt '\003\002\000\104\037' 'ALL JA1 コンテスト' "$data/club.zlog.txt"
seed no-name.zlog.txt '\001\002\002\004\017' '' "$data/club.zlog.txt"
