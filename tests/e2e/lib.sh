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

# An Xvfb display of our own unless one was handed to us.
start_display() {
    if [ -n "${TOLVO_DISPLAY:-}" ]; then
        export DISPLAY=$TOLVO_DISPLAY
        return
    fi
    local number
    for number in $(seq 90 130); do
        [ -e /tmp/.X11-unix/X$number ] || [ -e /tmp/.X$number-lock ] || break
    done
    Xvfb :$number -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$number
    for _ in $(seq 100); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.1
    done
    trap finish EXIT
}

finish() {
    [ -n "$TOLVO_PID" ] && kill "$TOLVO_PID" 2>/dev/null
    wineserver -k 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
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
