#!/bin/sh
# Reads the resources of the Windows executable back with windres: the version information
# Explorer shows (product, company, version) and the application icon with its five images.
#   sh windows_resources.sh WINDRES EXE VERSION
set -eu
resources="$("$1" --input="$2" --output-format=rc)"
for expected in '"ProductName", "Stelvane"' '"CompanyName", "Brimlow Software"' \
    "\"FileVersion\", \"$3\"" "\"ProductVersion\", \"$3\"" "FILEVERSION $(echo "$3" | sed 's/\./, /g')" \
    'RT_GROUP_ICON */' 'Has 5 elements.'; do
    printf '%s\n' "$resources" | grep -qF -- "$expected" || { echo "Not in $2: $expected"; exit 1; }
done
