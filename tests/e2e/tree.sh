#!/usr/bin/env bash
# Double-clicking a subfolder in the tree puts its full path into the destination field, and
# "Rozpakuj" hands that destination to the archiver; the shown folder removed, its parent still
# opens; choosing a drive moves the tree.
source "$(dirname "$0")/lib.sh"
start_display
wineserver -p
work=$(mktemp -d)
mkdir -p "$work/prog" "$work/start/Alpha" "$work/start/beta"
cp "$TOLVO_EXE" "$(dirname "$PROBE_EXE")/ace32.exe" "$work/prog/"
export TOLVO_ACE_LOG
TOLVO_ACE_LOG=$(winpath "$work/ace.log")
start=$(winpath "$work/start")

TOLVO_EXE=$work/prog/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
check "the destination field starts with its placeholder" "docelowy folder (format DOS - bez znaków spec.)" "$(edit_text "$main")"

# The tree shows the root, each folder of the start directory's path, then Alpha and beta.
alpha_top=$(first_subfolder_top "$start")
click_client "$main" 10 "$alpha_top" 100 16
check "a click only highlights: the field keeps its text" \
    "docelowy folder (format DOS - bez znaków spec.)" "$(edit_text "$main")"
origin=$(value clientorigin "$(probe info "$main")")
xdotool mousemove $((${origin%,*} + 60)) $((${origin#*,} + alpha_top + 8)) click --repeat 2 --delay 80 1
sleep 0.5
check "a double-click puts the folder's full path into the field" "$start\\Alpha" "$(edit_text "$main")"
screenshot tree-moved

click_client "$main" 261 64 65 25
wait_for_file "$work/ace.log"
check "the archiver gets that destination" "$start\\Alpha" "$(record_value arg3 "$work/ace.log")"
# The shown folder removed behind the list while it is the current directory: its parent, one
# row up, still opens.
rm -rf "$work/start/Alpha"
xdotool mousemove $((${origin%,*} + 60)) $((${origin#*,} + alpha_top - 8)) click --repeat 2 --delay 80 1
sleep 0.5
check "with the shown folder gone, a double-click on its parent moves there" "$start" "$(edit_text "$main")"
# Another drive chosen in the drive selector moves the tree and the field to that drive.
click_client "$main" 8 230 233 19
sleep 0.3
xdotool key Up Return
sleep 0.5
screenshot drive-chosen
drive=$(edit_text "$main" | cut -c1 | tr a-z A-Z)
check "choosing the drive before Z: moves the destination to it" yes \
    "$([ -n "$drive" ] && [ "$drive" != Z ] && echo yes || echo no)"
probe close "$main"
check "the program ends with exit code 0" 0 "$(tolvo_exit_code)"
rm -rf "$work"
summary
