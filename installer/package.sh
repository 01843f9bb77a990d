# Shared by scripts/package and the installer's test: Tolvo's release files made from a build
# tree. Source it after scripts/env.sh.

# The release's version as its file names give it: the project's major and minor numbers.
release_version() {
    sed -n 's/^project(Tolvo VERSION \([0-9]*\)\.\([0-9]*\).*/\1.\2/p' "$TOLVO_ROOT/CMakeLists.txt"
}

# The files a user gets, in one folder: the program, its readme and the how-to, the texts in the
# users' code page with CR LF line ends.
RELEASE_FILES=(tolvo.exe readme.txt jak_uruchomic.txt)
stage_release() { # build-tree folder
    mkdir -p "$2"
    cp "$1/src/tolvo.exe" "$1/src/readme.txt" "$2/"
    iconv -f UTF-8 -t CP1250 "$TOLVO_ROOT/installer/jak_uruchomic.txt" | sed 's/$/\r/' \
        >"$2/jak_uruchomic.txt"
}

# The same files give the same bytes: the files in a fixed order, with a fixed time and mode, and
# no fields that hold the packing machine's owners or times.
make_zip() { # folder zip
    local file
    for file in "${RELEASE_FILES[@]}"; do
        chmod 644 "$1/$file"
        TZ=UTC touch -d '2026-01-01 00:00:00' "$1/$file"
    done
    rm -f "$2"
    (cd "$1" && printf '%s\n' "${RELEASE_FILES[@]}" | TZ=UTC zip -q -X -D "$2" -@)
}

# The installer of the staged files, for 32-bit (x86) or 64-bit (amd64) Windows.
make_setup() { # folder x86|amd64 setup.exe
    makensis -V2 -INPUTCHARSET UTF8 -DSOURCE="$1" -DARCH="$2" -DOUTFILE="$3" \
        "$TOLVO_ROOT/installer/tolvo.nsi"
}
