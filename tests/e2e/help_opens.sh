#!/bin/bash
# The help engine opens quillon95.hlp: it reads every topic, shows the
# contents topic first, and finds a topic by its context name through the
# file's context table. The engine's own trace tells what it read.
. "$SOURCE_DIR/tests/e2e/lib.sh"

help="$BUILD_DIR/quillon95.hlp"
source="$SOURCE_DIR/docs/help/quillon95.hlpsrc"
[ -f "$help" ] || fail "no $help"
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

open_help "$(winepath -w "$help")"
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
close_help

open_help -i "$last_context" "$(winepath -w "$help")"
shown=$(first_shown)
echo "shown by context $last_context: $shown"
[ "$shown" = "${titles[${#titles[@]} - 1]}" ] || fail "context $last_context did not lead to its topic"
grep -q 'err:winhelp' "$trace" && fail "the engine reported errors"
close_help
pass
