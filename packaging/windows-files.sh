#!/bin/sh
# Writes the documents that the Windows zip carries beside stelvane.exe into OUTDIR, with Windows
# line ends: README.txt (from packaging/README-Windows.txt) and, in licences/, the licences of
# what the zip bundles, taken from the Debian packages the build uses:
#   Qt.txt, LGPL-3.txt, GPL-3.txt   Qt: its licence, and where its source comes from with the
#                                   configure line of scripts/build-qt-windows.sh
#   Qt-copyright.txt                Debian's copyright file of that source: every part of Qt,
#                                   the libraries bundled in it included, with holders and licence
#   GCC-runtime.txt                 libstdc++ and libgcc: the GPL with the GCC Runtime Library
#                                   Exception, from the cross compiler's copyright file
#   winpthreads.txt                 libwinpthread, from the MinGW-w64 copyright file
#
#   sh packaging/windows-files.sh SOURCE_DIR OUTDIR VERSION QT_VERSION
set -eu

src=$1 out=$2 version=$3 qt_version=$4
gcc_runtime=gcc-mingw-w64-x86-64-posix-runtime
mingw=mingw-w64-x86-64-dev
mkdir -p "$out/licences"

# Fails when a file is missing or came out empty, say after a change of the Debian file it is
# taken from ($2).
need() {
    if [ ! -s "$1" ]; then
        echo "windows-files.sh: $1 is missing or empty (from $2)" >&2
        exit 1
    fi
}
crlf() { sed 's/$/\r/' "$1" >"$2"; }

sed "s/@VERSION@/$version/g" "$src/packaging/README-Windows.txt" >"$out/README.tmp"
crlf "$out/README.tmp" "$out/README.txt"
crlf /usr/share/common-licenses/LGPL-3 "$out/licences/LGPL-3.txt"
crlf /usr/share/common-licenses/GPL-3 "$out/licences/GPL-3.txt"

awk '/"\$source_dir\/configure"/ { on = 1 }
     on { line = line " " $0; if ($0 !~ /\\$/) exit }
     END { print line }' "$src/scripts/build-qt-windows.sh" |
    sed -e 's/\\//g' -e 's/.*"\$source_dir\/configure"/configure/' -e 's/"\$prefix"/<prefix>/' \
        -e 's/  */ /g' -e 's/ *$//' | fold -s -w 76 | sed 's/ *$//' >"$out/configure.tmp"
need "$out/configure.tmp" "$src/scripts/build-qt-windows.sh"
{
    echo "Qt $qt_version"
    echo
    echo "The Qt libraries and plugins in this folder (Qt5*.dll and the DLLs in"
    echo "platforms, imageformats and styles) are Qt $qt_version, copyright The Qt Company"
    echo "Ltd. and other contributors, used under the GNU Lesser General Public License"
    echo "version 3 (LGPL-3.txt, which builds on GPL-3.txt). You may replace them with"
    echo "your own build of Qt $qt_version. Qt-copyright.txt names the holders and licences"
    echo "of every part of Qt's source, the libraries bundled in it included."
    echo
    echo "Their source is Debian's qtbase-opensource-src source package, version"
    echo "$qt_version, of Debian 12 (bookworm): on Debian, \"apt-get source"
    echo "qtbase-opensource-src\" fetches it. It was built unchanged for 64-bit"
    echo "Windows with Debian's MinGW-w64 cross compiler (g++-mingw-w64-x86-64-posix),"
    echo "in a separate build folder, configured with:"
    echo
    sed 's/^/    /' "$out/configure.tmp"
    echo
    echo "followed by \"make\" and \"make install\"."
} >"$out/Qt.tmp"
crlf "$out/Qt.tmp" "$out/licences/Qt.txt"
need /usr/share/doc/libqt5core5a/copyright "Debian's libqt5core5a package"
crlf /usr/share/doc/libqt5core5a/copyright "$out/licences/Qt-copyright.txt"

copyright=/usr/share/doc/$gcc_runtime/copyright
awk '/^GCC RUNTIME LIBRARY EXCEPTION$/ { on = 1 } on { print }
     on && /requirements of the license of GCC\.$/ { exit }' "$copyright" >"$out/exception.tmp"
need "$out/exception.tmp" "$copyright"
{
    echo "libstdc++-6.dll and libgcc_s_seh-1.dll"
    echo
    echo "These are GCC's runtime libraries for Windows from Debian's package"
    echo "$gcc_runtime, version $(dpkg-query -W -f '${Version}' $gcc_runtime),"
    echo "copyright the Free Software Foundation, Inc. They are under the GNU General"
    echo "Public License, version 3 or later (GPL-3.txt), with the GCC Runtime Library"
    echo "Exception, version 3.1:"
    echo
    cat "$out/exception.tmp"
} >"$out/GCC-runtime.tmp"
crlf "$out/GCC-runtime.tmp" "$out/licences/GCC-runtime.txt"

# The paragraphs of the machine-readable copyright file about winpthreads' library (its tests
# are not in the DLL), then the licence texts that they name.
copyright=/usr/share/doc/$mingw/copyright
awk 'BEGIN { RS = "" }
     { paragraph[NR] = $0 }
     /^Files:/ && /winpthreads\// && !/tests_pthread/ {
         print $0 "\n"
         match($0, /\nLicense: [^\n]+/)
         wanted[substr($0, RSTART + 10, RLENGTH - 10)] = 1
     }
     END {
         for (i = 1; i <= NR; i++) {
             split(paragraph[i], line, "\n")
             if (line[1] ~ /^License: / && substr(line[1], 10) in wanted)
                 print paragraph[i] "\n"
         }
     }' "$copyright" >"$out/winpthreads-paragraphs.tmp"
need "$out/winpthreads-paragraphs.tmp" "$copyright"
{
    echo "libwinpthread-1.dll"
    echo
    echo "This is the POSIX threads library of MinGW-w64 from Debian's package"
    echo "$mingw, version $(dpkg-query -W -f '${Version}' $mingw). Its licences, as"
    echo "Debian's copyright file for the package states them:"
    echo
    cat "$out/winpthreads-paragraphs.tmp"
} >"$out/winpthreads.tmp"
crlf "$out/winpthreads.tmp" "$out/licences/winpthreads.txt"
rm -f "$out"/*.tmp
