#!/usr/bin/env bash
# Compiles every source of the client for Windows in syntax-only mode, with Debian's MinGW-w64
# cross compiler against Debian's Qt 5 headers, so that the code under Q_OS_WIN (which the Linux
# build never sees) is at least parsed and type-checked. Nothing is linked or written. Exits
# non-zero when a source does not compile.
#
#   bash scripts/check-windows.sh
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"

bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix qtbase5-dev </dev/null

compiler=x86_64-w64-mingw32-g++-posix
qt="$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)"
qt="/usr/include/$qt/qt5"

# Every source of the library and the client, with the Windows half of the platform layer.
mapfile -t sources < <(find app settings catalogue reportlist openreport platform -name '*.cpp' \
    ! -name 'Platform_unix.cpp' | sort)

flags=(-std=c++17 -fsyntax-only -w
    -DQT_NO_CAST_FROM_ASCII -DQT_NO_NARROWING_CONVERSIONS_IN_CONNECT -DQT_STRICT_ITERATORS
    -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_XML_LIB -DUNICODE -D_UNICODE
    '-DSTELVANE_VERSION_TEXT="0.0.0.0"'
    -I. -I"$qt" -I"$qt/QtCore" -I"$qt/QtGui" -I"$qt/QtWidgets" -I"$qt/QtXml")

failed=0
for source in "${sources[@]}"; do
    if ! "$compiler" "${flags[@]}" "$source"; then
        echo "check-windows: $source does not compile for Windows." >&2
        failed=1
    fi
done
if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "check-windows: ${#sources[@]} sources compile for Windows."
