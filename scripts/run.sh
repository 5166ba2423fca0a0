#!/usr/bin/env bash
# Installs what is missing, builds the client (Release, in build/) and starts it.
#
# With a display the client simply runs until its window is closed. Without one (DISPLAY unset,
# as on a server or in a container) it runs under a virtual X server instead: the script waits
# for the window, saves a picture of it to stelvane-screenshot.png in the repository, closes the
# client and says where the picture is.
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
    import -window "$window" "$screenshot"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    exit 0
fi

export LANG="${LANG:-C.UTF-8}"

packages=(qtbase5-dev libglib2.0-dev pkg-config cmake g++ make fonts-dejavu-core)
if [ -z "${DISPLAY:-}" ]; then
    packages+=(xvfb xauth x11-utils imagemagick)
fi
bash "$repo/scripts/install-deps.sh" "${packages[@]}"

cmake -S "$repo" -B "$repo/build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$repo/build" -j2 --target stelvane

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
