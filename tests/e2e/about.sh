#!/usr/bin/env bash
# "O programie" shows the about window with the readme, above the main window; its buttons and
# keys hide it and hand the author's links to the desktop's handlers; closing only hides it and
# it comes back where it was left; without a readme the error box says so; "Wyjdź" ends it all.
source "$(dirname "$0")/lib.sh"
start_display
wineserver -p
README=$(dirname "$TOLVO_EXE")/readme.txt
HANDLER_EXE=$(dirname "$PROBE_EXE")/urlhandler.exe

work=$(mktemp -d)
mkdir -p "$work/prog" "$work/start"
cp "$TOLVO_EXE" "$README" "$work/prog/"

# The stand-in handler takes mailto: and http: for the run, the prefix's own ones come back after.
export TOLVO_URL_LOG
TOLVO_URL_LOG=$(winpath "$work/urls.log")
handler_key() { echo "HKCR\\$1\\shell\\open\\command"; }
# The default value's line; its name, "(Default)", is in the prefix's language.
saved_handler() { wine reg query "$(handler_key "$1")" /ve 2>/dev/null | tr -d '\r' | LC_ALL=C sed -n 's/^ *([^)]*) *REG_SZ *//p'; }
saved_mailto=$(saved_handler mailto)
saved_http=$(saved_handler http)
restore_handlers() {
    for protocol in mailto http; do
        local saved
        [ $protocol = mailto ] && saved=$saved_mailto || saved=$saved_http
        if [ -n "$saved" ]; then
            wine reg add "$(handler_key $protocol)" /ve /d "$saved" /f >/dev/null 2>&1
        else
            wine reg delete "$(handler_key $protocol)" /f >/dev/null 2>&1
        fi
    done
}
trap 'restore_handlers; finish' EXIT
for protocol in mailto http; do
    wine reg add "$(handler_key $protocol)" /ve /d "\"$(winpath "$HANDLER_EXE")\" %1" /f >/dev/null 2>&1
done

stack_position() { probe stack | grep -n "^$1 " | cut -d: -f1; }

# 1. Started elsewhere: the readme beside the program is shown.
TOLVO_EXE=$work/prog/tolvo.exe start_tolvo "$work/start"
main=$(probe find "Tolvo v1.0" 20000)
click_client "$main" 261 181 65 25
about=$(probe find "O programie..." 5000)
check "\"O programie\" shows the about window" yes "$([ -n "$about" ] && echo yes || echo no)"
sleep 0.5
screenshot about-window
info=$(probe info "$about")
check "at its stored place" 340,132 "$(place "$about")"
check "client area" 368,345 "$(value client "$info")"
check "active" 1 "$(value foreground "$info")"
check "stays on top" 1 "$(value topmost "$info")"
check "owned by the application window" TolvoTApplication "$(value ownerclass "$info")"
check "close box but no minimise or maximise box" 1,0,0 \
    "$(value sysmenu "$info"),$(value minimizebox "$info"),$(value maximizebox "$info")"
check "the readme beside the program is shown" "Tolvo v1.0" "$(memo_text "$about" | head -1)"
check "in Polish, code page 1250" 1 "$(memo_text "$about" | grep -c 'musi leżeć w folderze')"

# 2. Activating the main window leaves the about window above it in the program's stacking order.
# (Without a window manager the X server raises the clicked window over it regardless, so this
# is read through the probe, not from a screenshot.)
rect=$(value rect "$(probe info "$main")")
origin=$(value clientorigin "$(probe info "$main")")
bottom=$(echo "$rect" | cut -d, -f4)
click_at $((${origin%,*} + 300)) $((bottom - 6))
sleep 0.5
check "the main window is active" 1 "$(value foreground "$(probe info "$main")")"
check "the about window stays above it" yes \
    "$([ "$(stack_position "$about")" -lt "$(stack_position "$main")" ] && echo yes || echo no)"

# 3. Dragged away by its title bar, it is hidden by "OK" and comes back where it was left.
xdotool mousemove 420 142 mousedown 1 mousemove 300 100 mousemove 100 40 mouseup 1
sleep 0.5
moved=$(place "$about")
check "dragged by its title bar" yes "$([ "$moved" != 340,132 ] && echo yes || echo no)"
click_client "$about" 8 312 105 25
sleep 0.3
check "\"OK\" hides it" 0 "$(is_visible "$about")"
check "the main window takes the activation" 1 "$(value foreground "$(probe info "$main")")"
click_client "$main" 261 181 65 25
sleep 0.5
check "shown again by \"O programie\", the same window" 1 "$(is_visible "$about")"
check "where it was left" "$moved" "$(place "$about")"

# 4. The close box only hides it; "O programie" brings it back in the same place.
closebox=$(probe closebox "$about")
click_at ${closebox% *} ${closebox#* }
sleep 0.3
check "the close box hides it" 0 "$(is_visible "$about")"
click_client "$main" 261 181 65 25
sleep 0.5
check "back where it was left" "$moved" "$(place "$about")"

# 5. The author's links reach the desktop's handlers.
click_client "$about" 128 312 105 25
wait_for_file "$work/urls.log"
click_client "$about" 248 312 105 25
for _ in $(seq 50); do [ "$(wc -l <"$work/urls.log")" -ge 2 ] && break; sleep 0.1; done
check "\"mail do autora\" opens the author's address" mailto:autor@tolvo.example \
    "$(sed -n '1s/^"[^"]*" //p' "$work/urls.log" | tr -d '\r')"
check "\"strona WWW autora\" opens the author's web page" http://www.tolvo.example \
    "$(sed -n '2s/^"[^"]*" //p' "$work/urls.log" | tr -d '\r')"
check "the about window stays" 1 "$(is_visible "$about")"

# The about window's keys: Alt+M and Alt+W open the links, Escape and Enter hide it as "OK" does.
xdotool key alt+m
for _ in $(seq 50); do [ "$(wc -l <"$work/urls.log")" -ge 3 ] && break; sleep 0.1; done
xdotool key alt+w
for _ in $(seq 50); do [ "$(wc -l <"$work/urls.log")" -ge 4 ] && break; sleep 0.1; done
check "Alt+M and Alt+W open the address and the page" \
    "mailto:autor@tolvo.example http://www.tolvo.example" \
    "$(sed -n '3,4s/^"[^"]*" //p' "$work/urls.log" | tr -d '\r' | paste -sd' ')"
for key in Escape Return; do
    xdotool key $key
    sleep 0.3
    check "$key hides it" 0 "$(is_visible "$about")"
    click_client "$main" 261 181 65 25
    sleep 0.5
done

# 6. Without a readme in either place: the error box, and the window stays hidden.
click_client "$about" 8 312 105 25
rm "$work/prog/readme.txt"
click_client "$main" 261 181 65 25
box=$(probe dialog 10000)
check "the error box is captioned with the title" Tolvo "$(value title "$(probe info "$box")")"
check "it names the readme" "Cannot open file readme.txt." "$(probe item "$box" 65535)"
screenshot about-no-readme
xdotool key Return
probe gone "$box" 5000 >/dev/null
check "the about window stays hidden" 0 "$(is_visible "$about")"

# 7. A readme in the current directory is the one shown; "Wyjdź" with the window open ends all.
printf 'readme of the start folder\r\n' >"$work/start/readme.txt"
click_client "$main" 261 181 65 25
sleep 0.5
check "the current directory's readme is shown" "readme of the start folder" "$(memo_text "$about")"
click_client "$main" 261 208 65 25
check "\"Wyjdź\" ends the program with exit code 0" 0 "$(tolvo_exit_code)"
probe gone "$main" 5000 >/dev/null
check "the main window is gone" 0 "$?"
probe gone "$about" 5000 >/dev/null
check "the about window is gone" 0 "$?"

rm -rf "$work"
summary
