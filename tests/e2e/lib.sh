# Shared by the end-to-end scripts; sourcing it only defines. A script
# starts with e2e_begin: a scratch folder and a clean registry (tools/wine-run.sh
# has made the display and the prefix ready). What a script starts, at_exit stops.
set -u
: "${BUILD_DIR:?}" "${SOURCE_DIR:?}"
. "$SOURCE_DIR/tools/wine-env.sh"
# The programs' command and control numbers by name (IDM_EXIT, IDC_GOTO_FIELD,
# IDC_SETUP_OK...), which cmake takes from resources/resource.h and setup/setup_ids.h.
. "$BUILD_DIR/ids.sh"
# Windows' own: answers, messages, the Open dialog's file name box, WinHelp's Index.
IDOK=1 IDCANCEL=2 IDYES=6 IDNO=7 WM_CLOSE=16 WM_SYSCOMMAND=0x112 SC_MAXIMIZE=0xF030
OPEN_FILE_NAME=1148 WINHELP_INDEX=501
SETTINGS_KEY='HKCU\Software\Ostrel\Quillon'
EDITOR_PID=
E2E_AT_EXIT=

# at_exit COMMAND: COMMAND runs when the script ends, however it ends; the
# latest first.
at_exit() { E2E_AT_EXIT="$1; $E2E_AT_EXIT"; }

# e2e_begin [apart]: the scratch folder E2E_TMP, and every script starts
# without the editor's settings. A script that runs apart (release.sh) has a
# display of its own, where its clicks and keys meet no other test's windows,
# and prefixes of its own: it runs beside the others and touches nothing of theirs.
e2e_begin() {
    trap 'eval "$E2E_AT_EXIT"' EXIT
    trap 'exit 143' TERM INT HUP
    if [ "${1:-}" = apart ]; then
        start_display || fail "Xvfb did not start"
        at_exit stop_display
    fi
    E2E_TMP=$(mktemp -d "$BUILD_DIR/e2e.XXXXXX")
    at_exit '[ -z "$EDITOR_PID" ] || kill "$EDITOR_PID" 2>/dev/null; rm -rf "$E2E_TMP"'
    [ "${1:-}" = apart ] && return
    reset_settings
    # Keys that an earlier script pressed through X and whose release got
    # lost would type into this script's windows.
    xdotool keyup alt x Alt_L Control_L Shift_L >/dev/null 2>&1
}

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "PASS"; exit 0; }
# A case this Wine cannot run: ctest reports it as skipped (exit code 77),
# `make test` prints the reason.
skip() { echo "SKIP: ${0##*/}: $*"; exit 77; }

# qdrive exits with 1 after saying why; any other failure (a crash, a Wine
# that could not start it) is named here, since it says nothing itself.
qdrive() {
    wine "$BUILD_DIR/tests/qdrive.exe" "$@"
    local status=$?
    [ $status -le 1 ] || echo "qdrive $1: exit status $status" >&2
    return $status
}

reset_settings() { wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1; true; }
# reg_value NAME: the data of a value of the editor's settings, or nothing.
reg_value() { wine reg query "$SETTINGS_KEY" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 \+REG_SZ \+//Ip"; }

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds, SECONDS at most.
wait_for() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.05
    done
}

# e2e_file NAME SIZE: a file of SIZE pseudo-random bytes; prints its path.
e2e_file() {
    head -c "$2" /dev/urandom > "$E2E_TMP/$1"
    echo "$E2E_TMP/$1"
}

# windows_name VAR FILE: VAR becomes the Windows name of the Unix file
# FILE. Where Wine gives none, the script fails at once: an empty name would
# start the editor on no file, and checks that compare names would pass.
windows_name() {
    local converted
    converted=$(winepath -w "$2" 2>/dev/null | tr -d '\r')
    [ -n "$converted" ] || fail "Wine gives no Windows name for $2"
    printf -v "$1" '%s' "$converted"
}

# start_editor_on FILE: the editor on the Unix file FILE, waited for until
# its title names the file, so that a test never goes on without it open.
start_editor_on() {
    local name
    windows_name name "$1"
    start_editor "$name"
    qdrive wait-window QuillonWClass 20000 >/dev/null || fail "main window did not appear"
    wait_title "   ${1##*/} (" 5
}

# wait_title TEXT SECONDS: waits (bounded) until the editor's title holds TEXT.
wait_title() { qdrive wait-title QuillonWClass "$1" $(($2 * 1000)) >/dev/null || fail "the title names no file"; }

start_editor() {
    # An editor of an earlier script may still be on its way out; commands
    # must not reach it.
    qdrive wait-gone QuillonWClass 10000 >/dev/null || fail "an earlier editor is still running"
    wine "$BUILD_DIR/quillon95.exe" "$@" &
    EDITOR_PID=$!
}

# Waits (bounded: SECONDS, 30 by default) for the editor to end;
# EDITOR_STATUS is its exit code.
wait_editor() {
    wait_for "${1:-30}" eval '! kill -0 "$EDITOR_PID" 2>/dev/null' || { EDITOR_STATUS=timeout; return 1; }
    wait "$EDITOR_PID"
    EDITOR_STATUS=$?
    EDITOR_PID=
    [ "$EDITOR_STATUS" = 0 ]
}

# click_byte OFFSET [SECONDS]: one mouse click on byte OFFSET of the first rows
# (cells of 8 x 16 pixels), once the view has painted the file (until then
# it ignores clicks); the status bar must then show the offset. Only one
# click: one still on its way after the keys typed next would move the caret back.
click_byte() {
    local x=$(( (10 + 3 * ($1 % 16)) * 8 + 4 )) y=$(( ($1 / 16 + 1) * 16 + 8 )) point
    qdrive painted QuillonWClass >/dev/null || fail "the editor is not shown"
    point=$(qdrive child-point QuillonWClass $IDC_HEXVIEW $x $y | tr -d '\r')
    [ -n "$point" ] || fail "no hex view"
    xdotool mousemove $point click 1 || fail "could not click the view"
    status_shows $1 "${2:-5}" || fail "the click did not reach byte $1 (status: $(qdrive status QuillonWClass 1))"
}

# status_shows OFFSET SECONDS: waits until the status bar shows OFFSET.
status_shows() {
    qdrive wait-status QuillonWClass 1 "$(printf 'Offset: %x (HEX)' $1)" $(($2 * 1000)) >/dev/null
}

# press_key WINDOW KEY: KEY typed on the keyboard into the X window WINDOW
# of the editor, once the editor is the active window, which keys go to.
press_key() {
    xdotool windowfocus --sync "$1" || fail "could not focus the editor"
    qdrive wait-active QuillonWClass >/dev/null || fail "the editor is not the active window"
    xdotool key --window "$1" "$2" || fail "could not press $2"
}

# expect_one_byte ORIGINAL FILE OFFSET DIGITS: FILE is ORIGINAL but for the
# byte at OFFSET, which is now DIGITS; its length is the same.
expect_one_byte() {
    local diffs
    [ "$(stat -c %s "$2")" = "$(stat -c %s "$1")" ] || fail "length changed to $(stat -c %s "$2")"
    diffs=$(cmp -l "$1" "$2")
    echo "changed: $diffs"
    [ -n "$diffs" ] || fail "no byte changed"
    [ "$(echo "$diffs" | wc -l)" = 1 ] || fail "expected one changed byte, got: $diffs"
    set -- $diffs $3 $4
    [ "$1" = $(($4 + 1)) ] || fail "changed byte at $1, not at offset $4"
    [ "$3" = "$(printf '%o' 0x$5)" ] || fail "byte is $(printf %x 0$3), not $5"
}

# help_shows TOPIC [SECONDS]: the help engine's window bears the help file's
# title and shows the topic TOPIC, whose title is the first line of the text
# that the engine renders into its rich edit control; prints that text.
help_shows() {
    local title text
    title=$(qdrive wait-title MS_WINHELP "Quillon 95 Help" $((${2:-20} * 1000)) | tr -d '\r')
    [ "$title" = "Quillon 95 Help" ] || fail "the help window is titled \"$title\", not by the help file"
    text=$(qdrive child-text MS_WINHELP RichEdit20A "$1" $((${2:-20} * 1000)) | tr -d '\r')
    echo "help shows: ${text%%$'\n'*}"
    [ "${text%%$'\n'*}" = "$1" ] || fail "the help does not show the topic \"$1\""
    HELP_TEXT=$text
}

# setup_result [SECONDS]: waits for setup's result message, answers it and
# waits for setup to end; SETUP_RESULT is the message's text.
setup_result() {
    local box
    box=$(qdrive wait-box "Setup " $((${1:-30} * 1000))) || fail "no result message"
    qdrive answer-box "Setup " $IDOK 5000 >/dev/null || fail "could not answer the result"
    wait_editor "${1:-30}" || fail "setup exit code $EDITOR_STATUS"
    SETUP_RESULT=$(printf '%s' "${box#*|}" | tr -d '\r')
    echo "setup: $SETUP_RESULT"
}
