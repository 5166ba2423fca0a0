#!/usr/bin/env bash
# Runs a Windows executable of the build under Wine, as ctest's emulator:
#
#   wine-run.sh QT_PREFIX PROGRAM.exe [ARGUMENT...]
#
# Wine does not hand Qt's QT_* variables to Windows programs, so each is passed again with the
# WINE prefix that Wine strips. The Qt DLLs and the compiler's runtime DLLs are found through
# WINEPATH; Mono and Gecko are never asked for. WINEPREFIX, when set, names the Wine prefix;
# STELVANE_UNC_SHARE, when set, names a folder that Windows programs then see as //stelvane/share;
# STELVANE_WINE_DPI, when set, the display's DPI of a new prefix.
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
prefix="${WINEPREFIX:-$HOME/.wine}"
if [ ! -f "$prefix/system.reg" ]; then
    wine wineboot --init
    wineserver -w # the prefix is set up in full before anything is changed in it
    # Wine brings none of the Windows interface fonts, and its fallback for them here is a math
    # font whose lines are three times as high as its letters: a new prefix maps them to DejaVu
    # Sans. STELVANE_WINE_DPI sets the display's DPI as Windows keeps it (LogPixels, 96 if unset).
    reg="$(mktemp --suffix=.reg)"
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        for font in "Microsoft Sans Serif" "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" Tahoma \
            "Segoe UI" Arial; do
            printf '"%s"="DejaVu Sans"\r\n' "$font"
        done
        printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' \
            "${STELVANE_WINE_DPI:-96}"
    } >"$reg"
    wine regedit /S "Z:${reg//\//\\}"
    rm -f "$reg"
fi
if [ -n "${STELVANE_UNC_SHARE:-}" ]; then
    mkdir -p "$prefix/dosdevices/unc/stelvane" "$STELVANE_UNC_SHARE"
    ln -sfn "$STELVANE_UNC_SHARE" "$prefix/dosdevices/unc/stelvane/share"
fi
exec wine "$@"
