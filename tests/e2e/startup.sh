#!/usr/bin/env bash
# The program starts, shows its main window owned by the hidden application window (the one
# taskbar button), and ends with exit code 0 when the main window is closed or the session ends.
source "$(dirname "$0")/lib.sh"
start_display
wineserver -p

# The libraries of the open dialog, the shell and network names are loaded when first needed.
check "the program imports only what its first window needs" "GDI32.dll KERNEL32.dll msvcrt.dll USER32.dll" \
    "$($TOLVO_ARCH-w64-mingw32-objdump -p "$TOLVO_EXE" | awk '/DLL Name:/ {print $3}' | sort -f | tr '\n' ' ' | sed 's/ $//')"

# The manifest names the exe's own architecture, asks for no elevation, names the Windows
# versions (7, 8, 8.1, 10 and 11) and keeps the system DPI awareness.
manifest=$(probe manifest "$(winepath -w "$TOLVO_EXE")")
architecture=x86
[ "$TOLVO_ARCH" = i686 ] || architecture=amd64
manifest_says() { printf '%s' "$manifest" | grep -o -E "$1" | sort -u | tr '\n' ' '; }
check "the manifest names the build's architecture" "processorArchitecture=\"$architecture\" " \
    "$(manifest_says 'processorArchitecture="[a-z0-9]+"')"
check "the manifest runs the program as its invoker" 'level="asInvoker" ' "$(manifest_says 'level="[A-Za-z]+"')"
check "the manifest names four Windows versions" 4 "$(printf '%s' "$manifest" | grep -c '<supportedOS Id=')"
check "the manifest keeps the system DPI awareness" "true</dpiAware> " "$(manifest_says 'true</dpiAware>')"

work=$(mktemp -d)
start_tolvo "$work"
main=$(probe find "Tolvo v1.0" 20000)
check "the main window appears" "yes" "$([ -n "$main" ] && echo yes || echo no)"
screenshot startup

info=$(probe info "$main")
check "main window visible" 1 "$(value visible "$info")"
check "main window owned by the application window" TolvoTApplication "$(value ownerclass "$info")"
check "main window has no taskbar button of its own" 0 "$(value appwindow "$info")"
check "main window has a minimise box" 1 "$(value minimizebox "$info")"
check "main window has no maximise box" 0 "$(value maximizebox "$info")"
check "main window client area" 333,257 "$(value client "$info")"

app=$(value owner "$info")
appinfo=$(probe info "$app")
check "the application window carries the title" Tolvo "$(value title "$appinfo")"
check "the application window is marked visible" 1 "$(value visible "$appinfo")"
check "the application window is never drawn" 0x0 "$(value rect "$appinfo" | awk -F, '{print $3-$1 "x" $4-$2}')"
owned=$(probe owned "$app")
check "no other window of the program is visible" 1 "$(printf '%s\n' "$owned" | grep -c 'visible=1')"

probe close "$main"
check "closing the main window ends the program with exit code 0" 0 "$(tolvo_exit_code)"

# Ending the session ends the program at once, the same way.
start_tolvo "$work"
main=$(probe find "Tolvo v1.0" 20000)
app=$(value owner "$(probe info "$main")")
probe post "$app" 0x16 1 0
check "the end of the session ends the program with exit code 0" 0 "$(tolvo_exit_code)"
rm -rf "$work"
summary
