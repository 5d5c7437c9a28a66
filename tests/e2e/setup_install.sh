#!/bin/bash
# The real setup.exe against the shell's own Program Manager service: the
# default drive and directory, the three files copied, "Hdir" written, the
# program group with its three items; then a second run without the group
# overwrites the files.
. "$SOURCE_DIR/tests/e2e/lib.sh" && e2e_begin

programs="$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs)"
dest="$WINEPREFIX/drive_c/quillon95"
group="$programs/Quillon 95"

clean_install() {
    rm -rf "$dest" "$group"
    reset_settings
}
at_exit clean_install
clean_install

src="$E2E_TMP/src"
mkdir -p "$src"
if [ -f "$BUILD_DIR/quillon95.exe" ]; then cp "$BUILD_DIR/quillon95.exe" "$src/"; else head -c 3000 /dev/urandom > "$src/quillon95.exe"; fi
head -c 2000 /dev/urandom > "$src/quillon95.hlp"
echo "Quillon 95 readme" > "$src/quillon95.txt"

start_setup() {
    (cd "$src" && exec wine "$BUILD_DIR/setup.exe") &
    EDITOR_PID=$!
    qdrive wait-box "Select destination" 20000 >/dev/null || fail "SETUP dialog did not appear"
    # The shell's DDE service comes up with the desktop that the first
    # window started.
    qdrive wait-window WineDdeServerName 20000 >/dev/null || fail "the shell's DDE service is not up"
}

# First run: drive C and the default directory, icons on.
start_setup
qdrive dialog-click "Select destination" $IDC_SETUP_OK || fail "could not press OK"
question=$(qdrive wait-box "does not exist" 10000) || fail "no question to create the directory"
question=$(printf '%s' "$question" | tr -d '\r')
echo "question: ${question#*|}"
case "$question" in *"Path c:\\quillon95 does not exist."*) ;; *) fail "question: $question" ;; esac
qdrive answer-box "does not exist" $IDYES 5000 || fail "could not answer Yes"
setup_result
[ "$SETUP_RESULT" = "Setup completed" ] || fail "result: $SETUP_RESULT"

for ext in exe hlp txt; do
    cmp "$src/quillon95.$ext" "$dest/quillon95.$ext" || fail "quillon95.$ext not copied"
done
hdir=$(reg_value Hdir)
echo "Hdir: $hdir"
[ "$hdir" = 'c:\quillon95\' ] || fail "Hdir is '$hdir'"
[ -d "$group" ] || fail "no group folder"
for item in Quillon95.lnk Quillon95.hlp.lnk Quillon95.txt.lnk; do
    [ -f "$group/$item" ] || fail "no shortcut $item"
done
echo "group: $(ls "$group" | tr '\n' ' ')"

# Second run: the directory exists (no question), icons off, new sources.
echo "second edition" > "$src/quillon95.txt"
head -c 2500 /dev/urandom > "$src/quillon95.hlp"
rm -rf "$group"
start_setup
qdrive dialog-click "Select destination" $IDC_SETUP_ICONS || fail "could not uncheck the box"
qdrive dialog-click "Select destination" $IDC_SETUP_OK || fail "could not press OK"
setup_result
[ "$SETUP_RESULT" = "Setup completed" ] || fail "second result: $SETUP_RESULT"
for ext in exe hlp txt; do
    cmp "$src/quillon95.$ext" "$dest/quillon95.$ext" || fail "quillon95.$ext not overwritten"
done
[ -d "$group" ] && fail "group created with the box unchecked"
pass
