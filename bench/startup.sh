#!/usr/bin/env bash
# Start-up cost: start -> main window visible -> closed -> process ended, for tolvo.exe and for
# a minimal Win32 program that opens one window, alternating, RUNS times each (default 31), under
# Xvfb with a warm wineserver. Prints each program's median and the ratio of the medians.
# Run after ./scripts/test (or ./scripts/run) has built everything.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
use_built_tree
runs=${RUNS:-31}
start_program_display 120
probe() { wine "$BUILD_TREE/tests/probe.exe" "$@" | tr -d '\r'; }
exe() { echo "Z:$(echo "$1" | tr / '\\')"; }
tolvo=$(exe "$BUILD_TREE/src/tolvo.exe")
minimal=$(exe "$BUILD_TREE/bench/minimal.exe")
cd "$(mktemp -d)"
probe time "$tolvo" "Tolvo v1.0" >/dev/null # warm the caches once
probe time "$minimal" "Minimal window" >/dev/null
: >tolvo.ms
: >minimal.ms
for _ in $(seq "$runs"); do
    probe time "$tolvo" "Tolvo v1.0" | cut -d" " -f1 >>tolvo.ms
    probe time "$minimal" "Minimal window" | cut -d" " -f1 >>minimal.ms
done
median() { sort -n "$1" | LC_ALL=C awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
t=$(median tolvo.ms)
m=$(median minimal.ms)
echo "runs each: $runs"
echo "tolvo.exe   median ms: $t   (all: $(tr '\n' ' ' <tolvo.ms))"
echo "minimal.exe median ms: $m   (all: $(tr '\n' ' ' <minimal.ms))"
LC_ALL=C awk -v t="$t" -v m="$m" 'BEGIN {printf "median ratio tolvo/minimal: %.2f\n", t / m}'
LC_ALL=C awk -v t="$t" -v m="$m" \
    'BEGIN {printf "figure|start-up to visible window (median ms)|%s|%s (minimal.exe)|%.2f|<= 1.3\n", t, m, t / m}'
