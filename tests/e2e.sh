#!/usr/bin/env bash
# The real client driven by keys in a virtual X server, on a copy of the sample, as a fresh
# installation meets it: the settings file names only the two folders and the desktop's default
# web browser is a stand-in that records how it was started (on Windows, under Wine with
# cmake/wine-run.sh, a FIREFOX.EXE that the registry names as the user's choice). The default
# browser is stored at the first start and the first search opens the latest report in it. Then
# the settings page: a timeout typed and OK pressed, and at once another Stone ID typed and opened.
# Each key is sent once, so a key the client loses fails the test.
#   bash tests/e2e.sh path/to/stelvane path/to/examples
#   bash tests/e2e.sh path/to/stelvane.exe path/to/examples standin_browser.exe
set -euo pipefail
client=$(realpath "$1") examples=$(realpath "$2") browser=${3:+$(realpath "$3")}
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
work=$(mktemp -d) pid=""
trap 'kill "$pid" 2>/dev/null || true; [ -z "$browser" ] || wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A loaded machine may be slow: each step waits up to two minutes for what it needs.
wait_for() { for _ in $(seq 1200); do "$@" && return 0; sleep 0.1; done; return 1; }
cp -r "$examples" "$work/sample"
# The viewer 2.0 page with a report's data file, after "file://" and the sample's folder.
url() { echo "Report%20Viewers/2.0/index.html?dataPath=file://$2/sample/Reports%20Data/$1/report.js"; }
if [ -n "$browser" ]; then
    export WINEPREFIX="${WINEPREFIX:-$work/wine}"
    run=(bash "$(dirname "$(realpath "$0")")/../cmake/wine-run.sh" "$STELVANE_QT_WINDOWS")
    mkdir -p "$work/Web browser" && cp "$browser" "$work/Web browser/FIREFOX.EXE"
    "${run[@]}" wineboot --init
    w="Z:$work" exe="Z:${work//\//\\}\\Web browser\\FIREFOX.EXE"
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice]\r\n"ProgId"="StelvaneTestURL"\r\n\r\n[HKEY_CLASSES_ROOT\\StelvaneTestURL\\shell\\open\\command]\r\n@="\\"%s\\" -osint -url \\"%%1\\""\r\n' \
        "${exe//\\/\\\\}" >"$work/browser.reg"
    "${run[@]}" regedit /S "Z:${work//\//\\}\\browser.reg"
    ini="$WINEPREFIX/drive_c/ProgramData/Brimlow Software/Stelvane/Stelvane.ini"
    mkdir -p "$(dirname "$ini")"
    printf '[General]\r\nPathToViewers=%s\r\nPathToReports=%s\r\n' "$w/sample/Report Viewers" \
        "$w/sample/Reports Data" >"$ini"
    stored='^PathToBrowser=.*FIREFOX.EXE'
    received="$work/Web browser/commandline.txt" delay=50
    # Firefox gets three slashes before a drive letter in both parts of the address.
    line() { echo "\"$exe\"  -osint -url file:///$w/sample/$(url "$1" "/$w")"; }
else
    run=() received="$work/launches" delay=30
    printf '#!/bin/sh\necho "$*" >>"${0%%/*}/launches"\n' >"$work/browser"
    chmod +x "$work/browser"
    for v in PROGRAMDATA XDG_CONFIG_HOME XDG_DATA_HOME XDG_CONFIG_DIRS XDG_DATA_DIRS; do export "$v=$work/xdg"; done
    mkdir -m 700 "$work/run" && export XDG_RUNTIME_DIR="$work/run" 
    ini="$PROGRAMDATA/Brimlow Software/Stelvane/Stelvane.ini"
    mkdir -p "$(dirname "$ini")" "$work/xdg/applications"
    printf '[General]\nPathToViewers=%s\nPathToReports=%s\n' "$work/sample/Report Viewers" \
        "$work/sample/Reports Data" >"$ini"
    printf '[Default Applications]\nx-scheme-handler/http=b.desktop\n' >"$work/xdg/mimeapps.list"
    printf '[Desktop Entry]\nType=Application\nName=B\nExec=%s --new-window %%u @@\n' "$work/browser" \
        >"$work/xdg/applications/b.desktop"
    stored="^PathToBrowser=$work/browser\$"
    line() { echo "--new-window file://$work/sample/$(url "$1" "$work") @@"; }
fi
"${run[@]}" "$client" &
pid=$!
shown() { window=$(xdotool search --onlyvisible --name '^Stelvane$' | head -n 1) && [ -n "$window" ] &&
    xdotool windowfocus --sync "$window" && [ "$(xdotool getwindowfocus)" = "$window" ]; }
wait_for shown 2>/dev/null || fail "the window did not appear and take the focus"
wait_for grep -q "$stored" "$ini" || fail "the default browser was not stored: $(cat "$ini")"

# A Stone ID and Return search; the page pauses input for a moment after a search (a scanner
# may end an ID with two line breaks), then Return opens the selected report.
open_stone() {
    xdotool type --delay "$delay" "$1"
    xdotool key Return
    sleep 2
    xdotool key Return
}
received_is() { [ "$(cat "$received" 2>/dev/null)" = "$1" ]; }
opened() {
    expected=$(for stone in "$@"; do line "$stone"; done)
    wait_for received_is "$expected" ||
        fail "the browser got: $(cat "$received" 2>/dev/null); expected: $expected"
}
open_stone GV-1001
opened "GV-1001/0003%20polished"

# Escape, Shift+Tab: the gear button; Alt+T: "&Timeout:"; two Tabs on: OK, pressed while the page
# may still be sliding in. Escape at once: the Stone ID selected for typing over.
xdotool key Escape shift+Tab space alt+t ctrl+a
xdotool type --delay "$delay" 2500
xdotool key Tab Tab space Escape
open_stone GV-1002
wait_for grep -q '^OpenReportTimeout=2500' "$ini" || fail "the timeout was not saved"
opened "GV-1001/0003%20polished" "GV-1002/0002%20re-check%20%232"

# Started with a Stone ID and auto-open, then with another from a second process, which ends.
kill "$pid" && wait "$pid" || true
sed -i 's/^AutoFindReports=.*/AutoFindReports=true/; s/^AutoOpenLatestReport=.*/AutoOpenLatestReport=true/' "$ini"
"${run[@]}" "$client" GV-1001 &
pid=$! first="GV-1001/0003%20polished" second="GV-1002/0002%20re-check%20%232"
opened "$first" "$second" "$first"
"${run[@]}" "$client" GV-1002 || fail "the second start ended with status $?"
opened "$first" "$second" "$first" "$second"
echo PASS
