#!/bin/bash
# The help engine opens quillon95.hlp: its window bears the file's title,
# it shows the contents topic first, with a jump to every topic, lists every
# keyword in its index, and finds a topic by its context name through the
# file's context table. Then the editor's Help command, on a system with
# WinHelp, opens the file from the folder the registry names, and closing
# the editor closes the help.
. "$SOURCE_DIR/tests/e2e/lib.sh" && e2e_begin

help="$BUILD_DIR/quillon95.hlp"
source="$SOURCE_DIR/docs/help/quillon95.hlpsrc"
[ -f "$help" ] || fail "no $help"
windows_name helpwin "$help"

# open_help ARGS...: starts the help engine, waits for its window.
open_help() {
    wine winhlp32 "$@" >"$E2E_TMP/winhlp32.log" 2>&1 &
    EDITOR_PID=$!
    qdrive wait-window MS_WINHELP 20000 >/dev/null || fail "help window did not appear"
}

close_help() {
    qdrive post MS_WINHELP $WM_CLOSE 0 0 || fail "could not close the help window"
    qdrive wait-gone MS_WINHELP 10000 || fail "help window did not close"
    wait_editor || fail "help engine exit code $EDITOR_STATUS"
}

mapfile -t titles < <(sed -n 's/^@topic [^ ]* \(.*\)$/\1/p' "$source")
last_context=$(sed -n 's/^@topic \([^ ]*\) .*$/\1/p' "$source" | tail -n 1)
[ ${#titles[@]} -gt 1 ] || fail "no topics in $source"

open_help "$helpwin"
help_shows "${titles[0]}"
for t in "${titles[@]:1}"; do
    grep -qxF "• $t" <<< "$HELP_TEXT" || fail "the contents topic has no jump to \"$t\""
done

# The Index button lists every keyword.
qdrive command MS_WINHELP $WINHELP_INDEX || fail "could not press Index"
listed=$(qdrive list-items "Help topics" 10000 | tr -d '\r') || fail "the index did not open"
while IFS= read -r k; do
    grep -qxF "$k" <<< "$listed" || fail "the index lacks \"$k\""
done < <(sed -n 's/^@keywords //p' "$source" | tr ';' '\n' | sed 's/^ *//; s/ *$//' | grep .)
echo "index: $(grep -c . <<< "$listed") keywords"
qdrive answer-box "Help topics" $IDCANCEL 5000 >/dev/null || fail "could not close the index"
close_help

open_help -i "$last_context" "$helpwin"
help_shows "${titles[${#titles[@]} - 1]}"
close_help

# The editor finds the help file in the folder of the value HDir (setup
# writes it), or else by its bare name, which the help engine looks for in
# the current folder; both lead to the built file, the only copy there is.
# The value the registry held before is put back afterwards.
old_hdir=$(reg_value HDir)
restore_hdir() {
    if [ -n "$old_hdir" ]; then
        wine reg add "$SETTINGS_KEY" /v HDir /d "$old_hdir" /f >/dev/null 2>&1
    else
        wine reg delete "$SETTINGS_KEY" /v HDir /f >/dev/null 2>&1
    fi
}
# The editor under a name of its own, to which Wine gives the version of
# Windows XP, which has WinHelp (the prefix's Windows 7 has none: there Help
# shows the text file, see release.sh).
xp_editor="$E2E_TMP/quillon95xp.exe"
xp_key='HKCU\Software\Wine\AppDefaults\quillon95xp.exe'
cp "$BUILD_DIR/quillon95.exe" "$xp_editor" || fail "could not copy the editor"
at_exit 'restore_hdir; wine reg delete "$xp_key" /f >/dev/null 2>&1'
wine reg add "$xp_key" /v Version /d winxp /f >/dev/null 2>&1 || fail "could not set the editor's version"
windows_name buildwin "$BUILD_DIR"
wine reg add "$SETTINGS_KEY" /v HDir /d "$buildwin\\" /f >/dev/null 2>&1 || fail "could not set HDir"

file=$(e2e_file sample.bin 100)
cd "$BUILD_DIR" || fail "no $BUILD_DIR"
windows_name filewin "$file"
wine "$xp_editor" "$filewin" &
EDITOR_PID=$!
qdrive wait-window QuillonWClass 20000 >/dev/null || fail "editor did not start"
qdrive command QuillonWClass $IDM_HELP || fail "could not post Help"
qdrive wait-window MS_WINHELP 20000 >/dev/null || fail "Help did not open the help window"
help_shows "${titles[0]}"
qdrive command QuillonWClass $IDM_EXIT || fail "could not post Exit"
wait_editor || fail "editor exit code $EDITOR_STATUS"
qdrive wait-gone MS_WINHELP 10000 || { qdrive post MS_WINHELP $WM_CLOSE 0 0; fail "closing the editor left the help open"; }
pass
