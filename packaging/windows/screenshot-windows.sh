#!/bin/sh
# Unpacks the zip into an empty folder and uses the program there under wine on a virtual
# display, as an entrant would: the first start and a refusal, then the entries restored, the
# open dialog, the example log opened and the Cabrillo file made. Pictures of each step go
# into screenshots/windows/; the files the window writes, and those of the zipped command
# line, must be the Linux program's bytes.
set -eu
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" != --on-display ]; then
    zip=$("$here/make-zip.sh" | tail -n 1)
    make -C "$here/../.." build >/dev/null
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display "$zip"
fi
zip=$2
. "$here/wine-env.sh"
out=$top/screenshots/windows
linux=$top/build/src/tornak-cabrillo
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$out" "$work/linux"
# Unpacked as a Japanese Windows does: names without the UTF-8 flag are Shift_JIS.
python3 - "$zip" "$work" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as archive:
    for entry in archive.infolist():
        if not entry.flag_bits & 0x800:
            entry.filename = entry.filename.encode("cp437").decode("cp932")
        archive.extract(entry, sys.argv[2])
EOF
folder=$(echo "$work"/tornak-cabrillo-*-win64)
[ -f "$folder/はじめにお読みください.txt" ]
cd "$folder"
window=""
start() {
    wine tornak-cabrillo.exe >/dev/null 2>&1 &
    for _ in $(seq 60); do
        window=$(xdotool search --onlyvisible --name 'TORNAK' | head -n 1)
        [ -n "$window" ] && break
        sleep 1
    done
    [ -n "$window" ] || { echo "the window did not open" >&2; exit 1; }
    sleep 3
}
stop() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}
shot() {
    sleep 2
    import -window root "$work/screen.png"
    convert "$work/screen.png" -trim +repage "$out/$1"
    echo "$out/$1"
}
# Positions in the window's client area, as laid out by the window. Wine takes a click
# that comes slower than xdotool's own.
click() {
    xdotool mousemove --window "$window" "$1" "$2"
    sleep 0.5
    xdotool mousedown 1
    sleep 0.2
    xdotool mouseup 1
}
export_button() { click 470 45; }
open_dialog() {
    click 25 10
    sleep 1
    click 35 32
}

start
shot 1-first-start.png
export_button
shot 2-refusal.png
xdotool key Return
stop

cp "$top/examples/ini.txt" ini.txt
cp "$top/examples/zlog-export.txt" JA1ABC-2026.txt
start
shot 3-restored.png
open_dialog
shot 4-open-dialog.png
xdotool type --delay 50 'JA1ABC-2026.txt'
xdotool key Return
sleep 3 # the dialog closes, the log is read and shown
shot 5-log-opened.png
export_button
shot 6-exported.png
stop

# What the window and the zipped command line wrote is what the Linux program writes.
(cd "$work/linux" && "$linux" convert "$top/examples/zlog-export.txt" \
    --settings "$top/examples/ini.txt" >/dev/null)
cmp JA1ABC.txt "$work/linux/JA1ABC.txt"
cmp ini.txt "$top/examples/ini.txt"
rm JA1ABC.txt
wine tornak-cabrillo.exe convert JA1ABC-2026.txt --settings ini.txt >/dev/null
cmp JA1ABC.txt "$work/linux/JA1ABC.txt"
echo "The zipped program made in its window and on its command line the Linux program's bytes."
