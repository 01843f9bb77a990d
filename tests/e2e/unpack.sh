#!/usr/bin/env bash
# "Rozpakuj" starts the archiver with the expected command line, from the program's folder, the
# system folder or the search path but never from the current directory of the moment, then
# warns about a missing destination; "Wyjdź" and the close box end the program with exit code 0.
# In a 64-bit prefix the system folder is the one a 32-bit program sees, never the 64-bit one.
# Without an archiver anywhere, or with a file of that name that is no program, the error box
# says so and nothing is started. Archives and folders dropped on the window from a file manager,
# and one given on the command line.
source "$(dirname "$0")/lib.sh"
start_display
wineserver -p
ACE32_EXE=$(dirname "$PROBE_EXE")/ace32.exe
PLACEHOLDER="docelowy folder (format DOS - bez znaków spec.)"

work=$(mktemp -d)
mkdir -p "$work/prog" "$work/start" "$work/bare" "$work/moved" "$work/path"
cp "$TOLVO_EXE" "$work/prog/"
cp "$ACE32_EXE" "$work/prog/"
cp "$TOLVO_EXE" "$work/bare/"
cp "$ACE32_EXE" "$work/moved/"
cp "$ACE32_EXE" "$work/path/"
echo "readme in the moved folder" >"$work/moved/readme.txt"
echo "not an archive" >"$work/moved/TEST.ACE"
export TOLVO_ACE_LOG
TOLVO_ACE_LOG=$(winpath "$work/ace.log")

unpack() { click_client "$1" 261 64 65 25; }

NOT_FOUND="Nie znaleziono programu ace32.exe. Umieść go w folderze programu Tolvo lub w folderze wskazanym w zmiennej PATH."
# The error box is up with the text: the platform's message box, closed with Enter.
expect_error() { # what text
    local box
    box=$(probe dialog 10000)
    check "$1: the error box" "$2" "$(probe item "$box" 65535)"
    screenshot "$3"
    xdotool key Return
    probe gone "$box" 5000 >/dev/null
}

# The system folder as the program sees it, and where it lies in the prefix: on a 64-bit system
# a 32-bit program's system32 is syswow64, and the 64-bit system32 is out of its sight (a 64-bit
# build, made where no 32-bit program runs, sees the 64-bit one).
windows=$WINEPREFIX/drive_c/windows
system32=$windows/system32
[ -d "$windows/syswow64" ] && [ "$TOLVO_ARCH" = i686 ] && system32=$windows/syswow64
rm -f "$windows/system32/ace32.exe" "$system32/ace32.exe"

# The warning: the program's message dialog, captioned with the title, without an icon, its one
# line of text above one OK button, centred on the screen; Enter closes it.
expect_warning() { # what
    local box info rect client
    box=$(probe dialog 10000)
    info=$(probe info "$box")
    check "$1: the warning is the message dialog" TolvoTMessageForm "$(value class "$info")"
    check "$1: captioned with the title" Tolvo "$(value title "$info")"
    check "$1: one OK button and nothing else with a window" "TolvoTButton OK" \
        "$(probe children "$box" | cut -d' ' -f2-)"
    client=$(value client "$info")
    check "$1: one line of text: 13 + 23 + 16 + 26 high" 78 "${client#*,}"
    rect=$(value rect "$info")
    check "$1: centred on the screen" "$((512 - ($(echo "$rect" | awk -F, '{print $3-$1}') / 2)))" \
        "${rect%%,*}"
    screenshot "warning"
    xdotool key Return
    probe gone "$box" 5000 >/dev/null
    check "$1: Enter closes the warning" "0" "$?"
}

# 1. The archiver in the program's folder, right after start.
TOLVO_EXE=$work/prog/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
screenshot main-window
unpack "$main"
wait_for_file "$work/ace.log"
check "the archiver in the program's folder runs" \
    "$(winpath "$work/prog/ace32.exe" | tr a-z A-Z)" "$(record_value path "$work/ace.log" | tr a-z A-Z)"
check "the command line right after start" "ace32.exe x -v  \"$PLACEHOLDER\"" \
    "$(record_value command "$work/ace.log")"
expect_warning "untouched placeholder"

# 2. A destination typed with a blank reaches the archiver as one argument.
rm -f "$work/ace.log"
click_client "$main" 8 68 233 19
sleep 0.5
xdotool key End shift+Home BackSpace
xdotool type --delay 20 'C:\MY OUT'
unpack "$main"
wait_for_file "$work/ace.log"
check "a destination with a blank is one argument" 'C:\MY OUT' "$(record_value arg3 "$work/ace.log")"
check "its command line" 'ace32.exe x -v  "C:\MY OUT"' "$(record_value command "$work/ace.log")"
expect_warning "missing C:\\MY OUT"

# 3. "Wyjdź" ends the program.
click_client "$main" 261 208 65 25
check "\"Wyjdź\" ends the program with exit code 0" 0 "$(tolvo_exit_code)"

# 4. No archiver beside the program: one in the current directory of the moment is not run.
rm -f "$work/ace.log"
TOLVO_EXE=$work/bare/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
click_client "$main" 261 5 65 25
dialog=$(probe dialog 10000)
screenshot open-dialog
choose_file "$dialog" "$(winpath "$work/moved")" TEST.ACE
click_client "$main" 261 181 65 25
about=$(probe find "O programie..." 5000)
check "the open dialog moved the current directory to the archive's folder" yes \
    "$([ -n "$about" ] && echo yes || echo no)"
[ -n "$about" ] && probe close "$about"
unpack "$main"
expect_error "no archiver" "$NOT_FOUND" archiver-not-found
check "and no warning follows" "" "$(probe dialog 1000)"
sleep 1
check "the archiver lying in the current directory is never run" no \
    "$([ -e "$work/ace.log" ] && echo yes || echo no)"
closebox=$(probe closebox "$main")
click_at ${closebox% *} ${closebox#* }
check "the close box ends the program with exit code 0" 0 "$(tolvo_exit_code)"

# 5. One on the search path is found; the archive chosen in the dialog reaches it, and a
# cancelled dialog keeps it.
WINEPATH=$(winpath "$work/path") TOLVO_EXE=$work/bare/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
click_client "$main" 261 5 65 25
dialog=$(probe dialog 10000)
check "the open dialog offers two file types" 2 "$(probe count "$dialog" 1136)"
check "the first one selected" "Archiwa ACE (*ace)" "$(probe item "$dialog" 1136)"
choose_file "$dialog" "$(winpath "$work/moved")" TEST.ACE
click_client "$main" 261 5 65 25
dialog=$(probe dialog 10000)
xdotool key Escape
probe gone "$dialog" 5000 >/dev/null
unpack "$main"
wait_for_file "$work/ace.log"
check "the archiver on the search path runs" \
    "$(winpath "$work/path/ace32.exe" | tr a-z A-Z)" "$(record_value path "$work/ace.log" | tr a-z A-Z)"
check "the chosen archive in its short form, kept through a cancel, is its second argument" \
    "$(shortpath "$work/moved/TEST.ACE")" "$(record_value arg3 "$work/ace.log")"
expect_warning "archiver on the path"
probe close "$main"
check "closing ends the program with exit code 0" 0 "$(tolvo_exit_code)"

# 6. One in the system folder is found, and only in the system folder the program sees.
rm -f "$work/ace.log"
TOLVO_EXE=$work/bare/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
if [ "$system32" != "$windows/system32" ]; then
    cp "$ACE32_EXE" "$windows/system32/"
    unpack "$main"
    expect_error "archiver in the 64-bit system folder" "$NOT_FOUND" archiver-not-found-64
    sleep 1
    check "the 64-bit system folder is out of the program's sight" no \
        "$([ -e "$work/ace.log" ] && echo yes || echo no)"
    rm -f "$windows/system32/ace32.exe"
fi
cp "$ACE32_EXE" "$system32/"
unpack "$main"
wait_for_file "$work/ace.log"
check "the archiver in the program's system folder runs" \
    "$(winpath "$system32/ace32.exe" | tr a-z A-Z)" "$(record_value path "$work/ace.log" | tr a-z A-Z)"
rm -f "$system32/ace32.exe"
expect_warning "archiver in the system folder"
# A file of that name that is no program: the platform's own message, nothing started.
echo "not a program" >"$system32/ace32.exe"
rm -f "$work/ace.log"
unpack "$main"
box=$(probe dialog 10000)
text=$(probe item "$box" 65535)
check "a file that is no program: the platform's message after the program's words" yes \
    "$([[ "$text" == "Nie można uruchomić programu ace32.exe: "?*. && "$text" != *$'\n'* ]] && echo yes || echo no)"
echo "$text" >"$ARTEFACTS/archiver-refused.txt"
screenshot archiver-refused
xdotool key Return
probe gone "$box" 5000 >/dev/null
check "and nothing started, no warning" "no " \
    "$([ -e "$work/ace.log" ] && echo yes || echo no) $(probe dialog 1000)"
rm -f "$system32/ace32.exe"
probe close "$main"
check "closing ends the program with exit code 0" 0 "$(tolvo_exit_code)"

# 7. Dropped on the window: a folder moves the tree, the first file dropped is the archive, in
# its short form; a missing one is refused and so is every drop while a box is up.
mkdir -p "$work/drop/Folder A" "$work/drop/Folder B"
echo "not an archive" >"$work/drop/Dropped archive.ace"
echo "not an archive" >"$work/drop/second.zip"
TOLVO_EXE=$work/prog/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
picture="290 130" # the side picture between "Rozpakuj" and "O programie"
unpack_into() { # what destination archive
    rm -f "$work/ace.log"
    unpack "$main"
    wait_for_file "$work/ace.log"
    check "$1: the archiver gets the archive and the destination" "$3|$2" \
        "$(record_value arg3 "$work/ace.log")|$(record_value arg4 "$work/ace.log")"
}
check "a folder dropped is taken" dropped "$(drop_on "$main" $picture "$work/drop/Folder A")"
folder=$(winpath "$work/drop/Folder A")
check "the tree moved there and the destination followed" "$folder" "$(edit_text "$main")"
drop_on "$main" $picture "$work/drop/Dropped archive.ace" >/dev/null
screenshot dropped-archive
unpack_into "one file dropped" "$folder" "$(shortpath "$work/drop/Dropped archive.ace")"
drop_on "$main" 60 150 "$work/drop/Folder B" "$work/drop/second.zip" \
    "$work/drop/Dropped archive.ace" >/dev/null
check "several dropped on the tree: its folder stays" "$folder" "$(edit_text "$main")"
unpack_into "the first file of several" "$folder" "$(shortpath "$work/drop/second.zip")"
drop_on "$main" $picture "$work/drop/gone.ace" >/dev/null
box=$(probe dialog 5000)
check "a missing file dropped: the error" "File not found." "$(probe item "$box" 65535)"
drop_on "$main" $picture "$work/drop/Dropped archive.ace" >/dev/null
xdotool key Return
probe gone "$box" 5000 >/dev/null
unpack_into "after the missing file and a drop on the box" "$folder" \
    "$(shortpath "$work/drop/second.zip")"
probe close "$main"
check "closing ends the program with exit code 0" 0 "$(tolvo_exit_code)"

# 8. Started with an archive as its one argument, as "Open with" starts it: the label shows it (the
# screenshot; the label has no window to read) and "Rozpakuj" hands its short form on; foreign
# messages take nothing; a missing one gives the error box, and "Wyjdź" ends with 0.
opened=$(winpath "$work/drop/Dropped archive.ace")
rm -f "$work/ace.log"
(cd "$work/start" && wine "$work/prog/tolvo.exe" "$opened"; echo $? >"$ARTEFACTS/exit-code") &
TOLVO_PID=$!
main=$(probe find "Tolvo v1.0" 20000)
sleep 1
screenshot opened-with
unpack "$main"
wait_for_file "$work/ace.log"
check "its short form reaches the archiver" "$(shortpath "$work/drop/Dropped archive.ace")" \
    "$(record_value arg3 "$work/ace.log")"
expect_warning "after an archive opened with the program"
# Another program posts messages of the common application range (WM_APP) with what might be
# taken for pointers: nothing is read from them, and the program still closes with 0.
for lparam in 0 0x10 0x7fff0000; do probe post "$main" 0x8000 0 "$lparam"; done
check "the window answers after foreign WM_APP messages" 0 \
    "$(wine "$PROBE_EXE" ping "$main" >/dev/null 2>&1; echo $?)"
probe close "$main"
check "closing ends the program with exit code 0" 0 "$(tolvo_exit_code)"
rm -f "$ARTEFACTS/exit-code"
(cd "$work/start" && wine "$work/prog/tolvo.exe" "$(winpath "$work/drop")\\gone.ace"; echo $? >"$ARTEFACTS/exit-code") &
TOLVO_PID=$!
main=$(probe find "Tolvo v1.0" 20000)
expect_error "a missing archive on the command line" "File not found." opened-missing
click_client "$main" $EXIT_BUTTON
check "\"Wyjdź\" then ends the program with exit code 0" 0 "$(tolvo_exit_code)"

rm -rf "$work"
summary
