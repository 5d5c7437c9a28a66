#!/bin/bash
# Two setup.exe at once, OK pressed in both at the same moment, copying the
# same large files into the same directory: both runs end with a result
# message and exit code 0, and the installed files equal the sources.
. "$SOURCE_DIR/tests/e2e/lib.sh" && e2e_begin

dest="$WINEPREFIX/drive_c/quillon95"
SECOND_PID=
clean_install() {
    [ -n "$SECOND_PID" ] && kill "$SECOND_PID" 2>/dev/null
    rm -rf "$dest"
    reset_settings
}
at_exit clean_install
clean_install
mkdir -p "$dest"

src="$E2E_TMP/src"
mkdir -p "$src"
head -c 48000000 /dev/urandom > "$src/quillon95.exe"
head -c 8000000 /dev/urandom > "$src/quillon95.hlp"
echo "Quillon 95 readme" > "$src/quillon95.txt"

(cd "$src" && exec wine "$BUILD_DIR/setup.exe") &
EDITOR_PID=$!
(cd "$src" && exec wine "$BUILD_DIR/setup.exe") &
SECOND_PID=$!

qdrive dialog-click-all "Select destination" $IDC_SETUP_ICONS 2 30000 >/dev/null || fail "two SETUP dialogs did not appear"
qdrive dialog-click-all "Select destination" $IDC_SETUP_OK 2 5000 >/dev/null || fail "could not press OK"

# Each run waits with its result message up until it is answered.
results=$(qdrive dialog-click-all "Setup " $IDOK 2 120000 | tr -d '\r' | cut -d'|' -f2 | tr '\n' ';')
echo "results: $results"
[ "$(printf '%s' "$results" | tr -cd ';' | wc -c)" = 2 ] || fail "not two result messages"

wait_editor || fail "first setup exit code $EDITOR_STATUS"
wait_for 30 eval '! kill -0 "$SECOND_PID" 2>/dev/null' || fail "second setup did not end"
wait "$SECOND_PID" || fail "second setup exit code $?"
SECOND_PID=

case "$results" in *"Setup completed"*) ;; *) fail "neither run completed: $results" ;; esac
for ext in exe hlp txt; do
    cmp "$src/quillon95.$ext" "$dest/quillon95.$ext" || fail "quillon95.$ext is not intact"
done
pass
