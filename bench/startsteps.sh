#!/usr/bin/env bash
# Where the start-up time goes: the program's start-up sequence step by step (startsteps.exe)
# beside the minimal program's (minimal.exe steps) and the same-window floor's (samewindow.exe
# steps), alternating, RUNS times each (default 11), under Xvfb with a warm wineserver. Each is
# started by the probe as the start-up benchmark starts the program, and timed from the same
# moment: the probe's call that creates it. Prints the median of every step, and the libraries
# the program imports. Run after the program has been built.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
use_built_tree
runs=${RUNS:-11}
start_program_display 130
cd "$(mktemp -d)"
exe() { echo "Z:$(echo "$BUILD_TREE/bench/$1" | tr / '\\')"; }
steps() { wine "$BUILD_TREE/tests/probe.exe" launch "$(exe "$1")" "${@:2}" 2>/dev/null | tr -d '\r'; }
# One run of each program, its steps added to its file.
steps_of_each() {
    steps startsteps.exe >>tolvo.steps
    steps minimal.exe steps >>minimal.steps
    steps samewindow.exe steps >>samewindow.steps
}
steps_of_each # warm the caches once
rm ./*.steps
for _ in $(seq "$runs"); do steps_of_each; done
echo "imports of tolvo.exe: $($TOLVO_ARCH-w64-mingw32-objdump -p "$BUILD_TREE/src/tolvo.exe" | awk '/DLL Name:/ {printf "%s ", $3}')"
echo "start-up steps, median ms of $runs runs (tolvo | minimal program | same-window floor); $(build_description):"
# Medians by step name: the program's steps in their order, the other two programs' beside them,
# then the floor's steps the program has not.
LC_ALL=C awk -F'|' '
    { key = FILENAME SUBSEP $1; if (!(key in count)) order[FILENAME, ++steps[FILENAME]] = $1
      value[key, ++count[key]] = $2 }
    function median(key,    n, i, j, t, x) { if (!(key in count)) return "-"; n = count[key]
        for (i = 1; i <= n; i++) x[i] = value[key, i]
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (x[j] < x[i]) { t = x[i]; x[i] = x[j]; x[j] = t }
        return sprintf("%.1f", x[int((n + 1) / 2)]) }
    function row(s) { printf "step|%s|%s|%s|%s\n", s, median("tolvo.steps" SUBSEP s),
            median("minimal.steps" SUBSEP s), median("samewindow.steps" SUBSEP s) }
    END { for (i = 1; i <= steps["tolvo.steps"]; i++) row(order["tolvo.steps", i])
        for (i = 1; i <= steps["samewindow.steps"]; i++) { s = order["samewindow.steps", i]
            if (!(("tolvo.steps" SUBSEP s) in count)) row(s) } }
' tolvo.steps minimal.steps samewindow.steps
