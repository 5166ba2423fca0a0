# Shared by the end-to-end tests, sourced after `work` is set: a loaded machine may be slow, so
# every step waits up to 60 s for what it needs, never a fixed time.
fail() { echo "FAIL: $*" >&2; exit 1; }
wait_for() { for _ in $(seq 600); do "$@" && return 0; sleep 0.1; done; return 1; }

# Waits for the client's window to show and take the focus; sets `window`.
await_window() {
    find_window() { window=$(xdotool search --onlyvisible --name '^Stelvane$' 2>/dev/null | head -n 1) && [ -n "$window" ]; }
    wait_for find_window || fail "the window did not appear"
    focused() { xdotool windowfocus --sync "$window" && [ "$(xdotool getwindowfocus)" = "$window" ]; }
    wait_for focused 2>/dev/null || fail "the window did not take the focus"
}

# Escape selects the Stone ID field's text and typing replaces it; Return searches and selects the
# latest report in the table, where Return opens it. A busy client may still be sliding the pages
# (the focus moves when a slide ends) or drop keys right after a search, so the step is tried again
# until the stand-in browser has written FILE.
open_latest() {
    local file=$1 delay=$2
    opens() {
        xdotool key Escape
        xdotool type --delay "$delay" GV-1001
        for _ in 1 2 3; do
            xdotool key Return
            for _ in $(seq 10); do [ -s "$file" ] && return 0; sleep 0.1; done
        done
        return 1
    }
    for _ in $(seq 20); do opens && return 0; done
    fail "the browser was not started"
}
