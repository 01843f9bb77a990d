#!/usr/bin/env bash
# The slowest readmes the memo still loads against a bare read and set-text, under the null
# display driver. Run after the program has been built.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
use_polish_locale
export WINEPREFIX=$BUILD_DIR/wine-null
wine "$BUILD_DIR/bench/readmeload.exe" 2>/dev/null | tr -d '\r'
