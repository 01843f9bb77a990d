#!/usr/bin/env bash
# The test command in a scratch copy of the project: a configuration that fails half-way, then a
# source that does not compile, must each end ./scripts/test with a non-zero exit code and the
# message of CMake or of the compiler, and ctest must not run the binaries of an older build.
# The second run is made as on a machine that runs no 32-bit programs: it must pick the 64-bit
# build and configure a tree of its own, not the one the first run configured for 32 bits.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
tar -C "$root" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$scratch" -xf -
failed=0

# A machine that runs no 32-bit programs, reproduced as root: in a private mount namespace a file
# the kernel refuses ("Exec format error") stands over Wine's 32-bit loader and wineserver.
without_32bit() { # command...
    local refused=$scratch/refused
    { printf '\x7fELF\x01\x01\x01\x00'; head -c 120 /dev/zero; } >"$refused"
    chmod +x "$refused"
    unshare -m -- bash -c 'for f in /usr/lib/wine/wine /usr/lib/wine/wineserver32; do
        [ -e "$f" ] && mount --bind "$0" "$f"; done; exec "$@"' "$refused" "$@"
}

# Runs the scratch copy's test command (behind the given wrapper); what it printed is in
# $scratch/out.
run_test_command() { # description expected-message [wrapper...]
    BUILD_DIR=$scratch/build "${@:3}" "$scratch/scripts/test" >"$scratch/out" 2>&1
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
run_test_command "a failed configure fails the command" "configured wrongly on purpose" env TOLVO_ARCH=i686

# The configure above left a cache behind: the next run must configure again, then compile.
mv "$scratch/CMakeLists.saved" "$scratch/CMakeLists.txt"
echo '#error broken on purpose' >>"$scratch/src/framework/AppLink.cpp"
if [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
    run_test_command "a failed compile fails the command" "AppLink.cpp:" without_32bit env -u TOLVO_ARCH
    grep -q -F "this machine runs no 32-bit programs: testing the 64-bit build" "$scratch/out" &&
        [ "$(cat "$scratch/build/x86_64/word-size" 2>/dev/null)" = x86_64 ] ||
        { echo "FAILED: the 64-bit build in a tree of its own"; failed=$((failed + 1)); }
else
    echo "(not root: the second run uses this machine's own word size)"
    run_test_command "a failed compile fails the command" "AppLink.cpp:" env -u TOLVO_ARCH
fi
grep -q -F "broken on purpose" "$scratch/out" || { echo "FAILED: the compiler's message"; failed=$((failed + 1)); }

[ "$failed" = 0 ]
