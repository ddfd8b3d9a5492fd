#!/bin/sh
# Unpacks the zip into an empty folder and uses the program there under wine on a virtual
# display, as an entrant would: the first start and a refusal, then the entries restored, the
# open dialog, the example log opened and the Cabrillo file made, the File menu opened with
# Alt+F, a log held open by another program (hold-open.c), the guide's HTML, and the window
# at 150 % (144 DPI) on a 1024×768 screen and at 125 % on a 1366×768 one. Pictures of each step go into
# screenshots/windows/; the files the window writes, and those of the zipped command line,
# must be the Linux program's bytes, and its redirected messages code page 932.
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
# The whole screen, untrimmed, to show what fits on it.
screen() {
    sleep 2
    import -window root "$out/$1"
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
# The File menu from the keyboard, as every Windows program opens it.
xdotool key alt+f
shot 7-file-menu-alt-f.png
xdotool key Escape
# The check of the log, from the keyboard: ツール(T) › ログの確認...
xdotool key alt+t
sleep 1
xdotool key Down Return
sleep 2
shot 12-log-check.png
xdotool key Escape
stop

# A log another program holds open without sharing it, as Excel does: the refusal says so.
x86_64-w64-mingw32-gcc -O2 -o "$work/hold-open.exe" "$here/hold-open.c"
wine "$work/hold-open.exe" JA1ABC-2026.txt &
sleep 2
start
xdotool key ctrl+o
sleep 2
xdotool type --delay 50 'JA1ABC-2026.txt'
xdotool key Return
sleep 3 # the dialog closes, the file is tried
shot 8-refusal-in-use.png
xdotool key Return
stop

# What the window and the zipped command line wrote is what the Linux program writes.
(cd "$work/linux" && "$linux" convert "$top/examples/zlog-export.txt" \
    --settings "$top/examples/ini.txt" >/dev/null)
cmp JA1ABC.txt "$work/linux/JA1ABC.txt"
cmp ini.txt "$top/examples/ini.txt"
rm JA1ABC.txt
wine tornak-cabrillo.exe convert JA1ABC-2026.txt --settings ini.txt >/dev/null
cmp JA1ABC.txt "$work/linux/JA1ABC.txt"
# Redirected, the command line writes what a Japanese command prompt reads: code page 932.
if wine tornak-cabrillo.exe convert missing.txt 2>"$work/err.txt"; then exit 1; fi
iconv -f CP932 -t UTF-8 "$work/err.txt" | grep -q 'ファイル「missing.txt」を開けません'

# The guide, as the browser shows it after a double click.
wkhtmltoimage -q --width 1100 --height 1400 使い方ガイド.html "$work/guide.png" 2>/dev/null
convert "$work/guide.png" -crop 1100x1400+0+0 +repage "$out/10-guide-html.png"
echo "$out/10-guide-html.png"

# 150 % (144 DPI) on this 1024×768 screen: the window fits the screen, the form scrolls, and
# the status line stays in view. Tab walks to the log box at the bottom.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
trap 'wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
stop
start
xdotool key ctrl+o
sleep 2
xdotool type --delay 50 'JA1ABC-2026.txt'
xdotool key Return
sleep 3
screen 9-144dpi-1024x768.png
for _ in 1 2 3 4; do xdotool key Tab; done
screen 9-144dpi-1024x768-log-box.png
stop

# 125 % (120 DPI) on the usual laptop screen, 1366×768, on a second virtual display.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f >/dev/null
stop
xvfb-run -a -s "-screen 0 1366x768x24" sh -c '
    wine tornak-cabrillo.exe >/dev/null 2>&1 &
    for _ in $(seq 60); do
        xdotool search --onlyvisible --name TORNAK >/dev/null && break
        sleep 1
    done
    sleep 5
    import -window root "$1"
    wineserver -k 2>/dev/null || true' laptop "$work/laptop.png"
cp "$work/laptop.png" "$out/11-120dpi-1366x768.png"
echo "$out/11-120dpi-1366x768.png"

echo "The zipped program made in its window and on its command line the Linux program's bytes."
