# Shared by the scripts: where the build lives and how Wine is started for it.
# Source it; it defines variables and functions only.

TOLVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# One build tree per word size under BUILD_DIR (build/i686, build/x86_64), each with its own Wine
# prefixes and a record of the word size it was configured for.
BUILD_DIR=${BUILD_DIR:-$TOLVO_ROOT/build}
export WINEDEBUG=-all
# Wine's own browser and .NET runtime are never needed: no install prompts when a prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

# The shipped program is a 32-bit Windows program. Some machines run no 32-bit code at all (their
# kernel refuses 32-bit programs, Wine's 32-bit loader among them): there the same sources are
# built for 64-bit Windows and run by Wine's 64-bit loader in 64-bit prefixes. Asked only once
# setup has installed Wine; TOLVO_ARCH=i686|x86_64 decides by hand.
machine_word_size() {
    case "${TOLVO_ARCH:-}" in
    i686 | x86_64) echo "$TOLVO_ARCH" ;;
    "") if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi ;;
    *) echo "TOLVO_ARCH must be i686 or x86_64, not '$TOLVO_ARCH'" >&2; return 1 ;;
    esac
}

# Chooses the build tree of the word size this machine runs and says so when that is not the
# shipped one. WHAT names what the caller does with it ("testing", "running").
use_machine_build_tree() { # what
    local arch
    arch=$(machine_word_size)
    [ "$arch" = i686 ] || [ -n "${TOLVO_ARCH:-}" ] ||
        echo "this machine runs no 32-bit programs: $1 the 64-bit build" >&2
    use_build_tree "$BUILD_DIR/$arch" "$arch"
}

# For the scripts run after a build (benchmarks): the tree their caller chose, else this machine's;
# its word size is read from the tree.
use_built_tree() {
    use_build_tree "${BUILD_TREE:-$BUILD_DIR/$(machine_word_size)}"
}

# What a benchmark measured, for its tables: the word size of the build and the machine's cores.
build_description() {
    local size=32
    [ "$TOLVO_ARCH" = i686 ] || size=64
    echo "$size-bit build ($TOLVO_ARCH), $(nproc) cores"
}

# Makes TREE the build that Wine runs: its word size (ARCH, or the one the tree was configured
# for), the loader of that word size first on PATH, the tree's locale and its prefixes' system.
use_build_tree() { # tree [arch]
    BUILD_TREE=$1
    TOLVO_ARCH=${2:-$(cat "$1/word-size")}
    export BUILD_TREE
    mkdir -p "$BUILD_TREE/wine-loader"
    local loader=/usr/lib/wine/wine
    # "wine" would take the 32-bit loader first: the 64-bit one under the same names (wine-stable
    # is the one that wineboot and winepath start).
    [ "$TOLVO_ARCH" = i686 ] || loader=/usr/lib/wine/wine64
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$BUILD_TREE/wine-loader/$name"
        chmod +x "$BUILD_TREE/wine-loader/$name"
    done
    export PATH=$BUILD_TREE/wine-loader:$PATH
    [ "$TOLVO_ARCH" = i686 ] && export WINEARCH=win32 || export WINEARCH=win64
    export LOCPATH=$BUILD_TREE/locale
}

# Polish locale for the C library, so that Wine reports code page 1250 and draws Polish text
# as on the users' systems. Every Wine command, wineserver included, runs under it.
use_polish_locale() {
    if [ ! -d "$LOCPATH/pl_PL.UTF-8" ]; then
        # Made aside and moved in whole, so that a run cut off leaves no half locale.
        mkdir -p "$LOCPATH"
        rm -rf "$LOCPATH/making"
        localedef -i pl_PL -f UTF-8 "$LOCPATH/making" 2>/dev/null || [ -d "$LOCPATH/making" ]
        mv "$LOCPATH/making" "$LOCPATH/pl_PL.UTF-8"
    fi
    # bash itself cannot load it (it sees LOCPATH only in its children): keep it quiet.
    { export LC_ALL=pl_PL.UTF-8; } 2>/dev/null
}

# Creates the prefix once: Wine's fonts copied in, frames drawn by Wine itself (Xvfb has no
# window manager), and the given display driver ("null" for headless tests, "x11" otherwise).
# A "win64" prefix is a 64-bit system, where a 32-bit program runs under the 32-bit subsystem;
# every command for it must then name that architecture. The ready mark records the architecture:
# a prefix made for another one, or not finished, is made anew.
prepare_prefix() { # prefix-dir driver [win32|win64]
    local prefix=$1 driver=$2
    local WINEARCH=${3:-$WINEARCH} WINEPREFIX=$1
    export WINEARCH WINEPREFIX
    [ "$(cat "$prefix/.tolvo-ready" 2>/dev/null)" = "$WINEARCH" ] && return
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
    echo "$WINEARCH" >"$prefix/.tolvo-ready"
}

# Configures the build tree once for its word size (again after a configure that failed half-way,
# which leaves a cache but no build system, and afresh when the tree was configured with another
# toolchain) and builds the given targets (all when none are given). A failed configure or build
# fails the command, with CMake's and the compiler's messages shown.
build_tolvo() { # [target...]
    local toolchain=$TOLVO_ROOT/cmake/mingw-$TOLVO_ARCH.cmake
    if ! grep -q -x -F "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" "$BUILD_TREE/CMakeCache.txt" 2>/dev/null; then
        rm -rf "$BUILD_TREE/CMakeCache.txt" "$BUILD_TREE/CMakeFiles" "$BUILD_TREE/Makefile"
    fi
    if [ ! -f "$BUILD_TREE/Makefile" ]; then
        mkdir -p "$BUILD_TREE"
        cmake -S "$TOLVO_ROOT" -B "$BUILD_TREE" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" >"$BUILD_TREE/cmake.log" 2>&1 ||
            { cat "$BUILD_TREE/cmake.log" >&2; return 1; }
    fi
    local targets=()
    for target in "$@"; do targets+=(--target "$target"); done
    # Only the progress lines are left out; the filter itself never fails the build.
    cmake --build "$BUILD_TREE" -j2 "${targets[@]}" 2>&1 |
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
    export WINEPREFIX=$BUILD_TREE/wine-x11
    prepare_prefix "$WINEPREFIX" x11
    start_xvfb "$1"
    trap stop_xvfb EXIT
    wineserver -p
}
