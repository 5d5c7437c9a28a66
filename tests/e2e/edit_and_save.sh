#!/bin/bash
# The real editor driven from outside: edit mode, a mouse click on a byte,
# two hex digits typed, Alt+X on the keyboard, and the save question
# answered. Yes changes exactly that byte of the file, No leaves the file as
# it was; the length never changes.
. "$SOURCE_DIR/tests/e2e/lib.sh" && e2e_begin

OFFSET=37               # row 2, byte column 5

byte_at() { od -An -tx1 -j "$2" -N1 "$1" | tr -d ' \n'; }

# edit_run ANSWER FILE [ENDING]: one editor run ending in ANSWER (IDYES, IDNO)
# to the save question; DIGITS holds the two digits typed. ENDING is alt-x
# (the default) or end-session, the end of the Windows session.
edit_run() {
    local answer=$1 file=$2 ending=${3:-alt-x}
    DIGITS=5a
    [ "$(byte_at "$file" $OFFSET)" = 5a ] && DIGITS=a5

    start_editor_on "$file"
    qdrive command QuillonWClass $IDM_VIEWMODE || fail "could not post View mode"
    click_byte $OFFSET
    qdrive chars QuillonWClass "$DIGITS" || fail "could not type"
    # The caret moves on to the next byte once both digits are in.
    status_shows $((OFFSET + 1)) 5 || fail "the caret did not move on after two digits"

    if [ "$ending" = end-session ]; then
        # Wine's shutdown waits for the editor's answer to the end of the
        # session (after 5 seconds it shows its own "Waiting for Program"
        # box, and still waits).
        wine wineboot --end-session >"$E2E_TMP/wineboot.log" 2>&1 </dev/null &
        local boot=$!
        qdrive answer-box "Do you want to save the changes?" "$answer" 20000 >/dev/null ||
            { kill $boot; fail "no save question at the end of the session"; }
        wait_for 30 eval '! kill -0 $boot 2>/dev/null' || { kill $boot; fail "the end of the session did not finish"; }
        wait $boot || fail "the end of the session failed: $(cat "$E2E_TMP/wineboot.log")"
        wait_editor || fail "editor exit code $EDITOR_STATUS"
        return
    fi

    # Alt+X, typed on the keyboard: the accelerator turns it into Exit. The
    # editor's title names a file; the shell's "Quillon 95" folder window,
    # left open by an install, must not get the keys.
    local wid
    wid=$(xdotool search --name "^Quillon 95   " | head -n 1)
    [ -n "$wid" ] || fail "no X window for the editor"
    press_key "$wid" alt+x
    qdrive answer-box "Do you want to save the changes?" "$answer" 10000 >/dev/null ||
        fail "no save question after Alt+X"
    # A second question, which nobody answers, would keep the editor running.
    wait_editor || fail "editor exit code $EDITOR_STATUS"
    xdotool keyup alt x >/dev/null 2>&1
}

file=$(e2e_file sample.bin 5000)
cp "$file" "$E2E_TMP/original.bin"

edit_run $IDYES "$file"
expect_one_byte "$E2E_TMP/original.bin" "$file" $OFFSET $DIGITS

cp "$file" "$E2E_TMP/saved.bin"
edit_run $IDNO "$file"
cmp "$E2E_TMP/saved.bin" "$file" || fail "No changed the file"

# The end of the Windows session asks too; Yes saves the byte, and the
# settings are written.
reset_settings
edit_run $IDYES "$file" end-session
expect_one_byte "$E2E_TMP/saved.bin" "$file" $OFFSET $DIGITS
windows_name name "$file"
[ "$(reg_value File1)" = "$name" ] || fail "settings not written at the end of the session: File1 $(reg_value File1)"

# A name the code page cannot spell, given in Unicode: the file opens by its
# short name, the change reaches that same file, and the recent files keep
# a name that leads back to it (the registry holds what the code page spells).
file="$E2E_TMP/日本.bin"
cp "$E2E_TMP/original.bin" "$file"
edit_run $IDYES "$file"
expect_one_byte "$E2E_TMP/original.bin" "$file" $OFFSET $DIGITS
[ "$(winepath -u "$(reg_value File1)")" = "$file" ] || fail "File1 $(reg_value File1) leads elsewhere"
pass
