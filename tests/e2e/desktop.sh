#!/usr/bin/env bash
# In a desktop with a taskbar (Wine's desktop mode, the shell desktop): with the about window
# open and dragged aside, the main window's minimise box and the taskbar button take the program
# away and bring it back with its windows in their order, and a message box then stands above
# the about window, which is stay-on-top again once the box is closed.
source "$(dirname "$0")/lib.sh"
start_in_own_prefix wine-desktop
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null
work=$(mktemp -d)
# The archiver beside the program: "Rozpakuj" then starts it and warns about the destination.
cp "$TOLVO_EXE" "$(dirname "$TOLVO_EXE")/readme.txt" "$(dirname "$PROBE_EXE")/ace32.exe" "$work/"

# The windows of the program in the stacking order, top first, with their stay-on-top state.
order() { # window...
    local window
    for window in $(probe stack | cut -d' ' -f1); do
        [[ " $* " == *" $window "* ]] && printf '%s%s ' "$window" \
            "$([ "$(value topmost "$(probe info "$window")")" = 1 ] && echo '*')"
    done
    echo
}

start_tolvo "$work"
main=$(probe find "Tolvo v1.0" 20000)
application=$(value owner "$(probe info "$main")")
click_client "$main" $ABOUT_BUTTON
about=$(probe find "O programie..." 5000)
sleep 0.5
xdotool mousemove 420 142 mousedown 1 mousemove 300 100 mousemove 100 40 mouseup 1
sleep 0.5
check "the about window, stay-on-top, above the main window" "$about* $main " \
    "$(order "$about" "$main")"
moved=$(place "$about")
check "dragged aside" yes "$([ "$moved" != 340,132 ] && echo yes || echo no)"

# The main window's minimise box takes both windows away; the taskbar button stays.
minbox=$(probe minbox "$main")
click_at ${minbox% *} ${minbox#* }
sleep 0.5
check "minimised: only the taskbar button's window is left" "$application " \
    "$(order "$about" "$main" "$application")"
check "it is minimised" 1 "$(value iconic "$(probe info "$application")")"
screenshot desktop-minimised

# The taskbar button (the visible one after "Start") brings them back in their order.
tray=$(probe class Shell_TrayWnd 5000)
button=$(for child in $(probe children "$tray" | cut -d' ' -f1); do
    info=$(probe info "$child")
    [ "$(value visible "$info")" = 1 ] && echo "$(value rect "$info")"
done | sed -n 2p)
IFS=, read -r l t r b <<<"$button"
click_at $(((l + r) / 2)) $(((t + b) / 2))
sleep 1
check "restored from the taskbar in their order" "$about* $main " "$(order "$about" "$main")"
check "the about window where it was left" "$moved" "$(place "$about")"
check "no longer minimised" 0 "$(value iconic "$(probe info "$application")")"
screenshot desktop-restored

# "Rozpakuj" without a destination: the warning stands above the about window.
click_client "$main" $DESTINATION_FIELD
xdotool key ctrl+a BackSpace
click_client "$main" $UNPACK_BUTTON
box=$(probe dialog 5000)
check "the warning stands above the about window, which is no longer stay-on-top" \
    "$box $about $main " "$(order "$box" "$about" "$main")"
screenshot desktop-warning
xdotool key Return
probe gone "$box" 5000 >/dev/null
sleep 0.5
check "closed, the about window is stay-on-top again" "$about* $main " \
    "$(order "$about" "$main")"

click_client "$main" $EXIT_BUTTON
check "\"Wyjdź\" ends the program with exit code 0" 0 "$(tolvo_exit_code)"
rm -rf "$work"
summary
