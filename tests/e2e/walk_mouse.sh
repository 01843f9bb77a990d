#!/usr/bin/env bash
# The typical run with the real mouse: an archive chosen with "Otwórz", a folder opened in the
# tree, another drive chosen, "Rozpakuj" (the archiver gets the exact command line, no warning
# for an existing destination, the warning for a missing one), "O programie" with the readme,
# the about window closed and reopened, "Wyjdź". Every window met is saved as a screenshot.
source "$(dirname "$0")/lib.sh"
start_display
wineserver -p
work=$(mktemp -d)
mkdir -p "$work/prog" "$work/start/Cel" "$work/archives"
cp "$TOLVO_EXE" "$(dirname "$TOLVO_EXE")/readme.txt" "$(dirname "$PROBE_EXE")/ace32.exe" "$work/prog/"
echo "not really an archive" >"$work/archives/TEST.ACE"
export TOLVO_ACE_LOG
TOLVO_ACE_LOG=$(winpath "$work/ace.log")
archives=$(winpath "$work/archives")

TOLVO_EXE=$work/prog/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
sleep 0.5
screenshot walk-mouse-1-main

# "Otwórz": the archive.
click_client "$main" $OPEN_BUTTON
dialog=$(probe dialog 10000)
sleep 0.5
screenshot walk-mouse-2-open-dialog
choose_file "$dialog" "$archives" TEST.ACE
check "the open dialog closes with the archive chosen" "" "$(probe dialog 500)"

# The tree shows the start folder: a double-click opens its subfolder.
start=$(winpath "$work/start")
origin=$(value clientorigin "$(probe info "$main")")
xdotool mousemove $((${origin%,*} + 60)) $((${origin#*,} + $(first_subfolder_top "$start") + 8))
sleep 0.4
xdotool click --repeat 2 --delay 80 1
sleep 0.5
check "a double-click in the tree fills the destination" "$start\\Cel" "$(edit_text "$main")"
screenshot walk-mouse-3-tree

# Another drive: the selector opened with the mouse, the drive above chosen.
click_client "$main" $DRIVE_SELECTOR
sleep 0.3
screenshot walk-mouse-4-drives
xdotool key Up Return
sleep 0.5
destination=$(edit_text "$main")
check "another drive moves the destination" yes \
    "$([ "${destination:0:1}" != "${archives:0:1}" ] && echo yes || echo no)"

# "Rozpakuj" into the existing folder of that drive: the exact command line, no warning.
click_client "$main" $UNPACK_BUTTON
wait_for_file "$work/ace.log"
archive=$(shortpath "$work/archives/TEST.ACE")
expected="ace32.exe x -v $archive $destination"
[[ "$destination" == *" "* ]] && expected="ace32.exe x -v $archive \"$destination\""
check "the archiver gets the archive and the destination" "$expected" \
    "$(record_value command "$work/ace.log")"
check "no warning for an existing destination" "" "$(probe dialog 1500)"

# A destination typed that does not exist: the archiver still runs, then the warning.
rm -f "$work/ace.log"
click_client "$main" $DESTINATION_FIELD
xdotool key End shift+Home BackSpace
xdotool type --delay 20 "$archives\\Brak"
click_client "$main" $UNPACK_BUTTON
wait_for_file "$work/ace.log"
check "the typed destination reaches the archiver" "$archives\\Brak" \
    "$(record_value arg4 "$work/ace.log")"
box=$(probe dialog 10000)
check "the warning for the missing destination" TolvoTMessageForm "$(value class "$(probe info "$box")")"
sleep 0.3
screenshot walk-mouse-5-warning
click_child "$box" TolvoTButton
probe gone "$box" 5000 >/dev/null
check "OK clicked closes the warning" 0 "$?"

# "O programie": the readme; OK hides the window, the close box too, it comes back in place.
click_client "$main" $ABOUT_BUTTON
about=$(probe find "O programie..." 5000)
sleep 0.5
screenshot walk-mouse-6-about
check "the about window shows the readme" "Tolvo v1.0" "$(memo_text "$about" | head -1)"
shown_at=$(place "$about")
click_client "$about" $OK_BUTTON
sleep 0.3
check "OK hides the about window" 0 "$(is_visible "$about")"
click_client "$main" $ABOUT_BUTTON
sleep 0.5
check "reopened in its place" "$shown_at" "$(place "$about")"
closebox=$(probe closebox "$about")
click_at ${closebox% *} ${closebox#* }
sleep 0.3
check "the close box hides it" 0 "$(is_visible "$about")"
click_client "$main" $ABOUT_BUTTON
sleep 0.5
check "reopened again" 1 "$(is_visible "$about")"

# Dragged aside by its title bar, it uncovers the main window's buttons; "Wyjdź" ends the
# program and both windows go.
at=$(place "$about")
xdotool mousemove $((${at%,*} + 80)) $((${at#*,} + 10)) mousedown 1 mousemove 300 100 \
    mousemove 40 20 mouseup 1
sleep 0.5
click_client "$main" $EXIT_BUTTON
check "Wyjdź ends the program with exit code 0" 0 "$(tolvo_exit_code)"
check "no window of the program is left" "" "$(probe find "Tolvo v1.0" 500)$(probe find "O programie..." 500)"
rm -rf "$work"
summary
