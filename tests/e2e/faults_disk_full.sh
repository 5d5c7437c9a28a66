#!/bin/bash
# The real editor saving onto a full disk: a sparse file on a small tmpfs,
# bytes typed into its hole in edit mode, Yes to the save prompt. The write
# needs blocks that are not there; the user sees "Write error", the file
# keeps its old bytes (also when the write stopped part way), and the editor
# goes on. Needs root for the mount; skipped when the mount is refused.
. "$SOURCE_DIR/tests/e2e/lib.sh" && e2e_begin

mnt="$E2E_TMP/small"
mkdir -p "$mnt"
mount -t tmpfs -o size=64k tmpfs "$mnt" 2>/dev/null || skip "mounting a 64 KiB tmpfs was refused (needs root)"
at_exit 'umount "$mnt" 2>/dev/null || umount -l "$mnt"; reset_settings'

file="$mnt/data.bin"
for room in 0 4096; do
    echo "== room for $room bytes"
    rm -f "$mnt"/*
    truncate -s 1M "$file"
    head -c $((65536 - room)) /dev/zero > "$mnt/filler"

    start_editor_on "$file"
    # Edit mode, the caret moved to offset fff with Go to, and two bytes
    # typed there: they straddle two blocks of the file system, and with one
    # block of room the write stops after the first byte.
    qdrive command QuillonWClass $IDM_VIEWMODE || fail "could not enter edit mode"
    status_shows 0 10 || fail "edit mode did not place the caret"
    qdrive command QuillonWClass $IDM_GOTO
    qdrive dialog-set "Go to:" $IDC_GOTO_FIELD fff || fail "Go to dialog did not open"
    qdrive answer-box "Go to:" $IDC_GOTO_OK || fail "no Ok in the Go to dialog"
    status_shows 0xfff 10 || fail "the caret did not move"
    qdrive chars QuillonWClass a5a5 || fail "could not type"
    status_shows 0x1001 10 || fail "the typing did not arrive"
    # Leaving edit mode offers the changes.
    qdrive command QuillonWClass $IDM_VIEWMODE || fail "could not leave edit mode"
    qdrive answer-box "Do you want to save the changes?" $IDYES 20000 || fail "no save prompt"
    box=$(qdrive wait-box "Write error" 10000 | tr -d '\r') || fail "no write error shown"
    echo "shown: $box"
    [ "$box" = "Error|Write error" ] || fail "message: $box"
    qdrive answer-box "Write error" $IDOK 5000 || fail "could not answer the error"

    cmp -n 1048576 "$file" /dev/zero || fail "the file changed although the save failed"
    [ "$(stat -c %s "$file")" = 1048576 ] || fail "the file's length changed"
    # With room the write really stopped part way: the hole gained the block
    # it got (written back with zeros); without room it gained none.
    blocks=$(stat -c %b "$file")
    echo "blocks of the file: $blocks"
    if [ "$room" = 0 ]; then [ "$blocks" = 0 ] || fail "blocks allocated without room"
    else [ "$blocks" -gt 0 ] || fail "the write did not stop part way"; fi

    # The editor goes on: typed again, the changes dropped with No, closed.
    qdrive command QuillonWClass $IDM_VIEWMODE || fail "could not enter edit mode again"
    qdrive chars QuillonWClass "77" || fail "could not type again"
    qdrive command QuillonWClass $IDM_EXIT || fail "could not post Exit"
    qdrive answer-box "Do you want to save the changes?" $IDNO 20000 || fail "no save prompt at exit"
    wait_editor || fail "editor exit code $EDITOR_STATUS"
    cmp -n 1048576 "$file" /dev/zero || fail "the file changed after No"
done
pass
