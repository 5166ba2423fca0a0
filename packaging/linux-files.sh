#!/bin/sh
# Generates the installed files that are made from the project's own sources, into OUTDIR:
#   changelog.gz             the Debian changelog, from NEWS
#   stelvane.1.gz            the manual page, from stelvane.1.in and description.txt
#   APPID.metainfo.xml       the AppStream metadata, from its template, description.txt and NEWS
#
#   sh packaging/linux-files.sh SOURCE_DIR OUTDIR VERSION APPID "NAME <ADDRESS>"
#
# NEWS lists the releases newest first: a line "VERSION (YYYY-MM-DD)", then items that begin with
# "  * " and go on in lines indented by four spaces; a blank line may separate releases. The first
# release must be the version being built.
set -eu

src=$1 out=$2 version=$3 appid=$4 maintainer=$5
news=$src/NEWS
description=$src/packaging/description.txt

first=$(sed -n 1p "$news")
case $first in
"$version ("????-??-??")") ;;
*)
    echo "NEWS: the first line is \"$first\"; it must be \"$version (YYYY-MM-DD)\"," \
        "the release being built" >&2
    exit 1
    ;;
esac
date=${first#"$version ("}
date=${date%")"}
mkdir -p "$out"

# Debian changelog: one entry a release, its items as they are written in NEWS.
trailer=
while IFS= read -r line; do
    case $line in
    "") ;;
    " "*) printf '%s\n' "$line" ;;
    *)
        [ -z "$trailer" ] || printf '\n%s\n\n' "$trailer"
        released=${line#*" ("}
        stamp=$(date -u -R -d "${released%")"}") || {
            echo "NEWS: no date in \"$line\"" >&2
            exit 1
        }
        printf 'stelvane (%s) stable; urgency=medium\n\n' "${line%%" "*}"
        trailer=" -- $maintainer  $stamp"
        ;;
    esac
done <"$news" >"$out/changelog"
printf '\n%s\n' "$trailer" >>"$out/changelog"
gzip -9nf "$out/changelog"

# The description's paragraphs, for the manual page and as XML.
sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/" -e 's/^$/.PP/' "$description" >"$out/description.roff"
awk '
    function esc(s) { gsub(/&/, "\\&amp;", s); gsub(/</, "\\&lt;", s); gsub(/>/, "\\&gt;", s); return s }
    function flush() { if (p != "") printf "    <p>%s</p>\n", esc(p); p = "" }
    /^$/ { flush(); next }
    { p = (p == "" ? $0 : p " " $0) }
    END { flush() }' "$description" >"$out/description.xml"
awk '
    function esc(s) { gsub(/&/, "\\&amp;", s); gsub(/</, "\\&lt;", s); gsub(/>/, "\\&gt;", s); return s }
    function item() { if (li != "") printf "          <li>%s</li>\n", esc(li); li = "" }
    function release() { item(); if (open) print "        </ul>\n      </description>\n    </release>"; open = 0 }
    /^[^ ]/ {
        release(); d = $2; gsub(/[()]/, "", d)
        printf "    <release version=\"%s\" date=\"%s\">\n      <description>\n        <ul>\n", $1, d
        open = 1; next
    }
    /^  \* / { item(); li = substr($0, 5); next }
    /^    / { sub(/^ +/, ""); li = li " " $0 }
    END { release() }' "$news" >"$out/releases.xml"

# Fills template $1: @VERSION@, @DATE@ and @APPID@ anywhere, a line @NAME@ by the file name.$2.
fill() {
    sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$date/g" -e "s/@APPID@/$appid/g" "$1" |
        awk -v dir="$out" -v ext="$2" '
            /^@[A-Z]+@$/ { f = dir "/" tolower(substr($0, 2, length($0) - 2)) "." ext;
                           while ((getline l < f) > 0) print l; close(f); next }
            { print }'
}
fill "$src/packaging/stelvane.1.in" roff >"$out/stelvane.1"
gzip -9nf "$out/stelvane.1"
fill "$src/packaging/$appid.metainfo.xml.in" xml >"$out/$appid.metainfo.xml"
