#!/bin/bash
# Go to offset and Edit value from outside: Ctrl+G's command jumps and the
# status bar shows the offset; a 16-bit unit changed in the Edit value dialog
# and saved changes exactly its two bytes on disk, least significant first.
. "$SOURCE_DIR/tests/e2e/lib.sh" && e2e_begin
at_exit reset_settings

file="$E2E_TMP/zeros.bin"
head -c 1000 /dev/zero > "$file"
cp "$file" "$E2E_TMP/original.bin"

start_editor_on "$file"

# View mode: the jump highlights the target and shows it.
qdrive command QuillonWClass $IDM_GOTO
qdrive dialog-set "Go to:" $IDC_GOTO_FIELD 1f0 || fail "Go to dialog did not open"
qdrive answer-box "Go to:" $IDC_GOTO_OK || fail "no Ok in the Go to dialog"
status_shows 0x1f0 10 || fail "status part 1 does not show the offset (part 1: $(qdrive status QuillonWClass 1), title: $(qdrive title QuillonWClass))"

# 16-bit hexadecimal units.
qdrive command QuillonWClass $IDM_FORMAT
qdrive dialog-check "View Format" $IDC_FMT_16BIT 1 || fail "View Format dialog did not open"
qdrive dialog-check "View Format" $IDC_FMT_8BIT 0
qdrive answer-box "View Format" $IDC_FMT_OK || fail "no Ok in the View Format dialog"

# Edit mode puts the caret on the first shown byte (the window's first byte
# lies above the view); Go to moves it.
qdrive command QuillonWClass $IDM_VIEWMODE
status_shows 0x1f0 10 || fail "edit mode did not place the caret"
qdrive command QuillonWClass $IDM_GOTO
qdrive dialog-set "Go to:" $IDC_GOTO_FIELD 2f0 || fail "Go to dialog did not open in edit mode"
qdrive answer-box "Go to:" $IDC_GOTO_OK
status_shows 0x2f0 10 || fail "the caret did not move"

# A typed character opens the Edit value dialog for the unit at the caret.
qdrive chars QuillonWClass 1
box=$(qdrive wait-box "Offset (HEX):" 5000) || fail "Edit value dialog did not open"
echo "edit value: $box"
case "$box" in "Offset (HEX): 2f0 - 2f1|"*) ;; *) fail "caption: $box" ;; esac
qdrive dialog-set "Offset (HEX):" $IDC_EDIT_FIELD beef
qdrive dialog-command "Offset (HEX):" $IDC_EDIT_OK
qdrive answer-box "Value updated" $IDOK 5000 || fail "no Value updated"

# Leaving edit mode offers the save; Yes writes the window back.
qdrive command QuillonWClass $IDM_VIEWMODE
qdrive answer-box "save the changes" $IDYES 5000 || fail "no save prompt"
qdrive command QuillonWClass $IDM_EXIT
wait_editor || fail "editor exit code $EDITOR_STATUS"

diff=$(cmp -l "$E2E_TMP/original.bin" "$file")
echo "changed bytes (1-based offset, old, new in octal):"
echo "$diff"
[ "$(echo "$diff" | tr -s ' ' | sed 's/^ //')" = "$(printf '753 0 357\n754 0 276')" ] \
    || fail "expected exactly bytes 0x2f0 = ef and 0x2f1 = be to change"
[ "$(stat -c %s "$file")" = 1000 ] || fail "file length changed"
pass
