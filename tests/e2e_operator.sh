#!/usr/bin/env bash
# Drives the real client like an operator in a virtual X server, on a copy of the sample: the
# desktop's default browser (arguments after the address) is stored at the first start, a timeout
# set on the settings page is saved, and a Stone ID typed with Enter opens the latest report with
# the desktop's arguments.
#   bash tests/e2e_operator.sh path/to/stelvane path/to/examples
set -euo pipefail
client=$(realpath "$1") examples=$(realpath "$2")
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
work=$(mktemp -d) pid=""
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "$(realpath "$0")")/e2e_common.sh"
cp -r "$examples" "$work/sample"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s.tmp" && mv "%s.tmp" "%s"\n' \
    "$work/args" "$work/args" "$work/args" >"$work/browser"
chmod +x "$work/browser"
export PROGRAMDATA="$work/pd" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CONFIG_DIRS="$work/none" XDG_DATA_DIRS="$work/none"
ini="$PROGRAMDATA/Brimlow Software/Stelvane/Stelvane.ini"
mkdir -p "$(dirname "$ini")" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications"
printf '[General]\nPathToViewers=%s\nPathToReports=%s\n' "$work/sample/Report Viewers" \
    "$work/sample/Reports Data" >"$ini"
printf '[Default Applications]\nx-scheme-handler/http=b.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
printf '[Desktop Entry]\nType=Application\nName=B\nExec=%s --new-window %%u @@\n' "$work/browser" \
    >"$XDG_DATA_HOME/applications/b.desktop"

setxkbmap us
"$client" &
pid=$!
await_window
wait_for grep -qxF "PathToBrowser=$work/browser" "$ini" || fail "the default browser was not stored"
grep -qxF 'BrowserArguments=--new-window \"%1\" @@' "$ini" || fail "its arguments were not stored"

# The gear button precedes the Stone ID field; on the settings page "&Timeout:" leads to its spin
# box, and two Tabs further is OK.
xdotool key shift+Tab space alt+t ctrl+a
xdotool type --delay 30 2500
xdotool key Tab Tab space
wait_for grep -qx 'OpenReportTimeout=2500' "$ini" || fail "the timeout was not saved"

open_latest "$work/args" 30
expected="--new-window
file://$work/sample/Report%20Viewers/2.0/index.html?dataPath=file://$work/sample/Reports%20Data/GV-1001/0003%20polished/report.js
@@"
[ "$(cat "$work/args")" = "$expected" ] || fail "the browser got: $(cat "$work/args")"
echo PASS
