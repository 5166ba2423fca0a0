#!/usr/bin/env bash
# Builds the Debian package of the client in build-package/ (Release, without the tests):
# the executable, its desktop entry and icons, with the package's dependencies computed from the
# libraries the executable links. Prints the package's path.
#
#   bash scripts/package.sh
#   apt-get install ./build-package/stelvane_*.deb
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build-package"

packages=(qtbase5-dev libglib2.0-dev pkg-config cmake g++ make dpkg-dev file desktop-file-utils)
bash "$repo/scripts/install-deps.sh" "${packages[@]}" </dev/null

desktop-file-validate "$repo"/packaging/*.desktop

# The compiler and linker flags of a Debian package build, with every hardening option.
cd "$repo"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
export CXXFLAGS="$CXXFLAGS $CPPFLAGS"

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF </dev/null
cmake --build "$build" -j2 </dev/null
rm -f "$build"/stelvane_*.deb
(cd "$build" && cpack -G DEB </dev/null)

package="$(ls "$build"/stelvane_*.deb)"
dpkg-deb --field "$package"
dpkg-deb --contents "$package"
echo "Package: $package"
