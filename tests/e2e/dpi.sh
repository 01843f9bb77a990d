#!/usr/bin/env bash
# Both windows at 96, 120, 144 and 192 DPI (the prefix's LogPixels): each window lies inside the
# screen, no control with a window of its own is cut off, and the flat buttons' white captions
# keep the side picture behind them all the way down. Screenshots dpi-<DPI>-main and
# dpi-<DPI>-about.
source "$(dirname "$0")/lib.sh"
start_in_own_prefix wine-dpi
work=$(mktemp -d)
cp "$TOLVO_EXE" "$(dirname "$TOLVO_EXE")/readme.txt" "$work/"

# Wine reads the system's DPI from the desktop settings, the fonts' from the hardware profile.
set_dpi() { # dpi
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}

# The screenshot's colour at a point on the screen, and how many pixels of a screen rectangle
# have that colour.
colour_at() { convert "$ARTEFACTS/$1.png" -format "%[pixel:p{$2,$3}]" info:; }
count_colour() { # shot colour left top width height
    convert "$ARTEFACTS/$1.png" -crop "$5x$6+$3+$4" +repage -fill black +opaque "$2" \
        -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:
}

inside() { # what inner-rect outer-rect [right-overrun] (rectangles: left,top,right,bottom)
    local l t r b L T R B
    IFS=, read -r l t r b <<<"$2"
    IFS=, read -r L T R B <<<"$3"
    check "$1" yes "$([ "$l" -ge "$L" ] && [ "$t" -ge "$T" ] && [ "$r" -le "$((R + ${4:-0}))" ] &&
        [ "$b" -le "$B" ] && echo yes || echo "no ($2 in $3)")"
}

client_rect() { # info: the client area in screen coordinates
    local origin client
    origin=$(value clientorigin "$1")
    client=$(value client "$1")
    echo "${origin%,*},${origin#*,},$((${origin%,*} + ${client%,*})),$((${origin#*,} + ${client#*,}))"
}

# Every window of the program inside the screen, each of its child windows inside its client area.
check_layout() { # dpi window name
    local info child
    info=$(probe info "$2")
    inside "$1 DPI: the $3 window lies inside the screen" "$(value rect "$info")" 0,0,1024,768
    # One line a child, "handle class text"; a memo's text runs on over further lines.
    # The about window's memo is designed one pixel wider than the window, and stays so.
    while read -r child class; do
        inside "$1 DPI: $class inside the $3 window" "$(value rect "$(probe info "$child")")" \
            "$(client_rect "$info")" "$([ "$class" = TolvoTMemo ] && echo 1)"
    done < <(probe children "$2" | grep -E '^0x[0-9a-f]{8} [A-Za-z]' | cut -d' ' -f1,2)
}

previous_width=0
for dpi in 96 120 144 192; do
    set_dpi $dpi
    start_tolvo "$work"
    main=$(probe find "Tolvo v1.0" 20000)
    sleep 0.5
    info=$(probe info "$main")
    client=$(value client "$info")
    echo "$dpi DPI: main window client area $client"
    check "$dpi DPI: the main window grows with the text" yes \
        "$([ "${client%,*}" -ge "$previous_width" ] && echo yes || echo no)"
    previous_width=${client%,*}
    check_layout $dpi "$main" main
    screenshot dpi-$dpi-main
    # The buttons' band, from the left edge of the buttons to their right edge, down the whole
    # window: the picture everywhere, never the bare window colour, with the white captions on it.
    IFS=, read -r left top right bottom <<<"$(client_rect "$info")"
    width=${client%,*}
    face=$(colour_at dpi-$dpi-main $((left + width * 253 / 333)) $((top + 2)))
    band_left=$((left + width * 262 / 333)) band_width=$((width * 63 / 333))
    check "$dpi DPI: the picture lies behind every button, down to the foot" 0 \
        "$(count_colour dpi-$dpi-main "$face" $band_left "$top" $band_width $((bottom - top)))"
    check "$dpi DPI: the captions are drawn on it" yes "$(
        [ "$(count_colour dpi-$dpi-main white $band_left "$top" $band_width $((bottom - top)))" \
            -gt 100 ] && echo yes || echo no)"

    xdotool key F1
    about=$(probe find "O programie..." 5000)
    sleep 0.5
    check_layout $dpi "$about" about
    screenshot dpi-$dpi-about
    probe close "$main"
    check "$dpi DPI: the program ends with exit code 0" 0 "$(tolvo_exit_code)"
done
set_dpi 96
rm -rf "$work"
summary
