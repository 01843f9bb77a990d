#!/usr/bin/env bash
# What the keyboard does in a run: the destination typed, Tab through field, tree and drive
# selector, Enter in the tree, arrow keys in the selector, Enter and Escape in the dialogs,
# Alt+F4 on both windows. The flat buttons take no focus and stay mouse-only.
source "$(dirname "$0")/lib.sh"
start_display
wineserver -p
work=$(mktemp -d)
mkdir -p "$work/prog" "$work/start/Alfa" "$work/start/Beta" "$work/archives"
cp "$TOLVO_EXE" "$(dirname "$TOLVO_EXE")/readme.txt" "$(dirname "$PROBE_EXE")/ace32.exe" "$work/prog/"
echo "not really an archive" >"$work/archives/TEST.ACE"
export TOLVO_ACE_LOG
TOLVO_ACE_LOG=$(winpath "$work/ace.log")
start=$(winpath "$work/start")
archives=$(winpath "$work/archives")

TOLVO_EXE=$work/prog/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
sleep 0.5

# The destination field has the focus first: the destination is typed.
xdotool key End shift+Home
xdotool type --delay 20 "$start\\Beta"
check "the destination is typed into the field" "$start\\Beta" "$(edit_text "$main")"

# Tab to the tree: Down highlights the first subfolder, Enter opens it.
xdotool key Tab Down
sleep 0.3
check "moving the highlight leaves the field alone" "$start\\Beta" "$(edit_text "$main")"
xdotool key Return
sleep 0.5
check "Enter in the tree opens the folder" "$start\\Alfa" "$(edit_text "$main")"
screenshot walk-keys-1-tree

# Tab to the drive selector: Up chooses the drive above, Down comes back.
xdotool key Tab Up
sleep 0.5
other=$(edit_text "$main")
check "Up in the drive selector moves to another drive" yes \
    "$([ "${other:0:1}" != "${start:0:1}" ] && echo yes || echo no)"
xdotool key Down
sleep 0.5
# The platform keeps no folder per drive for a program: it comes back at the drive's root.
check "Down comes back to the drive" "$(echo "${start:0:2}\\" | tr A-Z a-z)" \
    "$(edit_text "$main" | tr A-Z a-z)"

# Tab goes round to the field again.
xdotool key Tab End shift+Home
xdotool type --delay 20 "$archives\\Brak"
check "Tab goes round to the field" "$archives\\Brak" "$(edit_text "$main")"

# "Rozpakuj" (mouse-only) with the missing destination: Enter closes the warning, then Escape.
for key in Return Escape; do
    click_client "$main" $UNPACK_BUTTON
    box=$(probe dialog 10000)
    check "the warning appears" TolvoTMessageForm "$(value class "$(probe info "$box")")"
    [ $key = Escape ] && screenshot walk-keys-2-warning
    xdotool key $key
    probe gone "$box" 5000 >/dev/null
    check "$key closes the warning" 0 "$?"
done

# "Otwórz": Escape cancels, then the archive is chosen with the keyboard alone.
click_client "$main" $OPEN_BUTTON
dialog=$(probe dialog 10000)
xdotool key Escape
probe gone "$dialog" 5000 >/dev/null
check "Escape cancels the open dialog" 0 "$?"
click_client "$main" $OPEN_BUTTON
dialog=$(probe dialog 10000)
sleep 0.3
screenshot walk-keys-3-open-dialog
choose_file "$dialog" "$archives" TEST.ACE
rm -f "$work/ace.log"
click_client "$main" $UNPACK_BUTTON
wait_for_file "$work/ace.log"
check "the archive chosen with Enter reaches the archiver" "$(shortpath "$work/archives/TEST.ACE")" \
    "$(record_value arg3 "$work/ace.log")"
box=$(probe dialog 10000)
xdotool key Return
probe gone "$box" 5000 >/dev/null

# "O programie": Alt+F4 only hides the about window.
click_client "$main" $ABOUT_BUTTON
about=$(probe find "O programie..." 5000)
sleep 0.5
screenshot walk-keys-4-about
xdotool key alt+F4
sleep 0.5
check "Alt+F4 hides the about window" 0 "$(is_visible "$about")"
check "the program goes on" 1 "$(is_visible "$main")"

# Alt+F4 on the main window ends the program.
xdotool key alt+F4
check "Alt+F4 on the main window ends the program with exit code 0" 0 "$(tolvo_exit_code)"
rm -rf "$work"
summary
