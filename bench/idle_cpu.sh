#!/usr/bin/env bash
# Idle cost: CPU time that tolvo.exe's process uses over SECONDS (default 10) seconds with its
# main window shown and no input, under Xvfb. Run after the program has been built.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
seconds=${SECONDS_IDLE:-10}
start_program_display 140
cd "$(mktemp -d)"
wine "$BUILD_DIR/src/tolvo.exe" &
main=$(wine "$BUILD_DIR/tests/probe.exe" find "Tolvo v1.0" 30000 | tr -d '\r')
sleep 1
pid=$(pgrep -f 'tolvo\.exe' | head -1)
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
echo "process $pid: $(tr "\0" " " < /proc/$pid/cmdline), CPU ticks since start: $(ticks)"
before=$(ticks)
sleep "$seconds"
after=$(ticks)
hz=$(getconf CLK_TCK)
LC_ALL=C awk -v b="$before" -v a="$after" -v hz="$hz" -v s="$seconds" \
    'BEGIN {printf "tolvo.exe CPU time over %d s idle: %.0f ms\n", s, (a - b) * 1000 / hz}'
wine "$BUILD_DIR/tests/probe.exe" close "$main"
wait %2 2>/dev/null || true
