#!/bin/sh
# Makes the Windows Installer package of a Windows build folder: stages in a temporary folder what
# the install rules install (the files of the zip), lists them as components with wixl-heat and
# compiles packaging/stelvane.wxs with that list with wixl (Debian's msitools). The build runs it
# for the project's version; the installer test (scripts/check-msi.sh) runs it for a newer one.
#
#   sh packaging/windows-msi.sh BUILD_DIR VERSION OUTPUT.msi
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
version=$2
out="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! cmake --install "$build" --prefix "$work/files" --strip >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    exit 1
fi
cp "$build/stelvane.ico" "$work/"
cd "$work"

# Each folder's files together, the top folder's first: wixl-heat opens a folder per run of files.
(cd files && find . -maxdepth 1 -type f | LC_ALL=C sort && find . -mindepth 2 -type f | LC_ALL=C sort) |
    sed 's|^\./|files/|' |
    wixl-heat --prefix files/ --directory-ref INSTALLDIR --component-group Files --var var.Files \
        --win64 >files.wxs
wixl --arch x64 -D Version="$version" -D Files=files -D Icon=stelvane.ico -D Win64=yes \
    --output stelvane.msi "$here/stelvane.wxs" files.wxs

# Windows Installer ignores a version's fourth number: without this, a package that differs only
# there would be installed beside the other one (two entries, shared files). The upgrade row of
# the Upgrade table takes its maximum too (513: migrate features, maximum inclusive), so such a
# package replaces the installed one, whichever of the two is newer.
msiinfo export stelvane.msi Upgrade |
    awk 'BEGIN { FS = OFS = "\t" } $7 ~ /^WIX_UPGRADE_DETECTED\r?$/ { $5 = 513 } 1' >Upgrade.idt
msibuild stelvane.msi -i Upgrade.idt

# The settings folder (packaging/stelvane.wxs): its component is permanent (attribute 16), so
# neither removal nor an upgrade takes the folder away. Its access list, in SDDL (table
# MsiLockPermissionsEx, which Windows Installer 5, the package's InstallerVersion, applies when it
# installs the component), replaces the one the folder would inherit from ProgramData (P,
# protected), where each file belongs to its creator and the other users may only read it:
# SYSTEM (SY) and Administrators (BA) full control as before, CREATOR OWNER (CO) full control of
# what its creator adds, and the Users group (BU) modify (0x1301bf), on the folder and, inherited
# (OI, CI), on the files created in it. Unlike the LockPermissions table, SDDL carries these
# inheritance flags and names the groups by SID, not by names that differ with the language of
# Windows. A package may not hold both tables.
msiinfo export stelvane.msi Component |
    awk 'BEGIN { FS = OFS = "\t" } $1 == "SettingsFolder" { $4 += 16 } 1' >Component.idt
msibuild stelvane.msi -i Component.idt
sddl='D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;FA;;;CO)(A;OICI;0x1301bf;;;BU)'
printf '%s\t%s\t%s\t%s\t%s\r\n' MsiLockPermissionsEx LockObject Table SDDLText Condition \
    s72 s72 s32 s0 S255 >MsiLockPermissionsEx.idt
printf '%s\t%s\r\n' MsiLockPermissionsEx MsiLockPermissionsEx >>MsiLockPermissionsEx.idt
printf '%s\t%s\t%s\t%s\t\r\n' SettingsFolder SETTINGSDIR CreateFolder "$sddl" >>MsiLockPermissionsEx.idt
msibuild stelvane.msi -i MsiLockPermissionsEx.idt
mv stelvane.msi "$out"
