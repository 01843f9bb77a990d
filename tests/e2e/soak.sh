#!/usr/bin/env bash
# A long run of random real input: clicks anywhere on every window of the program and on every
# dialog it opens, double-clicks in the directory list, drive choices and keys, dialogs answered
# as they come. INPUTS (default 300) inputs, drawn from SEED (default 1). The program must answer
# an empty message within 10 s after every input, its GDI and USER objects and kernel handles
# must stay within 10 % of their count after the first 100 inputs, and "Wyjdź" ends it with 0.
# It runs in a Wine prefix of its own whose only drives are c: and d:, a folder of fixtures, with
# the stand-in archiver as the handler of mail and web links.
source "$(dirname "$0")/lib.sh"
INPUTS=${INPUTS:-300}
SEED=${SEED:-1}
RANDOM=$SEED
BUILD=$(cd "$(dirname "$PROBE_EXE")/.." && pwd)
export WINEPREFIX=$BUILD/wine-soak
DRIVE_D=$BUILD/soak-drive
PROGRAM_DIR=$WINEPREFIX/drive_c/tolvo
LOG=$ARTEFACTS/soak.log
HTCLIENT=1 HTSYSMENU=3 HTMINBUTTON=8 HTCLOSE=20

# The drives hold fixtures only: c: stays (Wine needs it), every other drive goes, d: is ours.
prepare_soak_prefix() {
    prepare_prefix "$WINEPREFIX" x11
    [ -f "$WINEPREFIX/.tolvo-soak-ready" ] && return
    find "$WINEPREFIX/dosdevices" -maxdepth 1 -name '?:*' ! -name 'c:' -exec rm -f {} +
    ln -s "$DRIVE_D" "$WINEPREFIX/dosdevices/d:"
    register_url_handlers 'C:\tolvo\ace32.exe'
    wineserver -w
    touch "$WINEPREFIX/.tolvo-soak-ready"
}

make_fixtures() {
    rm -rf "$DRIVE_D" "$PROGRAM_DIR"
    mkdir -p "$DRIVE_D/Archiwa/Stare" "$DRIVE_D/Dokumenty/Zażółć/Gęślą jaźń" \
        "$DRIVE_D/Dokumenty/Łódź" "$DRIVE_D/Muzyka/Chopin" "$DRIVE_D/Projekty/Tolvo/Źródła" \
        "$DRIVE_D/Pusty" "$PROGRAM_DIR"
    printf 'Tolvo\r\nrozpakowuje archiwa.\r\n' >"$DRIVE_D/readme.txt"
    printf 'Dokumenty: plik readme\nz samymi LF\n' >"$DRIVE_D/Dokumenty/readme.txt"
    echo "not an archive" >"$DRIVE_D/Archiwa/TEST.ACE"
    cp "$TOLVO_EXE" "$PROBE_EXE" "$(dirname "$PROBE_EXE")/ace32.exe" "$PROGRAM_DIR/"
}

fail() {
    echo "FAILED: $*"
    screenshot soak-failure
    exit 1
}

# The probe runs as one process for the whole soak; ask sends it a command and leaves the
# answer's lines in ANSWER and its exit code in ANSWER_CODE.
start_probe_session() {
    coproc PROBE_SESSION { wine "$PROGRAM_DIR/probe.exe" session 2>>"$ARTEFACTS/soak-probe.err"; }
}
ask() {
    local line
    ANSWER=()
    echo "$*" >&"${PROBE_SESSION[1]}"
    while IFS= read -r -t 60 line <&"${PROBE_SESSION[0]}"; do
        line=${line%$'\r'}
        if [[ $line == =* ]]; then
            ANSWER_CODE=${line#=}
            return
        fi
        ANSWER+=("$line")
    done
    fail "the probe stopped answering ($*)"
}

random() { echo $((RANDOM % $1)); }
tenths() { echo "$(($1 / 10)).$(($1 % 10))"; }
note() { echo "input $INPUT: $*" >>"$LOG"; }

# The visible windows of the program, topmost first, as "handle class left top right bottom".
read_windows() {
    ask windows "$MAIN"
    [ "$ANSWER_CODE" = 0 ] || fail "the program ended at input $INPUT (exit code $(tolvo_exit_code))"
    WINDOWS=("${ANSWER[@]}")
}
first_window_of() { # class...
    local entry class wanted
    for entry in "${WINDOWS[@]}"; do
        class=$(cut -d' ' -f2 <<<"$entry")
        for wanted in "$@"; do [ "$class" = "$wanted" ] && { echo "$entry"; return; }; done
    done
}

# The program's own way out is "Wyjdź", clicked at the end; random input leaves alone what
# would end the program before that: the main window's close box, minimise box and system menu,
# and the "Wyjdź" button (261, 208, 65 x 25 in its client area). They are left alone even where
# another window covers them: Wine's X11 driver raises a clicked window above a stay-on-top one
# on the screen while the program's own order keeps it below, so what the mouse reaches there
# is the X server's choice.
allowed_point() { # x y
    ask hit "$MAIN" "$1" "$2"
    [ "$ANSWER_CODE" = 0 ] || return 1
    local part cx cy
    read -r part cx cy <<<"${ANSWER[0]}"
    case $part in $HTCLOSE | $HTMINBUTTON | $HTSYSMENU) return 1 ;; esac
    ! { [ "$part" = $HTCLIENT ] && ((cx >= 259 && cx < 328 && cy >= 206 && cy < 235)); }
}

# A random point inside the window entry that random input may click; empty when none found.
random_point() { # "handle class left top right bottom"
    local handle class left top right bottom x y
    read -r handle class left top right bottom <<<"$1"
    for _ in 1 2 3 4 5 6 7 8; do
        x=$((left + $(random $((right - left)))))
        y=$((top + $(random $((bottom - top)))))
        allowed_point "$x" "$y" && { echo "$x $y"; return; }
    done
}

# A click, two times in three after the pointer rested there long enough for a flat button to
# notice it; one time in six a double-click.
click_somewhere() { # "handle class left top right bottom"
    local point
    point=$(random_point "$1")
    [ -n "$point" ] || return
    local rest=$(($(random 3) != 0)) clicks=$(($(random 6) == 0 ? 2 : 1))
    note "$clicks click(s) at $point on ${1%% *}, rest $rest"
    xdotool mousemove ${point% *} ${point#* }
    ((rest)) && sleep 0.35
    xdotool click --repeat $clicks --delay 60 1
}

# Half of the clicks on a program window aim at the strip where its flat buttons live: the side
# picture of the main window, the bottom row of the about window (in client coordinates).
aim() { # "handle class left top right bottom"
    local handle class strip origin left top right bottom
    read -r handle class _ <<<"$1"
    case $class in
    TolvoTForm1) strip="257 0 333 257" ;;
    TolvoTForm3) strip="0 304 368 345" ;;
    esac
    if [ -z "${strip:-}" ] || (($(random 2))); then
        echo "$1"
        return
    fi
    ask info "$handle"
    origin=$(printf '%s\n' "${ANSWER[@]}" | sed -n 's/^clientorigin=//p' | tr , ' ')
    read -r left top right bottom <<<"$strip"
    echo "$handle $class $((${origin% *} + left)) $((${origin#* } + top))" \
        "$((${origin% *} + right)) $((${origin#* } + bottom))"
}

# Keys anywhere: the ones a user presses in lists, fields, combo boxes and dialogs. Alt+F4 only
# where it closes a dialog or the about window, never the program.
KEYS=(Tab shift+Tab Up Down Left Right Home End Prior Next Return Escape space BackSpace Delete
    a k z 1 backslash period colon ctrl+a ctrl+c ctrl+v shift+Down)
press_key() {
    local key=${KEYS[$(random ${#KEYS[@]})]}
    if (($(random 12) == 0)); then
        ask foreground
        [[ ${ANSWER[0]} == *" #32770" || ${ANSWER[0]} == *" TolvoTMessageForm" ||
            ${ANSWER[0]} == *" TolvoTForm3" ]] && key=alt+F4
    fi
    note "key $key"
    xdotool key "$key"
}

# The directory list: a double-click on a random row; the drive selector: opened by a click.
child_rect() { # class-fragment
    local handle rest
    ask children "$MAIN"
    read -r handle rest < <(printf '%s\n' "${ANSWER[@]}" | grep " Tolvo[A-Za-z]*$1")
    [ -n "$handle" ] || return
    ask info "$handle"
    printf '%s\n' "${ANSWER[@]}" | sed -n 's/^rect=//p' | tr , ' '
}
double_click_list() {
    local left top right bottom
    read -r left top right bottom <<<"$(child_rect DirectoryListBox)"
    [ -n "$bottom" ] || return
    note "double-click in the list"
    xdotool mousemove $((left + 10 + $(random $((right - left - 30))))) \
        $((top + 3 + $(random $((bottom - top - 6))))) click --repeat 2 --delay 60 1
}
open_drive_selector() {
    local left top right bottom
    read -r left top right bottom <<<"$(child_rect DriveComboBox)"
    [ -n "$bottom" ] || return
    note "drive selector"
    xdotool mousemove $((left + $(random $((right - left))))) $(((top + bottom) / 2)) click 1
}

# A dialog gets random input for a while; then Escape, then Alt+F4, then, should it still be
# there, it is closed by a message, so that no dialog can hold up the run.
DIALOG="" DIALOG_INPUTS=0 FORCED_CLOSES=0
declare -A DIALOG_KINDS=()
note_dialog() { # entry
    local handle class title
    read -r handle class _ <<<"$1"
    [ "$handle" = "$DIALOG" ] && return
    DIALOG=$handle DIALOG_INPUTS=0
    ask info "$handle"
    title=$(printf '%s\n' "${ANSWER[@]}" | sed -n 's/^title=//p')
    ask item "$handle" 65535
    local kind="$class \"$title\" ${ANSWER[0]:+\"${ANSWER[0]}\"}"
    echo "input $INPUT: $kind" >>"$LOG"
    if [ -z "${DIALOG_KINDS[$kind]:-}" ]; then
        screenshot "soak-dialog-${#DIALOG_KINDS[@]}"
    fi
    DIALOG_KINDS[$kind]=$((${DIALOG_KINDS[$kind]:-0} + 1))
}
input_on_dialog() { # entry
    note_dialog "$1"
    DIALOG_INPUTS=$((DIALOG_INPUTS + 1))
    if ((DIALOG_INPUTS > 16)); then
        fail "a dialog does not close: $1"
    elif ((DIALOG_INPUTS > 12)); then
        note "dialog closed by a message"
        ask close "${1%% *}"
        FORCED_CLOSES=$((FORCED_CLOSES + 1))
    elif ((DIALOG_INPUTS > 10)); then
        note "key alt+F4 for the dialog"
        xdotool key alt+F4
    elif ((DIALOG_INPUTS > 8)); then
        note "key Escape for the dialog"
        xdotool key Escape
    else
        case $(random 10) in
        0 | 1) press_key ;;
        2) click_somewhere "${WINDOWS[$(random ${#WINDOWS[@]})]}" ;;
        *) click_somewhere "$1" ;;
        esac
    fi
}

# The run first does once what the platform answers with things it makes on first use and keeps
# (the open dialog's pictures, the sound of the error box, the about window's memo, the shell's
# link handling), so that they are there before the counts after input 100. It starts in a
# folder without a readme: "O programie" (the error box), "Otwórz", "Rozpakuj" (the warning),
# a double-click on the list's first row (the root, which has a readme), "O programie" again,
# then the row of the about window where its buttons live. Client points; the last number is
# the number of clicks.
TOUR=("TolvoTForm1 293 193 1" "TolvoTForm1 293 17 1" "TolvoTForm1 293 76 1"
    "TolvoTForm1 60 106 2" "TolvoTForm1 293 193 1"
    "TolvoTForm3 180 324 1" "TolvoTForm3 300 324 1" "TolvoTForm3 60 324 1")
tour_click() {
    local class x y clicks window origin
    read -r class x y clicks <<<"${TOUR[0]}"
    TOUR=("${TOUR[@]:1}")
    window=$(first_window_of "$class")
    [ -n "$window" ] || return 1
    ask info "${window%% *}"
    origin=$(printf '%s\n' "${ANSWER[@]}" | sed -n 's/^clientorigin=//p')
    note "tour: $clicks click(s) at $x $y in $class"
    xdotool mousemove $((${origin%,*} + x)) $((${origin#*,} + y))
    sleep 0.4
    xdotool click --repeat "$clicks" --delay 60 1
}

one_input() {
    local modal dropdown menu
    read_windows
    menu=$(first_window_of "#32768")
    modal=$(first_window_of "#32770" TolvoTMessageForm)
    dropdown=$(first_window_of ComboLBox)
    while [ -z "$menu$modal" ] && ((${#TOUR[@]})); do
        tour_click && return
    done
    if [ -n "$menu" ]; then
        note "key Escape for the menu"
        xdotool key Escape
    elif [ -n "$modal" ]; then
        input_on_dialog "$modal"
    elif [ -n "$dropdown" ] && (($(random 10) < 7)); then
        click_somewhere "$dropdown"
    else
        case $(random 20) in
        0 | 1 | 2) double_click_list ;;
        3 | 4) open_drive_selector ;;
        5 | 6 | 7 | 8) press_key ;;
        *) click_somewhere "$(aim "${WINDOWS[$(random ${#WINDOWS[@]})]}")" ;;
        esac
    fi
}

# The slowest answer to an empty message after an input, in tenths of a millisecond.
SLOWEST=0 SLOWEST_AT=0
wait_for_answer() {
    sleep 0.05
    ask ping "$MAIN"
    [ "$ANSWER_CODE" = 0 ] || fail "no answer within 10 s after input $INPUT"
    local tenths=${ANSWER[0]/./}
    ((10#$tenths > SLOWEST)) && SLOWEST=$((10#$tenths)) SLOWEST_AT=$INPUT
}

# Object counts are compared when no dialog or drop-down list is up: those hold objects of
# their own while they are shown.
quiet() {
    read_windows
    [ -z "$(first_window_of "#32770" TolvoTMessageForm ComboLBox "#32768")" ]
}
counts() { ask resources "$MAIN"; echo "${ANSWER[0]#*=} ${ANSWER[1]#*=} ${ANSWER[2]#*=}"; }
BASE="" BASE_AT=0 WORST=0
compare_counts() {
    local now=($(counts)) base=($BASE) i name
    echo "input $INPUT: gdi user handles = ${now[*]}" >>"$LOG"
    for i in 0 1 2; do
        local change=$(((now[i] - base[i]) * 1000 / base[i]))
        ((${change#-} > WORST)) && WORST=${change#-}
        if ((${change#-} > 100)); then
            name=$(cut -d' ' -f$((i + 1)) <<<"GDI USER handles")
            fail "$name count ${now[i]} at input $INPUT, ${base[i]} after input $BASE_AT"
        fi
    done
}
check_counts() {
    if [ -z "$BASE" ]; then
        ((INPUT >= 100)) && quiet && BASE=$(counts) BASE_AT=$INPUT NEXT_CHECK=$((INPUT + 50)) &&
            screenshot soak-input-100 && echo "baseline after input $INPUT: $BASE" >>"$LOG"
    elif ((INPUT >= NEXT_CHECK)) && quiet; then
        compare_counts
        NEXT_CHECK=$((INPUT + 50))
    fi
}

# Every dialog answered, the drop-down closed and the about window hidden by its close box, so
# that nothing covers "Wyjdź". A drop-down list or a menu is only ever closed by Escape: a
# message asking it to close would destroy it.
settle() {
    for _ in $(seq 20); do
        read_windows
        local modal=$(first_window_of "#32770" TolvoTMessageForm)
        [ -z "$modal$(first_window_of "#32768" ComboLBox)" ] && break
        [ -n "$modal" ] && ask close "${modal%% *}"
        xdotool key Escape
        sleep 0.3
    done
    quiet || fail "the dialogs do not close"
    local about=$(first_window_of TolvoTForm3)
    if [ -n "$about" ]; then
        ask closebox "${about%% *}"
        click_at ${ANSWER[0]}
        sleep 0.5
        read_windows
        [ -z "$(first_window_of TolvoTForm3)" ] || fail "the about window does not close"
    fi
}

prepare_soak_prefix
make_fixtures
ls "$WINEPREFIX/dosdevices" | grep -x '[a-z]::\?' | grep -q -v -x -e 'c:' -e 'd:' &&
    fail "drives other than c: and d: in the prefix: $(ls "$WINEPREFIX/dosdevices")"
start_display
wineserver -p
rm -f "$LOG" "$PROGRAM_DIR/ace.log"
export TOLVO_ACE_LOG='C:\tolvo\ace.log'
TOLVO_EXE=$PROGRAM_DIR/tolvo.exe start_tolvo "$DRIVE_D/Archiwa"
start_probe_session
ask find v1.0 20000
MAIN=${ANSWER[0]}
[ "$ANSWER_CODE" = 0 ] || fail "the main window did not appear"
echo "soak: $INPUTS inputs from seed $SEED"
STARTED=$(date +%s)
for ((INPUT = 1; INPUT <= INPUTS; INPUT++)); do
    one_input
    wait_for_answer
    check_counts
    ((INPUT % 500 == 0)) && screenshot "soak-input-$INPUT"
    ((INPUT % 100 == 0)) && echo "input $INPUT, slowest answer so far $(tenths $SLOWEST) ms"
done
INPUT=$INPUTS
settle
screenshot soak-end
[ -n "$BASE" ] || fail "no quiet moment after input 100 to take the counts at"
compare_counts
END_COUNTS=$(counts)
click_client "$MAIN" 261 208 65 25
EXIT_CODE=$(tolvo_exit_code)
touch "$PROGRAM_DIR/ace.log"
started=$(grep -c '^path=' "$PROGRAM_DIR/ace.log")
links=$(grep -c '^arg1=\(mailto\|http\):' "$PROGRAM_DIR/ace.log")
for kind in "${!DIALOG_KINDS[@]}"; do
    echo "dialog ${DIALOG_KINDS[$kind]}x: $kind"
done | sort
echo "soak summary: seed $SEED, inputs $INPUTS, $(($(date +%s) - STARTED)) s," \
    "slowest answer $(tenths $SLOWEST) ms (input $SLOWEST_AT)," \
    "gdi/user/handles after input $BASE_AT: ${BASE// //}, at the end: ${END_COUNTS// //}," \
    "largest change $(tenths $WORST) %, dialogs forced shut $FORCED_CLOSES," \
    "stand-in started $started times ($links links), exit code $EXIT_CODE"
check "Wyjdź ends the program with exit code 0 after the soak" 0 "$EXIT_CODE"
summary
