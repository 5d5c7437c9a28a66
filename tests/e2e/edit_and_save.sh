#!/bin/bash
# The real editor driven from outside: edit mode, a mouse click on a byte,
# two hex digits typed, Alt+X on the keyboard, and the save question
# answered. Yes changes exactly that byte of the file, No leaves the file as
# it was; the length never changes.
. "$SOURCE_DIR/tests/e2e/lib.sh"

OFFSET=37               # row 2, byte column 5
ROW=2
COLUMN=5
CELL_W=8
CELL_H=16

byte_at() { od -An -tx1 -j "$2" -N1 "$1" | tr -d ' \n'; }

# edit_run ANSWER FILE [ENDING]: one editor run ending in ANSWER (6 Yes, 7 No)
# to the save question; DIGITS holds the two digits typed. ENDING is alt-x
# (the default) or end-session, the end of the Windows session.
edit_run() {
    local answer=$1 file=$2 ending=${3:-alt-x}
    local old
    old=$(byte_at "$file" $OFFSET)
    DIGITS=5a
    [ "$old" = 5a ] && DIGITS=a5

    start_editor_on "$file"
    qdrive command QuillonWClass 204 || fail "could not post View mode"

    # The first digit of the byte, in the middle of its cell.
    local x=$(( (10 + 3 * COLUMN) * CELL_W + CELL_W / 2 ))
    local y=$(( (ROW + 1) * CELL_H + CELL_H / 2 ))
    local want
    want=$(printf 'Offset: %x (HEX)' $OFFSET)
    local point
    point=$(qdrive child-point QuillonWClass 60 $x $y | tr -d "\r") && [ -n "$point" ] || fail "no hex view"
    # Clicks are ignored until the view has painted the file: click with the
    # mouse until the status bar shows the clicked offset.
    local seen= i
    for i in $(seq 1 40); do
        xdotool mousemove $point click 1 || fail "could not click the view"
        if qdrive wait-status QuillonWClass 1 "$want" 500 >/dev/null 2>&1; then
            seen=1
            break
        fi
    done
    [ -n "$seen" ] || fail "the click did not reach byte $OFFSET (status: $(qdrive status QuillonWClass 1))"

    qdrive chars QuillonWClass "$DIGITS" || fail "could not type"
    # The caret moves on to the next byte once both digits are in.
    qdrive wait-status QuillonWClass 1 "$(printf 'Offset: %x (HEX)' $((OFFSET + 1)))" 5000 >/dev/null ||
        fail "the caret did not move on after two digits"

    # Alt+X, typed on the keyboard: the accelerator turns it into Exit. The
    # key is pressed again until the save question is up, in case the first
    # press came before the window had the keyboard.
    if [ "$ending" = end-session ]; then
        # Wine's shutdown waits for the editor's answer to the end of the
        # session (after 5 seconds it shows its own "Waiting for Program"
        # box, and still waits).
        wine wineboot --end-session >"$E2E_TMP/wineboot.log" 2>&1 </dev/null &
        local boot=$!
        qdrive answer-box "Do you want to save the changes?" "$answer" 20000 >/dev/null ||
            { kill $boot; fail "no save question at the end of the session"; }
        for i in $(seq 1 300); do kill -0 $boot 2>/dev/null || break; sleep 0.1; done
        kill -0 $boot 2>/dev/null && { kill $boot; fail "the end of the session did not finish"; }
        wait $boot || fail "the end of the session failed: $(cat "$E2E_TMP/wineboot.log")"
        wait_editor || fail "editor exit code $EDITOR_STATUS"
        return
    fi

    local wid asked=
    # The editor's title names a file; the shell's "Quillon 95" folder
    # window, left open by an install, must not get the keys.
    wid=$(xdotool search --name "^Quillon 95   " | head -n 1)
    [ -n "$wid" ] || fail "no X window for the editor"
    for i in $(seq 1 20); do
        xdotool windowfocus --sync "$wid" key --window "$wid" alt+x || fail "could not press Alt+X"
        if qdrive wait-box "Do you want to save the changes?" 500 >/dev/null 2>&1; then
            asked=1
            break
        fi
    done
    [ -n "$asked" ] || fail "no save question after Alt+X"
    qdrive answer-box "Do you want to save the changes?" "$answer" 10000 >/dev/null ||
        fail "could not answer the save question"
    # A second question, which nobody answers, would keep the editor running.
    wait_editor || fail "editor exit code $EDITOR_STATUS"
    xdotool keyup alt x >/dev/null 2>&1
}

# expect_saved BEFORE WHEN: the file differs from BEFORE in the typed byte only.
expect_saved() {
    [ "$(stat -c %s "$file")" = 5000 ] || fail "length changed to $(stat -c %s "$file")"
    local diffs
    diffs=$(cmp -l "$1" "$file")
    echo "$2: $diffs"
    [ "$(echo "$diffs" | wc -l)" = 1 ] || fail "expected one changed byte, got: $diffs"
    set -- $diffs
    [ "$1" = $((OFFSET + 1)) ] || fail "changed byte at $1, not at offset $OFFSET"
    [ "$(byte_at "$file" $OFFSET)" = "$DIGITS" ] || fail "byte is $(byte_at "$file" $OFFSET), not $DIGITS"
}

file=$(e2e_file sample.bin 5000)
cp "$file" "$E2E_TMP/original.bin"

edit_run 6 "$file"
expect_saved "$E2E_TMP/original.bin" "after Yes"

cp "$file" "$E2E_TMP/saved.bin"
edit_run 7 "$file"
cmp "$E2E_TMP/saved.bin" "$file" || fail "No changed the file"

# The end of the Windows session asks too; Yes saves the byte, and the
# settings are written.
reset_settings
edit_run 6 "$file" end-session
expect_saved "$E2E_TMP/saved.bin" "after the end of the session"
file1() { wine reg query "$SETTINGS_KEY" /v File1 2>/dev/null | tr -d '\r' | sed -n 's/^ *File1 \+REG_SZ \+//p'; }
windows_name name "$file"
[ "$(file1)" = "$name" ] || fail "settings not written at the end of the session: File1 $(file1)"

# A name the code page cannot spell, given in Unicode: the file opens by its
# short name, the change reaches that same file, and the recent files keep
# a name that leads back to it (the registry holds what the code page spells).
file="$E2E_TMP/日本.bin"
cp "$E2E_TMP/original.bin" "$file"
edit_run 6 "$file"
expect_saved "$E2E_TMP/original.bin" "under a Unicode name"
[ "$(winepath -u "$(file1)")" = "$file" ] || fail "File1 $(file1) leads elsewhere"
pass
