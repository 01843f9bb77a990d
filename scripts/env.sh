# Shared by the scripts: where the build lives and how Wine is started for it.
# Source it; it defines variables and functions only.

TOLVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$TOLVO_ROOT/build}
export WINEDEBUG=-all WINEARCH=win32
export LOCPATH=$BUILD_DIR/locale LC_ALL=pl_PL.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="

# The Polish locale for the C library, so that Wine reports code page 1250 and draws Polish text.
prepare_locale() {
    [ -d "$LOCPATH/pl_PL.UTF-8" ] && return
    mkdir -p "$LOCPATH"
    localedef -i pl_PL -f UTF-8 "$LOCPATH/pl_PL.UTF-8" 2>/dev/null || [ -d "$LOCPATH/pl_PL.UTF-8" ]
}

# Creates the prefix once: Wine's fonts copied in, frames drawn by Wine itself (Xvfb has no
# window manager), and the given display driver ("null" for headless tests, "x11" otherwise).
prepare_prefix() { # prefix-dir driver
    local prefix=$1 driver=$2
    [ -f "$prefix/.tolvo-ready" ] && return
    echo "Creating the Wine prefix $prefix (once; this takes a while)" >&2
    rm -rf "$prefix"
    WINEPREFIX=$prefix DISPLAY= wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wineserver -w
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
    WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null
    WINEPREFIX=$prefix wineserver -w
    touch "$prefix/.tolvo-ready"
}

# Keeps a wineserver running for the prefix so that every program start is quick.
warm_wineserver() { # prefix-dir
    WINEPREFIX=$1 wineserver -p
}
