#!/usr/bin/env bash
# Drives the Windows client like an operator, under Wine with the Windows platform plugin in a
# virtual X server: types a Stone ID of the sample catalogue, presses Return twice and checks the
# command line the stand-in browser was started with, character for character. The settings file
# is the real one of the Wine prefix, C:\ProgramData\Brimlow Software\Stelvane\Stelvane.ini.
# With a third argument it saves a picture of the window there.
#
#   bash tests/e2e_windows.sh stelvane.exe standin_browser.exe path/to/examples [picture.png]
#
# Needs cmake/wine-run.sh's variable STELVANE_QT_WINDOWS (the Qt prefix) and, optionally,
# WINEPREFIX; without one it uses a fresh prefix of its own.
set -euo pipefail

client=$(realpath "$1")
browser=$(realpath "$2")
examples=$(realpath "$3")
picture=${4:+$(realpath -m "$4")}
run=(bash "$(dirname "$(realpath "$0")")/../cmake/wine-run.sh" "$STELVANE_QT_WINDOWS")

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
fi

work=$(mktemp -d)
export WINEPREFIX="${WINEPREFIX:-$work/wine}"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to 30 seconds for a command to succeed.
wait_for() {
    for _ in $(seq 1 300); do
        if "$@"; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

cp -r "$examples" "$work/sample"
mkdir -p "$work/Web browser"
cp "$browser" "$work/Web browser/browser.exe"
"${run[@]}" wineboot --init
ini="$WINEPREFIX/drive_c/ProgramData/Brimlow Software/Stelvane/Stelvane.ini"
mkdir -p "$(dirname "$ini")"
w="Z:$work"
printf '[General]\r\nPathToViewers=%s\r\nPathToReports=%s\r\nPathToBrowser=%s\r\nBrowserArguments=%s\r\n' \
    "$w/sample/Report Viewers" "$w/sample/Reports Data" "$w/Web browser/browser.exe" \
    '--new-window \"%1\"' >"$ini"

setxkbmap us
"${run[@]}" "$client" &

find_window() {
    window=$(xdotool search --onlyvisible --name '^Stelvane$' 2>/dev/null | head -n 1)
    [ -n "$window" ]
}
wait_for find_window || fail "the window did not appear"
sleep 2
xdotool windowfocus --sync "$window"

# The Stone ID field has the focus when the window opens; Return searches and selects the
# latest report in the table, Return there opens it.
xdotool type --delay 50 "GV-1001"
xdotool key Return
sleep 1
xdotool key Return
line="$work/Web browser/commandline.txt"
wait_for test -s "$line" || fail "the browser was not started"
ww="Z:${work//\//\\}"
expected="\"$ww\\Web browser\\browser.exe\"  --new-window file:///$w/sample/Report%20Viewers/2.0/index.html?dataPath=file://$w/sample/Reports%20Data/GV-1001/0003%20polished/report.js"
[ "$(tr -d '\n' <"$line")" = "$expected" ] ||
    fail "the browser's command line was: $(cat "$line") instead of: $expected"
echo "The browser's command line: $expected"

if [ -n "$picture" ]; then
    sleep 1
    import -window "$window" "$picture"
fi
echo "PASS"
