#!/usr/bin/env bash
# The slowest readmes the memo still loads against a bare read and set-text, under the null
# display driver. Run after the program has been built.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
use_built_tree
use_polish_locale
export WINEPREFIX=$BUILD_TREE/wine-null
wine "$BUILD_TREE/bench/readmeload.exe" 2>/dev/null | tr -d '\r'
