#!/usr/bin/env bash
# The test command in a scratch copy of the project: a configuration that fails half-way, then a
# source that does not compile, must each end ./scripts/test with a non-zero exit code and the
# message of CMake or of the compiler, and ctest must not run the binaries of an older build.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
tar -C "$root" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$scratch" -xf -
failed=0

# Runs the scratch copy's test command; what it printed is in $scratch/out.
run_test_command() { # description expected-message
    BUILD_DIR=$scratch/build "$scratch/scripts/test" >"$scratch/out" 2>&1
    local code=$?
    local verdict=ok
    if [ "$code" = 0 ] || ! grep -q -F "$2" "$scratch/out" || grep -q '^Test project' "$scratch/out"; then
        verdict=FAILED
        failed=$((failed + 1))
    fi
    echo "$verdict: $1 (exit code $code)"
    [ "$verdict" = ok ] || cat "$scratch/out"
}

cp "$scratch/CMakeLists.txt" "$scratch/CMakeLists.saved"
echo 'message(FATAL_ERROR "configured wrongly on purpose")' >>"$scratch/CMakeLists.txt"
run_test_command "a failed configure fails the command" "configured wrongly on purpose"

# The configure above left a cache behind: the next run must configure again, then compile.
mv "$scratch/CMakeLists.saved" "$scratch/CMakeLists.txt"
echo '#error broken on purpose' >>"$scratch/src/framework/AppLink.cpp"
run_test_command "a failed compile fails the command" "AppLink.cpp:"
grep -q -F "broken on purpose" "$scratch/out" || { echo "FAILED: the compiler's message"; failed=$((failed + 1)); }

[ "$failed" = 0 ]
