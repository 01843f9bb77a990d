# Shared by the end-to-end tests: a display, the program under Wine, the probe, and checks.
# Source it with the program and the probe as $1 and $2.
set -u
TOLVO_EXE=$(realpath "$1")
PROBE_EXE=$(realpath "$2")
XDROP=$(dirname "$PROBE_EXE")/xdrop
ARTEFACTS=${TOLVO_ARTEFACTS:-/tmp/tolvo-artefacts}
mkdir -p "$ARTEFACTS"
PASSED=0
FAILED=0
TOLVO_PID=""

# The Xvfb helpers and the Wine loader of the build under test (its word size read from the
# build itself); the prefix's architecture stays the one ctest gives, when it gives one.
architecture=${WINEARCH:-}
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
use_build_tree "$(cd "$(dirname "$PROBE_EXE")/.." && pwd)"
[ -z "$architecture" ] || export WINEARCH=$architecture

# An Xvfb display of our own unless one was handed to us.
start_display() {
    if [ -n "${TOLVO_DISPLAY:-}" ]; then
        export DISPLAY=$TOLVO_DISPLAY
        return
    fi
    start_xvfb 90
    trap finish EXIT
    # A server left running by an earlier test keeps its desktop on that test's display, which is
    # gone: the program's windows would hand their activation to a desktop nobody sees.
    wineserver -k 2>/dev/null || true
}

# A Wine prefix of the test's own beside the build's (made once), a display and a warm server:
# for the tests that change the prefix's settings.
start_in_own_prefix() { # prefix-name
    export WINEPREFIX=$(cd "$(dirname "$PROBE_EXE")/.." && pwd)/$1
    prepare_prefix "$WINEPREFIX" x11
    start_display
    wineserver -p
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

# The Windows form of a Unix path, as the program sees it, and the platform's short form of that.
winpath() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
shortpath() { probe short "$(winpath "$1")"; }

# Moves the pointer over the point, lets the loop's idle step see it there, then clicks: a flat
# button reacts to a press only once it knows the pointer is over it.
click_at() { # x y
    xdotool mousemove "$1" "$2"
    sleep 0.4
    xdotool click 1
}

# Drops files and folders (Unix paths) on a point of the window given in its client coordinates,
# as a file manager does; prints "dropped", or "refused" when the window takes no drop.
drop_on() { # window x y path...
    local origin
    origin=$(value clientorigin "$(probe info "$1")")
    "$XDROP" $((${origin%,*} + $2)) $((${origin#*,} + $3)) "${@:4}"
    sleep 0.5
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

# The program's buttons: left, top, width and height in their window's client area.
OPEN_BUTTON="261 5 65 25"
UNPACK_BUTTON="261 64 65 25"
ABOUT_BUTTON="261 181 65 25"
EXIT_BUTTON="261 208 65 25"
OK_BUTTON="8 312 105 25"
MAIL_BUTTON="128 312 105 25"
WEB_BUTTON="248 312 105 25"
DESTINATION_FIELD="8 68 233 19"
DRIVE_SELECTOR="8 230 233 19"

# The destination field's text and the about window's memo text.
edit_text() { probe children "$1" | sed -n 's/^0x[0-9a-f]* TolvoTEdit //p'; }
memo_text() { probe children "$1" | sed '1s/^0x[0-9a-f]* TolvoTMemo //' | tr -d '\r'; }
is_visible() { value visible "$(probe info "$1")"; }
place() { value rect "$(probe info "$1")" | cut -d, -f1,2; }

# Takes a file in the old-style open dialog: its path typed into the name field, then Enter. The
# dialog may not be listening yet when it first shows (on a busy machine keys are lost then), so
# the path is typed again until the field holds all of it.
choose_file() { # dialog folder name
    local path="$2\\$3" _
    for _ in 1 2 3; do
        xdotool key End shift+Home
        xdotool type --delay 20 "$path"
        wait_for_text "$1" 1152 "$path" && break
    done
    xdotool key Return
    probe gone "$1" 10000 >/dev/null
}

# Waits up to 3 s until a dialog's item shows the text.
wait_for_text() { # dialog id text
    for _ in $(seq 30); do
        [ "$(probe item "$1" "$2")" = "$3" ] && return 0
        sleep 0.1
    done
    return 1
}

# Takes a file from the old-style open dialog's file list: the folder typed into the name field
# moves the dialog there, then the name, which the keyboard may not be able to type, is picked
# in the list with the arrow keys.
pick_file() { # dialog folder name
    local list index
    xdotool type --delay 20 "$2"
    xdotool key Return
    sleep 0.5
    list=$(probe children "$1" | awk '$2 == "ListBox" {print $1; exit}')
    index=$(probe items "$list" 0 100 |
        awk -v name="$3" '{n = $1; sub(/^[0-9]+ /, "")} $0 == name {print n}')
    xdotool key Tab Home
    for ((i = 0; i < index; i++)); do xdotool key Down; done
    xdotool key Return
    probe gone "$1" 5000 >/dev/null
}

# Clicks the middle of a window's child window (the first of the class).
click_child() { # window class
    local child rect
    child=$(probe children "$1" | awk -v c="$2" '$2 == c {print $1; exit}')
    rect=$(value rect "$(probe info "$child")")
    IFS=, read -r l t r b <<<"$rect"
    click_at $(((l + r) / 2)) $(((t + b) / 2))
}

# The first item below the path in the tree: the root and every folder of the path come first.
first_subfolder_top() { # path
    echo $((96 + 2 + ($(printf '%s' "$1" | tr -cd '\\' | wc -c) + 1) * 16))
}

# Makes the program the prefix's handler for mailto: and http: links, so that a link opened
# through the shell starts it with the link as its one argument.
register_url_handlers() { # windows-path-of-exe
    local scheme
    for scheme in mailto http; do
        wine reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d "\"$1\" \"%1\"" /f >/dev/null 2>&1
    done
}
