#!/usr/bin/env bash
# The program as a screen reader finds it, walked from outside through the platform's
# accessibility interface: the four commands are push buttons found at their centres, and their
# default actions do what a click does (not while a box is up); the chosen archive, the
# destination, the folders, the warning and the readme can all be read. Then a scheme with a
# black window and white text: the tree's, the field's and the drive selector's text stays
# visible. In a prefix of its own, whose colours it changes.
source "$(dirname "$0")/lib.sh"
start_in_own_prefix wine-access
WALKER_EXE=$(dirname "$PROBE_EXE")/walker.exe
walker() { wine "$WALKER_EXE" "$@" 2>/dev/null | tr -d '\r'; }
work=$(mktemp -d)
mkdir -p "$work/prog" "$work/start/Archiwa"
cp "$TOLVO_EXE" "$(dirname "$TOLVO_EXE")/readme.txt" "$(dirname "$PROBE_EXE")/ace32.exe" "$work/prog/"
echo "not an archive" >"$work/start/Archiwa/Stare zdjęcia.ace"
export TOLVO_ACE_LOG
TOLVO_ACE_LOG=$(winpath "$work/ace.log")

TOLVO_EXE=$work/prog/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
origin=$(value clientorigin "$(probe info "$main")")
# The screen point at the middle of a rectangle in the main window's client area.
centre() { # left top width height
    echo $((${origin%,*} + $1 + $3 / 2)) $((${origin#*,} + $2 + $4 / 2))
}
# The object at a point: role|name|value|state|default action|place.
# No answer at all (seen once, under load, in a prefix just made) is asked for again, once.
at() {
    local answer
    answer=$(walker point $(centre "$@"))
    [ -n "$answer" ] || answer=$(sleep 1 && walker point $(centre "$@"))
    printf '%s\n' "$answer"
}
# 1 when an object's line reports STATE_SYSTEM_UNAVAILABLE, else 0.
unavailable() { echo $((0x$(printf '%s' "$1" | cut -d'|' -f4) & 1)); }
# The same for every command of a walked tree, on one line.
commands_unavailable() {
    printf '%s\n' "$1" | grep '^  przycisk|' | while read -r line; do unavailable "$line"; done | paste -sd' '
}
act() { walker do $(centre "$@"); }

tree=$(walker tree "$main")
printf '%s\n' "$tree" >"$ARTEFACTS/access-main.txt"
check "the four commands are push buttons with their action" 4 \
    "$(printf '%s\n' "$tree" | grep -c -E '^  przycisk\|(Otwórz|Rozpakuj|O programie|Wyjdź)\|\|0\|Naciśnij\|')"
check "the side picture is a picture without a name" 1 "$(printf '%s\n' "$tree" | grep -c '^  grafika||')"
for button in "Otwórz:$OPEN_BUTTON" "Rozpakuj:$UNPACK_BUTTON" "O programie:$ABOUT_BUTTON" "Wyjdź:$EXIT_BUTTON"; do
    check "\"${button%%:*}\" is found at its centre" "przycisk|${button%%:*}" \
        "$(at ${button#*:} | cut -d'|' -f1,2)"
done
check "the groups are named by their captions" "klient|Archiwum klient|Katalog docelowy" \
    "$(printf '%s\n' "$tree" | sed -n 's/^  \(klient|[^|]*\)|.*/\1/p' | paste -sd' ')"
check "the destination field: editable text, named after its group, its text the value" \
    "tekst|Katalog docelowy|docelowy folder (format DOS - bez znaków spec.)" \
    "$(at $DESTINATION_FIELD | cut -d'|' -f1-3)"
# Wine's own object for a list is a plain client, without the items (Windows' lists them).
check "the folder tree: named after its group, the open folder its value" "Katalog docelowy|start" \
    "$(at 8 96 233 129 | cut -d'|' -f2,3)"
check "the drive selector: named after its group, the shown drive its value" "Katalog docelowy|yes" \
    "$(at $DRIVE_SELECTOR | awk -F'|' '{print $2 "|" ($3 ~ /^[a-z]: / ? "yes" : $3)}')"

# Choosing the archive: "Otwórz" by its default action, the dialog answered from the keyboard;
# the label of the group "Archiwum" then reads the chosen path.
check "the default action of \"Otwórz\" succeeds" 0 "$(act $OPEN_BUTTON)"
dialog=$(probe dialog 10000)
check "and opens the dialog" yes "$([ -n "$dialog" ] && echo yes || echo no)"
choose_file "$dialog" "$(winpath "$work/start/Archiwa")" "Stare zdjęcia.ace"
short=$(shortpath "$work/start/Archiwa/Stare zdjęcia.ace")
check "the archive's label reads the chosen path" "tekst statyczny|$short" \
    "$(walker tree "$main" | sed -n 's/^    \(tekst statyczny|[^|]*\)|.*/\1/p')"

# Unpacking into a folder that does not exist: the same command line as a click, then the
# warning, whose text can be read; while it is up the commands refuse to act.
type_destination() {
    click_client "$main" $DESTINATION_FIELD
    xdotool key End shift+Home BackSpace
    xdotool type --delay 20 "$1"
}
type_destination 'C:\nowy'
check "the field's value is what was typed" 'C:\nowy' "$(at $DESTINATION_FIELD | cut -d'|' -f3)"
check "the default action of \"Rozpakuj\" succeeds" 0 "$(act $UNPACK_BUTTON)"
wait_for_file "$work/ace.log"
check "and starts the archiver with the command line of a click" "ace32.exe x -v $short C:\\nowy" \
    "$(record_value command "$work/ace.log")"
box=$(probe dialog 10000)
check "the warning's text is read" "tekst statyczny|Wskazany katalog docelowy nie istnieje!" \
    "$(walker tree "$box" | sed -n 's/^  \(tekst statyczny|[^|]*\)|.*/\1/p')"
check "its button is read" 1 "$(walker tree "$box" | grep -c '^  [^|]*|OK|')"
rm -f "$work/ace.log"
check "while it is up \"Rozpakuj\" refuses to act" 80004005 "$(act $UNPACK_BUTTON)"
check "and reports itself unavailable" 1 "$(unavailable "$(at $UNPACK_BUTTON)")"
xdotool key Return
probe gone "$box" 5000 >/dev/null
sleep 1
check "once the box is gone it is available again" 0 "$(unavailable "$(at $UNPACK_BUTTON)")"
check "and nothing was started" no "$([ -e "$work/ace.log" ] && echo yes || echo no)"

# The readme: "O programie" by its default action; the about window's commands and text.
check "the default action of \"O programie\" succeeds" 0 "$(act $ABOUT_BUTTON)"
about=$(probe find "O programie..." 5000)
about_tree=$(walker tree "$about")
printf '%s\n' "$about_tree" >"$ARTEFACTS/access-about.txt"
check "the about window's three commands" "OK|mail do autora|strona WWW autora" \
    "$(printf '%s\n' "$about_tree" | sed -n 's/^  przycisk|\([^|]*\)|.*/\1/p' | paste -sd'|')"
check "its version and author lines" "Tolvo|v1.0|© 2026 Olgierd Wróblik" \
    "$(printf '%s\n' "$about_tree" | sed -n 's/^  tekst statyczny|\([^|]*\)|.*/\1/p' | paste -sd'|')"
check "the readme is read from its text" "  tekst||Tolvo v1.0" "$(printf '%s\n' "$about_tree" | grep -m1 '^  tekst||')"
check "its commands are available while it is shown" "0 0 0" \
    "$(commands_unavailable "$about_tree")"
screenshot access-about
probe close "$about"
sleep 1 # closing hides it
check "and unavailable once it is hidden" "1 1 1" \
    "$(commands_unavailable "$(walker tree "$about")")"
probe close "$main"
check "closing ends the program with exit code 0" 0 "$(tolvo_exit_code)"

# A scheme with a black window and white text, as high contrast sets: the fixed black fonts of
# the field, the tree and the drive selector give way to the window text colour. (Wine hands a
# changed scheme to the programs started afterwards only: this one is started in it.)
probe colors 5 0x000000 8 0xFFFFFF 15 0x000000 18 0xFFFFFF
TOLVO_EXE=$work/prog/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
origin=$(value clientorigin "$(probe info "$main")")
sleep 1
screenshot access-contrast
# Whether a rectangle of the client area holds light pixels: text on black.
light() { # left top width height
    convert "$ARTEFACTS/access-contrast.png" -crop "$3x$4+$((${origin%,*} + $1))+$((${origin#*,} + $2))" \
        -colorspace gray -threshold 50% -format '%[fx:mean > 0 ? 1 : 0]' info:
}
check "the field's text shows on the black window" 1 "$(light 12 71 200 13)"
check "the tree's folder names show" 1 "$(light 24 98 150 14)"
check "the drive's name shows" 1 "$(light 30 233 150 13)"
probe close "$main"
check "closing ends the program with exit code 0" 0 "$(tolvo_exit_code)"

rm -rf "$work"
summary
