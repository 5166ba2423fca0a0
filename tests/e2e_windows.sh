#!/usr/bin/env bash
# The Windows client under Wine in a virtual X server: a Stone ID of the sample typed with Return
# opens the latest report, and the stand-in browser's command line is checked character for
# character. Needs cmake/wine-run.sh's STELVANE_QT_WINDOWS; a fourth argument saves a picture.
#   bash tests/e2e_windows.sh stelvane.exe standin_browser.exe path/to/examples [picture.png]
set -euo pipefail
client=$(realpath "$1") browser=$(realpath "$2") examples=$(realpath "$3")
picture=${4:+$(realpath -m "$4")}
run=(bash "$(dirname "$(realpath "$0")")/../cmake/wine-run.sh" "$STELVANE_QT_WINDOWS")
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
work=$(mktemp -d)
export WINEPREFIX="${WINEPREFIX:-$work/wine}"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$(realpath "$0")")/e2e_common.sh"
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
await_window
line="$work/Web browser/commandline.txt"
open_latest "$line" 50
ww="Z:${work//\//\\}"
expected="\"$ww\\Web browser\\browser.exe\"  --new-window file:///$w/sample/Report%20Viewers/2.0/index.html?dataPath=file://$w/sample/Reports%20Data/GV-1001/0003%20polished/report.js"
[ "$(head -n 1 "$line")" = "$expected" ] || fail "the browser's command line: $(cat "$line") instead of: $expected"
if [ -n "$picture" ]; then
    sleep 1 # the window repaints after the search
    import -window "$window" "$picture"
fi
echo PASS
