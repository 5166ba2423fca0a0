#!/usr/bin/env bash
# The Windows stage of the tests: builds Qt for Windows once (scripts/build-qt-windows.sh, cached
# outside the checkout), cross-builds the client and every test with MinGW-w64 and warnings as
# errors into build-windows/ (the installer package stelvane-<version>-win64.msi included), runs
# the whole CTest suite under Wine, makes the zip package and checks that the unpacked folder
# starts in a fresh Wine prefix with nothing else on its path; then installs, upgrades and removes
# the installer package in another fresh prefix (scripts/check-msi.sh). Exits non-zero when
# anything fails.
#
#   bash scripts/test-windows.sh
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"

stage() { echo "test-windows [$((SECONDS / 60))m$((SECONDS % 60))s] $*"; }

bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix cmake make wine wine64 xvfb xauth \
    xdotool x11-xkb-utils imagemagick unzip fonts-dejavu-core icoutils libqt5core5a wixl msitools \
    </dev/null

stage "Qt for Windows"
qt="$(bash scripts/build-qt-windows.sh </dev/null)"

stage "building"
rm -f build-windows/stelvane-*-win64.msi
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DSTELVANE_QT_WINDOWS="$qt" -DCMAKE_BUILD_TYPE=Release -DSTELVANE_WERROR=ON </dev/null
cmake --build build-windows -j2 </dev/null

stage "testing under Wine"
(cd build-windows && ctest --output-on-failure </dev/null)

stage "packaging"
rm -f build-windows/stelvane-*.zip
(cd build-windows && cpack -G ZIP </dev/null)
package="$(ls build-windows/stelvane-*.zip)"
ls -l "$package"

stage "starting the unpacked package in a fresh Wine prefix"
work="$(mktemp -d)"
trap 'WINEPREFIX="$work/wine" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
unzip -q "$package" -d "$work"
client="$(ls "$work"/*/stelvane.exe)"
# The notes for Windows users and the licences of what the zip bundles are beside it.
(cd "$(dirname "$client")" && ls README.txt licences/{Qt,Qt-copyright,LGPL-3,GPL-3,GCC-runtime,winpthreads}.txt)
# No WINEPATH and no Qt variables: what the client needs must be in its folder.
env -u WINEPATH WINEPREFIX="$work/wine" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all \
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        wine "$1" &
        for _ in $(seq 1 600); do
            if xdotool search --onlyvisible --name "^Stelvane$" >/dev/null 2>&1; then
                echo "The packaged client shows its window."
                wineserver -k
                exit 0
            fi
            sleep 0.1
        done
        echo "FAIL: the packaged client did not show its window" >&2
        exit 1' bash "$client"

stage "installing, upgrading and removing the installer package in a fresh Wine prefix"
ls -l build-windows/stelvane-*-win64.msi
xvfb-run -a -s "-screen 0 1280x800x24" bash scripts/check-msi.sh build-windows </dev/null
stage "done"
