#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it as a distribution would: lintian
# must report no error and no warning, the AppStream metadata must validate (its desktop entry
# included), and the desktop entry must pass desktop-file-validate without a word. Exits
# non-zero when any of them complains.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$repo/scripts/install-deps.sh" lintian appstream desktop-file-utils </dev/null
bash "$repo/scripts/package.sh" </dev/null
package="$(ls "$repo"/build-package/stelvane_*.deb)"

tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
dpkg-deb --extract "$package" "$tree"

echo "lintian $(basename "$package"):"
lintian --fail-on error,warning --display-info "$package"

for metainfo in "$tree"/usr/share/metainfo/*.xml; do
    appstreamcli validate --no-net "$metainfo"
done
appstreamcli validate-tree --no-net "$tree"

for entry in "$tree"/usr/share/applications/*.desktop; do
    complaints="$(desktop-file-validate "$entry" 2>&1)" || true
    if [ -n "$complaints" ]; then
        echo "desktop-file-validate: $complaints" >&2
        exit 1
    fi
done
echo "Package checks passed: lintian, appstreamcli and desktop-file-validate found nothing to fix."
