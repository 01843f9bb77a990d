#!/usr/bin/env bash
# A whole run without the mouse: the destination typed, Tab through field, tree and drive
# selector, Enter in the tree, arrow keys in the selector, Ctrl+O to choose the archive, Enter in
# the field to unpack (a held Enter starts one archiver), F1 for the readme, Enter and Escape in
# the dialogs, Alt+F4 on both windows.
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

# The destination field has the focus first. A held key repeats on this display, so the held
# Enter below is a real test.
xdotool keydown x
sleep 1.5
xdotool keyup x
held=$(edit_text "$main" | tr -cd x | wc -c)
check "a held key repeats" yes "$([ "$held" -gt 2 ] && echo yes || echo "no ($held)")"
# The destination is typed.
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

# Enter in the field is "Rozpakuj": with the missing destination the warning comes; Enter closes
# it, then Escape.
for key in Return Escape; do
    xdotool key Return
    box=$(probe dialog 10000)
    check "the warning appears" TolvoTMessageForm "$(value class "$(probe info "$box")")"
    [ $key = Escape ] && screenshot walk-keys-2-warning
    xdotool key $key
    probe gone "$box" 5000 >/dev/null
    check "$key closes the warning" 0 "$?"
done

# Ctrl+O is "Otwórz": Escape cancels, then the archive is chosen with the keyboard alone.
xdotool key ctrl+o
dialog=$(probe dialog 10000)
xdotool key Escape
probe gone "$dialog" 5000 >/dev/null
check "Escape cancels the open dialog" 0 "$?"
for _ in $(seq 20); do
    [ "$(probe foreground | cut -d' ' -f1)" = "$main" ] && break
    sleep 0.1
done
check "the main window is active again" "$main" "$(probe foreground | cut -d' ' -f1)"
xdotool key ctrl+o
dialog=$(probe dialog 10000)
sleep 0.3
screenshot walk-keys-3-open-dialog
choose_file "$dialog" "$archives" TEST.ACE

# The folder is typed and Enter unpacks into it; held down, Enter starts one archiver only.
sleep 0.3
xdotool key End shift+Home
xdotool type --delay 20 "$start\\Alfa"
rm -f "$work/ace.log"
xdotool keydown Return
sleep 1.5
xdotool keyup Return
wait_for_file "$work/ace.log"
check "the archive chosen with Enter reaches the archiver" "$(shortpath "$work/archives/TEST.ACE")" \
    "$(record_value arg3 "$work/ace.log")"
check "into the typed folder" "$start\\Alfa" "$(record_value arg4 "$work/ace.log")"
sleep 1
check "a held Enter starts one archiver" 1 "$(grep -c '^end' "$work/ace.log")"
check "no warning for an existing folder" "" "$(probe dialog 500)"
screenshot walk-keys-4-unpacked

# F1 is "O programie": the readme is the program's help. Alt+F4 only hides the about window.
xdotool key F1
about=$(probe find "O programie..." 5000)
sleep 0.5
check "F1 shows the readme" 1 "$(is_visible "$about")"
check "the readme is loaded" yes "$([ -n "$(memo_text "$about")" ] && echo yes || echo no)"
screenshot walk-keys-5-about
xdotool key alt+F4
sleep 0.5
check "Alt+F4 hides the about window" 0 "$(is_visible "$about")"
check "the program goes on" 1 "$(is_visible "$main")"

# Alt+F4 on the main window ends the program.
xdotool key alt+F4
check "Alt+F4 on the main window ends the program with exit code 0" 0 "$(tolvo_exit_code)"
rm -rf "$work"
summary
