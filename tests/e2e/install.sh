#!/usr/bin/env bash
# The release as a Windows user gets it, made from this build: the ZIP's files, the same bytes
# from the same files; in a fresh prefix the installer's pages, up to Tolvo started from the
# finish page, which says where ace32.exe goes; the files, the Start-menu shortcut, the uninstall
# entry and the .ace type; an archive opened through the shell as Explorer opens it, unpacked by
# the archiver the user put beside the program; installing again keeps one entry; the silent
# uninstall takes exactly what was installed. Then another program's .ace left as it is, a folder
# chosen with /D=, and the current user's install without elevation, checked in the registry
# (Wine does not show the user's classes in HKEY_CLASSES_ROOT).
source "$(dirname "$0")/lib.sh"
source "$TOLVO_ROOT/installer/package.sh"
start_display
work=$(mktemp -d)
ACE32_EXE=$(dirname "$PROBE_EXE")/ace32.exe

# 1. The ZIP: the three files, and the same bytes when made again from files touched since.
stage_release "$BUILD_TREE" "$work/release"
make_zip "$work/release" "$work/first.zip"
touch "$work/release"/*
make_zip "$work/release" "$work/second.zip"
check "the ZIP holds the program, its readme and the how-to" "tolvo.exe readme.txt jak_uruchomic.txt" \
    "$(unzip -Z1 "$work/first.zip" | tr '\n' ' ' | sed 's/ $//')"
check "the same files make the same ZIP" same "$(cmp -s "$work/first.zip" "$work/second.zip" && echo same)"
arch=x86
[ "$TOLVO_ARCH" = i686 ] || arch=amd64
make_setup "$work/release" $arch "$work/tolvo-setup.exe"
check "the installer is made for this build ($arch)" yes "$([ -s "$work/tolvo-setup.exe" ] && echo yes)"

# A fresh prefix: a copy of the test's own, which nothing of Tolvo's has touched, taken with its
# server ended so that its registry is all on disk.
wineserver -k 2>/dev/null
cp -a "$WINEPREFIX" "$work/prefix"
export WINEPREFIX=$work/prefix
wineserver -p
finish() {
    [ -n "$TOLVO_PID" ] && kill "$TOLVO_PID" 2>/dev/null
    wineserver -k
    stop_xvfb
    rm -rf "$work"
}
setup=$(winpath "$work/tolvo-setup.exe")

# The registry as the platform's own reg tool reads it: a value (the default for ""), or whether
# the key exists.
reg_value() { # key [name]
    local which=(/ve)
    [ -n "${2:-}" ] && which=(/v "$2")
    wine reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' | iconv -f CP852 -t UTF-8 |
        sed -n 's/^    .*    REG_[A-Z_]*    //p'
}
has_key() { wine reg query "$1" >/dev/null 2>&1 && echo yes || echo no; }
has_value() { wine reg query "$1" /v "$2" >/dev/null 2>&1 && echo yes || echo no; }
# Where a path on the prefix's drive C lies, without asking Wine each time.
unix_path() { # C:\path
    local path=${1#[Cc]:}
    echo "$WINEPREFIX/drive_c${path//\\//}"
}
exists() { [ -e "$(unix_path "$1")" ] && echo yes || echo no; }

UNINSTALL='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvo'
PROGID=Tolvo.ArchiwumACE
# Whether the installed program is the release's, byte for byte.
installed_is_release() { # folder
    cmp -s "$(unix_path "$1\\tolvo.exe")" "$work/release/tolvo.exe" && echo same
}
# None of the keys the install made is left under the root.
check_no_keys_left() { # root
    local key
    for key in "$UNINSTALL" 'Software\Tolvo' "Software\\Classes\\$PROGID" 'Software\Classes\.ace'; do
        check "no key left: $1\\$key" no "$(has_key "$1\\$key")"
    done
}
# Uninstalls silently as "Apps" would, and waits until the uninstaller, which runs from a copy of
# itself, has taken the last of its keys away.
uninstall() { # root
    local command
    command=$(reg_value "$1\\$UNINSTALL" QuietUninstallString)
    eval "wine ${command//\\/\\\\}" >/dev/null 2>&1
    for _ in $(seq 60); do
        [ "$(has_key "$1\\Software\\Tolvo")" = no ] && break
        sleep 0.2
    done
    sleep 0.5
}

# 2. The installer's pages, with Enter: welcome, folder, install; on the finish page, with no
# ace32.exe anywhere, the program's own words for where it goes; Enter runs Tolvo.
wine "$setup" >/dev/null 2>&1 &
page=$(probe dialog 20000)
for name in welcome folder; do
    sleep 1
    screenshot "install-$name"
    xdotool key Return
done
NOT_FOUND="Nie znaleziono programu ace32.exe. Umieść go w folderze programu Tolvo lub w folderze wskazanym w zmiennej PATH."
for _ in $(seq 50); do
    probe children "$page" | grep -q -F "$NOT_FOUND" && break
    sleep 0.2
done
sleep 0.5
screenshot install-finish
folder='C:\Program Files\Tolvo'
check "the finish page says where ace32.exe goes" yes \
    "$(probe children "$page" | grep -q -F "$NOT_FOUND" && echo yes)"
check "and names the folder" yes "$(probe children "$page" | grep -q -F "$folder" && echo yes)"
xdotool key Return
main=$(probe find "Tolvo v1.0" 20000)
check "the finish page starts Tolvo" yes "$([ -n "$main" ] && echo yes)"
probe close "$main"
probe gone "$main" 5000 >/dev/null

# 3. What the install made, for all users (Wine's user is an administrator).
for file in tolvo.exe readme.txt jak_uruchomic.txt uninstall.exe; do
    check "installed: $file" yes "$(exists "$folder\\$file")"
done
check "the installed program is the release's" same \
    "$(installed_is_release "$folder")"
check "the Start-menu shortcut for all users" yes \
    "$(exists 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tolvo.lnk')"
entry=HKLM\\$UNINSTALL
for pair in "DisplayName=Tolvo" "DisplayVersion=1.0.0.0" "Publisher=Olgierd Wróblik" \
    "DisplayIcon=$folder\\tolvo.exe,0" "InstallLocation=$folder" \
    "UninstallString=\"$folder\\uninstall.exe\" /AllUsers" \
    "QuietUninstallString=\"$folder\\uninstall.exe\" /AllUsers /S" "NoModify=0x1" "NoRepair=0x1"; do
    check "the uninstall entry's ${pair%%=*}" "${pair#*=}" "$(reg_value "$entry" "${pair%%=*}")"
done
size=$(reg_value "$entry" EstimatedSize)
check "its estimated size in KB" yes "$([ $((size)) -ge 500 ] && echo yes || echo "no ($size)")"
check ".ace opens as Tolvo's type" $PROGID "$(reg_value 'HKCR\.ace')"
check ".ace lists Tolvo's type in Open with" yes "$(has_value 'HKCR\.ace\OpenWithProgids' $PROGID)"
check "the type's icon" "$folder\\tolvo.exe,0" "$(reg_value "HKCR\\$PROGID\\DefaultIcon")"
check "the type opens an archive in Tolvo" "\"$folder\\tolvo.exe\" \"%1\"" \
    "$(reg_value "HKCR\\$PROGID\\shell\\open\\command")"

# 4. An archive opened through the shell, as a double click in Explorer opens it: Tolvo shows it
# and "Rozpakuj" hands it to the archiver that the user put into Tolvo's folder.
cp "$ACE32_EXE" "$(unix_path "$folder")/"
mkdir -p "$work/archives"
echo "not really an archive" >"$work/archives/Zdjęcia z wakacji.ace"
export TOLVO_ACE_LOG
TOLVO_ACE_LOG=$(winpath "$work/ace.log")
wine start "$(winpath "$work/archives/Zdjęcia z wakacji.ace")" >/dev/null 2>&1
main=$(probe find "Tolvo v1.0" 20000)
sleep 1
screenshot install-opened-by-the-shell
click_client "$main" $UNPACK_BUTTON
wait_for_file "$work/ace.log"
check "the archive opened through the shell reaches the archiver" \
    "$(shortpath "$work/archives/Zdjęcia z wakacji.ace")" "$(record_value arg3 "$work/ace.log")"
box=$(probe dialog 5000)
xdotool key Return
probe gone "$box" 5000 >/dev/null
probe close "$main"
probe gone "$main" 5000 >/dev/null

# 5. Installed again over a damaged copy: the files are replaced and there is still one entry.
echo damaged >"$(unix_path "$folder\\tolvo.exe")"
wine "$setup" /S
check "installing again replaces the files" same \
    "$(installed_is_release "$folder")"
check "installing again keeps one entry" 1 \
    "$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null |
        grep -c -i 'tolvo')"

# 6. The silent uninstall takes what the install made, and only that.
uninstall HKLM
for file in tolvo.exe readme.txt jak_uruchomic.txt uninstall.exe; do
    check "uninstalled: $file" no "$(exists "$folder\\$file")"
done
check "the user's ace32.exe stays, and the folder with it" yes "$(exists "$folder\\ace32.exe")"
check "the shortcut is gone" no "$(exists 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tolvo.lnk')"
check_no_keys_left HKLM

# 7. Another program owns .ace: installed into a chosen folder, Tolvo is only offered beside it;
# the uninstall leaves the other program's association as it was.
wine reg add 'HKLM\Software\Classes\.ace' /ve /d Inny.Archiwum /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Classes\Inny.Archiwum\shell\open\command' /ve /d 'inny.exe "%1"' /f \
    >/dev/null 2>&1
chosen='C:\Moje programy\Tolvo'
# As typed at a prompt: the folder last, unquoted, blanks and all.
wine cmd /c "$setup /S /D=$chosen" >/dev/null 2>&1
check "a chosen folder: installed there" yes "$(exists "$chosen\\tolvo.exe")"
check "its entry names it" "$chosen" "$(reg_value "HKLM\\$UNINSTALL" InstallLocation)"
check "another program's .ace stays its own" Inny.Archiwum "$(reg_value 'HKCR\.ace')"
check "Tolvo is offered beside it" yes "$(has_key "HKLM\\Software\\Classes\\$PROGID")"
uninstall HKLM
check "after the uninstall .ace is still the other program's" Inny.Archiwum "$(reg_value 'HKCR\.ace')"
check "and its type is untouched" 'inny.exe "%1"' "$(reg_value 'HKCR\Inny.Archiwum\shell\open\command')"
check "Tolvo is no longer offered" no "$(has_key "HKCR\\.ace\\OpenWithProgids")"
check "the chosen folder is gone" no "$(exists "$chosen")"

# 8. For the current user only: the user's programs folder and HKCU, and nothing left after.
wine "$setup" /S /CurrentUser
own=$(wine cmd /c echo '%LOCALAPPDATA%' 2>/dev/null | tr -d '\r')\\Programs\\Tolvo
check "for the current user: installed in the user's programs" yes "$(exists "$own\\tolvo.exe")"
check "the user's Start-menu shortcut" yes "$(exists "$(wine cmd /c echo '%APPDATA%' 2>/dev/null |
    tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs\\Tolvo.lnk")"
check "its entry is the user's" "\"$own\\uninstall.exe\" /CurrentUser /S" \
    "$(reg_value "HKCU\\$UNINSTALL" QuietUninstallString)"
check "nothing for all users" no "$(has_key "HKLM\\$UNINSTALL")"
check "the user's .ace type" "\"$own\\tolvo.exe\" \"%1\"" \
    "$(reg_value "HKCU\\Software\\Classes\\$PROGID\\shell\\open\\command")"
uninstall HKCU
check "uninstalled for the current user" no "$(exists "$own")"
check_no_keys_left HKCU
summary
