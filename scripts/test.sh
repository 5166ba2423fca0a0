#!/usr/bin/env bash
# Installs what the build and the tests need, builds with warnings as errors and runs every test
# through CTest on the offscreen platform; then the Windows stage (scripts/test-windows.sh): the
# client and its tests cross-built for Windows and run under Wine, and the zip package checked.
# The first run builds Qt for Windows, about 13 minutes on two cores, and caches it outside the
# checkout. STELVANE_WINDOWS=0 leaves the Windows stage out. Exits non-zero when anything fails.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"

bash scripts/install-deps.sh qtbase5-dev libglib2.0-dev pkg-config cmake g++ make xvfb xauth \
    xdotool x11-xkb-utils </dev/null

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTELVANE_WERROR=ON </dev/null
cmake --build build -j2 </dev/null

(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure </dev/null)

bash scripts/check-package.sh </dev/null

if [ "${STELVANE_WINDOWS:-1}" != 0 ]; then
    bash scripts/test-windows.sh </dev/null
fi
