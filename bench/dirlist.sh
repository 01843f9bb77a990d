#!/usr/bin/env bash
# Directory list cost against a bare enumeration, for folders of 1,000, 10,000 and 50,000
# subfolders (made once on the Wine prefix's drive C:). Run after the program has been built.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
use_built_tree
use_polish_locale
export WINEPREFIX=$BUILD_TREE/wine-null
folders=()
for count in ${COUNTS:-1000 10000 50000}; do
    folder=$WINEPREFIX/drive_c/bench-folders/$count
    if [ ! -d "$folder" ]; then
        mkdir -p "$folder"
        (cd "$folder" && seq -f 'Folder%06g' "$count" | shuf --random-source=<(yes) | xargs mkdir)
    fi
    folders+=("$(wine winepath -w "$folder" 2>/dev/null | tr -d '\r')")
done
wine "$BUILD_TREE/bench/dirlist.exe" "${folders[@]}" 2>/dev/null | tr -d '\r'
