#!/usr/bin/env bash
# Installs the given Debian packages, but only those that are not installed yet, so that running
# it again costs no more than a few dpkg look-ups. The package lists are updated once, and only
# when something has to be installed. It waits for another apt run to release its lock.
#
#   bash scripts/install-deps.sh PACKAGE...
set -euo pipefail

missing=()
for package in "$@"; do
    if ! dpkg -s "$package" >/dev/null 2>&1; then
        missing+=("$package")
    fi
done

if [ "${#missing[@]}" -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "Missing packages: ${missing[*]}; install them as root (apt-get install ${missing[*]})." >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update -q </dev/null
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}" </dev/null
