#!/bin/bash
# The help engine opens quillon95.hlp: it reads every topic, shows the
# contents topic first, lists every keyword in its index, and finds a topic
# by its context name through the file's context table. The engine's own trace tells what it read. Then the
# editor's Help command, on a system with WinHelp, opens the file from the
# folder the registry names, and closing the editor closes the help.
. "$SOURCE_DIR/tests/e2e/lib.sh"

help="$BUILD_DIR/quillon95.hlp"
source="$SOURCE_DIR/docs/help/quillon95.hlpsrc"
[ -f "$help" ] || fail "no $help"
windows_name helpwin "$help"
trace="$E2E_TMP/trace.txt"

# open_help ARGS...: starts the help engine with its trace, waits for its window.
open_help() {
    WINEDEBUG=+winhelp wine winhlp32 "$@" >"$trace" 2>&1 &
    EDITOR_PID=$!
    qdrive wait-window MS_WINHELP 20000 >/dev/null || fail "help window did not appear"
}

# first_shown: the first non-empty paragraph text the engine displayed.
first_shown() {
    local i=0 text=
    while [ $i -lt 100 ]; do
        text=$(grep -o 'HLPFILE_BrowseParagraph Got text: "[^"][^"]*"' "$trace" | head -n 1 | sed 's/.*Got text: "\(.*\)"/\1/')
        [ -n "$text" ] && break
        i=$((i + 1))
        sleep 0.1
    done
    echo "$text"
}

close_help() {
    qdrive post MS_WINHELP 16 0 0 || fail "could not close the help window"
    qdrive wait-gone MS_WINHELP 10000 || fail "help window did not close"
    wait_editor || fail "help engine exit code $EDITOR_STATUS"
}

mapfile -t titles < <(sed -n 's/^@topic [^ ]* \(.*\)$/\1/p' "$source")
last_context=$(sed -n 's/^@topic \([^ ]*\) .*$/\1/p' "$source" | tail -n 1)
[ ${#titles[@]} -gt 1 ] || fail "no topics in $source"

open_help "$helpwin"
title=$(qdrive title MS_WINHELP)
echo "window: $title"
case "$title" in "Quillon 95 Help"*) ;; *) fail "window title is not the file's title" ;; esac
shown=$(first_shown)
echo "shown first: $shown"
[ "$shown" = "${titles[0]}" ] || fail "the contents topic is not shown first"
for t in "${titles[@]}"; do
    grep -qF "title=\"$t\"" "$trace" || fail "the engine did not read topic \"$t\""
done
grep -q 'err:winhelp' "$trace" && fail "the engine reported errors: $(grep 'err:winhelp' "$trace" | head -n 3)"

# The Index button (the second button, command 501) lists every keyword.
qdrive command MS_WINHELP 501 || fail "could not press Index"
qdrive wait-box "Help topics" 10000 >/dev/null || fail "the index did not open"
while IFS= read -r k; do
    grep -qF "Adding \"$k\" to search list" "$trace" || fail "the index lacks \"$k\""
done < <(sed -n 's/^@keywords //p' "$source" | tr ';' '\n' | sed 's/^ *//; s/ *$//' | grep .)
echo "index: $(grep -c 'to search list' "$trace") keywords"
qdrive answer-box "Help topics" 2 5000 >/dev/null || fail "could not close the index"
close_help

open_help -i "$last_context" "$helpwin"
shown=$(first_shown)
echo "shown by context $last_context: $shown"
[ "$shown" = "${titles[${#titles[@]} - 1]}" ] || fail "context $last_context did not lead to its topic"
grep -q 'err:winhelp' "$trace" && fail "the engine reported errors"
close_help

# The editor finds the help file in the folder of the value HDir (setup
# writes it), or else by its bare name, which the help engine looks for in
# the current folder; both lead to the built file. The value the registry
# held before is put back afterwards.
key='HKCU\Software\Ostrel\Quillon'
old_hdir=$(wine reg query "$key" /v HDir 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')
restore_hdir() {
    if [ -n "$old_hdir" ]; then
        wine reg add "$key" /v HDir /d "$old_hdir" /f >/dev/null 2>&1
    else
        wine reg delete "$key" /v HDir /f >/dev/null 2>&1
    fi
}
# The editor under a name of its own, to which Wine gives the version of
# Windows XP, which has WinHelp (the prefix's Windows 7 has none: there Help
# shows the text file, see release.sh).
xp_editor="$E2E_TMP/quillon95xp.exe"
xp_key='HKCU\Software\Wine\AppDefaults\quillon95xp.exe'
cp "$BUILD_DIR/quillon95.exe" "$xp_editor" || fail "could not copy the editor"
trap 'restore_hdir; wine reg delete "$xp_key" /f >/dev/null 2>&1; cleanup' EXIT
wine reg add "$xp_key" /v Version /d winxp /f >/dev/null 2>&1 || fail "could not set the editor's version"
windows_name buildwin "$BUILD_DIR"
wine reg add "$key" /v HDir /d "$buildwin\\" /f >/dev/null 2>&1 || fail "could not set HDir"

file=$(e2e_file sample.bin 100)
cd "$BUILD_DIR" || fail "no $BUILD_DIR"
windows_name filewin "$file"
WINEDEBUG=+winhelp wine "$xp_editor" "$filewin" >"$trace" 2>&1 &
EDITOR_PID=$!
qdrive wait-window QuillonWClass 20000 >/dev/null || fail "editor did not start"
qdrive command QuillonWClass 301 || fail "could not post Help"
qdrive wait-window MS_WINHELP 20000 >/dev/null || fail "Help did not open the help window"
shown=$(first_shown)
echo "shown by Help: $shown"
[ "$shown" = "${titles[0]}" ] || fail "Help did not show the contents topic"
opened=$(grep -o 'HLPFILE_PageByOffset <"[^"]*"' "$trace" | head -n 1 | sed 's/.*<"//; s/"$//; s/\\\\/\\/g')
echo "opened by Help: $opened"
[ "$opened" = "$helpwin" ] || fail "Help opened another file"
qdrive command QuillonWClass 110 || fail "could not post Exit"
wait_editor || fail "editor exit code $EDITOR_STATUS"
qdrive wait-gone MS_WINHELP 10000 || { qdrive post MS_WINHELP 16 0 0; fail "closing the editor left the help open"; }
pass
