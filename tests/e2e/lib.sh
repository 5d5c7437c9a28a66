# Shared by the end-to-end scripts: Wine ready, a scratch folder, the driver,
# and the real programs started in the background with a bounded wait.
set -u
: "${BUILD_DIR:?}" "${SOURCE_DIR:?}"
. "$SOURCE_DIR/tools/wine-env.sh"

E2E_TMP=$(mktemp -d "$BUILD_DIR/e2e.XXXXXX")
trap 'cleanup' EXIT
EDITOR_PID=

cleanup() {
    [ -n "$EDITOR_PID" ] && kill "$EDITOR_PID" 2>/dev/null
    rm -rf "$E2E_TMP"
}

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "PASS"; exit 0; }
# A case this Wine cannot run: ctest reports it as skipped (exit code 77),
# `make test` prints the reason.
skip() { echo "SKIP: ${0##*/}: $*"; exit 77; }

qdrive() { wine "$BUILD_DIR/tests/qdrive.exe" "$@"; }

# The editor's settings in the registry; every script starts without them.
SETTINGS_KEY='HKCU\Software\Ostrel\Quillon'
reset_settings() { wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1; true; }
reset_settings

# Keys that an earlier script pressed through X and whose release got lost
# would type into this script's windows.
command -v xdotool >/dev/null 2>&1 && xdotool keyup alt x Alt_L Control_L Shift_L >/dev/null 2>&1

# e2e_file NAME SIZE: a file of SIZE pseudo-random bytes; prints its path.
e2e_file() {
    head -c "$2" /dev/urandom > "$E2E_TMP/$1"
    echo "$E2E_TMP/$1"
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
