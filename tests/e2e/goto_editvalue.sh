#!/bin/bash
# Go to offset and Edit value from outside: Ctrl+G's command jumps and the
# status bar shows the offset; a 16-bit unit changed in the Edit value dialog
# and saved changes exactly its two bytes on disk, least significant first.
. "$SOURCE_DIR/tests/e2e/lib.sh"

trap 'reset_settings; cleanup' EXIT

file="$E2E_TMP/zeros.bin"
head -c 1000 /dev/zero > "$file"
cp "$file" "$E2E_TMP/original.bin"

start_editor_on "$file"

# View mode: the jump highlights the target and shows it.
qdrive command QuillonWClass 102
qdrive dialog-set "Go to:" 101 1f0 || fail "Go to dialog did not open"
qdrive dialog-command "Go to:" 105 || fail "no Ok in the Go to dialog"
qdrive wait-status QuillonWClass 1 "Offset: 1f0 (HEX)" || { fail "status part 1 does not show the offset (part 1: $(qdrive status QuillonWClass 1), title: $(qdrive title QuillonWClass))"; }

# 16-bit hexadecimal units.
qdrive command QuillonWClass 401
qdrive dialog-check "View Format" 106 1 || fail "View Format dialog did not open"
qdrive dialog-check "View Format" 105 0
qdrive dialog-command "View Format" 112 || fail "no Ok in the View Format dialog"

# Edit mode puts the caret on the first shown byte (the window's first byte
# lies above the view); Go to moves it.
qdrive command QuillonWClass 204
qdrive wait-status QuillonWClass 1 "Offset: 1f0 (HEX)" || fail "edit mode did not place the caret"
qdrive command QuillonWClass 102
qdrive dialog-set "Go to:" 101 2f0 || fail "Go to dialog did not open in edit mode"
qdrive dialog-command "Go to:" 105
qdrive wait-status QuillonWClass 1 "Offset: 2f0 (HEX)" || fail "the caret did not move"

# A typed character opens the Edit value dialog for the unit at the caret.
qdrive chars QuillonWClass 1
box=$(qdrive wait-box "Offset (HEX):" 5000) || fail "Edit value dialog did not open"
echo "edit value: $box"
case "$box" in "Offset (HEX): 2f0 - 2f1|"*) ;; *) fail "caption: $box" ;; esac
qdrive dialog-set "Offset (HEX):" 106 beef
qdrive dialog-command "Offset (HEX):" 112
qdrive answer-box "Value updated" 1 5000 || fail "no Value updated"

# Leaving edit mode offers the save; Yes writes the window back.
qdrive command QuillonWClass 204
qdrive answer-box "save the changes" 6 5000 || fail "no save prompt"
qdrive command QuillonWClass 110
wait_editor || fail "editor exit code $EDITOR_STATUS"

diff=$(cmp -l "$E2E_TMP/original.bin" "$file")
echo "changed bytes (1-based offset, old, new in octal):"
echo "$diff"
[ "$(echo "$diff" | tr -s ' ' | sed 's/^ //')" = "$(printf '753 0 357\n754 0 276')" ] \
    || fail "expected exactly bytes 0x2f0 = ef and 0x2f1 = be to change"
[ "$(stat -c %s "$file")" = 1000 ] || fail "file length changed"
pass
