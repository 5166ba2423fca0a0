#!/usr/bin/env bash
# Runs a Windows executable of the build under Wine, as ctest's emulator:
#
#   wine-run.sh QT_PREFIX PROGRAM.exe [ARGUMENT...]
#
# Wine does not hand Qt's QT_* variables to Windows programs, so each is passed again with the
# WINE prefix that Wine strips. The Qt DLLs and the compiler's runtime DLLs are found through
# WINEPATH; Mono and Gecko are never asked for. WINEPREFIX, when set, names the Wine prefix;
# STELVANE_UNC_SHARE, when set, names a folder that Windows programs then see as //stelvane/share.
set -euo pipefail

qt="$1"
shift
runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
pthread="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")"
while IFS='=' read -r name value; do
    export "WINE$name=$value"
done < <(env | grep '^QT_' || true)
export WINEQT_FORCE_STDERR_LOGGING=1 WINEQT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu
export WINEPATH="Z:$qt/bin;Z:$runtime;Z:$pthread" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
if [ -n "${STELVANE_UNC_SHARE:-}" ]; then
    prefix="${WINEPREFIX:-$HOME/.wine}"
    if [ ! -d "$prefix/dosdevices" ]; then
        wine wineboot --init
    fi
    mkdir -p "$prefix/dosdevices/unc/stelvane" "$STELVANE_UNC_SHARE"
    ln -sfn "$STELVANE_UNC_SHARE" "$prefix/dosdevices/unc/stelvane/share"
fi
exec wine "$@"
