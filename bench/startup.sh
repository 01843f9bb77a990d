#!/usr/bin/env bash
# Start-up cost of tolvo.exe and of a minimal Win32 program that opens one window, alternating,
# RUNS times each (default 31), under Xvfb with a warm wineserver. Two figures each, from the
# same start: the start-up to the visible window (what the user waits for), and the whole life
# of start, show, close and exit. Prints each program's medians and the ratios of the medians.
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
# Each line: ms to process ended, ms to the visible window.
for _ in $(seq "$runs"); do
    probe time "$tolvo" "Tolvo v1.0" >>tolvo.ms
    probe time "$minimal" "Minimal window" >>minimal.ms
done
median() { # file field
    cut -d" " -f"$2" "$1" | sort -n |
        LC_ALL=C awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'
}
build="$(build_description)"
echo "runs each: $runs, alternating; build: $build"
report() { # field name target
    local t m
    t=$(median tolvo.ms "$1")
    m=$(median minimal.ms "$1")
    echo "$2: tolvo.exe median $t ms, minimal.exe median $m ms"
    echo "  tolvo.exe all: $(cut -d" " -f"$1" tolvo.ms | tr '\n' ' ')"
    echo "  minimal.exe all: $(cut -d" " -f"$1" minimal.ms | tr '\n' ' ')"
    LC_ALL=C awk -v t="$t" -v m="$m" -v name="$2" -v target="$3" \
        'BEGIN {printf "figure|%s (median ms)|%s|%s (minimal.exe)|%.2f|%s\n", name, t, m, t / m, target}'
}
report 2 "start-up to visible window" "<= 1.3"
report 1 "start to process ended" "-"
