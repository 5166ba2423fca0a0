#!/usr/bin/env bash
# Drives the real client like an operator in a virtual X server. At its first start it takes the
# desktop's default browser, whose arguments go on after the address, into the settings file; a
# setting changed on the settings page is stored; a Stone ID of the sample catalogue typed with
# Enter opens the latest report with the desktop's arguments; closing the window stores its
# geometry.
#
#   bash tests/e2e_operator.sh path/to/stelvane path/to/examples
set -euo pipefail

client=$(realpath "$1")
examples=$(realpath "$2")

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
pid=""

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to 15 seconds for a command to succeed.
wait_for() {
    for _ in $(seq 1 150); do
        if "$@"; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# A copy of the sample at a known path, so the expected address is plain text.
cp -r "$examples" "$work/sample"
cat >"$work/browser" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >"$work/arguments.tmp" && mv "$work/arguments.tmp" "$work/arguments"
SCRIPT
chmod +x "$work/browser"

export PROGRAMDATA="$work/programdata"
ini="$PROGRAMDATA/Brimlow Software/Stelvane/Stelvane.ini"
mkdir -p "$(dirname "$ini")"
cat >"$ini" <<INI
[General]
PathToViewers=$work/sample/Report Viewers
PathToReports=$work/sample/Reports Data
INI
# The desktop's default browser, as a packaged browser's entry: arguments after the address.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CONFIG_DIRS="$work/none"
export XDG_DATA_DIRS="$work/none"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications"
printf '[Default Applications]\nx-scheme-handler/http=fake.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
printf '[Desktop Entry]\nType=Application\nName=B\nExec=%s --new-window %%u @@\n' "$work/browser" \
    >"$XDG_DATA_HOME/applications/fake.desktop"

setxkbmap us
"$client" &
pid=$!

find_window() {
    window=$(xdotool search --onlyvisible --name '^Stelvane$' 2>/dev/null | head -n 1)
    [ -n "$window" ]
}
wait_for find_window || fail "the window did not appear"
sleep 1
xdotool windowfocus --sync "$window"

grep -qxF "PathToBrowser=$work/browser" "$ini" || fail "the default browser was not stored"
grep -qxF 'BrowserArguments=--new-window \"%1\" @@' "$ini" || fail "its arguments were not stored"

# The gear button is before the Stone ID field in the focus chain; the settings page slides in.
xdotool key shift+Tab
xdotool key space
sleep 1.5
# "&Timeout:" leads to its spin box; past the check box below it is OK.
xdotool key alt+t
xdotool key ctrl+a
xdotool type --delay 30 "2500"
xdotool key Tab Tab space
wait_for grep -q '^OpenReportTimeout=2500$' "$ini" || fail "the timeout was not saved"
sleep 1.5

# Escape leads to the Stone ID field; Return searches and puts the focus on the table with the
# latest report selected; Return there opens it.
xdotool key Escape
xdotool type --delay 30 "GV-1001"
xdotool key Return
sleep 0.5
xdotool key Return
wait_for test -f "$work/arguments" || fail "the browser was not started"
expected="--new-window
file://$work/sample/Report%20Viewers/2.0/index.html?dataPath=file://$work/sample/Reports%20Data/GV-1001/0003%20polished/report.js
@@"
[ "$(cat "$work/arguments")" = "$expected" ] ||
    fail "the browser got: $(cat "$work/arguments") instead of: $expected"

# A real close event, as a window manager sends it when the operator closes the window.
/usr/bin/python3 - "$window" <<'PYTHON'
import sys
from Xlib import X, display, protocol
d = display.Display()
window = d.create_resource_object('window', int(sys.argv[1]))
protocols = d.intern_atom('WM_PROTOCOLS')
delete = d.intern_atom('WM_DELETE_WINDOW')
event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                     data=(32, [delete, X.CurrentTime, 0, 0, 0]))
window.send_event(event, event_mask=X.NoEventMask)
d.flush()
PYTHON
wait_for bash -c "! kill -0 $pid 2>/dev/null" || fail "the window did not close"
wait "$pid" || fail "the client exited with an error"
pid=""
grep -q '^\[StackedWindow\]$' "$ini" || fail "the window's geometry was not stored"
grep -q '^WindowGeometry=' "$ini" || fail "WindowGeometry missing"
echo "PASS"
