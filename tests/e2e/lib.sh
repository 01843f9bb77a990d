# Shared by the end-to-end tests: a display, the program under Wine, the probe, and checks.
# Source it with the program and the probe as $1 and $2.
set -u
TOLVO_EXE=$(realpath "$1")
PROBE_EXE=$(realpath "$2")
ARTEFACTS=${TOLVO_ARTEFACTS:-/tmp/tolvo-artefacts}
mkdir -p "$ARTEFACTS"
PASSED=0
FAILED=0
TOLVO_PID=""

# The Xvfb helpers; the Wine environment stays the one ctest gives.
locale_path=$LOCPATH
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
export LOCPATH=$locale_path

# An Xvfb display of our own unless one was handed to us.
start_display() {
    if [ -n "${TOLVO_DISPLAY:-}" ]; then
        export DISPLAY=$TOLVO_DISPLAY
        return
    fi
    start_xvfb 90
    trap finish EXIT
}

finish() {
    [ -n "$TOLVO_PID" ] && kill "$TOLVO_PID" 2>/dev/null
    stop_xvfb
}

probe() { wine "$PROBE_EXE" "$@" 2>/dev/null | tr -d '\r'; }

# Starts the program in the given folder; its exit code lands in $ARTEFACTS/exit-code.
start_tolvo() { # folder
    rm -f "$ARTEFACTS/exit-code"
    (cd "$1" && wine "$TOLVO_EXE"; echo $? >"$ARTEFACTS/exit-code") &
    TOLVO_PID=$!
}

# Waits for the program to end and prints its exit code.
tolvo_exit_code() {
    for _ in $(seq 150); do
        [ -s "$ARTEFACTS/exit-code" ] && { cat "$ARTEFACTS/exit-code"; TOLVO_PID=""; return; }
        sleep 0.1
    done
    echo "still running"
}

# value KEY INFO: the value of KEY in the probe's key=value output.
value() { printf '%s\n' "$2" | sed -n "s/^$1=//p"; }

check() { # description expected actual
    if [ "$2" = "$3" ]; then
        PASSED=$((PASSED + 1))
        echo "ok: $1"
    else
        FAILED=$((FAILED + 1))
        echo "FAILED: $1: expected '$2', got '$3'"
    fi
}

screenshot() { import -window root "$ARTEFACTS/$1.png" 2>/dev/null; }

summary() {
    echo "$PASSED passed, $FAILED failed"
    [ "$FAILED" = 0 ]
}

# The Windows form of a Unix path, as the program sees it.
winpath() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# Moves the pointer over the point, lets the loop's idle step see it there, then clicks: a flat
# button reacts to a press only once it knows the pointer is over it.
click_at() { # x y
    xdotool mousemove "$1" "$2"
    sleep 0.4
    xdotool click 1
}

# Clicks the middle of a rectangle given in the window's client coordinates.
click_client() { # window left top width height
    local origin
    origin=$(value clientorigin "$(probe info "$1")")
    click_at $((${origin%,*} + $2 + $4 / 2)) $((${origin#*,} + $3 + $5 / 2))
}

# Waits until the file exists and is no longer growing.
wait_for_file() { # file
    for _ in $(seq 100); do
        [ -s "$1" ] && { sleep 0.2; return 0; }
        sleep 0.1
    done
    return 1
}

# A value from the stand-in archiver's record, in UTF-8.
record_value() { # key file
    iconv -f CP1250 -t UTF-8 "$2" | tr -d '\r' | sed -n "s/^$1=//p" | tail -1
}

# Makes the program the prefix's handler for mailto: and http: links, so that a link opened
# through the shell starts it with the link as its one argument.
register_url_handlers() { # windows-path-of-exe
    local scheme
    for scheme in mailto http; do
        wine reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d "\"$1\" \"%1\"" /f >/dev/null 2>&1
    done
}
