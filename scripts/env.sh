# Shared by the scripts: where the build lives and how Wine is started for it.
# Source it; it defines variables and functions only.

TOLVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$TOLVO_ROOT/build}
# The program is a 32-bit Windows program. Some virtual machines run no 32-bit code at all (their
# kernel refuses 32-bit programs, Wine's 32-bit loader among them): there the same sources are
# built for 64-bit Windows and run by Wine's 64-bit loader in 64-bit prefixes, and the tests of
# the 32-bit program on a 64-bit system (e2e64_*) are left out.
if [ -z "${TOLVO_ARCH:-}" ]; then
    if [ ! -x /usr/lib/wine/wine ] || /usr/lib/wine/wine --version >/dev/null 2>&1; then
        TOLVO_ARCH=i686
    else
        TOLVO_ARCH=x86_64
    fi
fi
export TOLVO_ARCH
if [ "$TOLVO_ARCH" = x86_64 ]; then
    export WINEARCH=win64
    # "wine" would take the 32-bit loader first: the 64-bit one, under the same name.
    mkdir -p "$BUILD_DIR/wine64-loader"
    for loader in wine wine-stable; do # wine-stable: the one wineboot and winepath start
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$BUILD_DIR/wine64-loader/$loader"
        chmod +x "$BUILD_DIR/wine64-loader/$loader"
    done
    export PATH=$BUILD_DIR/wine64-loader:$PATH
else
    export WINEARCH=win32
fi
export WINEDEBUG=-all
export LOCPATH=$BUILD_DIR/locale
# Wine's own browser and .NET runtime are never needed: no install prompts when a prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Polish locale for the C library, so that Wine reports code page 1250 and draws Polish text
# as on the users' systems. Every Wine command, wineserver included, runs under it.
use_polish_locale() {
    if [ ! -d "$LOCPATH/pl_PL.UTF-8" ]; then
        mkdir -p "$LOCPATH"
        localedef -i pl_PL -f UTF-8 "$LOCPATH/pl_PL.UTF-8" 2>/dev/null || [ -d "$LOCPATH/pl_PL.UTF-8" ]
    fi
    # bash itself cannot load it (it sees LOCPATH only in its children): keep it quiet.
    { export LC_ALL=pl_PL.UTF-8; } 2>/dev/null
}

# Creates the prefix once: Wine's fonts copied in, frames drawn by Wine itself (Xvfb has no
# window manager), and the given display driver ("null" for headless tests, "x11" otherwise).
# A "win64" prefix is a 64-bit system, where the program runs under the 32-bit subsystem; every
# command for it must then name that architecture.
prepare_prefix() { # prefix-dir driver [win32|win64]
    local prefix=$1 driver=$2
    local WINEARCH=${3:-$WINEARCH} WINEPREFIX=$1
    export WINEARCH WINEPREFIX
    [ -f "$prefix/.tolvo-ready" ] && return
    echo "Creating the Wine prefix $prefix (once; this takes a while)" >&2
    rm -rf "$prefix"
    # wineboot's exit code says little; a prefix without its Windows folder is a failed one.
    DISPLAY= wineboot -i >"$prefix.log" 2>&1 || true
    wineserver -w
    if [ ! -d "$prefix/drive_c/windows/Fonts" ]; then
        echo "The Wine prefix $prefix could not be created:" >&2
        cat "$prefix.log" >&2
        return 1
    fi
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null
    wineserver -w
    touch "$prefix/.tolvo-ready"
}

# Configures the build tree once (again after a configure that failed half-way: it leaves a
# cache but no build system) and builds the given targets (all when none are given). A failed
# configure or build fails the command, with CMake's and the compiler's messages shown.
build_tolvo() { # [target...]
    if [ ! -f "$BUILD_DIR/Makefile" ]; then
        mkdir -p "$BUILD_DIR"
        cmake -S "$TOLVO_ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$TOLVO_ROOT/cmake/mingw-$TOLVO_ARCH.cmake" >"$BUILD_DIR/cmake.log" 2>&1 ||
            { cat "$BUILD_DIR/cmake.log" >&2; return 1; }
    fi
    local targets=()
    for target in "$@"; do targets+=(--target "$target"); done
    # Only the progress lines are left out; the filter itself never fails the build.
    cmake --build "$BUILD_DIR" -j2 "${targets[@]}" 2>&1 |
        { grep -v -E '^\[ *[0-9]+%\] (Built target|Building|Linking)' || true; }
    return "${PIPESTATUS[0]}"
}

# Starts an Xvfb display of our own on the first free number from FIRST on and exports DISPLAY;
# the caller stops it with stop_xvfb (or its EXIT trap).
start_xvfb() { # [first-display-number]
    local number=${1:-99}
    while [ -e /tmp/.X11-unix/X$number ] || [ -e /tmp/.X$number-lock ]; do number=$((number + 1)); done
    Xvfb :$number -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$number
    for _ in $(seq 100); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return
        sleep 0.1
    done
}

stop_xvfb() {
    wineserver -k 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}

# The program's own display for the run command and the benchmarks: the Polish locale, the X11
# prefix, an Xvfb display from FIRST on, stopped when the script ends, and a warm wineserver.
start_program_display() { # first-display-number
    use_polish_locale
    export WINEPREFIX=$BUILD_DIR/wine-x11
    prepare_prefix "$WINEPREFIX" x11
    start_xvfb "$1"
    trap stop_xvfb EXIT
    wineserver -p
}
