#!/usr/bin/env bash
# The real client driven by keys in a virtual X server, on a copy of the sample: a Stone ID typed
# with Enter opens the latest report in a stand-in browser. On Linux the desktop's default browser
# (arguments after the address) is stored at the first start and a timeout set on the settings
# page is saved; a Windows client runs under Wine (cmake/wine-run.sh, STELVANE_QT_WINDOWS) and its
# browser's command line is checked character for character.
#   bash tests/e2e.sh path/to/stelvane path/to/examples
#   bash tests/e2e.sh path/to/stelvane.exe path/to/examples standin_browser.exe
set -euo pipefail
client=$(realpath "$1") examples=$(realpath "$2") browser=${3:+$(realpath "$3")}
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
work=$(mktemp -d) pid=""
trap 'kill "$pid" 2>/dev/null || true; [ -z "$browser" ] || wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A loaded machine may be slow: each step waits up to 60 s for what it needs, never a fixed time.
wait_for() { for _ in $(seq 600); do "$@" && return 0; sleep 0.1; done; return 1; }
cp -r "$examples" "$work/sample"
url() { echo "Report%20Viewers/2.0/index.html?dataPath=file://$1/sample/Reports%20Data/GV-1001/0003%20polished/report.js"; }
if [ -n "$browser" ]; then
    export WINEPREFIX="${WINEPREFIX:-$work/wine}"
    run=(bash "$(dirname "$(realpath "$0")")/../cmake/wine-run.sh" "$STELVANE_QT_WINDOWS")
    mkdir -p "$work/Web browser" && cp "$browser" "$work/Web browser/browser.exe"
    "${run[@]}" wineboot --init
    ini="$WINEPREFIX/drive_c/ProgramData/Brimlow Software/Stelvane/Stelvane.ini" w="Z:$work"
    mkdir -p "$(dirname "$ini")"
    printf '[General]\r\nPathToViewers=%s\r\nPathToReports=%s\r\nPathToBrowser=%s\r\nBrowserArguments=--new-window \\"%%1\\"\r\n' \
        "$w/sample/Report Viewers" "$w/sample/Reports Data" "$w/Web browser/browser.exe" >"$ini"
    received="$work/Web browser/commandline.txt" delay=50
    expected="\"Z:${work//\//\\}\\Web browser\\browser.exe\"  --new-window file:///$w/sample/$(url "$w")"
else
    run=() received="$work/args" delay=30
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"$0.tmp" && mv "$0.tmp" "${0%%/*}/args"\n' >"$work/browser"
    chmod +x "$work/browser"
    for v in PROGRAMDATA XDG_CONFIG_HOME XDG_DATA_HOME XDG_CONFIG_DIRS XDG_DATA_DIRS; do export "$v=$work/xdg"; done
    ini="$PROGRAMDATA/Brimlow Software/Stelvane/Stelvane.ini"
    mkdir -p "$(dirname "$ini")" "$work/xdg/applications"
    printf '[General]\nPathToViewers=%s\nPathToReports=%s\n' "$work/sample/Report Viewers" \
        "$work/sample/Reports Data" >"$ini"
    printf '[Default Applications]\nx-scheme-handler/http=b.desktop\n' >"$work/xdg/mimeapps.list"
    printf '[Desktop Entry]\nType=Application\nName=B\nExec=%s --new-window %%u @@\n' "$work/browser" \
        >"$work/xdg/applications/b.desktop"
    expected=$(printf -- '--new-window\nfile://%s/sample/%s\n@@' "$work" "$(url "$work")")
fi
"${run[@]}" "$client" &
pid=$!
shown() { window=$(xdotool search --onlyvisible --name '^Stelvane$' | head -n 1) && [ -n "$window" ] &&
    xdotool windowfocus --sync "$window" && [ "$(xdotool getwindowfocus)" = "$window" ]; }
wait_for shown 2>/dev/null || fail "the window did not appear and take the focus"

if [ -z "$browser" ]; then
    wait_for grep -qxF "PathToBrowser=$work/browser" "$ini" || fail "the default browser was not stored"
    grep -qxF 'BrowserArguments=--new-window \"%1\" @@' "$ini" || fail "its arguments were not stored"
    # Shift+Tab: the gear button before the Stone ID; Alt+T: "&Timeout:"; two Tabs on: OK.
    xdotool key shift+Tab space alt+t ctrl+a
    xdotool type --delay 30 2500
    xdotool key Tab Tab space
    wait_for grep -qx 'OpenReportTimeout=2500' "$ini" || fail "the timeout was not saved"
fi

# Escape selects the Stone ID for typing over; Return searches, then opens the latest report. A busy
# client may still be sliding pages (the focus moves when a slide ends) or drop keys after a search.
opens() {
    xdotool key Escape type --delay "$delay" GV-1001
    for _ in 1 2 3; do
        xdotool key Return
        for _ in $(seq 10); do [ -s "$received" ] && return 0; sleep 0.1; done
    done
    return 1
}
for _ in $(seq 20); do opens && break; done
[ "$(head -n "$(wc -l <<<"$expected")" "$received")" = "$expected" ] ||
    fail "the browser got: $(cat "$received")"
echo PASS
