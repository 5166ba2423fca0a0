#!/usr/bin/env bash
# Builds Qt 5 for 64-bit Windows from Debian's own qtbase source package with Debian's MinGW-w64
# cross compiler, once, into a cache folder outside the checkout, and prints the Qt prefix as its
# last line (progress goes to stderr, so `qt="$(bash scripts/build-qt-windows.sh)"` works).
#
#   bash scripts/build-qt-windows.sh
#
# The prefix is $STELVANE_QT_CACHE, by default ~/.cache/stelvane/qt-5.15.8-mingw64. A prefix
# holding the stamp file (written last, after a complete install) and the Network module is
# reused as it is; anything else there is a half-finished build, or one made before the client
# needed Network, and is built again. Needs root (or sudo) the first time: it
# installs the cross compiler and adds a deb-src entry for Debian bookworm main to apt's sources.
# About 13 minutes on two cores; the install is about 105 MB.
set -euo pipefail

prefix="${STELVANE_QT_CACHE:-$HOME/.cache/stelvane/qt-5.15.8-mingw64}"
stamp="$prefix/.stelvane-qt-complete"
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="${STELVANE_JOBS:-2}"

if [ -f "$stamp" ] && [ -f "$prefix/bin/Qt5Network.dll" ]; then
    echo "build-qt-windows: reusing $prefix" >&2
    echo "$prefix"
    exit 0
fi

started=$SECONDS
elapsed() { printf '%02d:%02d' $(((SECONDS - started) / 60)) $(((SECONDS - started) % 60)); }
say() { echo "build-qt-windows [$(elapsed)] $*" >&2; }

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

bash "$repo/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix g++ make perl python3 dpkg-dev \
    xz-utils </dev/null >&2

# apt-get source needs a deb-src entry; Debian's images usually carry only binary ones.
if ! apt-cache showsrc qtbase-opensource-src 2>/dev/null | grep -q '^Version: 5\.15\.8'; then
    say "adding a deb-src entry for bookworm main and updating the package lists"
    "${as_root[@]}" tee /etc/apt/sources.list.d/stelvane-debian-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update -q </dev/null >&2
fi

work="$prefix.build"
rm -rf "$work" "$prefix"
mkdir -p "$work"
log="$work/build.log"

# Runs one step with its output in the log, printing a line with the elapsed time every 30 seconds
# so a long step is visibly alive.
step() {
    local name="$1"
    shift
    say "$name"
    "$@" >>"$log" 2>&1 </dev/null &
    local pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        sleep 30 &
        wait $! || true
        if kill -0 "$pid" 2>/dev/null; then
            say "$name: $(wc -l <"$log") log lines, last: $(tail -c 100 "$log" | tail -n 1 | cut -c1-70)"
        fi
    done
    if ! wait "$pid"; then
        tail -n 40 "$log" >&2
        say "$name failed; the whole log is $log"
        exit 1
    fi
}

cd "$work"
step "fetching the qtbase source package" apt-get source -q qtbase-opensource-src
source_dir="$(ls -d "$work"/qtbase-opensource-src-*/ | head -n 1)"

mkdir -p "$work/build"
cd "$work/build"
# Debian's source lacks the bundled wintab and sqlite sources, hence the tablet and SQL switches.
step "configuring" "$source_dir/configure" -prefix "$prefix" -opensource -confirm-license -release \
    -shared -platform linux-g++ -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
    -nomake examples -nomake tests -no-opengl -no-angle -no-vulkan -no-direct2d -qt-zlib -qt-libpng \
    -qt-pcre -qt-freetype -qt-harfbuzz -no-libjpeg -no-feature-sql -no-sql-sqlite \
    -no-sql-odbc -no-dbus -no-feature-concurrent -no-feature-printer -no-feature-tabletevent -no-icu \
    -no-openssl -no-fontconfig
step "building with $jobs jobs (about 11 minutes on two cores)" make -j"$jobs"
step "installing" make install

cd /
rm -rf "$work"
date -u '+built %Y-%m-%dT%H:%M:%SZ' >"$stamp"
say "done: $(du -sh "$prefix" | cut -f1) in $prefix"
echo "$prefix"
