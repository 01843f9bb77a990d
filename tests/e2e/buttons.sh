#!/usr/bin/env bash
# The flat buttons under the real mouse: no frame while the pointer is elsewhere, the raised
# frame under it, the sunken frame while pressed, gone again when dragged off (and no click);
# "Wyjdź" clicked for real ends the program.
source "$(dirname "$0")/lib.sh"
start_display
wineserver -p

work=$(mktemp -d)
start_tolvo "$work"
main=$(probe find "Tolvo v1.0" 20000)
check "the main window appears" "yes" "$([ -n "$main" ] && echo yes || echo no)"
origin=$(value clientorigin "$(probe info "$main")")
ox=${origin%,*}
oy=${origin#*,}
# "Rozpakuj": 261, 64, 65 x 25 in the client area.
bx=$((ox + 261))
by=$((oy + 64))

WHITE="srgb(255,255,255)"

# The button's face on the screen, saved under the name; pixel NAME X Y reads it back.
face() { # name
    sleep 0.6
    import -window root -crop "65x25+$bx+$by" +repage "$ARTEFACTS/button-$1.png" 2>/dev/null
}
pixel() { # name x y
    convert "$ARTEFACTS/button-$1.png" -format "%[pixel:p{$2,$3}]" info: 2>/dev/null
}
same() { # name name
    compare -metric AE "$ARTEFACTS/button-$1.png" "$ARTEFACTS/button-$2.png" null: 2>&1
}

xdotool mousemove $((ox + 20)) $((oy + 20))
face idle
check "no frame while the pointer is elsewhere" "no" \
    "$([ "$(pixel idle 0 12)" = "$WHITE" ] && echo yes || echo no)"

xdotool mousemove $((bx + 32)) $((by + 12))
face hover
check "the raised frame under the pointer: highlight left" "$WHITE" "$(pixel hover 0 12)"
check "highlight on top" "$WHITE" "$(pixel hover 32 0)"
check "shadow on the right and at the bottom" "$(pixel hover 64 12)" "$(pixel hover 32 24)"
check "the shadow is not the highlight" "yes" \
    "$([ "$(pixel hover 64 12)" != "$WHITE" ] && echo yes || echo no)"

xdotool mousemove $((ox + 20)) $((oy + 20))
face left
check "leaving removes the frame" 0 "$(same left idle)"

xdotool mousemove $((bx + 32)) $((by + 12))
sleep 0.4
xdotool mousedown 1
face pressed
check "the sunken frame while pressed: dark left" "$(pixel pressed 0 12)" "$(pixel pressed 32 0)"
check "the sunken frame: highlight right" "$WHITE" "$(pixel pressed 64 12)"
check "the sunken frame: highlight at the bottom" "$WHITE" "$(pixel pressed 32 24)"
check "pressed differs from hovered" "yes" \
    "$([ "$(same pressed hover)" != 0 ] && echo yes || echo no)"

xdotool mousemove $((ox + 20)) $((oy + 20))
face dragged
check "dragged off: no frame" 0 "$(same dragged idle)"
xdotool mouseup 1
sleep 0.5
check "a release off the button starts nothing" "" "$(probe find "Tolvo" 300 | grep -v "^$main$")"
screenshot buttons

# "Wyjdź": 261, 208.
click_client "$main" 261 208 65 25
check "Wyjdź ends the program with exit code 0" 0 "$(tolvo_exit_code)"
rm -rf "$work"
summary
