#!/usr/bin/env bash
# Installs what the build and the tests need, builds with warnings as errors and runs every test
# through CTest on the offscreen platform. Exits non-zero when anything fails.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"

bash scripts/install-deps.sh qtbase5-dev cmake g++ make xvfb xauth xdotool x11-xkb-utils python3-xlib </dev/null

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTELVANE_WERROR=ON </dev/null
cmake --build build -j2 </dev/null

cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure </dev/null
