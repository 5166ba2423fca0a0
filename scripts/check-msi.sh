#!/usr/bin/env bash
# The Windows installer under Wine, silently as IT deploys it, in a fresh Wine prefix: install
# (files, Start-menu shortcut, "Apps & features" entry, settings folder), start the client from the
# shortcut's target, upgrade to a newer package built here, refuse the older one, remove. The
# operators' settings file and folder must come through unchanged. Needs an X server (the client's
# window).
#
#   bash scripts/check-msi.sh BUILD_DIR
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "$1" && pwd)"
package="$(ls "$build"/stelvane-*-win64.msi)"
version="${package##*/stelvane-}" version="${version%-win64.msi}"
IFS=. read -r major minor patch tweak <<<"$version"
newer="$major.$minor.$((patch + 1)).$tweak"

work="$(mktemp -d)"
cd "$work"
unset WINEPATH
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
drive="$WINEPREFIX/drive_c"
company="$drive/Program Files/Brimlow Software"
settings="$drive/ProgramData/Brimlow Software/Stelvane/Stelvane.ini"

fail() {
    echo "FAIL: $step: $*" >&2
    exit 1
}
expect() { [ "$2" = "$3" ] || fail "$1: expected \"$2\", got \"$3\""; }
msiexec() { wine msiexec "$@" /qn /l*v msiexec.log; }
# Stelvane's "Apps & features" entries: name|publisher|version|NoModify|NoRepair, one a line.
entries() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | tr -d '\r' |
        awk -F '    ' 'function entry() { if (v["DisplayName"] == "Stelvane") print v["DisplayName"] "|" \
                           v["Publisher"] "|" v["DisplayVersion"] "|" v["NoModify"] "|" v["NoRepair"]
                           delete v }
                       /^HKEY/ { entry() } NF == 4 { v[$2] = $4 } END { entry() }'
}
shortcuts() { find "$drive" -name Stelvane.lnk; }
# Names and sizes: stripping stamps the time into each binary.
files() { (cd "$1" && find . -type f -printf '%P %s\n' | LC_ALL=C sort); }
rows() { msiinfo export older.msi "$1" | tr -d '\r' | sed 1,3d; }

step="build the packages"
cp "$package" older.msi
sh "$repo/packaging/windows-msi.sh" "$build" "$newer" newer.msi
cmake --install "$build" --prefix "$work/zip" --strip >/dev/null
wineboot --init 2>/dev/null

step="install $version"
msiexec /i older.msi || fail "msiexec /i returned $?"
expect "files" "$(files zip)" "$(files "$company/Stelvane")"
expect "Apps & features" "Stelvane|Brimlow Software|$version|0x1|0x1" "$(entries)"
expect "shortcuts" 1 "$(shortcuts | wc -l)"
# The shortcut's target as the shell link's LinkInfo holds it: a NUL-terminated local path.
target="$(tr '\0' '\n' <"$(shortcuts)" | grep -a -m1 '^[A-Z]:\\.*\.exe$' || true)"
expect "shortcut target" 'C:\Program Files\Brimlow Software\Stelvane\stelvane.exe' "$target"
[ -d "${settings%/*}" ] || fail "no settings folder ${settings%/*}"
# Wine sets no access lists: the package must hold the settings folder's (README, Installing).
expect "CreateFolder table" $'SETTINGSDIR\tSettingsFolder' "$(rows CreateFolder)"
expect "MsiLockPermissionsEx table" $'SettingsFolder\tSETTINGSDIR\tCreateFolder\tD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;FA;;;CO)(A;OICI;0x1301bf;;;BU)\t' \
    "$(rows MsiLockPermissionsEx)"

step="start the client from the shortcut's target"
wine "$target" &
timeout 60 sh -c 'until xdotool search --onlyvisible --name "^Stelvane$"; do sleep 0.1; done' \
    >/dev/null || fail "no window named Stelvane within 60 s"
wineserver -k
wait || true
printf '[General]\r\nPathToReports=//labserver/reports\r\n' | tee settings.ini >"$settings"

step="upgrade to $newer"
msiexec /i newer.msi || fail "msiexec /i returned $?"
expect "Apps & features" "Stelvane|Brimlow Software|$newer|0x1|0x1" "$(entries)"
expect "files" "$(files zip)" "$(files "$company/Stelvane")"
cmp -s settings.ini "$settings" || fail "the settings file changed"

step="refuse $version over $newer"
before="$(entries; shortcuts; find "$company" -printf '%P %s %T@\n' | sort)"
! msiexec /i older.msi || fail "msiexec /i succeeded"
grep -aq '^Property(S): WIX_DOWNGRADE_DETECTED = {' msiexec.log || fail "not refused as a downgrade"
expect "entries, shortcut and files" "$before" \
    "$(entries; shortcuts; find "$company" -printf '%P %s %T@\n' | sort)"
# Windows shows the launch condition's message; Wine's msiexec leaves it out of its log.
msiinfo export older.msi LaunchCondition | grep -q $'^NOT WIX_DOWNGRADE_DETECTED\tA newer version' ||
    fail "no message for the refusal in the LaunchCondition table"

step="remove"
msiexec /x newer.msi || fail "msiexec /x returned $?"
expect "Apps & features" "" "$(entries)"
expect "shortcuts" "" "$(shortcuts)"
[ ! -e "$company" ] || fail "$company is left: $(find "$company")"
! wine reg query 'HKLM\Software\Brimlow Software' >/dev/null 2>&1 || fail "its registry key is left"
cmp -s settings.ini "$settings" || fail "the settings file changed or went"

step="install and remove $newer without a settings file"
rm "$settings"
msiexec /i newer.msi && msiexec /x newer.msi || fail "msiexec returned $?"
[ -d "${settings%/*}" ] || fail "the empty settings folder went"
echo "The installer installs, starts, upgrades, refuses a downgrade and removes cleanly, keeping the settings."
