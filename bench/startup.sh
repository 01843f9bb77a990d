#!/usr/bin/env bash
# Start-up cost of tolvo.exe, of a plain Win32 program that shows the same main window (the
# same-window floor) and of a minimal Win32 program that opens one window, alternating, RUNS times
# each (default 31), under Xvfb with a warm wineserver. Two figures each, from the same start:
# the start-up to the visible window (what the user waits for), and the whole life of start,
# show, close and exit. Prints each program's medians and the ratios of tolvo.exe's medians to
# the minimal program's and to the floor's. Run after ./scripts/test (or ./scripts/run) has built
# everything.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
use_built_tree
runs=${RUNS:-31}
start_program_display 120
probe() { wine "$BUILD_TREE/tests/probe.exe" "$@" | tr -d '\r'; }
exe() { echo "Z:$(echo "$1" | tr / '\\')"; }
tolvo=$(exe "$BUILD_TREE/src/tolvo.exe")
samewindow=$(exe "$BUILD_TREE/bench/samewindow.exe")
minimal=$(exe "$BUILD_TREE/bench/minimal.exe")
cd "$(mktemp -d)"
# One run of each program; each line of a program's file: ms to process ended, ms to the visible
# window.
time_each() {
    probe time "$tolvo" "Tolvo v1.0" >>tolvo.ms
    probe time "$samewindow" "Same window floor" >>samewindow.ms
    probe time "$minimal" "Minimal window" >>minimal.ms
}
time_each # warm the caches once
: >tolvo.ms
: >samewindow.ms
: >minimal.ms
for _ in $(seq "$runs"); do time_each; done
median() { # file field
    cut -d" " -f"$2" "$1" | sort -n |
        LC_ALL=C awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'
}
build="$(build_description)"
echo "runs each: $runs, alternating; build: $build"
# One figure: tolvo.exe's median against a reference program's, their ratio and the target.
figure() { # name value reference-value reference-program target
    LC_ALL=C awk -v t="$2" -v r="$3" -v name="$1" -v reference="$4" -v target="$5" \
        'BEGIN {printf "figure|%s (median ms)|%s|%s (%s)|%.2f|%s\n", name, t, r, reference, t / r, target}'
}
report() { # field name target-against-minimal target-against-floor
    local t s m
    t=$(median tolvo.ms "$1")
    s=$(median samewindow.ms "$1")
    m=$(median minimal.ms "$1")
    echo "$2: tolvo.exe median $t ms, samewindow.exe median $s ms, minimal.exe median $m ms"
    for program in tolvo samewindow minimal; do
        echo "  $program.exe all: $(cut -d" " -f"$1" "$program.ms" | tr '\n' ' ')"
    done
    figure "$2" "$t" "$m" minimal.exe "$3"
    figure "$2" "$t" "$s" samewindow.exe "$4"
}
report 2 "start-up to visible window" "<= 1.3" "<= 1.15"
report 1 "start to process ended" "-" "-"
