#!/bin/bash
# The release on a machine that has never seen the editor: a Wine prefix of
# its own, new for each run, with its own Wine server and display. The files
# are unpacked into a folder, setup.exe installs from there into
# c:\quillon95\ with the program group, and the installed editor opens a
# file, shows its help from the installed place with F1, changes one byte
# and saves it on exit.
#   release.sh [win95|shipped]
# One row of the table below is the run; the steps read only the row.
. "$SOURCE_DIR/tests/e2e/lib.sh"

# run: the argument, else the programs of this tree (i686 or x86_64);
# shipped runs the i686 files of the zip as 32-bit programs in a 64-bit
# prefix, natively or under user-mode emulation (tools/i386-support.sh).
# prefix: made in the build folder. Wine: the Wine of the prefix (WINEARCH).
# driver: the build of qdrive that drives the programs, this tree's; it
# reads them through the system whatever their bitness. files: the shipped
# zip, or this tree's own four files (x86_64 programs are never zipped).
# version: the Windows version of the prefix, else Wine's own (Windows 7).
# F1: the window that F1 opens (on Windows 7 the text file in Notepad, on
# Windows 95 the help file in WinHelp), or -: not pressed in the shipped
# runs, where Notepad is a 32-bit program too (emulated on a host that runs
# none). slow: the factor on the bounds of waits.
runs='
    run               prefix                  Wine   driver  files  version  F1          slow
    i686              release-prefix          win32  i686    zip    -        Notepad     1
    x86_64            release-prefix          win64  x86_64  tree   -        Notepad     1
    win95             release-prefix-win95    win32  i686    zip    win95    MS_WINHELP  1
    shipped-native    release-prefix-shipped  win64  x86_64  zip    -        -           1
    shipped-emulated  release-prefix-shipped  win64  x86_64  zip    -        -           10'
run=${1:-$(wine_arch_name)}
[ "$run" = shipped ] && run=shipped-$("$SOURCE_DIR/tools/i386-support.sh")
read -r run prefix wine driver files version help slow < <(
    awk -v run="$run" -v wine="$WINEARCH" '$1 == run && $3 == wine' <<< "$runs")
if [ -z "$run" ]; then
    [ "${1:-}" = win95 ] && skip "a 64-bit Wine prefix has no Windows 95 personality (winecfg -v win95 is refused)"
    skip "this host runs no 32-bit program, and their emulation is not set up (tools/bootstrap.sh registers qemu-i386 as root)"
fi
e2e_begin apart
echo "run $run: $prefix, $wine, $driver driver, files from the $files, version ${version/-/of Wine}, F1 $help, slow $slow"
item=quillon95.txt
[ "$help" = MS_WINHELP ] && item=quillon95.hlp

zip="$SOURCE_DIR/dist/quillon95.zip"
shipped="quillon95.exe quillon95.hlp quillon95.txt setup.exe"
# The zip must hold what the i686 build made, this tree where its driver
# is i686: `make test` runs `make dist` first (imports.sh checks the zip).
[ "$files" = tree ] || [ -f "$zip" ] || fail "no $zip (make dist)"
for f in $shipped; do
    [ "$files:$driver" != zip:i686 ] || [ "$zip" -nt "$BUILD_DIR/$f" ] || fail "$zip is older than $BUILD_DIR/$f (make dist)"
done

# unpack DIR: the files setup.exe installs from, in DIR.
unpack() {
    mkdir -p "$1"
    if [ "$files" = zip ]; then
        unzip -q "$zip" -d "$1" || fail "could not unpack the zip"
    else
        for f in $shipped; do cp "$BUILD_DIR/$f" "$1/" || fail "no $BUILD_DIR/$f"; done
    fi
}

# The server of this run's own prefix, once there is one; never the build
# folder's, whose tests may be running.
release_prefix=
stop_prefix() { [ -z "$release_prefix" ] || WINEPREFIX=$release_prefix wineserver -k >/dev/null 2>&1; }
at_exit stop_prefix

# fresh_prefix DIR VERSION: a new prefix in DIR (tools/wine-env.sh), with
# its own server, made the current one; VERSION (win95, or - for Wine's
# own) is the Windows version it reports. The main prefix's server and
# windows are not touched.
fresh_prefix() {
    release_prefix=$1
    export WINEPREFIX=$1
    stop_prefix
    local made=$(date +%s) reported
    new_prefix "$WINEPREFIX"
    [ -f "$WINEPREFIX/system.reg" ] || fail "no prefix in $WINEPREFIX"
    if [ "$2" != - ]; then
        timeout 60 wine winecfg -v "$2" >/dev/null 2>&1 </dev/null || fail "winecfg -v $2 failed"
        timeout 60 wineserver -w
        reported=$(wine cmd /c ver 2>/dev/null </dev/null | tr -d '\r' | grep -o 'Windows [0-9.]*')
        echo "version: $reported"
        case $2:$reported in win95:"Windows 4.0."*) ;; *) fail "the prefix reports $reported, not $2" ;; esac
    fi
    wineserver -p 30 >/dev/null 2>&1 </dev/null
    echo "fresh prefix in $(( $(date +%s) - made )) s"
}

# install_release ITEM: the files unpacked into c:\download, setup.exe run from
# there with drive C, the default directory and icons on; checks "Setup
# completed", the installed files, "Hdir" and the program group, whose help
# item shows the file ITEM. Then the unpacked files go: the installed ones
# are the only copies left.
install_release() {
    local unpacked="$WINEPREFIX/drive_c/download"
    unpack "$unpacked"

    local dest="$WINEPREFIX/drive_c/quillon95" programs group dir items f
    programs="$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs)"
    [ -d "$programs" ] || fail "no Start Menu in the fresh prefix"
    group="$programs/Quillon 95"
    [ -e "$dest" ] && fail "c:\\quillon95 exists before setup"

    (cd "$unpacked" && exec wine setup.exe) &
    EDITOR_PID=$!
    qdrive wait-box "Select destination" $((30000 * slow)) >/dev/null || fail "SETUP dialog did not appear"
    qdrive wait-window WineDdeServerName 30000 >/dev/null || fail "the shell's DDE service is not up"
    dir=$(qdrive dialog-text "Select destination" $IDC_SETUP_DIR | tr -d '\r')
    [ "$dir" = '\quillon95' ] || fail "default directory is '$dir'"
    qdrive dialog-command "Select destination" $IDC_SETUP_OK || fail "could not press OK"
    qdrive answer-box "does not exist" $IDYES $((10000 * slow)) >/dev/null || fail "no question to create c:\\quillon95"
    setup_result $((30 * slow))
    [ "$SETUP_RESULT" = "Setup completed" ] || fail "setup said: $SETUP_RESULT"

    for f in quillon95.exe quillon95.hlp quillon95.txt; do
        cmp "$unpacked/$f" "$dest/$f" || fail "$f not installed"
    done
    [ "$(reg_value Hdir)" = 'c:\quillon95\' ] || fail "Hdir is '$(reg_value Hdir)'"
    items=$(ls "$group" 2>/dev/null | sort | tr '\n' ' ')
    echo "Start Menu, Quillon 95: $items"
    [ "$items" = "Quillon95.hlp.lnk Quillon95.lnk Quillon95.txt.lnk " ] || fail "the group holds: $items"
    strings -a "$group/Quillon95.hlp.lnk" | grep -qxF "c:\quillon95\\$1" || fail "the help item does not show $1"
    rm -rf "$unpacked"
}

# start_installed_editor: the installed editor on a new file of drive C
# (c:\data\sample.bin, kept as original.bin); waits for the file in the
# title. The shell shows the new group in a window of its own, also named
# "Quillon 95", which has the keyboard: a click in the editor's view (view
# mode: it only highlights a byte) makes the editor the active window.
start_installed_editor() {
    mkdir -p "$WINEPREFIX/drive_c/data"
    file="$WINEPREFIX/drive_c/data/sample.bin"
    head -c 5000 /dev/urandom > "$file"
    cp "$file" "$E2E_TMP/original.bin"
    (cd "$WINEPREFIX/drive_c/data" && exec wine 'c:\quillon95\quillon95.exe' 'c:\data\sample.bin') &
    EDITOR_PID=$!
    qdrive wait-window QuillonWClass $((30000 * slow)) >/dev/null || fail "the installed editor did not start"
    qdrive move QuillonWClass 0 0 680 520 || fail "could not place the editor"
    wait_title sample.bin $((10 * slow))
    wid=$(xdotool search --name '^Quillon 95 .*sample\.bin' | head -n 1)
    [ -n "$wid" ] || fail "no X window for the editor"
    xdotool windowraise "$wid"
    click_byte 3 $((5 * slow))
}

# check_help WINDOW: F1 on the keyboard opens WINDOW from the installed
# place: Notepad showing the text file, or the help engine showing the
# contents topic of the help file (the unpacked copies are gone). Then
# Notepad closes, or the help window goes aside.
check_help() {
    local shown
    press_key "$wid" F1
    qdrive wait-window "$1" $((20000 * slow)) >/dev/null || fail "F1 did not open $1"
    if [ "$1" = MS_WINHELP ]; then
        help_shows "$(sed -n 's/^@topic [^ ]* \(.*\)$/\1/p' "$SOURCE_DIR/docs/help/quillon95.hlpsrc" | head -n 1)"
        qdrive move MS_WINHELP 700 0 400 400 || fail "could not move the help window"
        return
    fi
    # Notepad's window is "Untitled" until it has read the file.
    shown=$(qdrive wait-title Notepad "quillon95.txt" $((10000 * slow)) | tr -d '\r')
    echo "help shows: $shown"
    [ "$shown" = "quillon95.txt - Notepad" ] || fail "Notepad does not show the text file"
    qdrive post Notepad $WM_CLOSE 0 0 && qdrive wait-gone Notepad 10000 || fail "Notepad did not close"
}

# edit_and_save: edit mode, a click on byte ff (row 15, byte column 15), two
# hex digits; Exit, saving the change. Exactly that byte changes.
edit_and_save() {
    local offset=255 digits=5a
    [ "$(od -An -tx1 -j $offset -N1 "$file" | tr -d ' \n')" = 5a ] && digits=a5
    qdrive command QuillonWClass $IDM_VIEWMODE || fail "could not post View mode"
    click_byte $offset $((5 * slow))
    qdrive chars QuillonWClass "$digits" || fail "could not type"
    status_shows $((offset + 1)) $((5 * slow)) || fail "the caret did not move on"

    qdrive command QuillonWClass $IDM_EXIT || fail "could not post Exit"
    qdrive answer-box "Do you want to save the changes?" $IDYES $((10000 * slow)) >/dev/null || fail "no save question"
    wait_editor $((30 * slow)) || fail "editor exit code $EDITOR_STATUS"
    expect_one_byte "$E2E_TMP/original.bin" "$file" $offset $digits
}

started=$(date +%s)
fresh_prefix "$BUILD_DIR/$prefix" "$version"
install_release $item
start_installed_editor
[ "$help" = - ] || check_help "$help"
edit_and_save
# The help window closes with the editor.
[ "$help" != MS_WINHELP ] || qdrive wait-gone MS_WINHELP 10000 || fail "closing the editor left the help open"
stop_prefix
rm -rf "$WINEPREFIX"
echo "release run in $(( $(date +%s) - started )) s"
pass
