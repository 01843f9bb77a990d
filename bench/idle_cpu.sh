#!/usr/bin/env bash
# Idle cost: CPU time that tolvo.exe's process uses over SECONDS_IDLE (default 10) seconds with
# its main window shown and no input, under Xvfb, and the same for the minimal Win32 program as
# the reference. Run after the program has been built.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
use_built_tree
seconds=${SECONDS_IDLE:-10}
start_program_display 140
cd "$(mktemp -d)"
probe() { wine "$BUILD_TREE/tests/probe.exe" "$@" | tr -d '\r'; }

idle_ms() { # exe title
    wine "$1" &
    local window pid before after
    window=$(probe find "$2" 30000)
    sleep 1
    pid=$(pgrep -f "$(basename "$1")" | head -1)
    ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
    before=$(ticks)
    sleep "$seconds"
    after=$(ticks)
    probe close "$window"
    wait
    LC_ALL=C awk -v b="$before" -v a="$after" -v hz="$(getconf CLK_TCK)" \
        'BEGIN {printf "%.0f", (a - b) * 1000 / hz}'
}

tolvo=$(idle_ms "$BUILD_TREE/src/tolvo.exe" "Tolvo v1.0")
minimal=$(idle_ms "$BUILD_TREE/bench/minimal.exe" "Minimal window")
echo "CPU time over $seconds s idle: tolvo.exe $tolvo ms, minimal.exe $minimal ms"
echo "figure|idle CPU over $seconds s (ms)|$tolvo|$minimal (minimal.exe)|-|< 50 ms"
