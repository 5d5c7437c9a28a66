#!/bin/bash
# The shipped zip on a machine that has never seen the editor: a Wine prefix
# of its own, new for each run, with its own Wine server and display. The zip is
# unpacked into a folder, setup.exe installs from there into c:\quillon95\
# with the program group, and the installed editor opens a file, shows its
# help from the installed place with F1, changes one byte and saves it on
# exit. Wine's default personality is Windows 7, which has no WinHelp: the
# help is the text file in Notepad, and so is the group's help item.
#   release.sh win95    the same in Wine's Windows 95 personality, where
#                       both lead to the help file;
#   release.sh shipped  in a tree of x86_64 programs: the shipped i686 files
#                       of the zip in a 64-bit prefix, where they run as
#                       32-bit programs, under user-mode emulation on a host
#                       that runs none itself (tools/i386-support.sh);
#                       without F1, whose Notepad would be emulated too.
# Without an argument, a tree of x86_64 programs installs its own four files
# the same way; they are never zipped. A 64-bit prefix has no Windows 95
# personality, so there the win95 run is skipped.
E2E_APART=yes
. "$SOURCE_DIR/tests/e2e/lib.sh"

mode=${1:-}
# Bounds on waits for the programs are multiplied by slow.
slow=1
case $mode in
    win95)
        [ "$WINEARCH" = win64 ] &&
            skip "a 64-bit Wine prefix has no Windows 95 personality (winecfg -v win95 is refused)" ;;
    shipped)
        case $("$SOURCE_DIR/tools/i386-support.sh") in
            none) skip "this host runs no 32-bit program, and their emulation is not set up (tools/bootstrap.sh registers qemu-i386 as root)" ;;
            emulated) slow=10; echo "the 32-bit programs run under user-mode emulation" ;;
        esac ;;
esac

zip="$SOURCE_DIR/dist/quillon95.zip"
shipped="quillon95.exe quillon95.hlp quillon95.txt setup.exe"
from_zip=
[ "$WINEARCH" = win32 ] || [ "$mode" = shipped ] && from_zip=yes

# The zip must hold what the i686 build made: `make test` runs `make dist`
# first (imports.sh checks what the zip holds).
[ -z "$from_zip" ] || [ -f "$zip" ] || fail "no $zip (make dist)"
if [ "$WINEARCH" = win32 ]; then
    for f in $shipped; do
        [ "$zip" -nt "$BUILD_DIR/$f" ] || fail "$zip is older than $BUILD_DIR/$f (make dist)"
    done
fi

# unpack DIR: the files setup.exe installs from, in DIR.
unpack() {
    mkdir -p "$1"
    if [ -n "$from_zip" ]; then
        unzip -q "$zip" -d "$1" || fail "could not unpack the zip"
    else
        for f in $shipped; do cp "$BUILD_DIR/$f" "$1/" || fail "no $BUILD_DIR/$f"; done
    fi
}

# The server of this run's own prefix, once there is one; never the build
# folder's, whose tests may be running.
release_prefix=
stop_prefix() { [ -z "$release_prefix" ] || WINEPREFIX=$release_prefix wineserver -k >/dev/null 2>&1; }
trap 'stop_prefix; cleanup' EXIT

# fresh_prefix DIR [VERSION]: a new prefix in DIR (tools/wine-env.sh), with
# its own server, made the current one; VERSION (win95, ...) sets the
# Windows version it reports. The main prefix's server and windows are not
# touched.
fresh_prefix() {
    release_prefix=$1
    export WINEPREFIX=$1
    stop_prefix
    local made=$(date +%s)
    new_prefix "$WINEPREFIX"
    [ -f "$WINEPREFIX/system.reg" ] || fail "no prefix in $WINEPREFIX"
    if [ -n "${2:-}" ]; then
        timeout 60 wine winecfg -v "$2" >/dev/null 2>&1 </dev/null || fail "winecfg -v $2 failed"
        timeout 60 wineserver -w
    fi
    wineserver -p 30 >/dev/null 2>&1 </dev/null
    echo "fresh prefix in $(( $(date +%s) - made )) s"
}

# install_release HELP: the files unpacked into c:\download, setup.exe run from
# there with drive C, the default directory and icons on; checks "Setup
# completed", the installed files, "Hdir" and the program group, whose help
# item shows the file HELP.
install_release() {
    unpacked="$WINEPREFIX/drive_c/download"
    unpack "$unpacked"

    local dest="$WINEPREFIX/drive_c/quillon95" programs group dir box hdir items f
    programs="$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs)"
    [ -d "$programs" ] || fail "no Start Menu in the fresh prefix"
    group="$programs/Quillon 95"
    [ -e "$dest" ] && fail "c:\\quillon95 exists before setup"

    (cd "$unpacked" && exec wine setup.exe) &
    EDITOR_PID=$!
    qdrive wait-box "Select destination" $((30000 * slow)) >/dev/null || fail "SETUP dialog did not appear"
    qdrive wait-window WineDdeServerName 30000 >/dev/null || fail "the shell's DDE service is not up"
    dir=$(qdrive dialog-text "Select destination" 107 | tr -d '\r')
    [ "$dir" = '\quillon95' ] || fail "default directory is '$dir'"
    qdrive dialog-command "Select destination" 101 || fail "could not press OK"
    qdrive answer-box "does not exist" 6 $((10000 * slow)) >/dev/null || fail "no question to create c:\\quillon95"
    box=$(qdrive wait-box "Setup " $((30000 * slow))) || fail "no result message"
    qdrive answer-box "Setup " 1 $((5000 * slow)) >/dev/null || fail "could not answer the result"
    wait_editor $((30 * slow)) || fail "setup exit code $EDITOR_STATUS"
    box=$(printf '%s' "$box" | tr -d '\r')
    echo "setup: ${box#*|}"
    [ "${box#*|}" = "Setup completed" ] || fail "setup said: ${box#*|}"

    for f in quillon95.exe quillon95.hlp quillon95.txt; do
        cmp "$unpacked/$f" "$dest/$f" || fail "$f not installed"
    done
    hdir=$(wine reg query 'HKCU\Software\Ostrel\Quillon' /v Hdir 2>/dev/null | tr -d '\r' | awk '$1 == "Hdir" {print $3}')
    [ "$hdir" = 'c:\quillon95\' ] || fail "Hdir is '$hdir'"
    items=$(ls "$group" 2>/dev/null | sort | tr '\n' ' ')
    echo "Start Menu, Quillon 95: $items"
    [ "$items" = "Quillon95.hlp.lnk Quillon95.lnk Quillon95.txt.lnk " ] || fail "the group holds: $items"
    strings -a "$group/Quillon95.hlp.lnk" | grep -qxF "c:\quillon95\\$1" || fail "the help item does not show $1"
}

# start_installed_editor: the installed editor on a new file of drive C
# (c:\data\sample.bin, kept as original.bin), with WINEDEBUG=+winhelp into
# $trace; waits for the file in the title and raises the editor's window.
start_installed_editor() {
    mkdir -p "$WINEPREFIX/drive_c/data"
    file="$WINEPREFIX/drive_c/data/sample.bin"
    head -c 5000 /dev/urandom > "$file"
    cp "$file" "$E2E_TMP/original.bin"
    trace="$E2E_TMP/trace.txt"
    (cd "$WINEPREFIX/drive_c/data" && WINEDEBUG=+winhelp exec wine 'c:\quillon95\quillon95.exe' 'c:\data\sample.bin') >"$trace" 2>&1 &
    EDITOR_PID=$!
    qdrive wait-window QuillonWClass $((30000 * slow)) >/dev/null || fail "the installed editor did not start"
    qdrive move QuillonWClass 0 0 680 520 || fail "could not place the editor"
    wait_title sample.bin $((10 * slow))
    # The shell shows the new group in a window of its own, also named
    # "Quillon 95", which has the keyboard: a click in the editor's view
    # (view mode: it only highlights a byte) brings the editor to the front.
    wid=$(xdotool search --name '^Quillon 95 .*sample\.bin' | head -n 1)
    [ -n "$wid" ] || fail "no X window for the editor"
    xdotool windowraise "$wid"
    click_byte 3
}

# status_shows TEXT MS: waits (MS at most) until the status bar's offset
# part shows TEXT. Wine does not carry SB_GETTEXT's buffer from the driver
# to a program of the other bitness: the shipped run waits for a text of
# that length, and the saved file shows where the clicks and keys went.
status_shows() {
    if [ "$mode" = shipped ]; then
        qdrive wait-status-length QuillonWClass 1 ${#1} $2 >/dev/null 2>&1
    else
        qdrive wait-status QuillonWClass 1 "$1" $2 >/dev/null 2>&1
    fi
}

# click_byte OFFSET: clicks byte OFFSET of the first rows (cells of 8 x 16
# pixels) with the mouse until the status bar shows it; clicks are ignored
# until the view has painted the file.
click_byte() {
    local x=$(( (10 + 3 * ($1 % 16)) * 8 + 4 )) y=$(( ($1 / 16 + 1) * 16 + 8 ))
    local point i
    point=$(qdrive child-point QuillonWClass 60 $x $y | tr -d '\r')
    [ -n "$point" ] || fail "no hex view"
    for i in $(seq 1 40); do
        xdotool mousemove $point click 1 || fail "could not click the view"
        status_shows "$(printf 'Offset: %x (HEX)' $1)" $((500 * slow)) && return 0
    done
    fail "the click did not reach byte $1 (status: $(qdrive status QuillonWClass 1))"
}

# check_help WINDOW: F1 on the keyboard, pressed again until the help's
# window is up, in case the first press came before the editor had the
# keyboard. Notepad must show the installed text file; the help engine
# (MS_WINHELP) the contents topic of the installed help file.
check_help() {
    local helped= i contents shown opened
    for i in $(seq 1 20); do
        xdotool windowfocus --sync "$wid" key --window "$wid" F1 || fail "could not press F1"
        if qdrive wait-window "$1" 5000 >/dev/null 2>&1; then helped=1; break; fi
    done
    [ -n "$helped" ] || fail "F1 did not open $1"
    if [ "$1" = Notepad ]; then
        # Notepad's window is "Untitled" until it has read the file.
        for i in $(seq 1 50); do
            shown=$(qdrive title Notepad | tr -d '\r')
            [ "$shown" = "quillon95.txt - Notepad" ] && break
        done
        echo "help shows: $shown"
        [ "$shown" = "quillon95.txt - Notepad" ] || fail "Notepad does not show the text file"
        # Notepad goes, so that the click below reaches the view.
        qdrive post Notepad 16 0 0 && qdrive wait-gone Notepad 10000 || fail "Notepad did not close"
        return
    fi
    # The engine's own trace tells which file it read and what it showed first.
    contents=$(sed -n 's/^@topic [^ ]* \(.*\)$/\1/p' "$SOURCE_DIR/docs/help/quillon95.hlpsrc" | head -n 1)
    shown=
    for i in $(seq 1 100); do
        shown=$(grep -o 'HLPFILE_BrowseParagraph Got text: "[^"][^"]*"' "$trace" | head -n 1 | sed 's/.*Got text: "\(.*\)"/\1/')
        [ -n "$shown" ] && break
        sleep 0.1
    done
    echo "help shows: $shown"
    [ -n "$contents" ] && [ "$shown" = "$contents" ] || fail "the help does not show the contents topic"
    opened=$(grep -o 'HLPFILE_PageByOffset <"[^"]*"' "$trace" | head -n 1 | sed 's/.*<"//; s/"$//; s/\\\\/\\/g')
    echo "help file: $opened"
    [ "${opened,,}" = 'c:\quillon95\quillon95.hlp' ] || fail "Help opened '$opened', not the installed file"
    # The help window goes aside, so that the click below reaches the view.
    qdrive move MS_WINHELP 700 0 400 400 || fail "could not move the help window"
}

# edit_and_save: edit mode, a click on byte ff (row 15, byte column 15), two
# hex digits; Exit, saving the change. cmp -l must show exactly that byte.
edit_and_save() {
    # Offsets whose status texts differ in length from the one before:
    # that is all the shipped run can read of them (status_shows).
    local offset=255 old digits diffs
    old=$(od -An -tx1 -j $offset -N1 "$file" | tr -d ' \n')
    digits=5a
    [ "$old" = 5a ] && digits=a5
    qdrive command QuillonWClass 204 || fail "could not post View mode"
    click_byte $offset
    qdrive chars QuillonWClass "$digits" || fail "could not type"
    status_shows "$(printf 'Offset: %x (HEX)' $((offset + 1)))" $((5000 * slow)) || fail "the caret did not move on"

    qdrive command QuillonWClass 110 || fail "could not post Exit"
    qdrive answer-box "Do you want to save the changes?" 6 $((10000 * slow)) >/dev/null || fail "no save question"
    wait_editor $((30 * slow)) || fail "editor exit code $EDITOR_STATUS"

    diffs=$(cmp -l "$E2E_TMP/original.bin" "$file")
    echo "changed: $diffs"
    [ "$(stat -c %s "$file")" = 5000 ] || fail "length changed to $(stat -c %s "$file")"
    [ "$(echo "$diffs" | wc -l)" = 1 ] || fail "expected one changed byte, got: $diffs"
    set -- $diffs
    [ "$1" = $((offset + 1)) ] && [ "$3" = "$(printf '%o' 0x$digits)" ] || fail "wrong byte changed: $diffs"
}

started=$(date +%s)
case $mode in
    win95)
        fresh_prefix "$BUILD_DIR/release-prefix-win95" win95
        version=$(wine cmd /c ver 2>/dev/null </dev/null | tr -d '\r' | grep -o 'Windows [0-9.]*')
        echo "version: $version"
        case $version in "Windows 4.0."*) ;; *) fail "the prefix reports $version, not 4.0" ;; esac
        install_release quillon95.hlp
        start_installed_editor
        check_help MS_WINHELP
        edit_and_save
        # The help window closes with the editor.
        qdrive wait-gone MS_WINHELP 10000 || fail "closing the editor left the help open" ;;
    shipped)
        fresh_prefix "$BUILD_DIR/release-prefix-shipped"
        install_release quillon95.txt
        start_installed_editor
        edit_and_save ;;
    *)
        fresh_prefix "$BUILD_DIR/release-prefix"
        install_release quillon95.txt
        start_installed_editor
        check_help Notepad
        edit_and_save ;;
esac
stop_prefix
rm -rf "$WINEPREFIX"
echo "release run in $(( $(date +%s) - started )) s"
pass
