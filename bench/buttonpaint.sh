#!/usr/bin/env bash
# A transparent flat button repainted 1,000 times against 1,000 bare copies of the same area,
# in the main window on an Xvfb display. Run after the program has been built.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
use_built_tree
start_program_display 70
wine "$BUILD_TREE/bench/buttonpaint.exe" 2>/dev/null | tr -d '\r'
