#!/usr/bin/env bash
# Bad input through the real program. Started in a folder of 50,000 subfolders and some with
# Polish names, the tree lists every one in Polish order and a Polish name with blanks opened
# there reaches the archiver whole. Destinations typed with "&", blanks and a double quote reach
# the archiver as typed; the device names CON and nul get the warning and start nothing. Names the
# code page cannot spell: archives chosen in the dialog reach the archiver in their short form,
# never as another file; a destination with such a letter, typed, pasted or set by another program,
# starts nothing; a folder named with look-alikes of backslashes is never a way elsewhere.
source "$(dirname "$0")/lib.sh"
start_display
wineserver -p
work=$(mktemp -d)
mkdir -p "$work/prog"
cp "$TOLVO_EXE" "$(dirname "$PROBE_EXE")/ace32.exe" "$work/prog/"
export TOLVO_ACE_LOG
TOLVO_ACE_LOG=$(winpath "$work/ace.log")
# On drive C, so that the tree shows two path items only: C:\ and tolvo-bad.
start=$WINEPREFIX/drive_c/tolvo-bad
rm -rf "$start"
mkdir -p "$start"
(cd "$start" && seq -f 'd%05g' 0 49999 | xargs mkdir && mkdir Ala ąb cyna 'ćma żółta' lato Łódź zebra żaba)

TOLVO_EXE=$work/prog/tolvo.exe start_tolvo "$start"
main=$(probe find "Tolvo v1.0" 60000)
list=$(probe children "$main" | awk '$2 == "TolvoTDirectoryListBox" {print $1}')
names() { sed -n 's/^[0-9]* //p' | paste -sd'|'; }
first=$(probe items "$list" 2 6)
check "the tree holds C:\\, tolvo-bad and all 50,008 subfolders" 50010 "$(value count "$first")"
check "the start folder is selected" 1 "$(value selected "$first")"
check "the first subfolders, in Polish order" "Ala|ąb|cyna|ćma żółta|d00000|d00001" \
    "$(printf '%s\n' "$first" | names)"
check "the last ones" "d49999|lato|Łódź|zebra|żaba" "$(probe items "$list" -5 5 | names)"
screenshot badinput-tree

edit_text() { probe children "$main" | sed -n 's/^0x[0-9a-f]* TolvoTEdit //p'; }
unpack() { click_client "$main" 261 64 65 25; }
# The warning is up: the message dialog, closed with Enter.
close_warning() { # what
    local box
    box=$(probe dialog 10000)
    check "$1: the warning" TolvoTMessageForm "$(value class "$(probe info "$box")")"
    xdotool key Return
    probe gone "$box" 5000 >/dev/null
}
no_warning() { # what
    check "$1: no warning" "" "$(probe dialog 1000)"
}

# Item 5, "ćma żółta": 98 + 5 x 16 from the top of the window's client area.
origin=$(value clientorigin "$(probe info "$main")")
xdotool mousemove $((${origin%,*} + 60)) $((${origin#*,} + 98 + 5 * 16 + 8)) click --repeat 2 --delay 80 1
sleep 0.5
check "a double-click on a Polish name fills the destination" 'C:\tolvo-bad\ćma żółta' "$(edit_text)"
rm -f "$work/ace.log"
unpack
wait_for_file "$work/ace.log"
check "its command line" 'ace32.exe x -v  "C:\tolvo-bad\ćma żółta"' "$(record_value command "$work/ace.log")"
check "the archiver gets it whole" 'C:\tolvo-bad\ćma żółta' "$(record_value arg3 "$work/ace.log")"
no_warning "an existing Polish folder"

type_destination() { # text
    click_client "$main" 8 68 233 19
    xdotool key End shift+Home BackSpace
    xdotool type --delay 20 "$1"
}
for typed in 'C:\A&B' ' C:\MY  OUT ' 'C:\SAY"HI'; do
    type_destination "$typed"
    check "the field holds [$typed]" "$typed" "$(edit_text)"
    rm -f "$work/ace.log"
    unpack
    close_warning "[$typed]"
    wait_for_file "$work/ace.log"
    check "[$typed] is the archiver's one destination argument" "4 $typed" \
        "$(record_value argc "$work/ace.log") $(record_value arg3 "$work/ace.log")"
done
check "the command line with the double quote" 'ace32.exe x -v  "C:\SAY\"HI"' \
    "$(record_value command "$work/ace.log")"

# Device names: only the warning. An unpack into an existing folder follows; its record must
# be the only one.
rm -f "$work/ace.log"
for device in CON nul; do
    type_destination "$device"
    unpack
    close_warning "$device"
done
type_destination 'C:\tolvo-bad'
unpack
wait_for_file "$work/ace.log"
no_warning "an existing folder"
check "the archiver ran once, for the folder only" "1 C:\\tolvo-bad" \
    "$(grep -c '^end' "$work/ace.log") $(record_value arg3 "$work/ace.log")"

# Beside c.ace and the folder c: ĉ.ace, Жук.ace, the folder ĉ and the folder "a＼..＼..＼arch".
spelling=$WINEPREFIX/drive_c/tolvo-names
rm -rf "$spelling"
mkdir -p "$spelling/c" "$spelling/ĉ" "$spelling/a＼..＼..＼arch"
for file in c.ace ĉ.ace Жук.ace 'Long archive name.ace'; do
    echo "not an archive" >"$spelling/$file"
done
drop_on "$main" 290 130 "$spelling" >/dev/null
check "a dropped folder moves the tree" 'C:\tolvo-names' "$(edit_text)"
check "the look-alike folder is listed as before, c once" 'a\..\..\arch|c' \
    "$(probe items "$list" 2 2 | names)"
open_item() { # top of the item in the window's client area
    xdotool mousemove $((${origin%,*} + 60)) $((${origin#*,} + $1 + 8)) click --repeat 2 --delay 80 1
}
top=$(first_subfolder_top 'C:\tolvo-names')
open_item "$top"
box=$(probe dialog 5000)
check "opening it is refused" "I/O error 123." "$(probe item "$box" 65535)"
xdotool key Return
probe gone "$box" 5000 >/dev/null
check "and the tree stays" 'C:\tolvo-names' "$(edit_text)"
open_item $((top + 16))
sleep 0.5
check "c opens the folder c" 'C:\tolvo-names\c' "$(edit_text)"

choose_in_dialog() { # how name
    rm -f "$work/ace.log"
    click_client "$main" 261 5 65 25
    "$1" "$(probe dialog 10000)" 'C:\tolvo-names' "$2"
    unpack
    wait_for_file "$work/ace.log"
    record_value command "$work/ace.log"
}
for name in Жук.ace ĉ.ace; do
    short=$(probe short "C:\\tolvo-names\\$name")
    check "$name chosen reaches the archiver in its short form $short" \
        "ace32.exe x -v $short C:\tolvo-names\c" "$(choose_in_dialog pick_file "$name")"
done
check "which is not c.ace" yes "$([ "$short" != 'C:\tolvo-names\c.ace' ] && echo yes)"
short=$(probe short 'C:\tolvo-names\Long archive name.ace')
check "a long name with blanks in its short form $short" "ace32.exe x -v $short C:\tolvo-names\c" \
    "$(choose_in_dialog choose_file 'Long archive name.ace')"
screenshot badinput-short-name

# A destination the code page cannot spell, however it reaches the field: the field holds it as
# given, and "Rozpakuj" refuses it before anything starts. Typed: Cyrillic, ĉ beside the folder c
# it would become, a full-width backslash that would become a separator; set by another program
# in wide text; pasted.
refused() { # how text
    check "$1: the field holds [$2]" "$2" "$(edit_text)"
    unpack
    box=$(probe dialog 5000)
    check "$1: refused" "Ścieżki docelowej nie można zapisać w stronie kodowej systemu." \
        "$(probe item "$box" 65535)"
    screenshot "badinput-refused-${1// /-}"
    xdotool key Return
    probe gone "$box" 5000 >/dev/null
}
rm -f "$work/ace.log"
# xdotool types a letter outside the keyboard map by mapping a spare key to it for the moment,
# and Wine may read the key before it has seen the new map: then the text is typed again, slower.
type_unmapped() { # text
    for delay in 20 60 150; do
        click_client "$main" 8 68 233 19
        xdotool key End shift+Home BackSpace
        xdotool type --delay $delay "$1"
        [ "$(edit_text)" = "$1" ] && return
    done
}
for typed in 'C:\tolvo-names\Архив' 'C:\tolvo-names\ĉ' 'C:\tolvo-names＼c'; do
    type_unmapped "$typed"
    refused typed "$typed"
done
edit=$(probe children "$main" | awk '$2 == "TolvoTEdit" {print $1}')
probe settext "$edit" 'C:\tolvo-names\Жук'
refused "set in wide text" 'C:\tolvo-names\Жук'
probe clip 'C:\tolvo-names\ĉ'
click_client "$main" 8 68 233 19
xdotool key End shift+Home ctrl+v
screenshot badinput-pasted-destination
refused pasted 'C:\tolvo-names\ĉ'
# Then the folder c itself: its record must be the archiver's only one.
type_destination 'C:\tolvo-names\c'
unpack
wait_for_file "$work/ace.log"
check "none of them started the archiver, the folder c did" "1 C:\tolvo-names\c" \
    "$(grep -c '^end' "$work/ace.log") $(record_value arg4 "$work/ace.log")"

click_client "$main" 261 208 65 25
check "\"Wyjdź\" ends the program with exit code 0" 0 "$(tolvo_exit_code)"
rm -rf "$work" "$start" "$spelling"
summary
