# Shared by the end-to-end scripts: Wine ready, a scratch folder, the driver,
# and the real programs started in the background with a bounded wait.
set -u
: "${BUILD_DIR:?}" "${SOURCE_DIR:?}"
. "$SOURCE_DIR/tools/wine-env.sh"

E2E_TMP=$(mktemp -d "$BUILD_DIR/e2e.XXXXXX")
trap 'cleanup' EXIT
EDITOR_PID=
OWN_XVFB=

cleanup() {
    [ -n "$EDITOR_PID" ] && kill "$EDITOR_PID" 2>/dev/null
    [ -n "$OWN_XVFB" ] && kill "$OWN_XVFB" 2>/dev/null
    rm -rf "$E2E_TMP"
}

# own_display: an Xvfb display of this script's own, where its clicks and
# keys meet no other test's windows, so that a script with a prefix of its
# own too can run beside the others.
own_display() {
    start_xvfb
    OWN_XVFB=$XVFB_PID
    export DISPLAY=":$XVFB_NUMBER"
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

# The editor's settings in the registry; every script starts without them.
SETTINGS_KEY='HKCU\Software\Ostrel\Quillon'
reset_settings() { wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1; true; }

# A script that sets E2E_APART=yes before it sources this file runs its
# programs on a display and in prefixes of its own (release.sh): it may run
# beside the others, and touches nothing of theirs.
if [ -n "${E2E_APART:-}" ]; then
    own_display
else
    reset_settings
    # Keys that an earlier script pressed through X and whose release got
    # lost would type into this script's windows.
    command -v xdotool >/dev/null 2>&1 && xdotool keyup alt x Alt_L Control_L Shift_L >/dev/null 2>&1
fi

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

# wait_title TEXT SECONDS: waits (bounded) until the editor's title holds
# TEXT; fails with the title it shows instead.
wait_title() {
    local i=0
    until qdrive title QuillonWClass | grep -qF "$1"; do
        i=$((i + 1)); [ $i -gt $(($2 * 20)) ] && fail "the title names no file: $(qdrive title QuillonWClass)"
        sleep 0.05
    done
}

start_editor() {
    # An editor of an earlier script may still be on its way out; commands
    # must not reach it.
    qdrive wait-gone QuillonWClass 10000 >/dev/null 2>&1
    wine "$BUILD_DIR/quillon95.exe" "$@" &
    EDITOR_PID=$!
}

# Waits (bounded: SECONDS, 30 by default) for the editor to end;
# EDITOR_STATUS is its exit code.
wait_editor() {
    local i=0
    while kill -0 "$EDITOR_PID" 2>/dev/null; do
        i=$((i + 1))
        [ $i -gt $((${1:-30} * 20)) ] && { EDITOR_STATUS=timeout; return 1; }
        sleep 0.05
    done
    wait "$EDITOR_PID"
    EDITOR_STATUS=$?
    EDITOR_PID=
    [ "$EDITOR_STATUS" = 0 ]
}
