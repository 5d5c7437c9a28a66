#!/bin/sh
# Runs one test of the cross build: ctest's emulator for its test programs
# (under Wine, in the build folder's prefix) and the command of its
# end-to-end scripts (SCRIPT.sh, under bash); passes the exit code on.
# Where DISPLAY names none, the test gets an Xvfb of its own, stopped when
# it ends. The output goes through a file: Wine may start processes of its
# own (the desktop, a help window) that outlive the test, and they must not
# hold the test runner's pipe open.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
# Tests with a display each share the prefix's Wine server, and each ends
# it with its display: they take the prefix in turn, so that none ends a
# server whose programs another test still runs. The lock is held by this
# same process (a signal to stop the test reaches it) and by the programs
# it starts, which all end before it does.
if [ -z "${DISPLAY:-}" ] && [ -z "${WINE_RUN_IN_TURN:-}" ]; then
    WINE_RUN_IN_TURN=1 exec flock -F "$BUILD_DIR/wineprefix.lock" "$0" "$@"
fi
trap 'stop_display wait' EXIT
trap 'exit 143' TERM INT HUP
ensure_display || exit 1
ensure_prefix
log=$(mktemp "$BUILD_DIR/run.XXXXXX")
case $1 in
    *.sh) bash "$@" ;;
    *) wine "$@" ;;
esac >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status
