#!/bin/bash
# The real editor opens a file given on its command line, closes on WM_CLOSE
# with exit code 0, and leaves the file as it was.
. "$SOURCE_DIR/tests/e2e/lib.sh" && e2e_begin

file=$(e2e_file sample.bin 5000)
cp "$file" "$E2E_TMP/original.bin"

start_editor_on "$file"
title=$(qdrive title QuillonWClass | tr -d '\r')
echo "title: $title"
[ "$title" = "Quillon 95   sample.bin (5,000 bytes)  0 %" ] || fail "the title does not show the file"
qdrive command QuillonWClass $IDM_EXIT || fail "could not post Exit"
wait_editor || fail "editor exit code $EDITOR_STATUS"
cmp "$file" "$E2E_TMP/original.bin" || fail "file changed"
pass
