#!/usr/bin/env bash
# Installs what the build and the tests need, builds with warnings as errors and runs every test
# through CTest on the offscreen platform, then checks that the sources compile for Windows
# (scripts/check-windows.sh). Exits non-zero when anything fails.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"

bash scripts/install-deps.sh qtbase5-dev libglib2.0-dev pkg-config cmake g++ make xvfb xauth \
    xdotool x11-xkb-utils python3-xlib g++-mingw-w64-x86-64-posix </dev/null

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTELVANE_WERROR=ON </dev/null
cmake --build build -j2 </dev/null

(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure </dev/null)

bash scripts/check-package.sh </dev/null

bash scripts/check-windows.sh </dev/null
