#!/usr/bin/env bash
# Installs what is missing, builds the client (Release, in build/) and starts it.
#
#   bash scripts/run.sh           start on the sample catalogue of examples/
#   bash scripts/run.sh --real    start on your own settings file (also: STELVANE_REAL_SETTINGS=1)
#
# By default the client runs on a copy of the sample catalogue in build/sample/ through a settings
# file of its own, build/sample-settings/Brimlow Software/Stelvane/Stelvane.ini (PROGRAMDATA
# points at build/sample-settings), so your own settings are never read or written. That file is
# written afresh at every start; the copy of the sample is made once (delete build/sample to get
# it back as it was). Reports open in Chromium, or Firefox, when one of them is installed.
#
# With a display the client simply runs until its window is closed. Without one (DISPLAY unset,
# as on a server or in a container) it runs under a virtual X server instead: the script waits
# for the window, types the sample Stone ID GV-1001 and presses Return (not with --real), saves a
# picture of the window to stelvane-screenshot.png in the repository, closes the client and says
# where the picture is.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
screenshot="$repo/stelvane-screenshot.png"
client="$repo/build/stelvane"

# Runs inside the virtual X server: start the client, wait for its window, take the picture.
if [ "${1:-}" = "--screenshot" ]; then
    "$client" &
    pid=$!
    window=""
    for _ in $(seq 1 60); do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "The client exited before its window appeared." >&2
            exit 1
        fi
        # The toolkit makes a few helper windows too; the main window is the viewable top-level
        # window titled "Stelvane".
        for candidate in $(xwininfo -root -children 2>/dev/null | awk '/"Stelvane": \(/ { print $1 }'); do
            if xwininfo -id "$candidate" 2>/dev/null | grep -q 'IsViewable'; then
                window="$candidate"
            fi
        done
        if [ -n "$window" ]; then
            break
        fi
        sleep 0.5
    done
    if [ -z "$window" ]; then
        echo "The client's window did not appear within 30 seconds." >&2
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    # Let the first paint finish.
    sleep 2
    if [ -n "${STELVANE_TRY_STONE:-}" ]; then
        # The Stone ID field has the focus when the window opens.
        xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool type --delay 50 "$STELVANE_TRY_STONE"
        xdotool key Return
        sleep 2
    fi
    import -window "$window" "$screenshot"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    exit 0
fi

real="${STELVANE_REAL_SETTINGS:-}"
if [ "$real" = "0" ]; then
    real=""
fi
for argument in "$@"; do
    case "$argument" in
        --real) real=1 ;;
        *)
            echo "Unknown option: $argument (use --real to start on your own settings)" >&2
            exit 2
            ;;
    esac
done

export LANG="${LANG:-C.UTF-8}"

packages=(qtbase5-dev libglib2.0-dev pkg-config cmake g++ make fonts-dejavu-core)
if [ -z "${DISPLAY:-}" ]; then
    packages+=(xvfb xauth x11-utils imagemagick xdotool)
fi
bash "$repo/scripts/install-deps.sh" "${packages[@]}"

cmake -S "$repo" -B "$repo/build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$repo/build" -j2 --target stelvane

# A value in the toolkit's INI syntax: in double quotes (so commas and semicolons stay), with
# backslashes and quotes escaped, and every character outside printable ASCII written \x<hex>
# (the client reads the file without a text codec).
ini_value() {
    perl -CSA -e '
        my ($out, $escaped) = ("", 0);
        for my $c (split //, $ARGV[0]) {
            my $code = ord $c;
            if ($c eq "\\" || $c eq "\"") {
                $out .= "\\" . $c;
                $escaped = 0;
            } elsif ($code < 0x20 || $code >= 0x7f || ($escaped && $c =~ /[0-9a-fA-F]/)) {
                $out .= sprintf("\\x%x", $code);
                $escaped = 1;
            } else {
                $out .= $c;
                $escaped = 0;
            }
        }
        print "\"$out\"";' -- "$1"
}

if [ -z "$real" ]; then
    sample="$repo/build/sample"
    if [ ! -d "$sample" ]; then
        mkdir -p "$sample"
        cp -R "$repo/examples/Reports Data" "$repo/examples/Report Viewers" "$sample/"
    fi

    browser=""
    for candidate in chromium chromium-browser firefox-esr firefox; do
        if command -v "$candidate" >/dev/null 2>&1; then
            browser="$(command -v "$candidate")"
            break
        fi
    done
    arguments='--new-window "%1"'
    case "$browser" in
        # Chromium refuses to start as root unless its sandbox is switched off.
        *chromium*) [ "$(id -u)" -eq 0 ] && arguments="--no-sandbox $arguments" ;;
    esac

    export PROGRAMDATA="$repo/build/sample-settings"
    settings_dir="$PROGRAMDATA/Brimlow Software/Stelvane"
    mkdir -p "$settings_dir"
    {
        echo "[General]"
        echo "PathToViewers=$(ini_value "$sample/Report Viewers")"
        echo "PathToReports=$(ini_value "$sample/Reports Data")"
        echo "PathToBrowser=$(ini_value "$browser")"
        echo "BrowserArguments=$(ini_value "$arguments")"
    } >"$settings_dir/Stelvane.ini"

    echo "Sample catalogue: $sample (Stone IDs GV-1001, GV-1002, GV-1003, GV-2000)"
    echo "Sample settings: $settings_dir/Stelvane.ini"
    if [ -z "$browser" ]; then
        echo "No Chromium or Firefox found: reports are listed but cannot be opened" \
            "(apt-get install chromium)."
    fi
    export STELVANE_TRY_STONE="${STELVANE_TRY_STONE-GV-1001}"
else
    echo "Using your own settings file."
    export STELVANE_TRY_STONE="${STELVANE_TRY_STONE:-}"
fi

if [ -n "${DISPLAY:-}" ]; then
    exec "$client"
fi

echo "No display: starting the client under a virtual X server."
rm -f "$screenshot"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$repo/scripts/run.sh" --screenshot
if [ ! -s "$screenshot" ]; then
    echo "No screenshot was taken." >&2
    exit 1
fi
echo "The client started and closed again; a screenshot of its window is in $screenshot"
