#!/bin/bash
# The real editor searches a 64 MiB file through its Search dialog: Find
# with a hexadecimal pattern placed near the end of the file, reported in
# the status bar; then Find Next from just after it reports "Not Found".
. "$SOURCE_DIR/tests/e2e/lib.sh" && e2e_begin
set -o pipefail

size=$((64 * 1024 * 1024))
at=$((size - 1000))
file="$E2E_TMP/large.bin"
head -c "$size" /dev/zero > "$file"
printf '\xde\xad\xbe\xef\x01\x23\x45\x67' | dd of="$file" bs=1 seek="$at" conv=notrunc status=none

start_editor_on "$file"
qdrive command QuillonWClass $IDM_FIND || fail "could not post Find"
qdrive wait-box Search 10000 >/dev/null || fail "Search dialog did not appear"
qdrive dialog-command Search $IDC_SRCH_HEXMODE || fail "no Hex button"
qdrive dialog-type Search $IDC_SRCH_HEXFIELD "deadbeef01234567" || fail "could not type the pattern"
qdrive dialog-check Search $IDC_SRCH_FROMSTART 1 || fail "no from-the-beginning box"
# The typed digits are tidied into groups as they arrive.
hex_field_is() { [ "$(qdrive dialog-text Search $IDC_SRCH_HEXFIELD | tr -d '\r')" = "$1" ]; }
wait_for 10 hex_field_is "de ad be ef 01 23 45 67" || fail "hex field: $(qdrive dialog-text Search $IDC_SRCH_HEXFIELD)"
qdrive dialog-command Search $IDC_SRCH_FIND || fail "no Find button"

started=$(date +%s.%N)
status=$(qdrive wait-status QuillonWClass 0 "Found at:" 120000 | tr -d "\r") || fail "no match reported: $(qdrive status QuillonWClass 0)"
ended=$(date +%s.%N)
echo "status: $status (after $(echo "$ended - $started" | bc) s)"
expected=$(printf 'Found at: %x (HEX)' "$at")
[ "$status" = "$expected" ] || fail "expected '$expected'"

# Find Next from the byte after the match runs to the end of the file.
qdrive command QuillonWClass $IDM_FINDNEXT || fail "could not post Find Next"
box=$(qdrive answer-box "Not Found" $IDOK 60000) || fail "no Not Found box"
qdrive command QuillonWClass $IDM_EXIT || fail "could not post Exit"
wait_editor || fail "editor exit code $EDITOR_STATUS"
pass
